// The film writer: RIFF headers, palette, frames and index read back by a parser of the test and
// by ffprobe and ffmpeg; frame sizes; picture list; failures that keep an existing film.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "shared/AviWriter.h"
#include "shared/PictureFile.h"
#include "tests/shared/RiffChunks.h"
#include "tests/shared/TestFiles.h"
#include "tests/shared/WaveFiles.h"

namespace shared {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::WriteBytes;
using test::LE16;
using test::PatternSamples16;
using test::PcmFormat;
using test::WaveChunk;
using test::WaveFile;

// The 16 colours of the pictures as red, green, blue, written out here independently of the
// writer's table.
constexpr uint32_t kRgb16[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                 0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

TColor ColorOfIndex(int index) {
  const uint32_t rgb = kRgb16[index];
  return MakeColor(uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb));
}

using test::LE;
using test::ParseAvi;
using test::TChunk;

// A 4-bit frame as palette indices, row by row from the top.
std::vector<int> Indices4(const std::string& bits, int width, int height) {
  const size_t row = size_t((width * 4 + 31) / 32) * 4;
  std::vector<int> indices;
  for (int y = 0; y < height; ++y) {
    const size_t at = size_t(height - 1 - y) * row;
    for (int x = 0; x < width; ++x) {
      const uint8_t byte = uint8_t(bits[at + size_t(x / 2)]);
      indices.push_back(x % 2 == 0 ? byte >> 4 : byte & 15);
    }
  }
  return indices;
}

struct TCommand {
  int Status = -1;
  std::string Out;
};

// stdout of a shell command; its stderr goes to the test's.
TCommand Shell(const std::string& command) {
  TCommand result;
  std::FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return result;
  char buffer[65536];
  size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.Out.append(buffer, n);
  const int raw = pclose(pipe);
  result.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return result;
}

std::string Quote(const fs::path& path) { return "'" + path.string() + "'"; }

// "key=value" lines of ffprobe's default writer.
std::map<std::string, std::string> Probe(const fs::path& film) {
  const TCommand probe = Shell(
      "ffprobe -v error -count_frames -select_streams v:0 -show_entries "
      "stream=codec_name,width,height,r_frame_rate,nb_read_frames,nb_frames -of default=nw=1 " +
      Quote(film));
  EXPECT_EQ(probe.Status, 0);
  std::map<std::string, std::string> values;
  size_t at = 0;
  while (at < probe.Out.size()) {
    const size_t end = probe.Out.find('\n', at);
    const std::string line = probe.Out.substr(at, end - at);
    const size_t eq = line.find('=');
    if (eq != std::string::npos) values[line.substr(0, eq)] = line.substr(eq + 1);
    if (end == std::string::npos) break;
    at = end + 1;
  }
  return values;
}

// Every frame decoded by ffmpeg as RGB colours, frame after frame, rows from the top.
std::vector<TColor> DecodeRgb(const fs::path& film) {
  const TCommand decode = Shell("ffmpeg -v error -i " + Quote(film) + " -f rawvideo -pix_fmt rgb24 -");
  EXPECT_EQ(decode.Status, 0);
  std::vector<TColor> colors;
  for (size_t at = 0; at + 3 <= decode.Out.size(); at += 3)
    colors.push_back(
        MakeColor(uint8_t(decode.Out[at]), uint8_t(decode.Out[at + 1]), uint8_t(decode.Out[at + 2])));
  return colors;
}

// The picture's index at (x, y) of frame f: a pattern that differs from frame to frame.
int PatternIndex(int x, int y, int f) { return (x + 2 * y + 3 * f) % 16; }

class AviWriterTest : public test::TTempFolderTest {
 protected:
  AviWriterTest() : TTempFolderTest("avi_writer_test") {}

