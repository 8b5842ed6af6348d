// The graph box on a surface that records its calls and keeps pixels for straight lines and
// filled boxes, so that the not-XOR cursor can be checked by what stays on the screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "synthesis/engine/GraphPaintBox.h"

namespace vesk {
namespace {

using namespace shared;

// Text is 6 pixels a character and 10 high: the labels take a left margin of 9 x 6 + 8 = 62,
// a right margin of 8 and 18 at top and bottom.
constexpr int kCharWidth = 6, kTextHeight = 10;
constexpr int kLeft = 9 * kCharWidth + 8, kRight = 8, kTop = kTextHeight + 8, kBottom = kTextHeight + 8;

class TPixelSurface : public TPaintSurface {
 public:
  TPixelSurface(int width, int height) : W(width), H(height), Pixels(size_t(width * height), kWhite) {}

  int Width() const override { return W; }
  int Height() const override { return H; }
  void SetSize(int, int) override {}
  void SetPen(const TPen& pen) override { CurrentPen = pen; }
  TPen Pen() const override { return CurrentPen; }
  void SetBrush(const TBrush& brush) override { CurrentBrush = brush; }
  TBrush Brush() const override { return CurrentBrush; }
  void SetFont(const TFont& font) override { CurrentFont = font; }
  TFont Font() const override { return CurrentFont; }
  void MoveTo(int x, int y) override { At = TPoint{x, y}; }
  // Straight lines leave out their end pixel, as the program's surfaces do.
  void LineTo(int x, int y) override {
    Log.push_back("Line " + P(At.X, At.Y) + " " + P(x, y) + " " + Hex(CurrentPen.Color) +
                  (CurrentPen.Mode == TPenMode::NotXor ? " notxor" : ""));
    const int dx = (x > At.X) - (x < At.X), dy = (y > At.Y) - (y < At.Y);
    if (dx == 0 || dy == 0)
      for (TPoint p = At; !(p.X == x && p.Y == y); p.X += dx, p.Y += dy) Plot(p.X, p.Y);
    At = TPoint{x, y};
  }
  void Polyline(std::span<const TPoint> points) override {
    std::string text = "Polyline";
    for (const TPoint& p : points) text += " " + P(p.X, p.Y);
    Log.push_back(text);
  }
  void Polygon(std::span<const TPoint>) override { Log.push_back("Polygon"); }
  void Ellipse(int, int, int, int) override { Log.push_back("Ellipse"); }
  void FillRect(int x1, int y1, int x2, int y2) override {
    Log.push_back("Fill " + P(x1, y1) + " " + P(x2, y2));
    for (int y = std::max(0, y1); y < std::min(H, y2); ++y)
      for (int x = std::max(0, x1); x < std::min(W, x2); ++x) Pixels[size_t(y * W + x)] = CurrentBrush.Color;
  }
  void TextOut(int x, int y, const std::string& text) override {
    Log.push_back("Text " + P(x, y) + " " + text);
  }
  TSize TextExtent(const std::string& text) override { return {int(text.size()) * kCharWidth, kTextHeight}; }
  void DrawRaster(int, int, const TRaster&) override {}
  void Draw(int, int, const TPaintSurface&) override {}
  TRaster ReadPixels() const override { return TRaster(W, H); }

  TColor Pixel(int x, int y) const { return Pixels[size_t(y * W + x)]; }
  int CountIn(int column, TColor color) const {
    int n = 0;
    for (int y = 0; y < H; ++y) n += Pixel(column, y) == color;
    return n;
  }
  int LinesOf(TColor color) const {
    int n = 0;
    for (const auto& line : Log)
      n += line.rfind("Line ", 0) == 0 && line.find(" " + Hex(color)) != std::string::npos;
    return n;
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& line : Log)
      if (line.rfind("Text ", 0) == 0) texts.push_back(line.substr(line.find(' ', 5) + 1));
    return texts;
  }
  bool HasText(const std::string& text) const {
    for (const auto& t : Texts())
      if (t == text) return true;
    return false;
  }
  int CountOf(const std::string& prefix) const {
    int n = 0;
    for (const auto& line : Log) n += line.rfind(prefix, 0) == 0;
    return n;
  }

