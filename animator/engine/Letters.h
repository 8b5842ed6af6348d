// Joint letters and letter lists as the animator's model keeps them: ASCII upper case, trimmed of
// blanks and control characters at both ends.
#pragma once

#include <algorithm>
#include <string>

namespace quillon {

// Only a..z change: joint names are plain ASCII letters whatever the text's code page.
inline char UpperLetter(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

inline std::string UpperText(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), UpperLetter);
  return text;
}

// Without the blanks and control characters (codes up to 32) at both ends.
inline std::string TrimmedText(const std::string& text) {
  size_t first = 0, last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= ' ') ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') --last;
  return text.substr(first, last - first);
}

}  // namespace quillon
