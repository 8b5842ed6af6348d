// The wave-file rules common to every sound back end, and the process-wide connection.
#include "shared/Sound.h"

#include <filesystem>
#include <system_error>

namespace shared {

void TSound::PlayWave(const std::string& fileName, unsigned flags) {
  const std::string path = fileName.empty() ? std::string() : Locate(fileName);
  if (path.empty()) {
    if (!(flags & kWaveNoDefault)) Beep();
    return;
  }
  if ((flags & kWaveNoStop) && IsPlaying()) return;
  Start(path);
}

std::string TSound::Locate(const std::string& fileName) const {
  std::error_code error;
  return std::filesystem::is_regular_file(fileName, error) ? fileName : std::string();
}

namespace {
TSound*& Current() {
  static TSound* sound = nullptr;
  return sound;
}
}  // namespace

void SetSound(TSound* sound) { Current() = sound; }
TSound* Sound() { return Current(); }

void PlayWave(const std::string& fileName, unsigned flags) {
  if (TSound* sound = Current()) sound->PlayWave(fileName, flags);
}

void Beep() {
  if (TSound* sound = Current()) sound->Beep();
}

}  // namespace shared
