// The mechanism record of the project file: read or refused with the read error, never a crash;
// one that reads must write a text that reads back and writes the same again, and is stepped,
// simulated and drawn.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "shared/SynthCanvas2D.h"
#include "shared/GeneralObject.h"
#include "synthesis/engine/CMatrix.h"
#include "synthesis/engine/Fourbar.h"
#include "synthesis/engine/InputFunction.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = [] {
    vesk::CreateCMatrix();
    vesk::CreateDefaultInputFunction();
    return true;
  }();
  (void)ready;
  const std::string text(reinterpret_cast<const char*>(data), size);
  vesk::TFourbar first;
  std::istringstream in(text);
  try {
    first.Read(in);
  } catch (const shared::EFileReadError&) {
    return 0;
  }
  std::ostringstream once;
  first.Write(once);
  vesk::TFourbar second;
  std::istringstream again(once.str());
  second.Read(again);  // a written record that does not read back is a fault: let it escape
  std::ostringstream twice;
  second.Write(twice);
  if (twice.str() != once.str()) std::abort();
  // A read mechanism must stand being stepped and simulated.
  second.StepInput(0.1);
  second.SimulatePath(nullptr);
  static fuzz::TNullPaintBox box(640, 480);
  shared::TSynthCanvas2D canvas(box, 640, 3.0);
  second.Draw(canvas);
  return 0;
}
