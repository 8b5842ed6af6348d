// TSpline: tangents, straight and curved samples, interpolation with continuous tangents,
// PointAt and its rotation channels, point editing, and the "Curve" section.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "FixtureText.h"
#include "RecordingCanvas.h"
#include "animator/engine/Spline.h"
#include "shared/Convert.h"
#include "shared/Matrix.h"
#include "shared/RealText.h"

using quillon::TSpline;
using shared::TComplex;
using shared::TPrePoint;
using shared::TTabLines;

namespace {

void SetPoints(TSpline& curve, const std::vector<TComplex>& points) {
  for (const auto& p : points) curve.AddPoint(p);
}

using enginetest::ReadFixture;

TEST(SplineGeometryTest, TwoPointsMakeTheStraightChord) {
  TSpline curve;
  SetPoints(curve, {{0, 0}, {3, 4}});
  // [[2, 1], [1, 2]].d = (3 chord, 3 chord): both tangents are the chord.
  EXPECT_NEAR(curve.Point(0).Direction.X, 3, 1e-14);
  EXPECT_NEAR(curve.Point(0).Direction.Y, 4, 1e-14);
  EXPECT_NEAR(curve.Point(1).Direction.X, 3, 1e-14);
  EXPECT_NEAR(curve.Point(1).Direction.Y, 4, 1e-14);
  ASSERT_EQ(curve.Samples.size(), 11u);
  // With chord tangents the Hermite basis reduces to P0 + t (P1 - P0).
  for (int j = 0; j <= 10; ++j) {
    EXPECT_NEAR(curve.Samples[j].X, 0.3 * j, 1e-14) << j;
    EXPECT_NEAR(curve.Samples[j].Y, 0.4 * j, 1e-14) << j;
    EXPECT_NEAR(curve.Samples[j].s, 0.5 * j, 1e-13) << j;
  }
  EXPECT_NEAR(curve.Length, 5, 1e-13);
  EXPECT_TRUE(curve.IsUsable());
  EXPECT_EQ(curve.Point(0).s, 0);
  EXPECT_EQ(curve.Point(1).s, 1);

  TPrePoint q;
  curve.PointAt(0.5, q);
  EXPECT_NEAR(q.X, 1.5, 1e-14);
  EXPECT_NEAR(q.Y, 2, 1e-14);
  EXPECT_NEAR(q.Direction.X, 0.6, 1e-14);
  EXPECT_NEAR(q.Direction.Y, 0.8, 1e-14);
  EXPECT_EQ(q.s, 0.5);
}

TEST(SplineGeometryTest, TangentsSolveTheTridiagonalSystem) {
  TSpline curve;
  // x = 0, 1, 3: 2d0 + d1 = 3, d0 + 4d1 + d2 = 9, d1 + 2d2 = 6 give d = (0.75, 1.5, 2.25).
  SetPoints(curve, {{0, 0}, {1, 0}, {3, 0}});
  EXPECT_NEAR(curve.Point(0).Direction.X, 0.75, 1e-14);
  EXPECT_NEAR(curve.Point(1).Direction.X, 1.5, 1e-14);
  EXPECT_NEAR(curve.Point(2).Direction.X, 2.25, 1e-14);
  EXPECT_EQ(curve.Point(1).Direction.Y, 0);
  // Monotone along x: the samples run the x axis and Length is the span.
  EXPECT_NEAR(curve.Length, 3, 1e-14);
  EXPECT_NEAR(curve.Point(1).s, 1.0 / 3, 1e-14);
}

// The linear-time sweep gives the tangents of the whole system solved as a dense matrix (LU with
// pivoting), for the positions and both rotation channels, on curves of several lengths.
TEST(SplineGeometryTest, TangentsMatchTheDenseSolution) {
  for (const int n : {2, 3, 4, 7, 40}) {
    TSpline curve;
    curve.OutWeight = 1;
    curve.OutEnabled = true;
    curve.InWeight = 1;
    curve.InEnabled = true;
    for (int i = 0; i < n; ++i) {
      curve.AddPoint({i + 0.3 * std::sin(1.7 * i), std::cos(0.9 * i) * i});
      curve.Point(i).Out = 0.4 * i * i - i;
      curve.Point(i).In = std::sin(2.3 * i);
    }
    curve.Rebuild();
    auto dense = [&](auto value) {
      shared::TMatrix m(n);
      for (int i = 0; i < n; ++i) {
        m.A[i][i] = (i == 0 || i == n - 1) ? 2 : 4;
        if (i > 0) m.A[i][i - 1] = 1;
        if (i + 1 < n) m.A[i][i + 1] = 1;
        m.B[i] = 3 * (value(std::min(i + 1, n - 1)) - value(std::max(i - 1, 0)));
      }
      m.Solve();
      return m.B;
    };
    const auto dx = dense([&](int i) { return curve.Point(i).X; });
    const auto dy = dense([&](int i) { return curve.Point(i).Y; });
    const auto dOut = dense([&](int i) { return curve.Point(i).Out; });
    const auto dIn = dense([&](int i) { return curve.Point(i).In; });
    for (int i = 0; i < n; ++i) {
      EXPECT_NEAR(curve.Point(i).Direction.X, dx[i], 1e-12) << n << " " << i;
      EXPECT_NEAR(curve.Point(i).Direction.Y, dy[i], 1e-12) << n << " " << i;
      EXPECT_NEAR(curve.OutTangents[i], dOut[i], 1e-12) << n << " " << i;
      EXPECT_NEAR(curve.InTangents[i], dIn[i], 1e-12) << n << " " << i;
    }
  }
}

const std::vector<TComplex> kWavy = {{0, 0}, {1, 2}, {2.5, 1.5}, {3, -1}, {5, 0.5}};

TEST(SplineGeometryTest, PassesThroughItsPointsWithContinuousTangents) {
  TSpline curve;
  SetPoints(curve, kWavy);
  const int n = curve.PointCount();
  ASSERT_EQ(curve.Samples.size(), size_t(10 * (n - 1) + 1));
  for (int i = 0; i < n; ++i) {
    TPrePoint q;
    curve.PointAt(curve.Point(i).s, q);
    EXPECT_NEAR(q.X, kWavy[i].X, 1e-12) << i;
    EXPECT_NEAR(q.Y, kWavy[i].Y, 1e-12) << i;
    EXPECT_NEAR(curve.Samples[10 * i].X, kWavy[i].X, 1e-12) << i;
    EXPECT_NEAR(curve.Samples[10 * i].Y, kWavy[i].Y, 1e-12) << i;
  }
  // Finite differences on both sides of every inner point: the first derivative with respect to
  // the segment parameter matches (and equals the solved tangent), and so does the second.
  const double h = 1e-5;
  auto at = [&](int segment, double t) {
    TPrePoint p;
    curve.Hermite(segment, t, p);
    return TComplex(p.X, p.Y);
  };
  for (int i = 1; i < n - 1; ++i) {
    const TComplex l0 = at(i, 1), l1 = at(i, 1 - h), l2 = at(i, 1 - 2 * h);
    const TComplex r0 = at(i + 1, 0), r1 = at(i + 1, h), r2 = at(i + 1, 2 * h);
    EXPECT_NEAR(l0.X, r0.X, 1e-14);
    EXPECT_NEAR(l0.Y, r0.Y, 1e-14);
    const double leftX = (l0.X - l1.X) / h, leftY = (l0.Y - l1.Y) / h;
    const double rightX = (r1.X - r0.X) / h, rightY = (r1.Y - r0.Y) / h;
    EXPECT_NEAR(leftX, rightX, 1e-3) << i;
    EXPECT_NEAR(leftY, rightY, 1e-3) << i;
    EXPECT_NEAR(leftX, curve.Point(i).Direction.X, 1e-3) << i;
    EXPECT_NEAR(leftY, curve.Point(i).Direction.Y, 1e-3) << i;
    const double left2X = (l0.X - 2 * l1.X + l2.X) / (h * h), right2X = (r0.X - 2 * r1.X + r2.X) / (h * h);
    const double left2Y = (l0.Y - 2 * l1.Y + l2.Y) / (h * h), right2Y = (r0.Y - 2 * r1.Y + r2.Y) / (h * h);
    EXPECT_NEAR(left2X, right2X, 1e-3 * (1 + std::fabs(left2X))) << i;
    EXPECT_NEAR(left2Y, right2Y, 1e-3 * (1 + std::fabs(left2Y))) << i;
    // The unit tangent PointAt gives does not turn across the point.
    TPrePoint before, after;
    curve.PointAt(curve.Point(i).s - 1e-9, before);
    curve.PointAt(curve.Point(i).s + 1e-9, after);
    EXPECT_NEAR(before.Direction.X, after.Direction.X, 1e-6) << i;
    EXPECT_NEAR(before.Direction.Y, after.Direction.Y, 1e-6) << i;
    EXPECT_NEAR(std::hypot(before.Direction.X, before.Direction.Y), 1, 1e-14);
  }
  // The ends: second derivative zero.
  const TComplex e0 = at(1, 0), e1 = at(1, h), e2 = at(1, 2 * h);
  EXPECT_NEAR((e0.X - 2 * e1.X + e2.X) / (h * h), 0, 1e-3);
  // Fractions grow to 1 and Length is at least the polygon through the points.
  double polygon = 0;
  for (int i = 1; i < n; ++i) {
    EXPECT_GT(curve.Point(i).s, curve.Point(i - 1).s);
    polygon += std::hypot(kWavy[i].X - kWavy[i - 1].X, kWavy[i].Y - kWavy[i - 1].Y);
  }
  EXPECT_DOUBLE_EQ(curve.Point(n - 1).s, 1);
  EXPECT_GE(curve.Length, polygon);
  TPrePoint first, last;
  curve.PointAt(0, first);
  curve.PointAt(1, last);
  EXPECT_NEAR(first.X, 0, 1e-14);
  EXPECT_NEAR(first.Y, 0, 1e-14);
  EXPECT_NEAR(last.X, 5, 1e-12);
  EXPECT_NEAR(last.Y, 0.5, 1e-12);
}

TEST(SplineGeometryTest, ZeroLengthSegmentUsesItsStart) {
  TSpline curve;
  SetPoints(curve, {{0, 0}, {1, 0}, {1, 0}});
  ASSERT_TRUE(curve.IsUsable());
  TPrePoint q;
  curve.PointAt(1, q);
  EXPECT_EQ(q.X, 1);
  EXPECT_EQ(q.Y, 0);
  EXPECT_TRUE(std::isfinite(q.Direction.X) && std::isfinite(q.Direction.Y));

  // Dragged onto its neighbour: length 0, unusable, and still no NaN.
  TSpline flat;
  SetPoints(flat, {{2, 1}, {2, 1}});
  EXPECT_EQ(flat.Length, 0);
  EXPECT_FALSE(flat.IsUsable());
  flat.PointAt(0.5, q);
  EXPECT_EQ(q.X, 2);
  EXPECT_EQ(q.Y, 1);
}

TEST(SplineChannelTest, TotalsGrowInProportionAndChannelsInterpolate) {
  TSpline curve;
  SetPoints(curve, {{0, 0}, {2, 0}});
  curve.InTotal = true;
  curve.TotalIn = 3;
  curve.OutTotal = true;
  curve.TotalOut = -2;
  TPrePoint q;
  curve.PointAt(0.5, q);
  EXPECT_EQ(q.In, 1.5);
  EXPECT_EQ(q.Out, -1);

  // An enabled channel's spline value replaces the proportional one; point 0 is forced to 0.
  curve.OutEnabled = true;
  curve.Point(0).Out = 5;
  curve.Point(1).Out = 1;
  curve.Rebuild();
  EXPECT_EQ(curve.Point(0).Out, 0);
  curve.PointAt(0.25, q);
  EXPECT_NEAR(q.Out, 0.25, 1e-15);
  EXPECT_EQ(q.In, 0.75);
}

// Points appended with NewPoint have no channel tangents until the next Rebuild: evaluating the
// curve before that reads none past the solved ones (it crashed on a curve never rebuilt).
TEST(SplineChannelTest, PointsNotYetRebuiltHaveNoChannelTangents) {
  TSpline curve;
  curve.OutEnabled = true;
  curve.InEnabled = true;
  for (double x : {0.0, 2.0}) {
    TPrePoint& p = curve.Point(curve.NewPoint());
    p.SetXY(x, 0);
    p.Out = x;
    p.In = -x;
  }
  TPrePoint q;
  curve.Hermite(1, 0.5, q);
  EXPECT_EQ(q.Out, 1) << "the mean of the two ends without tangents";
  EXPECT_EQ(q.In, -1);

  curve.Rebuild();
  ASSERT_TRUE(curve.IsUsable());
  curve.Point(curve.NewPoint()).SetXY(5, 5);
  curve.Hermite(2, 0.5, q);
  EXPECT_TRUE(std::isfinite(q.Out) && std::isfinite(q.In));
  curve.PointAt(1, q);
  EXPECT_EQ(q.X, 2) << "the new point joins the curve only at the next Rebuild";
}

TEST(SplineEditTest, AddDeleteMoveAndSelect) {
  TSpline curve;
  SetPoints(curve, {{0, 0}, {1, 0}, {2, 1}});
  EXPECT_EQ(curve.LastSelected(), 2) << "the newest point is the only selected one";
  EXPECT_FALSE(curve.Point(0).Selected);
  EXPECT_TRUE(curve.Modified);
  const int32_t stamp = curve.ChangeStamp;
  EXPECT_GE(stamp, 0);
  EXPECT_LE(stamp, 12345677);

  curve.MoveSelected(0, 1);
  EXPECT_EQ(curve.Point(2).Y, 2);
  EXPECT_NE(curve.ChangeStamp, stamp);

  curve.Point(0).Selected = true;
  curve.DeleteSelected();
  ASSERT_EQ(curve.PointCount(), 1);
  EXPECT_EQ(curve.Point(0).X, 1);
  EXPECT_EQ(curve.Point(0).Id, 0);
  EXPECT_TRUE(curve.Samples.empty());
  EXPECT_FALSE(curve.IsUsable());

  TComplex min(9, 9), max(9, 9);
  SetPoints(curve, {{-1, 3}, {4, -2}});
  curve.GetExtents(min, max);
  EXPECT_EQ(min.X, -1);
  EXPECT_EQ(min.Y, -2);
  EXPECT_EQ(max.X, 4);
  EXPECT_EQ(max.Y, 3);
  for (int i = 0; i < curve.PointCount(); ++i) EXPECT_EQ(curve.Point(i).Id, i);

  curve.DeletePoint(7);
  EXPECT_EQ(curve.PointCount(), 3);
}

TEST(SplineEditTest, HitTestSelectsTheLowestIndexOnly) {
  TSpline curve;
  SetPoints(curve, {{0, 0}, {5, 5}, {0.05, 0}});
  EXPECT_TRUE(curve.HitTest(TComplex(0.02, 0), false, 0.1));
  EXPECT_EQ(curve.LastSelected(), 0);
  EXPECT_FALSE(curve.Point(2).Selected);

  EXPECT_TRUE(curve.HitTest(TComplex(5, 5), true, 0.1));
  EXPECT_TRUE(curve.Point(0).Selected) << "extend keeps the earlier selection";
  EXPECT_TRUE(curve.Point(1).Selected);

  EXPECT_FALSE(curve.HitTest(TComplex(3, 0), false, 0.1));
  EXPECT_EQ(curve.LastSelected(), -1);
}

TEST(SplineEditTest, HiddenCurveIgnoresEditing) {
  TSpline curve;
  SetPoints(curve, {{0, 0}, {1, 0}});
  curve.Visible = false;
  curve.AddPoint(TComplex(2, 2));
  EXPECT_EQ(curve.PointCount(), 2);
  curve.MoveSelected(1, 1);
  EXPECT_EQ(curve.Point(1).X, 1);
  curve.DeleteSelected();
  EXPECT_EQ(curve.PointCount(), 2);
  EXPECT_FALSE(curve.HitTest(TComplex(1, 0), true, 0.1));
  EXPECT_EQ(curve.LastSelected(), -1) << "a hidden curve drops its selection";
}

TEST(SplineRecordTest, NoPointsNoSectionAndMissingSectionGivesDefaults) {
  TTabLines lines;
  TSpline curve;
  curve.Name = "Curve";
  curve.InWeight = 0.5;
  curve.WriteTabLines(lines);
  EXPECT_TRUE(lines.Lines.empty());

  lines.Lines = {"[Other>", "1\t2", "<Other]"};
  SetPoints(curve, {{0, 0}, {1, 1}});
  curve.OutEnabled = true;
  curve.Visible = false;
  curve.ReadTabLines(lines);
  EXPECT_EQ(curve.PointCount(), 0);
  EXPECT_FALSE(curve.OutEnabled);
  EXPECT_EQ(curve.InWeight, 0);
  EXPECT_EQ(curve.TotalIn, 1.0);
  EXPECT_TRUE(curve.PosEnabled);
  EXPECT_EQ(curve.PosWeight, 1.0);
  EXPECT_TRUE(curve.Visible);
}

// Writes the curve that the fixture was made from: values typed in millimetres and degrees.
TSpline ProgramCurve() {
  TSpline curve;
  curve.Name = "Curve";
  const double mm = 0.001, deg = 3.14159265358979 / 180;
  SetPoints(curve,
            {{12.3 * mm, 45.6 * mm}, {78.9 * mm, 10.1 * mm}, {-33.3 * mm, -7.7 * mm}, {5 * mm, 99.9 * mm}});
  curve.OutWeight = 0.2;
  curve.OutEnabled = true;
  curve.InWeight = 0.5;
  curve.InEnabled = true;
  curve.InTotal = true;
  curve.TotalIn = 6.28318530717959;
  curve.Point(1).Out = 30 * deg;
  curve.Point(2).Out = 45 * deg;
  curve.Point(3).Out = 10 * deg;
  curve.Point(2).In = 180 * deg;
  curve.Point(3).In = 270 * deg;
  curve.Rebuild();
  return curve;
}

TEST(SplineRecordTest, WrittenCurveRoundTripsByteForByte) {
  const std::string fixture = ReadFixture("curve.txt");
  ASSERT_FALSE(fixture.empty());
  TTabLines written;
  ProgramCurve().WriteTabLines(written);
  EXPECT_EQ(written.Text(), fixture) << "the writer's layout changed";

  TTabLines lines;
  std::istringstream in(fixture);
  lines.LoadFromStream(in);
  TSpline curve;
  curve.Name = "Curve";
  curve.ReadTabLines(lines);
  ASSERT_EQ(curve.PointCount(), 4);
  EXPECT_TRUE(curve.InEnabled);
  EXPECT_TRUE(curve.OutEnabled);
  EXPECT_TRUE(curve.InTotal);
  EXPECT_FALSE(curve.OutTotal);
  EXPECT_EQ(curve.LastSelected(), -1);
  EXPECT_TRUE(curve.IsUsable());
  TTabLines again;
  curve.WriteTabLines(again);
  EXPECT_EQ(again.Text(), fixture);
}

// The record's tangents and arc-length fractions, worked out without keeping samples, are those the
// read solved with its samples from the same coordinates: a wavy curve of 200 points with both
// rotation channels, its directions and fractions written as the curve in memory holds them.
TEST(SplineRecordTest, WrittenFractionsAreThoseTheReadSolved) {
  TTabLines lines;
  lines.Lines = {"[Curve>", "0.5\t0\t1\t2\t0\t1"};
  for (int k = 0; k < 200; ++k) {
    const double x = 0.01 * k, y = std::round(1e4 * std::sin(0.37 * k) * (1 + 0.01 * k)) / 1e4;
    lines.Lines.push_back(shared::FormatReal(x) + "\t" + shared::FormatReal(y) + "\t0\t0\t" +
                          shared::FormatReal(0.1 * k) + "\t" + shared::FormatReal(-0.05 * k) + "\t0");
  }
  lines.Lines.push_back("<Curve]");
  TSpline curve;
  curve.Name = "Curve";
  curve.ReadTabLines(lines);
  ASSERT_EQ(curve.PointCount(), 200);
  ASSERT_TRUE(curve.InEnabled && curve.OutEnabled);
  ASSERT_EQ(curve.Samples.size(), 10u * 199 + 1);
  TTabLines written;
  curve.WriteTabLines(written);
  ASSERT_EQ(written.Lines.size(), 203u);
  for (int k = 0; k < 200; ++k) {
    std::vector<std::string> fields;
    std::stringstream record(written.Lines[static_cast<size_t>(k) + 2]);
    for (std::string field; std::getline(record, field, '\t');) fields.push_back(field);
    const TPrePoint& p = curve.Point(k);
    ASSERT_EQ(fields, std::vector<std::string>({shared::FormatReal(p.X), shared::FormatReal(p.Y),
                                                shared::FormatReal(p.Direction.X), shared::FormatReal(p.Direction.Y),
                                                shared::FormatReal(p.In), shared::FormatReal(p.Out),
                                                shared::FormatReal(p.s)}))
        << k;
    // Every tenth sample lies on a point and holds its arc length.
    ASSERT_EQ(curve.Samples[10 * static_cast<size_t>(k)].s / curve.Length, k == 0 ? 0.0 : p.s) << k;
  }
}

TEST(SplineRecordTest, HandMadeCurveGetsDirectionsAndLengths) {
  TTabLines lines;
  lines.Lines = {"[curve>", "0\t1\t0\t0\t0\t1", "0\t0\t0\t0\t0\t0\t0.4", "3\t4\t9\t9\t9\t0.7\t0.2",
                 "<CURVE]"};
  TSpline curve;
  curve.Name = "Curve";
  curve.ReadTabLines(lines);
  ASSERT_EQ(curve.PointCount(), 2);
  EXPECT_FALSE(curve.InEnabled);
  EXPECT_FALSE(curve.OutEnabled);
  EXPECT_TRUE(curve.InTotal);
  EXPECT_EQ(curve.TotalIn, 0);
  EXPECT_EQ(curve.TotalOut, 1);
  EXPECT_NEAR(curve.Point(1).Direction.X, 3, 1e-14);
  EXPECT_NEAR(curve.Point(1).Direction.Y, 4, 1e-14);
  EXPECT_EQ(curve.Point(1).s, 1);
  EXPECT_EQ(curve.Point(0).s, 0) << "the fraction read from the file is recomputed";
  EXPECT_EQ(curve.Samples[0].s, 0) << "samples hold the arc length from the first point";
  EXPECT_NEAR(curve.Length, 5, 1e-13);
  EXPECT_EQ(curve.Point(1).Out, 0.7) << "the value is kept while its channel is off";
}

}  // namespace

