// The dyad of the animated linkage: its two links and its angle per step.
#include "animator/engine/AniDyad.h"

#include <algorithm>

namespace quillon {

TAniDyad::TAniDyad(int32_t n) { SetN(n); }

void TAniDyad::SetN(int32_t n) {
  N = std::max(n, 0);
  Angle.resize(static_cast<size_t>(N) + 1);
}

std::string TAniDyad::Caption() const {
  return (Link1 ? Link1->Name : std::string()) + "-" + (Link2 ? Link2->Name : std::string());
}

}  // namespace quillon
