// Entities read from hand-written DXF: colours, names, extents and what they draw; polylines
// and stray vertices; text codes; inserts placed through their block's base point; line types.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>
#include <numbers>
#include <string>

#include "DXFFixtures.h"
#include "shared/dxf/DXFDrawing.h"
#include "tests/shared/TestFiles.h"

namespace {

using namespace shared;
using namespace dxftest;
using enginetest::TRecordingView;

constexpr double kInf = std::numeric_limits<double>::infinity();
const std::filesystem::path kFixtures = SUITE_FIXTURES;

struct TBox {
  double x0, y0, x1, y1;
};

TBox ExtentOf(const TGeneralObject& object) {
  TComplex min(kInf, kInf), max(-kInf, -kInf);
  object.UpdateExtent(min, max);
  return {min.X, min.Y, max.X, max.Y};
}

void ExpectBox(const TBox& got, const TBox& want, const std::string& what) {
  EXPECT_NEAR(got.x0, want.x0, 1e-12) << what;
  EXPECT_NEAR(got.y0, want.y0, 1e-12) << what;
  EXPECT_NEAR(got.x1, want.x1, 1e-12) << what;
  EXPECT_NEAR(got.y1, want.y1, 1e-12) << what;
}

TEST(DXFEntityTest, EveryEntityLoadsWithItsColourAndExtent) {
  TDXFDrawing drawing;
  drawing.LoadFromFile((kFixtures / "every_entity.dxf").string());
  const double c80 = std::cos(80 * std::numbers::pi / 180), s80 = std::sin(80 * std::numbers::pi / 180);
  struct TCase {
    std::string keyword;
    std::string name;
    int32_t color;
    bool hasExtent;
    TBox box;
  };
  const TCase cases[] = {
      {"LINE", "LINE 1", 255, true, {0, 0, 1, 0.5}},
      {"POINT", "POINT 2", 65280, true, {0.2, -0.3, 0.2, -0.3}},
      {"CIRCLE", "CIRCLE 3", 16711680, true, {0.25, 0.25, 0.75, 0.75}},
      // The top of the arc, at 90°, lies between its ends.
      {"ARC", "ARC 4", 0, true, {-c80, s80, c80, 1}},
      {"TRACE", "TRACE 5", 65535, true, {0, 0, 0.1, 0.1}},
      {"SOLID", "SOLID 6", 16776960, true, {-0.1, -0.1, 0, 0}},
      // No alignment point in the file: only the first point counts.
      {"TEXT", "D20", 0, true, {0.01, 0.02, 0.01, 0.02}},
      // The direction (1, 0) is a vector, not a place.
      {"MTEXT", "first part second\\Pthird", 8421376, true, {0.03, 0.04, 0.03, 0.04}},
      {"POLYLINE", "POLYLINE 9", 16711935, true, {0, 0, 0.1, 0.1}},
      // Only the three definition points the file gave.
      {"DIMENSION", "100", 8388608, true, {0, 0, 0.1, 0.05}},
      // Block SQ: base (10, 0) mm, a line (10, 0)-(20, 0) mm; inserted at (2, 0) m, turned a
      // quarter and doubled, the base lands on the insertion point and the line runs up 20 mm.
      {"INSERT", "SQ", 128, true, {2, 0, 2, 0.02}},
      {"3DFACE", "3DFACE", 32768, false, {}},
  };
  ASSERT_EQ(drawing.Count(), int32_t(std::size(cases)));
  for (int32_t i = 0; i < drawing.Count(); ++i) {
    const auto& entity = static_cast<const TDXFEntity&>(*drawing.Items(i));
    const TCase& c = cases[i];
    EXPECT_EQ(entity.Keyword, c.keyword);
    EXPECT_EQ(entity.Name, c.name);
    EXPECT_EQ(entity.Pen.Color, c.color) << c.keyword;
    const TBox box = ExtentOf(entity);
    if (c.hasExtent)
      ExpectBox(box, c.box, c.keyword);
    else
      EXPECT_EQ(box.x0, kInf) << c.keyword << " adds nothing";
  }
  EXPECT_EQ(static_cast<const TDXFEntity&>(*drawing.Items(1)).Layer, "Caf\xE9");
  const auto& mtext = static_cast<const TDXFMText&>(*drawing.Items(7));
  EXPECT_EQ(mtext.Lines, (std::vector<std::string>{"first part second", "third"}));
  ExpectBox(ExtentOf(drawing), {-c80, -0.3, 2, 1}, "drawing");
  EXPECT_EQ(drawing.Current(), nullptr);
  EXPECT_EQ(drawing.Blocks.Current(), nullptr);
  EXPECT_EQ(drawing.LineTypes.Current(), nullptr);
  ASSERT_EQ(drawing.LineTypes.Count(), 1) << "the LAYER table makes no line type";
  EXPECT_EQ(static_cast<const TDXFEntity&>(*drawing.Items(0)).LineType, drawing.LineTypes.Items(0));
}

TEST(DXFEntityTest, ColourIndexes) {
  const std::pair<int32_t, uint32_t> cases[] = {{1, 255},  {2, 65535},   {3, 65280},   {4, 16776960},
                                                {5, 16711680}, {6, 16711935}, {7, 0},   {8, 8421376},
                                                {9, 8388608},  {10, 128},     {11, 32768}, {0, 0},
                                                {256, 0},      {12, 0},       {-3, 0}};
  for (const auto& [index, color] : cases) {
    EXPECT_EQ(DXFIndexColor(index), color) << index;
    TDXFLine animator;
    animator.SetColorIndex(index);
    EXPECT_EQ(uint32_t(animator.Pen.Color), color);
    TDXFLine synthesis(TDXFProfile::Synthesis());
    synthesis.SetColorIndex(index);
    EXPECT_EQ(uint32_t(synthesis.Pen.Color), 12632256u) << "the synthesis program draws grey";
    EXPECT_EQ(synthesis.ColorIndex, index);
  }
}

// The drawing of a single entity of the text, with nothing selected.
std::vector<std::string> DrawnLog(const std::string& entities, const TDXFProfile& profile = TDXFProfile::Animator(),
                                  bool transformed = false) {
  TDXFDrawing drawing(profile);
  drawing.ShowText = drawing.ShowDimensions = true;
  drawing.LoadFromString(EntitiesOnly(entities));
  TRecordingView view;
  view.log.clear();
  if (transformed)
    drawing.DrawTransformed(view.canvas, TDXFTransForm());
  else
    drawing.Draw(view.canvas);
  std::vector<std::string> drawn;
  for (const auto& line : view.log)
    if (line.rfind("Pen ", 0) != 0) drawn.push_back(line);
  return drawn;
}

int Count(const std::vector<std::string>& log, const std::string& prefix) {
  int n = 0;
  for (const auto& line : log) n += line.rfind(prefix, 0) == 0;
  return n;
}

TEST(DXFEntityTest, ArcsSweepCounterClockwiseWithSegmentsByTheirSweep) {
  struct TCase {
    double start, end;
    int animator, synthesis;
  };
  // 64 (32) segments a full turn, rounded half to even.
  const TCase cases[] = {{350, 10, 4, 2}, {10, 350, 60, 30}, {0, 90, 16, 8}, {30, 30, 1, 1}, {0, 180, 32, 16}};
  for (const TCase& c : cases) {
    const std::string arc = Pairs({{0, "ARC"}, {10, "0"}, {20, "0"}, {40, "400"}, {50, std::to_string(c.start)},
                                   {51, std::to_string(c.end)}});
    const auto log = DrawnLog(arc);
    EXPECT_EQ(Count(log, "L "), c.animator) << c.start << " " << c.end;
    EXPECT_EQ(Count(log, "L "), c.animator);
    EXPECT_EQ(Count(DrawnLog(arc, TDXFProfile::Synthesis()), "L "), c.synthesis);
    // From the start angle, ending at the end angle.
    const double s = c.start * std::numbers::pi / 180, e = c.end * std::numbers::pi / 180;
    EXPECT_EQ(log[0], "M " + Px(0.4 * std::cos(s), 0.4 * std::sin(s)));
    EXPECT_EQ(log.back(), "L " + Px(0.4 * std::cos(e), 0.4 * std::sin(e)));
  }
}

TEST(DXFEntityTest, CirclesUseMoreSegmentsThroughATransform) {
  const std::string circle = Pairs({{0, "CIRCLE"}, {10, "100"}, {20, "0"}, {40, "200"}});
  const auto direct = DrawnLog(circle);
  EXPECT_EQ(Count(direct, "L "), 64);
  EXPECT_EQ(direct[0], "M " + Px(0.3, 0));
  EXPECT_EQ(direct[16], "L " + Px(0.1, 0.2)) << "a quarter turn after 16 segments";
  EXPECT_EQ(Count(DrawnLog(circle, TDXFProfile::Animator(), true), "L "), 80);
  EXPECT_EQ(Count(DrawnLog(circle, TDXFProfile::Synthesis(), true), "L "), 32);
}

TEST(DXFEntityTest, PolylinesKeepEveryVertexAndCloseOnTheirFlag) {
  auto polyline = [](int flags, int n) {
    std::string text = Pairs({{0, "POLYLINE"}, {66, "1"}, {70, std::to_string(flags)}});
    for (int i = 0; i < n; ++i)
      text += Pairs({{0, "VERTEX"}, {10, std::to_string(i % 2 * 100)}, {20, std::to_string(i)}});
    return text + Pairs({{0, "SEQEND"}});
  };
  EXPECT_EQ(Count(DrawnLog(polyline(1, 3)), "L "), 3);
  EXPECT_EQ(Count(DrawnLog(polyline(0, 3)), "L "), 2);
  EXPECT_EQ(Count(DrawnLog(polyline(1, 1)), "L "), 0) << "one vertex draws nothing";
  TDXFDrawing drawing;
  drawing.LoadFromString(EntitiesOnly(polyline(0, 300)));
  const auto& read = static_cast<const TDXFPolyline&>(*drawing.Items(0));
  ASSERT_EQ(read.Vertices.size(), 300u);
  EXPECT_DOUBLE_EQ(read.Vertices[200]->Points[0].Y, 0.2) << "vertex 201 is not overwritten";
  EXPECT_DOUBLE_EQ(read.Vertices[299]->Points[0].Y, 0.299);
  ExpectBox(ExtentOf(read), {0, 0, 0.1, 0.299}, "polyline");
}

TEST(DXFEntityTest, StrayVerticesAndSequenceEndsTakeNoGroups) {
  // In ENTITIES and in a block alike.
  const std::string body = Pairs({{0, "LINE"},   {8, "L1"},  {10, "1"},  {20, "2"},   {11, "3"},   {21, "4"},
                                  {0, "VERTEX"}, {8, "V"},   {10, "99"}, {20, "99"},  {0, "POLYLINE"},
                                  {0, "VERTEX"}, {10, "5"},  {20, "6"},  {0, "SEQEND"}, {8, "S"},  {10, "77"},
                                  {0, "POLYLINE"}, {0, "VERTEX"}, {10, "7"}, {20, "8"},
                                  // No SEQEND: the next entity's groups stay its own.
                                  {0, "CIRCLE"}, {10, "9"}, {20, "10"}, {40, "11"}});
  auto check = [](const TGeneralList& list, const std::string& where) {
    ASSERT_EQ(list.Count(), 4) << where;
    const auto& line = static_cast<const TDXFLine&>(*list.Items(0));
    EXPECT_EQ(line.Layer, "L1") << where;
    EXPECT_DOUBLE_EQ(line.Points[0].X, 0.001) << where;
    EXPECT_DOUBLE_EQ(line.Points[1].Y, 0.004) << where;
    const auto& first = static_cast<const TDXFPolyline&>(*list.Items(1));
    ASSERT_EQ(first.Vertices.size(), 1u) << where;
    EXPECT_DOUBLE_EQ(first.Vertices[0]->Points[0].X, 0.005) << where;
    EXPECT_EQ(first.Vertices[0]->Layer, "") << where;
    EXPECT_EQ(first.Layer, "") << where;
    const auto& second = static_cast<const TDXFPolyline&>(*list.Items(2));
    ASSERT_EQ(second.Vertices.size(), 1u) << where;
    EXPECT_DOUBLE_EQ(second.Vertices[0]->Points[0].X, 0.007) << where;
    EXPECT_DOUBLE_EQ(second.Vertices[0]->Points[0].Y, 0.008) << where;
    const auto& circle = static_cast<const TDXFCircle&>(*list.Items(3));
    EXPECT_DOUBLE_EQ(circle.Points[0].X, 0.009) << where;
    EXPECT_DOUBLE_EQ(circle.Radius, 0.011) << where;
  };
  TDXFDrawing drawing;
  drawing.LoadFromString(EntitiesOnly(body));
  check(drawing, "entities");
  drawing.LoadFromString(
      Section("BLOCKS", Pairs({{0, "BLOCK"}, {2, "B"}}) + body + Pairs({{0, "ENDBLK"}})) + Eof());
  ASSERT_EQ(drawing.Blocks.Count(), 1);
  check(*static_cast<TGeneralList*>(drawing.Blocks.Items(0)), "block");
}

// The "Text " lines of a log.
std::vector<std::string> TextLines(const std::vector<std::string>& log) {
  std::vector<std::string> lines;
  for (const auto& line : log)
    if (line.rfind("Text ", 0) == 0) lines.push_back(line);
  return lines;
}

TEST(DXFEntityTest, TextDecodesAndMTextShowsItsWholeText) {
  const auto log = TextLines(DrawnLog(Pairs({{0, "TEXT"}, {10, "0"}, {20, "0"}, {40, "40"}, {1, "%%c20"}})));
  ASSERT_EQ(log.size(), 1u);
  EXPECT_NE(log.back().find(" D20"), std::string::npos) << log.back();

  const auto mlog = TextLines(DrawnLog(Pairs({{0, "MTEXT"}, {10, "0"}, {20, "0"}, {40, "40"}, {3, "one "},
                                              {3, "two\\p"}, {1, "three%%p"}})));
  ASSERT_EQ(mlog.size(), 2u);
  EXPECT_NE(mlog[0].find(" one two"), std::string::npos);
  EXPECT_NE(mlog[1].find(" three\xB1"), std::string::npos);

  TDXFDrawing drawing;
  drawing.LoadFromString(EntitiesOnly(Pairs({{0, "TEXT"}, {7, "standard"}, {0, "TEXT"}, {7, "ROMANS"}, {0, "TEXT"}})));
  EXPECT_EQ(static_cast<const TDXFText&>(*drawing.Items(0)).Style, "Arial");
  EXPECT_EQ(static_cast<const TDXFText&>(*drawing.Items(1)).Style, "ROMANS");
  EXPECT_EQ(static_cast<const TDXFText&>(*drawing.Items(2)).Style, "STANDARD");
}

TEST(DXFEntityTest, DimensionsDrawByType) {
  // Points 0 (0, 100), 3 (0, 0), 4 (200, 0), 5 (100, 100) mm.
  auto dimension = [](int type) {
    return Pairs({{0, "DIMENSION"}, {10, "0"}, {20, "100"}, {13, "0"}, {23, "0"}, {14, "200"}, {24, "0"},
                  {15, "100"}, {25, "100"}, {70, std::to_string(type)}});
  };
  const auto linear = DrawnLog(dimension(32 + 1));
  // d = point 0 − point 3 = (0, 0.1): 4 → 4 + d, 3 → 0, 0 → 4 + d.
  const std::vector<std::string> segments = {"M " + Px(0.2, 0), "L " + Px(0.2, 0.1), "M " + Px(0, 0),
                                             "L " + Px(0, 0.1), "M " + Px(0, 0.1),   "L " + Px(0.2, 0.1)};
  EXPECT_EQ(std::vector<std::string>(linear.begin(), linear.begin() + 6), segments);
  EXPECT_EQ(Count(linear, "Text "), 7) << "every definition point is labelled";
  const auto angular = DrawnLog(dimension(2));
  EXPECT_EQ(std::vector<std::string>(angular.begin(), angular.begin() + 4),
            (std::vector<std::string>{"M " + Px(0.2, 0), "L " + Px(0, 0), "M " + Px(0.1, 0.1), "L " + Px(0, 0.1)}));
  EXPECT_EQ(Count(DrawnLog(dimension(6)), "L "), 7 * 2) << "only the markers' crosses";
}

// Blocks of the text and an INSERT entity of block "A"; the drawing is drawn, its extent taken.
struct TInsertCase {
  std::string blocks;
  std::string name;
};

std::string Block(const std::string& name, const std::string& body, const std::string& base = "0") {
  return Pairs({{0, "BLOCK"}, {2, name}, {10, base}, {20, "0"}}) + body + Pairs({{0, "ENDBLK"}});
}

std::string InsertOf(const std::string& name, const std::string& x = "0") {
  return Pairs({{0, "INSERT"}, {2, name}, {10, x}, {20, "0"}});
}

TEST(DXFEntityTest, InsertsPlaceTheirBlockThroughTheRotatedScaledBasePoint) {
  // Block base (100, 0), a line (100, 0)-(200, 0); inserted at (1000, 500), 90°, scales 2 and 3.
  const std::string text =
      Section("BLOCKS", Block("B", Pairs({{0, "LINE"}, {10, "100"}, {20, "0"}, {11, "200"}, {21, "0"}}), "100")) +
      Section("ENTITIES", Pairs({{0, "INSERT"}, {2, "B"}, {10, "1000"}, {20, "500"}, {41, "2"}, {42, "3"}, {50, "90"}})) +
      Eof();
  TDXFDrawing drawing;
  drawing.LoadFromString(text);
  // Base → insertion point; the block's x axis turns to +y and is doubled.
  TRecordingView view;
  view.log.clear();
  drawing.Draw(view.canvas);
  EXPECT_TRUE(view.box.Screen.Logged({"M " + Px(1, 0.5), "L " + Px(1, 0.7)}));
  ExpectBox(ExtentOf(drawing), {1, 0.5, 1, 0.7}, "insert");
  // Through an outer transform: the block placed first, then the outer one.
  view.log.clear();
  drawing.DrawAt(view.canvas, 0, 0, std::numbers::pi / 2);
  EXPECT_TRUE(view.box.Screen.Logged({"M " + Px(-0.5, 1), "L " + Px(-0.7, 1)}));
}

// The screen angle of the first segment drawn, in tenths of a degree counter-clockwise.
double SegmentAngle(const std::vector<std::string>& log) {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  for (size_t i = 0; i + 1 < log.size(); ++i)
    if (std::sscanf(log[i].c_str(), "M %d,%d", &x0, &y0) == 2 && std::sscanf(log[i + 1].c_str(), "L %d,%d", &x1, &y1) == 2)
      return std::atan2(double(y0 - y1), double(x1 - x0)) * 1800 / std::numbers::pi;
  ADD_FAILURE() << "no segment drawn";
  return 0;
}

TEST(DXFEntityTest, TextInATurnedBlockTurnsWithItOnEveryPath) {
  // Block B: a line along its x axis, TEXT "HELLO" and MTEXT "M" at its base, both turned 10°;
  // inserted turned a quarter.
  const std::string text =
      Section("BLOCKS", Block("B", Pairs({{0, "LINE"}, {10, "0"}, {20, "0"}, {11, "1000"}, {21, "0"}, {0, "TEXT"},
                                          {10, "0"}, {20, "0"}, {40, "10"}, {50, "10"}, {1, "HELLO"}, {0, "MTEXT"},
                                          {10, "0"}, {20, "0"}, {40, "10"}, {50, "10"}, {1, "M"}}))) +
      Section("ENTITIES", Pairs({{0, "INSERT"}, {2, "B"}, {10, "0"}, {20, "0"}, {50, "90"}})) + Eof();
  const double deg = std::numbers::pi / 180;
  struct TCase {
    const char* path;
    double placement;  // the drawing's own Transform angle, degrees
    std::function<void(TDXFDrawing&, TCanvas2D&)> draw;
    int line;  // the block's x axis on screen, tenths of a degree
  };
  const TCase cases[] = {
      {"Draw", 30, [](TDXFDrawing& d, TCanvas2D& c) { d.Draw(c); }, 900},
      {"DrawPlaced", 30, [](TDXFDrawing& d, TCanvas2D& c) { d.DrawPlaced(c); }, 1200},
      {"DrawAt", 30, [&](TDXFDrawing& d, TCanvas2D& c) { d.DrawAt(c, 0, 0, 45 * deg); }, 1650},
      {"DrawAt, no placement", 0, [&](TDXFDrawing& d, TCanvas2D& c) { d.DrawAt(c, 0.1, 0, -60 * deg); }, 300},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.path);
    TDXFDrawing drawing;
    drawing.LoadFromString(text);
    drawing.Transform.SetAll(0, 0, c.placement * deg, 1, 1);
    TRecordingView view;
    view.log.clear();
    c.draw(drawing, view.canvas);
    EXPECT_NEAR(SegmentAngle(view.log), c.line, 3) << "the line as drawn";
    const auto& texts = view.box.Screen.Texts;
    ASSERT_EQ(texts.size(), 2u);
    for (const auto& t : texts) EXPECT_EQ(t.Escapement, c.line + 100) << t.Text << ": its own 10° on the block's turn";
  }
}

