// The film of one cycle: the recording loop, the save and the clean-up of the pictures.
#include "animator/engine/FilmWriter.h"

#include <filesystem>
#include <stdexcept>
#include <utility>

#include "animator/engine/AniMechanism.h"
#include "animator/engine/PictureExport.h"

namespace quillon {

TFilmWriter::TFilmWriter(TAniMechanism& mechanism, std::string folder)
    : Mechanism(mechanism), Folder(std::move(folder)) {
  Avi.FrameTime = 100;
}

std::string TFilmWriter::PictureName(const std::string& fileName, int32_t step) const {
  const std::filesystem::path film(fileName);
  return StepPictureName((std::filesystem::path(Folder) / film.stem()).string() + ".bmp", step);
}

void TFilmWriter::Write(const std::string& fileName) {
  const auto cancelled = [this] { return Cancelled && Cancelled(); };
  const auto progress = [this] {
    if (Progress) Progress();
  };
  TAniMechanism& m = Mechanism;
  m.ResetFrame();
  while (!cancelled()) {
    const int32_t step = m.CurrentStep;
    if (ShowStep) ShowStep(step);
    if (step % 2 == 0) {
      const std::string picture = PictureName(fileName, step);
      SavePicture(picture);
      Avi.AddPicture(picture);
    }
    progress();
    // Messages pumped by the progress may have moved the shown step; the recording goes on
    // from its own.
    m.SetFrame(step);
    if (m.NextFrame() > 0) break;
  }
  try {
    Avi.Save(fileName);
  } catch (const std::runtime_error& error) {
    if (FailurePrefix.empty()) throw;
    throw std::runtime_error(FailurePrefix + error.what());
  }
  progress();
  while (!cancelled() && Avi.DeleteNextPicture()) progress();
}

}  // namespace quillon
