// The curve-fitting optimiser on the default four-bar: a displaced linkage fitted back to the curve
// it traced, the pass rules (kept variable, reversed signs, halving), and runs that cannot start.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "animator/engine/AniMechanism.h"
#include "animator/engine/MechOptimize.h"
#include "tests/animator/engine/FourBarPose.h"
#include "tests/animator/engine/LogCapture.h"
#include "tests/animator/engine/MechanismText.h"
#include "tests/animator/engine/PathDistance.h"

namespace quillon {
namespace {

struct TXY {
  double X = 0, Y = 0;
};

TXY Design(const TAniMechanism& m, char letter) {
  const TPositionRecord& p = m.Joints[m.FindJoint(letter)]->Positions[0];
  return {p.X, p.Y};
}

void MoveDesign(TAniMechanism& m, char letter, double dx, double dy) {
  TPositionRecord& p = m.Joints[m.FindJoint(letter)]->Positions[0];
  p.X += dx;
  p.Y += dy;
}

// The default four-bar with a target curve through its own tracer's positions at steps 0, 4, ...,
// 60 of 90: the undisplaced linkage follows it up to the spline's interpolation error.
class MechOptimizeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m.NewMechanism(0);
    m.Calculate();
    const TAniJoint& tracer = *m.Tracer;
    for (int32_t k = 0; k <= 60; k += 4) {
      shared::TPrePoint& p = m.Curve.Point(m.Curve.NewPoint());
      p.SetXY(tracer.Positions[k].X, tracer.Positions[k].Y);
    }
    m.Curve.Rebuild();
    m.Calculate();
    ASSERT_TRUE(m.CanFitCurve());
    ASSERT_TRUE(m.IsFeasible());
    fitted = m.Integral;
  }

  TAniMechanism m;
  double fitted = 0;
};

TEST_F(MechOptimizeTest, StartBuildsYThenXOfEveryUnlockedJoint) {
  m.Joints[m.FindJoint('B')]->Locked = 1;
  TMechOptimize opt;
  EXPECT_EQ(opt.StepSize, 0.001);
  EXPECT_EQ(opt.MinStep, 1e-5);
  EXPECT_EQ(opt.MaxIterations, 10000);
  opt.Start(m);
  EXPECT_EQ(opt.Capacity, 10);
  EXPECT_FALSE(opt.Done);
  EXPECT_FALSE(opt.Refused);
  EXPECT_DOUBLE_EQ(opt.StepSize, m.Curve.Length / 5);
  EXPECT_DOUBLE_EQ(opt.MinStep, m.Curve.Length * 1e-6);
  // A, C, D, E: joint indices 0, 2, 3, 4, each twice.
  const std::vector<int32_t> joints = {0, 0, 2, 2, 3, 3, 4, 4};
  ASSERT_EQ(opt.VariableCount(), 8);
  for (int32_t i = 0; i < 8; ++i) {
    EXPECT_EQ(opt.Variables[i].JointIndex, joints[i]);
    EXPECT_EQ(opt.Variables[i].Step, opt.StepSize);
  }
  EXPECT_EQ(opt.Best, m.Integral);
}

