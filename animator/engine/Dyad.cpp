// The dyad worker: loading, circle-circle and sliding closure with branch keeping, carrying along.
#include "animator/engine/Dyad.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quillon {

using shared::TComplex;

namespace {

void Set(TComplex& z, double x, double y) {
  z.X = x;
  z.Y = y;
}

// z := z * a.
void MulBy(TComplex& z, const TComplex& a) {
  const double x = z.X * a.X - z.Y * a.Y;
  z.Y = z.X * a.Y + z.Y * a.X;
  z.X = x;
}

// The unit rotation that turns b's direction into a's: a / b brought to unit length. A zero b
// gives the direction of (1e10, 1e10), as the division by zero of TComplex does.
void UnitRatio(TComplex& out, const TComplex& a, const TComplex& b) {
  if (!(b.X * b.X + b.Y * b.Y > 0)) {
    Set(out, std::numbers::sqrt2 / 2, std::numbers::sqrt2 / 2);
    return;
  }
  // a * conj(b) has the direction of a / b.
  const double x = a.X * b.X + a.Y * b.Y;
  const double y = a.Y * b.X - a.X * b.Y;
  const double r = std::sqrt(x * x + y * y);
  if (r > 0) {
    const double inverse = 1 / r;
    Set(out, x * inverse, y * inverse);
  } else {
    Set(out, 0, 0);
  }
}

// A reach closer to a limit than this share of the closing range is a straight pose within rounding.
constexpr double kStraightShare = 1e-9;
// The Hermite cubic's end-slope weights never exceed this on 0..1: a bound on how far it bulges.
constexpr double kSlopeBulge = 4.0 / 27;
// Paths that come closer to a limit than this share of the closing range are looked at closely
// whatever their slopes say.
constexpr double kNearShare = 1e-6;

}  // namespace

void TDyad::Clear() {
  Count1 = Count2 = 1;
  SavedCount1 = SavedCount2 = 1;
  Common1 = Common2 = -1;
  HasBase1 = HasBase2 = false;
  Loaded = false;
  Result = false;
  Slider1 = Slider2 = false;
  Set(P[0], 0, 0);
  Set(Q[0], 0, 0);
  Set(C1, 1, 0);
  Set(D1, 1, 0);
}

void TDyad::Append(TComplex* points, int& count, int& common, bool& hasBase, const TComplex& position,
                   TDyadRole role) {
  if (role == TDyadRole::Base) {
    Set(points[0], position.X, position.Y);
    hasBase = true;
    return;
  }
  if (count >= kMaxPoints) return;
  Set(points[count], position.X, position.Y);
  if (role == TDyadRole::Common) common = count;
  ++count;
}

void TDyad::AddPoint1(const TComplex& position, TDyadRole role) {
  Append(P, Count1, Common1, HasBase1, position, role);
}

void TDyad::AddPoint2(const TComplex& position, TDyadRole role) {
  Append(Q, Count2, Common2, HasBase2, position, role);
}

bool TDyad::FinishLoading() {
  for (int i = 1; i < Count1; ++i) Set(P[i], P[i].X - P[0].X, P[i].Y - P[0].Y);
  for (int j = 1; j < Count2; ++j) Set(Q[j], Q[j].X - Q[0].X, Q[j].Y - Q[0].Y);
  SavedCount1 = Count1;
  SavedCount2 = Count2;
  Loaded = HasBase1 && HasBase2 && Common1 >= 1 && Common2 >= 1;
  ReachLow = ReachHigh = ClosedLow = ClosedHigh = 0;
  Set(SlideDirection, 0, 0);
  Set(SlideOffset, 0, 0);
  if (!Loaded) return false;
  const double a = P[Common1].Abs(), b = Q[Common2].Abs();
  if (Slider1 || Slider2) {
    // Side 2 keeps its design direction, so the common joint keeps its offset along it from
    // base 2; side 1 reaches that far either way.
    Set(SlideOffset, Q[Common2].X, Q[Common2].Y);
    if (b > 0) Set(SlideDirection, -Q[Common2].X / b, -Q[Common2].Y / b);
    ReachLow = -a;
    ReachHigh = a;
  } else {
    ReachLow = (a - b) * (a - b);
    ReachHigh = (a + b) * (a + b);
  }
  const double margin = kStraightShare * (ReachHigh - ReachLow);
  ClosedLow = ReachLow + margin;
  ClosedHigh = ReachHigh - margin;
  return true;
}

bool TDyad::MayComeNear(double r0, double r1, double r2, double r3, bool& upper, bool& lower) const {
  // Slopes in reach per step at both ends: central differences where the neighbours are known,
  // else those of the parabola through the three known reaches.
  const bool before = std::isfinite(r0), after = std::isfinite(r3);
  // Two steps alone say nothing of the shape of the path between them.
  if (!before && !after) {
    upper = lower = true;
    return true;
  }
  double m1 = (r2 - r0) / 2, m2 = (r3 - r1) / 2;
  if (!after) m2 = (r0 - 4 * r1 + 3 * r2) / 2;
  if (!before) m1 = (-3 * r1 + 4 * r2 - r3) / 2;
  // The cubic through the two steps with those slopes bulges beyond its ends by less than
  // kSlopeBulge times the slopes; twice that, the third difference (how far the path may stray
  // from a cubic) and a floor keep the judgement on the safe side.
  const double third = before && after ? std::fabs(r3 - 3 * r2 + 3 * r1 - r0) : 0.0;
  const double slack =
      2 * kSlopeBulge * (std::fabs(m1) + std::fabs(m2)) + third + kNearShare * (ReachHigh - ReachLow);
  upper = !Closes(std::max(r1, r2) + slack);
  lower = !Closes(std::min(r1, r2) - slack);
  return upper || lower;
}

