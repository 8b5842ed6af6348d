// The synthesis canvas over the recording paint box, for the drawing tests of the engine.
#pragma once

#include "shared/SynthCanvas2D.h"
#include "tests/animator/engine/RecordingCanvas.h"

namespace vesktest {

// 400 x 400 pixels showing a world of size 4: 100 pixels a unit, the world origin at pixel
// (200, 200), y up.
struct TSynthView {
  enginetest::TRecordingPaintBox box{400, 400};
  shared::TSynthCanvas2D canvas{box, 400, 4.0};
  std::vector<std::string>& log = box.Screen.Log;
  // Only what drawing adds, not the pen set-up of the canvas itself.
  TSynthView() { log.clear(); }
};

}  // namespace vesktest
