// TFilmWriter: the film of one cycle of the animation, as the animator's view and mechtool both
// record it: every second step's drawing a BMP picture in a work folder, the pictures an AVI film
// of ten frames a second, the pictures deleted again.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "shared/AviWriter.h"

namespace quillon {

class TAniMechanism;

class TFilmWriter {
 public:
  // The pictures go into folder, which the caller makes and removes.
  TFilmWriter(TAniMechanism& mechanism, std::string folder);

  // Brings the step about to be recorded on screen; may be empty.
  std::function<void(int32_t step)> ShowStep;
  // Saves the drawing of the step as the BMP picture named.
  std::function<void(const std::string& picture)> SavePicture;
  // After each unit of progress: a step taken, the film saved, a picture deleted. A caller that
  // pumps messages does it here; may be empty.
  std::function<void()> Progress;
  // Asked before each step and each deletion; true ends the recording, and the film holds the
  // steps taken, and ends the deletions. May be empty.
  std::function<bool()> Cancelled;
  // Put before the reason when the film cannot be saved.
  std::string FailurePrefix;
  // The film's writer: 100 ms a frame; the caller may give it a sound track.
  shared::TAviWriter Avi;

  // The picture of a step: named like the film with the step, film004.bmp for step 4 of
  // film.avi, in the work folder.
  std::string PictureName(const std::string& fileName, int32_t step) const;
  // Records the cycle from step 0 to its end, or until Cancelled, and saves the film of its
  // even steps as fileName. Raises std::runtime_error: a picture that cannot be written, or
  // the writer's reason after FailurePrefix (a Cancel before the first picture gives "No bitmaps
  // selected!"); the pictures stay in the work folder then.
  void Write(const std::string& fileName);

 private:
  TAniMechanism& Mechanism;
  std::string Folder;
};

}  // namespace quillon
