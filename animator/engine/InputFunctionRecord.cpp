// The mechanism-file record of an input function: section "Input " + letter, one line of law,
// duration and displacement (SI) per motion section.
#include "animator/engine/InputFunction.h"
#include "shared/TabLine.h"

namespace quillon {

void TInputFunction::WriteTabLines(shared::TTabLines& lines) const {
  lines.BeginSection(SectionName());
  for (int32_t i = 0; i < fCount; ++i) {
    const TFunctionSection& section = *fSections[i];
    lines.ClearFields();
    lines.AddInt(section.Law());
    lines.AddFloat(section.Duration());
    lines.AddFloat(section.Displacement());
    lines.WriteLine();
  }
  lines.EndSection();
}

// A missing field reads as 0; a line that leaves no usable section (duration 0) is dropped with
// a warning, and lines beyond the eleventh are refused.
void TInputFunction::ReadTabLines(shared::TTabLines& lines) {
  const bool found = lines.FindSection(SectionName());
  Clear();
  if (!found) return;
  while (lines.ReadLine()) {
    const int32_t law = lines.GetInt(0);
    const double duration = lines.GetFloat(0.0);
    const double displacement = lines.GetFloat(0.0);
    AddSection(law, duration, displacement);
  }
}

}  // namespace quillon
