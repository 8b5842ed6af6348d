// Closing the two-vector loop on both branches.
#include "synthesis/engine/VectorLoop.h"

#include <cmath>

namespace vesk {

using shared::TComplex;

bool TVectorLoop::Solve() {
  const double a = A0.Abs(), b = B0.Abs(), c = C.Abs();
  if (!(c < a + b && c > std::fabs(a - b))) return false;
  TComplex sum;
  sum.Add(A0, B0);
  // The side of C on which A0 lies picks the branch that solution 1 keeps.
  const double s = sum.Cross(A0) >= 0 ? 1.0 : -1.0;
  const double p = (a * a - b * b + c * c) / (2 * c);
  const double q2 = a * a - p * p;
  const double h = q2 > 0 ? s * std::sqrt(q2) : 0.0;
  TComplex u = C;
  u.Normalize();
  A1.Mul(TComplex(p, h), u);
  A2.Mul(TComplex(p, -h), u);
  B1.Sub(C, A1);
  B2.Sub(C, A2);
  auto rotation = [](TComplex& rot, const TComplex& to, const TComplex& from) {
    rot.Divide(to, from);
    rot.Normalize();
  };
  rotation(RotA1, A1, A0);
  rotation(RotA2, A2, A0);
  rotation(RotB1, B1, B0);
  rotation(RotB2, B2, B0);
  return true;
}

}  // namespace vesk
