// The synthesis curve: tangents and samples against a Hermite evaluation done here, the length
// parameter, IDs, coincident points, records, the HTML table, sheet import and "Curve" export.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <map>
#include <numbers>
#include <sstream>

#include "shared/Convert.h"
#include "shared/PrePoint.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/Drawing.h"
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

struct TControl {
  double x, y, out = 0, in = 0;
};

// Points given, then Recalc with a fixed generator.
void Fill(TSpline& curve, const std::vector<TControl>& points, bool out = false, bool in = false) {
  curve.Clear();
  curve.Out = out;
  curve.In = in;
  for (const auto& c : points) {
    auto p = std::make_unique<TPrePoint>(c.x, c.y);
    p->Out = c.out;
    p->In = c.in;
    curve.Add(std::move(p));
  }
  TRandom fixed(7);
  TRandomScope scope(fixed);
  curve.Recalc();
}

const std::vector<TControl> kWave = {
    {0, 0, 0, 0}, {0.1, 0.05, 0.3, 0.2}, {0.25, 0.02, 0.1, 0.5}, {0.3, -0.1, -0.2, 0.9}, {0.5, 0, 0.4, 1.3}};

// Hermite evaluation on the segment from a to b, written out in Bernstein form: the cubic with
// control values a, a + da/3, b - db/3, b.
double Bezier(double a, double da, double b, double db, double t) {
  const double c1 = a + da / 3, c2 = b - db / 3, u = 1 - t;
  return u * u * u * a + 3 * u * u * t * c1 + 3 * u * t * t * c2 + t * t * t * b;
}

TEST(SplineTest, TangentsSatisfyTheirRowsForEveryChannel) {
  TSpline curve;
  Fill(curve, kWave, true, true);
  const int n = curve.Count();
  ASSERT_EQ(curve.OutTangents.size(), size_t(n));
  ASSERT_EQ(curve.InTangents.size(), size_t(n));
  EXPECT_EQ(curve.GetPoint(1)->Out, 0);
  EXPECT_EQ(curve.GetPoint(1)->In, 0);
  struct Channel {
    const char* name;
    std::function<double(int)> value, tangent;
  };
  const Channel channels[] = {
      {"x", [&](int i) { return curve.GetPoint(i)->X; },
       [&](int i) { return curve.GetPoint(i)->Direction.X; }},
      {"y", [&](int i) { return curve.GetPoint(i)->Y; },
       [&](int i) { return curve.GetPoint(i)->Direction.Y; }},
      {"out", [&](int i) { return curve.GetPoint(i)->Out; }, [&](int i) { return curve.OutTangents[i - 1]; }},
      {"in", [&](int i) { return curve.GetPoint(i)->In; }, [&](int i) { return curve.InTangents[i - 1]; }},
  };
  for (const auto& c : channels) {
    const auto& P = c.value;
    const auto& D = c.tangent;
    EXPECT_NEAR(2 * D(1) + D(2), 3 * (P(2) - P(1)), 1e-12) << c.name;
    for (int i = 2; i < n; ++i)
      EXPECT_NEAR(D(i - 1) + 4 * D(i) + D(i + 1), 3 * (P(i + 1) - P(i - 1)), 1e-12) << c.name;
    EXPECT_NEAR(D(n - 1) + 2 * D(n), 3 * (P(n) - P(n - 1)), 1e-12) << c.name;
  }
  // Channels that are not prescribed have no tangents.
  Fill(curve, kWave);
  EXPECT_EQ(curve.OutTangents, std::vector<double>(5, 0.0));
}

