// What every chain type owes a kept solution: a synthesis that depends on its rotations alone,
// an optimisation that Undo Optimize takes back to the same total and rank, an animation that
// comes back to the design, and a drag that the next synthesis keeps.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <memory>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "synthesis/engine/CMatrix.h"
#include "synthesis/engine/Eightbar.h"
#include "synthesis/engine/FiveBar.h"
#include "synthesis/engine/Fourbar.h"
#include "synthesis/engine/InputFunction.h"
#include "synthesis/engine/MechOptimize.h"
#include "synthesis/engine/MechanismFactory.h"
#include "synthesis/engine/MechanismList.h"
#include "synthesis/engine/Random.h"
#include "synthesis/engine/SixBar.h"
#include "synthesis/engine/Slider.h"
#include "synthesis/engine/Spline.h"
#include "synthesis/engine/SynthOptions.h"

namespace {

using namespace vesk;
using shared::TComplex;

// Samples of the coupler path of a crank-rocker (ground 1, crank 0.3, coupler 0.9, rocker 0.8).
const double kCurve[][2] = {{0.863768221, 0.005722727}, {0.821343882, 0.014989800}, {0.760172590, 0.024885999},
                            {0.686238478, 0.032924822}, {0.605230085, 0.035304690}, {0.522419187, 0.028720371},
                            {0.442806413, 0.011240277}};

// A list written by a build that closed the Stephenson 1's dyads in the former order, for the
// curve above with a 10-step input law: rank 1 synthesises again at its stored rotations (to
// round-off), rank 2 does not synthesise at all.
const char* const kFormerOrderList = SUITE_FIXTURES "/stephenson1-former-closing-order.txt";

const uint8_t kTypes[] = {kFourbarType,      kWatt1Type,   kWatt2Type,  kStephenson1Type,
                          kStephenson3Type, kEightbarType, kSliderType, kFiveBarType};

// Everything a synthesis writes: joints, the rotations at every position, the dyad and
// precision-point errors.
struct TSynthesised {
  std::vector<double> Values;
  static TSynthesised Of(const TMechanism& m) {
    TSynthesised s;
    for (int32_t i = 1; i <= m.Joints.Count(); ++i) {
      s.Values.push_back(m.Joints.GetJoint(i)->X);
      s.Values.push_back(m.Joints.GetJoint(i)->Y);
    }
    for (int32_t i = 1; i <= m.Links.Count(); ++i)
      for (const double r : m.Links.GetLink(i)->Rot) s.Values.push_back(r);
    s.Values.push_back(m.Error.Dyad);
    s.Values.push_back(m.Error.PP);
    s.Values.push_back(m.InputFunction.Xmax());
    return s;
  }
};

class EveryTypeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDefaultInputFunction();
    CreateCMatrix();
    for (const auto& p : kCurve) curve.Add(std::make_unique<TPrePoint>(p[0], p[1]));
    curve.Recalc();
    double out = 0;
    for (const auto& p : kCurve) {
      auto point = std::make_unique<TPrePoint>(p[0], p[1]);
      point->Out = out;
      out += 0.05;
      turningCurve.Add(std::move(point));
    }
    turningCurve.Out = true;
    turningCurve.Recalc();
  }

  // The solutions a seeded run keeps, as the main window's generation hands its candidates to
  // its list, until the list holds the given number.
  void Run(TMechanismList& list, uint8_t type, int32_t kept) { Run(list, type, kept, curve); }
  void Run(TMechanismList& list, uint8_t type, int32_t kept, const TSpline& target) {
    SeedRandom(11);
    list.NewType = type;
    for (int32_t k = 0; k < 200000 && list.Count() < kept; ++k) {
      std::unique_ptr<TMechanism> m = list.CreateMechanism();
      m->Generate(target, nullptr, nullptr);
      list.AddCandidate(std::move(m));
    }
  }

  // As the main window optimises the current solution: its start kept, a few sweeps, the list
  // resorted.
  void Optimize(TMechanismList& list, int32_t sweeps) {
    TMechanism& m = *list.Current;
    ASSERT_EQ(m.StartOptimize(m.SaveDesign(), &curve, nullptr, nullptr), TRating::Rated);
    TMechOptimize o;
    o.Mechanism = &m;
    o.Curve = &curve;
    o.Start();
    o.MaxIter = sweeps;
    while (!o.Iterate()) {
    }
    o.Finish();
    list.Resort();
  }
  // The coupler point stands on precision points 5 and 9 as the input, in `steps` steps each way,
  // reaches its rotations there; the joints come back afterwards.
  static void ExpectOnPrecisionPoints5And9(TMechanism& m, int32_t steps) {
    m.StoreJoints();
    const TLink& input = *m.Links.InputLink;
    ASSERT_TRUE(m.Move(steps, input.Rot[5]));
    EXPECT_NEAR(m.Joints.Origin()->X, m.PrecisionPoints.GetPoint(5)->X, 1e-9);
    EXPECT_NEAR(m.Joints.Origin()->Y, m.PrecisionPoints.GetPoint(5)->Y, 1e-9);
    ASSERT_TRUE(m.Move(steps, input.Rot[9] - input.Rot[5]));
    EXPECT_NEAR(m.Joints.Origin()->X, m.PrecisionPoints.GetPoint(9)->X, 1e-9);
    EXPECT_NEAR(m.Joints.Origin()->Y, m.PrecisionPoints.GetPoint(9)->Y, 1e-9);
    m.RestoreJoints();
  }

  static void ReadFormerOrderList(TMechanismList& list) {
    std::ifstream in(kFormerOrderList, std::ios::binary);
    ASSERT_TRUE(in.good());
    list.Read(in);
    ASSERT_EQ(list.Count(), 2);
  }

  TSpline curve;
  // The same points, with an output body that turns a little along them.
  TSpline turningCurve;
};