TEST_F(MechOptimizeTest, DisplacedFourBarIsFittedBackToTheCurveItTraced) {
  const TXY e0 = Design(m, 'E');
  const TXY c0 = Design(m, 'C');
  MoveDesign(m, 'E', 0.02, -0.015);
  for (auto& joint : m.Joints) joint->Locked = joint->Letter != 'E';
  m.Calculate();
  const double displaced = m.Integral;
  ASSERT_GT(displaced, 10 * fitted);

  TMechOptimize opt;
  opt.Start(m);
  double previous = opt.Best;
  EXPECT_EQ(previous, displaced);
  bool done = false;
  while (!done) {
    done = opt.Iterate();
    EXPECT_LE(opt.Best, previous) << "pass " << opt.Iterations;
    previous = opt.Best;
    // Best is the objective of the design the pass left, solved afresh.
    TMechOptimize judge;
    judge.Mechanism = &m;
    EXPECT_EQ(judge.Objective(), opt.Best) << "pass " << opt.Iterations;
  }
  for (const auto& v : opt.Variables) EXPECT_LT(std::fabs(v.Step), opt.MinStep) << "every step settled";
  opt.Accept();
  EXPECT_EQ(m.Optimized, 1);
  // As close as the undisplaced linkage, give or take the spline's own error.
  EXPECT_LT(opt.Best, 1.5 * fitted);
  const TXY e = Design(m, 'E');
  EXPECT_LT(std::hypot(e.X - e0.X, e.Y - e0.Y), 0.002) << "back from 25 mm away";
  EXPECT_EQ(Design(m, 'C').X, c0.X) << "locked joints stay";
  EXPECT_EQ(Design(m, 'C').Y, c0.Y);
}

TEST_F(MechOptimizeTest, ModesMinimiseTheirOwnMeasure) {
  MoveDesign(m, 'E', 0.01, 0.01);
  struct TCase {
    int32_t mode;
    double (*measure)(const TAniMechanism&);
  };
  const TCase cases[] = {
      {kFitIntegral, [](const TAniMechanism& a) { return a.Integral; }},
      {kFitMaxDeviation, [](const TAniMechanism& a) { return a.MaxDeviation; }},
      {kFitCombined, [](const TAniMechanism& a) { return a.CombinedError(); }},
      {7, [](const TAniMechanism& a) { return a.Integral; }},
  };
  for (const TCase& c : cases) {
    TMechOptimize opt;
    opt.Mode = c.mode;
    opt.Start(m);
    EXPECT_EQ(opt.Best, c.measure(m)) << c.mode;
    opt.Iterate();
    EXPECT_EQ(opt.Objective(), opt.Best) << c.mode;
    EXPECT_EQ(opt.Best, c.measure(m)) << c.mode;
  }
}

// With every joint locked there is nothing to move: the run is done as it starts and hands back
// the design as it was.
TEST_F(MechOptimizeTest, AllJointsLockedIsDoneAtOnce) {
  for (auto& joint : m.Joints) joint->Locked = 1;
  const std::string before = enginetest::Saved(m);
  TMechOptimize opt;
  opt.Start(m);
  EXPECT_EQ(opt.VariableCount(), 0);
  EXPECT_TRUE(opt.Done);
  EXPECT_FALSE(opt.Refused);
  EXPECT_TRUE(opt.Iterate());
  EXPECT_EQ(opt.Iterations, 0);
  opt.Accept();
  EXPECT_EQ(enginetest::Saved(m), before);
}

// E alone free and raised by 0.6 of a step: up is worse, down (to 0.4 below) better, and any
// sideways move is worse. The pass keeps the downward move with its reversed sign (grown no
// further than the start step), halves x's step, and tries the pass's move once more (too far).
// A variable whose reverse move helps at a smaller step keeps the reversed sign and doubles.
TEST_F(MechOptimizeTest, PassKeepsImprovingMovesGrowsThemAndHalvesTheRest) {
  for (auto& joint : m.Joints) joint->Locked = joint->Letter != 'E';
  const double s = m.Curve.Length / 5;
  const TXY e = Design(m, 'E');
  MoveDesign(m, 'E', 0, 0.6 * s);
  TMechOptimize opt;
  opt.Start(m);
  ASSERT_EQ(opt.VariableCount(), 2);
  const int64_t solves = opt.Solves;
  opt.Iterate();
  EXPECT_EQ(opt.BestVariable, 0);
  EXPECT_EQ(opt.Variables[0].Step, -s) << "kept reversed, no larger than the start step";
  EXPECT_EQ(opt.Variables[1].Step, s / 2) << "neither way helped";
  EXPECT_EQ(Design(m, 'E').Y, e.Y + 0.6 * s - s);
  EXPECT_EQ(Design(m, 'E').X, e.X);
  EXPECT_EQ(opt.Solves - solves, 2 + 2 + 1) << "both ways of y and x, then the pattern move";
  EXPECT_EQ(opt.Objective(), opt.Best);

  // From 0.4 below: an eighth of a step further down is worse, up better.
  opt.Variables[0].Step = -s / 8;
  opt.Iterate();
  EXPECT_EQ(opt.Variables[0].Step, s / 4);
  EXPECT_GT(Design(m, 'E').Y, e.Y + 0.6 * s - s);
}

