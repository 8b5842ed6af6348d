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
#include "shared/AniCanvas2D.h"
#include "shared/TabLine.h"

// AddressSanitizer keeps 256 MB of freed memory in quarantine by default and hands freed pages
// back to the system, so every document's few hundred kilobytes of joints, links and records
// land on memory that is paged in afresh: that, not the document, took most of the time. 16 MB
// still holds the frees of dozens of documents, so a use after free within one is still caught.
extern "C" const char* __asan_default_options() {
  return "quarantine_size_mb=16:allocator_release_to_os_interval_ms=-1";
}

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
  // gives back exactly what was read. Every read builds the document afresh and then replaces
  // what the mechanism held, so one mechanism takes the reads in turn, as the animator's window
  // takes one document after another.
  const std::string first = Saved(mechanism);
  quillon::TAniMechanism other;
  if (!Load(other, first)) __builtin_trap();
  const std::string again = Saved(other);
  if (!Load(other, again)) __builtin_trap();
  if (Saved(other) != again) __builtin_trap();

  // An undo entry of the document gives back the same document with its name and mark.
  shared::TTabLines entry;
  mechanism.PrepareUndoState(entry);
  other.LoadFromTabLines(entry);
  if (other.PresetName != mechanism.PresetName || other.Optimized != mechanism.Optimized) __builtin_trap();
  if (Saved(other) != again) __builtin_trap();

  fuzz::TNullPaintBox box(400, 300);
  shared::TAniCanvas2D canvas(box, 1.0);
  // Fewer steps than the read's 90, then more again: the solve runs on arrays cut short and on
  // arrays grown after a solve, at a fraction of the default count's cost.
  for (const int32_t steps : {7, 30}) {
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
