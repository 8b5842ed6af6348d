// The complex line: end points at infinity, intersection, hit test, dragging with the snap,
// drawing and its record.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <sstream>

#include "shared/dxf/DXFTransForm.h"
#include "synthesis/engine/ComplexLine.h"
#include "tests/synthesis/engine/RecordText.h"
#include "tests/synthesis/engine/SynthCanvas.h"

using namespace vesk;
using shared::TComplex;
using vesktest::Lines;
using vesktest::ReadError;

namespace {

constexpr double kDeg = std::numbers::pi / 180;

std::string Written(TComplexLine& line) {
  std::ostringstream out;
  line.WriteToText(out);
  return out.str();
}

TEST(ComplexLineTest, EndpointsAtInfinityLieOneDirectionAway) {
  struct Case {
    double ax, ay;
    bool aInf;
    double bx, by;
    bool bInf;
    double p1x, p1y, p2x, p2y;
  };
  const Case cases[] = {
      {1, 2, false, 4, 6, false, 1, 2, 4, 6},
      {0, -1, true, 3, 3, false, 3, 2, 3, 3},  // a holds a direction
      {3, 3, false, 0.5, 0, true, 3, 3, 3.5, 3},
  };
  for (const auto& c : cases) {
    TComplexPoint a(c.ax, c.ay), b(c.bx, c.by);
    a.Inf = c.aInf;
    b.Inf = c.bInf;
    TComplexLine line;
    line.SetEndpoints(a, b);
    EXPECT_EQ(line.Point1.X, c.p1x);
    EXPECT_EQ(line.Point1.Y, c.p1y);
    EXPECT_EQ(line.Point2.X, c.p2x);
    EXPECT_EQ(line.Point2.Y, c.p2y);
    EXPECT_EQ(line.Base.X, c.p1x);
    EXPECT_EQ(line.Base.Y, c.p1y);
    EXPECT_EQ(line.Direction.X, c.p2x - c.p1x);
    EXPECT_EQ(line.Direction.Y, c.p2y - c.p1y);
  }
}

TEST(ComplexLineTest, IntersectionIsFiniteOnlyWithinReach) {
  const TComplexLine xAxis(0, 0, 2, 0);
  TComplexPoint result(9, 9);

  xAxis.Intersect(TComplexLine(0, 1, 1, 2), result);
  EXPECT_FALSE(result.Inf);
  EXPECT_NEAR(result.X, -1, 1e-15);
  EXPECT_NEAR(result.Y, 0, 1e-15);

  // A skew pair: the answer lies on both lines.
  const TComplexLine a(0.3, -0.2, 1.7, 0.9), b(-1, 2, 0.4, -0.5);
  a.Intersect(b, result);
  ASSERT_FALSE(result.Inf);
  for (const TComplexLine* l : {&a, &b}) {
    TComplex d;
    d.Sub(result, l->Point1);
    EXPECT_NEAR(d.Cross(l->Direction), 0, 1e-12);
  }

  // Parallel, too far, and from a line without length: a direction, this line's, unit length.
  const TComplexLine far(0, 1, 1, 1.000001);  // crosses the axis a million directions away
  const TComplexLine none(1, 1, 1, 1);
  for (const TComplexLine* other : {static_cast<const TComplexLine*>(nullptr), &far, &none}) {
    const TComplexLine parallel(5, 3, 6, 3);
    xAxis.Intersect(other ? *other : parallel, result);
    EXPECT_TRUE(result.Inf);
    EXPECT_EQ(result.X, 1);
    EXPECT_EQ(result.Y, 0);
  }
  // Exactly 100000 directions away is still a point.
  xAxis.Intersect(TComplexLine(200000, 5, 200000, 6), result);
  EXPECT_FALSE(result.Inf);
  EXPECT_EQ(result.X, 200000);

  // A line without length finds no crossing with anything: a point at infinity, never NaN.
  none.Intersect(xAxis, result);
  EXPECT_TRUE(result.Inf);
  EXPECT_FALSE(std::isnan(result.X) || std::isnan(result.Y));
}

TEST(ComplexLineTest, HitTestGrabsEndsFirstAndThenTheSegment) {
  TComplexLine line(0, 0, 1, 0);
  struct Case {
    double x, y, tolerance;
    bool hit;
    const TComplex* grabbed;
  };
  const Case cases[] = {
      {0, 0, 1.5, true, &line.Point1},     // both ends in reach: the first one wins
      {1.05, 0, 0.1, true, &line.Point2},  //
      {-0.05, 0.05, 0.1, true, &line.Point1},
      {0.5, 0.1, 0.1, true, nullptr},       // on the side, at the tolerance
      {0.5, -0.1001, 0.1, false, nullptr},  //
      {1.3, 0, 0.1, false, nullptr},        // on the line's extension
      {-0.3, 0, 0.1, false, nullptr},
  };
  for (const auto& c : cases) {
    line.Grabbed = &line.Point2;
    EXPECT_EQ(line.HitTest(TComplex(c.x, c.y), c.tolerance), c.hit) << c.x << "," << c.y;
    EXPECT_EQ(line.Grabbed, c.grabbed) << c.x << "," << c.y;
  }
  TComplexLine dot(1, 1, 1, 1);
  EXPECT_TRUE(dot.HitTest(TComplex(1.05, 1), 0.1));
  EXPECT_EQ(dot.Grabbed, &dot.Point1);
  EXPECT_FALSE(dot.HitTest(TComplex(1.2, 1), 0.1));
}

TEST(ComplexLineTest, DraggingAnEndSnapsWithinThreeDegreesOfFifteen) {
  struct Case {
    double toDegrees, expectDegrees;
  };
  const Case cases[] = {{13, 15}, {10, 10},   {44, 45},   {-14, -15},  {-10, -10},
                        {2.9, 0}, {3.1, 3.1}, {178, 180}, {-178, 180}, {92, 90}};
  for (const bool grabFirst : {false, true}) {
    for (const auto& c : cases) {
      // A line of length 2 along the x axis, its moving end dragged round its fixed end.
      TComplexLine line(1, 1, 3, 1);
      if (grabFirst) line.SetEndpoints(TComplexPoint(3, 1), TComplexPoint(1, 1));
      ASSERT_TRUE(line.HitTest(TComplex(3, 1), 0.01));
      const TComplex fixed = grabFirst ? line.Point2 : line.Point1;
      TComplex to;
      to.SetPolar(2, c.toDegrees * kDeg);
      to.AddTo(fixed);
      line.DragTo(to, TComplex(3, 1));
      const TComplex& moving = grabFirst ? line.Point1 : line.Point2;
      TComplex d;
      d.Sub(moving, fixed);
      EXPECT_NEAR(std::remainder(d.Arg() / kDeg - c.expectDegrees, 360), 0, 1e-9) << c.toDegrees;
      EXPECT_NEAR(d.Abs(), 2, 1e-12);
      EXPECT_EQ((grabFirst ? line.Point2 : line.Point1).X, 1);  // the fixed end stays
    }
  }
}

TEST(ComplexLineTest, DraggingWithoutAGrabMovesTheWholeLine) {
  TComplexLine line(0, 0, 1, 0.01);  // within 3 degrees of 0, but nothing snaps
  line.Grabbed = nullptr;
  line.DragTo(TComplex(0.5, 0.75), TComplex(0.25, 0.5));
  EXPECT_EQ(line.Point1.X, 0.25);
  EXPECT_EQ(line.Point1.Y, 0.25);
  EXPECT_EQ(line.Point2.X, 1.25);
  EXPECT_EQ(line.Point2.Y, 0.26);
}

TEST(ComplexLineTest, SetLineAngleKeepsLengthAndReturnsFromLineAngle) {
  TComplexLine line(1, 1, 4, 5);  // length 5
  line.Grabbed = nullptr;
  line.SetLineAngle(-std::numbers::pi / 2);
  EXPECT_NEAR(line.Point2.X, 1, 1e-15);
  EXPECT_NEAR(line.Point2.Y, -4, 1e-15);
  EXPECT_NEAR(line.LineAngle(), -std::numbers::pi / 2, 1e-15);
  EXPECT_EQ(line.Base.X, 1);
  EXPECT_NEAR(line.Direction.Y, -5, 1e-15);
}

TEST(ComplexLineTest, RecordRoundTripsByteForByte) {
  TComplexLine line(0.1, -2, 3.5, 1e-7);
  line.Id = 4;
  line.Name = "Line 4";
  line.Pen.Color = 255;
  line.Pen.Style = 2;
  const std::string text = Written(line);
  EXPECT_EQ(text, Lines({"0", "4", "Line 4", "255 Color", "4 Mode", "2 Style", "1 Width", "0", "[Vector]",
                         "2  1.00000000000000E-0001 -2.00000000000000E+0000", "[Vector]",
                         "2  3.50000000000000E+0000  1.00000000000000E-0007"}));
  TComplexLine back;
  std::istringstream in(text);
  back.ReadFromText(in);
  EXPECT_EQ(back.Point2.Y, 1e-7);
  EXPECT_EQ(back.Name, "Line 4");
  EXPECT_EQ(Written(back), text);

  // Every cut and every garbled number line is refused with a read error.
  const auto lines = shared::SplitTextLines(text);
  auto read = [](std::istream& s) { TComplexLine().ReadFromText(s); };
  for (size_t cut = 0; cut < lines.size(); ++cut)
    EXPECT_NE(ReadError(Lines({lines.begin(), lines.begin() + cut}), read), "") << cut;
  for (const size_t k : {1, 3, 4, 5, 6, 8, 9, 10, 11}) {
    auto garbled = lines;
    garbled[k] = "x";
    EXPECT_NE(ReadError(Lines(garbled), read), "") << k;
  }
}

TEST(ComplexLineTest, AssignCloneAndDefaultName) {
  TComplexLine line(1, 2, 3, 4);
  line.Id = 7;
  line.MakeDefaultName();
  EXPECT_EQ(line.Name, "Line 7");
  auto clone = line.Clone();
  auto* copy = dynamic_cast<TComplexLine*>(clone.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->Point2.Y, 4);
  EXPECT_EQ(copy->Name, "Line 7");
  EXPECT_TRUE(copy->Modified);

  TComplex min(0, 0), max(0, 0);
  line.UpdateExtent(min, max);
  EXPECT_EQ(min.X, 0);
  EXPECT_EQ(max.X, 3);
  EXPECT_EQ(max.Y, 4);
}

TEST(ComplexLineTest, DrawsTheSegmentPlainOrTransformed) {
  vesktest::TSynthView view;
  TComplexLine line(0, 0, 1, 0);
  line.Draw(view.canvas);
  EXPECT_TRUE(view.box.Screen.Logged({"Pen 0 1 0", "M 200,200", "L 300,200"}));
  view.log.clear();
  shared::TDXFTransForm turn;
  turn.SetAll(0, 1, std::numbers::pi / 2, 1, 1);
  line.DrawTransformed(view.canvas, turn);
  EXPECT_TRUE(view.box.Screen.Logged({"M 200,100", "L 200,0"}));
}

}  // namespace
