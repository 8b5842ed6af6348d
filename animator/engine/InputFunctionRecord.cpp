// The mechanism-file record of an input function: section "Input " + letter, one line of law,
// duration and displacement (SI) per motion section.
#include <string>

#include "animator/engine/InputFunction.h"
#include "animator/engine/StdOut.h"
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
  // A law holds kMaxSections sections. Once it is full, or as many records were dropped, the
  // rest is passed over with one warning, so a long run of bad records cannot fill the log.
  int32_t dropped = 0;
  bool over = false;
  while (lines.ReadLine()) {
    if (fCount >= kMaxSections || dropped >= kMaxSections) {
      over = true;
      continue;
    }
    const int32_t law = lines.GetInt(0);
    const double duration = lines.GetFloat(0.0);
    const double displacement = lines.GetFloat(0.0);
    if (!AddSection(law, duration, displacement)) ++dropped;
  }
  if (over)
    StdOut().Warning(SectionName() + (fCount >= kMaxSections ? " holds more than " : " has more bad records than ") +
                     std::to_string(kMaxSections) + " sections; the rest was not read.");
}

}  // namespace quillon
