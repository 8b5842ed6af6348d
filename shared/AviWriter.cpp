// The RIFF AVI writer of the film export: headers, uncompressed palette frames, the sound of a
// wave file and the index, written in one pass (every size is known before the first byte) to a
// work file that becomes the film only when complete.
#include "shared/AviWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <system_error>

#include "shared/FilePath.h"
#include "shared/PictureFile.h"
#include "shared/WaveFile.h"

namespace shared {

namespace {

namespace fs = std::filesystem;

// A work file that must take a name beside the film carries this suffix, as the other files of
// the suite written beside their target.
constexpr const char* kWorkSuffix = ".tmp~";

// avih flags: the file has an idx1 index; its chunks are in playing order.
constexpr uint32_t kHasIndex = 0x10;
constexpr uint32_t kIsInterleaved = 0x100;
// idx1 flag of a key frame.
constexpr uint32_t kKeyFrame = 0x10;

constexpr uint32_t kAvihSize = 56;
constexpr uint32_t kStrhSize = 56;
constexpr uint32_t kBitmapHeaderSize = 40;
constexpr uint32_t kIndexEntrySize = 16;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
  return text;
}

int BitsOfPixelFormat(int code) {
  switch (code) {
    case 1:
      return 1;
    case 2:
      return 4;
    case 3:
      return 8;
    case 6:
      return 24;
    default:
      throw std::runtime_error("Invalid pixel foramt");
  }
}

// The colour table of a palette frame: black and white for 1 bit, the pictures' 16 colours for 4
// bits, and for 8 bits the same 16 followed by unused black entries.
std::vector<TColor> PaletteOf(int bits) {
  if (bits == 1) return {kBlack, kWhite};
  std::vector<TColor> palette(kVga16Palette.begin(), kVga16Palette.end());
  if (bits == 8) palette.resize(256, kBlack);
  return palette;
}

int NearestIndex(int bits, TColor color) {
  if (bits != 1) return NearestVga16Index(color);
  // White when nearer to it than to black by squared RGB distance (black on a tie): the sum of
  // the differences (255 - 2c) over the three channels is then negative.
  const int sum = 3 * 255 - 2 * (RedOf(color) + GreenOf(color) + BlueOf(color));
  return sum < 0 ? 1 : 0;
}

uint32_t RowBytes(int width, int bits) { return ((uint32_t(width) * uint32_t(bits) + 31) / 32) * 4; }

void PutLE(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(char((value >> (8 * i)) & 0xFF));
}

void PutChunkHeader(std::string& out, const char* fourcc, uint32_t size) {
  out.append(fourcc, 4);
  PutLE(out, size, 4);
}

void PutList(std::string& out, uint32_t size, const char* type) {
  PutChunkHeader(out, "LIST", size);
  out.append(type, 4);
}

// The picture as a frame of width x height.
TRaster FrameOf(const TRaster& picture, int width, int height, bool stretch) {
  if (picture.Width == width && picture.Height == height) return picture;
  TRaster frame(width, height);
  if (stretch) {
    for (int y = 0; y < height; ++y) {
      const int sy = int(int64_t(y) * picture.Height / height);
      for (int x = 0; x < width; ++x) {
        const int sx = int(int64_t(x) * picture.Width / width);
        frame.Pixels[size_t(y) * size_t(width) + size_t(x)] = picture.At(sx, sy);
      }
    }
    return frame;
  }
  std::fill(frame.Pixels.begin(), frame.Pixels.end(), picture.At(0, 0));
  for (int y = 0; y < std::min(height, picture.Height); ++y) {
    for (int x = 0; x < std::min(width, picture.Width); ++x)
      frame.Pixels[size_t(y) * size_t(width) + size_t(x)] = picture.At(x, y);
  }
  return frame;
}

// The frame's pixels, bottom row first, each row padded to 32 bits.
std::string FrameBits(const TRaster& frame, int bits) {
  const uint32_t rowBytes = RowBytes(frame.Width, bits);
  std::string data(size_t(rowBytes) * size_t(frame.Height), '\0');
  TColor lastColor = 0;
  int lastIndex = -1;
  for (int y = 0; y < frame.Height; ++y) {
    char* row = data.data() + size_t(frame.Height - 1 - y) * rowBytes;
    for (int x = 0; x < frame.Width; ++x) {
      const TColor color = frame.ColorAt(x, y);
      if (bits == 24) {
        row[3 * x] = char(BlueOf(color));
        row[3 * x + 1] = char(GreenOf(color));
        row[3 * x + 2] = char(RedOf(color));
        continue;
      }
      // Drawings hold long runs of one colour.
      if (lastIndex < 0 || color != lastColor) {
        lastColor = color;
        lastIndex = NearestIndex(bits, color);
      }
      const int bit = x * bits;
      row[bit / 8] = char(uint8_t(row[bit / 8]) | (lastIndex << (8 - bits - bit % 8)));
    }
  }
  return data;
}

// The work file, which becomes the film only when complete (see TReplacingFile).
class TWorkFile {
 public:
  explicit TWorkFile(const std::string& film) {
    try {
      File = std::make_unique<TReplacingFile>(film, kWorkSuffix, "");
    } catch (const std::runtime_error&) {
      throw std::runtime_error("Failed to create AVI video work file");
    }
  }

