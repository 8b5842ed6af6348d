// The wave file reader of the film's sound track: PCM formats, chunk walking, and the messages for
// files that cannot be opened, read or used.
#include "shared/WaveFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <streambuf>
#include <string>

#include "tests/shared/TestFiles.h"
#include "tests/shared/WaveFiles.h"

namespace shared {
namespace {

using namespace test;

const std::string kFormatError = "The file could not be read, indicating a corrupt file or an unrecognized format.";
const std::string kNoAudio = "Unable to get audio stream";

TWaveSound FromBytes(const std::string& bytes) {
  std::istringstream in(bytes);
  return ReadWave(in);
}

std::string Failure(const std::string& bytes) {
  try {
    FromBytes(bytes);
  } catch (const std::runtime_error& error) {
    return error.what();
  }
  return "read";
}

// The extensible format of PCM: the 16 bytes, 22 more, the valid bits, the channel mask and the
// sub-format GUID whose first two bytes are the tag.
std::string Extensible(uint16_t channels, uint32_t rate, uint16_t bits, uint16_t subTag) {
  const std::string guidTail("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
  return PcmFormat(channels, rate, bits, 0xFFFE) + LE16(22) + LE16(bits) + LE32(3) + LE16(subTag) + guidTail;
}

TEST(WaveFileTest, PcmFormatsAndTheirSamples) {
  struct TCase {
    const char* what;
    std::string format;
    uint16_t channels;
    uint32_t rate;
    uint16_t bits;
    size_t formatSize;
  };
  const TCase cases[] = {
      {"16-bit stereo", PcmFormat(2, 8000, 16), 2, 8000, 16, 18},
      {"8-bit mono", PcmFormat(1, 11025, 8), 1, 11025, 8, 18},
      {"24-bit mono", PcmFormat(1, 48000, 24), 1, 48000, 24, 18},
      {"with its extra size", PcmFormat(2, 22050, 16) + LE16(0), 2, 22050, 16, 18},
      // One byte of an extra-size field is none: the pad byte follows.
      {"with a stray byte", PcmFormat(1, 8000, 16) + "\x7F", 1, 8000, 16, 18},
      {"with an odd extra", PcmFormat(1, 8000, 16) + LE16(1) + "x", 1, 8000, 16, 19},
      {"extensible PCM", Extensible(2, 44100, 16, 1), 2, 44100, 16, 40},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    const uint32_t block = c.channels * c.bits / 8u;
    std::string data;
    for (uint32_t i = 0; i < 10 * block; ++i) data.push_back(char(i * 7 + 1));
    const TWaveSound sound = FromBytes(WaveFile({WaveChunk("fmt ", c.format), WaveChunk("data", data)}));
    EXPECT_EQ(sound.Channels, c.channels);
    EXPECT_EQ(sound.SamplesPerSecond, c.rate);
    EXPECT_EQ(sound.BitsPerSample, c.bits);
    EXPECT_EQ(sound.BlockAlign, block);
    EXPECT_EQ(sound.BytesPerSecond, c.rate * block);
    EXPECT_EQ(sound.BlockCount(), 10u);
    EXPECT_EQ(sound.Data, data);
    ASSERT_EQ(sound.Format.size(), c.formatSize);
    if (c.format.size() < 18) {
      EXPECT_EQ(sound.Format, c.format.substr(0, 16) + std::string(2, '\0'));
    } else {
      EXPECT_EQ(sound.Format, c.format);
    }
  }
}

TEST(WaveFileTest, ChunksAroundTheSamples) {
  const std::string format = PcmFormat(1, 8000, 16);
  const std::string samples = PatternSamples16(6, 1);
  struct TCase {
    const char* what;
    std::string file;
    std::string data;
  };
  const TCase cases[] = {
      // An odd chunk is padded: the next chunk starts after the pad byte.
      {"odd chunks before and between", WaveFile({WaveChunk("LIST", "odd"), WaveChunk("fmt ", format),
                                                  WaveChunk("fact", "12345"), WaveChunk("data", samples)}),
       samples},
      {"chunks after the samples", WaveFile({WaveChunk("fmt ", format), WaveChunk("data", samples), WaveChunk("id3 ", "x")}),
       samples},
      // A second format or data chunk changes nothing.
      {"repeated chunks", WaveFile({WaveChunk("fmt ", format), WaveChunk("data", samples),
                                    WaveChunk("fmt ", PcmFormat(2, 1, 8)), WaveChunk("data", "zz")}),
       samples},
      // Cut short by the end of the file: the whole blocks that are there, without the odd byte.
      {"cut short", WaveFile({WaveChunk("fmt ", format), WaveChunk("data", samples, 100)}).substr(0, 44 + 9),
       samples.substr(0, 8)},
      {"declared as endless", WaveFile({WaveChunk("fmt ", format), WaveChunk("data", samples, 0xFFFFFFFF)}), samples},
      {"stray bytes at the end", WaveFile({WaveChunk("fmt ", format), WaveChunk("data", samples)}) + "abc", samples},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(FromBytes(c.file).Data, c.data);
  }
}

TEST(WaveFileTest, FilesThatCannotBeUsed) {
  const std::string format = PcmFormat(1, 8000, 16);
  const std::string samples = PatternSamples16(4, 1);
  std::string badBlock = format;
  badBlock[12] = 3;
  std::string badRate = format;
  badRate[8] = 1;
  struct TCase {
    const char* what;
    std::string file;
    std::string message;
  };
  const TCase cases[] = {
      {"empty", "", kFormatError},
      {"no RIFF", "RIFX" + WaveFile({WaveChunk("fmt ", format), WaveChunk("data", samples)}).substr(4), kFormatError},
      {"no WAVE", "RIFF" + LE32(4) + "AVI ", kFormatError},
      {"header cut short", "RIFF" + LE32(4) + "WA", kFormatError},
      {"no format", WaveFile({WaveChunk("data", samples)}), kFormatError},
      {"samples before the format", WaveFile({WaveChunk("data", samples), WaveChunk("fmt ", format)}), kFormatError},
      {"format too short", WaveFile({WaveChunk("fmt ", format.substr(0, 14)), WaveChunk("data", samples)}), kFormatError},
      {"format cut short", WaveFile({WaveChunk("fmt ", format)}).substr(0, 12 + 8 + 10), kFormatError},
      {"format too long", WaveFile({WaveChunk("fmt ", format + std::string(2000, '\0')), WaveChunk("data", samples)}),
       kFormatError},
      {"IEEE float", WaveFile({WaveChunk("fmt ", PcmFormat(1, 8000, 32, 3)), WaveChunk("data", samples)}), kFormatError},
      {"extensible float", WaveFile({WaveChunk("fmt ", Extensible(1, 8000, 32, 3)), WaveChunk("data", samples)}),
       kFormatError},
      {"extensible cut short", WaveFile({WaveChunk("fmt ", Extensible(1, 8000, 16, 1).substr(0, 30)), WaveChunk("data", samples)}),
       kFormatError},
      {"no channels", WaveFile({WaveChunk("fmt ", PcmFormat(0, 8000, 16)), WaveChunk("data", samples)}), kFormatError},
      {"no rate", WaveFile({WaveChunk("fmt ", PcmFormat(1, 0, 16)), WaveChunk("data", samples)}), kFormatError},
      {"12 bits", WaveFile({WaveChunk("fmt ", PcmFormat(1, 8000, 12)), WaveChunk("data", samples)}), kFormatError},
      {"block size against the channels", WaveFile({WaveChunk("fmt ", badBlock), WaveChunk("data", samples)}),
       kFormatError},
      {"byte rate against the block size", WaveFile({WaveChunk("fmt ", badRate), WaveChunk("data", samples)}),
       kFormatError},
      {"no samples", WaveFile({WaveChunk("fmt ", format)}), kNoAudio},
      {"empty samples", WaveFile({WaveChunk("fmt ", format), WaveChunk("data", "")}), kNoAudio},
      {"less than one block", WaveFile({WaveChunk("fmt ", format), WaveChunk("data", "x")}), kNoAudio},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Failure(c.file), c.message);
  }
}

// A stream whose device fails after its first bytes.
class TFailingBuffer : public std::streambuf {
 public:
  explicit TFailingBuffer(std::string bytes) : Bytes(std::move(bytes)) { setg(Bytes.data(), Bytes.data(), Bytes.data() + 30); }