TEST_F(EveryTypeTest, KeptSolutionsSynthesiseAgainAtTheirOwnRotations) {
  for (const uint8_t type : kTypes) {
    SCOPED_TRACE(testing::Message() << "type " << int(type));
    TMechanismList list;
    Run(list, type, 20);
    ASSERT_EQ(list.Count(), 20);
    for (int32_t i = 1; i <= list.Count(); ++i) {
      SCOPED_TRACE(i);
      TMechanism& m = *list.Items(i);
      const TSynthesised generated = TSynthesised::Of(m);
      // Twice at the same rotations: the same mechanism to the last bit, the one generated.
      EXPECT_TRUE(m.Synthesize());
      const TSynthesised first = TSynthesised::Of(m);
      EXPECT_TRUE(m.Synthesize());
      EXPECT_EQ(TSynthesised::Of(m).Values, first.Values);
      EXPECT_EQ(first.Values, generated.Values);
    }
  }
}

TEST_F(EveryTypeTest, OptimizeThenUndoOptimizeGivesEveryKeptSolutionBackItsTotalAndRank) {
  for (const uint8_t type : kTypes) {
    SCOPED_TRACE(testing::Message() << "type " << int(type));
    TMechanismList list;
    Run(list, type, 20);
    ASSERT_EQ(list.Count(), 20);
    for (int32_t i = 1; i <= list.Count(); ++i) {
      SCOPED_TRACE(i);
      list.Select(i);
      TMechanism& m = *list.Current;
      const double total = m.Error.Total;
      // The rotations saved alone, as a project read back keeps them: Undo Optimize synthesises
      // again at them.
      m.Links.SaveRotations();
      TMechOptimize o;
      o.Mechanism = &m;
      o.Curve = &curve;
      o.Start();
      o.MaxIter = 2;
      while (!o.Iterate()) {
      }
      o.Finish();
      list.Resort();
      list.UndoOptimize(&curve, nullptr, nullptr);
      EXPECT_TRUE(m.Error.Valid);
      EXPECT_FALSE(m.Optimized);
      EXPECT_EQ(m.Error.Total, total);
      EXPECT_EQ(list.IndexOf(&m), i);
    }
  }
}

TEST_F(EveryTypeTest, AnimationOutAndBackLeavesTheDesign) {
  for (const uint8_t type : kTypes) {
    SCOPED_TRACE(testing::Message() << "type " << int(type));
    TMechanismList list;
    Run(list, type, 1);
    ASSERT_EQ(list.Count(), 1);
    TMechanism& m = *list.Items(1);
    // The cycloidal law takes steps of very different size: a step back by the wrong one shows.
    m.InputFunction.SetFunctionType(kLawCycloidal);
    std::vector<TComplex> design;
    for (int32_t i = 1; i <= m.Joints.Count(); ++i) design.push_back(*m.Joints.GetJoint(i));
    // As the animation runs: out to the last step, back until the first step back fails.
    int32_t out = 0;
    while (m.StepForward()) ++out;
    EXPECT_EQ(out, m.InputFunction.Steps());
    while (m.StepBack()) --out;
    EXPECT_EQ(out, 0);
    m.RestoreJoints();
    // The slider's rocker pivot lies far out: its loop closes to round-off of that length.
    double reach = 1;
    for (const TComplex& j : design) reach = std::max(reach, std::hypot(j.X, j.Y));
    const double tolerance = 1e-12 * reach;
    for (int32_t i = 1; i <= m.Joints.Count(); ++i) {
      EXPECT_NEAR(m.Joints.GetJoint(i)->X, design[size_t(i - 1)].X, tolerance) << i;
      EXPECT_NEAR(m.Joints.GetJoint(i)->Y, design[size_t(i - 1)].Y, tolerance) << i;
    }
  }
}