TEST(SplineTest, SamplesAreTheHermiteCurveWithTheRunningLength) {
  TSpline curve;
  Fill(curve, kWave, true, false);
  const int n = curve.Count(), m = 199 / (n - 1);
  ASSERT_EQ(curve.Samples.Count(), 1 + (n - 1) * m);
  double length = 0;
  TComplex previous = *curve.GetPoint(1);
  for (int k = 2; k <= n; ++k) {
    const TPrePoint& a = *curve.GetPoint(k - 1);
    const TPrePoint& b = *curve.GetPoint(k);
    for (int i = 1; i <= m; ++i) {
      const double t = double(i) / m;
      const auto* sample = dynamic_cast<const TPrePoint*>(curve.Samples.Items(1 + (k - 2) * m + i));
      ASSERT_NE(sample, nullptr);
      const double x = Bezier(a.X, a.Direction.X, b.X, b.Direction.X, t);
      const double y = Bezier(a.Y, a.Direction.Y, b.Y, b.Direction.Y, t);
      EXPECT_NEAR(sample->X, x, 1e-14);
      EXPECT_NEAR(sample->Y, y, 1e-14);
      EXPECT_NEAR(sample->Out, Bezier(a.Out, curve.OutTangents[k - 2], b.Out, curve.OutTangents[k - 1], t),
                  1e-14);
      // The unit tangent: a central difference of the curve, normalised.
      const double h = 1e-6;
      TComplex d(Bezier(a.X, a.Direction.X, b.X, b.Direction.X, t + h) -
                     Bezier(a.X, a.Direction.X, b.X, b.Direction.X, t - h),
                 Bezier(a.Y, a.Direction.Y, b.Y, b.Direction.Y, t + h) -
                     Bezier(a.Y, a.Direction.Y, b.Y, b.Direction.Y, t - h));
      d.Normalize();
      EXPECT_NEAR(sample->Direction.X, d.X, 1e-8);
      EXPECT_NEAR(sample->Direction.Y, d.Y, 1e-8);
      length += std::hypot(x - previous.X, y - previous.Y);
      previous.SetXY(x, y);
      EXPECT_NEAR(sample->s, length, 1e-12);
    }
    // A control point's s is the running length at its end, as a fraction of the whole.
    EXPECT_NEAR(b.s * curve.CurveLength, length, 1e-12);
  }
  EXPECT_NEAR(curve.CurveLength, length, 1e-12);
  EXPECT_EQ(curve.GetPoint(1)->s, 0);
  EXPECT_DOUBLE_EQ(curve.GetPoint(n)->s, 1);
}

TEST(SplineTest, SampleCountFollowsTheNumberOfSegments) {
  const std::pair<int, int> cases[] = {{2, 200}, {3, 199}, {7, 199}, {50, 197}, {80, 159}};
  for (const auto& [n, samples] : cases) {
    std::vector<TControl> points;
    for (int i = 0; i < n; ++i) points.push_back({0.01 * i, 0.02 * std::sin(i)});
    TSpline curve;
    Fill(curve, points);
    EXPECT_EQ(curve.Samples.Count(), samples) << n;
    EXPECT_TRUE(curve.IsValid());
  }
}

TEST(SplineTest, PointAtFindsEndsAndControlPoints) {
  TSpline curve;
  Fill(curve, kWave);
  curve.InTotal = true;
  curve.TotalIn = 2;
  for (int k = 1; k <= curve.Count(); ++k) {
    const TPrePoint& c = *curve.GetPoint(k);
    TPrePoint p;
    p.Out = 9;
    curve.PointAt(p, c.s);
    EXPECT_NEAR(p.X, c.X, 1e-15) << k;
    EXPECT_NEAR(p.Y, c.Y, 1e-15) << k;
    EXPECT_EQ(p.s, c.s);
    EXPECT_NEAR(p.In, 2 * c.s, 1e-15);  // the total, in proportion
    EXPECT_EQ(p.Out, 0);
    EXPECT_NEAR(p.Direction.Abs(), 1, 1e-15);
  }
  TPrePoint end;
  curve.PointAt(end, 1);
  EXPECT_NEAR(end.X, 0.5, 1e-15);
  // Between control points: the segment's Hermite value at the fraction of its parameter span.
  const TPrePoint& a = *curve.GetPoint(2);
  const TPrePoint& b = *curve.GetPoint(3);
  TPrePoint mid;
  curve.PointAt(mid, a.s + 0.25 * (b.s - a.s));
  EXPECT_NEAR(mid.X, Bezier(a.X, a.Direction.X, b.X, b.Direction.X, 0.25), 1e-15);
}

