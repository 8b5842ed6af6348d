// The linkage posed between two solved steps: at the steps themselves it is the solution, and
// half a step on it is the closed-form pose of the crank turned that far, for a four-bar under a
// law that is not linear in time, a slider crank and the second loop of a six-bar.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "animator/engine/AniMechanism.h"
#include "animator/engine/SubStep.h"
#include "tests/animator/engine/FourBarPose.h"

namespace quillon {
namespace {

using namespace enginetest;

TPoint Where(const TAniMechanism& m, char letter) {
  const shared::TComplex& p = m.Between.At(m.FindJoint(letter));
  return {p.X, p.Y};
}

TPoint At(const TAniMechanism& m, char letter, int32_t k) {
  const TPositionRecord& p = m.Joint(m.FindJoint(letter)).Positions[k];
  return {p.X, p.Y};
}

void ExpectNear(TPoint actual, TPoint expected, double tol, const std::string& what) {
  EXPECT_NEAR(actual.X, expected.X, tol) << what;
  EXPECT_NEAR(actual.Y, expected.Y, tol) << what;
}

// The default four-bar driven by one 3-4-5 polynomial turn: half a step on, the crank has turned
// by the law at that time, and coupler and coupler point stand where the closed form puts them.
TEST(SubStepTest, FourBarHalfAStepOnFollowsItsLaw) {
  TAniMechanism m;
  m.Input(0).Section(0)->SetValues(kLawPolynomial345, 1, 2 * kPi);
  m.Input(0).Prepare();
  m.Calculate();
  ASSERT_EQ(m.Len, 90);
  ASSERT_EQ(m.Between.Count(), 1);
  const TFourBar bar{At(m, 'A', 0), At(m, 'B', 0), At(m, 'C', 0), At(m, 'D', 0), At(m, 'E', 0)};
  const TInputFunction& input = m.Input(0);
  for (const int32_t k : {1, 17, 45, 90}) {
    const std::string step = "step " + std::to_string(k);
    for (const double t : {0.0, 1.0}) {
      ASSERT_TRUE(m.Between.Pose(m, k, t, 1));
      for (const char letter : std::string("ABCDE"))
        ExpectNear(Where(m, letter), At(m, letter, k - 1 + static_cast<int32_t>(t)), 1e-12,
                   step + " " + letter);
    }
    ASSERT_TRUE(m.Between.Pose(m, k, 0.5, 1));
    TPoint b, c, e;
    ASSERT_TRUE(bar.Pose(input.Position((k - 0.5) * input.TimeStep()), b, c, e));
    ExpectNear(Where(m, 'B'), b, 1e-12, step + " B");
    ExpectNear(Where(m, 'C'), c, 1e-9, step + " C");
    ExpectNear(Where(m, 'E'), e, 1e-9, step + " E");
  }
  // Without a dyad only the frame and the crank are posed.
  ASSERT_TRUE(m.Between.Pose(m, 10, 0.5, 0));
  ExpectNear(Where(m, 'A'), At(m, 'A', 0), 0, "frame");
  // An input whose law was taken away drives by the table it keeps: half a step on is half its
  // increment.
  m.Input(0).Clear();
  ASSERT_EQ(m.Input(0).Count(), 0);
  m.Calculate();
  ASSERT_TRUE(m.Between.Pose(m, 30, 0.5, 1));
  const double half = (input.ValueOfStep(29) + input.ValueOfStep(30)) / 2 - input.ValueOfStep(0);
  TPoint b, c, e;
  ASSERT_TRUE(bar.Pose(half, b, c, e));
  ExpectNear(Where(m, 'B'), b, 1e-12, "B by the table");
  ExpectNear(Where(m, 'C'), c, 1e-9, "C by the table");
}

// The preset slider crank: its block keeps its offset across the second link, which keeps its
// direction, so half a step on the block lies on its line where the coupler reaches it.
TEST(SubStepTest, SliderCrankHalfAStepOnKeepsItsSlide) {
  TAniMechanism m;
  m.NewMechanism(7);
  m.Calculate();
  ASSERT_EQ(m.Len, 90);
  const TPoint a = At(m, 'A', 0), b0 = At(m, 'B', 0), c0 = At(m, 'C', 0), d0 = At(m, 'D', 0);
  const TPoint cd = Sub(d0, c0);
  const double coupler = Len(Sub(c0, b0)), slide = Len(cd);
  const TPoint w{cd.X / slide, cd.Y / slide}, across{-w.Y, w.X};
  for (const int32_t k : {3, 40, 77}) {
    ASSERT_TRUE(m.Between.Pose(m, k, 0.5, 1));
    const TPoint b = Add(a, Turn(Sub(b0, a), 2 * kPi * (k - 0.5) / 90));
    ExpectNear(Where(m, 'B'), b, 1e-12, "B");
    // C = c0 + s across at the coupler's length from B, on the side the steps run on.
    const TPoint bc0 = Sub(c0, b);
    const double along = Dot(bc0, w), root = std::sqrt(coupler * coupler - along * along);
    const double side = Dot(Sub(At(m, 'C', k), b), across) >= 0 ? 1 : -1;
    const TPoint c =
        Add(c0, {across.X * (side * root - Dot(bc0, across)), across.Y * (side * root - Dot(bc0, across))});
    ExpectNear(Where(m, 'C'), c, 1e-12, "C at " + std::to_string(k));
    ExpectNear(Where(m, 'D'), Add(c, cd), 1e-12, "D at " + std::to_string(k));
  }
}

// The Watt six-bar preset without coupler point: the rocker CDE of the first loop carries E, the
// base of the second dyad EF-FG. Half a step on, E stands where the first loop's closed form puts
// it, and F closes the second loop on the branch it runs on.
TEST(SubStepTest, SecondLoopOfASixBarHalfAStepOn) {
  TAniMechanism m;
  m.NewMechanism(10);
  m.Calculate();
  ASSERT_EQ(m.Len, 90);
  ASSERT_EQ(m.Between.Count(), 2);
  const TFourBar first{At(m, 'A', 0), At(m, 'B', 0), At(m, 'C', 0), At(m, 'D', 0), At(m, 'C', 0)};
  const TPoint d = At(m, 'D', 0), e0 = At(m, 'E', 0), g = At(m, 'G', 0);
  const double ef = Len(Sub(At(m, 'F', 0), e0)), fg = Len(Sub(At(m, 'F', 0), g));
  for (const int32_t k : {5, 50, 89}) {
    ASSERT_TRUE(m.Between.Pose(m, k, 0.5, 2));
    TPoint b, c, unused;
    ASSERT_TRUE(first.Pose(2 * kPi * (k - 0.5) / 90, b, c, unused));
    const TPoint e = Add(d, Turn(Sub(e0, d), first.RockerTurn(c)));
    ExpectNear(Where(m, 'E'), e, 1e-9, "E at " + std::to_string(k));
    const TPoint f = Where(m, 'F');
    EXPECT_NEAR(Len(Sub(f, e)), ef, 1e-9);
    EXPECT_NEAR(Len(Sub(f, g)), fg, 1e-9);
    EXPECT_LT(Len(Sub(f, At(m, 'F', k))), Len(Sub(At(m, 'F', k - 1), At(m, 'F', k))) + 1e-12);
  }
}

}  // namespace
}  // namespace quillon