// A step never grows beyond the one every variable starts with, and the run is done once every
// step has shrunk below the floor, a millionth of the curve length.
TEST_F(MechOptimizeTest, StepsGrowUpToTheStartStepAndSettleAtTheFloor) {
  for (auto& joint : m.Joints) joint->Locked = joint->Letter != 'E';
  MoveDesign(m, 'E', 0.3, -0.2);
  TMechOptimize opt;
  opt.Start(m);
  double smallest = opt.StepSize;
  while (!opt.Iterate()) {
    for (const auto& v : opt.Variables) {
      EXPECT_LE(std::fabs(v.Step), opt.StepSize);
      smallest = std::min(smallest, std::fabs(v.Step));
    }
  }
  EXPECT_LT(opt.Iterations, opt.MaxIterations);
  for (const auto& v : opt.Variables) EXPECT_LT(std::fabs(v.Step), opt.MinStep);
  EXPECT_LT(smallest, 2 * opt.MinStep);
  EXPECT_GT(smallest, opt.MinStep / 4);
}

// The largest distance of the curve from the tracer's solved path: 2000 points along the curve,
// each against every piece of the polyline through the tracer's positions at steps 0..Len.
double FarthestCurvePoint(const TAniMechanism& m) {
  double farthest = 0;
  for (int32_t i = 0; i <= 2000; ++i) {
    shared::TPrePoint q;
    m.Curve.PointAt(i / 2000.0, q);
    farthest = std::max(farthest, enginetest::NearestOnPath(m.Tracer->Positions, m.Len, q.X, q.Y));
  }
  return farthest;
}

// A curve through the tracer's positions around the whole cycle is a little longer than the 90
// chords of the solved path, as a Vesk design's path often falls just short of its curve. With
// E moved 10 mm left, which shrinks the path further, the start is scored as it stands, and the
// fit brings the path closer to the curve in both modes without a word in the log.
TEST(MechOptimizeFitTest, StartWhosePathFallsShortOfTheCurveIsScoredAndFitted) {
  for (const int32_t mode : {kFitIntegral, kFitMaxDeviation}) {
    SCOPED_TRACE(mode);
    TAniMechanism m;
    m.Calculate();
    for (int32_t k = 0; k <= 90; k += 6) {
      const TPositionRecord& p = m.Tracer->Positions[k];
      m.Curve.Point(m.Curve.NewPoint()).SetXY(p.X, p.Y);
    }
    m.Curve.Rebuild();
    MoveDesign(m, 'E', -0.01, 0);
    m.Calculate();
    ASSERT_LT(m.Tracer->TotalPathLength(), m.Curve.Length);
    const double start = FarthestCurvePoint(m);
    enginetest::TLogCapture log;
    TMechOptimize opt;
    opt.Mode = mode;
    opt.Start(m);
    ASSERT_LT(opt.Best, TMechOptimize::kInfeasible);
    EXPECT_EQ(opt.Best, mode == kFitIntegral ? m.Integral : m.MaxDeviation);
    const double first = opt.Best;
    while (!opt.Iterate()) {
    }
    opt.Accept();
    EXPECT_TRUE(log.sink.lines.empty());
    EXPECT_EQ(m.Optimized, 1);
    EXPECT_LT(opt.Best, 0.5 * first);
    EXPECT_EQ(m.Len, 90);
    // The maximum deviation compares the path and the curve at equal arc lengths; lowering it
    // brings the path closer, though by less.
    EXPECT_LT(FarthestCurvePoint(m), (mode == kFitIntegral ? 0.5 : 1.0) * start);
  }
}

