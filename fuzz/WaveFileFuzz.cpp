// libFuzzer target of the wave file reader of the film's sound track: a sound read is whole PCM
// blocks of a consistent format, and a film made with it is as long as its RIFF header says.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "shared/AviWriter.h"
#include "shared/PictureFile.h"
#include "shared/WaveFile.h"

namespace {

namespace fs = std::filesystem;

// Files of this process: one picture, the wave file and the film.
const fs::path& Folder() {
  static const fs::path folder = [] {
    const fs::path made = fs::temp_directory_path() / ("wave_fuzz_" + std::to_string(::getpid()));
    fs::create_directories(made);
    shared::SaveBmpFile((made / "frame.bmp").string(), shared::TRaster(3, 2, 0xFFFFFFFF));
    return made;
  }();
  return folder;
}

uint32_t LE32(const std::string& data, size_t at) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | uint8_t(data[at + size_t(i)]);
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  shared::TWaveSound sound;
  try {
    std::istringstream in(bytes);
    sound = shared::ReadWave(in);
  } catch (const std::runtime_error&) {
    return 0;
  }
  if (sound.Data.empty() || sound.BlockAlign == 0 || sound.Data.size() % sound.BlockAlign != 0) __builtin_trap();
  if (sound.BlockAlign != sound.Channels * sound.BitsPerSample / 8) __builtin_trap();
  if (uint64_t(sound.BytesPerSecond) != uint64_t(sound.SamplesPerSecond) * sound.BlockAlign) __builtin_trap();
  if (sound.Format.size() < 18 || sound.Data.size() > size) __builtin_trap();

  // The film of three frames with this sound.
  const fs::path& folder = Folder();
  {
    std::ofstream out(folder / "sound.wav", std::ios::binary);
    out << bytes;
  }
  shared::TAviWriter writer;
  writer.FrameTime = 100;
  for (int i = 0; i < 3; ++i) writer.AddPicture((folder / "frame.bmp").string());
  writer.SetWavFileName((folder / "sound.wav").string());
  const fs::path film = folder / "film.avi";
  try {
    writer.Save(film.string());
  } catch (const std::runtime_error& error) {
    // Only a sound too long for a film may be refused once it was read.
    if (std::string(error.what()) != "Unable to write output file") __builtin_trap();
    return 0;
  }
  std::ifstream in(film, std::ios::binary);
  const std::string written((std::istreambuf_iterator<char>(in)), {});
  if (written.size() < 12 || LE32(written, 4) != written.size() - 8) __builtin_trap();
  // The first block lies whole in the first sound chunk.
  if (written.find(sound.Data.substr(0, sound.BlockAlign)) == std::string::npos) __builtin_trap();
  return 0;
}
