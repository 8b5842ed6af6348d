// Windows-1252 <-> UTF-8.
#include "shared/Cp1252.h"

#include <cstdint>

namespace shared {

namespace {

// Code points of bytes 0x80..0x9F; 0 marks the unassigned ones. All other bytes are Latin-1.
constexpr char32_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

char ToByte(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] != 0 && kHigh[i] == c) return static_cast<char>(0x80 + i);
  return '?';
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (unsigned char b : bytes) {
    char32_t c = b;
    if (b >= 0x80 && b <= 0x9F) c = kHigh[b - 0x80] ? kHigh[b - 0x80] : 0xFFFD;
    AppendUtf8(out, c);
  }
  return out;
}

std::string Utf8ToCp1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
      out += static_cast<char>(lead);
      ++i;
      continue;
    }
    const int extra = (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : (lead >> 3) == 0x1E ? 3 : 0;
    char32_t c = lead & (0x3F >> extra);
    bool valid = extra > 0 && i + extra < utf8.size();
    for (int k = 1; valid && k <= extra; ++k) {
      const auto cont = static_cast<unsigned char>(utf8[i + k]);
      valid = (cont & 0xC0) == 0x80;
      c = (c << 6) | (cont & 0x3F);
    }
    out += valid ? ToByte(c) : '?';
    i += valid ? extra + 1 : 1;
  }
  return out;
}

}  // namespace shared