  static std::string P(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }
  static std::string Hex(TColor c) {
    char text[16];
    std::snprintf(text, sizeof text, "%06X", c);
    return text;
  }

  int W, H;
  std::vector<TColor> Pixels;
  TPen CurrentPen;
  TBrush CurrentBrush;
  TFont CurrentFont;
  TPoint At;
  std::vector<std::string> Log;

 private:
  void Plot(int x, int y) {
    if (x < 0 || y < 0 || x >= W || y >= H) return;
    TColor& p = Pixels[size_t(y * W + x)];
    p = CurrentPen.Mode == TPenMode::NotXor ? ~(p ^ CurrentPen.Color) & 0xFFFFFF : CurrentPen.Color;
  }
};

class TFakePaintBox : public TPaintBox {
 public:
  TFakePaintBox(int width, int height) : Screen(width, height) {}
  int Width() const override { return Screen.W; }
  int Height() const override { return Screen.H; }
  int ParentClientWidth() const override { return Screen.W; }
  int ParentClientHeight() const override { return Screen.H; }
  TPaintSurface& Canvas() override { return Screen; }
  std::unique_ptr<TPaintSurface> CreateBitmap(int width, int height) override {
    return std::make_unique<TPixelSurface>(width, height);
  }
  void SetCursor(int) override {}
  TColor WindowColor() const override { return kWhite; }

  TPixelSurface Screen;
};

constexpr TColor kBlue = 0xFF0000;  // $00BBGGRR

struct TGraphFixture {
  explicit TGraphFixture(int width = 400, int height = 300) : box(width, height) {}

  // Samples x = 0..n-1 with y = f(x).
  template <class F>
  void Fill(int n, F f) {
    graph.Clear();
    for (int i = 0; i < n; ++i) graph.AddPoint(i, f(double(i)));
  }
  void Paint() {
    box.Screen.Log.clear();
    graph.Paint();
  }

