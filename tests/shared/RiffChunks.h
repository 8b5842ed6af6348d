// A RIFF file read back as a tree of chunks, as the tests of the film writers read their films.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace shared::test {

inline uint32_t LE(const std::string& data, size_t at, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | uint8_t(data[at + size_t(i)]);
  return value;
}

// One RIFF chunk; "RIFF" and "LIST" chunks carry a type and children. Offset is the file position
// of the chunk's data.
struct TChunk {
  std::string Id;
  std::string Type;
  size_t Offset = 0;
  std::string Data;
  std::vector<TChunk> Children;

  std::vector<const TChunk*> All(const std::string& id) const {
    std::vector<const TChunk*> found;
    for (const TChunk& child : Children)
      if (child.Id == id || (child.Id == "LIST" && child.Type == id)) found.push_back(&child);
    return found;
  }
  const TChunk& One(const std::string& id) const {
    const auto found = All(id);
    if (found.size() != 1) throw std::runtime_error("expected one " + id + " in " + Id + " " + Type);
    return *found.front();
  }
  std::vector<std::string> Order() const {
    std::vector<std::string> ids;
    for (const TChunk& child : Children) ids.push_back(child.Id == "LIST" ? child.Type : child.Id);
    return ids;
  }
};

// Chunks between at and end; a size running past end is an error.
inline std::vector<TChunk> ParseChunks(const std::string& file, size_t at, size_t end) {
  std::vector<TChunk> chunks;
  while (at < end) {
    if (end - at < 8) throw std::runtime_error("chunk header cut short");
    TChunk chunk;
    chunk.Id = file.substr(at, 4);
    const size_t size = LE(file, at + 4, 4);
    if (size > end - at - 8) throw std::runtime_error("chunk " + chunk.Id + " runs past its parent");
    chunk.Offset = at + 8;
    if (chunk.Id == "RIFF" || chunk.Id == "LIST") {
      chunk.Type = file.substr(at + 8, 4);
      chunk.Children = ParseChunks(file, at + 12, at + 8 + size);
    } else {
      chunk.Data = file.substr(at + 8, size);
    }
    chunks.push_back(std::move(chunk));
    at += 8 + size + (size & 1);
  }
  return chunks;
}

inline TChunk ParseAvi(const std::string& file) {
  const std::vector<TChunk> top = ParseChunks(file, 0, file.size());
  if (top.size() != 1 || top[0].Id != "RIFF" || top[0].Type != "AVI ")
    throw std::runtime_error("no RIFF AVI");
  if (LE(file, 4, 4) != file.size() - 8) throw std::runtime_error("RIFF size is not the file size");
  return top[0];
}

}  // namespace shared::test