  // Pictures film000.bmp, film001.bmp, ... of the pattern, listed in the writer.
  void AddPatternPictures(TAviWriter& writer, int count, int width, int height) {
    for (int f = 0; f < count; ++f) {
      TRaster raster(width, height);
      for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
          raster.Pixels[size_t(y * width + x)] = 0xFF000000u | ColorOfIndex(PatternIndex(x, y, f));
      char name[32];
      std::snprintf(name, sizeof name, "film%03d.bmp", f);
      SaveBmpFile((dir / name).string(), raster);
      writer.AddPicture((dir / name).string());
    }
  }

  // Names in dir that carry the work suffix.
  std::vector<std::string> WorkFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
      const std::string name = entry.path().filename().string();
      if (name.find(".tmp~") != std::string::npos) names.push_back(name);
    }
    return names;
  }
};

TEST_F(AviWriterTest, HeadersPaletteFramesAndIndex) {
  // 13 pixels at 4 bits are 6.5 bytes: rows are padded to 8.
  constexpr int kWidth = 13, kHeight = 7, kFrames = 3;
  constexpr uint32_t kImage = 8 * kHeight;
  TAviWriter writer;
  writer.FrameTime = 100;
  AddPatternPictures(writer, kFrames, kWidth, kHeight);
  const fs::path film = dir / "film.avi";
  writer.Save(film.string());
  EXPECT_EQ(writer.FileName, film.string());
  EXPECT_EQ(writer.Width, kWidth);
  EXPECT_EQ(writer.Height, kHeight);

  const std::string bytes = ReadBytes(film);
  const TChunk riff = ParseAvi(bytes);
  EXPECT_EQ(riff.Order(), (std::vector<std::string>{"hdrl", "movi", "idx1"}));
  const TChunk& hdrl = riff.One("hdrl");
  EXPECT_EQ(hdrl.Order(), (std::vector<std::string>{"avih", "strl"}));

  const std::string& avih = hdrl.One("avih").Data;
  ASSERT_EQ(avih.size(), 56u);
  EXPECT_EQ(LE(avih, 0, 4), 100000u) << "microseconds per frame";
  EXPECT_EQ(LE(avih, 12, 4) & 0x10, 0x10u) << "has an index";
  EXPECT_EQ(LE(avih, 16, 4), uint32_t(kFrames));
  EXPECT_EQ(LE(avih, 24, 4), 1u) << "streams";
  EXPECT_EQ(LE(avih, 32, 4), uint32_t(kWidth));
  EXPECT_EQ(LE(avih, 36, 4), uint32_t(kHeight));

  const TChunk& strl = hdrl.One("strl");
  EXPECT_EQ(strl.Order(), (std::vector<std::string>{"strh", "strf"}));
  const std::string& strh = strl.One("strh").Data;
  ASSERT_EQ(strh.size(), 56u);
  EXPECT_EQ(strh.substr(0, 4), "vids");
  EXPECT_EQ(LE(strh, 4, 4), 0u) << "handler";
  EXPECT_EQ(LE(strh, 20, 4), 100u) << "scale";
  EXPECT_EQ(LE(strh, 24, 4), 1000u) << "rate";
  EXPECT_EQ(LE(strh, 28, 4), 0u) << "start";
  EXPECT_EQ(LE(strh, 32, 4), uint32_t(kFrames)) << "length";
  EXPECT_EQ(LE(strh, 36, 4), 0u) << "suggested buffer size";
  EXPECT_EQ(LE(strh, 48, 2), 0u);
  EXPECT_EQ(LE(strh, 50, 2), 0u);
  EXPECT_EQ(LE(strh, 52, 2), uint32_t(kWidth));
  EXPECT_EQ(LE(strh, 54, 2), uint32_t(kHeight));

  const std::string& strf = strl.One("strf").Data;
  ASSERT_EQ(strf.size(), 40u + 16 * 4);
  EXPECT_EQ(LE(strf, 0, 4), 40u);
  EXPECT_EQ(LE(strf, 4, 4), uint32_t(kWidth));
  EXPECT_EQ(LE(strf, 8, 4), uint32_t(kHeight));
  EXPECT_EQ(LE(strf, 12, 2), 1u) << "planes";
  EXPECT_EQ(LE(strf, 14, 2), 4u) << "bits per pixel";
  EXPECT_EQ(LE(strf, 16, 4), 0u) << "compression";
  EXPECT_EQ(LE(strf, 20, 4), kImage);
  for (int i = 0; i < 16; ++i) {
    // Blue, green, red, 0.
    const uint32_t entry = LE(strf, size_t(40 + 4 * i), 4);
    EXPECT_EQ(entry, kRgb16[i]) << "palette entry " << i;
  }

  const TChunk& movi = riff.One("movi");
  ASSERT_EQ(movi.Children.size(), size_t(kFrames));
  for (int f = 0; f < kFrames; ++f) {
    const TChunk& frame = movi.Children[size_t(f)];
    EXPECT_EQ(frame.Id, "00db");
    ASSERT_EQ(frame.Data.size(), kImage);
    const std::vector<int> indices = Indices4(frame.Data, kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        ASSERT_EQ(indices[size_t(y * kWidth + x)], PatternIndex(x, y, f)) << f << " " << x << "," << y;
  }

  // Every entry a key frame; offsets count from the "movi" type word.
  const std::string& idx1 = riff.One("idx1").Data;
  ASSERT_EQ(idx1.size(), size_t(16 * kFrames));
  const size_t moviType = movi.Offset;
  for (int f = 0; f < kFrames; ++f) {
    const size_t at = size_t(16 * f);
    EXPECT_EQ(idx1.substr(at, 4), "00db");
    EXPECT_EQ(LE(idx1, at + 4, 4), 0x10u);
    const size_t chunk = moviType + LE(idx1, at + 8, 4);
    EXPECT_EQ(chunk + 8, movi.Children[size_t(f)].Offset) << "frame " << f;
    EXPECT_EQ(LE(idx1, at + 12, 4), kImage);
  }
  EXPECT_TRUE(WorkFiles().empty());
}

// ffprobe and ffmpeg see every frame at the film's size and ten frames a second, with the colours
// of the pictures; an odd width needs the row padding right.
TEST_F(AviWriterTest, FfmpegDecodesEveryFrame) {
  struct Size {
    int width, height, frames;
  };
  for (const Size size : {Size{64, 48, 5}, Size{13, 7, 4}}) {
    SCOPED_TRACE(size.width);
    TAviWriter writer;
    writer.FrameTime = 100;
    AddPatternPictures(writer, size.frames, size.width, size.height);
    const fs::path film = dir / ("film" + std::to_string(size.width) + ".avi");
    writer.Save(film.string());

    auto probe = Probe(film);
    EXPECT_EQ(probe["codec_name"], "rawvideo");
    EXPECT_EQ(probe["width"], std::to_string(size.width));
    EXPECT_EQ(probe["height"], std::to_string(size.height));
    EXPECT_EQ(probe["r_frame_rate"], "10/1");
    EXPECT_EQ(probe["nb_frames"], std::to_string(size.frames));
    EXPECT_EQ(probe["nb_read_frames"], std::to_string(size.frames));

    const std::vector<TColor> colors = DecodeRgb(film);
    ASSERT_EQ(colors.size(), size_t(size.width * size.height * size.frames));
    size_t at = 0;
    for (int f = 0; f < size.frames; ++f)
      for (int y = 0; y < size.height; ++y)
        for (int x = 0; x < size.width; ++x, ++at)
          ASSERT_EQ(colors[at], ColorOfIndex(PatternIndex(x, y, f))) << f << " " << x << "," << y;
  }
}

TEST_F(AviWriterTest, PixelFormats) {
  struct Case {
    int code, bits, paletteEntries;
  };
  // Black and white pictures survive every depth unchanged.
  TRaster checker(6, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x)
      checker.Pixels[size_t(y * 6 + x)] = 0xFF000000u | ((x + y) % 3 == 0 ? kWhite : kBlack);
  SaveBmpFile((dir / "checker.bmp").string(), checker);
  for (const Case c : {Case{1, 1, 2}, Case{2, 4, 16}, Case{3, 8, 256}, Case{6, 24, 0}}) {
    SCOPED_TRACE(c.code);
    TAviWriter writer;
    writer.PixelFormat = c.code;
    writer.AddPicture((dir / "checker.bmp").string());
    writer.AddPicture((dir / "checker.bmp").string());
    const fs::path film = dir / ("depth" + std::to_string(c.bits) + ".avi");
    writer.Save(film.string());
    const TChunk riff = ParseAvi(ReadBytes(film));
    const std::string& strf = riff.One("hdrl").One("strl").One("strf").Data;
    ASSERT_EQ(strf.size(), size_t(40 + 4 * c.paletteEntries));
    EXPECT_EQ(LE(strf, 14, 2), uint32_t(c.bits));
    const uint32_t row = ((6 * uint32_t(c.bits) + 31) / 32) * 4;
    EXPECT_EQ(LE(strf, 20, 4), row * 4);
    EXPECT_EQ(riff.One("movi").Children[0].Data.size(), row * 4);
    // One frame a second at the default frame time.
    EXPECT_EQ(Probe(film)["r_frame_rate"], "1/1");
    const std::vector<TColor> colors = DecodeRgb(film);
    ASSERT_EQ(colors.size(), 2 * checker.Pixels.size());
    for (size_t i = 0; i < colors.size(); ++i)
      ASSERT_EQ(colors[i], checker.Pixels[i % checker.Pixels.size()] & 0xFFFFFF) << i;
  }
  for (const int code : {0, 4, 5, 7, -1}) {
    TAviWriter writer;
    writer.PixelFormat = code;
    writer.AddPicture((dir / "checker.bmp").string());
    try {
      writer.Save((dir / "bad.avi").string());
      ADD_FAILURE() << code;
    } catch (const std::runtime_error& error) {
      EXPECT_EQ(std::string(error.what()), "Invalid pixel foramt");
    }
    EXPECT_FALSE(fs::exists(dir / "bad.avi"));
  }
}

// Frames of another size than the pictures: stretched, or drawn at the top-left corner on the
// picture's top-left colour.
TEST_F(AviWriterTest, FrameSizes) {
  // 4 x 2: indices 1 2 3 4 over 5 6 7 9.
  TRaster small(4, 2);
  const int smallIndex[8] = {1, 2, 3, 4, 5, 6, 7, 9};
  for (int i = 0; i < 8; ++i) small.Pixels[size_t(i)] = 0xFF000000u | ColorOfIndex(smallIndex[i]);
  SaveBmpFile((dir / "small.bmp").string(), small);
  const auto frameIndices = [&](TAviWriter& writer, size_t frame) {
    const fs::path film = dir / "sized.avi";
    writer.Save(film.string());
    const TChunk riff = ParseAvi(ReadBytes(film));
    return Indices4(riff.One("movi").Children.at(frame).Data, writer.Width, writer.Height);
  };

  TAviWriter stretched;
  stretched.OrgSize = false;
  stretched.Width = 8;
  stretched.Height = 4;
  stretched.AddPicture((dir / "small.bmp").string());
  const std::vector<int> doubled = frameIndices(stretched, 0);
  EXPECT_EQ(stretched.Width, 8) << "the given size stays without OrgSize";
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x)
      EXPECT_EQ(doubled[size_t(y * 8 + x)], smallIndex[(y / 2) * 4 + x / 2]) << x << "," << y;

  TAviWriter placed;
  placed.OrgSize = false;
  placed.Stretch = false;
  placed.Width = 6;
  placed.Height = 3;
  placed.AddPicture((dir / "small.bmp").string());
  const std::vector<int> corner = frameIndices(placed, 0);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 6; ++x)
      EXPECT_EQ(corner[size_t(y * 6 + x)], x < 4 && y < 2 ? smallIndex[y * 4 + x] : 1) << x << "," << y;

  // With OrgSize the first picture sets the size; a larger second one is stretched down to it.
  TRaster large(8, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) large.Pixels[size_t(y * 8 + x)] = 0xFF000000u | ColorOfIndex(x < 4 ? 10 : 12);
  SaveBmpFile((dir / "large.bmp").string(), large);
  TAviWriter original;
  original.AddPicture((dir / "small.bmp").string());
  original.AddPicture((dir / "large.bmp").string());
  const std::vector<int> shrunk = frameIndices(original, 1);
  EXPECT_EQ(original.Width, 4);
  EXPECT_EQ(original.Height, 2);
  EXPECT_EQ(shrunk, (std::vector<int>{10, 10, 12, 12, 10, 10, 12, 12}));
}

