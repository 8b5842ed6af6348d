// Rotation errors against the target curve's prescribed rotations.
#include "animator/engine/CurveDeviation.h"

#include <algorithm>
#include <cmath>

namespace quillon {

double RotationError(double angle, double target) {
  const double cross = std::cos(angle) * std::sin(target) - std::sin(angle) * std::cos(target);
  return std::fabs(std::asin(std::clamp(cross, -1.0, 1.0)));
}

double RotationDistance2(double angle, double target) {
  const double dx = std::cos(target) - std::cos(angle);
  const double dy = std::sin(target) - std::sin(angle);
  return dx * dx + dy * dy;
}

}  // namespace quillon