TEST_F(MechOptimizeTest, InfeasibleStartKeepsTheFirstMoveThatMakesItFeasible) {
  // D lies just below the first area and just left of the second, both for D only; the big one
  // holds the others. Its upward move (y, tried first) makes the design feasible and is kept at
  // once; the move to the right is then judged against that feasible design.
  const TXY d = Design(m, 'D');
  m.Areas.AddArea({-2, -2}, {2, 2});
  m.Areas.Item(0).SetLetters("ABCE");
  m.Areas.AddArea({d.X - 0.5, d.Y + 0.001}, {d.X + 0.5, d.Y + 1});
  m.Areas.Item(1).SetLetters("D");
  m.Areas.AddArea({d.X + 0.001, d.Y - 0.5}, {d.X + 1, d.Y + 0.5});
  m.Areas.Item(2).SetLetters("D");
  for (auto& joint : m.Joints) joint->Locked = joint->Letter != 'D';
  enginetest::TLogCapture log;
  TMechOptimize opt;
  opt.Start(m);
  ASSERT_EQ(opt.Best, TMechOptimize::kInfeasible);
  ASSERT_FALSE(opt.Done);
  const double step = opt.StepSize;
  opt.Iterate();
  EXPECT_LT(opt.Variables[0].Value, TMechOptimize::kInfeasible);
  EXPECT_TRUE(opt.BestFeasible);
  EXPECT_GE(Design(m, 'D').Y, d.Y + step) << "the upward move stays";
  EXPECT_EQ(opt.Objective(), opt.Best);
  while (!opt.Iterate()) {
  }
  opt.Accept();
  EXPECT_EQ(m.Optimized, 1);
  EXPECT_TRUE(m.IsFeasible());
  EXPECT_EQ(log.sink.lines.size(), 1u) << "only the start is named";
}

// D kept out of every area that applies to it, which no move of the pattern search mends: the
// run says so when it starts and again when it ends, and changes and marks nothing.
TEST_F(MechOptimizeTest, RunWithoutAFeasibleDesignSaysWhy) {
  const auto spoil = [](TAniMechanism& a) {
    a.Areas.AddArea({-2, -2}, {2, 2});
    a.Areas.Item(0).SetLetters("ABCE");
    a.Areas.AddArea({5, 5}, {6, 6});
    a.Areas.Item(1).SetLetters("D");
  };
  const std::string started =
      "[Warning] Optimize cannot score the start design: joint D lies outside every area that applies to it.";
  const std::string ended =
      "[Warning] Optimize found no feasible design: joint D lies outside every area that applies to it. "
      "The mechanism is unchanged.";
  spoil(m);
  const std::string before = enginetest::Saved(m);
  enginetest::TLogCapture log;
  TMechOptimize opt;
  opt.Start(m);
  ASSERT_EQ(opt.Best, TMechOptimize::kInfeasible);
  EXPECT_EQ(log.sink.lines, std::vector<std::string>{started});
  while (!opt.Iterate()) {
  }
  EXPECT_EQ(log.sink.lines, std::vector<std::string>{started}) << "the passes say nothing";
  opt.Accept();
  EXPECT_EQ(log.sink.lines, (std::vector<std::string>{started, ended}));
  EXPECT_EQ(m.Optimized, 0);
  EXPECT_EQ(enginetest::Saved(m), before);

  // A run stopped early says it too; a run that starts and ends feasible says nothing.
  SetUp();
  spoil(m);
  log.sink.ClearLines();
  TMechOptimize stopped;
  stopped.Start(m);
  stopped.Iterate();
  stopped.Accept();
  EXPECT_EQ(log.sink.lines, (std::vector<std::string>{started, ended}));
  SetUp();
  log.sink.ClearLines();
  TMechOptimize fine;
  fine.Start(m);
  fine.Iterate();
  fine.Accept();
  EXPECT_TRUE(log.sink.lines.empty());
  EXPECT_EQ(m.Optimized, 1);
}