  // Answers 0 or the error number of the failure.
  int Write(const std::string& bytes) {
    errno = 0;
    if (File->Write(bytes)) return 0;
    return errno != 0 ? errno : EIO;
  }
  void Commit() {
    try {
      File->Commit();
    } catch (const std::runtime_error&) {
      throw std::runtime_error("Unable to write output file");
    }
  }

 private:
  std::unique_ptr<TReplacingFile> File;
};

std::string Hex8(uint32_t value) {
  char text[9];
  std::snprintf(text, sizeof text, "%08X", value);
  return text;
}

// The sound chunks of a film of frames frames: after frame i the blocks that play from its start
// to the next frame's, floor(i · frame time · rate / 1000) onwards; the sound that outlasts the
// pictures follows in chunks of a second (of 4 KiB at least), so that their count stays bounded
// by the sound's size whatever its rate.
struct TSoundChunk {
  // The frame the chunk follows; frames for the rest of the sound.
  uint64_t After = 0;
  uint64_t First = 0;
  uint64_t Bytes = 0;
};

std::vector<TSoundChunk> SoundChunks(const TWaveSound& sound, uint64_t frames, uint64_t frameTime) {
  std::vector<TSoundChunk> chunks;
  const uint64_t blocks = sound.BlockCount();
  const uint64_t rate = sound.SamplesPerSecond;
  const auto start = [&](uint64_t frame) {
    const uint64_t ms = frame * frameTime;
    if (ms / 1000 >= blocks) return blocks;
    return std::min(blocks, ms / 1000 * rate + ms % 1000 * rate / 1000);
  };
  uint64_t first = 0;
  for (uint64_t i = 0; i < frames && first < blocks; ++i) {
    const uint64_t next = start(i + 1);
    if (next > first) chunks.push_back({i, first, (next - first) * sound.BlockAlign});
    first = next;
  }
  const uint64_t piece = std::max<uint64_t>({rate, uint64_t(4096 / sound.BlockAlign), 1});
  while (first < blocks) {
    const uint64_t count = std::min(piece, blocks - first);
    chunks.push_back({frames, first, count * sound.BlockAlign});
    first += count;
  }
  return chunks;
}

}  // namespace

void TAviWriter::AddPicture(const std::string& fileName) {
  const std::string bmp = fs::path(fileName).replace_extension(".bmp").string();
  std::error_code error;
  if (fs::is_regular_file(bmp, error)) FPictures.push_back(bmp);
}

bool TAviWriter::DeleteNextPicture() {
  if (FPictures.empty()) return false;
  std::error_code ignored;
  fs::remove(FPictures.front(), ignored);
  FPictures.erase(FPictures.begin());
  return true;
}

void TAviWriter::SetWavFileName(const std::string& name) {
  if (Lower(name) == Lower(FWavFileName)) return;
  if (Lower(fs::path(name).extension().string()) != ".wav")
    throw std::runtime_error("WavFileName must name a file with the .wav extension");
  FWavFileName = name;
}

