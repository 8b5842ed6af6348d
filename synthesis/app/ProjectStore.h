// The window's project file: the engine's reader and writer bound to the main window's parts.
#pragma once

#include <string>

#include "synthesis/app/MainForm.h"

namespace shared {
class TProjectInfo;
}

namespace vesk {

class TWindowProjectStore : public TProjectStore {
 public:
  // info: the project information the file carries (the program's dialog holds it).
  TWindowProjectStore(TMainForm& form, shared::TProjectInfo& info) : fForm(form), fInfo(info) {}
  void Read(const std::string& path) override;
  void Write(const std::string& path) override;
  void Clear() override { fGroundDrawingName.clear(); }
  void SetGroundDrawingName(const std::string& name) override { fGroundDrawingName = name; }

 private:
  TMainForm& fForm;
  shared::TProjectInfo& fInfo;
  // Kept from the last read when the drawing could not be loaded, so a save does not drop it.
  std::string fGroundDrawingName;
};

}  // namespace vesk