// Everything a listed solution shows, to the bit.
struct TShown {
  std::vector<double> Values;
  static TShown Of(const TMechanism& m) {
    TShown s{TSynthesised::Of(m).Values};
    for (int32_t i = 1; i <= m.PathPoints.Count(); ++i) {
      const TPathPoint& p = *m.PathPoints.GetPathPoint(i);
      for (const double v : {p.X, p.Y, p.In, p.Out, p.TransAngle, p.Deviation, p.PathLength}) s.Values.push_back(v);
    }
    const TErrorObject& e = m.Error;
    for (const double v : {e.Area, e.Link, e.MinDistGround, e.MinDistCoupler, e.OutRot, e.InRot, e.Total})
      s.Values.push_back(v);
    s.Values.push_back(e.Valid);
    s.Values.push_back(m.Links.Offset.X);
    s.Values.push_back(m.Links.Offset.Y);
    for (const TComplex& v : {m.Links.LoopScale, m.Links.ParallelShift1, m.Links.ParallelShift2}) {
      s.Values.push_back(v.X);
      s.Values.push_back(v.Y);
    }
    return s;
  }
};

// Undo Optimize gives back what the optimisation started from, whatever a synthesis at the saved
// rotations would give now: for a solution of a list an earlier build wrote (whose synthesis today
// differs in the last digits), and for one whose options changed since (nothing runs its path
// under them).
TEST_F(EveryTypeTest, UndoOptimizeGivesBackExactlyWhatTheOptimisationStartedFrom) {
  for (const bool formerBuild : {true, false}) {
    SCOPED_TRACE(formerBuild ? "a list of an earlier build" : "options changed after the optimisation");
    TMechanismList list;
    if (formerBuild) {
      ReadFormerOrderList(list);
      list.Select(1);
    } else {
      Run(list, kFourbarType, 12);
      list.Select(12);
    }
    TMechanism& m = *list.Current;
    const int32_t rank = list.IndexOf(&m);
    const TShown start = TShown::Of(m);
    Optimize(list, 3);
    ASSERT_TRUE(m.Optimized);
    ASSERT_NE(TShown::Of(m).Values, start.Values);
    const double minAngle = SynthOptions.MinTransAngle;
    if (!formerBuild) SynthOptions.MinTransAngle = std::numbers::pi / 2;
    EXPECT_EQ(list.UndoOptimize(&curve, nullptr, nullptr), TUndoOptimize::Restored);
    SynthOptions.MinTransAngle = minAngle;
    EXPECT_FALSE(m.Optimized);
    EXPECT_EQ(TShown::Of(m).Values, start.Values);
    EXPECT_EQ(list.IndexOf(&m), rank);
    // Once only: the next Undo Optimize has nothing to undo.
    EXPECT_EQ(list.UndoOptimize(&curve, nullptr, nullptr), TUndoOptimize::NothingToUndo);
  }
}

