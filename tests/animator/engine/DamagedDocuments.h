// Mechanism documents damaged the ways files get damaged (a wrong checksum line, text in a number
// field, a file cut off in the joint list, a link letter that names no joint), each with the
// warnings the reader must give; shared by the reader's, the view's and mechtool's tests.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "animator/engine/AniMechanism.h"
#include "shared/TabLine.h"

namespace damaged {

// CRC-16/XMODEM of "quintabole" and the lines, written out here bit by bit so that the tests do
// not lean on the store's own checksum code.
inline uint16_t KeyedCrc(const std::vector<std::string>& lines) {
  uint32_t crc = 0;
  std::string text = "quintabole";
  for (const std::string& line : lines) text += line;
  for (const unsigned char byte : text) {
    for (int bit = 7; bit >= 0; --bit) {
      const bool in = ((byte >> bit) & 1) != 0;
      const bool top = (crc & 0x8000) != 0;
      crc = (crc << 1) & 0xFFFF;
      if (in != top) crc ^= 0x1021;
    }
  }
  return static_cast<uint16_t>(crc);
}

// The four-bar preset's content lines, without a checksum line.
inline std::vector<std::string> FourBarLines() {
  quillon::TAniMechanism mechanism;
  shared::TTabLines lines;
  mechanism.SaveToTabLines(lines);
  return lines.Lines;
}

inline std::string WithChecksum(std::vector<std::string> lines) {
  lines.push_back(std::to_string(KeyedCrc(lines)));
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

inline std::string WithoutChecksum(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// Index of the first line that starts with prefix (the tests' documents all hold it).
inline size_t LineStarting(const std::vector<std::string>& lines, const std::string& prefix) {
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i].rfind(prefix, 0) == 0) return i;
  return lines.size();
}

struct TCase {
  const char* Name;
  // The file's text, made from the four-bar's lines.
  std::function<std::string(std::vector<std::string>)> Text;
  // The warnings, "@" standing for the quoted file name.
  std::vector<std::string> Warnings;
  // The damage is in what is read, so a save keeps it (a letter of a missing joint stays).
  bool Lasting = false;
};

inline std::vector<TCase> Cases() {
  return {
      {"whole, with its checksum", [](std::vector<std::string> l) { return WithChecksum(l); }, {}},
      // Written by hand: no checksum line at all, and joints without their flags.
      {"by hand, without a checksum",
       [](std::vector<std::string> l) {
         const size_t b = LineStarting(l, "B\t");
         l[b] = l[b].substr(0, l[b].find('\t', l[b].find('\t', 2) + 1));
         return WithoutChecksum(l);
       },
       {}},
      {"checksum line off by one",
       [](std::vector<std::string> l) {
         l.push_back(std::to_string((KeyedCrc(l) + 1) % 65536));
         return WithoutChecksum(l);
       },
       {"[Warning] The checksum line of @ does not match its content."}},
      {"number field abc",
       [](std::vector<std::string> l) {
         const size_t b = LineStarting(l, "B\t");
         l[b] = "B\tabc" + l[b].substr(l[b].find('\t', 2));
         return WithChecksum(l);
       },
       {"[Warning] 1 value of @ could not be read as a number and was taken as 0."}},
      {"cut off in the joint list",
       [](std::vector<std::string> l) {
         const size_t c = LineStarting(l, "C\t");
         l.resize(c + 1);
         l[c] = l[c].substr(0, l[c].find('\t', 2));
         return WithoutChecksum(l);
       },
       {"[Warning] @ is cut short: the section \"Joints\" has no end mark.",
        "[Warning] 1 record of @ is cut short; what is missing was taken as 0."}},
      {"link letter that names no joint",
       [](std::vector<std::string> l) {
         const size_t cd = LineStarting(l, "CD\t");
         l[cd] = "CX" + l[cd].substr(2);
         return WithChecksum(l);
       },
       {"[Warning] Letters of links in @ name no joint: X in CX."},
       true},
  };
}

inline std::vector<std::string> Expected(const TCase& c, const std::string& file) {
  std::vector<std::string> warnings;
  for (std::string w : c.Warnings) {
    const size_t at = w.find('@');
    if (at != std::string::npos) w.replace(at, 1, "\"" + file + "\"");
    warnings.push_back(w);
  }
  return warnings;
}

}  // namespace damaged