// A linkage that cannot be fitted is refused as the run starts, with the reason in the log: the
// run is done, moves and marks nothing and says nothing more when it is accepted.
TEST_F(MechOptimizeTest, RunThatCannotFitSaysWhyAndMovesNothing) {
  struct TCase {
    const char* reason;
    void (*spoil)(TAniMechanism&);
  };
  const TCase cases[] = {
      {"the mechanism has no target curve", [](TAniMechanism& a) { a.Curve.Clear(); }},
      {"the target curve has a single point",
       [](TAniMechanism& a) {
         while (a.Curve.PointCount() > 1) a.Curve.DeletePoint(1);
         a.Curve.Rebuild();
       }},
      {"the target curve has no length",
       [](TAniMechanism& a) {
         while (a.Curve.PointCount() > 2) a.Curve.DeletePoint(2);
         a.Curve.Point(1).SetXY(a.Curve.Point(0).X, a.Curve.Point(0).Y);
         a.Curve.Rebuild();
       }},
      // 1e308 mm.
      {"the target curve is too large to measure",
       [](TAniMechanism& a) {
         a.Curve.Point(3).SetXY(1e305, 0);
         a.Curve.Rebuild();
       }},
      {"the mechanism has no output joint", [](TAniMechanism& a) { a.Tracer = nullptr; }},
      {"the output joint A does not move", [](TAniMechanism& a) { a.SetTracer(a.FindJoint('A')); }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.reason);
    SetUp();
    c.spoil(m);
    m.Calculate();
    const std::string before = enginetest::Saved(m);
    enginetest::TLogCapture log;
    TMechOptimize opt;
    opt.Start(m);
    EXPECT_TRUE(opt.Refused);
    EXPECT_TRUE(opt.Done);
    EXPECT_TRUE(opt.Iterate());
    EXPECT_EQ(opt.Iterations, 0);
    opt.Accept();
    EXPECT_EQ(log.sink.lines,
              std::vector<std::string>{std::string("[Warning] Optimize cannot fit the linkage: ") + c.reason + "."});
    EXPECT_EQ(log.sink.kinds, std::vector<TMessageKind>{TMessageKind::Warning});
    EXPECT_EQ(m.Optimized, 0);
    EXPECT_EQ(enginetest::Saved(m), before);
  }
}

// The region every joint keeps: the rectangle of the design's joints and the curve, widened on
// each side by half its larger side. A trial outside it is refused without a solution; one just
// inside is judged.
TEST_F(MechOptimizeTest, EveryJointKeepsWithinARegionOfTheDesignsSize) {
  const enginetest::TDesignRegion region = enginetest::DesignRegion(m, 2000);
  const double minX = region.MinX, minY = region.MinY, maxX = region.MaxX, maxY = region.MaxY;
  const double room = region.Room();
  TMechOptimize opt;
  opt.Start(m);
  const double tolerance = 1e-4 * room;
  EXPECT_NEAR(opt.RegionMin.X, minX - room, tolerance);
  EXPECT_NEAR(opt.RegionMin.Y, minY - room, tolerance);
  EXPECT_NEAR(opt.RegionMax.X, maxX + room, tolerance);
  EXPECT_NEAR(opt.RegionMax.Y, maxY + room, tolerance);

  const TXY e = Design(m, 'E');
  const int64_t solves = opt.Solves;
  MoveDesign(m, 'E', opt.RegionMax.X - e.X + 1e-9, 0);
  EXPECT_EQ(opt.Objective(), TMechOptimize::kInfeasible);
  EXPECT_FALSE(opt.LastFeasible);
  EXPECT_EQ(opt.Solves, solves) << "refused without a solution";
  MoveDesign(m, 'D', 0, opt.RegionMin.Y - Design(m, 'D').Y + 1e-9);
  MoveDesign(m, 'E', -2e-9, 0);
  opt.Objective();
  EXPECT_EQ(opt.Solves, solves + 1);
}