  TFakePaintBox box;
  TConvert units;  // Metric Engineering: millimetres and degrees
  TGraphPaintBox graph{box, units};
  TPixelSurface& screen = box.Screen;
};

TEST(GraphPaintBox, HoldsAtMost201SamplesAndTheirRanges) {
  TGraphFixture f;
  double lowest = 1, highest = -1;
  for (int i = 0; i < 201; ++i) {
    f.graph.AddPoint(i * 0.5, std::sin(i * 0.1));
    lowest = std::min(lowest, std::sin(i * 0.1));
    highest = std::max(highest, std::sin(i * 0.1));
  }
  f.graph.AddPoint(1000, 1000);
  EXPECT_EQ(f.graph.Count, 201);
  EXPECT_EQ(f.graph.MinX, 0);
  EXPECT_EQ(f.graph.MaxX, 100);
  EXPECT_EQ(f.graph.MinY, lowest);
  EXPECT_EQ(f.graph.MaxY, highest);
  EXPECT_EQ(f.graph.Value(200), std::sin(20.0));
  EXPECT_EQ(f.graph.Value(201), 0);
  EXPECT_EQ(f.graph.Value(-1), 0);

  f.graph.XTitle = "Time";
  f.graph.Clear();
  EXPECT_EQ(f.graph.Count, 0);
  EXPECT_EQ(f.graph.MaxX, 0);
  EXPECT_EQ(f.graph.XTitle, "Time");
}

TEST(GraphPaintBox, SamplesLandAtTheirShareOfThePlot) {
  TGraphFixture f;
  // y = x^2 - 20 over x = 0..10: from -20 to 80.
  f.Fill(11, [](double x) { return x * x - 20; });
  f.Paint();
  ASSERT_TRUE(f.graph.Drawable);
  EXPECT_EQ(f.graph.PlotLeft, kLeft);
  EXPECT_EQ(f.graph.PlotRight, 400 - kRight);
  EXPECT_EQ(f.graph.PlotTop, kTop);
  EXPECT_EQ(f.graph.PlotBottom, 300 - kBottom);
  const double width = 400 - kRight - kLeft, height = 300 - kBottom - kTop;
  std::string polyline = "Polyline";
  for (int i = 0; i <= 10; ++i) {
    const int px = kLeft + int(std::lround(i / 10.0 * width));
    const int py = kTop + int(std::lround((80 - (i * i - 20)) / 100.0 * height));
    EXPECT_EQ(f.graph.PX[i], px) << i;
    EXPECT_EQ(f.graph.PY[i], py) << i;
    polyline += " " + TPixelSurface::P(px, py);
  }
  EXPECT_EQ(f.screen.CountOf(polyline), 1);

  // Round values: the axis runs from -20 to 80 in steps of 20.
  EXPECT_EQ(f.graph.YTicks, (std::vector<double>{-20, 0, 20, 40, 60, 80}));
  // The zero line, a fifth of the way up, crosses the plot in black over its grid line.
  const int zeroRow = kTop + int(std::lround(0.8 * height));
  EXPECT_EQ(f.screen.Pixel(kLeft + 3, zeroRow), kBlack);
  EXPECT_EQ(f.screen.Pixel(400 - kRight - 3, zeroRow), kBlack);
}

struct TZeroCase {
  double lowest, highest;
  bool zeroLine;
};

class ZeroLine : public ::testing::TestWithParam<TZeroCase> {};

TEST_P(ZeroLine, OnlyWhenTheDataCrossZeroStrictly) {
  TGraphFixture f;
  const TZeroCase c = GetParam();
  f.Fill(5, [&](double x) { return c.lowest + (c.highest - c.lowest) * x / 4; });
  f.Paint();
  // The frame takes four black lines.
  EXPECT_EQ(f.screen.LinesOf(kBlack), c.zeroLine ? 5 : 4);
}

INSTANTIATE_TEST_SUITE_P(Cases, ZeroLine,
                         ::testing::Values(TZeroCase{-1, 1, true}, TZeroCase{-3, 0.001, true},
                                           TZeroCase{0, 1, false}, TZeroCase{-1, 0, false},
                                           TZeroCase{1, 2, false}, TZeroCase{-2, -1, false}));

struct TFlatCase {
  int unit;
  double value;
  double noise;            // relative
  double lowest, highest;  // the widened axis, worked out by hand
  std::string topLabel;
};

class FlatSeries : public ::testing::TestWithParam<TFlatCase> {};

// A series the display shows as one value (a constant, or one with rounding left in it) is drawn
// flat across the middle of an axis one display unit each way, its values round and different.
TEST_P(FlatSeries, IsDrawnFlatOnAnAxisWidenedByOneDisplayUnit) {
  TGraphFixture f;
  const TFlatCase c = GetParam();
  f.graph.YUnit = c.unit;
  // The rounding of a computed constant: a few units in the last place either way.
  const double noise = c.noise * std::max(std::fabs(c.value), 1e-15);
  f.Fill(7, [&](double x) { return c.value + noise * std::sin(3 * x); });
  f.Paint();
  EXPECT_NEAR(f.graph.AxisMinY, c.lowest, 1e-12 * std::max(1.0, std::fabs(c.value)));
  EXPECT_NEAR(f.graph.AxisMaxY, c.highest, 1e-12 * std::max(1.0, std::fabs(c.value)));
  EXPECT_EQ(f.graph.YTicks.front(), f.graph.AxisMinY);
  EXPECT_EQ(f.graph.YTicks.back(), f.graph.AxisMaxY);
  EXPECT_TRUE(std::isfinite(f.graph.ScaleY));
  const int middle = (f.graph.PlotTop + f.graph.PlotBottom) / 2;
  for (int i = 0; i < 7; ++i) EXPECT_NEAR(f.graph.PY[i], middle, 1) << i;
  EXPECT_TRUE(f.screen.HasText(c.topLabel));
  std::vector<std::string> labels;
  for (const double tick : f.graph.YTicks) labels.push_back(f.units.FormatSI(c.unit, tick));
  for (size_t k = 1; k < labels.size(); ++k) EXPECT_NE(labels[k - 1], labels[k]);
}

constexpr double kDeg = std::numbers::pi / 180;
INSTANTIATE_TEST_SUITE_P(
    Cases, FlatSeries,
    ::testing::Values(TFlatCase{cuLength, 0.002, 0, 0.001, 0.003, "3.000"},
                      TFlatCase{cuAngle, 0, 0, -kDeg, kDeg, "1.000"}, TFlatCase{cuNone, 5, 0, 4, 6, "6"},
                      // One unit is lost in rounding at this size: the value's own size widens.
                      TFlatCase{cuNone, 1e20, 0, 0, 2e20, "2E020"},
                      // A Watt 1's output that does not turn: rounding noise about 0 degrees.
                      TFlatCase{cuAngle, 0, 4, -kDeg, kDeg, "1.000"},
                      TFlatCase{cuAngle, 30 * kDeg, 4e-16, 29 * kDeg, 31 * kDeg, "31.000"},
                      // A constant ratio with noise in its last digits.
                      TFlatCase{cuNone, 2.5, 1e-15, 1.5, 3.5, "3.5"}));

// A ratio that varies is read on round values, not on seven decimals of its extremes.
TEST(GraphPaintBox, AVaryingSeriesIsReadOnRoundValues) {
  TGraphFixture f;
  f.Fill(9, [](double x) { return 0.1234567 + (3.4567891 - 0.1234567) * x / 8; });
  f.Paint();
  // 3.33 over at most six divisions: steps of 1.
  EXPECT_EQ(f.graph.YTicks, (std::vector<double>{0, 1, 2, 3, 4}));
  for (const char* label : {"0", "1", "2", "3", "4"}) EXPECT_TRUE(f.screen.HasText(label)) << label;
  EXPECT_FALSE(f.screen.HasText("3.4567891"));
  // Every sample lies on the axis.
  for (int i = 0; i < 9; ++i) {
    EXPECT_GE(f.graph.PY[i], f.graph.PlotTop);
    EXPECT_LE(f.graph.PY[i], f.graph.PlotBottom);
  }
}

TEST(GraphPaintBox, EqualXNeverDividesByZero) {
  TGraphFixture f;
  for (int i = 0; i < 5; ++i) f.graph.AddPoint(2.0, i);
  f.graph.CursorX = 2.0;
  f.Paint();
  EXPECT_TRUE(std::isfinite(f.graph.ScaleX));
  const int centre = (f.graph.PlotLeft + f.graph.PlotRight) / 2;
  for (int i = 0; i < 5; ++i) EXPECT_NEAR(f.graph.PX[i], centre, 1) << i;
  EXPECT_EQ(f.screen.CountOf("Polyline"), 1);
  EXPECT_EQ(f.screen.LinesOf(kBlue), 1);
  EXPECT_EQ(f.graph.ValueText, "y = 0 ");
}

struct TFewCase {
  int count;
  bool curve, cursor;
};

class FewSamples : public ::testing::TestWithParam<TFewCase> {};

// After Clear the cursor at 0 lies in the empty range; with fewer than two samples there is no
// scale for it and nothing to read between.
TEST_P(FewSamples, FrameGridAndLabelsAlwaysCurveFromThreeCursorFromTwo) {
  TGraphFixture f;
  f.Fill(GetParam().count, [](double x) { return 2 * x + 1; });
  f.Paint();
  EXPECT_EQ(f.screen.LinesOf(kBlack), 4);
  // Five vertical lines, and one at each round y value inside the frame.
  EXPECT_EQ(f.screen.LinesOf(MakeColor(192, 192, 192)), 5 + int(f.graph.YTicks.size()) - 2);
  EXPECT_GE(f.graph.YTicks.size(), 4u);
  // Each y value beside its own grid line, top to bottom, however few the samples.
  std::vector<int> rows;
  for (const auto& line : f.screen.Log) {
    int x = 0, y = 0;
    if (std::sscanf(line.c_str(), "Text %d,%d", &x, &y) == 2 && x == 4) rows.push_back(y + kTextHeight / 2);
  }
  ASSERT_EQ(rows.size(), f.graph.YTicks.size());
  EXPECT_EQ(rows.front(), f.graph.PlotBottom);
  EXPECT_EQ(rows.back(), f.graph.PlotTop);
  for (size_t k = 1; k < rows.size(); ++k) EXPECT_LT(rows[k], rows[k - 1] - kTextHeight);
  EXPECT_TRUE(f.screen.HasText("x"));
  EXPECT_TRUE(f.screen.HasText("y"));
  EXPECT_EQ(f.screen.CountOf("Polyline"), GetParam().curve ? 1 : 0);
  EXPECT_EQ(f.screen.LinesOf(kBlue), GetParam().cursor ? 1 : 0);
  EXPECT_EQ(f.graph.CursorDrawn, GetParam().cursor);

  f.screen.Log.clear();
  f.graph.SetCursor(0);
  EXPECT_EQ(f.screen.Log.empty(), !GetParam().cursor);
}

INSTANTIATE_TEST_SUITE_P(Cases, FewSamples,
                         ::testing::Values(TFewCase{0, false, false}, TFewCase{1, false, false},
                                           TFewCase{2, false, true}, TFewCase{3, true, true}));

struct TSizeCase {
  int width, height;
  bool drawable;
};

class SurfaceSize : public ::testing::TestWithParam<TSizeCase> {};

TEST_P(SurfaceSize, TooSmallForMarginsAndGridDrawsNothing) {
  const TSizeCase c = GetParam();
  TGraphFixture f(c.width, c.height);
  f.Fill(5, [](double x) { return x; });
  f.graph.CursorX = 2;
  f.Paint();
  EXPECT_EQ(f.graph.Drawable, c.drawable);
  // Only the background is filled when the plot does not fit.
  EXPECT_EQ(f.screen.Log.size() == 1, !c.drawable);
  f.screen.Log.clear();
  f.graph.SetCursor(3);
  EXPECT_EQ(f.screen.Log.empty(), !c.drawable);
}

INSTANTIATE_TEST_SUITE_P(Cases, SurfaceSize,
                         ::testing::Values(TSizeCase{kLeft + kRight + 6, 300, false},
                                           TSizeCase{kLeft + kRight + 7, 300, true},
                                           TSizeCase{400, kTop + kBottom + 6, false},
                                           TSizeCase{400, kTop + kBottom + 7, true}));

// The pixels where two pictures differ, as "x,y".
std::vector<std::string> Differences(const TPixelSurface& a, const std::vector<TColor>& b) {
  std::vector<std::string> at;
  for (int y = 0; y < a.H; ++y)
    for (int x = 0; x < a.W; ++x)
      if (a.Pixel(x, y) != b[size_t(y * a.W + x)]) at.push_back(TPixelSurface::P(x, y));
  return at;
}

TEST(GraphPaintBox, MovingTheCursorRedrawsOnlyItsLinesAndValues) {
  const auto sine = [](double x) { return std::sin(x); };
  TGraphFixture noCursor;
  noCursor.graph.ShowCursor = false;
  noCursor.Fill(11, sine);
  noCursor.Paint();
  const std::vector<TColor> bare = noCursor.screen.Pixels;

  TGraphFixture atSeven;
  atSeven.Fill(11, sine);
  atSeven.graph.CursorX = 7;
  atSeven.Paint();
  const std::vector<TColor> expected = atSeven.screen.Pixels;

  // The cursor line is the only change to the picture: one column from plot top to bottom
  // (x = 4 lies between grid lines).
  TGraphFixture f;
  f.Fill(11, sine);
  f.graph.CursorX = 4;
  f.Paint();
  const int top = f.graph.PlotTop, bottom = f.graph.PlotBottom;
  const int four = f.graph.PlotLeft + int(std::lround(0.4 * (f.graph.PlotRight - f.graph.PlotLeft)));
  std::vector<std::string> column;
  for (int y = top; y < bottom; ++y) column.push_back(TPixelSurface::P(four, y));
  EXPECT_EQ(Differences(f.screen, bare), column);
  EXPECT_EQ(f.screen.Pixel(four, (top + bottom) / 2 + 1), kBlue);

  f.screen.Log.clear();
  f.graph.SetCursor(7);
  // Erase the old line, draw the new one, two value boxes: nothing of the graph itself.
  EXPECT_EQ(f.screen.LinesOf(kBlue), 2);
  EXPECT_EQ(f.screen.CountOf("Line "), 2);
  EXPECT_EQ(f.screen.CountOf("Fill "), 2);
  EXPECT_EQ(f.screen.CountOf("Text "), 2);
  EXPECT_EQ(f.screen.CountOf("Polyline"), 0);
  // Every pixel as if the graph had been painted with the cursor at 7.
  EXPECT_EQ(f.screen.Pixels, expected);
  EXPECT_EQ(Differences(f.screen, bare).size(), size_t(bottom - top));

  // A repaint shows the line where the cursor stands, once.
  f.Paint();
  EXPECT_EQ(f.screen.Pixels, expected);
  EXPECT_TRUE(f.graph.CursorDrawn);

  // Outside the samples or not a number: nothing happens and the cursor stays.
  for (double x : {-0.5, 10.5, std::nan("")}) {
    f.screen.Log.clear();
    f.graph.SetCursor(x);
    EXPECT_TRUE(f.screen.Log.empty()) << x;
    EXPECT_EQ(f.graph.CursorX, 7);
  }
  EXPECT_EQ(f.screen.Pixels, expected);
}

TEST(GraphPaintBox, InterpolatesBetweenNeighbours) {
  TGraphFixture f;
  // A straight line through unevenly spaced samples is met exactly.
  for (double x : {0.0, 0.5, 2.0, 2.25, 7.0, 10.0}) f.graph.AddPoint(x, 3 * x + 1);
  for (double x : {0.0, 0.1, 0.5, 1.3, 2.1, 2.25, 3.0, 6.9, 9.99, 10.0})
    EXPECT_NEAR(f.graph.ValueAt(x), 3 * x + 1, 1e-12) << x;
  EXPECT_EQ(f.graph.ValueAt(-0.1), 0);
  EXPECT_EQ(f.graph.ValueAt(10.1), 0);

  // A step: two samples at x = 1 with no slope between them.
  f.graph.Clear();
  for (auto [x, y] : {std::pair{0.0, 0.0}, {1.0, 0.0}, {1.0, 5.0}, {2.0, 5.0}}) f.graph.AddPoint(x, y);
  EXPECT_EQ(f.graph.ValueAt(0.5), 0);
  EXPECT_EQ(f.graph.ValueAt(1.5), 5);
  const double atStep = f.graph.ValueAt(1.0);
  EXPECT_TRUE(atStep == 0 || atStep == 5) << atStep;
}

TEST(GraphPaintBox, LabelsAndValuesInDisplayUnits) {
  TGraphFixture f;
  f.graph.XTitle = "Crank";
  f.graph.XUnit = cuAngle;
  f.graph.YTitle = "Path";
  f.graph.YUnit = cuLength;
  // Crank 0..360 degrees, path 0..0.012 m in steps of 1 mm per 30 degrees.
  f.graph.Clear();
  for (int i = 0; i <= 12; ++i) f.graph.AddPoint(i * std::numbers::pi / 6, i * 0.001);
  f.graph.CursorX = std::numbers::pi / 4;  // 45 degrees: 1.5 mm
  f.Paint();

  EXPECT_TRUE(f.screen.HasText("Crank [\xB0]"));
  EXPECT_TRUE(f.screen.HasText("Path [mm]"));
  EXPECT_TRUE(f.screen.HasText("0.000"));
  EXPECT_TRUE(f.screen.HasText("360.000"));
  // Axis values 0, 2, 4 ... 12 mm, the grid spacing holding a text height.
  for (const char* tick : {"2.000", "4.000", "6.000", "8.000", "10.000", "12.000"})
    EXPECT_TRUE(f.screen.HasText(tick)) << tick;
  EXPECT_EQ(f.graph.ValueText, "Path = 1.500 mm");
  EXPECT_TRUE(f.screen.HasText("Path = 1.500 mm"));
  EXPECT_TRUE(f.screen.HasText("Crank = 45.000 \xB0"));

  // A low plot takes fewer, coarser divisions, each with room for its value: 59 pixels hold four
  // of 14, so 0 to 12 mm reads 0, 5, 10, 15.
  TGraphFixture low(400, kTop + kBottom + 6 * kTextHeight - 1);
  low.graph.YUnit = cuLength;
  for (int i = 0; i <= 12; ++i) low.graph.AddPoint(i, i * 0.001);
  low.Paint();
  EXPECT_EQ(low.graph.YTicks, (std::vector<double>{0, 0.005, 0.01, 0.015}));
  for (const char* tick : {"0.000", "5.000", "10.000", "15.000"})
    EXPECT_TRUE(low.screen.HasText(tick)) << tick;
  EXPECT_FALSE(low.screen.HasText("6.000"));
  // Lower still, one division: 0 to 20 mm.
  TGraphFixture lower(400, kTop + kBottom + 2 * kTextHeight + 5);
  lower.graph.YUnit = cuLength;
  for (int i = 0; i <= 12; ++i) lower.graph.AddPoint(i, i * 0.001);
  lower.Paint();
  EXPECT_EQ(lower.graph.YTicks, (std::vector<double>{0, 0.02}));
  EXPECT_TRUE(lower.screen.HasText("0.000"));
  EXPECT_TRUE(lower.screen.HasText("20.000"));
}

// A range symmetric about zero puts a grid line at zero: it reads 0, not the rounding that a
// running sum of steps leaves there, and the y grid lines stand at the round values.
TEST(GraphPaintBox, GridLineAtZeroIsLabelledZero) {
  TGraphFixture f;
  f.graph.Clear();
  for (int i = -3; i <= 3; ++i) f.graph.AddPoint(i, i / 3.0);
  f.Paint();
  EXPECT_EQ(f.graph.YTicks, (std::vector<double>{-1, -0.5, 0, 0.5, 1}));
  EXPECT_TRUE(f.screen.HasText("0"));
  EXPECT_EQ(f.graph.XTicks[3], 0.0);
  // The grid's inner horizontal lines, at -0.5, 0 (under the zero line) and 0.5.
  const double height = f.graph.PlotBottom - f.graph.PlotTop;
  for (const double y : {-0.5, 0.5}) {
    const int row = f.graph.PlotTop + int(std::lround((1 - y) / 2 * height));
    EXPECT_EQ(f.screen.Pixel(f.graph.PlotLeft + 3, row), MakeColor(192, 192, 192)) << y;
  }
  EXPECT_EQ(f.screen.Pixel(f.graph.PlotLeft + 3, (f.graph.PlotTop + f.graph.PlotBottom) / 2), kBlack);
}

}  // namespace
}  // namespace vesk
