// Line reading shared by every text format.
#include "shared/TextLine.h"

#include <algorithm>
#include <sstream>

namespace shared {

bool ReadTextLine(std::istream& in, std::string& line) {
  line.clear();
  if (!std::getline(in, line)) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

std::vector<std::string> SplitTextLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (ReadTextLine(in, line)) lines.push_back(line);
  return lines;
}

std::string OneLineField(std::string text) {
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
  return text;
}

}  // namespace shared