namespace {

struct SplineDrawTest : testing::Test, enginetest::TRecordingView {};

TEST_F(SplineDrawTest, SamplesMarkersLabelsAndRotationLines) {
  TSpline curve;
  SetPoints(curve, {{0, 0}, {0.4, 0}});
  curve.OutEnabled = true;
  curve.InEnabled = true;
  curve.Point(1).Out = std::numbers::pi / 2;
  curve.Point(1).In = std::numbers::pi;
  curve.Rebuild();
  box.Screen.Log.clear();
  curve.Draw(canvas);
  const auto& s = box.Screen;
  std::vector<std::string> polyline = {"Pen 808000 1 0", "Brush F0F0F0 1", "M 200,150"};
  for (int j = 1; j <= 10; ++j) polyline.push_back("L " + std::to_string(200 + 10 * j) + ",150");
  EXPECT_TRUE(s.Logged(polyline));
  EXPECT_TRUE(s.Logged({"L 300,150",
                        // point 0: marker of half size 3, label 8 pixels up and left, rotations 0
                        "Pen 808000 1 0", "M 197,147", "L 203,147", "L 203,153", "L 197,153", "L 197,147",
                        "Text 184,132 0", "Pen 0 1 0", "M 200,150", "L 236,150", "Pen FF0000 1 0",
                        "M 200,150", "L 224,150",
                        // point 1, the selected one: output up, input to the left
                        "Pen FF00 1 0", "M 297,147", "Text 284,132 1", "Pen 0 1 0", "M 300,150", "L 300,114",
                        "Pen FF0000 1 0", "M 300,150", "L 276,150"}));
}

TEST_F(SplineDrawTest, HiddenOrEmptyCurveDrawsNothing) {
  TSpline curve;
  box.Screen.Log.clear();
  curve.Draw(canvas);
  EXPECT_TRUE(box.Screen.Log.empty());
  SetPoints(curve, {{0, 0}});
  curve.Draw(canvas);
  EXPECT_EQ(box.Screen.CountOf("Text"), 1) << "a single point still shows its marker and number";
  EXPECT_EQ(box.Screen.CountOf("L "), 4);
  box.Screen.Log.clear();
  curve.Visible = false;
  curve.Draw(canvas);
  EXPECT_TRUE(box.Screen.Log.empty());
}

TEST(SplineReportTest, TableInDisplayUnits) {
  shared::CreateConvert();
  const shared::TConvert& convert = shared::Convert();
  TSpline curve;
  curve.Name = "Curve";
  SetPoints(curve, {{0.003, 0.004}, {0.01, 0}});
  curve.OutEnabled = true;
  curve.Point(1).Out = 0.5;
  curve.Rebuild();
  std::ostringstream cartesian, polar;
  curve.WriteHTML(cartesian, false);
  curve.WriteHTML(polar, true);
  const std::string mm = convert.UnitLabel(shared::cuLength), deg = convert.UnitLabel(shared::cuAngle);
  auto length = [&](double v) { return convert.FormatSI(shared::cuLength, v); };
  auto angle = [&](double v) { return convert.FormatSI(shared::cuAngle, v); };
  const std::string head =
      "<table border=\"1\" bordercolor=\"#000000\" width=\"100%\">\r\n"
      "    <tr><td colspan=\"5\" bgcolor=\"#FFFFCC\" width=\"100%\"><font face=\"Arial\" "
      "size=\"4\">Curve</font></td></tr>\r\n"
      "    <tr>\r\n"
      "        <td width=\"8%\">Nr.</td>\r\n";
  const std::string rotations = "        <td width=\"23%\">Output Rotation " + deg + "</td>\r\n" +
                                "        <td width=\"23%\">Input Rotation " + deg + "</td>\r\n" +
                                "    </tr>\r\n";
  EXPECT_EQ(cartesian.str(),
            head + "        <td width=\"23%\">x " + mm + "</td>\r\n" + "        <td width=\"23%\">y " + mm +
                "</td>\r\n" + rotations + "    <tr>\r\n        <td>0</td>\r\n        <td>" + length(0.003) +
                "</td>\r\n        <td>" + length(0.004) + "</td>\r\n<td>" + angle(0) +
                "</td>\r\n<td>-</td>\r\n    </tr>\r\n" + "    <tr>\r\n        <td>1</td>\r\n        <td>" +
                length(0.01) + "</td>\r\n        <td>" + length(0) + "</td>\r\n<td>" + angle(0.5) +
                "</td>\r\n<td>-</td>\r\n    </tr>\r\n</table>\r\n<p></p>\r\n");
  EXPECT_NE(polar.str().find("<td width=\"23%\">R " + mm + "</td>"), std::string::npos);
  EXPECT_NE(polar.str().find("<td width=\"23%\">Angle " + deg + "</td>"), std::string::npos);
  // Point 0 at (3, 4) mm: 5 mm at atan2(4, 3).
  EXPECT_NE(polar.str().find("        <td>" + length(0.005) + "</td>\r\n        <td>" +
                             angle(std::atan2(0.004, 0.003)) + "</td>"),
            std::string::npos);
  shared::FreeConvert();
}

}  // namespace
