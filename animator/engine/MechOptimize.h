// TMechOptimize: fits a linkage to its target curve by a coordinate pattern search over the design
// positions of its unlocked joints, each objective evaluation solving the whole mechanism.
#pragma once

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "animator/engine/CurveDeviation.h"
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

// Why the linkage cannot be fitted to its curve, empty when it can: no curve or one of a single
// point, a curve without length or too large to measure, no output joint, or one that does not
// move.
std::string FitRefusal(const TAniMechanism& mechanism);

class TMechOptimize {
 public:
  // The objective of a design that cannot be judged. A combined error can exceed it, so whether a
  // design was feasible is kept beside its objective, and any feasible design ranks before it.
  static constexpr double kInfeasible = 1e10;
  // The result is judged against the start on the path solved at this many steps per cycle (or
  // at the document's own count where that is finer): the chords of a coarse path cut corners
  // by more than the fit may gain.
  static constexpr int32_t kJudgeSteps = 720;
  // Sizes of the steps after a move was kept and after neither direction helped.
  static constexpr double kGrowth = 2.0;
  static constexpr double kShrink = 0.5;
  // Random directions tried after a pass that kept no move.
  static constexpr int32_t kPolls = 8;
  // Passes between two fine judgements of a candidate result.
  static constexpr int32_t kCheckPasses = 8;

  // One coordinate of a joint: even variable numbers move y, odd ones x.
  struct TVariable {
    int32_t JointIndex = 0;
    // Objective after the last move tried, and whether that design was feasible.
    double Value = 0;
    // Signed, its own size: grown after a move it made was kept, shrunk after a pass in which
    // neither direction helped. A kept move in the reversed direction keeps the sign.
    double Step = 0;
    bool Feasible = false;
  };

  int32_t Capacity = 0;
  // Passes done since Start.
  int32_t Iterations = 0;
  uint8_t Done = 0;
  // Start found nothing it could fit and said why in the message log: Iterate and Accept do
  // nothing.
  bool Refused = false;
  // The last variable whose move the last pass kept, -1 when none.
  int32_t BestVariable = -1;
  std::vector<TVariable> Variables;
  // Objective of the current design, and whether it is feasible.
  double Best = 0;
  bool BestFeasible = false;
  TAniMechanism* Mechanism = nullptr;
  int32_t MaxIterations = 10000;
  // The step every variable starts with and grows back to at most: a fifth of the curve length.
  double StepSize = 0.001;
  // A variable whose step has shrunk below this has settled; the run is done when all have.
  double MinStep = 1e-5;
  // kFitIntegral, kFitMaxDeviation or kFitCombined; any other value minimises the integral.
  int32_t Mode = kFitIntegral;

  // Solved length of the start design: a trial that solves fewer steps is not feasible, so a fit
  // never shortens the motion range.
  int32_t MinLen = 0;
  // Every joint stays within this rectangle: the one holding the start design's joints and the
  // curve, widened on each side by half its larger side. Unbounded until Start.
  shared::TComplex RegionMin{-HUGE_VAL, -HUGE_VAL};
  shared::TComplex RegionMax{HUGE_VAL, HUGE_VAL};

  // Objective evaluations since Start, each a whole solution of the mechanism.
  int64_t Solves = 0;
  // The last Objective and whether its design was feasible.
  double LastValue = 0;
  bool LastFeasible = false;

  int32_t VariableCount() const { return static_cast<int32_t>(Variables.size()); }

  // Binds the mechanism, gives every unlocked joint's y and x a step of a fifth of the curve
  // length and judges the start design; one that cannot be scored is named in the message log.
  // A linkage that cannot be fitted (FitRefusal, or a start whose distance from the curve is no
  // number) is refused with the reason in the log: the run is done with nothing to move.
  void Start(TAniMechanism& mechanism);
  // One pass: every variable tries its step, then the reverse, and keeps the first move that
  // improves on the current design. After a pass that kept a move the pass's moves are repeated
  // further while that helps; after one that kept none, a few random oblique moves are tried.
  // Answers Done: every step has shrunk below MinStep, or MaxIterations passes are done. A search
  // that settles farther from the curve than the start goes on once more from the result, every
  // trial held no farther. A finished or unstarted run moves nothing.
  bool Iterate();
  // Hands back the result: the best design visited that is no farther from the curve than the
  // start, by the curve's largest distance from the path and by the largest and the mean
  // distance of its points (the start itself when none is), and that runs as much of its cycle.
  // Best := its Objective, which leaves the mechanism solved; marks the mechanism optimised. A
  // run that found no feasible design marks nothing and says why in the message log.
  void Accept();
  // Every fourth pass.
  bool IsRedrawTurn() const { return Iterations % 4 == 0; }
  // Solves the mechanism; kInfeasible when a joint lies outside the region, the design is not
  // feasible or solves fewer steps than MinLen, else the measure of Mode. Sets LastFeasible.
  double Objective();

 private:
  // How far the curve lies from a path, and the share of the cycle the path runs.
  struct TJudgement {
    TCurveDistances Distances;
    double Share = 0;
  };

  double& Coordinate(int32_t variable);
  bool Movable(int32_t variable) const;
  bool InRegion() const;
  // A step after a kept move: kGrowth times as large, at most StepSize, its sign kept.
  double Grown(double step) const;
  // Tries the variable at start + step; keeps the move when it improves on Best.
  bool TryMove(int32_t variable, double start, double step);
  // Objective of the design as it stands; when it improves on Best it becomes the current design.
  bool Improves();
  // After a pass that kept a move: the pass's moves again, and again twice as far, while that
  // improves on the current design.
  void PatternMove();
  // After a pass that kept none: kPolls random directions, each both ways, up to the first that
  // improves.
  void PollAround();
  // The path of the solved design against the curve.
  TJudgement JudgeSolved() const;
  // The current design solved at kJudgeSteps (or N where that is finer); the caller solves it
  // again at N.
  TJudgement JudgeFine();
  static bool NoFarther(const TJudgement& judged, const TJudgement& start);
  // The solved path is no farther from the curve than the start's at the document's step count,
  // and runs as much of the cycle.
  bool SolvedNoFarther() const;
  // Goes on from the result with every trial held no farther from the curve than the start.
  void Confine();
  // A kept move whose solved path is no farther than the start's becomes the candidate result.
  void NoteCandidate();
  // The candidate, judged finely; when it holds it becomes the result.
  void CheckCandidate();
  // The variables' coordinates, in order.
  void Design(std::vector<double>& design);
  void SetDesign(const std::vector<double>& design);

  // The curve's sampled points and its control points, taken at Start.
  std::vector<shared::TComplex> CurvePoints;
  std::vector<shared::TComplex> ControlPoints;
  // Whether the result is judged against the start (a start that cannot be scored is not).
  bool Guarded = false;
  TJudgement StartCoarse;
  TJudgement StartFine;
  // The best design known to hold against the start, and a later one yet to be judged finely.
  std::vector<double> Result;
  std::vector<double> Candidate;
  bool CandidatePending = false;
  int32_t PassesSinceCheck = 0;
  // The search goes on from the result, every trial held no farther than the start (Confine).
  bool Confined = false;
  std::mt19937 Random;
  // Designs of the pass under way, kept between passes so that a pass allocates nothing.
  std::vector<double> PassStart, Base, Trial, Kept;
};

}  // namespace quillon
