// The optimisers: parameter table, sweeps with kept step reversals, sweep limits, objectives that
// never rise, and Undo Optimize.
#include "synthesis/engine/MechOptimize.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "synthesis/engine/Fourbar.h"
#include "synthesis/engine/Random.h"
#include "synthesis/engine/SynthOptions.h"
#include "tests/synthesis/engine/KnownFourbar.h"

namespace {

using namespace vesk;

class MechOptimizeTest : public vesktest::TMechanismTest {
 protected:
  // A valid generated candidate on the known four-bar's curve.
  void GenerateValid(TFourbar& m, uint64_t seed) {
    vesktest::FillCurve(curve);
    TRandom random(seed);
    TRandomScope scope(random);
    for (int n = 0; n < 20000; ++n) {
      m.Generate(curve, nullptr, nullptr);
      if (m.Error.Valid) return;
    }
    FAIL() << "no valid candidate";
  }
  TSpline curve;
};

TEST_F(MechOptimizeTest, ParametersAreTheFreeRotationsAtFiveAndNine) {
  TMechanism m;
  m.Links.GetLink(3)->Fixed[9] = true;
  TMechOptimize o;
  o.Mechanism = &m;
  o.BuildParameters();
  // Links 2..4 at 5 and 9, less link 3 at 9.
  ASSERT_EQ(o.Count, 5);
  const int expected[5][2] = {{2, 5}, {2, 9}, {3, 5}, {4, 5}, {4, 9}};
  for (int k = 1; k <= 5; ++k) {
    EXPECT_EQ(o.LinkIndex[k], expected[k - 1][0]) << k;
    EXPECT_EQ(o.Position[k], expected[k - 1][1]) << k;
  }
  EXPECT_NEAR(o.Step[1], 0.029845130209103, 1e-14);
  EXPECT_NEAR(o.Step[3], std::numbers::pi / 400, 1e-15);
}

// An objective of the rotations alone, so that each sweep's moves can be followed.
class TBowl : public TMechOptimize {
 public:
  int evaluations = 0;
  void Evaluate() override {
    ++evaluations;
    const TLinkList& l = Mechanism->Links;
    const double a = l.GetLink(2)->Rot[5] - 0.1;
    const double b = l.GetLink(2)->Rot[9];
    Objective[size_t(Current)] = a * a + b * b;
  }
};

TEST_F(MechOptimizeTest, CoordinateSearchKeepsReversedStepsAndNeverRises) {
  TMechanism m;
  for (int i = 3; i <= 4; ++i) m.Links.GetLink(i)->SetFixedAll(true);
  TBowl o;
  o.Mechanism = &m;
  o.Start();
  ASSERT_EQ(o.Count, 2);
  const double step = o.Step[1];
  // Rot[9] starts at the minimum: both of its moves are worse in every sweep. Each sweep starts
  // with the step the last one left, so its sign flips from sweep to sweep.
  double last = o.Objective[0];
  int sweeps = 0;
  bool done = false;
  while (!done) {
    done = o.Iterate();
    ++sweeps;
    EXPECT_LE(o.Objective[0], last);
    last = o.Objective[0];
    EXPECT_EQ(o.Step[2], sweeps % 2 == 1 ? -step : step) << sweeps;
    EXPECT_EQ(m.Links.GetLink(2)->Rot[9], 0.0);
  }
  // 0.1 lies between three and four steps, nearer three: three moves, then a sweep in which
  // both directions of Rot[5] are worse.
  EXPECT_EQ(sweeps, 4);
  EXPECT_NEAR(m.Links.GetLink(2)->Rot[5], 3 * step, 1e-15);
  EXPECT_EQ(o.Step[1], -step);
  EXPECT_TRUE(o.Done);
  o.Finish();
  EXPECT_TRUE(m.Optimized);
}

TEST_F(MechOptimizeTest, NoFreeRotationEndsAtOnce) {
  TMechanism m;
  for (int i = 1; i <= 4; ++i) m.Links.GetLink(i)->SetFixedAll(true);
  m.Links.GetLink(2)->Rot[5] = 0.3;
  const auto before = m.Links.GetLink(2)->Rot;
  TBowl o;
  o.Mechanism = &m;
  o.Start();
  EXPECT_EQ(o.Count, 0);
  EXPECT_TRUE(o.Iterate());
  EXPECT_EQ(o.Iterations, 1);
  EXPECT_EQ(m.Links.GetLink(2)->Rot, before);
}

TEST_F(MechOptimizeTest, SweepsStayWithinTheirLimitsAndNeverRaiseTheObjective) {
  TFourbar m;
  GenerateValid(m, 99);
  TDyadOptimize dyad;
  dyad.Mechanism = &m;
  dyad.Start();
  EXPECT_EQ(dyad.MaxIter, 4);
  double last = dyad.Objective[0];
  int sweeps = 0;
  while (!dyad.Iterate()) {
    ++sweeps;
    EXPECT_LE(dyad.Objective[0], last);
    last = dyad.Objective[0];
  }
  EXPECT_LE(sweeps + 1, 5);
  EXPECT_LE(dyad.Objective[0], last);

  m.Links.SaveRotations();
  TMechOptimize full;
  full.Mechanism = &m;
  full.Curve = &curve;
  full.Start();
  // Run from the generated candidate: the dyad polish above moved its rotations.
  const double start = full.Objective[0];
  last = start;
  sweeps = 0;
  bool done = false;
  while (!done) {
    done = full.Iterate();
    ++sweeps;
    EXPECT_LE(full.Objective[0], last);
    last = full.Objective[0];
  }
  EXPECT_LE(sweeps, 1001);
  full.Finish();
  EXPECT_TRUE(m.Optimized);
  EXPECT_TRUE(m.Error.Valid);
  EXPECT_EQ(m.Error.Total, full.Objective[0]);
  EXPECT_LE(m.Error.Total, start);
}

// A minimum far out of reach: the sweep limit ends the search.
template <class Base>
class TFarBowl : public Base {
 public:
  void Evaluate() override {
    const double a = this->Mechanism->Links.GetLink(2)->Rot[5] - 1000;
    this->Objective[size_t(this->Current)] = a * a;
  }
};

TEST_F(MechOptimizeTest, SweepLimitEndsASearchThatStillImproves) {
  auto sweepsOf = [](TMechOptimize& o) {
    TMechanism m;
    for (int i = 2; i <= 4; ++i) m.Links.GetLink(i)->SetFixedAll(true);
    m.Links.GetLink(2)->Fixed[5] = false;
    o.Mechanism = &m;
    o.Start();
    int sweeps = 1;
    while (!o.Iterate()) ++sweeps;
    EXPECT_NEAR(m.Links.GetLink(2)->Rot[5], sweeps * o.Step[1], 1e-9);
    return sweeps;
  };
  TFarBowl<TMechOptimize> full;
  TFarBowl<TDyadOptimize> dyad;
  EXPECT_EQ(sweepsOf(full), 1001);
  EXPECT_EQ(sweepsOf(dyad), 5);
}

// A synthesis rated by its input's rotation at 5 alone, which can be told to fail.
class TScriptedSynthesis : public TMechanism {
 public:
  bool Fail = false;
  bool Synthesize() override {
    ++SynthesisCount;
    Error.PP = 1 + std::fabs(Links.GetLink(2)->Rot[5] - 1.0);
    return !Fail;
  }
};

// The last sweep's move is made without a synthesis, so the polish ends with one: a candidate
// that cannot be synthesised where the search ended is not valid.
TEST_F(MechOptimizeTest, DyadPolishEndsValidOnlyWhereItSynthesises) {
  for (const bool fail : {false, true}) {
    SCOPED_TRACE(fail);
    TScriptedSynthesis m;
    for (int i = 2; i <= 4; ++i) m.Links.GetLink(i)->SetFixedAll(true);
    m.Links.GetLink(2)->Fixed[5] = false;
    m.Error.Valid = true;
    TDyadOptimize dyad;
    dyad.Mechanism = &m;
    dyad.Start();
    while (!dyad.Iterate()) {
    }
    // Every one of the five sweeps moved towards 1.
    EXPECT_NEAR(m.Links.GetLink(2)->Rot[5], 5 * dyad.Step[1], 1e-12);
    const int32_t count = m.SynthesisCount;
    m.Fail = fail;
    dyad.Finish();
    EXPECT_EQ(m.SynthesisCount, count + 1);
    EXPECT_EQ(m.Error.Valid, !fail);
  }
}

TEST_F(MechOptimizeTest, UndoOptimizeGivesBackTheGeneratedTotal) {
  TFourbar m;
  GenerateValid(m, 5);
  const double generated = m.Error.Total;
  const auto rotations = m.Links.GetLink(2)->Rot;
  m.Links.SaveRotations();
  TMechOptimize o;
  o.Mechanism = &m;
  o.Curve = &curve;
  o.Start();
  while (!o.Iterate()) {
  }
  o.Finish();
  ASSERT_LT(m.Error.Total, generated);
  m.UndoOptimize(&curve, nullptr, nullptr);
  EXPECT_FALSE(m.Optimized);
  EXPECT_TRUE(m.Error.Valid);
  EXPECT_EQ(m.Links.GetLink(2)->Rot, rotations);
  EXPECT_NEAR(m.Error.Total, generated, 1e-12 * generated);
}

}  // namespace

