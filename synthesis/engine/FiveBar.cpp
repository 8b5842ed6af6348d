// The five-bar with belt and wheels: layout, dyad synthesis, wheel construction and motion.
#include "synthesis/engine/FiveBar.h"

#include <cmath>
#include <numbers>

namespace vesk {

using shared::TComplex;

namespace {
// Both wheels together span this share of the ground pivots' distance.
constexpr double kWheelShare = 0.33;
constexpr double kInputMax = 1.9 * std::numbers::pi;
constexpr shared::TColor kRed = 255;
}  // namespace

TFiveBar::TFiveBar() {
  MechanismType = kFiveBarType;
  Name = "Five Bar";
  MakeDefault();
}

void TFiveBar::MakeDefault() {
  Clear();
  const double xy[8][2] = {{-0.1, -0.3}, {-0.2, -0.2}, {0, -0.2}, {0.5, -0.5},
                           {0.1, -0.04}, {0.5, 0},     {0, 0.1},  {0, 0.2}};
  const bool selectOnAdd = Joints.SelectOnAdd;
  Joints.SelectOnAdd = false;
  for (const auto& p : xy) Joints.Add(std::make_unique<TJoint>(p[0], p[1]));
  Joints.SelectOnAdd = selectOnAdd;
  Joints.SetOrigin(8);
  Joints.Deselect();
  AddLink(kGroundLink, 0, {1, 4});
  AddLink(kInputLink, 1, {1, 3, 2})->MaxAngle = kInputMax;
  AddLink(kOtherLink, 2, {2, 5})->SetFree(false);
  AddLink(kOtherLink, 2, {4, 6, 5})->SetFree(false);
  AddLink(kOtherLink, 2, {3, 7});
  AddLink(kOutputLink, 2, {6, 7, 8});
  Links.Deselect();
  Joints.SetModified(false);
  Links.SetModified(false);
  Links.AssignRoles();
  Modified = false;
}

std::unique_ptr<TMechanism> TFiveBar::Clone() const {
  auto copy = std::make_unique<TFiveBar>();
  copy->Assign(*this);
  return copy;
}

void TFiveBar::DrawRotations() {
  TFourbar::DrawRotations();
  if (!PrecisionPoints.Closed) return;
  const double whole = std::round(Links.Ratio);
  Links.Ratio = whole != 0 ? whole : std::copysign(1.0, Links.Ratio);
}

bool TFiveBar::WheelGeometry(double ratio, double distance, double& r1, double& r2, double& f) {
  // A zero or undefined ratio divides by zero below, coincident pivots give no direction.
  if (!std::isfinite(ratio) || ratio == 0 || !std::isfinite(distance) || !(distance > 0)) return false;
  r2 = kWheelShare * distance / (std::fabs(ratio) + 1);
  r1 = std::fabs(ratio) * r2;
  f = std::numbers::pi / 2 - std::asin((1 - 1 / ratio) * r1 / distance);
  return true;
}

bool TFiveBar::Synthesize() {
  if (!BeginSynthesis(8, 6)) return false;
  TLink& input = LinkAt(2);
  TLink& wheel2 = LinkAt(4);
  TLink& arm = LinkAt(5);
  TLink& body = LinkAt(6);
  const double r = Links.Ratio;
  wheel2.Rot[5] = r * input.Rot[5];
  wheel2.Rot[9] = r * input.Rot[9];
  Links.Offset = TComplex(0, kOffsetY);

  // Dyad 2 finds how the output body turns, which dyad 1's points follow: it closes first.
  Dyad2.Aim(wheel2, true, body, true, PrecisionPoints);
  const bool second = Dyad2.CloseCarrying(Links.Offset);
  bool first = false;
  if (second) {
    Dyad1.Aim(input, true, arm, true, PrecisionPoints);
    Dyad1.ShiftPoints(Links.Offset, body);
    first = Dyad1.Close();
  }
  Error.Dyad = Dyad1.Error * Dyad2.Error;
  if (!(first && second)) return false;

  JointAt(8).Assign(*PrecisionPoints.GetPoint(1));
  JointAt(7).Add(JointAt(8), Links.Offset);
  JointAt(3).Sub(JointAt(7), Dyad1.Z);
  JointAt(1).Sub(JointAt(3), Dyad1.W);
  JointAt(6).Sub(JointAt(7), Dyad2.Z);
  JointAt(4).Sub(JointAt(6), Dyad2.W);

  TComplex u;
  u.Sub(JointAt(4), JointAt(1));
  const double d = u.Abs();
  double r1 = 0, r2 = 0, f = 0;
  if (!WheelGeometry(r, d, r1, r2, f)) return false;
  u.X /= d;
  u.Y /= d;
  TComplex along(u);
  along.MulBy(TComplex(std::cos(f), std::sin(f)));
  JointAt(2).X = JointAt(1).X + r1 * along.X;
  JointAt(2).Y = JointAt(1).Y + r1 * along.Y;
  // A crossed belt leaves wheel 2 on the opposite side.
  const double side = r < 0 ? -r2 : r2;
  JointAt(5).X = JointAt(4).X + side * along.X;
  JointAt(5).Y = JointAt(4).Y + side * along.Y;
  Modified = true;
  return CheckPrecisionPositions();
}

bool TFiveBar::StepInput(double angle) {
  const double turn2 = Links.Ratio * angle;
  // A ratio read from a file may be no number: nothing moves rather than everything turning NaN.
  if (Joints.Count() != 8 || !std::isfinite(turn2)) return false;
  TComplex& crank1 = Vectors[0];
  TComplex& crank2 = Vectors[1];
  TComplex& arm = Vectors[2];
  TComplex& body = Vectors[3];
  TComplex& point = Vectors[4];
  crank1.Sub(JointAt(3), JointAt(1));
  crank2.Sub(JointAt(6), JointAt(4));
  arm.Sub(JointAt(7), JointAt(3));
  body.Sub(JointAt(6), JointAt(7));
  point.Sub(JointAt(8), JointAt(7));
  crank1.MulBy(TComplex(std::cos(angle), std::sin(angle)));
  crank2.MulBy(TComplex(std::cos(turn2), std::sin(turn2)));
  VectorLoop.A0.CopyFrom(arm);
  VectorLoop.B0.CopyFrom(body);
  VectorLoop.C.Sub(JointAt(4), JointAt(1));
  VectorLoop.C.Add(VectorLoop.C, crank2);
  VectorLoop.C.Sub(VectorLoop.C, crank1);
  if (!VectorLoop.Solve()) return false;
  point.MulBy(VectorLoop.RotB1);
  JointAt(3).Add(JointAt(1), crank1);
  JointAt(6).Add(JointAt(4), crank2);
  JointAt(7).Add(JointAt(3), VectorLoop.A1);
  JointAt(8).Add(JointAt(7), point);
  return true;
}

double TFiveBar::TransmissionAngle() const {
  if (Joints.Count() != 8) return 0;
  TComplex u, v;
  u.Sub(JointAt(3), JointAt(7));
  v.Sub(JointAt(6), JointAt(7));
  u.DivBy(v);
  const double t = std::fabs(u.Arg());
  return t <= std::numbers::pi / 2 ? t : std::numbers::pi - t;
}

void TFiveBar::DrawLinks(shared::TCanvas2D& canvas) {
  for (int32_t i = Links.Count(); i >= 1; --i)
    if (i != 2 && i != 4) LinkAt(i).Draw(canvas);
  // Wheel 1 last: the red pen of its marker stays set.
  for (int32_t i : {4, 2}) {
    if (i > Links.Count()) continue;
    const TLink& wheel = LinkAt(i);
    const TJoint* centre = wheel.Joint(1);
    const TJoint* pin = wheel.Joint(2);
    const TJoint* tangent = wheel.Joint(3);
    if (!centre || !pin || !tangent) continue;
    TComplex c(centre->X, centre->Y), p(pin->X, pin->Y), t(tangent->X, tangent->Y), toPin, toTangent;
    toTangent.Sub(t, c);
    const double radius = toTangent.Abs();
    canvas.CircleWorld(c, radius);
    canvas.MoveTo(c);
    canvas.LineTo(p);
    toPin.Sub(p, c);
    const double pinDistance = toPin.Abs();
    if (pinDistance > 0) {
      canvas.MoveTo(c);
      canvas.LineTo(c.X - toPin.X * radius / pinDistance, c.Y - toPin.Y * radius / pinDistance);
    }
    if (i == 2) {
      canvas.SetPen(kRed, 1, shared::TPenStyle::Solid);
      canvas.Marker(c, 6, 10);
    }
  }
}

}  // namespace vesk
