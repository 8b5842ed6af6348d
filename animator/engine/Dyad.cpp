// The dyad worker: loading, circle-circle and sliding closure with branch keeping, carrying along.
#include "animator/engine/Dyad.h"

#include <cmath>

namespace quillon {

using shared::TComplex;

namespace {

// a / b brought to unit length: the rotation that turns b's direction into a's.
void UnitRatio(TComplex& out, const TComplex& a, const TComplex& b) {
  out.Divide(a, b);
  out.Normalize();
}

}  // namespace

void TDyad::Clear() {
  Count1 = Count2 = 1;
  SavedCount1 = SavedCount2 = 1;
  Common1 = Common2 = -1;
  HasBase1 = HasBase2 = false;
  Loaded = false;
  Result = false;
  Slider1 = Slider2 = false;
  P[0].Zero();
  Q[0].Zero();
  C1.SetUnit();
  D1.SetUnit();
}

void TDyad::Append(TComplex* points, int& count, int& common, bool& hasBase, const TComplex& position,
                   TDyadRole role) {
  if (role == TDyadRole::Base) {
    points[0].Assign(position);
    hasBase = true;
    return;
  }
  if (count >= kMaxPoints) return;
  points[count].Assign(position);
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
  for (int i = 1; i < Count1; ++i) P[i].SubFrom(P[0]);
  for (int j = 1; j < Count2; ++j) Q[j].SubFrom(Q[0]);
  SavedCount1 = Count1;
  SavedCount2 = Count2;
  Loaded = HasBase1 && HasBase2 && Common1 >= 1 && Common2 >= 1;
  return Loaded;
}

void TDyad::RestoreCounts() {
  Count1 = SavedCount1;
  Count2 = SavedCount2;
}

void TDyad::SetBases(const TComplex& base1, const TComplex& base2) {
  P[0].Assign(base1);
  Q[0].Assign(base2);
  E.Sub(base2, base1);
}

bool TDyad::Assemble() {
  Result = false;
  if (!Loaded) return false;
  A0.Assign(P[Common1]);
  B0.Assign(Q[Common2]);
  B0.Negate();
  Result = (Slider1 || Slider2) ? Slider() : PinPin();
  if (Result) CarryAlong();
  return Result;
}

// +1 when the common joint lay to the left of base 1 -> base 2 in the previous pose (or on the line).
double TDyad::BranchSign() {
  F.Add(A0, B0);
  return F.Cross(A0) >= 0 ? 1.0 : -1.0;
}

bool TDyad::PinPin() {
  const double a = A0.Abs(), b = B0.Abs(), c = E.Abs();
  // Strict: a dyad stretched or folded straight cannot be told from its mirror image and ends the range.
  if (!(a + b > c && c > std::fabs(a - b))) return false;
  const double sign = BranchSign();
  const double x = (a * a - b * b + c * c) / (2 * c);
  const double y2 = a * a - x * x;
  const double y = y2 > 0 ? sign * std::sqrt(y2) : 0.0;
  F.Assign(E);
  F.Normalize();
  A1.SetXY(x, y);
  A1.MulBy(F);
  A2.SetXY(x, -y);
  A2.MulBy(F);
  B1.Sub(E, A1);
  B2.Sub(E, A2);
  UnitRatio(C1, A1, A0);
  UnitRatio(C2, A2, A0);
  UnitRatio(D1, B1, B0);
  UnitRatio(D2, B2, B0);
  return true;
}

// Side 2 keeps its direction and its base slides with it; the common joint keeps its distance along
// that direction from base 1 and moves across it.
bool TDyad::Slider() {
  // Either vector of zero length gives no direction to slide along or to turn by.
  if (!(B0.Abs() > 0) || !(A0.Abs() > 0)) return false;
  const double sign = BranchSign();
  B2.Assign(B0);
  B2.Normalize();
  TComplex w(B2.X, -B2.Y);
  F.Sub(E, B0);
  F.MulBy(w);
  const double h = F.X;
  const double a2 = A0.Abs2();
  // Written as "not within reach" so that a base at infinity or NaN (h not a number) is refused
  // too instead of placing the joints at NaN.
  if (!(h * h <= a2)) return false;
  A1.SetXY(h, sign * std::sqrt(a2 - h * h));
  A2.SetXY(A1.X, -A1.Y);
  A1.MulBy(B2);
  A2.MulBy(B2);
  B1.Assign(B0);
  B2.Assign(B0);
  D1.SetUnit();
  D2.SetUnit();
  UnitRatio(C1, A1, A0);
  UnitRatio(C2, A2, A0);
  return true;
}

void TDyad::CarryAlong() {
  P[Common1].Assign(A1);
  Q[Common2].Assign(B1);
  Q[Common2].Negate();
  for (int i = 1; i < SavedCount1; ++i)
    if (i != Common1) P[i].MulBy(C1);
  if (Slider2) {
    Q[0].Add(P[0], A1);
    Q[0].AddTo(B1);
    return;
  }
  for (int j = 1; j < SavedCount2; ++j)
    if (j != Common2) Q[j].MulBy(D1);
}

TComplex TDyad::Next(const TComplex* points, int& count) {
  if (count > 0) --count;
  if (count < 1) return points[0];
  TComplex p;
  p.Add(points[count], points[0]);
  return p;
}

TComplex TDyad::NextPoint1() { return Next(P, Count1); }

TComplex TDyad::NextPoint2() { return Next(Q, Count2); }

double TDyad::JointAngle() const {
  if (Common1 < 1 || Common2 < 1) return 0;
  TComplex r;
  r.Divide(Q[Common2], P[Common1]);
  return std::fabs(r.Arg());
}

}  // namespace quillon
