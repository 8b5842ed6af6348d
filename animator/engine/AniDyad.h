// TAniDyad: two links of the animated linkage solved together as a two-link group, with the
// angle between them at their common joint (the transmission angle) per step.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "animator/engine/AniLink.h"

namespace quillon {

class TAniDyad {
 public:
  explicit TAniDyad(int32_t n = 90);

  int32_t N = 90;
  uint8_t Selected = 0;
  // Link 1 is the solver's first side, link 2 its second, in the order the dyad was added.
  int32_t Link1Index = -1;
  int32_t Link2Index = -1;
  // Not owned: the mechanism's links.
  TAniLink* Link1 = nullptr;
  TAniLink* Link2 = nullptr;
  std::vector<double> Angle;

  void SetN(int32_t n);
  bool HasLink(int32_t l) const { return Link1Index == l || Link2Index == l; }
  // "BCE-CD" for the links BCE and CD.
  std::string Caption() const;
};

}  // namespace quillon