TEST(DXFEntityTest, TextIsDrawnWithoutABackground) {
  // The views fill with their brush (the animator's links: cyan); text must not draw a box of it.
  const std::string text = EntitiesOnly(Pairs({{0, "TEXT"}, {10, "0"}, {20, "0"}, {40, "10"}, {1, "T"}, {0, "MTEXT"},
                                               {10, "0"}, {20, "0"}, {40, "10"}, {1, "M1\\PM2"}}));
  for (const TDXFProfile* profile : {&TDXFProfile::Animator(), &TDXFProfile::Synthesis()}) {
    for (const bool placed : {false, true}) {
      SCOPED_TRACE(std::string(profile == &TDXFProfile::Animator() ? "animator" : "synthesis") +
                   (placed ? ", placed" : ", direct"));
      TDXFDrawing drawing(*profile);
      drawing.ShowText = true;
      drawing.LoadFromString(text);
      TRecordingView view;
      view.canvas.SetBrush(0xFFFF00, TBrushStyle::Solid);
      if (placed)
        drawing.DrawAt(view.canvas, 0.1, 0.1, 1);
      else
        drawing.Draw(view.canvas);
      const auto& texts = view.box.Screen.Texts;
      ASSERT_EQ(texts.size(), 3u);
      for (const auto& t : texts) EXPECT_EQ(int(t.Brush), int(TBrushStyle::Clear)) << t.Text;
      EXPECT_EQ(view.box.Screen.Brush(), (TBrush{0xFFFF00, TBrushStyle::Solid})) << "the brush is given back";
    }
  }
}

