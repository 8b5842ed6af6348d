// What the mechanism tests share: the message log caught in a list for a test's lifetime, and a
// mechanism's document text as a save writes it.
#pragma once

#include <string>
#include <vector>

#include "animator/engine/AniMechanism.h"
#include "animator/engine/StdOut.h"
#include "shared/TabLine.h"

namespace mechanism_test {

struct TRecordingSink : quillon::TMessageSink {
  std::vector<std::string> lines;
  void AppendLine(const std::string& line, quillon::TMessageKind) override { lines.push_back(line); }
  void ClearLines() override { lines.clear(); }
};

// Routes the log into a list for the test's lifetime.
struct TLogCapture {
  TRecordingSink sink;
  TLogCapture() { quillon::StdOut().SetSink(&sink); }
  ~TLogCapture() { quillon::StdOut().SetSink(nullptr); }
};

inline std::string Saved(const quillon::TAniMechanism& mechanism) {
  shared::TTabLines lines;
  mechanism.SaveToTabLines(lines);
  return lines.Text();
}

}  // namespace mechanism_test