void TDyad::RestoreCounts() {
  Count1 = SavedCount1;
  Count2 = SavedCount2;
}

void TDyad::SetBases(const TComplex& base1, const TComplex& base2) {
  Set(P[0], base1.X, base1.Y);
  Set(Q[0], base2.X, base2.Y);
  Set(E, base2.X - base1.X, base2.Y - base1.Y);
}

bool TDyad::Assemble() {
  Result = false;
  if (!Loaded) return false;
  Set(A0, P[Common1].X, P[Common1].Y);
  Set(B0, -Q[Common2].X, -Q[Common2].Y);
  Result = (Slider1 || Slider2) ? Slider() : PinPin();
  if (Result) CarryAlong();
  return Result;
}

// +1 when the common joint lay to the left of base 1 -> base 2 in the previous pose (or on the line).
double TDyad::BranchSign() {
  const double fx = A0.X + B0.X, fy = A0.Y + B0.Y;
  return fx * A0.Y - fy * A0.X >= 0 ? 1.0 : -1.0;
}

bool TDyad::PinPin() {
  const double a2 = A0.X * A0.X + A0.Y * A0.Y;
  const double b2 = B0.X * B0.X + B0.Y * B0.Y;
  const double c2 = E.X * E.X + E.Y * E.Y;
  const double a = std::sqrt(a2), b = std::sqrt(b2), c = std::sqrt(c2);
  // Strict: a dyad stretched or folded straight cannot be told from its mirror image and ends the range.
  if (!(a + b > c && c > std::fabs(a - b))) return false;
  const double sign = BranchSign();
  // The common joint at (x, y) in the frame of base 1 -> base 2.
  const double inverse = 1 / c;
  const double x = (a2 - b2 + c2) * 0.5 * inverse;
  const double y2 = a2 - x * x;
  const double y = y2 > 0 ? sign * std::sqrt(y2) : 0.0;
  const double ux = E.X * inverse, uy = E.Y * inverse;
  Set(A1, x * ux - y * uy, x * uy + y * ux);
  Set(B1, E.X - A1.X, E.Y - A1.Y);
  UnitRatio(C1, A1, A0);
  UnitRatio(D1, B1, B0);
  return true;
}

// Side 2 keeps its direction and its base slides with it; the common joint keeps its distance along
// that direction from base 1 and moves across it.
bool TDyad::Slider() {
  const double a2 = A0.X * A0.X + A0.Y * A0.Y;
  const double b = std::sqrt(B0.X * B0.X + B0.Y * B0.Y);
  // Either vector of zero length gives no direction to slide along or to turn by.
  if (!(b > 0) || !(a2 > 0)) return false;
  const double sign = BranchSign();
  const double wx = B0.X / b, wy = B0.Y / b;
  // Base 2's offset from the slide line through base 1, measured along the slide direction.
  const double fx = E.X - B0.X, fy = E.Y - B0.Y;
  const double h = fx * wx + fy * wy;
  // Written as "not within reach" so that a base at infinity or NaN (h not a number) is refused
  // too instead of placing the joints at NaN.
  if (!(h * h <= a2)) return false;
  const double k = sign * std::sqrt(a2 - h * h);
  Set(A1, h * wx - k * wy, h * wy + k * wx);
  Set(B1, B0.X, B0.Y);
  Set(D1, 1, 0);
  UnitRatio(C1, A1, A0);
  return true;
}

void TDyad::CarryAlong() {
  Set(P[Common1], A1.X, A1.Y);
  Set(Q[Common2], -B1.X, -B1.Y);
  for (int i = 1; i < SavedCount1; ++i)
    if (i != Common1) MulBy(P[i], C1);
  if (Slider2) {
    Set(Q[0], P[0].X + A1.X + B1.X, P[0].Y + A1.Y + B1.Y);
    return;
  }
  for (int j = 1; j < SavedCount2; ++j)
    if (j != Common2) MulBy(Q[j], D1);
}

double TDyad::JointAngle() const {
  if (Common1 < 1 || Common2 < 1) return 0;
  const TComplex& p = P[Common1];
  const TComplex& q = Q[Common2];
  // |arg(q / p)|: q * conj(p) has the same argument. A zero p answers the angle of the division
  // by zero's (1e10, 1e10).
  if (!(p.X * p.X + p.Y * p.Y > 0)) return std::numbers::pi / 4;
  return std::fabs(TComplex(p.X * q.X + p.Y * q.Y, p.X * q.Y - p.Y * q.X).Arg());
}

}  // namespace quillon