TEST(DXFEntityTest, NestedSelfInsertingAndMissingBlocks) {
  const std::string line = Pairs({{0, "LINE"}, {10, "0"}, {20, "0"}, {11, "100"}, {21, "0"}});
  // A inserts B at x 500; B, defined after A, holds a line.
  TDXFDrawing drawing;
  drawing.LoadFromString(Section("BLOCKS", Block("A", InsertOf("B", "500")) + Block("B", line)) +
                         Section("ENTITIES", InsertOf("A") + InsertOf("NONE")) + Eof());
  TRecordingView view;
  view.log.clear();
  drawing.Draw(view.canvas);
  EXPECT_TRUE(view.box.Screen.Logged({"M " + Px(0.5, 0), "L " + Px(0.6, 0)}));
  EXPECT_EQ(Count(view.log, "L "), 1) << "the missing block draws nothing";
  ExpectBox(ExtentOf(drawing), {0, 0, 0.6, 0}, "nested");

  // A inserts itself and C; C inserts A; a chain of 500 blocks each inserting the next.
  std::string blocks = Block("A", line + InsertOf("A") + InsertOf("C")) + Block("C", InsertOf("A") + line);
  for (int i = 0; i < 500; ++i) blocks += Block("K" + std::to_string(i), line + InsertOf("K" + std::to_string(i + 1)));
  // Each block inserting the next one eight times: 8^n copies without a bound on the work.
  for (int i = 0; i < 12; ++i) {
    std::string body = line;
    for (int k = 0; k < 8; ++k) body += InsertOf("F" + std::to_string(i + 1));
    blocks += Block("F" + std::to_string(i), body);
  }
  drawing.LoadFromString(Section("BLOCKS", blocks) + Section("ENTITIES", InsertOf("A") + InsertOf("K0") + InsertOf("F0")) + Eof());
  view.log.clear();
  drawing.Draw(view.canvas);
  const int lines = Count(view.log, "L ");
  EXPECT_GE(lines, 2 + 32) << "the cycle is drawn once round, the chain to the depth cap";
  EXPECT_LE(lines, 200000);
  ExpectBox(ExtentOf(drawing), {0, 0, 0.1, 0}, "cycle");
  for (int i = 0; i < drawing.Blocks.Count(); ++i) EXPECT_FALSE(static_cast<TDXFBlock*>(drawing.Blocks.Items(i))->Busy);
}

