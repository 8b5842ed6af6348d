// Axis ticks on round display values: the spacing, the widened or kept range, the decimals shown
// and the ranges that cannot be divided; the axes of an x-y graph laid out on them.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "shared/AxisTicks.h"
#include "shared/Convert.h"

namespace shared {
namespace {

class AxisTicksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shared::CreateConvert();
    shared::Convert().SetSystem(shared::usMetric);
  }
  void TearDown() override { shared::FreeConvert(); }
};

TEST_F(AxisTicksTest, TicksFallOnOneTwoOrFiveTimesAPowerOfTen) {
  constexpr double kPi = std::numbers::pi;
  struct TCase {
    const char* what;
    int category;
    double min, max;  // SI
    int intervals;
    bool widen;
    std::vector<double> shown;  // the ticks in display units
  };
  const TCase cases[] = {
      {"plain numbers, widened", shared::cuNone, 0.12, 3.4, 6, true, {0, 1, 2, 3, 4}},
      {"below zero, widened", shared::cuNone, -0.57, 3.4, 6, true, {-1, 0, 1, 2, 3, 4}},
      {"a third of the range is no tick",
       shared::cuAngle,
       -7 * kPi / 180,
       7 * kPi / 180,
       6,
       true,
       {-10, -5, 0, 5, 10}},
      {"a turn in degrees, kept", shared::cuAngle, 0, 2 * kPi, 6, false, {0, 100, 200, 300}},
      {"one second, kept", shared::cuTime, 0, 1, 6, false, {0, 0.2, 0.4, 0.6, 0.8, 1}},
      {"widened past the intervals: the next round step", shared::cuNone, 0.1, 4.1, 4, true, {0, 2, 4, 6}},
      {"no finer than the three decimals shown", shared::cuLength, 0, 1e-7, 6, true, {0, 0.001}},
      {"large values", shared::cuLength, 0, 241.8283, 6, true, {0, 50000, 100000, 150000, 200000, 250000}},
  };
  const shared::TConvert& units = shared::Convert();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    double min = c.min, max = c.max;
    const TAxisTicks ticks = RoundTicks(units, c.category, min, max, c.intervals, c.widen);
    ASSERT_EQ(ticks.Values.size(), c.shown.size());
    for (size_t k = 0; k < c.shown.size(); ++k)
      EXPECT_NEAR(units.FromSI(c.category, ticks.Values[k]), c.shown[k], 1e-9 * (1 + std::fabs(c.shown[k])));
    EXPECT_NEAR(ticks.Step, c.shown[1] - c.shown[0], 1e-12 * ticks.Step);
    if (c.widen) {
      EXPECT_EQ(min, ticks.Values.front());
      EXPECT_EQ(max, ticks.Values.back());
    } else {
      EXPECT_EQ(min, c.min);
      EXPECT_EQ(max, c.max);
    }
  }
}

// Two ticks never print the same number: no finer than the fixed decimals, nor than the
// significant digits at the size of the values.
TEST_F(AxisTicksTest, NeighbouringTicksPrintDifferentNumbers) {
  shared::TConvert& units = shared::Convert();
  struct TCase {
    int category;
    double min, max;  // SI
    bool widen;
    double shownStep;  // display units
  } cases[] = {
      {shared::cuLength, 0, 1e-7, true, 0.001},        // three decimals of a millimetre
      {shared::cuNone, 2.5, 2.5 + 1e-13, true, 1e-6},  // seven digits of a ratio near 2.5
      {shared::cuNone, -0.03, 0.03 + 1e-15, false, 1e-8},
      {shared::cuLength, 12.345, 12.345 + 1e-9, true, 0.01},  // 12345.68 mm: the seventh digit
      {shared::cuNone, 1e10, 1e10 + 1e-3, true, 1e4},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.category << " " << c.min);
    double min = c.min, max = c.max;
    EXPECT_NEAR(
        ShownStep(units, c.category, units.FromSI(c.category, c.min), units.FromSI(c.category, c.max)),
        c.shownStep, 1e-9 * c.shownStep);
    const TAxisTicks ticks = RoundTicks(units, c.category, min, max, 6, c.widen);
    EXPECT_GE(ticks.Step, c.shownStep * (1 - 1e-9));
    for (size_t k = 1; k < ticks.Values.size(); ++k)
      EXPECT_NE(units.FormatSI(c.category, ticks.Values[k - 1]), units.FormatSI(c.category, ticks.Values[k]));
  }
}

