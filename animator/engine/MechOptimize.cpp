// The curve-fitting optimiser: variables, objective, the pattern-search pass and the judgement of
// its result against the start.
#include "animator/engine/MechOptimize.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "animator/engine/AniMechanism.h"
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

std::string FitRefusal(const TAniMechanism& m) {
  const TSpline& curve = m.Curve;
  if (curve.PointCount() == 0) return "the mechanism has no target curve";
  if (curve.PointCount() < 2) return "the target curve has a single point";
  // Its length sums squares: a point beyond about 1e154 m makes it infinite.
  if (!std::isfinite(curve.Length)) return "the target curve is too large to measure";
  if (!(curve.Length > 0)) return "the target curve has no length";
  if (!m.Tracer) return "the mechanism has no output joint";
  if (!(m.Tracer->TotalPathLength() > 0))
    return std::string("the output joint ") + char(m.Tracer->Letter) + " does not move";
  return "";
}

void TMechOptimize::Start(TAniMechanism& mechanism) {
  Mechanism = &mechanism;
  Capacity = 2 * mechanism.JointCount();
  Variables.clear();
  Variables.reserve(static_cast<size_t>(Capacity));
  StepSize = mechanism.Curve.Length / 5;
  // Steps far below what a drawing shows still help a linkage that follows the curve closely.
  MinStep = mechanism.Curve.Length * 1e-6;
  Done = 0;
  Refused = false;
  Iterations = 0;
  BestVariable = -1;
  Solves = 0;
  PassesSinceCheck = 0;
  CandidatePending = false;
  Confined = false;
  // The same document fits the same way every time.
  Random.seed(std::mt19937::default_seed);
  for (int32_t j = 0; j < mechanism.JointCount(); ++j) {
    if (mechanism.Joint(j).Locked) continue;
    Variables.push_back({j, 0, StepSize});
    Variables.push_back({j, 0, StepSize});
  }
  MinLen = 0;
  RegionMin = {-HUGE_VAL, -HUGE_VAL};
  RegionMax = {HUGE_VAL, HUGE_VAL};
  CurvePoints = DistancePoints(mechanism.Curve);
  ControlPoints.clear();
  for (int32_t i = 0; i < mechanism.Curve.PointCount(); ++i)
    ControlPoints.emplace_back(mechanism.Curve.Point(i).X, mechanism.Curve.Point(i).Y);
  mechanism.Calculate();
  std::string refusal = FitRefusal(mechanism);
  if (refusal.empty()) {
    Best = Objective();
    BestFeasible = LastFeasible;
    if (!std::isfinite(Best)) refusal = "the distance of the path from the target curve is too large to measure";
  } else {
    Best = kInfeasible;
    BestFeasible = false;
  }
  if (!refusal.empty()) {
    Done = 1;
    Refused = true;
    StdOut().Warning("Optimize cannot fit the linkage: " + refusal + ".");
    return;
  }
  MinLen = mechanism.Len;

  // The region: the design and the curve with room around them of half their larger side.
  RegionMin = RegionMax = DesignOf(mechanism.Joint(0));
  const auto widen = [&](double x, double y) {
    RegionMin.X = std::min(RegionMin.X, x);
    RegionMin.Y = std::min(RegionMin.Y, y);
    RegionMax.X = std::max(RegionMax.X, x);
    RegionMax.Y = std::max(RegionMax.Y, y);
  };
  for (const auto& joint : mechanism.Joints) widen(joint->Positions[0].X, joint->Positions[0].Y);
  for (const shared::TComplex& p : CurvePoints) widen(p.X, p.Y);
  const double room = std::max(RegionMax.X - RegionMin.X, RegionMax.Y - RegionMin.Y) / 2;
  RegionMin = {RegionMin.X - room, RegionMin.Y - room};
  RegionMax = {RegionMax.X + room, RegionMax.Y + room};

  // A start that cannot be scored sets no bound: any feasible design is better.
  Guarded = BestFeasible;
  Design(Result);
  if (Guarded) {
    StartCoarse = JudgeSolved();
    StartFine = JudgeFine();
    mechanism.Calculate();
  } else {
    StdOut().Warning("Optimize cannot score the start design: " + InfeasibleReason(mechanism) + ".");
  }
  if (Variables.empty()) Done = 1;
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

void TMechOptimize::Design(std::vector<double>& design) {
  design.resize(Variables.size());
  for (int32_t i = 0; i < VariableCount(); ++i) design[static_cast<size_t>(i)] = Movable(i) ? Coordinate(i) : 0;
}

void TMechOptimize::SetDesign(const std::vector<double>& design) {
  for (int32_t i = 0; i < VariableCount() && i < static_cast<int32_t>(design.size()); ++i) {
    if (Movable(i)) Coordinate(i) = design[static_cast<size_t>(i)];
  }
}

bool TMechOptimize::Improves() {
  const double value = Objective();
  const bool feasible = LastFeasible;
  if (!Before(value, feasible, Best, BestFeasible)) return false;
  Best = value;
  BestFeasible = feasible;
  NoteCandidate();
  return true;
}

double TMechOptimize::Grown(double step) const {
  return std::copysign(std::min(kGrowth * std::fabs(step), StepSize), step);
}

bool TMechOptimize::TryMove(int32_t i, double start, double step) {
  TVariable& v = Variables[static_cast<size_t>(i)];
  Coordinate(i) = start + step;
  const bool better = Improves();
  v.Value = LastValue;
  v.Feasible = LastFeasible;
  if (!better) return false;
  BestVariable = i;
  v.Step = Grown(step);
  return true;
}

bool TMechOptimize::Iterate() {
  if (!Mechanism || Done) return true;
  BestVariable = -1;
  Design(PassStart);
  for (int32_t i = 0; i < VariableCount(); ++i) {
    TVariable& v = Variables[static_cast<size_t>(i)];
    if (!Movable(i)) {
      v.Value = Best;
      v.Feasible = BestFeasible;
      continue;
    }
    // Taken back to the value it had, not by subtracting the step, so no rounding drift.
    const double start = Coordinate(i);
    if (!TryMove(i, start, v.Step) && !TryMove(i, start, -v.Step)) {
      Coordinate(i) = start;
      v.Step *= kShrink;
    }
  }
  if (BestVariable >= 0) {
    PatternMove();
  } else {
    PollAround();
  }
  bool settled = true;
  for (const TVariable& v : Variables) settled = settled && std::fabs(v.Step) < MinStep;
  ++Iterations;
  ++PassesSinceCheck;
  Done = settled || Iterations > MaxIterations;
  // The fine judgement costs about half a pass; now and then is enough, since a candidate that
  // fails it leaves the result only a few passes behind.
  if (CandidatePending && (Done || PassesSinceCheck >= kCheckPasses)) CheckCandidate();
  if (settled && Guarded && !Confined && Iterations <= MaxIterations) {
    Design(Base);
    if (Base != Result) Confine();
  }
  return Done;
}

void TMechOptimize::Confine() {
  // The search settled farther from the curve than it started. From the best design that is no
  // farther it goes on with every trial held to that, so the run still hands back the best it
  // can find near the curve.
  SetDesign(Result);
  Best = Objective();
  BestFeasible = LastFeasible;
  // Judged as the search judged it: the coarse path may miss the bound that the fine one holds.
  Confined = true;
  for (TVariable& v : Variables) v.Step = StepSize;
  Done = 0;
}

void TMechOptimize::PatternMove() {
  // The pass's moves together point along the valley the design lies in: go on that way, twice
  // as far each time, while that helps.
  Design(Base);
  Kept = Base;
  Trial.resize(Base.size());
  for (double factor = 1;; factor *= 2) {
    for (size_t i = 0; i < Base.size(); ++i) Trial[i] = Base[i] + factor * (Base[i] - PassStart[i]);
    SetDesign(Trial);
    if (!Improves()) break;
    Kept = Trial;
  }
  SetDesign(Kept);
}

void TMechOptimize::PollAround() {
  // Where the largest deviation is reached at several steps at once, every single coordinate
  // makes one of them worse while some oblique move still helps: directions drawn at random
  // find it in time, however narrow its cone. Each variable moves by up to twice its own step.
  Design(Base);
  Trial.resize(Base.size());
  Kept.resize(Base.size());
  for (int32_t k = 0; k < kPolls; ++k) {
    for (size_t i = 0; i < Base.size(); ++i) {
      const double u = static_cast<double>(Random()) / 4294967296.0;
      Trial[i] = (4 * u - 2) * std::fabs(Variables[i].Step);
    }
    for (const double sign : {1.0, -1.0}) {
      for (size_t i = 0; i < Base.size(); ++i) Kept[i] = Base[i] + sign * Trial[i];
      SetDesign(Kept);
      if (Improves()) {
        // Progress again: the steps the failed pass shrank are given back.
        for (TVariable& v : Variables) v.Step = Grown(v.Step);
        return;
      }
    }
  }
  SetDesign(Base);
}

bool TMechOptimize::InRegion() const {
  for (const auto& joint : Mechanism->Joints) {
    const TPositionRecord& p = joint->Positions[0];
    if (!(p.X >= RegionMin.X && p.X <= RegionMax.X && p.Y >= RegionMin.Y && p.Y <= RegionMax.Y)) return false;
  }
  return true;
}

TMechOptimize::TJudgement TMechOptimize::JudgeSolved() const {
  const TAniMechanism& m = *Mechanism;
  TJudgement judged;
  if (!m.Tracer) {
    judged.Distances = {HUGE_VAL, HUGE_VAL, HUGE_VAL};
    return judged;
  }
  judged.Distances = MeasureCurve(CurvePoints, ControlPoints, m.Tracer->Positions.data(), m.Len);
  judged.Share = static_cast<double>(m.Len) / m.N;
  return judged;
}

TMechOptimize::TJudgement TMechOptimize::JudgeFine() {
  TAniMechanism& m = *Mechanism;
  const int32_t n = m.N;
  if (n >= kJudgeSteps) {
    m.Calculate();
    return JudgeSolved();
  }
  m.SetPositionCount(kJudgeSteps);
  m.Calculate();
  const TJudgement judged = JudgeSolved();
  m.SetPositionCount(n);
  return judged;
}

bool TMechOptimize::NoFarther(const TJudgement& judged, const TJudgement& start) {
  const TCurveDistances& a = judged.Distances;
  const TCurveDistances& b = start.Distances;
  return judged.Share >= start.Share && a.Farthest <= b.Farthest && a.PointLargest <= b.PointLargest &&
         a.PointMean <= b.PointMean;
}

void TMechOptimize::NoteCandidate() {
  if (!Guarded) {
    // Nothing to judge against: every kept move is the result.
    Design(Result);
    return;
  }
  if (!BestFeasible || !SolvedNoFarther()) return;
  Design(Candidate);
  CandidatePending = true;
}

bool TMechOptimize::SolvedNoFarther() const {
  const TAniMechanism& m = *Mechanism;
  if (!m.Tracer || static_cast<double>(m.Len) / m.N < StartCoarse.Share) return false;
  return CurveNoFarther(CurvePoints, ControlPoints, m.Tracer->Positions.data(), m.Len, StartCoarse.Distances);
}

void TMechOptimize::CheckCandidate() {
  CandidatePending = false;
  PassesSinceCheck = 0;
  Design(Base);
  SetDesign(Candidate);
  if (NoFarther(JudgeFine(), StartFine)) Result = Candidate;
  SetDesign(Base);
  // The mechanism shows the current design again.
  Mechanism->Calculate();
}

void TMechOptimize::Accept() {
  if (!Mechanism || Refused) return;
  if (CandidatePending) CheckCandidate();
  SetDesign(Result);
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
  LastFeasible = false;
  LastValue = kInfeasible;
  if (!InRegion()) return LastValue;
  m.Calculate();
  ++Solves;
  // A linkage that jams earlier than the start design would be judged on less of its motion.
  if (!m.IsFeasible() || m.Len < MinLen) return LastValue;
  if (Confined && !SolvedNoFarther()) return LastValue;
  LastFeasible = true;
  switch (Mode) {
    case kFitMaxDeviation:
      LastValue = m.MaxDeviation;
      break;
    case kFitCombined:
      LastValue = m.CombinedError();
      break;
    default:
      LastValue = m.Integral;
  }
  return LastValue;
}

}  // namespace quillon
