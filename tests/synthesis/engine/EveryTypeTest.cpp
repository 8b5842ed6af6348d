// What every chain type owes a kept solution: a synthesis that depends on its rotations alone,
// an optimisation that Undo Optimize takes back to the same total and rank, an animation that
// comes back to the design, and a drag that the next synthesis keeps.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
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

namespace {

using namespace vesk;
using shared::TComplex;

// Samples of the coupler path of a crank-rocker (ground 1, crank 0.3, coupler 0.9, rocker 0.8).
const double kCurve[][2] = {{0.863768221, 0.005722727}, {0.821343882, 0.014989800}, {0.760172590, 0.024885999},
                            {0.686238478, 0.032924822}, {0.605230085, 0.035304690}, {0.522419187, 0.028720371},
                            {0.442806413, 0.011240277}};

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
  }

  // The solutions a seeded run keeps, as the main window's generation hands its candidates to
  // its list, until the list holds the given number.
  void Run(TMechanismList& list, uint8_t type, int32_t kept) {
    SeedRandom(11);
    list.NewType = type;
    for (int32_t k = 0; k < 200000 && list.Count() < kept; ++k) {
      std::unique_ptr<TMechanism> m = list.CreateMechanism();
      m->Generate(curve, nullptr, nullptr);
      list.AddCandidate(std::move(m));
    }
  }

  TSpline curve;
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
      // As the main window optimises: rotations saved, a few sweeps, the list resorted.
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

// The drags that move the linkage against its coupler point: the next synthesis (Optimize's
// first evaluation, Undo Optimize) builds it where it was dropped.
TEST_F(EveryTypeTest, ADraggedLinkageStaysWhereItWasDroppedThroughTheNextSynthesis) {
  struct TCase {
    uint8_t Type;
    int32_t Joint;
  };
  const TComplex d(0.031, -0.017);
  for (const TCase c : {TCase{kWatt1Type, 1}, TCase{kWatt1Type, 6}, TCase{kEightbarType, 1},
                        TCase{kEightbarType, 4}}) {
    SCOPED_TRACE(testing::Message() << "type " << int(c.Type) << ", joint " << c.Joint);
    TMechanismList list;
    Run(list, c.Type, 1);
    ASSERT_EQ(list.Count(), 1);
    TMechanism& m = *list.Items(1);
    m.Joints.Select(c.Joint);
    TComplex dropped = *m.Joints.GetJoint(c.Joint);
    dropped.AddTo(d);
    m.DragJoint(dropped);
    ASSERT_NEAR(m.Joints.GetJoint(c.Joint)->X, dropped.X, 1e-15);
    ASSERT_TRUE(m.Synthesize());
    EXPECT_NEAR(m.Joints.GetJoint(c.Joint)->X, dropped.X, 1e-9);
    EXPECT_NEAR(m.Joints.GetJoint(c.Joint)->Y, dropped.Y, 1e-9);
    // The coupler point stays on the curve's first precision point.
    EXPECT_NEAR(m.Joints.Origin()->X, m.PrecisionPoints.GetPoint(1)->X, 1e-15);
  }
}

}  // namespace