 protected:
  int_type underflow() override { throw std::ios_base::failure("device error"); }

 private:
  std::string Bytes;
};

class WaveFileOnDiskTest : public TTempFolderTest {
 protected:
  WaveFileOnDiskTest() : TTempFolderTest("wave_file_test") {}
};

TEST_F(WaveFileOnDiskTest, OpenAndReadErrors) {
  const std::string wave = WaveFile({WaveChunk("fmt ", PcmFormat(1, 8000, 16)), WaveChunk("data", PatternSamples16(100, 1))});
  WriteBytes(dir / "sound.wav", wave);
  EXPECT_EQ(ReadWaveFile((dir / "sound.wav").string()).BlockCount(), 100u);
  std::filesystem::create_directories(dir / "folder.wav");
  for (const char* name : {"missing.wav", "folder.wav"}) {
    SCOPED_TRACE(name);
    try {
      ReadWaveFile((dir / name).string());
      ADD_FAILURE() << "read";
    } catch (const std::runtime_error& error) {
      EXPECT_EQ(std::string(error.what()), "A disk error occurred while opening the audio file.");
    }
  }
  TFailingBuffer buffer(wave);
  std::istream failing(&buffer);
  try {
    ReadWave(failing);
    ADD_FAILURE() << "read";
  } catch (const std::runtime_error& error) {
    EXPECT_EQ(std::string(error.what()), "A disk error occurred while reading the audio file.");
  }
}

}  // namespace
}  // namespace shared