// What an entity draws on every path, text turns included, and its extent.
struct TDrawn {
  std::vector<std::string> log;
  std::vector<int> escapements;
  TBox box;
};

TDrawn DrawnEverywhere(const std::string& text, const TDXFProfile& profile) {
  TDXFDrawing drawing(profile);
  drawing.ShowText = true;
  drawing.LoadFromString(text);
  TRecordingView view;
  view.log.clear();
  drawing.Draw(view.canvas);
  drawing.DrawAt(view.canvas, 0.1, -0.1, 0.5);
  TDrawn drawn{view.log, {}, ExtentOf(drawing)};
  for (const auto& t : view.box.Screen.Texts) drawn.escapements.push_back(t.Escapement);
  return drawn;
}

// Angles far beyond a turn, up to the largest double: each entity draws as the same entity with
// the angle's place in one turn (1e308° is 296° on, 1.7976931348623157e308° is 128°, -1e308° is
// 296° back, 1e20° is 280°).
TEST(DXFEntityTest, HugeAnglesTurnByTheirPlaceInOneTurn) {
  const std::string block = Section(
      "BLOCKS", Block("B", Pairs({{0, "LINE"}, {10, "0"}, {20, "0"}, {11, "100"}, {21, "50"}, {0, "TEXT"}, {10, "0"},
                                  {20, "0"}, {40, "10"}, {1, "T"}})));
  auto arc = [](const std::string& start, const std::string& end) {
    return EntitiesOnly(Pairs({{0, "ARC"}, {10, "10"}, {20, "20"}, {40, "300"}, {50, start}, {51, end}}));
  };
  auto text = [](const std::string& rotation) {
    return EntitiesOnly(Pairs({{0, "TEXT"}, {10, "10"}, {20, "20"}, {40, "10"}, {50, rotation}, {1, "T"},
                               {0, "MTEXT"}, {10, "10"}, {20, "20"}, {40, "10"}, {50, rotation}, {1, "M"}}));
  };
  auto insert = [&](const std::string& rotation) {
    return block + Section("ENTITIES", Pairs({{0, "INSERT"}, {2, "B"}, {10, "100"}, {20, "0"}, {50, rotation}})) + Eof();
  };
  struct TCase {
    std::string hostile, same;
  };
  const TCase cases[] = {
      {arc("0", "1e308"), arc("0", "296")},
      {arc("-1e308", "1.7976931348623157e308"), arc("-296", "128")},
      {arc("7200000000030", "1e20"), arc("30", "280")},
      {arc("1e308", "1e308"), arc("296", "296")},
      {text("1e308"), text("296")},
      {text("-1e308"), text("-296")},
      {insert("1.7976931348623157e308"), insert("128")},
      {insert("-1e20"), insert("-280")},
  };
  for (const TDXFProfile* profile : {&TDXFProfile::Animator(), &TDXFProfile::Synthesis()}) {
    for (const TCase& c : cases) {
      SCOPED_TRACE(c.same);
      const TDrawn hostile = DrawnEverywhere(c.hostile, *profile), same = DrawnEverywhere(c.same, *profile);
      EXPECT_FALSE(hostile.log.empty());
      EXPECT_EQ(hostile.log, same.log);
      EXPECT_EQ(hostile.escapements, same.escapements);
      ExpectBox(hostile.box, same.box, "extent");
    }
  }
  // 296° of 64 segments a turn: 52.6 rounds to 53.
  EXPECT_EQ(Count(DrawnLog(Pairs({{0, "ARC"}, {40, "300"}, {51, "1e308"}})), "L "), 53);
}

