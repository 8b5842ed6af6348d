// Helpers of the record tests: texts joined with CR LF, and the table of damaged copies of a
// record (cut after every line, each value line garbled) that a reader must refuse.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "shared/Complex.h"
#include "shared/TextLine.h"

namespace vesktest {

inline std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

// Runs read on a stream of text; the message of the read error, or "" when none was raised.
inline std::string ReadError(const std::string& text, const std::function<void(std::istream&)>& read) {
  std::istringstream in(text);
  try {
    read(in);
  } catch (const shared::EFileReadError& e) {
    return e.what();
  }
  return "";
}

// Every proper prefix of the record (cut after line 0, 1, ...) and every line but those in
// textLines (whole-line texts such as names, which take anything) replaced by a word must raise
// a read error of the given prefix; the whole record must read.
inline void ExpectDamageRefused(const std::string& record, const std::function<void(std::istream&)>& read,
                                const std::set<size_t>& textLines = {},
                                const std::string& prefix = "File read error in ") {
  const auto lines = shared::SplitTextLines(record);
  ASSERT_EQ(ReadError(record, read), "");
  for (size_t cut = 0; cut < lines.size(); ++cut) {
    const std::vector<std::string> head(lines.begin(), lines.begin() + cut);
    EXPECT_EQ(ReadError(Lines(head), read).rfind(prefix, 0), 0u) << "cut after " << cut << " lines";
  }
  for (size_t k = 0; k < lines.size(); ++k) {
    if (textLines.count(k)) continue;
    auto garbled = lines;
    garbled[k] = "garbled";
    EXPECT_EQ(ReadError(Lines(garbled), read).rfind(prefix, 0), 0u)
        << "line " << k << " garbled: " << lines[k];
  }
}

}  // namespace vesktest
