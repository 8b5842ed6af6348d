// The header check that decides the automatic paste of mechanisms made by the synthesis program.
#include <gtest/gtest.h>

#include <optional>

#include "animator/app/ClipboardHeader.h"

namespace quillon {
namespace {

// A store holding a header section "Quillon" with one record, an empty section, or none.
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

TEST(ClipboardHeader, AnswersByVersionAndProducer) {
  struct TCase {
    const char* Name;
    shared::TTabLines Lines;
    int Expected;
  };
  TCase cases[] = {
      {"synthesis program", Document(std::vector<std::string>{"0", "Vesk"}), 2},
      {"producer in any case", Document(std::vector<std::string>{"0", "vESK"}), 2},
      {"copied by the animator", Document(std::vector<std::string>{"0"}), 1},
      {"other producer", Document(std::vector<std::string>{"0", "Vesk2"}), 1},
      {"older version", Document(std::vector<std::string>{"-96", "Vesk"}), -3},
      {"newer version", Document(std::vector<std::string>{"1", "Vesk"}), -3},
      {"empty header", Document(std::nullopt), 0},
      {"no header", Document(std::nullopt, false), -2},
  };
  for (TCase& c : cases) EXPECT_EQ(CheckHeader(c.Lines, "Quillon", 0), c.Expected) << c.Name;
}

TEST(ClipboardHeader, PlainTextIsNoMechanism) {
  shared::TTabLines lines;
  lines.Lines = {"Dear colleague,", "see the attached linkage."};
  EXPECT_EQ(CheckHeader(lines, "Quillon", 0), -2);
}

}  // namespace
}  // namespace quillon