// An optimisation compares every move with its start: one whose start cannot be synthesised at its
// own rotations does not begin and changes nothing. A solution read back from a project keeps its
// saved rotations only: Undo Optimize synthesises it again there, and where that fails it stays as
// optimised.
TEST_F(EveryTypeTest, AnOptimisationWhoseStartCannotBeSynthesisedChangesNothing) {
  TMechanismList list;
  ReadFormerOrderList(list);
  TMechanism& lost = *list.Items(2);
  const TShown read = TShown::Of(lost);
  const auto saved = lost.Links.GetLink(2)->SavedRot;
  EXPECT_EQ(lost.StartOptimize(lost.SaveDesign(), &curve, nullptr, nullptr), TRating::NotSynthesised);
  EXPECT_EQ(TShown::Of(lost).Values, read.Values);
  EXPECT_EQ(lost.Links.GetLink(2)->SavedRot, saved);
  EXPECT_FALSE(lost.HasOptimizeStart());
  EXPECT_FALSE(lost.IsModified());

  // As an earlier build's optimisation left it: optimised, its start's rotations saved.
  lost.Links.SaveRotations();
  lost.Optimized = true;
  list.Select(2);
  EXPECT_EQ(list.UndoOptimize(&curve, nullptr, nullptr), TUndoOptimize::NotRebuilt);
  EXPECT_TRUE(lost.Optimized);
  EXPECT_EQ(TShown::Of(lost).Values, read.Values);
  EXPECT_EQ(list.IndexOf(&lost), 2);

  // Optimised here, written and read back: the start is synthesised again at the saved rotations,
  // the linkage it was to the record's digits, rated as today's build rates it (the record's own
  // total is the earlier build's).
  list.Select(1);
  TMechanism& kept = *list.Current;
  const std::vector<double> start = TSynthesised::Of(kept).Values;
  const std::unique_ptr<TMechanism> rated = kept.Clone();
  ASSERT_EQ(rated->Rate(&curve, nullptr, nullptr), TRating::Rated);
  const double total = rated->Error.Total;
  Optimize(list, 3);
  std::stringstream file;
  list.Write(file);
  TMechanismList back;
  back.Read(file);
  back.Select(1);
  ASSERT_TRUE(back.Current->Optimized);
  EXPECT_EQ(back.UndoOptimize(&curve, nullptr, nullptr), TUndoOptimize::Rebuilt);
  EXPECT_FALSE(back.Current->Optimized);
  EXPECT_TRUE(back.Current->Error.Valid);
  EXPECT_NEAR(back.Current->Error.Total, total, 1e-12 * total);
  const std::vector<double> rebuilt = TSynthesised::Of(*back.Current).Values;
  ASSERT_EQ(rebuilt.size(), start.size());
  for (size_t i = 0; i < kept.Joints.Count() * 2u; ++i) EXPECT_NEAR(rebuilt[i], start[i], 1e-12) << i;
}

// Every drag rule, and a Watt 1 whose output body turns: the next synthesis (Optimize's first
// evaluation, Undo Optimize, a project read back) builds the linkage where it was dropped.
TEST_F(EveryTypeTest, ADraggedLinkageStaysWhereItWasDroppedThroughTheNextSynthesis) {
  struct TCase {
    uint8_t Type;
    int32_t Joint;
    bool Turning;
  };
  const TCase cases[] = {{kWatt1Type, 1, false},   {kWatt1Type, 6, false},    {kWatt1Type, 1, true},
                         {kWatt1Type, 3, true},    {kWatt1Type, 7, true},     {kWatt2Type, 1, false},
                         {kEightbarType, 1, false}, {kEightbarType, 4, false}, {kEightbarType, 6, false},
                         {kEightbarType, 7, false}, {kEightbarType, 8, false}, {kEightbarType, 9, false}};
  const TComplex d(0.031, -0.017);
  for (const TCase c : cases) {
    SCOPED_TRACE(testing::Message() << "type " << int(c.Type) << ", joint " << c.Joint
                                    << (c.Turning ? ", turning output body" : ""));
    TMechanismList list;
    Run(list, c.Type, 1, c.Turning ? turningCurve : curve);
    ASSERT_EQ(list.Count(), 1);
    TMechanism& m = *list.Items(1);
    if (c.Turning) {
      const auto& rot = m.Links.OutputLink->Rot;
      ASSERT_TRUE(std::any_of(rot.begin() + 2, rot.end(), [](double r) { return std::fabs(r) > 0.01; }));
    }
    m.Joints.Select(c.Joint);
    TComplex dropped = *m.Joints.GetJoint(c.Joint);
    dropped.AddTo(d);
    m.DragJoint(dropped);
    ASSERT_NEAR(m.Joints.GetJoint(c.Joint)->X, dropped.X, 1e-12);
    ASSERT_NEAR(m.Joints.GetJoint(c.Joint)->Y, dropped.Y, 1e-12);
    const TComplex origin = *m.Joints.Origin();
    std::vector<TComplex> shown;
    for (int32_t i = 1; i <= m.Joints.Count(); ++i) shown.push_back(*m.Joints.GetJoint(i));

    // Through a synthesis, and through the list file and a synthesis of what it reads.
    std::stringstream file;
    m.Write(file);
    std::unique_ptr<TMechanism> read = NewMechanism(c.Type);
    read->Read(file);
    for (TMechanism* again : {&m, read.get()}) {
      SCOPED_TRACE(again == &m ? "synthesised" : "read back and synthesised");
      ASSERT_TRUE(again->Synthesize());
      for (int32_t i = 1; i <= again->Joints.Count(); ++i) {
        EXPECT_NEAR(again->Joints.GetJoint(i)->X, shown[size_t(i - 1)].X, 1e-9) << "joint " << i;
        EXPECT_NEAR(again->Joints.GetJoint(i)->Y, shown[size_t(i - 1)].Y, 1e-9) << "joint " << i;
      }
      // The coupler point stays on the curve's first precision point.
      EXPECT_NEAR(again->Joints.Origin()->X, origin.X, 1e-15);
      EXPECT_NEAR(again->Joints.Origin()->Y, origin.Y, 1e-15);
    }
  }
}

