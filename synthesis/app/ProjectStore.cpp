// The window's project file: the engine's reader and writer bound to the main window's parts.
#include "synthesis/app/ProjectStore.h"

#include "shared/Canvas2D.h"
#include "shared/ProjectInfo.h"
#include "synthesis/engine/Drawing.h"
#include "synthesis/engine/FileValidate.h"
#include "synthesis/engine/ProjectFile.h"
#include "synthesis/engine/SynthOptions.h"

namespace vesk {

namespace {

TProjectFile Bound(TMainForm& form, shared::TProjectInfo& info, const std::string& groundName) {
  TProjectFile file;
  file.Info = &info;
  file.Options = &SynthOptions;
  file.List = &form.Solutions();
  file.GroundAreas = &form.GroundAreas();
  file.CouplerAreas = &form.CouplerAreas();
  file.Curve = &form.Curve();
  file.OutputDrawing = &Drawing();
  for (int view = 0; view < 3; ++view) file.Views[size_t(view)] = &form.Canvas(view);
  file.GroundDrawing = &form.GroundDrawing();
  file.GroundDrawingName = groundName;
  return file;
}

}  // namespace

void TWindowProjectStore::Read(const std::string& path) {
  TProjectFile file = Bound(fForm, fInfo, "");
  try {
    file.Open(path);
  } catch (const shared::EFileReadError& error) {
    // The refusal says why where the checksum tells it.
    if (file.StatusCode == TFileValidate::kNotValid)
      throw shared::EFileReadError(std::string(error.what()) +
                           "\nIts checksum does not match its contents: the file was changed after Vesk saved it, "
                           "or damaged.");
    if (file.StatusCode == TFileValidate::kMissing)
      throw shared::EFileReadError(std::string(error.what()) + "\nThe file does not exist.");
    throw;
  }
  fGroundDrawingName = file.GroundDrawingName;
}

void TWindowProjectStore::Write(const std::string& path) {
  TProjectFile file = Bound(fForm, fInfo, fGroundDrawingName);
  file.Save(path);
}

}  // namespace vesk
