// Step picture names and the picture export of the drawing.
#include "animator/engine/PictureExport.h"

#include <cstdio>
#include <filesystem>

#include "shared/AniCanvas2D.h"

namespace quillon {

namespace {

std::string Extension(const std::string& name) { return std::filesystem::path(name).extension().string(); }

}  // namespace

std::string StepPictureName(const std::string& name, int step) {
  std::filesystem::path stem(name);
  stem.replace_extension();
  char number[16];
  std::snprintf(number, sizeof number, "%3.3d", step);
  return stem.string() + number + Extension(name);
}

bool IsBitmapName(const std::string& name) {
  const std::string e = Extension(name);
  return e.size() == 4 && e[0] == '.' && (e[1] | 0x20) == 'b' && (e[2] | 0x20) == 'm' && (e[3] | 0x20) == 'p';
}

std::string SaveStepPicture(const shared::TAniCanvas2D& canvas, const std::string& name, int step) {
  const std::string picture = StepPictureName(name, step);
  if (IsBitmapName(name)) {
    canvas.SaveBitmap(picture);
  } else {
    canvas.SaveJPEG(picture);
  }
  return picture;
}

}  // namespace quillon
