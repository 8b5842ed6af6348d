// The curve fit on linkages whose exact answer is known: presets whose target curve runs through
// their own tracer's path, with one to three joints moved 5 to 150 mm away. Each case is its own
// test, so ctest runs them side by side.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "animator/engine/AniMechanism.h"
#include "animator/engine/MechOptimize.h"
#include "tests/animator/engine/PathDistance.h"

namespace quillon {
namespace {

struct TMove {
  char Letter;
  double Dx, Dy;
};

struct TDisplaced {
  const char* Name;
  int32_t Type;
  std::vector<TMove> Moves;
  // Whether the integral fit must bring every curve point within 5 mm of the path.
  bool Within5mm;
};

// The curve: the tracer's positions at steps 0, 6, ..., 78 of 90, fourteen points.
const std::vector<TDisplaced>& Family() {
  static const std::vector<TDisplaced> family = {
      {"FourBarE", 0, {{'E', 0.02, -0.015}}, true},
      {"FourBarBD", 0, {{'B', -0.02, 0.03}, {'D', 0.03, 0.03}}, false},
      {"FourBarC", 0, {{'C', 0.04, 0}}, true},
      {"FourBarDUp", 0, {{'D', -0.06, 0.08}}, true},
      {"FourBarDRight", 0, {{'D', 0.05, 0.05}}, true},
      {"FourBarAE", 0, {{'A', 0.01, 0.01}, {'E', -0.05, 0.03}}, true},
      // Jams at step 48 of 90 as it starts.
      {"FourBarBCE", 0, {{'B', 0.005, -0.005}, {'C', -0.03, 0.02}, {'E', 0.08, 0}}, true},
      {"FourBarEFar", 0, {{'E', 0, 0.15}}, true},
      {"FourBarDFar", 0, {{'D', 0.1, -0.05}}, true},
      {"SliderE", 7, {{'E', 0.03, 0.02}}, true},
      {"SliderBE", 7, {{'B', 0.01, 0.01}, {'E', -0.02, 0.04}}, true},
      {"WattOneH", 1, {{'H', 0.04, -0.03}}, true},
      {"WattOneFG", 1, {{'G', 0.04, 0.04}, {'F', -0.03, 0}}, true},
      {"WattTwoEH", 2, {{'E', 0.02, 0}, {'H', -0.03, 0.03}}, true},
      {"StephensonThreeH", 5, {{'H', 0.05, 0.05}}, true},
      {"EightBarKB", 6, {{'K', 0.03, -0.02}, {'B', 0, 0.02}}, false},
  };
  return family;
}

void PrintTo(const TDisplaced& c, std::ostream* out) { *out << c.Name; }

void Build(TAniMechanism& m, const TDisplaced& c) {
  m.NewMechanism(c.Type);
  m.Calculate();
  for (int32_t k = 0; k <= 78; k += 6) {
    const TPositionRecord& p = m.Tracer->Positions[k];
    m.Curve.Point(m.Curve.NewPoint()).SetXY(p.X, p.Y);
  }
  m.Curve.Rebuild();
  for (const TMove& move : c.Moves) {
    TPositionRecord& p = m.Joints[m.FindJoint(move.Letter)]->Positions[0];
    p.X += move.Dx;
    p.Y += move.Dy;
  }
  m.Calculate();
}

TEST(MechOptimizeFamilyTest, TwoThirdsOfTheFamilyMustComeWithin5mm) {
  const auto& family = Family();
  const auto within = std::count_if(family.begin(), family.end(), [](const TDisplaced& c) { return c.Within5mm; });
  EXPECT_GE(family.size(), 12u);
  EXPECT_GE(3 * within, 2 * static_cast<std::ptrdiff_t>(family.size()));
}

class DisplacedLinkageTest : public ::testing::TestWithParam<TDisplaced> {};

// The integral fit, capped at 1500 passes: every case ends no farther from the curve than it
// started by the largest and by the mean point distance, runs at 720 steps the share of its cycle
// it runs at 90, and those marked come within 5 mm.
TEST_P(DisplacedLinkageTest, IntegralFitComesBackToTheCurve) {
  const TDisplaced& c = GetParam();
  TAniMechanism m;
  Build(m, c);
  const enginetest::TPathDistance start = enginetest::MeasureAt720(m);
  ASSERT_GT(start.Largest, 0.005) << "a member of the family starts more than 5 mm away";
  TMechOptimize opt;
  opt.MaxIterations = 1500;
  opt.Start(m);
  const double first = opt.Best;
  while (!opt.Iterate()) {
  }
  opt.Accept();
  m.Calculate();
  const int32_t len = m.Len;
  const enginetest::TPathDistance end = enginetest::MeasureAt720(m);
  EXPECT_LT(opt.Best, first);
  EXPECT_LE(end.Largest, start.Largest);
  EXPECT_LE(end.Mean, start.Mean);
  EXPECT_NEAR(end.Len / 720.0, len / 90.0, 1 / 90.0) << "steps " << end.Len << " of 720, " << len << " of 90";
  if (c.Within5mm) {
    EXPECT_LT(end.Largest, 0.005) << "from " << start.Largest;
  }
}

// The maximum-deviation fit lowers its own measure and never hands back a design farther from the
// curve either.
TEST_P(DisplacedLinkageTest, MaximumDeviationFitComesNoFarther) {
  const TDisplaced& c = GetParam();
  TAniMechanism m;
  Build(m, c);
  const enginetest::TPathDistance start = enginetest::MeasureAt720(m);
  TMechOptimize opt;
  opt.Mode = kFitMaxDeviation;
  opt.MaxIterations = 1500;
  opt.Start(m);
  const double first = opt.Best;
  while (!opt.Iterate()) {
  }
  opt.Accept();
  m.Calculate();
  const enginetest::TPathDistance end = enginetest::MeasureAt720(m);
  EXPECT_LT(opt.Best, first);
  EXPECT_EQ(opt.Best, m.MaxDeviation);
  EXPECT_LE(end.Largest, start.Largest);
  EXPECT_LE(end.Mean, start.Mean);
  EXPECT_NEAR(end.Len / 720.0, m.Len / 90.0, 1 / 90.0);
}

INSTANTIATE_TEST_SUITE_P(Family, DisplacedLinkageTest, ::testing::ValuesIn(Family()),
                         [](const ::testing::TestParamInfo<TDisplaced>& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace quillon
