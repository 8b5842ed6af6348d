// Project file reader on arbitrary text, as a signed file can hold it (the checksum key is
// public): every input reads or is refused with an error, never a crash or a hang. What reads is
// written again and drawn in its three views as Vesk draws them.
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "shared/SynthCanvas2D.h"
#include "shared/ProjectInfo.h"
#include "shared/dxf/DXFDrawing.h"
#include "synthesis/engine/Area.h"
#include "synthesis/engine/Drawing.h"
#include "synthesis/engine/InputFunction.h"
#include "synthesis/engine/Mechanism.h"
#include "synthesis/engine/MechanismList.h"
#include "synthesis/engine/ProjectFile.h"
#include "synthesis/engine/Spline.h"
#include "synthesis/engine/SynthOptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = [] {
    vesk::CreateDefaultInputFunction();
    return true;
  }();
  (void)ready;
  static fuzz::TNullPaintBox box(640, 480);
  shared::TProjectInfo info;
  vesk::TSynthOptions options;
  vesk::TMechanismList list;
  vesk::TAreaList ground, coupler;
  vesk::TSpline curve;
  vesk::TDrawing drawing;
  shared::TSynthCanvas2D views[3] = {{box, 1300, 3.0}, {box, 1300, 3.0}, {box, 1300, 3.0}};
  shared::TDXFDrawing groundDrawing{shared::TDXFProfile::Synthesis()};
  vesk::TProjectFile file;
  file.Info = &info;
  file.Options = &options;
  file.List = &list;
  file.GroundAreas = &ground;
  file.CouplerAreas = &coupler;
  file.Curve = &curve;
  file.OutputDrawing = &drawing;
  for (size_t i = 0; i < 3; ++i) file.Views[i] = &views[i];
  file.GroundDrawing = &groundDrawing;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  try {
    file.ReadText(in, std::filesystem::temp_directory_path().string());
  } catch (const std::exception&) {
    return 0;
  }
  // What was read writes again.
  std::ostringstream out;
  file.WriteText(out, std::filesystem::temp_directory_path().string());
  // The mechanism view, the output-link view and the ground-link view.
  views[0].DrawAxes();
  groundDrawing.Draw(views[0]);
  ground.Draw(views[0]);
  curve.Draw(views[0]);
  if (list.Current) list.Current->Draw(views[0]);
  views[1].DrawAxes();
  drawing.Draw(views[1]);
  coupler.Draw(views[1]);
  groundDrawing.Draw(views[2]);
  return 0;
}