TEST(SplineTest, RecalcDrawsANewIDAndFewPointsKeepIt) {
  TSpline curve;
  EXPECT_EQ(curve.ID, -1);
  curve.Add(std::make_unique<TPrePoint>(0, 0));
  TScriptedRandom none;
  {
    TRandomScope scope(none);
    curve.Recalc();
  }
  EXPECT_EQ(curve.ID, -1);
  EXPECT_EQ(curve.Samples.Count(), 0);
  EXPECT_FALSE(curve.IsValid());

  curve.Add(std::make_unique<TPrePoint>(1, 0));
  TScriptedRandom draws{0.5, 0.9999999999};
  TRandomScope scope(draws);
  curve.Recalc();
  EXPECT_EQ(curve.ID, 6172839);
  curve.Recalc();
  EXPECT_EQ(curve.ID, 12345677);
  EXPECT_EQ(draws.Requests, (std::vector<int32_t>{12345678, 12345678}));
  // Clear keeps it.
  curve.Clear();
  EXPECT_EQ(curve.ID, 12345677);
}

TEST(SplineTest, CoincidentPointsGiveNoDivisionByZero) {
  TSpline curve;
  // All points on one spot: no length but the rounding of the evaluation, not valid, no NaN.
  Fill(curve, {{0.2, 0.2}, {0.2, 0.2}, {0.2, 0.2}});
  EXPECT_LT(curve.CurveLength, 1e-14);
  EXPECT_FALSE(curve.IsValid());
  EXPECT_EQ(curve.GetPoint(2)->s, 0);
  TPrePoint p;
  curve.PointAt(p, 0.5);
  EXPECT_EQ(p.X, 0.2);
  EXPECT_FALSE(std::isnan(p.Direction.X) || std::isnan(curve.GetPoint(3)->s));
  TPrePointList points;
  points.ID = 77;
  points.FromSpline(curve);
  EXPECT_EQ(points.Count(), 0);
  EXPECT_EQ(points.ID, 77);

  // Two coincident control points in a curve of length: the spline loops between them, and
  // every evaluation stays finite.
  Fill(curve, {{0, 0}, {0.1, 0}, {0.1, 0}, {0.2, 0.1}});
  ASSERT_TRUE(curve.IsValid());
  for (const double s : {curve.GetPoint(2)->s, 0.0, 0.3, 1.0}) {
    curve.PointAt(p, s);
    EXPECT_TRUE(std::isfinite(p.X) && std::isfinite(p.Y) && std::isfinite(p.Direction.X)) << s;
  }
  curve.PointAt(p, curve.GetPoint(2)->s);
  EXPECT_NEAR(p.X, 0.1, 1e-15);
}

TEST(SplineTest, ExtentsAndZeroOutRotations) {
  TSpline curve;
  TComplex min(7, 7), max(7, 7);
  curve.GetExtents(min, max);  // nothing with no points
  EXPECT_EQ(min.X, 7);
  Fill(curve, kWave, true);
  curve.GetExtents(min, max);
  EXPECT_EQ(min.X, 0);
  EXPECT_EQ(min.Y, -0.1);
  EXPECT_EQ(max.X, 0.5);
  EXPECT_EQ(max.Y, 0.05);
  EXPECT_FALSE(curve.HasZeroOutRotations());
  Fill(curve, {{0, 0}, {1, 0}}, true);
  EXPECT_TRUE(curve.HasZeroOutRotations());
  curve.Out = false;
  EXPECT_FALSE(curve.HasZeroOutRotations());
}

TEST(SplineTest, ClosedWhenTheLastPointRepeatsTheFirst) {
  TSpline curve;
  EXPECT_FALSE(curve.IsClosed());
  struct TCase {
    std::vector<TControl> points;
    bool closed;
  };
  const TCase cases[] = {
      {kWave, false},
      {{{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}}, true},
      // Out and back along one line is a loop too.
      {{{0, 0}, {1, 0}, {0, 0}}, true},
      // A gap of a ten-billionth of the length closes it; one of a millionth does not.
      {{{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 4e-10}}, true},
      {{{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 4e-6}}, false},
      // Two points cannot make a loop, and points that all coincide make no curve.
      {{{0, 0}, {0, 0}}, false},
      {{{0.5, 0.5}, {0.5, 0.5}, {0.5, 0.5}}, false},
  };
  for (const TCase& c : cases) {
    Fill(curve, c.points);
    EXPECT_EQ(curve.IsClosed(), c.closed) << c.points.size() << " points, last " << c.points.back().y;
  }
}

std::string Written(TComplexPointList& list) {
  std::ostringstream out;
  list.Write(out);
  return out.str();
}

