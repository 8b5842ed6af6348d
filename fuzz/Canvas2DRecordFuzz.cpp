// Fuzz target: the "[Canvas2D]" record of the synthesis project file; a record that is read is
// written again and must read back to the same view.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "shared/SynthCanvas2D.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  fuzz::TNullPaintBox box(500, 500);
  shared::TSynthCanvas2D canvas(box, 500, 2.0);
  std::istringstream in(text);
  try {
    canvas.Read(in);
  } catch (const shared::EFileReadError&) {
    return 0;
  }
  std::ostringstream out;
  canvas.Write(out);
  shared::TSynthCanvas2D again(box, 500, 2.0);
  std::istringstream back(out.str());
  try {
    again.Read(back);
  } catch (const shared::EFileReadError&) {
    __builtin_trap();
  }
  std::ostringstream twice;
  again.Write(twice);
  if (twice.str() != out.str()) __builtin_trap();
  canvas.DrawAxes();
  canvas.WorldToScreen(canvas.Origin());
  return 0;
}
