// Fuzz target: a whole mechanism document read as the animator opens one, saved and read again
// (the second and third saves must be the same text), taken as an undo entry and read back,
// solved at two step counts and painted.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "animator/engine/AniMechanism.h"
#include "animator/engine/MechanismHeader.h"
#include "fuzz/FuzzSupport.h"
#include "shared/Canvas2D.h"
#include "shared/TabLine.h"

namespace {

std::string Saved(const quillon::TAniMechanism& mechanism) {
  shared::TTabLines lines;
  lines.SetFileName("/fuzz/doc.mech");
  mechanism.SaveToTabLines(lines);
  return lines.Text();
}

// Reads the text into the mechanism; false when the reader refuses it.
bool Load(quillon::TAniMechanism& mechanism, const std::string& text) {
  shared::TTabLines lines;
  std::istringstream in(text);
  lines.LoadFromStream(in);
  lines.SetFileName("/fuzz/doc.mech");
  try {
    mechanism.LoadFromTabLines(lines);
  } catch (const quillon::EMechanismError&) {
    return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::CreateServices();
  const std::string text(reinterpret_cast<const char*>(data), size);
  quillon::TAniMechanism mechanism;
  if (!Load(mechanism, text)) return 0;

  // The first save may settle what the document held loosely; from the second on, a save
  // gives back exactly what was read.
  const std::string first = Saved(mechanism);
  quillon::TAniMechanism second;
  if (!Load(second, first)) __builtin_trap();
  const std::string again = Saved(second);
  quillon::TAniMechanism third;
  if (!Load(third, again)) __builtin_trap();
  if (Saved(third) != again) __builtin_trap();

  // An undo entry of the document gives back the same document with its name and mark.
  shared::TTabLines entry;
  mechanism.PrepareUndoState(entry);
  quillon::TAniMechanism undone;
  undone.LoadFromTabLines(entry);
  if (undone.PresetName != mechanism.PresetName || undone.Optimized != mechanism.Optimized) __builtin_trap();
  if (Saved(undone) != again) __builtin_trap();

  fuzz::TNullPaintBox box(400, 300);
  shared::TAniCanvas2D canvas(box, 1.0);
  for (const int32_t steps : {90, 7}) {
    mechanism.SetPositionCount(steps);
    mechanism.Calculate();
    shared::TComplex min, max;
    if (mechanism.GetExtent(min, max)) canvas.ZoomToRect(min, max);
    for (const int32_t step : {0, mechanism.Len / 2, mechanism.Len}) {
      mechanism.SetFrame(step);
      mechanism.Paint(canvas);
    }
  }
  return 0;
}
