// The picture export of the animator: the drawing of the current step as a BMP or JPEG file
// named after the step.
#pragma once

#include <string>

namespace shared {
class TAniCanvas2D;
}  // namespace shared

namespace quillon {

// The name with the step, formatted "%3.3d", put before its extension: pic.bmp at step 7 gives
// pic007.bmp, at step 1234 pic1234.bmp.
std::string StepPictureName(const std::string& name, int step);
// A ".bmp" extension, in any case: the picture is a bitmap, otherwise a JPEG file.
bool IsBitmapName(const std::string& name);
// The canvas's drawing saved under StepPictureName; gives the name written. Raises
// std::runtime_error when the file cannot be written.
std::string SaveStepPicture(const shared::TAniCanvas2D& canvas, const std::string& name, int step);

}  // namespace quillon