// A drop is taken only while the linkage it leaves still passes the precision points: the turning
// Watt 1 is that synthesis, its path runs through them, it is rated for that path, and it turns
// back under the reverse drag.
TEST_F(EveryTypeTest, ATurningWatt1DroppedIsTheLinkageThatPassesItsPrecisionPoints) {
  TMechanismList list;
  Run(list, kWatt1Type, 1, turningCurve);
  ASSERT_EQ(list.Count(), 1);
  TMechanism& m = *list.Items(1);
  std::vector<TComplex> design;
  for (int32_t i = 1; i <= m.Joints.Count(); ++i) design.push_back(*m.Joints.GetJoint(i));
  const double area = m.Error.Area;
  m.Joints.Select(2);
  const TComplex start = *m.Joints.GetJoint(2);
  auto drop = [&](const TComplex& at) { return m.DropJoint(at, &turningCurve, nullptr, nullptr); };
  // A small drag in steps, as the mouse moves, and back to where it started.
  for (int32_t k = 1; k <= 10; ++k) ASSERT_EQ(drop(TComplex(start.X + 0.002 * k, start.Y - 0.001 * k)), TDrop::Taken);
  EXPECT_NEAR(m.Joints.GetJoint(2)->X, start.X + 0.02, 1e-12);
  // The coupler point stands on precision points 5 and 9, where the output body's rotations are
  // met exactly, as the input reaches its rotations there.
  ExpectOnPrecisionPoints5And9(m, 50);
  if (HasFatalFailure()) return;
  // The path drawn is the dragged linkage's: it ends on the last precision point.
  ASSERT_GT(m.PathPoints.Count(), 1);
  const TPathPoint& last = *m.PathPoints.GetPathPoint(m.PathPoints.Count());
  EXPECT_NEAR(last.X, m.PrecisionPoints.GetPoint(9)->X, 1e-6);
  EXPECT_NEAR(last.Y, m.PrecisionPoints.GetPoint(9)->Y, 1e-6);
  // Its error terms are that path's: the deviation from the curve changed with it, and a copy
  // rated afresh comes to the same total.
  EXPECT_NE(m.Error.Area, area);
  const std::unique_ptr<TMechanism> fresh = m.Clone();
  ASSERT_EQ(fresh->Rate(&turningCurve, nullptr, nullptr), TRating::Rated);
  EXPECT_EQ(m.Error.Area, fresh->Error.Area);
  EXPECT_EQ(m.Error.Total, fresh->Error.Total);
  ASSERT_EQ(drop(start), TDrop::Taken);
  for (int32_t i = 1; i <= m.Joints.Count(); ++i) {
    EXPECT_NEAR(m.Joints.GetJoint(i)->X, design[size_t(i - 1)].X, 1e-9) << i;
    EXPECT_NEAR(m.Joints.GetJoint(i)->Y, design[size_t(i - 1)].Y, 1e-9) << i;
  }
  // A drop where the linkage would not run its path is not taken: with a transmission angle no
  // linkage reaches, none is.
  const double minAngle = SynthOptions.MinTransAngle;
  SynthOptions.MinTransAngle = std::numbers::pi / 2;
  EXPECT_EQ(drop(TComplex(start.X + 0.01, start.Y)), TDrop::PathNotRun);
  SynthOptions.MinTransAngle = minAngle;
  for (int32_t i = 1; i <= m.Joints.Count(); ++i) {
    EXPECT_NEAR(m.Joints.GetJoint(i)->X, design[size_t(i - 1)].X, 1e-9) << i;
    EXPECT_NEAR(m.Joints.GetJoint(i)->Y, design[size_t(i - 1)].Y, 1e-9) << i;
  }
  // Nor while the animation stands away from the design: the drag builds a design, not a pose.
  ASSERT_TRUE(m.StepForward());
  const TComplex posed = *m.Joints.GetJoint(2);
  EXPECT_EQ(drop(TComplex(posed.X + 0.01, posed.Y)), TDrop::Posed);
  EXPECT_EQ(m.Joints.GetJoint(2)->X, posed.X);
  m.RestoreJoints();
  EXPECT_NEAR(m.Joints.GetJoint(2)->X, start.X, 1e-9);
}