void TAviWriter::Save(const std::string& fileName) {
  FileName = fileName;
  if (FPictures.empty()) throw std::runtime_error("No bitmaps selected!");
  const int bits = BitsOfPixelFormat(PixelFormat);

  const TRaster first = LoadBmpFile(FPictures.front());
  if (OrgSize) {
    Width = first.Width;
    Height = first.Height;
  }
  if (Width <= 0 || Height <= 0 || FrameTime <= 0)
    throw std::runtime_error("Failed to create AVI video stream");

  const std::vector<TColor> palette = bits <= 8 ? PaletteOf(bits) : std::vector<TColor>{};
  const uint64_t frames = FPictures.size();
  const uint64_t imageBytes = uint64_t(RowBytes(Width, bits)) * uint64_t(Height);
  // Chunks are padded to an even size.
  const uint64_t frameChunk = 8 + imageBytes + (imageBytes & 1);
  const uint32_t strfSize = kBitmapHeaderSize + 4 * uint32_t(palette.size());
  const uint32_t strlSize = 4 + (8 + kStrhSize) + (8 + strfSize);
  const uint32_t videoHdrlSize = 4 + (8 + kAvihSize) + (8 + strlSize);
  const uint64_t videoMoviSize = 4 + frames * frameChunk;
  if (4 + (8 + uint64_t(videoHdrlSize)) + (8 + videoMoviSize) + (8 + frames * kIndexEntrySize) > 0xFFFFFFFFull)
    throw std::runtime_error("Failed to create AVI video stream");

  const bool withSound = !FWavFileName.empty();
  const TWaveSound sound = withSound ? ReadWaveFile(FWavFileName) : TWaveSound{};
  const std::vector<TSoundChunk> soundChunks =
      withSound ? SoundChunks(sound, frames, uint64_t(FrameTime)) : std::vector<TSoundChunk>{};
  uint64_t soundBytes = 0, largestSoundChunk = 0;
  for (const TSoundChunk& chunk : soundChunks) {
    soundBytes += 8 + chunk.Bytes + (chunk.Bytes & 1);
    largestSoundChunk = std::max(largestSoundChunk, chunk.Bytes);
  }
  const uint32_t soundFormatSize = uint32_t(sound.Format.size());
  const uint32_t soundStrlSize =
      withSound ? 4 + (8 + kStrhSize) + (8 + soundFormatSize + (soundFormatSize & 1)) : 0;
  const uint32_t hdrlSize = videoHdrlSize + (withSound ? 8 + soundStrlSize : 0);
  const uint64_t moviSize = videoMoviSize + soundBytes;
  const uint64_t idx1Size = (frames + soundChunks.size()) * kIndexEntrySize;
  const uint64_t riffSize = 4 + (8 + uint64_t(hdrlSize)) + (8 + moviSize) + (8 + idx1Size);
  if (riffSize > 0xFFFFFFFFull) throw std::runtime_error("Unable to write output file");

  std::string head;
  PutChunkHeader(head, "RIFF", uint32_t(riffSize));
  head += "AVI ";
  PutList(head, hdrlSize, "hdrl");
  PutChunkHeader(head, "avih", kAvihSize);
  const uint32_t microSecondsPerFrame = uint32_t(FrameTime) * 1000u;
  const uint64_t videoRate = (imageBytes * 1000000 + microSecondsPerFrame - 1) / microSecondsPerFrame;
  PutLE(head, microSecondsPerFrame, 4);
  PutLE(head, uint32_t(std::min<uint64_t>(videoRate + sound.BytesPerSecond, 0xFFFFFFFFu)), 4);
  PutLE(head, 0, 4);  // padding granularity
  PutLE(head, kHasIndex | kIsInterleaved, 4);
  PutLE(head, uint32_t(frames), 4);
  PutLE(head, 0, 4);  // initial frames
  PutLE(head, withSound ? 2 : 1, 4);  // streams
  PutLE(head, uint32_t(std::max<uint64_t>(imageBytes, largestSoundChunk)), 4);
  PutLE(head, uint32_t(Width), 4);
  PutLE(head, uint32_t(Height), 4);
  for (int i = 0; i < 4; ++i) PutLE(head, 0, 4);
  PutList(head, strlSize, "strl");
  PutChunkHeader(head, "strh", kStrhSize);
  head += "vids";
  PutLE(head, 0, 4);  // handler: uncompressed
  PutLE(head, 0, 4);  // flags
  PutLE(head, 0, 4);  // priority, language
  PutLE(head, 0, 4);  // initial frames
  PutLE(head, uint32_t(FrameTime), 4);
  PutLE(head, 1000, 4);
  PutLE(head, 0, 4);  // start
  PutLE(head, uint32_t(frames), 4);
  PutLE(head, 0, 4);  // suggested buffer size
  PutLE(head, 0, 4);  // quality
  PutLE(head, 0, 4);  // sample size
  PutLE(head, 0, 2);
  PutLE(head, 0, 2);
  PutLE(head, uint32_t(Width), 2);
  PutLE(head, uint32_t(Height), 2);
  PutChunkHeader(head, "strf", strfSize);
  PutLE(head, kBitmapHeaderSize, 4);
  PutLE(head, uint32_t(Width), 4);
  PutLE(head, uint32_t(Height), 4);  // positive: rows bottom-up
  PutLE(head, 1, 2);
  PutLE(head, uint32_t(bits), 2);
  PutLE(head, 0, 4);  // no compression
  PutLE(head, uint32_t(imageBytes), 4);
  PutLE(head, 0, 4);
  PutLE(head, 0, 4);
  PutLE(head, uint32_t(palette.size()), 4);
  PutLE(head, 0, 4);
  for (const TColor c : palette) {
    head.push_back(char(BlueOf(c)));
    head.push_back(char(GreenOf(c)));
    head.push_back(char(RedOf(c)));
    head.push_back(0);
  }
  if (withSound) {
    PutList(head, soundStrlSize, "strl");
    PutChunkHeader(head, "strh", kStrhSize);
    head += "auds";
    PutLE(head, 0, 4);  // handler
    PutLE(head, 0, 4);  // flags
    PutLE(head, 0, 4);  // priority, language
    PutLE(head, 0, 4);  // initial frames
    // One block a sample: blocks per second = bytes per second / bytes per block.
    PutLE(head, sound.BlockAlign, 4);
    PutLE(head, sound.BytesPerSecond, 4);
    PutLE(head, 0, 4);  // start
    PutLE(head, sound.BlockCount(), 4);
    PutLE(head, uint32_t(largestSoundChunk), 4);
    PutLE(head, 0xFFFFFFFFu, 4);  // quality: the default
    PutLE(head, sound.BlockAlign, 4);
    for (int i = 0; i < 4; ++i) PutLE(head, 0, 2);
    PutChunkHeader(head, "strf", soundFormatSize);
    head += sound.Format;
    if (soundFormatSize & 1) head.push_back('\0');
  }
  PutList(head, uint32_t(moviSize), "movi");

  TWorkFile work(fileName);
  if (work.Write(head) != 0) throw std::runtime_error("Unable to write output file");

  // Offsets count from the "movi" type word, so the first chunk lies at 4.
  std::string index;
  PutChunkHeader(index, "idx1", uint32_t(idx1Size));
  uint64_t offset = 4;
  const auto indexEntry = [&](const char* id, uint64_t size) {
    index += id;
    PutLE(index, kKeyFrame, 4);
    PutLE(index, uint32_t(offset), 4);
    PutLE(index, uint32_t(size), 4);
    offset += 8 + size + (size & 1);
  };
  // Each frame is followed by its sound, the sound that outlasts the pictures comes last.
  size_t next = 0;
  const auto writeSound = [&](uint64_t after) {
    for (; next < soundChunks.size() && soundChunks[next].After == after; ++next) {
      const TSoundChunk& piece = soundChunks[next];
      std::string chunk;
      PutChunkHeader(chunk, "01wb", uint32_t(piece.Bytes));
      chunk.append(sound.Data, size_t(piece.First) * sound.BlockAlign, size_t(piece.Bytes));
      if (piece.Bytes & 1) chunk.push_back('\0');
      if (work.Write(chunk) != 0) throw std::runtime_error("Unable to write output file");
      indexEntry("01wb", piece.Bytes);
    }
  };
  for (size_t i = 0; i < FPictures.size(); ++i) {
    const TRaster frame = FrameOf(i == 0 ? first : LoadBmpFile(FPictures[i]), Width, Height, Stretch);
    std::string chunk;
    chunk.reserve(size_t(frameChunk));
    PutChunkHeader(chunk, "00db", uint32_t(imageBytes));
    chunk += FrameBits(frame, bits);
    if (imageBytes & 1) chunk.push_back('\0');
    if (const int code = work.Write(chunk))
      throw std::runtime_error("Failed to add frame to AVI. Err=" + Hex8(uint32_t(code)));
    indexEntry("00db", imageBytes);
    writeSound(i);
  }
  writeSound(frames);
  if (work.Write(index) != 0) throw std::runtime_error("Unable to write output file");
  work.Commit();
}

}  // namespace shared