// How near a path must pass each control point: a tenth of the length on a stroke; on a loop,
// closed or made by crossing sides, twice its area over its perimeter where that is less.
TEST(SplineTest, PassToleranceNarrowsOnLoopsSmallerThanATenth) {
  TSpline stroke;
  Fill(stroke, {{0, 0}, {0.25, 0}, {0.5, 0}, {0.75, 0}, {1, 0}});
  EXPECT_EQ(stroke.PassTolerance(0), 0);
  EXPECT_EQ(stroke.PassTolerance(6), 0);
  for (int k = 1; k <= 5; ++k) EXPECT_DOUBLE_EQ(stroke.PassTolerance(k), 0.1 * stroke.CurveLength) << k;
  EXPECT_EQ(stroke.LoopArea(), 0);

  // A flat ellipse, 1 by 0.1, either way round: its area (pi a b) and the scale from the
  // perimeter by Ramanujan's formula.
  const double a = 0.5, b = 0.05;
  const double h = (a - b) * (a - b) / ((a + b) * (a + b));
  const double perimeter = std::numbers::pi * (a + b) * (1 + 3 * h / (10 + std::sqrt(4 - 3 * h)));
  for (const double way : {1.0, -1.0}) {
    std::vector<TControl> points;
    for (int k = 0; k <= 24; ++k) {
      const double t = way * 2 * std::numbers::pi * k / 24;
      points.push_back({a * std::cos(t), b * std::sin(t)});
    }
    points.back() = points.front();
    TSpline ellipse;
    Fill(ellipse, points);
    ASSERT_TRUE(ellipse.IsClosed());
    EXPECT_NEAR(ellipse.LoopArea(), way * std::numbers::pi * a * b, 0.01 * std::numbers::pi * a * b);
    for (int k = 1; k <= ellipse.Count(); ++k)
      EXPECT_NEAR(ellipse.PassTolerance(k), 2 * std::numbers::pi * a * b / perimeter,
                  0.02 * a * b / perimeter * std::numbers::pi)
          << k;
  }

  // A long stroke through a small loop: the loop's points get the loop's scale (near its control
  // polygon's), the strokes' a tenth of the length.
  const std::vector<TControl> crossing = {{0.244, -0.486},  {0.018, -0.168},  {-0.163, 0.009},
                                          {-0.300, 0.080},  {-0.390, 0.073},  {-0.436, 0.023},
                                          {-0.436, -0.046}, {-0.390, -0.096}, {-0.300, -0.103},
                                          {-0.163, -0.032}, {0.018, 0.145},   {0.244, 0.463}};
  TSpline curve;
  Fill(curve, crossing);
  // The polygon's loop: from where sides 2-3 and 10-11 cross, round points 3 to 10.
  auto at = [&](int k) { return std::complex<double>(crossing[size_t(k - 1)].x, crossing[size_t(k - 1)].y); };
  const std::complex<double> p = at(2), r = at(3) - at(2), q = at(10), d = at(11) - at(10);
  const double t = std::imag(std::conj(q - p) * d) / std::imag(std::conj(r) * d);
  std::vector<std::complex<double>> loop{p + t * r};
  for (int k = 3; k <= 10; ++k) loop.push_back(at(k));
  loop.push_back(loop.front());
  double area = 0, length = 0;
  for (size_t k = 1; k < loop.size(); ++k) {
    area += 0.5 * std::imag(std::conj(loop[k - 1]) * loop[k]);
    length += std::abs(loop[k] - loop[k - 1]);
  }
  const double scale = 2 * std::fabs(area) / length;
  ASSERT_LT(scale, 0.1 * curve.CurveLength);
  for (int k = 1; k <= 12; ++k) {
    if (k >= 3 && k <= 10)
      EXPECT_NEAR(curve.PassTolerance(k), scale, 0.15 * scale) << k;
    else
      EXPECT_DOUBLE_EQ(curve.PassTolerance(k), 0.1 * curve.CurveLength) << k;
  }
  EXPECT_EQ(curve.LoopArea(), 0);
}