// A drop is rated again: an eight-bar parallelogram moved half a curve length either leaves a
// linkage that runs its whole path through the precision points, rated for that path and sorted
// to its place, or it is refused and the solution stays as it was.
TEST_F(EveryTypeTest, AParallelogramDropIsRatedAgainAndSortedOrRefused) {
  TMechanismList list;
  Run(list, kEightbarType, 9);
  ASSERT_EQ(list.Count(), 9);
  std::vector<TMechanism*> solutions;
  std::vector<std::unique_ptr<TMechanism>> designs;
  for (int32_t i = 1; i <= list.Count(); ++i) {
    solutions.push_back(list.Items(i));
    designs.push_back(list.Items(i)->Clone());
  }
  int taken = 0, refused = 0;
  for (size_t s = 0; s < solutions.size(); ++s) {
    for (const int32_t joint : {6, 7, 8, 9}) {
      for (int32_t direction = 0; direction < 4; ++direction) {
        SCOPED_TRACE(testing::Message() << "solution " << s + 1 << ", joint " << joint << ", direction " << direction);
        // Each drop from the generated design, in its place in the list.
        TMechanism& m = *solutions[s];
        m.Assign(*designs[s]);
        list.Select(list.IndexOf(&m));
        list.Resort();
        const int32_t rank = list.IndexOf(&m);
        const TShown before = TShown::Of(m);
        m.Joints.Select(joint);
        TComplex d;
        d.SetPolar(0.5 * curve.CurveLength, direction * std::numbers::pi / 2);
        TComplex dropped = *m.Joints.GetJoint(joint);
        dropped.AddTo(d);
        const TDrop drop = list.DropJoint(dropped, &curve, nullptr, nullptr);
        if (drop != TDrop::Taken) {
          ++refused;
          EXPECT_EQ(drop, TDrop::PathNotRun);
          EXPECT_EQ(TShown::Of(m).Values, before.Values);
          EXPECT_EQ(list.IndexOf(&m), rank);
          continue;
        }
        ++taken;
        EXPECT_NEAR(m.Joints.GetJoint(joint)->X, dropped.X, 1e-9);
        EXPECT_NEAR(m.Joints.GetJoint(joint)->Y, dropped.Y, 1e-9);
        // The linkage passes precision points 5 and 9 as its input reaches its rotations there.
        ExpectOnPrecisionPoints5And9(m, 60);
        if (HasFatalFailure()) return;
        // The path listed is the one its input steps it through.
        std::vector<TComplex> stepped{*m.Joints.Origin()};
        while (m.StepForward()) stepped.push_back(*m.Joints.Origin());
        m.RestoreJoints();
        ASSERT_EQ(int32_t(stepped.size()), m.PathPoints.Count());
        for (size_t i = 0; i < stepped.size(); ++i) {
          EXPECT_NEAR(m.PathPoints.GetPathPoint(int32_t(i + 1))->X, stepped[i].X, 1e-12) << i;
          EXPECT_NEAR(m.PathPoints.GetPathPoint(int32_t(i + 1))->Y, stepped[i].Y, 1e-12) << i;
        }
        // Its terms are that linkage's, and the list ranks it by them.
        const std::unique_ptr<TMechanism> fresh = m.Clone();
        ASSERT_EQ(fresh->Rate(&curve, nullptr, nullptr), TRating::Rated);
        EXPECT_EQ(m.Error.Total, fresh->Error.Total);
        EXPECT_TRUE(m.Error.Valid);
        for (int32_t i = 2; i <= list.Count(); ++i)
          EXPECT_LE(list.Items(i - 1)->Error.Total, list.Items(i)->Error.Total) << i;
      }
    }
  }
  // Both happen among these drags.
  EXPECT_GT(taken, 0);
  EXPECT_GT(refused, 0);
}

}  // namespace
