// The header check that decides the automatic paste, on documents as the tab-line store writes
// them: the header after other sections, and clipboard text that is no document at all.
#include <gtest/gtest.h>

#include <optional>

#include "animator/engine/MechanismHeader.h"
#include "shared/TabLine.h"

namespace quillon {
namespace {

// A store holding a "Links" section, then a header section "Quillon" with one record, an empty
// header section, or none.
shared::TTabLines Document(std::optional<std::vector<std::string>> record, bool section = true) {
  shared::TTabLines lines;
  lines.BeginSection("Links");
  lines.ClearFields();
  lines.AddInt(3);
  lines.WriteLine();
  lines.EndSection();
  if (section) {
    lines.BeginSection("Quillon");
    if (record) {
      lines.ClearFields();
      for (const std::string& field : *record) lines.AddString(field);
      lines.WriteLine();
    }
    lines.EndSection();
  }
  return lines;
}

TEST(ClipboardHeader, HeaderAfterOtherSections) {
  struct TCase {
    const char* Name;
    shared::TTabLines Lines;
    int Expected;
  };
  TCase cases[] = {
      {"synthesis program", Document(std::vector<std::string>{"0", "Vesk"}), kHeaderSynthesis},
      {"copied by the animator", Document(std::vector<std::string>{"0"}), kHeaderCurrent},
      {"newer version of the synthesis program", Document(std::vector<std::string>{"1", "Vesk"}),
       kHeaderOtherVersion},
      {"empty header", Document(std::nullopt), kHeaderEmpty},
      {"no header", Document(std::nullopt, false), kHeaderMissing},
  };
  for (TCase& c : cases) EXPECT_EQ(CheckMechanismHeader(c.Lines).Result, c.Expected) << c.Name;
}

TEST(ClipboardHeader, PlainTextIsNoMechanism) {
  shared::TTabLines lines;
  lines.Lines = {"Dear colleague,", "see the attached linkage."};
  EXPECT_EQ(CheckMechanismHeader(lines).Result, kHeaderMissing);
}

}  // namespace
}  // namespace quillon