TEST(SplineTest, RecordRoundTripsAndKeepsTheStoredID) {
  TSpline curve;
  Fill(curve, {{0, 0}, {0.1, 0.05, 0.25, 0.5}, {0.3, 0}}, true, true);
  curve.TotalOut = -0.75;
  curve.ID = 4242;
  curve.Select(2);
  const std::string text = Written(curve);
  const auto lines = shared::SplitTextLines(text);
  const std::vector<std::string> tail(lines.end() - 8, lines.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"0", "4242 ID", "1 In", "0", " 1.00000000000000E+0000", "1 Out",
                                            "0", "-7.50000000000000E-0001"}));
  EXPECT_FALSE(curve.IsModified());

  TSpline back;
  TRandom other(99);
  TRandomScope scope(other);
  std::istringstream in(text);
  back.Read(in);
  EXPECT_EQ(back.ID, 4242);
  EXPECT_EQ(back.Count(), 3);
  EXPECT_EQ(back.Samples.Count(), 199);
  EXPECT_EQ(back.GetPoint(2)->Out, 0.25);
  EXPECT_TRUE(back.Out && back.In);
  EXPECT_EQ(back.Selected(), nullptr);
  EXPECT_FALSE(back.IsModified());
  curve.Deselect();
  EXPECT_EQ(Written(back), Written(curve));

  // Damage anywhere is refused; the names are whole lines of text.
  vesktest::ExpectDamageRefused(text, [](std::istream& s) { TSpline().Read(s); }, {2});
}

TEST(SplineTest, AssignTakesSettingsAndAnIDThatWasDrawn) {
  TSpline source;
  Fill(source, kWave, true);
  source.ID = 31;
  source.TotalIn = 3;
  TSpline copy;
  TScriptedRandom draws{0.5, 0.5};
  TRandomScope scope(draws);
  copy.Assign(source);
  EXPECT_EQ(copy.ID, 31);
  EXPECT_TRUE(copy.Out);
  EXPECT_EQ(copy.TotalIn, 3);
  EXPECT_EQ(copy.Samples.Count(), source.Samples.Count());
  EXPECT_EQ(copy.CurveLength, source.CurveLength);
  source.ID = -1;
  copy.Assign(source);
  EXPECT_EQ(copy.ID, 6172839);  // never drawn: the copy draws its own
}

TEST(SplineTest, HtmlTableInDisplayUnitsWithTheNameEscaped) {
  shared::CreateConvert();
  TSpline curve;
  Fill(curve, {{0.003, 0.004}, {0.01, 0, std::numbers::pi / 2}}, true);
  curve.Name = "Curve <1> & \"2\"";
  std::ostringstream cartesian;
  curve.WriteHtml(cartesian);
  EXPECT_EQ(cartesian.str(),
            "<table border=\"1\" bordercolor=\"#000000\" width=\"100%\">\r\n"
            "    <tr><td colspan=\"5\" bgcolor=\"#FFFFCC\" width=\"100%\"><font face=\"Arial\" size=\"4\">"
            "Curve &lt;1&gt; &amp; &quot;2&quot;</font></td></tr>\r\n"
            "    <tr>\r\n"
            "        <td width=\"8%\">Nr.</td>\r\n"
            "        <td width=\"23%\">x [mm]</td>\r\n"
            "        <td width=\"23%\">y [mm]</td>\r\n"
            "        <td width=\"23%\">Output Rotation [\xB0]</td>\r\n"
            "        <td width=\"23%\">Input Rotation [\xB0]</td>\r\n"
            "    </tr>\r\n"
            "    <tr>\r\n        <td>1</td>\r\n        <td>3.000</td>\r\n        <td>4.000</td>\r\n"
            "<td>0.000</td>\r\n<td>-</td>\r\n    </tr>\r\n"
            "    <tr>\r\n        <td>2</td>\r\n        <td>10.000</td>\r\n        <td>0.000</td>\r\n"
            "<td>90.000</td>\r\n<td>-</td>\r\n    </tr>\r\n"
            "</table>\r\n<p></p>\r\n");
  AppOptions.IsPolar = true;
  std::ostringstream polar;
  curve.WriteHtml(polar);
  EXPECT_NE(polar.str().find("<td width=\"23%\">R [mm]</td>\r\n        <td width=\"23%\">Angle [\xB0]</td>"),
            std::string::npos);
  // (3, 4) mm is 5 mm at atan(4/3) = 53.130 degrees.
  EXPECT_NE(polar.str().find("<td>5.000</td>\r\n        <td>53.130</td>"), std::string::npos);
  ResetAppOptions();
  shared::FreeConvert();
}