// An entity given a number that is not finite (through the entity reader; a file cannot give one)
// draws nothing, widens no extent and is named in the drawing's warning; the rest still draws.
TEST(DXFEntityTest, NumbersThatAreNotFiniteRefuseTheirEntity) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  struct TCase {
    const char* keyword;
    int code;
    double value;
  };
  const TCase cases[] = {
      {"LINE", 11, kInf},   {"CIRCLE", 40, kNaN},    {"ARC", 51, kNaN},       {"ARC", 50, -kInf},
      {"TEXT", 50, kNaN},   {"MTEXT", 40, kInf},     {"INSERT", 41, kInf},    {"POINT", 20, kNaN},
      {"TRACE", 13, kNaN},  {"DIMENSION", 16, kInf}, {"POLYLINE", 30, kNaN},  {"VERTEX", 10, kNaN},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.keyword) + " " + std::to_string(c.code));
    TDXFDrawing drawing;
    drawing.FileName = "part.dxf";
    drawing.ShowText = drawing.ShowDimensions = true;
    drawing.LoadFromString(
        Section("BLOCKS", Block("B", Pairs({{0, "LINE"}, {10, "0"}, {20, "0"}, {11, "100"}, {21, "0"}}))) + Eof());
    TDXFEntityReader reader(drawing, true);
    TDXFGroup group;
    auto take = [&](int code, double value, const std::string& text = "") {
      group.Code = code;
      group.FloatValue = value;
      group.StringValue = text;
      reader.Take(group);
    };
    const bool vertex = std::string(c.keyword) == "VERTEX";
    take(0, 0, vertex ? "POLYLINE" : c.keyword);
    take(2, 0, "B");
    take(10, 100);
    take(20, 100);
    take(40, 100);
    take(1, 0, "T");
    if (vertex) {
      take(0, 0, "VERTEX");
      take(10, 100);
      take(0, 0, "VERTEX");
    }
    take(c.code, c.value);
    take(0, 0, "LINE");
    take(11, 200);
    take(21, 300);
    for (int32_t i = 0; i < drawing.Count(); ++i)
      if (auto* insert = dynamic_cast<TDXFInsert*>(drawing.Items(i))) insert->Block = drawing.Blocks.FindBlock("B");
    TRecordingView view;
    view.log.clear();
    drawing.Draw(view.canvas);
    drawing.DrawAt(view.canvas, 0.1, 0, 1);
    std::vector<std::string> drawn;
    for (const auto& line : view.log)
      if (line.rfind("Pen ", 0) != 0) drawn.push_back(line);
    EXPECT_EQ(drawn, (std::vector<std::string>{"M " + Px(0, 0), "L " + Px(0.2, 0.3), "M " + Px(0.1, 0),
                                               "L " + Px(0.1 + 0.2 * std::cos(1) - 0.3 * std::sin(1),
                                                         0.2 * std::sin(1) + 0.3 * std::cos(1))}))
        << "only the last line";
    ExpectBox(ExtentOf(drawing), {0, 0, 0.2, 0.3}, "the last line's");
    EXPECT_EQ(drawing.UndrawnWarning(), "part.dxf holds entities that are not drawn: 1 " +
                                            std::string(vertex ? "POLYLINE" : c.keyword) + ".");
  }
}