namespace {

using namespace vesk;

class DyadPolishTest : public vesktest::TMechanismTest {};

// The polish evaluates without areas, so only the link checks act; a rotation set that fails
// them loses the candidate even when the search ends where it started.
TEST_F(DyadPolishTest, LinkCheckFailureOfAnyTrialLosesTheCandidate) {
  TFourbar m;
  vesktest::SetExactPrecision(m);
  ASSERT_TRUE(m.Synthesize());
  const TSynthOptions saved = SynthOptions;
  SynthOptions.MaxLinkLengthOn = true;
  SynthOptions.MaxLinkLength = m.Links.MaxLinkLength() * (1 + 1e-12);
  m.Error.Valid = true;
  m.EvaluateConstraints(nullptr, nullptr);
  ASSERT_TRUE(m.Error.Valid);

  const auto rotations = m.Links.GetLink(3)->Rot;
  m.DyadOptimize.Mechanism = &m;
  m.DyadOptimize.Start();
  while (!m.DyadOptimize.Iterate()) {
  }
  m.DyadOptimize.Finish();
  // The exact rotations have the least precision error: no move was made.
  EXPECT_EQ(m.Links.GetLink(3)->Rot[5], rotations[5]);
  EXPECT_EQ(m.Links.GetLink(3)->Rot[9], rotations[9]);
  EXPECT_FALSE(m.Error.Valid);
  // At the final rotations alone the checks pass.
  m.Error.Valid = true;
  m.EvaluateConstraints(nullptr, nullptr);
  EXPECT_TRUE(m.Error.Valid);
  SynthOptions = saved;
}

}  // namespace