// Cells of a sheet by (row, column); any other cell is empty.
struct TCells : TSheetCells {
  std::map<std::pair<int32_t, int32_t>, double> values;
  double Value(int32_t row, int32_t column) const override {
    const auto at = values.find({row, column});
    return at == values.end() ? 0 : at->second;
  }
  bool IsEmpty(int32_t row, int32_t column) const override { return !values.contains({row, column}); }
  // Row r: a mark in column 1, then x, y, Out, In.
  void Row(int32_t r, double x, double y, double out, double in) {
    values[{r, 1}] = r - 1;
    values[{r, 2}] = x;
    values[{r, 3}] = y;
    values[{r, 4}] = out;
    values[{r, 5}] = in;
  }
};

TEST(SplineTest, SheetImportSetsTheInputRotationsByTheirRows) {
  shared::CreateConvert();  // millimetres and degrees
  const double deg = std::numbers::pi / 180;
  // Rows 2..5 on a straight line at even steps, so the curve parameter of row r is (r - 2) / 3.
  struct Case {
    const char* name;
    std::vector<double> ins;  // per row; NaN: the cell is empty
    bool in, inTotal;
    double totalIn;            // degrees
    std::vector<double> read;  // the points' In afterwards, degrees
    std::string notice;
  };
  const double none = std::nan("");
  const Case cases[] = {
      {"only the last row", {0, 0, 0, 90}, false, true, 90, {0, 0, 0, 90}, ""},
      {"only the last row, the others empty", {none, none, none, 90}, false, true, 90, {0, 0, 0, 90}, ""},
      {"every row after the first", {0, 10, 20, 30}, true, false, 30, {0, 10, 20, 30}, ""},
      {"turning the other way", {0, -10, -20, -30}, true, false, -30, {0, -10, -20, -30}, ""},
      {"none", {0, 0, 0, 0}, false, false, 57.29577951308232, {0, 0, 0, 0}, ""},
      // The rows without a rotation follow from the rows with one, along the curve.
      {"a gap", {0, 30, none, 90}, true, false, 90, {0, 30, 60, 90},
       "Column E (input rotation) is empty or 0 in row 4. The input rotation is prescribed at every point: in "
       "that row it is interpolated along the curve between the nearest rows with a value."},
      {"one row but not the last", {0, 45, 0, 0}, true, false, 45, {0, 45, 45, 45},
       "Column E (input rotation) is empty or 0 in rows 4 and 5. The input rotation is prescribed at every "
       "point: after row 3 it keeps the value of row 3."},
  };
  for (const auto& c : cases) {
    TCells cells;
    for (size_t i = 0; i < c.ins.size(); ++i) {
      cells.Row(int32_t(i + 2), 10.0 * i, 5, 30.0 * i, c.ins[i]);
      if (std::isnan(c.ins[i])) cells.values.erase({int32_t(i + 2), 5});
    }
    TSpline curve;
    TRandom fixed(1);
    TRandomScope scope(fixed);
    std::string notice = "left over";
    curve.ImportFromSheet(cells, &notice);
    ASSERT_EQ(curve.Count(), 4) << c.name;
    EXPECT_EQ(curve.In, c.in) << c.name;
    EXPECT_EQ(curve.InTotal, c.inTotal) << c.name;
    EXPECT_NEAR(curve.TotalIn, c.totalIn * deg, 1e-15) << c.name;
    for (int32_t i = 1; i <= 4; ++i) EXPECT_NEAR(curve.GetPoint(i)->In, c.read[size_t(i - 1)] * deg, 1e-12) << c.name;
    EXPECT_EQ(notice, c.notice) << c.name;
    EXPECT_TRUE(curve.Out);
    EXPECT_FALSE(curve.OutTotal);
    EXPECT_NEAR(curve.GetPoint(3)->X, 0.02, 1e-15);
    EXPECT_NEAR(curve.GetPoint(3)->Y, 0.005, 1e-15);
    EXPECT_NEAR(curve.GetPoint(3)->Out, std::numbers::pi / 3, 1e-15);
    EXPECT_EQ(curve.Selected(), nullptr);
    EXPECT_TRUE(curve.IsValid());  // recalculated
  }

  // Output rotations are prescribed with a value in column 4 of any row after the first; a typed
  // 0 is a value, and a row without one takes the rotation between its neighbours.
  struct TOutCase {
    const char* name;
    std::vector<int32_t> emptyRows;
    bool out;
    std::string notice;
  };
  const TOutCase outCases[] = {{"all filled", {}, true, ""},
                               {"only the first empty", {2}, true, ""},
                               {"one later row empty", {4}, true,
                                "Column D (output rotation) is empty in row 4. The output rotation is prescribed at "
                                "every point: in that row it is interpolated along the curve between the nearest "
                                "rows with a value."},
                               {"all empty", {2, 3, 4, 5}, false, ""}};
  for (const TOutCase& c : outCases) {
    TCells cells;
    for (int32_t r = 2; r <= 5; ++r) cells.Row(r, 10.0 * r, 5, 0, 0);
    for (int32_t r : c.emptyRows) cells.values.erase({r, 4});
    TSpline curve;
    std::string notice;
    curve.ImportFromSheet(cells, &notice);
    ASSERT_EQ(curve.Count(), 4) << c.name;
    EXPECT_EQ(curve.Out, c.out) << c.name;
    EXPECT_FALSE(curve.OutTotal) << c.name;
    EXPECT_EQ(notice, c.notice) << c.name;
    EXPECT_EQ(curve.HasZeroOutRotations(), c.out) << c.name;
  }

  // An empty first row gives an empty curve with output rotations set.
  TSpline curve;
  curve.ImportFromSheet(TCells());
  EXPECT_EQ(curve.Count(), 0);
  EXPECT_TRUE(curve.Out);
  EXPECT_FALSE(curve.In);

  // Polar rows: R and angle. A cell without a finite number ends the list like an empty one.
  AppOptions.IsPolar = true;
  TCells polar;
  polar.Row(2, 100, 90, 0, 0);
  polar.Row(3, 200, 180, 0, 0);
  polar.values[{4, 1}] = std::nan("");
  polar.Row(5, 1, 1, 0, 0);
  curve.ImportFromSheet(polar);
  ASSERT_EQ(curve.Count(), 2);
  EXPECT_NEAR(curve.GetPoint(1)->X, 0, 1e-15);
  EXPECT_NEAR(curve.GetPoint(1)->Y, 0.1, 1e-15);
  EXPECT_NEAR(curve.GetPoint(2)->X, -0.2, 1e-15);
  ResetAppOptions();

  // A sheet of more rows than the curve holds stops at its capacity.
  TCells many;
  for (int32_t r = 2; r < 2 + 100; ++r) many.Row(r, r, r * r * 0.01, 0, 0);
  curve.ImportFromSheet(many);
  EXPECT_EQ(curve.Count(), TSpline::kCapacity);
  EXPECT_NEAR(curve.GetPoint(80)->X, 0.081, 1e-15);
  shared::FreeConvert();
}