// Inserts whose scales multiply beyond the double range place their block nowhere: it is neither
// drawn nor measured, while the inserts' own points still count.
TEST(DXFEntityTest, ScalesBeyondTheDoubleRangePlaceNothing) {
  const std::string line = Pairs({{0, "LINE"}, {10, "0"}, {20, "0"}, {11, "100"}, {21, "0"}});
  const std::string huge = Pairs({{0, "INSERT"}, {2, "A"}, {10, "1"}, {20, "0"}, {41, "1e308"}, {42, "1e308"}});
  TDXFDrawing drawing;
  drawing.LoadFromString(Section("BLOCKS", Block("A", line) + Block("H", huge)) +
                         Section("ENTITIES", Pairs({{0, "INSERT"}, {2, "H"}, {10, "0"}, {20, "0"}, {41, "1e308"},
                                                    {42, "1e308"}}) +
                                                 InsertOf("A", "500")) +
                         Eof());
  TRecordingView view;
  view.log.clear();
  drawing.Draw(view.canvas);
  drawing.DrawAt(view.canvas, 0, 0, 0);
  EXPECT_EQ(Count(view.log, "L "), 2) << "the plain insert of A, twice";
  const TBox box = ExtentOf(drawing);
  for (const double v : {box.x0, box.y0, box.x1, box.y1}) EXPECT_TRUE(std::isfinite(v)) << v;
  EXPECT_DOUBLE_EQ(box.x1, 1e305) << "the inner insert's own point, scaled once";
}

