// Hand-written DXF texts for the tests: group pairs joined into lines, sections around them.
#pragma once

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "shared/Canvas2D.h"
#include "tests/animator/engine/RecordingCanvas.h"

namespace dxftest {

struct TPair {
  int code;
  std::string value;
};

// "code\nvalue\n" for each pair, the code right-aligned in three places as DXF writers do.
inline std::string Pairs(const std::vector<TPair>& pairs) {
  std::string text;
  for (const TPair& p : pairs) {
    std::string code = std::to_string(p.code);
    if (code.size() < 3) code.insert(0, 3 - code.size(), ' ');
    text += code + "\n" + p.value + "\n";
  }
  return text;
}

inline std::string Section(const std::string& name, const std::string& body) {
  return Pairs({{0, "SECTION"}, {2, name}}) + body + Pairs({{0, "ENDSEC"}});
}

inline std::string Eof() { return Pairs({{0, "EOF"}}); }

inline std::string EntitiesOnly(const std::string& body) { return Section("ENTITIES", body) + Eof(); }

inline std::string InchHeader() { return Section("HEADER", Pairs({{9, "$DIMALTF"}, {40, "25.4"}})); }

// Pixel text of a world point in the recording view (250 pixels a metre, origin at 200, 150).
inline std::string Px(double x, double y) {
  return std::to_string(int(std::nearbyint(200 + 250 * x))) + "," +
         std::to_string(int(std::nearbyint(150 - 250 * y)));
}

}  // namespace dxftest