// Column D filled in 6 of 18 rows: the output rotation is prescribed at every point, the empty
// rows between filled ones interpolated by the length along the curve, the rows after the last
// one at its value, and the notice names them. The points lie on the x axis at uneven steps, so
// the length parameter is x / 250 mm.
TEST(SplineTest, SheetImportFillsAPartlyFilledOutputColumnAlongTheCurve) {
  shared::CreateConvert();  // millimetres and degrees
  const double deg = std::numbers::pi / 180;
  const std::map<int32_t, double> given = {{2, 0}, {5, 12}, {8, 30}, {11, 18}, {14, 45}, {17, 60}};
  std::vector<double> x;
  TCells cells;
  for (int32_t r = 2; r <= 19; ++r) {
    x.push_back(r == 2 ? 0 : x.back() + (r % 2 ? 10 : 20));
    cells.Row(r, x.back(), 0, 0, 0);
    cells.values.erase({r, 5});
    if (given.contains(r))
      cells.values[{r, 4}] = given.at(r);
    else
      cells.values.erase({r, 4});
  }
  ASSERT_EQ(x.back(), 250);
  TSpline curve;
  std::string notice;
  curve.ImportFromSheet(cells, &notice);
  ASSERT_EQ(curve.Count(), 18);
  EXPECT_TRUE(curve.Out);
  EXPECT_FALSE(curve.OutTotal);
  EXPECT_FALSE(curve.In);
  EXPECT_FALSE(curve.InTotal);
  EXPECT_EQ(notice,
            "Column D (output rotation) is empty in rows 3, 4, 6, 7, 9, 10, 12, 13, 15, 16, 18 and 19. The output "
            "rotation is prescribed at every point: in those rows it is interpolated along the curve between the "
            "nearest rows with a value, and after row 17 it keeps the value of row 17.");
  for (int32_t r = 2; r <= 19; ++r) {
    double expected = 60;  // after row 17
    const auto after = given.lower_bound(r);
    if (after != given.end()) {
      const auto before = after->first == r ? after : std::prev(after);
      const double x0 = x[size_t(before->first - 2)], x1 = x[size_t(after->first - 2)];
      expected = x1 == x0 ? after->second
                          : before->second + (x[size_t(r - 2)] - x0) / (x1 - x0) * (after->second - before->second);
    }
    EXPECT_NEAR(curve.GetPoint(r - 1)->Out, expected * deg, 1e-9) << "row " << r;
    EXPECT_NEAR(curve.GetPoint(r - 1)->s, x[size_t(r - 2)] / 250, 1e-12) << "row " << r;
  }
  // Each point shows its rotation line: row 6 (x = 60 mm, 12 + 18 * 20 / 50 = 19.2 degrees) at
  // pixel (206, 200), 36 pixels long: (34, 11.8) pixels on.
  ASSERT_NEAR(curve.GetPoint(5)->Out, 19.2 * deg, 1e-9);
  vesktest::TSynthView view;
  curve.Draw(view.canvas);
  EXPECT_TRUE(view.box.Screen.Logged({"M 206,200", "L 240,188"}));
  shared::FreeConvert();
}

