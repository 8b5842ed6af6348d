// Test helpers for wave files: RIFF chunks, a PCM format chunk and a whole file around them, built
// here byte by byte independently of the reader.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

namespace shared::test {

inline std::string LE16(uint32_t v) { return {char(v & 0xFF), char((v >> 8) & 0xFF)}; }
inline std::string LE32(uint32_t v) { return LE16(v & 0xFFFF) + LE16(v >> 16); }

// A chunk padded to an even size; size overrides the declared size.
inline std::string WaveChunk(const std::string& id, const std::string& body, int64_t size = -1) {
  std::string chunk = id + LE32(size < 0 ? uint32_t(body.size()) : uint32_t(size)) + body;
  if (body.size() & 1) chunk.push_back('\0');
  return chunk;
}

// The 16 bytes of a PCM "fmt " chunk; tag 1 is PCM.
inline std::string PcmFormat(uint16_t channels, uint32_t rate, uint16_t bits, uint16_t tag = 1) {
  const uint32_t block = channels * bits / 8u;
  return LE16(tag) + LE16(channels) + LE32(rate) + LE32(rate * block) + LE16(block) + LE16(bits);
}

inline std::string WaveFile(std::initializer_list<std::string> chunks) {
  std::string body = "WAVE";
  for (const std::string& chunk : chunks) body += chunk;
  return "RIFF" + LE32(uint32_t(body.size())) + body;
}

// 16-bit samples of a pattern that differs from sample to sample and channel to channel.
inline std::string PatternSamples16(uint32_t blocks, uint16_t channels) {
  std::string data;
  for (uint32_t i = 0; i < blocks; ++i)
    for (uint16_t c = 0; c < channels; ++c) data += LE16((i * 37 + c * 1000 + (i >> 3)) & 0xFFFF);
  return data;
}

}  // namespace shared::test