TEST_F(MechOptimizeTest, StopsAfterTheMostPassesAllowed) {
  TMechOptimize opt;
  opt.Start(m);
  opt.MaxIterations = 3;
  int32_t passes = 0;
  while (!opt.Iterate()) ++passes;
  EXPECT_EQ(opt.Iterations, 4);
  EXPECT_EQ(passes, 3);
}

TEST_F(MechOptimizeTest, JointsDeletedDuringARunAreLeftAlone) {
  TMechOptimize opt;
  opt.Start(m);
  m.DeleteJoint(m.FindJoint('E'));
  m.RebuildTopology();
  EXPECT_NO_FATAL_FAILURE(opt.Iterate());
  EXPECT_EQ(opt.Variables[8].Value, opt.Variables[9].Value);
}

// Distance of p from the path of E while the crank turns from the design pose, as far as the loop
// closes: the nearest of 3600 crank turns, refined by golden-section search around it.
double DistanceToPath(const enginetest::TFourBar& bar, enginetest::TPoint p) {
  using namespace enginetest;
  const auto distance = [&](double crank) {
    TPoint b, c, e;
    return bar.Pose(crank, b, c, e) ? Len(Sub(e, p)) : HUGE_VAL;
  };
  constexpr int kSamples = 3600;
  const double step = 2 * kPi / kSamples;
  int best = 0;
  double nearest = distance(0);
  for (int i = 1; i <= kSamples; ++i) {
    const double d = distance(i * step);
    if (d == HUGE_VAL) break;
    if (d < nearest) nearest = d, best = i;
  }
  double lo = (best - 1) * step, hi = (best + 1) * step;
  const double g = (std::sqrt(5.0) - 1) / 2;
  for (int k = 0; k < 60; ++k) {
    const double x1 = hi - g * (hi - lo), x2 = lo + g * (hi - lo);
    if (distance(x1) < distance(x2)) {
      hi = x2;
    } else {
      lo = x1;
    }
  }
  return std::min(nearest, distance((lo + hi) / 2));
}

// The sum of the curve points' distances from the closed-form path of the linkage's design.
double CurvePointsFromPath(const TAniMechanism& m) {
  const auto at = [&](char letter) {
    const TXY p = Design(m, letter);
    return enginetest::TPoint{p.X, p.Y};
  };
  const enginetest::TFourBar bar{at('A'), at('B'), at('C'), at('D'), at('E')};
  double sum = 0;
  for (int32_t i = 0; i < m.Curve.PointCount(); ++i)
    sum += DistanceToPath(bar, {m.Curve.Point(i).X, m.Curve.Point(i).Y});
  return sum;
}

// Two joints displaced, every joint free: the fit brings the path back towards the points it was
// sampled at, over the whole cycle. Moving B and C let it chase a smaller figure by skipping the
// curve's last piece; moving C and E let it jam the crank at step 39.
TEST_F(MechOptimizeTest, TwoJointsDisplacedAreFittedBackTowardsTheCurvePoints) {
  struct TCase {
    char first;
    double dx;
    char second;
    double dy;
  };
  for (const TCase c : {TCase{'B', -0.02, 'C', -0.02}, TCase{'C', 0.04, 'E', 0.04}}) {
    SCOPED_TRACE(std::string() + c.first + c.second);
    SetUp();
    MoveDesign(m, c.first, c.dx, 0);
    MoveDesign(m, c.second, 0, c.dy);
    m.Calculate();
    ASSERT_EQ(m.Len, 90);
    const double before = CurvePointsFromPath(m);
    ASSERT_GT(before, 0.1);
    TMechOptimize opt;
    // Enough to come back; the rest of a converging run only polishes.
    opt.MaxIterations = 300;
    opt.Start(m);
    const double start = opt.Best;
    while (!opt.Iterate()) {
    }
    opt.Accept();
    EXPECT_LT(opt.Best, start);
    EXPECT_EQ(m.Len, 90) << "the crank still turns";
    EXPECT_LT(CurvePointsFromPath(m), 0.6 * before);
  }
}