TEST_F(AxisTicksTest, ZeroIsShownWithoutASignAndEmptyRangesHaveNoTicks) {
  const shared::TConvert& units = shared::Convert();
  double min = -1, max = 1;
  const TAxisTicks ticks = RoundTicks(units, shared::cuTime, min, max, 4, true);
  std::vector<std::string> shown;
  for (const double value : ticks.Values) shown.push_back(units.FormatSI(shared::cuTime, value));
  EXPECT_EQ(shown, (std::vector<std::string>{"-1.000", "-0.500", "0.000", "0.500", "1.000"}));

  for (const auto& [low, high] : {std::pair{2.0, 2.0}, {3.0, 1.0}, {0.0, INFINITY}, {NAN, 1.0}}) {
    double a = low, b = high;
    EXPECT_TRUE(RoundTicks(units, shared::cuTime, a, b, 6, true).Values.empty()) << low << " " << high;
  }
}

// A nearly flat series far from zero: the round steps that fit its range are far below the
// spacing of doubles there. Such a range gets no ticks (and returns at once) rather than a count
// that never reaches its end; a range that still divides gets its ticks.
TEST_F(AxisTicksTest, RangesTooNarrowForTheirDistanceFromZeroHaveNoTicks) {
  const shared::TConvert& units = shared::Convert();
  struct TCase {
    int category;
    double min, max;
  } hostile[] = {
      {shared::cuLength, 1e10, std::nextafter(1e10, 2e10)},
      {shared::cuNone, 1e10, std::nextafter(1e10, 2e10)},
      {shared::cuLength, -1e12, std::nextafter(-1e12, 0.0)},
      {shared::cuNone, 1e300, std::nextafter(1e300, 2e300)},
  };
  for (const TCase& c : hostile) {
    for (const bool widen : {true, false}) {
      SCOPED_TRACE(::testing::Message() << c.category << " " << c.min << " widen " << widen);
      double min = c.min, max = c.max;
      const TAxisTicks ticks = RoundTicks(units, c.category, min, max, 6, widen);
      EXPECT_LE(ticks.Values.size(), 1u);
      EXPECT_EQ(min, c.min);
      EXPECT_EQ(max, c.max);
    }
  }

  // 1E13 mm to 1E13 + 1E8 mm still divides into round steps of 2E7 mm, which seven significant
  // digits tell apart ("1.000002E13").
  double min = 1e10, max = 1e10 + 1e5;
  const TAxisTicks ticks = RoundTicks(units, shared::cuLength, min, max, 6, true);
  ASSERT_EQ(ticks.Values.size(), 6u);
  EXPECT_EQ(ticks.Step, 2e7);
  for (size_t k = 0; k < ticks.Values.size(); ++k)
    EXPECT_NEAR(ticks.Values[k], 1e10 + 2e4 * static_cast<double>(k), 1e-3);

  // The whole range of doubles: steps of 5E307 without overflow in the spacing.
  double lowest = -std::numeric_limits<double>::max(), highest = std::numeric_limits<double>::max();
  const TAxisTicks all = RoundTicks(units, shared::cuNone, lowest, highest, 6, false);
  ASSERT_FALSE(all.Values.empty());
  for (const double value : all.Values) EXPECT_TRUE(std::isfinite(value));
}

// Texts 8 pixels a character and 10 high.
int EightPixelsACharacter(const std::string& text) { return 8 * int(text.size()); }