// Five frames of 0.1 s and 1.605 s of 16-bit stereo sound at 8000 Hz: after each frame the 800
// sample blocks it lasts, then the rest of the sound.
TEST_F(AviWriterTest, WaveSoundIsTheSecondStream) {
  constexpr int kFrames = 5;
  constexpr uint32_t kBlocks = 12840;
  TAviWriter writer;
  writer.FrameTime = 100;
  AddPatternPictures(writer, kFrames, 13, 7);
  const std::string samples = PatternSamples16(kBlocks, 2);
  const std::string format = PcmFormat(2, 8000, 16);
  WriteBytes(dir / "sound.wav", WaveFile({WaveChunk("LIST", "odd"), WaveChunk("fmt ", format), WaveChunk("data", samples)}));
  writer.SetWavFileName((dir / "sound.wav").string());
  const fs::path film = dir / "film.avi";
  writer.Save(film.string());

  const std::string bytes = ReadBytes(film);
  const TChunk riff = ParseAvi(bytes);
  const TChunk& hdrl = riff.One("hdrl");
  EXPECT_EQ(hdrl.Order(), (std::vector<std::string>{"avih", "strl", "strl"}));
  EXPECT_EQ(LE(hdrl.One("avih").Data, 24, 4), 2u) << "streams";
  EXPECT_EQ(LE(hdrl.One("avih").Data, 16, 4), uint32_t(kFrames)) << "the film's frames";
  const TChunk& audio = *hdrl.All("strl")[1];
  const std::string& strh = audio.One("strh").Data;
  ASSERT_EQ(strh.size(), 56u);
  EXPECT_EQ(strh.substr(0, 4), "auds");
  EXPECT_EQ(LE(strh, 20, 4), 4u) << "scale: bytes a block";
  EXPECT_EQ(LE(strh, 24, 4), 32000u) << "rate: bytes a second";
  EXPECT_EQ(LE(strh, 28, 4), 0u) << "start";
  EXPECT_EQ(LE(strh, 32, 4), kBlocks) << "length in blocks";
  EXPECT_EQ(LE(strh, 44, 4), 4u) << "sample size";
  EXPECT_EQ(audio.One("strf").Data, format + std::string(2, '\0'));

  // Frame, its sound, frame, ...; the 8840 blocks past the film in a chunk of a second and the
  // rest.
  const TChunk& movi = riff.One("movi");
  std::vector<std::string> order;
  std::string sound;
  std::vector<size_t> soundSizes;
  for (const TChunk& chunk : movi.Children) {
    order.push_back(chunk.Id);
    if (chunk.Id == "01wb") {
      sound += chunk.Data;
      soundSizes.push_back(chunk.Data.size());
    }
  }
  EXPECT_EQ(order, (std::vector<std::string>{"00db", "01wb", "00db", "01wb", "00db", "01wb", "00db", "01wb", "00db",
                                             "01wb", "01wb", "01wb"}));
  EXPECT_EQ(soundSizes, (std::vector<size_t>{3200, 3200, 3200, 3200, 3200, 32000, 4 * 840}));
  EXPECT_EQ(sound, samples);

  // The index lists every chunk in file order, each a key frame.
  const std::string& idx1 = riff.One("idx1").Data;
  ASSERT_EQ(idx1.size(), 16 * movi.Children.size());
  for (size_t i = 0; i < movi.Children.size(); ++i) {
    EXPECT_EQ(idx1.substr(16 * i, 4), movi.Children[i].Id) << i;
    EXPECT_EQ(LE(idx1, 16 * i + 4, 4), 0x10u);
    EXPECT_EQ(movi.Offset + LE(idx1, 16 * i + 8, 4) + 8, movi.Children[i].Offset) << i;
    EXPECT_EQ(LE(idx1, 16 * i + 12, 4), movi.Children[i].Data.size()) << i;
  }

  // ffprobe sees both streams; ffmpeg gives back the samples and still every frame.
  const TCommand streams = Shell("ffprobe -v error -show_entries stream=codec_type,codec_name,sample_rate,channels "
                                 "-of csv=p=0 " + Quote(film));
  EXPECT_EQ(streams.Status, 0);
  EXPECT_EQ(streams.Out, "rawvideo,video\npcm_s16le,audio,8000,2\n");
  const TCommand decoded = Shell("ffmpeg -v error -i " + Quote(film) + " -map 0:a -f s16le -");
  EXPECT_EQ(decoded.Status, 0);
  EXPECT_TRUE(decoded.Out == samples) << decoded.Out.size() << " bytes";
  EXPECT_EQ(DecodeRgb(film).size(), size_t(13 * 7 * kFrames));
}