TEST(SplineTest, ExportsTheAnimatorCurveSection) {
  shared::TTabLines lines;
  TSpline curve;
  curve.ExportTabLines(lines);
  EXPECT_TRUE(lines.Lines.empty());
  Fill(curve, {{0, 0}, {0.5, 0.25, 1.5, 0}}, true);
  curve.InTotal = true;
  curve.TotalIn = 2;
  curve.ExportTabLines(lines);
  ASSERT_EQ(lines.Lines.size(), 5u);
  EXPECT_EQ(lines.Lines[0], "[Curve>");
  EXPECT_EQ(lines.Lines[4], "<Curve]");
  ASSERT_TRUE(lines.FindSection("Curve"));
  ASSERT_TRUE(lines.ReadLine());
  EXPECT_FALSE(lines.GetBool(true));
  EXPECT_TRUE(lines.GetBool(false));
  EXPECT_EQ(lines.GetFloat(0), 2);
  EXPECT_TRUE(lines.GetBool(false));
  EXPECT_FALSE(lines.GetBool(true));
  EXPECT_EQ(lines.GetFloat(0), 1);
  // Each control point as the animator's curve point record.
  ASSERT_TRUE(lines.ReadLine());
  ASSERT_TRUE(lines.ReadLine());
  shared::TPrePoint p;
  p.ReadTabLine(lines);
  const TPrePoint& c = *curve.GetPoint(2);
  EXPECT_EQ(p.X, 0.5);
  EXPECT_EQ(p.Y, 0.25);
  EXPECT_NEAR(p.Direction.X, c.Direction.X, 1e-14);
  EXPECT_NEAR(p.Direction.Y, c.Direction.Y, 1e-14);
  EXPECT_EQ(p.Out, 1.5);
  EXPECT_EQ(p.s, 1);
}

TEST(SplineTest, DrawsTheOutputBodyAtTheSelectedPoint) {
  vesktest::TSynthView view;
  TSpline curve;
  Fill(curve, {{0, 0}, {1, 0, std::numbers::pi / 2}});
  curve.Select(2);
  curve.Draw(view.canvas);
  // Without output rotations: no rotation lines, no drawing.
  EXPECT_FALSE(view.box.Screen.Logged({"M 300,200", "L 300,164"}));
  EXPECT_FALSE(view.box.Screen.Logged({"L 300,210"}));
  view.log.clear();
  curve.Out = true;
  curve.Draw(view.canvas);
  // The house's first line from (0, 0) to (-0.1, 0), turned by 90 degrees at (1, 0): from
  // pixel (300, 200) to (300, 210). Each control point shows its 36-pixel rotation line.
  EXPECT_TRUE(view.box.Screen.Logged({"M 300,200", "L 300,210"}));
  EXPECT_TRUE(view.box.Screen.Logged({"M 300,200", "L 300,164"}));
  EXPECT_TRUE(view.box.Screen.Logged({"M 200,200", "L 236,200"}));
}

}  // namespace
