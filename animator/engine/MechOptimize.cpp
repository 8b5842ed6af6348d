// The curve-fitting optimiser: variables, objective and the pattern-search pass.
#include "animator/engine/MechOptimize.h"

#include <cmath>
#include <string>

#include "animator/engine/AniMechanism.h"
#include "animator/engine/JointSteps.h"
#include "animator/engine/StdOut.h"

namespace quillon {

int32_t FittingMode = kFitIntegral;

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
  // The start design sets the range that every trial must keep.
  MinLen = 0;
  Best = Objective();
  MinLen = mechanism.Len;
  // A zero step would never shrink below its hundredth: the run would spin to the pass limit.
  if (!mechanism.CanFitCurve() || !(StepSize > 0) || !std::isfinite(StepSize)) Done = 1;
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
      continue;
    }
    // Taken back to the value it had, not by subtracting the step, so no rounding drift.
    const double start = Coordinate(i);
    Coordinate(i) = start + v.Step;
    v.Value = Objective();
    if (v.Value > Best) {
      v.Step = -v.Step;
      Coordinate(i) = start + v.Step;
      v.Value = Objective();
    }
    Coordinate(i) = start;
    if (v.Value < Best) BestVariable = i;
  }
  if (BestVariable < 0) {
    StepSize /= 2;
    for (TVariable& v : Variables) v.Step = StepSize;
    Done = StepSize < MinStep;
  } else {
    const TVariable& kept = Variables[static_cast<size_t>(BestVariable)];
    Best = kept.Value;
    Coordinate(BestVariable) += kept.Step;
    Done = 0;
  }
  ++Iterations;
  Done = Done || Iterations > MaxIterations;
  return Done;
}

namespace {

// Why the solved design is not feasible, for a run that found no feasible design at all.
std::string InfeasibleReason(TAniMechanism& m) {
  const std::string start = "Optimize found no feasible design: ";
  const std::string end = " The mechanism is unchanged.";
  const TAniJoint* tracer = m.Tracer;
  if (tracer && m.Curve.Length > tracer->TotalPathLength())
    return start + "the curve is longer than the path of joint " + char(tracer->Letter) + "." + end;
  if (m.Areas.Count() > 0) {
    for (const auto& joint : m.Joints) {
      if (m.Areas.IndexHolding(DesignOf(*joint), static_cast<char>(joint->Letter)) < 0)
        return start + "joint " + char(joint->Letter) + " lies outside every area that applies to it." + end;
    }
  }
  return "Optimize found no feasible design." + end;
}

}  // namespace

void TMechOptimize::Accept() {
  if (!Mechanism) return;
  Best = Objective();
  // No pass kept a move, so the design is the one the run started from: nothing was optimised.
  if (Best >= kInfeasible) {
    StdOut().Warning(InfeasibleReason(*Mechanism));
    return;
  }
  Mechanism->Optimized = 1;
}

double TMechOptimize::Objective() {
  TAniMechanism& m = *Mechanism;
  m.Calculate();
  ++Solves;
  // A linkage that jams earlier than the start design would be judged on less of its motion.
  if (!m.IsFeasible() || m.Len < MinLen) return kInfeasible;
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
