// The curve-fitting optimiser: variables, objective and the pattern-search pass.
#include "animator/engine/MechOptimize.h"

#include <cmath>
#include <string>

#include "animator/engine/AniMechanism.h"
#include "animator/engine/CurveDeviation.h"
#include "animator/engine/JointSteps.h"
#include "animator/engine/StdOut.h"

namespace quillon {

int32_t FittingMode = kFitIntegral;

namespace {

// Why the solved design is not feasible.
std::string InfeasibleReason(TAniMechanism& m) {
  for (const auto& joint : m.Joints) {
    if (m.Areas.Count() > 0 && m.Areas.IndexHolding(DesignOf(*joint), static_cast<char>(joint->Letter)) < 0)
      return std::string("joint ") + char(joint->Letter) + " lies outside every area that applies to it";
  }
  return "the curve or the path of the traced joint has no length";
}

// a before b: a feasible design before an infeasible one, then the lower objective; two
// infeasible designs are alike.
bool Before(double a, bool aFeasible, double b, bool bFeasible) {
  if (aFeasible != bFeasible) return aFeasible;
  return aFeasible && a < b;
}

}  // namespace

void TMechOptimize::Start(TAniMechanism& mechanism) {
  Mechanism = &mechanism;
  Capacity = 2 * mechanism.JointCount();
  Variables.clear();
  Variables.reserve(static_cast<size_t>(Capacity));
  StepSize = mechanism.Curve.Length / 5;
  MinStep = StepSize / 100;
  Done = 0;
  Iterations = 0;
  BestVariable = -1;
  Solves = 0;
  for (int32_t j = 0; j < mechanism.JointCount(); ++j) {
    if (mechanism.Joint(j).Locked) continue;
    Variables.push_back({j, 0, StepSize});
    Variables.push_back({j, 0, StepSize});
  }
  // The start design sets the range and the distance from the curve that every trial must keep.
  MinLen = 0;
  MaxCurveDistance = HUGE_VAL;
  CurvePoints = DistancePoints(mechanism.Curve);
  Best = Objective();
  BestFeasible = LastFeasible;
  MinLen = mechanism.Len;
  if (BestFeasible)
    MaxCurveDistance = CurveToPathDistance(CurvePoints, mechanism.Tracer->Positions.data(), mechanism.Len);
  // A zero step would never shrink below its hundredth: the run would spin to the pass limit.
  if (!mechanism.CanFitCurve() || !(StepSize > 0) || !std::isfinite(StepSize)) {
    Done = 1;
  } else if (!BestFeasible) {
    StdOut().Warning("Optimize cannot score the start design: " + InfeasibleReason(mechanism) + ".");
  }
}

bool TMechOptimize::Movable(int32_t variable) const {
  // Joints deleted since Start leave their variables behind.
  const int32_t j = Variables[static_cast<size_t>(variable)].JointIndex;
  return j >= 0 && j < Mechanism->JointCount();
}

double& TMechOptimize::Coordinate(int32_t variable) {
  TPositionRecord& design =
      Mechanism->Joint(Variables[static_cast<size_t>(variable)].JointIndex).Positions[0];
  return variable % 2 == 0 ? design.Y : design.X;
}

bool TMechOptimize::Iterate() {
  if (!Mechanism || Done) return true;
  BestVariable = -1;
  for (int32_t i = 0; i < VariableCount(); ++i) {
    TVariable& v = Variables[static_cast<size_t>(i)];
    if (!Movable(i)) {
      v.Value = Best;
      v.Feasible = BestFeasible;
      continue;
    }
    // Taken back to the value it had, not by subtracting the step, so no rounding drift.
    const double start = Coordinate(i);
    Coordinate(i) = start + v.Step;
    v.Value = Objective();
    v.Feasible = LastFeasible;
    if (Before(Best, BestFeasible, v.Value, v.Feasible)) {
      v.Step = -v.Step;
      Coordinate(i) = start + v.Step;
      v.Value = Objective();
      v.Feasible = LastFeasible;
    }
    Coordinate(i) = start;
    if (Before(v.Value, v.Feasible, Best, BestFeasible)) BestVariable = i;
  }
  if (BestVariable < 0) {
    StepSize /= 2;
    for (TVariable& v : Variables) v.Step = StepSize;
    Done = StepSize < MinStep;
  } else {
    const TVariable& kept = Variables[static_cast<size_t>(BestVariable)];
    Best = kept.Value;
    BestFeasible = kept.Feasible;
    Coordinate(BestVariable) += kept.Step;
    Done = 0;
  }
  ++Iterations;
  Done = Done || Iterations > MaxIterations;
  return Done;
}

void TMechOptimize::Accept() {
  if (!Mechanism) return;
  Best = Objective();
  BestFeasible = LastFeasible;
  // No pass kept a move, so the design is the one the run started from: nothing was optimised.
  if (!BestFeasible) {
    StdOut().Warning("Optimize found no feasible design: " + InfeasibleReason(*Mechanism) +
                     ". The mechanism is unchanged.");
    return;
  }
  Mechanism->Optimized = 1;
}

double TMechOptimize::Objective() {
  TAniMechanism& m = *Mechanism;
  m.Calculate();
  ++Solves;
  LastFeasible = false;
  // A linkage that jams earlier than the start design would be judged on less of its motion.
  if (!m.IsFeasible() || m.Len < MinLen) return kInfeasible;
  // A measure along the curve can fall while the path moves away from it.
  if (!CurveWithin(CurvePoints, m.Tracer->Positions.data(), m.Len, MaxCurveDistance)) return kInfeasible;
  LastFeasible = true;
  switch (Mode) {
    case kFitMaxDeviation:
      return m.MaxDeviation;
    case kFitCombined:
      return m.CombinedError();
    default:
      return m.Integral;
  }
}

}  // namespace quillon