// Format chunks of every length a reader meets: ffprobe and ffmpeg read the film without a
// complaint, whatever the wave file carried after its 16 PCM bytes.
TEST_F(AviWriterTest, SoundFormatChunkLengths) {
  const std::string pcm = PcmFormat(1, 8000, 16);
  const std::string samples = PatternSamples16(800, 1);
  struct Case {
    const char* what;
    std::string chunk;
    std::string strf;
  };
  const Case cases[] = {
      {"16 bytes", pcm, pcm + LE16(0)},
      {"17 bytes", pcm + "\x7F", pcm + LE16(0)},
      {"18 bytes", pcm + LE16(0), pcm + LE16(0)},
      {"19 bytes", pcm + LE16(1) + "x", pcm + LE16(1) + "x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TAviWriter writer;
    writer.FrameTime = 100;
    AddPatternPictures(writer, 2, 5, 3);
    WriteBytes(dir / "sound.wav", WaveFile({WaveChunk("fmt ", c.chunk), WaveChunk("data", samples)}));
    writer.SetWavFileName((dir / "sound.wav").string());
    const fs::path film = dir / "film.avi";
    writer.Save(film.string());
    const TChunk riff = ParseAvi(ReadBytes(film));
    EXPECT_EQ(riff.One("hdrl").All("strl")[1]->One("strf").Data, c.strf);
    const TCommand streams = Shell("ffprobe -v warning -show_entries stream=codec_type,codec_name,sample_rate,channels "
                                   "-of csv=p=0 " + Quote(film) + " 2>&1");
    EXPECT_EQ(streams.Status, 0);
    EXPECT_EQ(streams.Out, "rawvideo,video\npcm_s16le,audio,8000,1\n");
    const TCommand decoded = Shell("ffmpeg -v warning -i " + Quote(film) + " -map 0:a -f s16le - 2>/dev/null");
    EXPECT_EQ(decoded.Status, 0);
    EXPECT_TRUE(decoded.Out == samples) << decoded.Out.size() << " bytes";
    fs::remove(film);
  }
}

TEST_F(AviWriterTest, PictureListAndWaveFileName) {
  TRaster one(1, 1, 0xFFFFFFFF);
  for (const char* name : {"a.bmp", "b.bmp"}) SaveBmpFile((dir / name).string(), one);
  TAviWriter writer;
  // The extension becomes ".bmp"; a name without a file is not listed.
  writer.AddPicture((dir / "a.png").string());
  writer.AddPicture((dir / "missing.bmp").string());
  writer.AddPicture((dir / "b").string());
  EXPECT_EQ(writer.Pictures(),
            (std::vector<std::string>{(dir / "a.bmp").string(), (dir / "b.bmp").string()}));
  fs::remove(dir / "b.bmp");
  EXPECT_TRUE(writer.DeleteNextPicture());
  EXPECT_FALSE(fs::exists(dir / "a.bmp"));
  EXPECT_EQ(writer.Pictures().size(), 1u);
  EXPECT_TRUE(writer.DeleteNextPicture()) << "a listed file already gone still counts";
  EXPECT_FALSE(writer.DeleteNextPicture());

  struct Case {
    const char* name;
    bool accepted;
  };
  for (const Case c : {Case{"song.wav", true}, Case{"SONG.WAV", true}, Case{"song.mp3", false},
                       Case{"song", false}, Case{"song.wav.txt", false},
                       // Equal to the current (empty) name: no change, so nothing to refuse.
                       Case{"", true}}) {
    TAviWriter wave;
    try {
      wave.SetWavFileName(c.name);
      EXPECT_TRUE(c.accepted) << c.name;
      EXPECT_EQ(wave.WavFileName(), c.name);
    } catch (const std::runtime_error& error) {
      EXPECT_FALSE(c.accepted) << c.name;
      EXPECT_EQ(std::string(error.what()), "WavFileName must name a file with the .wav extension");
      EXPECT_EQ(wave.WavFileName(), "");
    }
  }
  // The same name in other case is no change.
  TAviWriter wave;
  wave.SetWavFileName("Song.Wav");
  wave.SetWavFileName("SONG.WAV");
  EXPECT_EQ(wave.WavFileName(), "Song.Wav");
  EXPECT_THROW(wave.SetWavFileName(""), std::runtime_error);
  EXPECT_EQ(wave.WavFileName(), "Song.Wav");
}

TEST_F(AviWriterTest, FailuresKeepAnExistingFilmAndLeaveNoWorkFile) {
  TRaster one(4, 4, 0xFFFFFFFF);
  SaveBmpFile((dir / "p0.bmp").string(), one);
  SaveBmpFile((dir / "p1.bmp").string(), one);
  const fs::path film = dir / "old.avi";
  fs::create_directories(dir / "folder.avi");
  struct Case {
    const char* what;
    std::function<void(TAviWriter&)> setUp;
    fs::path target;
    std::string message;
  };
  const Case cases[] = {
      {"no pictures", [](TAviWriter&) {}, film, "No bitmaps selected!"},
      {"wave file gone", [&](TAviWriter& w) { w.SetWavFileName((dir / "gone.wav").string()); }, film,
       "A disk error occurred while opening the audio file."},
      {"wave file spoilt",
       [&](TAviWriter& w) {
         WriteBytes(dir / "spoilt.wav", "RIFF\x04\0\0\0WAVE");
         w.SetWavFileName((dir / "spoilt.wav").string());
       },
       film, "The file could not be read, indicating a corrupt file or an unrecognized format."},
      {"wave file without samples",
       [&](TAviWriter& w) {
         WriteBytes(dir / "silent.wav", WaveFile({WaveChunk("fmt ", PcmFormat(1, 8000, 16))}));
         w.SetWavFileName((dir / "silent.wav").string());
       },
       film, "Unable to get audio stream"},
      {"picture gone", [&](TAviWriter&) { fs::remove(dir / "p1.bmp"); }, film,
       "Cannot read picture file \"" + (dir / "p1.bmp").string() + "\": the file cannot be opened."},
      {"picture spoilt", [&](TAviWriter&) { WriteBytes(dir / "p1.bmp", "BMnonsense"); }, film,
       "Cannot read picture file \"" + (dir / "p1.bmp").string() + "\": not a BMP picture."},
      {"missing folder", [](TAviWriter&) {}, dir / "nowhere" / "film.avi",
       "Failed to create AVI video work file"},
      {"folder in the way", [](TAviWriter&) {}, dir / "folder.avi", "Failed to create AVI video work file"},
      {"empty frame size",
       [](TAviWriter& w) {
         w.OrgSize = false;
         w.Width = 0;
       },
       film, "Failed to create AVI video stream"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes(film, "the old film");
    SaveBmpFile((dir / "p1.bmp").string(), one);
    TAviWriter writer;
    if (std::string(c.what) != "no pictures") {
      writer.AddPicture((dir / "p0.bmp").string());
      writer.AddPicture((dir / "p1.bmp").string());
    }
    c.setUp(writer);
    try {
      writer.Save(c.target.string());
      ADD_FAILURE() << "saved";
    } catch (const std::runtime_error& error) {
      EXPECT_EQ(std::string(error.what()), c.message);
    }
    EXPECT_EQ(ReadBytes(film), "the old film");
    EXPECT_TRUE(fs::is_directory(dir / "folder.avi"));
    EXPECT_TRUE(WorkFiles().empty());
  }
}

// A file, a folder or a link already at the name a work file once had is neither written nor
// followed nor moved: the film is written whole in its own place.
TEST_F(AviWriterTest, WhatLiesAtTheWorkFileNameIsUntouched) {
  TRaster one(4, 4, 0xFFFFFFFF);
  SaveBmpFile((dir / "p0.bmp").string(), one);
  WriteBytes(dir / "notes.txt", "someone else's");
  const struct {
    const char* what;
    std::function<void(const fs::path&)> plant;
  } cases[] = {
      {"a link", [&](const fs::path& at) { fs::create_symlink(dir / "notes.txt", at); }},
      {"a file", [&](const fs::path& at) { WriteBytes(at, "left by a crash"); }},
      {"a folder", [&](const fs::path& at) { fs::create_directory(at); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const fs::path film = dir / "film.avi";
    const fs::path work = dir / "film.avi.tmp~";
    WriteBytes(film, "the old film");
    c.plant(work);
    const auto planted = fs::symlink_status(work).type();
    const std::string before = fs::is_regular_file(fs::symlink_status(work)) ? ReadBytes(work) : "";
    TAviWriter writer;
    writer.AddPicture((dir / "p0.bmp").string());
    writer.Save(film.string());
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(film)));
    EXPECT_EQ(ParseAvi(ReadBytes(film)).Order(), (std::vector<std::string>{"hdrl", "movi", "idx1"}));
    EXPECT_EQ(fs::symlink_status(work).type(), planted);
    if (!before.empty()) {
      EXPECT_EQ(ReadBytes(work), before);
    }
    EXPECT_EQ(ReadBytes(dir / "notes.txt"), "someone else's");
    EXPECT_EQ(WorkFiles(), std::vector<std::string>{"film.avi.tmp~"});
    fs::remove_all(work);
    fs::remove(film);
  }
}

// A disk that fills up while frames are written (a file size limit here): the write error's
// number in the message, the old film kept, no work file.
TEST_F(AviWriterTest, FullDiskWhileWritingFrames) {
  TRaster picture(200, 100, 0xFFFFFFFF);
  TAviWriter writer;
  for (int f = 0; f < 3; ++f) {
    const std::string name = (dir / ("p" + std::to_string(f) + ".bmp")).string();
    SaveBmpFile(name, picture);
    writer.AddPicture(name);
  }
  const fs::path film = dir / "film.avi";
  WriteBytes(film, "the old film");
  char code[16];
  std::snprintf(code, sizeof code, "%08X", unsigned(EFBIG));
  // Room for the headers and one frame of 10000 bytes, not for the second.
  EXPECT_EXIT(
      {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit;
        limit.rlim_cur = limit.rlim_max = 15000;
        setrlimit(RLIMIT_FSIZE, &limit);
        try {
          writer.Save(film.string());
        } catch (const std::runtime_error& error) {
          std::fprintf(stderr, "%s\n", error.what());
          std::exit(3);
        }
        std::exit(0);
      },
      ::testing::ExitedWithCode(3), std::string("Failed to add frame to AVI\\. Err=") + code);
  EXPECT_EQ(ReadBytes(film), "the old film");
  EXPECT_TRUE(WorkFiles().empty());
}

}  // namespace
}  // namespace shared
