// The wave file reader of the film export: RIFF WAVE chunks, the PCM format and the samples.
#include "shared/WaveFile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <new>
#include <stdexcept>

namespace shared {

namespace {

constexpr const char* kOpenError = "A disk error occurred while opening the audio file.";
constexpr const char* kReadError = "A disk error occurred while reading the audio file.";
constexpr const char* kFormatError =
    "The file could not be read, indicating a corrupt file or an unrecognized format.";
constexpr const char* kMemoryError = "The file could not be opened because of insufficient memory.";
constexpr const char* kNoAudio = "Unable to get audio stream";

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;
// The PCM sub-format GUID of an extensible format after its first two bytes (the format tag).
constexpr unsigned char kPcmGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                            0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
// Larger "fmt " chunks belong to no format this reader takes.
constexpr uint32_t kMaxFormatSize = 1024;
// Samples are read piece by piece, so a declared size never allocates more than the file holds.
constexpr size_t kPiece = size_t(1) << 20;

uint32_t LE(const std::string& data, size_t at, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | uint8_t(data[at + size_t(i)]);
  return value;
}

// Up to n bytes appended to out; answers the count read. A failing stream is a disk error, the
// end of the file is not.
size_t ReadUpTo(std::istream& in, std::string& out, size_t n) {
  size_t total = 0;
  while (total < n && in) {
    const size_t piece = std::min(kPiece, n - total);
    const size_t at = out.size();
    out.resize(at + piece);
    in.read(out.data() + at, std::streamsize(piece));
    const size_t got = size_t(in.gcount());
    out.resize(at + got);
    total += got;
  }
  if (in.bad()) throw std::runtime_error(kReadError);
  return total;
}

// The format of a PCM chunk; anything else is an unrecognised format.
void TakeFormat(const std::string& chunk, TWaveSound& sound) {
  if (chunk.size() < 16) throw std::runtime_error(kFormatError);
  const uint16_t tag = uint16_t(LE(chunk, 0, 2));
  if (tag == kFormatExtensible) {
    if (chunk.size() < 40 || LE(chunk, 16, 2) < 22 || LE(chunk, 24, 2) != kFormatPcm ||
        !std::equal(std::begin(kPcmGuidTail), std::end(kPcmGuidTail), chunk.begin() + 26,
                    [](unsigned char a, char b) { return a == uint8_t(b); }))
      throw std::runtime_error(kFormatError);
  } else if (tag != kFormatPcm) {
    throw std::runtime_error(kFormatError);
  }
  sound.Channels = uint16_t(LE(chunk, 2, 2));
  sound.SamplesPerSecond = LE(chunk, 4, 4);
  sound.BytesPerSecond = LE(chunk, 8, 4);
  sound.BlockAlign = uint16_t(LE(chunk, 12, 2));
  sound.BitsPerSample = uint16_t(LE(chunk, 14, 2));
  const uint32_t bits = sound.BitsPerSample;
  if (sound.Channels == 0 || sound.SamplesPerSecond == 0 || bits == 0 || bits > 32 || bits % 8 != 0 ||
      sound.BlockAlign != sound.Channels * bits / 8 ||
      uint64_t(sound.BytesPerSecond) != uint64_t(sound.SamplesPerSecond) * sound.BlockAlign)
    throw std::runtime_error(kFormatError);
  // A chunk too short for the extra-size field (16 bytes, or 17 with a stray byte) keeps its PCM
  // fields and gets a zero extra size: a 17-byte format in a film misleads its readers.
  sound.Format = chunk.size() < 18 ? chunk.substr(0, 16) + std::string(2, '\0') : chunk;
}

TWaveSound Read(std::istream& in) {
  std::string head;
  if (ReadUpTo(in, head, 12) < 12 || head.compare(0, 4, "RIFF") != 0 || head.compare(8, 4, "WAVE") != 0)
    throw std::runtime_error(kFormatError);
  TWaveSound sound;
  bool haveFormat = false, haveData = false;
  while (true) {
    std::string chunk;
    const size_t got = ReadUpTo(in, chunk, 8);
    if (got == 0) break;
    // A few stray bytes after the last chunk are no chunk.
    if (got < 8) break;
    const std::string id = chunk.substr(0, 4);
    const uint32_t size = LE(chunk, 4, 4);
    const uint64_t padded = uint64_t(size) + (size & 1);
    if (id == "fmt " && !haveFormat) {
      if (size > kMaxFormatSize) throw std::runtime_error(kFormatError);
      std::string format;
      if (ReadUpTo(in, format, size) < size) throw std::runtime_error(kFormatError);
      TakeFormat(format, sound);
      haveFormat = true;
      if (size & 1) in.ignore(1);
    } else if (id == "data" && !haveData) {
      // The samples need their format first, as every writer puts it.
      if (!haveFormat) throw std::runtime_error(kFormatError);
      ReadUpTo(in, sound.Data, size);
      haveData = true;
      if (size & 1) in.ignore(1);
    } else {
      in.ignore(std::streamsize(padded));
    }
    if (in.bad()) throw std::runtime_error(kReadError);
    if (!in) break;
  }
  if (!haveFormat) throw std::runtime_error(kFormatError);
  sound.Data.resize(size_t(sound.BlockCount()) * sound.BlockAlign);
  if (sound.Data.empty()) throw std::runtime_error(kNoAudio);
  return sound;
}

}  // namespace

TWaveSound ReadWave(std::istream& in) {
  try {
    return Read(in);
  } catch (const std::bad_alloc&) {
    throw std::runtime_error(kMemoryError);
  }
}

TWaveSound ReadWaveFile(const std::string& fileName) {
  std::error_code error;
  if (std::filesystem::is_directory(fileName, error)) throw std::runtime_error(kOpenError);
  std::ifstream in(fileName, std::ios::binary);
  if (!in.is_open()) throw std::runtime_error(kOpenError);
  return ReadWave(in);
}

}  // namespace shared