TEST(DXFEntityTest, LineTypesGiveTheirPenStyle) {
  struct TCase {
    std::vector<double> dashes;
    int32_t style;
  };
  const TCase cases[] = {{{}, 0},
                         {{0.5}, 0},
                         {{0.5, -0.25}, 1},
                         {{0.1, -0.4}, 2},
                         {{0.5, -0.25, 0, -0.25}, 3},
                         {{0.5, -0.25, 0, -0.25, 0, -0.25}, 4},
                         {{0.5, -0.25, 0, -0.25, 0.1}, 3},
                         {{0.1, -0.25, 0.5, -0.25}, 2},
                         {{0.3, -0.25, 0.5, -0.25}, 1}};
  for (const TCase& c : cases) {
    TDXFLineType type;
    for (double d : c.dashes) type.AddDash(d);
    EXPECT_EQ(type.PenStyle(), c.style) << c.dashes.size();
  }
  TDXFLineType many;
  for (int i = 0; i < 30; ++i) many.AddDash(i);
  EXPECT_EQ(many.DashCount, 21);

  // An entity of the line type draws dashed; a record of another kind in the LTYPE table makes
  // no entry and its groups go nowhere.
  const std::string tables = Section(
      "TABLES", Pairs({{0, "TABLE"}, {2, "LTYPE"}, {0, "LTYPE"}, {2, "DOTS"}, {49, "1"}, {49, "-4"}, {0, "OTHER"},
                       {2, "STRAY"}, {49, "9"}, {0, "ENDTAB"}}));
  TDXFDrawing drawing;
  drawing.LoadFromString(tables + Section("ENTITIES", Pairs({{0, "LINE"}, {6, "DOTS"}, {62, "1"}})) + Eof());
  ASSERT_EQ(drawing.LineTypes.Count(), 1);
  const auto& dots = static_cast<const TDXFLineType&>(*drawing.LineTypes.Items(0));
  EXPECT_EQ(dots.Name, "DOTS");
  EXPECT_EQ(dots.DashCount, 2);
  EXPECT_DOUBLE_EQ(dots.Dashes[1], -0.004);
  TRecordingView view;
  view.log.clear();
  drawing.Draw(view.canvas);
  EXPECT_TRUE(view.box.Screen.Logged({"Pen FF 1 2"}));
}

}  // namespace
