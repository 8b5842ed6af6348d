// The six-bar chain types: default layouts, synthesis from dyads and function generation,
// position analysis by two vector loops, transmission angles and joint dragging.
#include "synthesis/engine/SixBar.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "synthesis/engine/FunctionGenerator.h"
#include "synthesis/engine/Random.h"
#include "synthesis/engine/Spline.h"

namespace vesk {

using shared::TComplex;

namespace {

// Joints 1..8 of a six-bar (index 0 unused).
using TPlace = std::array<TComplex, 9>;

TComplex operator+(const TComplex& a, const TComplex& b) {
  TComplex r;
  r.Add(a, b);
  return r;
}

TComplex operator-(const TComplex& a, const TComplex& b) {
  TComplex r;
  r.Sub(a, b);
  return r;
}

TComplex operator-(const TComplex& a) {
  TComplex r(a.X, a.Y);
  r.Negate();
  return r;
}

TComplex operator*(const TComplex& a, const TComplex& b) {
  TComplex r;
  r.Mul(a, b);
  return r;
}

TComplex operator/(const TComplex& a, const TComplex& b) {
  TComplex r;
  r.Divide(a, b);
  return r;
}

// The least rate at which a dragged Watt 1 joint follows the offset.
constexpr double kMinDragRate = 1e-6;
// The trial step of the offset, in curve lengths: the joints are affine in it, so any small step
// gives their rate.
constexpr double kDragProbe = 1e-3;

TComplex Unit(double angle) {
  TComplex u;
  u.SetPolar(1.0, angle);
  return u;
}

// The angle at c between the sides to a and b, folded into [0, pi/2].
double Fold(const TComplex& a, const TComplex& b, const TComplex& c) {
  const double t = std::fabs(((a - c) / (b - c)).Arg());
  return t > std::numbers::pi / 2 ? std::numbers::pi - t : t;
}

void Load(const TMechanism& m, TPlace& j) {
  for (int32_t i = 1; i <= 8; ++i) j[size_t(i)].CopyFrom(*m.Joints.GetJoint(i));
}

// Only the listed joints: the others keep what they hold.
void Place(TMechanism& m, const TPlace& j, std::initializer_list<int32_t> joints) {
  for (const int32_t i : joints) m.Joints.GetJoint(i)->SetXY(j[size_t(i)].X, j[size_t(i)].Y);
}

bool Close(TVectorLoop& loop, const TComplex& a, const TComplex& b, const TComplex& c) {
  loop.A0.CopyFrom(a);
  loop.B0.CopyFrom(b);
  loop.C.CopyFrom(c);
  return loop.Solve();
}

void BeginLayout(TMechanism& m, const double (&xy)[8][2]) {
  m.Clear();
  const bool selectOnAdd = m.Joints.SelectOnAdd;
  m.Joints.SelectOnAdd = false;
  for (const auto& p : xy) m.Joints.Add(std::make_unique<TJoint>(p[0], p[1]));
  m.Joints.SelectOnAdd = selectOnAdd;
  m.Joints.SetOrigin(8);
  m.Joints.Deselect();
}

void EndLayout(TMechanism& m) {
  m.Links.Deselect();
  m.Joints.SetModified(false);
  m.Links.SetModified(false);
  m.Links.AssignRoles();
  m.Modified = false;
}

constexpr double kTurn19 = 5.969026041820607;  // 1.9 pi
constexpr double kQuarterPi = 0.7853981633974483;

}  // namespace

// ---------------------------------------------------------------------------------------------
// Watt 1

TSixBarW1::TSixBarW1() {
  MechanismType = kWatt1Type;
  Name = "Watt 1";
  MakeDefault();
}

void TSixBarW1::MakeDefault() {
  static const double xy[8][2] = {{-0.1, -0.3}, {-0.2, -0.2}, {0.2, -0.2}, {0.5, -0.5},
                                  {-0.1, 0},     {0.5, -0.1},  {0.4, 0},    {0.2, 0.2}};
  BeginLayout(*this, xy);
  AddLink(kGroundLink, 0, {1, 4});
  AddLink(kInputLink, 1, {1, 2})->MaxAngle = 6.0;
  AddLink(kOtherLink, 2, {2, 3, 5})->MaxAngle = 3.0;
  AddLink(kOtherLink, 2, {3, 4, 6})->MaxAngle = 1.0;
  AddLink(kOtherLink, 2, {6, 7});
  AddLink(kOutputLink, 1, {5, 7, 8});
  EndLayout(*this);
}

std::unique_ptr<TMechanism> TSixBarW1::Clone() const {
  auto copy = std::make_unique<TSixBarW1>();
  copy->Assign(*this);
  return copy;
}

bool TSixBarW1::Synthesize() {
  if (!BeginSynthesis(8, 6)) return false;
  TLink& input = LinkAt(2);
  TLink& l3 = LinkAt(3);
  TLink& l4 = LinkAt(4);
  TLink& l5 = LinkAt(5);
  TLink& body = LinkAt(6);
  const bool out = PrecisionPoints.Out;
  if (!out) {
    // Nothing prescribes the output body's turning: it translates.
    for (size_t i = 2; i <= 9; ++i) body.Rot[i] = 0.0;
    body.SetFree(false);
    l5.SetFree(false);
  }
  const TComplex& offset = Links.Offset;
  Dyad1.Aim(input, true, l3, true, PrecisionPoints);
  Dyad1.ShiftPoints(offset, body);
  bool ok = Dyad1.Close();
  if (ok) {
    Dyad2.Aim(l4, true, l3, false, PrecisionPoints);
    Dyad2.ShiftPoints(offset, body);
    Dyad2.ShiftPoints(-Dyad1.Z, l3);
    ok = Dyad2.Close();
  }
  Error.Dyad = Dyad1.Error * Dyad2.Error;
  if (!ok) return false;

  TPlace j;
  j[8].CopyFrom(*PrecisionPoints.GetPoint(1));
  j[5] = j[8] + offset;
  j[2] = j[5] - Dyad1.Z;
  j[1] = j[2] - Dyad1.W;
  j[3] = j[2] - Dyad2.Z;
  j[4] = j[3] - Dyad2.W;
  if (!out || PrecisionPoints.ZeroOutRotations) {
    // Link 5 parallel to the crank and link 4's arm a scaled copy of link 3's triangle: the
    // output body keeps its orientation.
    const TComplex c = j[3] - j[2];
    if (c.Abs() == 0) return false;
    const TComplex r = (j[4] - j[3]) / c;
    const TComplex g = (j[2] - j[1]) / c;
    const TComplex a = (j[3] - j[5]) * g;
    const TComplex b = (j[2] - j[5]) * r;
    j[6] = j[4] + b;
    j[7] = j[6] + a;
  } else {
    TFunctionGenerator fg;
    fg.L1 = &l3;
    fg.L2 = &body;
    fg.L3 = &l5;
    fg.L4 = &l4;
    fg.F3 = true;
    if (!fg.SolveMatrix()) return false;
    fg.Scale(j[3] - j[5]);
    j[7] = j[5] + fg.V2;
    j[6] = j[3] - fg.V4;
  }
  Place(*this, j, {1, 2, 3, 4, 5, 6, 7, 8});
  Modified = true;
  return CheckPrecisionPositions();
}

std::string TSixBarW1::CurveRefusal(const TSpline& curve) const {
  std::string reason = TFourbar::CurveRefusal(curve);
  if (reason.empty() && curve.IsClosed() && (!curve.Out || curve.HasZeroOutRotations()))
    reason = kClosedCurveRefusal;
  return reason;
}

bool TSixBarW1::StepInput(double angle) {
  if (Joints.Count() != 8) return false;
  TPlace j;
  Load(*this, j);
  const TComplex in = (j[2] - j[1]) * Unit(angle);
  if (!Close(VectorLoop, j[3] - j[2], j[4] - j[3], (j[4] - j[1]) - in)) return false;
  TPlace n;
  n[2] = j[1] + in;
  n[3] = n[2] + VectorLoop.A1;
  n[5] = n[2] + (j[5] - j[2]) * VectorLoop.RotA1;
  n[6] = j[4] + (j[6] - j[4]) * VectorLoop.RotB1;
  if (!Close(VectorLoop, j[7] - j[5], j[6] - j[7], n[6] - n[5])) return false;
  n[7] = n[5] + VectorLoop.A1;
  n[8] = n[5] + (j[8] - j[5]) * VectorLoop.RotA1;
  Place(*this, n, {2, 3, 5, 6, 7, 8});
  return true;
}

bool TSixBarW1::BodyTurns() const {
  const TLink* body = Links.GetLink(6);
  if (!body || !PrecisionPoints.Out) return false;
  for (size_t i = 2; i <= 9; ++i)
    if (body->Rot[i] != 0.0) return true;
  return false;
}

void TSixBarW1::DragJoint(const TComplex& point) {
  const TJoint* joint = Joints.GetSelectedJoint();
  if (!joint || joint->Index() == 8) return;
  const int32_t k = joint->Index();
  const TComplex d = point - *joint;
  auto translate = [&] {
    Joints.TranslateAll(d, 8);
    Links.Offset.AddTo(d);
  };
  if (!BodyTurns()) {
    translate();
    return;
  }
  // What follows builds the design; a pose the animation stands at is not one.
  if (InputFunction.CurrentStep != 0) return;
  // A turning body carries the offset round with it: moving the linkage against the coupler
  // point alone would leave J8 off the curve, and the next synthesis would build another linkage.
  // Every joint is complex-affine in the offset, so two trial syntheses give the offset that puts
  // the dragged joint where it was dropped.
  const std::unique_ptr<TMechanism> trial = Clone();
  auto placeAt = [&](const TComplex& offset, TComplex& place) {
    trial->Links.Offset = offset;
    if (!trial->Synthesize()) return false;
    place = *trial->Joints.GetJoint(k);
    return true;
  };
  TComplex now, probe;
  if (!placeAt(Links.Offset, now)) {
    // A linkage its synthesis does not give back moves as it stands.
    translate();
    return;
  }
  const TComplex step(kDragProbe * (Links.RefLength > 0 ? Links.RefLength : 1.0), 0.0);
  if (!placeAt(Links.Offset + step, probe)) return;
  const TComplex rate = (probe - now) / step;
  // A joint the offset hardly moves would need an offset far outside the linkage.
  if (rate.Abs() < kMinDragRate) return;
  const TComplex offset = Links.Offset + (point - now) / rate;
  if (!placeAt(offset, probe)) return;
  for (int32_t i = 1; i <= Joints.Count(); ++i) {
    const TComplex& placed = *trial->Joints.GetJoint(i);
    JointAt(i).SetXY(placed.X, placed.Y);
  }
  // The dyads' checks set the rotations between the precision positions anew.
  for (int32_t i = 1; i <= Links.Count(); ++i) Links.GetLink(i)->Rot = trial->Links.GetLink(i)->Rot;
  Links.Offset = offset;
}

double TSixBarW1::TransmissionAngle() const {
  if (Joints.Count() != 8) return 0;
  return std::min(Fold(JointAt(2), JointAt(4), JointAt(3)), Fold(JointAt(5), JointAt(6), JointAt(7)));
}

// ---------------------------------------------------------------------------------------------
// Watt 2

TSixBarW2::TSixBarW2() {
  MechanismType = kWatt2Type;
  Name = "Watt 2";
  MakeDefault();
}

void TSixBarW2::MakeDefault() {
  static const double xy[8][2] = {{-0.1, -0.3}, {-0.2, -0.2}, {0, -0.1},     {0.2, -0.3},
                                  {0.1, -0.04}, {0.5, 0},     {0.45, -0.45}, {0.2, 0.2}};
  BeginLayout(*this, xy);
  AddLink(kGroundLink, 0, {1, 4, 7});
  AddLink(kInputLink, 5, {1, 2})->MaxAngle = 3.0;
  AddLink(kOtherLink, 2, {2, 3});
  AddLink(kOtherLink, 1, {3, 4, 5});
  AddLink(kOutputLink, 2, {5, 6, 8});
  AddLink(kOtherLink, 2, {6, 7});
  EndLayout(*this);
}

std::unique_ptr<TMechanism> TSixBarW2::Clone() const {
  auto copy = std::make_unique<TSixBarW2>();
  copy->Assign(*this);
  return copy;
}

bool TSixBarW2::Synthesize() {
  if (!BeginSynthesis(8, 6)) return false;
  TLink& l4 = LinkAt(4);
  TLink& body = LinkAt(5);
  TLink& l6 = LinkAt(6);
  Dyad1.Aim(l4, true, body, true, PrecisionPoints);
  bool ok = Dyad1.Close();
  if (ok) {
    Dyad2.Aim(l6, true, body, true, PrecisionPoints);
    Dyad2.ShiftPoints(-Dyad1.Z, body);
    ok = Dyad2.Close();
  }
  Error.Dyad = Dyad1.Error * Dyad2.Error;
  if (!ok) return false;

  TPlace j;
  j[8].CopyFrom(*PrecisionPoints.GetPoint(1));
  j[5] = j[8] - Dyad1.Z;
  j[4] = j[5] - Dyad1.W;
  j[6] = j[5] - Dyad2.Z;
  j[7] = j[6] - Dyad2.W;
  TFunctionGenerator fg;
  fg.L1 = &LinkAt(1);
  fg.L2 = &LinkAt(2);
  fg.L3 = &LinkAt(3);
  fg.L4 = &l4;
  fg.F1 = fg.F2 = fg.F3 = true;
  // A half turn out and back would run a closed curve's loop there and back again.
  const bool drawn = PrecisionPoints.In || PrecisionPoints.Closed;
  if (!(drawn ? fg.SolveMatrix() : fg.SolveLoop())) return false;
  // The loop's ground side J4 - J1 mirrors J7 - J4 unless a drag of joint 1 turned and scaled it.
  const TComplex g = (j[7] - j[4]) * Links.LoopScale;
  fg.Scale(g);
  j[1] = j[4] - g;
  j[2] = j[1] + fg.V2;
  j[3] = j[2] + fg.V3;
  Place(*this, j, {1, 2, 3, 4, 5, 6, 7, 8});
  Modified = true;
  return CheckPrecisionPositions();
}

bool TSixBarW2::StepInput(double angle) {
  if (Joints.Count() != 8) return false;
  TPlace j;
  Load(*this, j);
  const TComplex in = (j[2] - j[1]) * Unit(angle);
  if (!Close(VectorLoop, j[3] - j[2], j[4] - j[3], (j[4] - j[1]) - in)) return false;
  TPlace n;
  n[2] = j[1] + in;
  n[3] = j[4] - VectorLoop.B1;
  const TComplex arm = (j[5] - j[4]) * VectorLoop.RotB1;
  n[5] = j[4] + arm;
  if (!Close(VectorLoop, j[6] - j[5], j[7] - j[6], (j[7] - j[4]) - arm)) return false;
  n[6] = j[7] - VectorLoop.B1;
  n[8] = n[5] + (j[8] - j[5]) * VectorLoop.RotA1;
  Place(*this, n, {2, 3, 5, 6, 8});
  return true;
}

void TSixBarW2::DrawRotations() {
  TFourbar::DrawRotations();
  if (!PrecisionPoints.Closed || PrecisionPoints.In) return;
  TLink& input = LinkAt(2);
  TLink& crank = LinkAt(4);
  // A prescribed total sets the way the input turns; the crank turns with it.
  const double sign =
      PrecisionPoints.InTotal ? std::copysign(1.0, input.Rot[9]) : (Random().Uniform() >= 0.5 ? -1.0 : 1.0);
  crank.Rot[9] = sign * kTurn19 * (0.05 + 0.95 * Random().Uniform());
  crank.Rot[5] = crank.Rot[9] * (0.05 + 0.9 * Random().Uniform());
  if (!PrecisionPoints.InTotal) {
    // Equal rotations would make the loop a parallelogram, which the function generation
    // cannot solve.
    for (const size_t k : {5, 9}) input.Rot[k] = crank.Rot[k] * (0.75 + 0.5 * Random().Uniform());
  }
}

void TSixBarW2::DragJoint(const TComplex& point) {
  const TJoint* joint = Joints.GetSelectedJoint();
  if (!joint || joint->Index() != 1 || Joints.Count() < 4) return;
  const TComplex j4(JointAt(4).X, JointAt(4).Y);
  const TComplex arm = JointAt(1) - j4;
  // A loop folded onto its pivot has no scale to take: the division would throw the joints out
  // to 1e10.
  if (arm.Abs() == 0) return;
  const TComplex s = (point - j4) / arm;
  const TComplex j3 = j4 + (JointAt(3) - j4) * s;
  const TComplex j2 = j4 + (JointAt(2) - j4) * s;
  JointAt(3).SetXY(j3.X, j3.Y);
  JointAt(2).SetXY(j2.X, j2.Y);
  JointAt(1).SetXY(point.X, point.Y);
  // The next synthesis builds the loop at the scale the drag gave it.
  Links.LoopScale = Links.LoopScale * s;
}

double TSixBarW2::TransmissionAngle() const {
  if (Joints.Count() != 8) return 0;
  return std::min(Fold(JointAt(2), JointAt(4), JointAt(3)), Fold(JointAt(5), JointAt(7), JointAt(6)));
}

// ---------------------------------------------------------------------------------------------
// Stephenson 1

TSixBarS1::TSixBarS1() {
  MechanismType = kStephenson1Type;
  Name = "Stephenson 1";
  MakeDefault();
}

void TSixBarS1::MakeDefault() {
  static const double xy[8][2] = {{-0.1, -0.3}, {-0.2, -0.2}, {0, -0.2}, {0.5, -0.5},
                                  {0.1, -0.04}, {0.5, 0},     {0, 0.1},  {0, 0.2}};
  BeginLayout(*this, xy);
  AddLink(kGroundLink, 0, {1, 4});
  AddLink(kInputLink, 1, {1, 2, 3})->MaxAngle = kTurn19;
  AddLink(kOtherLink, 2, {2, 5})->MaxAngle = kQuarterPi;
  AddLink(kOtherLink, 2, {4, 5, 6});
  AddLink(kOtherLink, 2, {3, 7});
  AddLink(kOutputLink, 2, {6, 7, 8});
  EndLayout(*this);
}

std::unique_ptr<TMechanism> TSixBarS1::Clone() const {
  auto copy = std::make_unique<TSixBarS1>();
  copy->Assign(*this);
  return copy;
}

bool TSixBarS1::Synthesize() {
  if (!BeginSynthesis(8, 6)) return false;
  TLink& input = LinkAt(2);
  TLink& l4 = LinkAt(4);
  TLink& l5 = LinkAt(5);
  TLink& body = LinkAt(6);
  const TComplex& offset = Links.Offset;
  // Dyad 2 finds how the output body turns, which dyad 1's points follow: it closes first.
  Dyad2.Aim(l4, true, body, true, PrecisionPoints);
  bool ok = Dyad2.CloseCarrying(offset);
  if (ok) {
    Dyad1.Aim(input, true, l5, true, PrecisionPoints);
    Dyad1.ShiftPoints(offset, body);
    ok = Dyad1.Close();
  }
  Error.Dyad = Dyad1.Error * Dyad2.Error;
  if (!ok) return false;

  TPlace j;
  j[8].CopyFrom(*PrecisionPoints.GetPoint(1));
  j[7] = j[8] + offset;
  j[3] = j[7] - Dyad1.Z;
  j[1] = j[3] - Dyad1.W;
  j[6] = j[7] - Dyad2.Z;
  j[4] = j[6] - Dyad2.W;
  TFunctionGenerator fg;
  fg.L1 = &LinkAt(1);
  fg.L2 = &input;
  fg.L3 = &LinkAt(3);
  fg.L4 = &l4;
  fg.F3 = true;
  if (!fg.SolveMatrix()) return false;
  fg.Scale(j[4] - j[1]);
  j[2] = j[1] + fg.V2;
  j[5] = j[4] - fg.V4;
  Place(*this, j, {1, 2, 3, 4, 5, 6, 7, 8});
  Modified = true;
  return CheckPrecisionPositions();
}

bool TSixBarS1::StepInput(double angle) {
  if (Joints.Count() != 8) return false;
  TPlace j;
  Load(*this, j);
  const TComplex turn = Unit(angle);
  const TComplex in = (j[2] - j[1]) * turn;
  const TComplex crank = (j[3] - j[1]) * turn;
  if (!Close(VectorLoop, j[5] - j[2], j[4] - j[5], (j[4] - j[1]) - in)) return false;
  TPlace n;
  n[2] = j[1] + in;
  n[3] = j[1] + crank;
  n[5] = n[2] + VectorLoop.A1;
  const TComplex arm = (j[6] - j[4]) * VectorLoop.RotB1;
  n[6] = j[4] + arm;
  if (!Close(VectorLoop, j[7] - j[3], j[6] - j[7], (j[4] - j[1]) + arm - crank)) return false;
  n[7] = n[3] + VectorLoop.A1;
  n[8] = n[7] + (j[8] - j[7]) * VectorLoop.RotB1;
  Place(*this, n, {2, 3, 5, 6, 7, 8});
  return true;
}

double TSixBarS1::TransmissionAngle() const {
  if (Joints.Count() != 8) return 0;
  return std::min(Fold(JointAt(2), JointAt(4), JointAt(5)), Fold(JointAt(3), JointAt(6), JointAt(7)));
}

// ---------------------------------------------------------------------------------------------
// Stephenson 3

TSixBarS3::TSixBarS3() {
  MechanismType = kStephenson3Type;
  Name = "Stephenson 3";
  MakeDefault();
}

void TSixBarS3::MakeDefault() {
  static const double xy[8][2] = {{-0.1, -0.2}, {-0.1, -0.1}, {0.2, -0.4}, {0.2, -0.1},
                                  {0, 0},       {0.5, -0.2},  {0.5, 0.2},  {0.2, 0.2}};
  BeginLayout(*this, xy);
  AddLink(kGroundLink, 0, {1, 3, 6});
  AddLink(kInputLink, 1, {1, 2})->MaxAngle = kTurn19;
  AddLink(kOtherLink, 2, {2, 4, 5});
  AddLink(kOtherLink, 1, {3, 4});
  AddLink(kOtherLink, 2, {6, 7});
  AddLink(kOutputLink, 2, {5, 7, 8});
  EndLayout(*this);
}

std::unique_ptr<TMechanism> TSixBarS3::Clone() const {
  auto copy = std::make_unique<TSixBarS3>();
  copy->Assign(*this);
  return copy;
}

bool TSixBarS3::Synthesize() {
  if (!BeginSynthesis(8, 6, &Dyad3)) return false;
  TLink& input = LinkAt(2);
  TLink& l3 = LinkAt(3);
  TLink& l4 = LinkAt(4);
  TLink& l5 = LinkAt(5);
  TLink& body = LinkAt(6);
  const TComplex& offset = Links.Offset;
  // Dyad 3 finds how the output body turns, which the other dyads' points follow.
  Dyad3.Aim(l5, true, body, true, PrecisionPoints);
  bool ok = Dyad3.CloseCarrying(offset);
  if (ok) {
    Dyad1.Aim(input, true, l3, true, PrecisionPoints);
    Dyad1.ShiftPoints(offset, body);
    ok = Dyad1.Close();
  }
  if (ok) {
    Dyad2.Aim(l4, true, l3, false, PrecisionPoints);
    Dyad2.ShiftPoints(offset, body);
    Dyad2.ShiftPoints(-Dyad1.Z, l3);
    ok = Dyad2.Close();
  }
  Error.Dyad = Dyad1.Error * Dyad2.Error * Dyad3.Error;
  if (!ok) return false;

  TPlace j;
  j[8].CopyFrom(*PrecisionPoints.GetPoint(1));
  j[5] = j[8] + offset;
  j[7] = j[5] - Dyad3.Z;
  j[6] = j[7] - Dyad3.W;
  j[2] = j[5] - Dyad1.Z;
  j[1] = j[2] - Dyad1.W;
  j[4] = j[2] - Dyad2.Z;
  j[3] = j[4] - Dyad2.W;
  Place(*this, j, {1, 2, 3, 4, 5, 6, 7, 8});
  Modified = true;
  return CheckPrecisionPositions();
}

bool TSixBarS3::StepInput(double angle) {
  if (Joints.Count() != 8) return false;
  TPlace j;
  Load(*this, j);
  const TComplex in = (j[2] - j[1]) * Unit(angle);
  if (!Close(VectorLoop, j[4] - j[2], j[3] - j[4], (j[3] - j[1]) - in)) return false;
  TPlace n;
  n[2] = j[1] + in;
  n[4] = n[2] + VectorLoop.A1;
  const TComplex arm = (j[5] - j[2]) * VectorLoop.RotA1;
  n[5] = n[2] + arm;
  if (!Close(VectorLoop, j[7] - j[5], j[6] - j[7], (j[6] - j[1]) - in - arm)) return false;
  n[7] = n[5] + VectorLoop.A1;
  n[8] = n[5] + (j[8] - j[5]) * VectorLoop.RotA1;
  Place(*this, n, {2, 4, 5, 7, 8});
  return true;
}

double TSixBarS3::TransmissionAngle() const {
  if (Joints.Count() != 8) return 0;
  return std::min(Fold(JointAt(2), JointAt(3), JointAt(4)), Fold(JointAt(5), JointAt(6), JointAt(7)));
}

}  // namespace vesk
