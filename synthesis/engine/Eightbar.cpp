// The eight-bar: layout, synthesis of the four-bar and its parallelograms, motion and dragging.
#include "synthesis/engine/Eightbar.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "synthesis/engine/Spline.h"
#include "synthesis/engine/SynthOptions.h"

namespace vesk {

using shared::TComplex;

namespace {

constexpr double kInputMax = 5.969026041820607;

// The side of a parallelogram across the link: a quarter turn of the link's mean direction
// over positions 1, 5 and 9, a third of its length.
TComplex Across(const TComplex& v, const TLink& link) {
  TComplex sum(v);
  for (int32_t i : {5, 9}) {
    TComplex turned(v);
    turned.MulBy(TComplex(std::cos(link.Rot[i]), std::sin(link.Rot[i])));
    sum.AddTo(turned);
  }
  return TComplex(sum.Y / 6.0, -sum.X / 6.0);
}

double AngleAt(const TComplex& a, const TComplex& b, const TComplex& c) {
  TComplex u, v;
  u.Sub(a, c);
  v.Sub(b, c);
  u.DivBy(v);
  const double t = std::fabs(u.Arg());
  return t <= std::numbers::pi / 2 ? t : std::numbers::pi - t;
}

}  // namespace

TEightbar::TEightbar() {
  MechanismType = kEightbarType;
  Name = "Eight Bar";
  MakeDefault();
}

void TEightbar::MakeDefault() {
  Clear();
  const double xy[10][2] = {{-0.1, -0.3}, {-0.2, -0.2}, {0.2, -0.2}, {0.5, -0.5}, {-0.1, 0},
                            {0, 0.1},     {0.2, 0},     {0.3, -0.2}, {0.6, -0.5}, {-0.2, 0.1}};
  const bool selectOnAdd = Joints.SelectOnAdd;
  Joints.SelectOnAdd = false;
  for (const auto& p : xy) Joints.Add(std::make_unique<TJoint>(p[0], p[1]));
  Joints.SelectOnAdd = selectOnAdd;
  Joints.SetOrigin(10);
  Joints.Deselect();
  AddLink(kGroundLink, 0, {1, 4, 9});
  AddLink(kInputLink, 1, {1, 2})->MaxAngle = kInputMax;
  AddLink(kOtherLink, 2, {2, 3, 5});
  AddLink(kOtherLink, 2, {4, 3});
  AddLink(kOtherLink, 2, {3, 7, 8})->SetFree(false);
  AddLink(kOtherLink, 2, {9, 8})->SetFree(false);
  AddLink(kOtherLink, 2, {6, 7})->SetFree(false);
  AddLink(kOutputLink, 0, {5, 6, 10});
  Links.Deselect();
  Joints.SetModified(false);
  Links.SetModified(false);
  Links.AssignRoles();
  Modified = false;
}

std::unique_ptr<TMechanism> TEightbar::Clone() const {
  auto copy = std::make_unique<TEightbar>();
  copy->Assign(*this);
  return copy;
}

bool TEightbar::Synthesize() {
  if (!BeginSynthesis(10, 8)) return false;
  TLink& input = LinkAt(2);
  TLink& coupler = LinkAt(3);
  TLink& rocker = LinkAt(4);
  TLink& body = LinkAt(8);
  for (int32_t i = 2; i <= TDyad::kPositions; ++i) body.Rot[size_t(i)] = 0;

  Dyad1.Aim(input, true, coupler, true, PrecisionPoints);
  Dyad1.ShiftPoints(Links.Offset, body);
  const bool first = Dyad1.Close();
  bool second = false;
  if (first) {
    Dyad2.Aim(rocker, true, coupler, false, PrecisionPoints);
    Dyad2.ShiftPoints(Links.Offset, body);
    TComplex back(Dyad1.Z);
    back.Negate();
    Dyad2.ShiftPoints(back, coupler);
    second = Dyad2.Close();
  }
  Error.Dyad = Dyad1.Error * Dyad2.Error;
  if (!(first && second)) return false;

  // The body translates: the dyads do not depend on where on it the coupler point sits.
  JointAt(10).Assign(*PrecisionPoints.GetPoint(1));
  JointAt(5).Sub(JointAt(10), Links.Offset);
  JointAt(2).Sub(JointAt(5), Dyad1.Z);
  JointAt(1).Sub(JointAt(2), Dyad1.W);
  JointAt(3).Sub(JointAt(2), Dyad2.Z);
  JointAt(4).Sub(JointAt(3), Dyad2.W);

  // Each parallelogram stands beside its link, unless a drag moved it.
  TComplex d1 = Across(Dyad2.W, rocker);
  d1.AddTo(Links.ParallelShift1);
  JointAt(9).Add(JointAt(4), d1);
  JointAt(8).Add(JointAt(3), d1);
  TComplex s;
  s.Add(Dyad2.Z, Dyad1.Z);
  TComplex d2 = Across(s, coupler);
  d2.AddTo(Links.ParallelShift2);
  JointAt(6).Add(JointAt(5), d2);
  JointAt(7).Add(JointAt(3), d2);
  Modified = true;
  return CheckPrecisionPositions();
}

// As the four-bar's, without the test that the path ends on precision point 9.
void TEightbar::SimulatePath(const TSpline* curve) { RatePath(curve, false); }

bool TEightbar::StepInput(double angle) {
  if (Joints.Count() != 10) return false;
  TComplex& in = Vectors[0];
  TComplex& coupler = Vectors[1];
  TComplex& toJ5 = Vectors[2];
  TComplex& upper = Vectors[3];
  TComplex& toJ7 = Vectors[4];
  TComplex& side = Vectors[5];
  TComplex& toJ10 = Vectors[6];
  TComplex& scratch = Vectors[7];

  in.Sub(JointAt(2), JointAt(1));
  in.MulBy(TComplex(std::cos(angle), std::sin(angle)));
  VectorLoop.A0.Sub(JointAt(3), JointAt(2));
  VectorLoop.B0.Sub(JointAt(4), JointAt(3));
  VectorLoop.C.Sub(JointAt(4), JointAt(1));
  VectorLoop.C.SubFrom(in);
  if (!VectorLoop.Solve()) return false;
  coupler.CopyFrom(VectorLoop.A1);
  toJ5.Sub(JointAt(5), JointAt(2));
  toJ5.MulBy(VectorLoop.RotA1);

  VectorLoop.A0.Sub(JointAt(8), JointAt(3));
  VectorLoop.B0.Sub(JointAt(9), JointAt(8));
  VectorLoop.C.Sub(JointAt(9), JointAt(1));
  VectorLoop.C.SubFrom(in);
  VectorLoop.C.SubFrom(coupler);
  if (!VectorLoop.Solve()) return false;
  upper.CopyFrom(VectorLoop.A1);
  toJ7.Sub(JointAt(7), JointAt(3));
  toJ7.MulBy(VectorLoop.RotA1);

  VectorLoop.A0.Sub(JointAt(6), JointAt(5));
  VectorLoop.B0.Sub(JointAt(7), JointAt(6));
  scratch.Add(coupler, toJ7);
  VectorLoop.C.Sub(scratch, toJ5);
  if (!VectorLoop.Solve()) return false;
  side.CopyFrom(VectorLoop.A1);
  toJ10.Sub(JointAt(10), JointAt(5));
  toJ10.MulBy(VectorLoop.RotA1);

  JointAt(2).Add(JointAt(1), in);
  JointAt(3).Add(JointAt(2), coupler);
  JointAt(5).Add(JointAt(2), toJ5);
  JointAt(6).Add(JointAt(5), side);
  JointAt(7).Add(JointAt(3), toJ7);
  JointAt(8).Add(JointAt(3), upper);
  JointAt(10).Add(JointAt(5), toJ10);
  return true;
}

void TEightbar::DragJoint(const TComplex& point) {
  const TJoint* selected = Joints.GetSelectedJoint();
  if (!selected || Joints.Count() != 10) return;
  const int32_t k = selected->Index();
  TComplex d;
  d.Sub(point, *selected);
  auto move = [this, &d](int32_t i) { JointAt(i).Add(JointAt(i), d); };
  if (k >= 1 && k <= 4) {
    // J10 sits at J5 + Offset: the offset shrinks by what J5 moves.
    for (int32_t i = 1; i <= 9; ++i) move(i);
    Links.Offset.SubFrom(d);
  } else if (k == 6 || k == 7) {
    move(6);
    move(7);
    Links.ParallelShift2.AddTo(d);
  } else if (k == 8 || k == 9) {
    move(8);
    move(9);
    Links.ParallelShift1.AddTo(d);
  } else {
    return;
  }
  Modified = true;
}

double TEightbar::TransmissionAngle() const {
  if (Joints.Count() != 10) return 0;
  return std::min({AngleAt(JointAt(2), JointAt(4), JointAt(3)), AngleAt(JointAt(3), JointAt(9), JointAt(8)),
                   AngleAt(JointAt(5), JointAt(7), JointAt(6))});
}

}  // namespace vesk
