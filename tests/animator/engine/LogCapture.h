// A message sink that keeps every line with its kind, and a guard that routes the process-wide
// log into one for a test's lifetime.
#pragma once

#include <string>
#include <vector>

#include "animator/engine/StdOut.h"

namespace enginetest {

struct TRecordingSink : quillon::TMessageSink {
  std::vector<std::string> lines;
  std::vector<quillon::TMessageKind> kinds;
  void AppendLine(const std::string& line, quillon::TMessageKind kind) override {
    lines.push_back(line);
    kinds.push_back(kind);
  }
  void ClearLines() override {
    lines.clear();
    kinds.clear();
  }
};

struct TLogCapture {
  TRecordingSink sink;
  TLogCapture() { quillon::StdOut().SetSink(&sink); }
  ~TLogCapture() { quillon::StdOut().SetSink(nullptr); }
  TLogCapture(const TLogCapture&) = delete;
  TLogCapture& operator=(const TLogCapture&) = delete;
};

}  // namespace enginetest
