// The bounding box that drawings and zoom-to-fit grow over joints, curve points and areas.
#pragma once

#include <algorithm>

#include "shared/Complex.h"

namespace quillon {

// Widens the box min..max to take in (x, y); a NaN coordinate leaves it as it was.
inline void WidenExtent(shared::TComplex& min, shared::TComplex& max, double x, double y) {
  min.X = std::min(min.X, x);
  min.Y = std::min(min.Y, y);
  max.X = std::max(max.X, x);
  max.Y = std::max(max.Y, y);
}

}  // namespace quillon
