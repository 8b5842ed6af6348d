// TWaveSound: the PCM audio of a wave file (RIFF WAVE), read for the sound track of the film
// export. The messages are the film export's own.
#pragma once

#include <cstdint>
#include <istream>
#include <string>

namespace shared {

struct TWaveSound {
  // The "fmt " chunk as a WAVEFORMATEX of at least 18 bytes (a 16- or 17-byte chunk is its 16
  // bytes and a zero extra-size field), which the film stores unchanged as its audio stream's
  // format.
  std::string Format;
  uint16_t Channels = 0;
  uint32_t SamplesPerSecond = 0;
  uint32_t BytesPerSecond = 0;
  // Bytes of one sample of every channel.
  uint16_t BlockAlign = 0;
  uint16_t BitsPerSample = 0;
  // Whole blocks only.
  std::string Data;

  uint32_t BlockCount() const { return BlockAlign ? uint32_t(Data.size() / BlockAlign) : 0; }
};

// Raise std::runtime_error: the file cannot be opened, a read fails, it is no PCM wave file (or a
// damaged one), memory runs out, or it holds no samples ("Unable to get audio stream"). A data
// chunk cut short by the end of the file keeps the whole blocks that are there.
TWaveSound ReadWave(std::istream& in);
TWaveSound ReadWaveFile(const std::string& fileName);

}  // namespace shared
