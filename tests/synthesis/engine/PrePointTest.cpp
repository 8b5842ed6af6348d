// Curve points and precision points: records, the animator's curve point line, drawing, and
// the nine precision points placed along a curve by one random draw.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <sstream>

#include "shared/PrePoint.h"
#include "synthesis/engine/PrePoint.h"
#include "synthesis/engine/Spline.h"
#include "tests/synthesis/engine/RecordText.h"
#include "tests/synthesis/engine/ScriptedRandom.h"
#include "tests/synthesis/engine/SynthCanvas.h"

using namespace vesk;
using shared::TComplex;
using vesk::test::TScriptedRandom;
using vesktest::Lines;
using vesktest::ReadError;

namespace {

std::string Written(const TComplexPoint& p) {
  std::ostringstream out;
  p.WriteToText(out);
  return out.str();
}

std::string Written(TComplexPointList& list) {
  std::ostringstream out;
  list.Write(out);
  return out.str();
}

// A curve of four points with output rotations and a fixed ID.
void FillCurve(TSpline& curve) {
  const double xy[4][3] = {{0, 0, 0}, {0.2, 0.1, 0.5}, {0.4, 0.05, 0.25}, {0.5, 0.3, 1}};
  for (const auto& p : xy) {
    auto point = std::make_unique<TPrePoint>(p[0], p[1]);
    point->Out = p[2];
    curve.Add(std::move(point));
  }
  curve.Out = true;
  curve.InTotal = true;
  curve.TotalIn = 3;
  TRandom fixed(3);
  TRandomScope scope(fixed);
  curve.Recalc();
  curve.ID = 555;
}

TEST(PrePointTest, RecordRoundTripsByteForByte) {
  TPrePoint p(0.5, -0.25);
  p.Direction.SetXY(3, 4);
  p.In = 0.125;
  p.Out = -1;
  p.s = 0.75;
  const std::string text = Written(p);
  EXPECT_EQ(text, Lines({"0", "0", "[Vector]", "2  5.00000000000000E-0001 -2.50000000000000E-0001", "0 Inf",
                         "0", "[Vector]", "2  3.00000000000000E+0000  4.00000000000000E+0000",
                         " 1.25000000000000E-0001 In", "-1.00000000000000E+0000 Out",
                         " 7.50000000000000E-0001 s"}));
  TPrePoint back;
  std::istringstream in(text);
  back.ReadFromText(in);
  EXPECT_EQ(back.Direction.Y, 4);
  EXPECT_EQ(back.s, 0.75);
  EXPECT_EQ(Written(back), text);
  vesktest::ExpectDamageRefused(text, [](std::istream& s) { TPrePoint().ReadFromText(s); });
}

TEST(PrePointTest, AssignCloneAndTheCurvePointLine) {
  TPrePoint p(1, 2);
  p.Direction.SetXY(0.6, 0.8);
  p.In = 0.1;
  p.Out = 0.2;
  p.s = 0.3;
  std::unique_ptr<TComplexPoint> clone(static_cast<const TComplexPoint&>(p).Clone());
  const auto* copy = dynamic_cast<TPrePoint*>(clone.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->Direction.X, 0.6);
  EXPECT_EQ(copy->s, 0.3);
  TPrePoint q;
  q.In = 5;
  q.Assign(TComplexPoint(7, 8));  // a plain point brings its position only
  EXPECT_EQ(q.X, 7);
  EXPECT_EQ(q.In, 5);

  // The line that the animator reads back into its own curve point.
  shared::TTabLines lines;
  p.WriteCurveRecord(lines);
  ASSERT_EQ(lines.Lines.size(), 1u);
  lines.ReadPosition = 0;
  ASSERT_TRUE(lines.ReadLine());
  EXPECT_EQ(lines.FieldCount, 7);
  shared::TPrePoint animator;
  animator.ReadTabLine(lines);
  EXPECT_EQ(animator.X, 1);
  EXPECT_EQ(animator.Y, 2);
  EXPECT_EQ(animator.Direction.X, 0.6);
  EXPECT_EQ(animator.Direction.Y, 0.8);
  EXPECT_EQ(animator.In, 0.1);
  EXPECT_EQ(animator.Out, 0.2);
  EXPECT_EQ(animator.s, 0.3);
}

TEST(PrePointTest, DrawsItsOutputRotationUnlessTheCurveHasNone) {
  vesktest::TSynthView view;
  TPrePointList points;
  auto p = std::make_unique<TPrePoint>(1, 0);
  p->Out = std::numbers::pi / 6;  // 36 cos 30 = 31.18, 36 sin 30 = 18
  points.Add(std::move(p));
  points.Draw(view.canvas);
  EXPECT_TRUE(view.box.Screen.Logged({"M 300,200", "L 331,182"}));
  EXPECT_EQ(view.box.Screen.CountOf("Text"), 1);  // the label

  TSpline curve;
  curve.Add(std::make_unique<TPrePoint>(1, 0));
  curve.GetPoint(1)->Out = std::numbers::pi / 6;
  view.log.clear();
  curve.Draw(view.canvas);
  EXPECT_FALSE(view.box.Screen.Logged({"L 331,182"}));
  curve.Out = true;
  curve.Draw(view.canvas);
  EXPECT_TRUE(view.box.Screen.Logged({"M 300,200", "L 331,182"}));
}

TEST(PrePointListTest, ListsTakeCurvePointsOnly) {
  TPrePointList points;
  EXPECT_EQ(points.Name, "Points");
  EXPECT_EQ(points.Capacity(), 9);
  EXPECT_EQ(points.ID, -2);
  points.Add(std::make_unique<TComplexPoint>(3, 4));
  ASSERT_NE(points.GetPoint(1), nullptr);
  EXPECT_EQ(points.GetPoint(1)->X, 3);
  TSpline curve;
  curve.Add(std::make_unique<TComplexPoint>(5, 6));
  ASSERT_NE(curve.GetPoint(1), nullptr);
  EXPECT_EQ(curve.GetPoint(1)->Y, 6);
}

TEST(PrePointListTest, FromSplinePlacesNinePointsByOneDraw) {
  TSpline curve;
  FillCurve(curve);
  for (const double r : {0.0, 0.5, 0.9999999}) {
    TPrePointList points;
    TScriptedRandom draws{r};
    TRandomScope scope(draws);
    points.FromSpline(curve);
    EXPECT_EQ(draws.Taken(), 1u);
    EXPECT_EQ(draws.Requests, std::vector<int32_t>{TScriptedRandom::kUniform});
    ASSERT_EQ(points.Count(), 9);
    EXPECT_EQ(points.ID, 555);
    EXPECT_TRUE(points.Out && points.InTotal);
    EXPECT_FALSE(points.In || points.OutTotal);
    EXPECT_EQ(points.TotalIn, 3);
    EXPECT_FALSE(points.ZeroOutRotations);
    EXPECT_EQ(points.Selected(), nullptr);
    const double a = 0.1 + 0.8 * r;
    const double s[9] = {0, a / 4, a / 2, 3 * a / 4, a, a + (1 - a) / 4, a + (1 - a) / 2, a + 3 * (1 - a) / 4,
                         1};
    for (int i = 1; i <= 9; ++i) {
      const TPrePoint& p = *points.GetPoint(i);
      EXPECT_NEAR(p.s, s[i - 1], 1e-15) << i;
      TPrePoint expected;
      curve.PointAt(expected, p.s);
      EXPECT_EQ(p.X, expected.X);
      EXPECT_EQ(p.Y, expected.Y);
      EXPECT_EQ(p.Out, expected.Out);
      EXPECT_NEAR(p.In, 3 * s[i - 1], 1e-14);  // the total input rotation in proportion
    }
    EXPECT_EQ(points.GetPoint(1)->X, 0);
    EXPECT_NEAR(points.GetPoint(9)->X, 0.5, 1e-15);
    EXPECT_NEAR(points.GetPoint(9)->Y, 0.3, 1e-15);
  }
  // Output rotations all 0 are told to the mechanism.
  for (int i = 1; i <= curve.Count(); ++i) curve.GetPoint(i)->Out = 0;
  TPrePointList points;
  points.FromSpline(curve);
  EXPECT_TRUE(points.ZeroOutRotations);
  // A curve of one point leaves the points as they are, and draws nothing.
  TSpline single;
  single.Add(std::make_unique<TPrePoint>(0, 0));
  TScriptedRandom none;
  TRandomScope scope(none);
  points.FromSpline(single);
  EXPECT_EQ(points.Count(), 9);
  EXPECT_EQ(points.ID, 555);
}

// On a closed curve point 9 would be point 1 again: the nine take 8/9 of the loop instead, and
// the record, of version 1 then, says so.
TEST(PrePointListTest, OnAClosedCurveTheNineTakeEightNinthsOfTheLoop) {
  TSpline curve;
  for (const auto& [x, y] : {std::pair{0.0, 0.0}, {1.0, 0.0}, {1.0, 1.0}, {0.0, 1.0}, {0.0, 0.0}})
    curve.Add(std::make_unique<TPrePoint>(x, y));
  curve.InTotal = true;
  curve.TotalIn = 2 * std::numbers::pi;
  curve.Recalc();
  ASSERT_TRUE(curve.IsClosed());
  TPrePointList points;
  TScriptedRandom draws{0.5};
  {
    TRandomScope scope(draws);
    points.FromSpline(curve);
  }
  EXPECT_EQ(draws.Taken(), 1u);
  ASSERT_EQ(points.Count(), 9);
  EXPECT_TRUE(points.Closed);
  // a = 0.5: evenly round the loop, as if a tenth point closed it.
  for (int i = 1; i <= 9; ++i) {
    const TPrePoint& p = *points.GetPoint(i);
    EXPECT_NEAR(p.s, (i - 1) / 9.0, 1e-15) << i;
    EXPECT_NEAR(p.In, (i - 1) / 9.0 * 2 * std::numbers::pi, 1e-14) << i;
  }
  TPrePoint end;
  curve.PointAt(end, 8.0 / 9);
  EXPECT_EQ(points.GetPoint(9)->X, end.X);
  EXPECT_EQ(points.GetPoint(9)->Y, end.Y);
  // On the square's last side, well away from point 1.
  EXPECT_NEAR(points.GetPoint(9)->X, 0, 0.2);
  EXPECT_GT(points.GetPoint(9)->Y, 0.3);

  const std::string text = Written(points);
  const auto lines = shared::SplitTextLines(text);
  const std::vector<std::string> tail(lines.end() - 10, lines.end());
  EXPECT_EQ(tail.front(), "1");
  EXPECT_EQ(tail.back(), "1 Closed");
  TPrePointList back;
  std::istringstream in(text);
  back.Read(in);
  EXPECT_TRUE(back.Closed);
  EXPECT_EQ(Written(back), text);
  vesktest::ExpectDamageRefused(text, [](std::istream& s) { TPrePointList().Read(s); }, {2});
  TPrePointList copy;
  copy.Assign(points);
  EXPECT_TRUE(copy.Closed);
  // Read again from an open curve's record, the flag goes.
  back.Assign(TPrePointList());
  std::istringstream open(Written(back));
  copy.Read(open);
  EXPECT_FALSE(copy.Closed);
}

TEST(PrePointListTest, RecordRoundTripsAndAssignCopiesTheSettings) {
  TSpline curve;
  FillCurve(curve);
  TPrePointList points;
  TRandom fixed(5);
  {
    TRandomScope scope(fixed);
    points.FromSpline(curve);
  }
  points.ZeroOutRotations = true;
  const std::string text = Written(points);
  const auto lines = shared::SplitTextLines(text);
  const std::vector<std::string> tail(lines.end() - 9, lines.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"0", "555 ID", "0 In", "1", " 3.00000000000000E+0000", "1 Out",
                                            "0", " 1.00000000000000E+0000", "1"}));
  TPrePointList back;
  std::istringstream in(text);
  back.Read(in);
  EXPECT_EQ(back.ID, 555);
  EXPECT_TRUE(back.ZeroOutRotations);
  EXPECT_NEAR(back.GetPoint(5)->s, points.GetPoint(5)->s, 1e-14);  // 15 digits in the file
  EXPECT_EQ(Written(back), text);
  vesktest::ExpectDamageRefused(text, [](std::istream& s) { TPrePointList().Read(s); }, {2});

  TPrePointList copy;
  copy.Assign(points);
  EXPECT_EQ(copy.ID, 555);
  EXPECT_TRUE(copy.InTotal && copy.Out && copy.ZeroOutRotations);
  EXPECT_EQ(copy.TotalIn, 3);
  EXPECT_EQ(copy.GetPoint(9)->s, points.GetPoint(9)->s);
  EXPECT_EQ(copy.GetPoint(9)->Direction.X, points.GetPoint(9)->Direction.X);
}

}  // namespace
