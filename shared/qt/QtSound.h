// The desktop's sound behind shared::TSound: wave files through Qt Multimedia, the beep of the
// application. Where no audio output exists, wave files stay silent.
#pragma once

#include <QString>
#include <map>
#include <memory>
#include <string>

#include "shared/Sound.h"

class QSoundEffect;

namespace shared {

// Made after the QApplication and freed before it, like every multimedia object.
class TQtSound : public TSound {
 public:
  // Bare names that are not in the current directory are looked up in programDir (the program's
  // own directory when empty), where the programs ship their wave files.
  explicit TQtSound(std::string programDir = {});
  ~TQtSound() override;

  void Beep() override;
  // Checked at every start: a device plugged in later is used.
  static bool HasAudioOutput();

 protected:
  std::string Locate(const std::string& fileName) const override;
  bool IsPlaying() const override;
  void Start(const std::string& path) override;

 private:
  std::string ProgramDir;
  // One effect per file, kept so that a file is decoded once.
  std::map<std::string, std::unique_ptr<QSoundEffect>> Effects;
  QSoundEffect* Current = nullptr;
};

}  // namespace shared
