// Wave-file playback by file name and the system beep, as the model code sees them. The programs
// connect the desktop's sound (shared/qt/QtSound.h) at start-up; without a connection all is silent.
#pragma once

#include <string>

namespace shared {

// Flags of PlayWave; they combine.
enum TWaveFlag : unsigned {
  kWaveNoStop = 1,     // a sound that is still playing goes on and this request is dropped
  kWaveNoDefault = 2,  // a missing file stays silent instead of sounding the default (the beep)
};

class TSound {
 public:
  virtual ~TSound() = default;

  // Starts the named wave file asynchronously. Without kWaveNoStop it replaces a sound that is
  // still playing.
  void PlayWave(const std::string& fileName, unsigned flags);
  virtual void Beep() = 0;

 protected:
  // The file to play for the name, empty when there is none. Plain: the name as it stands.
  virtual std::string Locate(const std::string& fileName) const;
  virtual bool IsPlaying() const = 0;
  // Plays the located file, stopping whatever plays now.
  virtual void Start(const std::string& path) = 0;
};

// The process-wide connection; the sound is not owned, nullptr disconnects.
void SetSound(TSound* sound);
TSound* Sound();
void PlayWave(const std::string& fileName, unsigned flags);
void Beep();

}  // namespace shared
