// TMechOptimize: fits a linkage to its target curve by a coordinate pattern search over the design
// positions of its unlocked joints, each objective evaluation solving the whole mechanism.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "shared/Complex.h"

namespace quillon {

class TAniMechanism;

// Objectives the optimiser can minimise.
constexpr int32_t kFitIntegral = 0;
constexpr int32_t kFitMaxDeviation = 1;
constexpr int32_t kFitCombined = 2;

// The program-wide fitting mode (one of the objectives above), 0 at start; the curve editor's
// option sets it and the animation view hands it to each run.
extern int32_t FittingMode;

class TMechOptimize {
 public:
  // The objective of a design that cannot be judged. A combined error can exceed it, so whether a
  // design was feasible is kept beside its objective, and any feasible design ranks before it.
  static constexpr double kInfeasible = 1e10;

  // One coordinate of a joint: even variable numbers move y, odd ones x.
  struct TVariable {
    int32_t JointIndex = 0;
    // Objective after trying the move in the last pass, and whether that design was feasible.
    double Value = 0;
    // Signed; a reversed sign stays until the next halving.
    double Step = 0;
    bool Feasible = false;
  };

  int32_t Capacity = 0;
  // Passes done since Start.
  int32_t Iterations = 0;
  uint8_t Done = 0;
  // The variable kept by the last pass, -1 when none.
  int32_t BestVariable = -1;
  std::vector<TVariable> Variables;
  // Objective of the current design, and whether it is feasible.
  double Best = 0;
  bool BestFeasible = false;
  TAniMechanism* Mechanism = nullptr;
  int32_t MaxIterations = 10000;
  double StepSize = 0.001;
  double MinStep = 1e-5;
  // kFitIntegral, kFitMaxDeviation or kFitCombined; any other value minimises the integral.
  int32_t Mode = kFitIntegral;

  // Solved length of the start design: a trial that solves fewer steps is not feasible, so a fit
  // never shortens the motion range.
  int32_t MinLen = 0;
  // How far the curve lies from the start design's path (CurveToPathDistance): a trial whose
  // path leaves the curve farther is not feasible, so a fit never hands back a design farther
  // from the curve than its start. Unbounded when the start cannot be scored.
  double MaxCurveDistance = HUGE_VAL;
  // The curve's points that distance is measured at, taken at Start.
  std::vector<shared::TComplex> CurvePoints;

  // Objective evaluations since Start, each a whole solution of the mechanism.
  int64_t Solves = 0;
  // Whether the design of the last Objective was feasible.
  bool LastFeasible = false;

  int32_t VariableCount() const { return static_cast<int32_t>(Variables.size()); }

  // Binds the mechanism, steps a fifth of the curve length, y then x of every unlocked joint,
  // and judges the start design; one that cannot be scored is named in the message log. A curve
  // that cannot be fitted (no usable curve or traced tracer, a step that is not a positive
  // number) leaves the run done with nothing to move.
  void Start(TAniMechanism& mechanism);
  // One pass over every variable; keeps the last move that improved on the pass's start, or
  // halves the step when none did. Answers Done; a finished or unstarted run moves nothing.
  bool Iterate();
  // Best := Objective, which leaves the mechanism solved for its final design; marks the
  // mechanism optimised. A run that found no feasible design marks nothing and says why in the
  // message log.
  void Accept();
  // Every fourth pass.
  bool IsRedrawTurn() const { return Iterations % 4 == 0; }
  // Solves the mechanism; kInfeasible when it is not feasible, solves fewer steps than MinLen or
  // leaves the curve farther than MaxCurveDistance, else the measure of Mode. Sets LastFeasible.
  double Objective();

 private:
  double& Coordinate(int32_t variable);
  bool Movable(int32_t variable) const;
};

}  // namespace quillon