// -0.57 .. 3.4 on 155 pixels: room for 11 rows of text, held to 6, is a step of 1 (3.97 / 6 =
// 0.66 rounded up to a round value), widened to -1 .. 4: 31 pixels a unit. x keeps 0 .. 2 on 296
// pixels, 148 a unit.
TEST_F(AxisTicksTest, GraphAxesWidenYToItsTicksAndKeepX) {
  const TGraphSpan span{shared::cuNone, shared::cuNone, 0, 2, -0.57, 3.4, 3};
  const TGraphAxes axes = LayoutGraphAxes(shared::Convert(), span, 296, 155, 10, EightPixelsACharacter, 6, 6);
  ASSERT_TRUE(axes.Drawable);
  EXPECT_EQ(axes.YTicks, (std::vector<double>{-1, 0, 1, 2, 3, 4}));
  EXPECT_EQ(axes.XTicks, (std::vector<double>{0, 0.5, 1, 1.5, 2}));
  EXPECT_EQ(axes.YMin, -1);
  EXPECT_EQ(axes.YMax, 4);
  EXPECT_EQ(axes.XMin, 0);
  EXPECT_EQ(axes.XMax, 2);
  EXPECT_DOUBLE_EQ(axes.XScale, 148);
  EXPECT_DOUBLE_EQ(axes.YScale, 31);
  // Two rows at most: a step of 2 would take -2 .. 4, three of them, so the step is 5.
  EXPECT_EQ(LayoutGraphAxes(shared::Convert(), span, 296, 155, 10, EightPixelsACharacter, 2, 6).YTicks,
            (std::vector<double>{-5, 0, 5}));
}

// A series of one value gets a band of one either way; without points, or with a value no scale
// can hold, there is nothing to plot: no ticks and no scales.
TEST_F(AxisTicksTest, GraphAxesOfFlatEmptyAndInfiniteSeries) {
  const double inf = std::numeric_limits<double>::infinity();
  struct TCase {
    const char* what;
    TGraphSpan span;
    bool drawable;
    double yMin, yMax;  // as plotted
  };
  const TCase cases[] = {
      {"flat", {shared::cuNone, shared::cuNone, 7, 7, 5, 5, 3}, true, 4, 6},
      {"no points", {shared::cuNone, shared::cuNone, 0, 0, 0, 0, 0}, false, -1, 1},
      {"an infinite value", {shared::cuNone, shared::cuNone, 0, 1, 0, inf, 2}, false, 0, inf},
      {"infinite both ways", {shared::cuNone, shared::cuNone, 0, 1, -inf, inf, 2}, false, -inf, inf},
      {"an infinite time", {shared::cuTime, shared::cuNone, 0, inf, 0, 1, 2}, false, 0, 1},
      {"not a number", {shared::cuNone, shared::cuNone, 0, 1, NAN, 1, 2}, false, NAN, 1},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    const TGraphAxes axes = LayoutGraphAxes(shared::Convert(), c.span, 296, 155, 10, EightPixelsACharacter, 6, 6);
    EXPECT_EQ(axes.Drawable, c.drawable);
    EXPECT_EQ(axes.YTicks.empty(), !c.drawable);
    EXPECT_EQ(axes.XTicks.empty(), !c.drawable);
    EXPECT_EQ(axes.XScale > 0, c.drawable);
    if (std::isnan(c.yMin)) {
      EXPECT_TRUE(std::isnan(axes.YMin));
    } else {
      EXPECT_EQ(axes.YMin, c.yMin);
    }
    EXPECT_EQ(axes.YMax, c.yMax);
  }
  // The flat series at 7 spans 6 .. 8 in x and is drawn in the middle of its band.
  const TGraphAxes flat = LayoutGraphAxes(shared::Convert(), cases[0].span, 296, 155, 10, EightPixelsACharacter, 6, 6);
  EXPECT_EQ(flat.XMin, 6);
  EXPECT_EQ(flat.XMax, 8);
  EXPECT_EQ(flat.YTicks, (std::vector<double>{4, 4.5, 5, 5.5, 6}));
}

// A surface that measures texts as nothing, and limits of no rows: one division, no division by 0.
TEST_F(AxisTicksTest, GraphAxesWithTextsOfNoSize) {
  const TGraphSpan span{shared::cuNone, shared::cuNone, 0, 2, 0, 2, 3};
  const TGraphAxes axes = LayoutGraphAxes(
      shared::Convert(), span, 100, 100, -4, [](const std::string&) { return 0; }, 0, 0);
  ASSERT_TRUE(axes.Drawable);
  EXPECT_EQ(axes.YTicks, (std::vector<double>{0, 2}));
  EXPECT_EQ(axes.XTicks, (std::vector<double>{0, 2}));
}

}  // namespace
}  // namespace shared
