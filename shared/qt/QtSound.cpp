// Wave files through QSoundEffect, looked up by name; the beep through QApplication.
#include "shared/qt/QtSound.h"

#include <QApplication>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>
#include <filesystem>
#include <system_error>

namespace shared {

TQtSound::TQtSound(std::string programDir) : ProgramDir(std::move(programDir)) {
  if (ProgramDir.empty() && QCoreApplication::instance())
    ProgramDir = QCoreApplication::applicationDirPath().toStdString();
}

TQtSound::~TQtSound() = default;

void TQtSound::Beep() { QApplication::beep(); }

bool TQtSound::HasAudioOutput() { return !QMediaDevices::audioOutputs().isEmpty(); }

std::string TQtSound::Locate(const std::string& fileName) const {
  std::string found = TSound::Locate(fileName);
  if (!found.empty() || ProgramDir.empty()) return found;
  const std::filesystem::path name(fileName);
  if (name.is_absolute()) return {};
  const auto beside = std::filesystem::path(ProgramDir) / name;
  std::error_code error;
  return std::filesystem::is_regular_file(beside, error) ? beside.string() : std::string();
}

bool TQtSound::IsPlaying() const {
  // A started effect still loading counts as playing: it starts as soon as it is decoded.
  return Current && (Current->isPlaying() || Current->status() == QSoundEffect::Loading);
}

void TQtSound::Start(const std::string& path) {
  if (!HasAudioOutput()) return;
  if (Current) Current->stop();
  auto& effect = Effects[path];
  if (!effect) {
    effect = std::make_unique<QSoundEffect>();
    effect->setSource(QUrl::fromLocalFile(QString::fromStdString(path)));
  }
  Current = effect.get();
  Current->play();
}

}  // namespace shared
