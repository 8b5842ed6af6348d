// Four-bar synthesis from two standard-form dyads and the generation of one candidate.
#include "synthesis/engine/Fourbar.h"

#include <algorithm>
#include <cmath>

#include "synthesis/engine/Area.h"
#include "synthesis/engine/Drawing.h"
#include "synthesis/engine/Spline.h"
#include "synthesis/engine/SynthOptions.h"

namespace vesk {

using shared::TComplex;

TFourbar::TFourbar() {
  MechanismType = kFourbarType;
  Name = "Fourbar";
}

std::unique_ptr<TMechanism> TFourbar::Clone() const {
  auto copy = std::make_unique<TFourbar>();
  copy->Assign(*this);
  return copy;
}

bool TFourbar::CheckPrecisionPositions() {
  StoreJoints();
  Error.PP = 1.0;
  const TLink* input = Links.InputLink ? Links.InputLink : Links.GetLink(2);
  bool ok = input != nullptr;
  for (int32_t a = 2; a <= PrecisionPoints.Count(); ++a) {
    if (ok) ok = StepInput(input->RelativeRotation(a, a - 1));
    const TJoint* point = Joints.Origin();
    TComplex d;
    if (point) d.Sub(*PrecisionPoints.GetPoint(a), *point);
    Error.PP *= 1.0 + d.Abs();
  }
  RestoreJoints();
  return ok;
}

bool TFourbar::BeginSynthesis(int32_t joints, int32_t links, TDyad* third) {
  ++SynthesisCount;
  Dyad1.Error = 1.0;
  Dyad2.Error = 1.0;
  if (third) third->Error = 1.0;
  if (Joints.Count() != joints || Links.Count() != links || PrecisionPoints.Count() < TDyad::kPositions) {
    Error.Dyad = 1.0;
    return false;
  }
  InputFunction.SetXmax(InputRange());
  return true;
}

bool TFourbar::Synthesize() {
  ++SynthesisCount;
  TLink* input = Links.GetLink(2);
  TLink* body = Links.GetLink(3);
  TLink* rocker = Links.GetLink(4);
  Dyad1.Error = 1.0;
  Dyad2.Error = 1.0;
  if (!input || !body || !rocker || Joints.Count() < 5 || PrecisionPoints.Count() < TDyad::kPositions) {
    Error.Dyad = 1.0;
    return false;
  }
  InputFunction.SetXmax(InputRange());

  Dyad1.Aim(*input, true, *body, true, PrecisionPoints);
  const bool first = Dyad1.Close();

  bool second = false;
  if (first) {
    Dyad2.Aim(*rocker, true, *body, false, PrecisionPoints);
    // Aimed at joint 2, which the output body carries with it.
    TComplex back(Dyad1.Z);
    back.Negate();
    Dyad2.ShiftPoints(back, *body);
    second = Dyad2.Close();
  }
  Error.Dyad = Dyad1.Error * Dyad2.Error;
  if (!(first && second)) return false;

  TComplexPoint& j5 = JointAt(5);
  j5.Assign(*PrecisionPoints.GetPoint(1));
  JointAt(2).Sub(j5, Dyad1.Z);
  JointAt(1).Sub(JointAt(2), Dyad1.W);
  JointAt(4).Sub(JointAt(2), Dyad2.Z);
  JointAt(3).Sub(JointAt(4), Dyad2.W);
  Modified = true;
  return CheckPrecisionPositions();
}

void TFourbar::SimulatePath(const TSpline* curve) { RatePath(curve, true); }

void TFourbar::DrawRotations() { Links.Randomize(PrecisionPoints); }

bool TFourbar::RunInput(bool endOnLast) {
  const TLink* input = Links.GetLink(2);
  const TPrePoint* first = PrecisionPoints.GetPoint(1);
  const TPrePoint* last = PrecisionPoints.GetPoint(9);
  if (!input || !first || !last) return false;
  auto endsOn = [this](const TComplex& point) {
    TComplex d;
    d.Sub(*PathPoints.GetPathPoint(PathPoints.Count()), point);
    return d.Abs() < kEndTolerance;
  };
  const int32_t steps = InputFunction.Steps();
  const double range = InputRange();
  StoreJoints();
  AddPathPoint();
  bool ok = false;
  if (!PrecisionPoints.Closed) {
    Move(steps, range);
    ok = !endOnLast || endsOn(*last);
  } else {
    // Round the loop: through position 9 on the way, then on to where the path began.
    const double share = input->Rot[9] / range;
    if (share > 0 && share < 1) {
      const int32_t m = std::clamp(int32_t(std::lround(share * steps)), 1, steps - 1);
      ok = Move(m, input->Rot[9]) && (!endOnLast || endsOn(*last)) &&
           Move(steps - m, range - input->Rot[9]) && endsOn(*first);
    }
  }
  RestoreJoints();
  // Every increment must have been taken: a path that broke off may still end near point 9.
  return ok && steps < PathPoints.Count();
}

void TFourbar::RatePath(const TSpline* curve, bool endOnLast) {
  PathPoints.Clear();
  if (!Error.Valid) return;
  Error.Valid = RunInput(endOnLast);
  if (Error.Valid) Error.Valid = PassesPrecisionPoints();
  if (Error.Valid && curve) Error.Valid = FollowsCurve(*curve);
  if (Error.Valid && curve) PathPoints.MakeSummary(*curve, Error);
  if (Error.Valid) Error.Valid = PathPoints.MinTransmissionAngle() > SynthOptions.MinTransAngle;
}

void TFourbar::Generate(const TSpline& curve, TAreaList* groundAreas, TAreaList* couplerAreas) {
  if (!TakeCurve(curve)) return;
  DrawRotations();
  if (couplerAreas) {
    couplerAreas->Origin.CopyFrom(Drawing().Origin);
    if (!couplerAreas->IsEmpty()) couplerAreas->RandomPoint(Links.Offset);
  }
  Error.Valid = Synthesize();
  if (Error.Valid) {
    DyadOptimize.Mechanism = this;
    DyadOptimize.Curve = nullptr;
    DyadOptimize.GroundAreas = nullptr;
    DyadOptimize.CouplerAreas = nullptr;
    DyadOptimize.MaxIter = 1000;
    DyadOptimize.Start();
    while (!DyadOptimize.Iterate()) {
    }
    DyadOptimize.Finish();
  }
  if (Error.Valid) EvaluateConstraints(groundAreas, couplerAreas);
  if (Error.Valid) SimulatePath(&curve);
  // The solution list ranks by the total: a valid candidate needs it.
  if (Error.Valid) Error.CalcTotal();
}

}  // namespace vesk