// An output rotation of 0 all along the curve, which the turning coupler cannot keep, at a weight
// of 1e12: the combined error of every design lies far above the 1e10 that marks a design that
// cannot be judged. It is scored all the same, and no pass takes a design that cannot be judged
// (a jammed linkage) for a better one. The search lowers the error most by leaving the curve; the
// run then goes on from the best design no farther from the curve, and hands that back.
TEST_F(MechOptimizeTest, CombinedErrorAboveTheInfeasibleMarkIsStillScored) {
  for (int32_t i = 0; i < m.Curve.PointCount(); ++i) m.Curve.Point(i).Out = 0;
  m.Curve.OutEnabled = true;
  m.Curve.OutWeight = 1e12;
  m.Curve.Rebuild();
  MoveDesign(m, 'E', 0.01, 0.01);
  m.Calculate();
  enginetest::TLogCapture log;
  TMechOptimize opt;
  opt.Mode = kFitCombined;
  opt.Start(m);
  const double start = opt.Best;
  ASSERT_GT(start, TMechOptimize::kInfeasible);
  EXPECT_EQ(start, m.CombinedError());
  EXPECT_TRUE(opt.BestFeasible);
  const enginetest::TPathDistance from = enginetest::MeasureAt720(m);
  double lowest = start;
  while (!opt.Iterate()) {
    ASSERT_TRUE(opt.BestFeasible) << "pass " << opt.Iterations;
    EXPECT_LE(opt.Best, start) << "pass " << opt.Iterations;
    lowest = std::min(lowest, opt.Best);
  }
  opt.Accept();
  EXPECT_TRUE(log.sink.lines.empty());
  EXPECT_EQ(m.Optimized, 1);
  EXPECT_LT(opt.Best, start);
  EXPECT_GT(opt.Best, lowest) << "the lowest error lay farther from the curve";
  EXPECT_EQ(m.Len, 90);
  const enginetest::TPathDistance to = enginetest::MeasureAt720(m);
  EXPECT_LE(to.Largest, from.Largest);
  EXPECT_LE(to.Mean, from.Mean);
}

// The eight-bar preset with a curve through its tracer K at steps 0, 5, ..., 45, and B and C moved
// 20 mm off: the fit used to pay less by jamming the linkage at step 60.
TEST(MechOptimizeFitTest, EightBarKeepsItsRangeInEveryMode) {
  for (const int32_t mode : {kFitCombined, kFitIntegral}) {
    SCOPED_TRACE(mode);
    TAniMechanism m;
    m.NewMechanism(6);
    m.Calculate();
    ASSERT_EQ(m.Tracer->Letter, 'K');
    for (int32_t k = 0; k <= 45; k += 5) {
      const TPositionRecord& p = m.Tracer->Positions[k];
      m.Curve.Point(m.Curve.NewPoint()).SetXY(p.X, p.Y);
    }
    m.Curve.Rebuild();
    MoveDesign(m, 'B', 0, 0.02);
    MoveDesign(m, 'C', 0.02, 0);
    m.Calculate();
    ASSERT_EQ(m.Len, 90);
    // Trials that jam the linkage early are solved too; the shown step outlives them.
    m.SetFrame(75);
    TMechOptimize opt;
    opt.Mode = mode;
    opt.MaxIterations = 300;
    opt.Start(m);
    EXPECT_EQ(opt.MinLen, 90);
    const double start = opt.Best;
    ASSERT_LT(start, TMechOptimize::kInfeasible);
    while (!opt.Iterate()) {
    }
    opt.Accept();
    EXPECT_EQ(m.Len, 90);
    EXPECT_EQ(m.CurrentStep, 75);
    EXPECT_LT(opt.Best, 0.5 * start);
    EXPECT_GT(opt.Best, 0) << "every step measured";
  }
}

}  // namespace
}  // namespace quillon
