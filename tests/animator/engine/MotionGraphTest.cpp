// The motion graph without its window: series of every kind from the four-bar's solution, the
// data table, layout and rounded range, painting with cursor and legend, and the
// workbook sheets with their charts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "animator/engine/AniMechanism.h"
#include "animator/engine/MotionGraph.h"
#include "animator/engine/StdOut.h"
#include "shared/Convert.h"
#include "shared/Workbook.h"
#include "tests/animator/engine/RecordingCanvas.h"

namespace quillon {
namespace {

using enginetest::Hex;
using enginetest::TRecordingSurface;

constexpr double kPi = std::numbers::pi;
constexpr double kDegree = 180 / kPi;
const std::string kDeg = "\xB0";  // the degree sign in Windows-1252

// The value as the metric display shows it: three decimals and the unit.
std::string Shown(double value, const std::string& unit) {
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", value);
  return std::string(text) + " " + unit;
}

class MotionGraphTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateStdOut();
    shared::CreateConvert();
    shared::Convert().SetSystem(shared::usMetric);
    Mechanism.NewMechanism(0);
    Mechanism.SetPositionCount(24);
    Mechanism.Calculate();
    Graph.Mechanism = &Mechanism;
  }
  void TearDown() override {
    shared::FreeConvert();
    FreeStdOut();
  }

  // A target curve through three positions of the tracer E, so the error graphs have data.
  void AddTargetCurve() {
    const TAniJoint& e = *Mechanism.Joints[Mechanism.FindJoint('E')];
    for (int s : {0, 6, 12})
      Mechanism.Curve.AddPoint(shared::TComplex(e.Positions[s].X + 0.01, e.Positions[s].Y));
    Mechanism.Curve.OutWeight = 1;
    Mechanism.Calculate();
    ASSERT_TRUE(Mechanism.CanFitCurve());
  }

  TAniMechanism Mechanism;
  TMotionGraph Graph;
};

TEST_F(MotionGraphTest, EveryKindPlotsTheGettersOverTheSolvedSteps) {
  AddTargetCurve();
  const TAniMechanism& m = Mechanism;
  const int bce = m.FindLink("BCE");
  const int e = m.FindJoint('E');
  using TGetter = std::function<double(int)>;
  struct Case {
    int Kind;
    std::string Title;
    std::string Name;
    int Category;
    TGetter Value;
  };
  const std::vector<Case> cases = {
      {gkRotation, "Rotation", "BCE", shared::cuAngle, [&](int s) { return m.GetLinkValue(s, 0, bce); }},
      {gkAngularVelocity, "Angular Velocity", "BCE", shared::cuAngVel,
       [&](int s) { return m.GetLinkValue(s, 1, bce); }},
      {gkAngularAcceleration, "Angular Acceleration", "BCE", shared::cuAngAcc,
       [&](int s) { return m.GetLinkValue(s, 2, bce); }},
      {gkPath, "Path", "E", shared::cuLength, [&](int s) { return m.GetJointValue(s, 0, e); }},
      {gkPathVelocity, "Velocity", "E", shared::cuVel, [&](int s) { return m.GetJointValue(s, 1, e); }},
      {gkPathAcceleration, "Acceleration", "E", shared::cuAcc,
       [&](int s) { return m.GetJointValue(s, 2, e); }},
      {gkTransmission, "Transmission Angle", "BCE-CD", shared::cuAngle,
       [&](int s) { return m.GetDyadAngle(s, 0); }},
      {gkPathError, "", "Path Error", shared::cuLength, [&](int s) { return m.GetPathError(s); }},
      {gkRotationError, "", "Rotation Error", shared::cuAngle, [&](int s) { return m.GetRotationError(s); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Kind);
    Graph.Rebuild(c.Kind);
    EXPECT_EQ(Graph.Kind(), c.Kind);
    EXPECT_EQ(Graph.Title(), c.Title);
    EXPECT_EQ(Graph.SeriesNames(), std::vector<std::string>{c.Name});
    EXPECT_EQ(Graph.ValueCategory(), c.Category);
    EXPECT_EQ(Graph.XCaption(), "Time");
    ASSERT_EQ(Graph.Count(), m.Len + 1);
    bool someNonZero = false;
    for (int s = 0; s <= m.Len; ++s) {
      EXPECT_EQ(Graph.X(s), m.GetTime(s));
      EXPECT_EQ(Graph.Value(s, 0), c.Value(s));
      someNonZero |= c.Value(s) != 0;
    }
    EXPECT_TRUE(someNonZero) << "the getter gives only zeros: the case shows nothing";
  }

  // The path length is the polyline through E's positions; the input turns once over the cycle.
  Graph.XIsTime = false;
  Graph.Rebuild(gkPath);
  EXPECT_EQ(Graph.XCaption(), "Input Rotation");
  EXPECT_EQ(Graph.XCategory(), shared::cuAngle);
  double path = 0;
  const auto& p = m.Joints[e]->Positions;
  for (int s = 1; s <= m.Len; ++s) {
    path += std::hypot(p[s].X - p[s - 1].X, p[s].Y - p[s - 1].Y);
    EXPECT_NEAR(Graph.Value(s, 0), path, 1e-12);
  }
  EXPECT_NEAR(Graph.X(m.Len), 2 * kPi, 1e-12);
  EXPECT_EQ(Graph.X(0), 0);
}

// A graph with nothing to plot says why in its legend, with no curve colour under the words.
TEST_F(MotionGraphTest, AnEmptyGraphSaysWhyWithItsTitle) {
  for (auto& link : Mechanism.Links) link->Kinematics = 0;
  for (auto& joint : Mechanism.Joints) joint->SetAnalyse(false);
  Mechanism.Dyads.clear();
  const struct {
    int Kind;
    const char* Note;
  } cases[] = {
      {gkRotation, "No link is plotted: Show Graph on a link adds it"},
      {gkPathVelocity, "No joint is plotted: Show Graph on a joint adds it"},
      {gkTransmission, "The linkage has no dyad"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Note);
    Graph.Rebuild(c.Kind);
    EXPECT_EQ(Graph.Count(), 0);
    EXPECT_EQ(Graph.SeriesCount(), 1);
    EXPECT_EQ(Graph.SeriesNames(), std::vector<std::string>{c.Note});
    EXPECT_FALSE(Graph.Title().empty());
    TRecordingSurface surface(400, 200);
    Graph.Paint(surface);
    EXPECT_FALSE(Graph.Valid());
    // The frame is the only polyline and the only lines are the grid's: none in the legend band.
    EXPECT_EQ(surface.CountOf("Polyline"), 1);
    for (const std::string& entry : surface.Log) {
      if (entry.rfind("L ", 0) != 0) continue;
      EXPECT_GT(std::stoi(entry.substr(entry.find(',') + 1)), Graph.PlotTop() - 1) << entry;
    }
    // Title at left + 4 (no pictures), the note behind it and five blanks.
    const int legend = 100 + 8 * static_cast<int>(Graph.Title().size() + 5);
    EXPECT_EQ(surface.CountOf("Text 100,4 " + Graph.Title()), 1);
    EXPECT_EQ(surface.CountOf("Text " + std::to_string(legend) + ",4 " + c.Note), 1);
  }
}

// The function generators' tracer is a joint of the frame, which never moves: their path graph
// says that there is no tracer, until a moving joint is set as output joint.
TEST_F(MotionGraphTest, APathGraphWithoutAMovingTracerSaysSo) {
  for (const int preset : {9, 10, 11}) {
    SCOPED_TRACE(preset);
    TAniMechanism m;
    m.NewMechanism(preset);
    m.Calculate();
    ASSERT_TRUE(m.Tracer && m.Tracer->HasLink(0));
    Graph.Mechanism = &m;
    for (int kind : {gkPath, gkPathVelocity, gkPathAcceleration}) {
      Graph.Rebuild(kind);
      EXPECT_EQ(Graph.Count(), 0);
      EXPECT_EQ(Graph.SeriesNames(),
                std::vector<std::string>{
                    "The linkage has no tracer: Set As Output Joint on a moving joint plots its path"});
    }
    const int c = m.FindJoint('C');
    m.SetTracer(c);
    m.Calculate();
    Graph.Rebuild(gkPath);
    EXPECT_EQ(Graph.SeriesNames(), std::vector<std::string>{"C"});
    EXPECT_EQ(Graph.Count(), m.Len + 1);
    Graph.Mechanism = &Mechanism;
  }
}

TEST_F(MotionGraphTest, WithoutAMechanismOnlyTheXAxisIsNamed) {
  TMotionGraph alone;
  EXPECT_EQ(alone.Kind(), gkRotation);
  EXPECT_EQ(alone.Count(), 0);
  EXPECT_EQ(alone.XCaption(), "Time");
  EXPECT_EQ(alone.SeriesNames(), std::vector<std::string>{"Y-axis"});
}

// The recording surface's font is 8 pixels a character and 10 high, so the margins are
// 11 * 8 + 8 = 96 on the left and 10 + 8 = 18 at top and bottom.
TEST_F(MotionGraphTest, LayoutWidensTheRangeToRoundTicksAndMapsPoints) {
  TMotionGraph g;
  g.SetSeriesCount(2);
  const double first[] = {0.12, 3.4};
  const double second[] = {1.0, -0.57};
  const double third[] = {2.0, 0.5, 99.0};  // the third value has no series
  g.AddPoint(0, first);
  // The first point already spans every series' value.
  EXPECT_EQ(g.YMin(), 0.12);
  EXPECT_EQ(g.YMax(), 3.4);
  g.AddPoint(1, second);
  g.AddPoint(2, third);
  EXPECT_EQ(g.YMax(), 3.4);
  EXPECT_EQ(g.YMin(), -0.57);

  // Texts 8 pixels a character and 10 high: the sample "1234.123456" is 88 wide; under the plot
  // a line of scale numbers and one of the legend (3 + 10 + 2 + 10 + 2).
  TRecordingSurface surface(400, 200);
  g.Layout(surface);
  EXPECT_EQ(g.LeftMargin(), 96);
  EXPECT_EQ(g.TopMargin(), 18);
  EXPECT_EQ(g.BottomMargin(), 27);
  EXPECT_EQ(g.PlotLeft(), 96);
  EXPECT_EQ(g.PlotRight(), 392);
  EXPECT_EQ(g.PlotTop(), 18);
  EXPECT_EQ(g.PlotBottom(), 173);
  ASSERT_TRUE(g.Valid());
  // y: -0.57 .. 3.4 in at most 6 rows is a step of 1 (3.97 / 6 = 0.66 rounded up to a round
  // value), widened to -1 .. 4: 155 pixels over 5, 31 a unit. x keeps 0 .. 2, 148 a unit, with
  // ticks every 0.5 inside.
  EXPECT_EQ(g.YTickValues(), (std::vector<double>{-1, 0, 1, 2, 3, 4}));
  EXPECT_EQ(g.XTickValues(), (std::vector<double>{0, 0.5, 1, 1.5, 2}));
  EXPECT_EQ(g.ScreenY(0, 1), 173 - 136);  // 4.4 * 31 = 136.4
  EXPECT_EQ(g.ScreenY(0, 0), 173 - 35);   // 1.12 * 31 = 34.72
  EXPECT_EQ(g.ScreenY(1, 1), 173 - 13);   // 0.43 * 31 = 13.33
  EXPECT_EQ(g.ScreenX(0), 96);
  EXPECT_EQ(g.ScreenX(1), 244);
  EXPECT_EQ(g.ScreenX(2), 392);

  // A constant becomes value - 1 .. value + 1 and plots as a level line in the middle; a single
  // x likewise spans x - 1 .. x + 1.
  TMotionGraph flat;
  for (int i = 0; i < 3; ++i) {
    const double five[] = {5.0};
    flat.AddPoint(7, five);
  }
  flat.Layout(surface);
  ASSERT_TRUE(flat.Valid());
  EXPECT_EQ(flat.YTickValues(), (std::vector<double>{4, 4.5, 5, 5.5, 6}));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(flat.ScreenY(i, 0), 173 - 78);  // 77.5 rounded away from 0
  EXPECT_EQ(flat.ScreenX(0), 244);

  // Without labels every margin is 8.
  flat.ShowLabels = false;
  flat.Layout(surface);
  EXPECT_EQ(flat.PlotLeft(), 8);
  EXPECT_EQ(flat.PlotTop(), 8);
  EXPECT_EQ(flat.PlotBottom(), 192);
}

// A value beyond the doubles leaves no scale to plot on: the frame stays empty, without ticks,
// rather than curves at pixels computed from infinity.
TEST_F(MotionGraphTest, AnInfiniteValueIsNotPlotted) {
  TMotionGraph g;
  for (const double value : {1.0, HUGE_VAL, 2.0}) {
    const double values[] = {value};
    g.AddPoint(g.Count(), values);
  }
  TRecordingSurface surface(400, 200);
  g.Paint(surface);
  EXPECT_FALSE(g.Valid());
  EXPECT_TRUE(g.YTickValues().empty());
  EXPECT_TRUE(g.XTickValues().empty());
  EXPECT_EQ(surface.CountOf("Polyline"), 1);  // the frame
}

// The scale numbers and grid lines of a real graph stand at round values in the display units
// (degrees, seconds), and the range holds every value plotted.
TEST_F(MotionGraphTest, ScaleNumbersAndGridLinesStandAtRoundValues) {
  Graph.Rebuild(gkRotation);
  TRecordingSurface surface(640, 171);
  Graph.Paint(surface);
  const shared::TConvert& units = shared::Convert();
  const auto isStep = [](double step) {
    const double mantissa = step / std::pow(10.0, std::floor(std::log10(step)));
    return std::fabs(mantissa - 1) < 1e-9 || std::fabs(mantissa - 2) < 1e-9 || std::fabs(mantissa - 5) < 1e-9;
  };
  for (const auto& [ticks, category] :
       {std::pair{Graph.YTickValues(), Graph.ValueCategory()}, {Graph.XTickValues(), Graph.XCategory()}}) {
    ASSERT_GE(ticks.size(), 2u);
    const double step = units.FromSI(category, ticks[1]) - units.FromSI(category, ticks[0]);
    EXPECT_TRUE(isStep(step)) << step;
    for (const double tick : ticks) {
      const double shown = units.FromSI(category, tick);
      EXPECT_NEAR(shown / step, std::round(shown / step), 1e-9) << shown;
      // Its number is drawn as the display shows it (0 may stand on both scales).
      const std::string text = units.FormatSI(category, tick);
      EXPECT_TRUE(std::any_of(surface.Texts.begin(), surface.Texts.end(),
                              [&](const enginetest::TTextCall& t) { return t.Text == text; }))
          << text;
    }
  }
  // Read off the drawing: the numbers right-aligned before the plot are the y scale, evenly
  // spaced by a round step.
  std::vector<double> yScale;
  for (const enginetest::TTextCall& t : surface.Texts)
    if (t.X + int(t.Text.size()) * 8 == Graph.PlotLeft() - 4) yScale.push_back(std::stod(t.Text));
  std::sort(yScale.begin(), yScale.end());
  ASSERT_GE(yScale.size(), 3u);
  const double yStep = yScale[1] - yScale[0];
  EXPECT_TRUE(isStep(yStep)) << yStep;
  for (size_t k = 1; k < yScale.size(); ++k) EXPECT_NEAR(yScale[k] - yScale[k - 1], yStep, 1e-9) << yScale[k];
  for (const double shown : yScale) EXPECT_NEAR(shown / yStep, std::round(shown / yStep), 1e-9) << shown;

  const int bce = Mechanism.FindLink("BCE");
  for (int step = 0; step <= Mechanism.Len; ++step) {
    const double value = Mechanism.GetLinkValue(step, 0, bce);
    EXPECT_LE(Graph.YTickValues().front(), value);
    EXPECT_GE(Graph.YTickValues().back(), value);
  }
  // A grid line at every inner y tick, across the plot.
  for (const double tick : Graph.YTickValues()) {
    const int y =
        Graph.PlotBottom() -
        int(std::lround((tick - Graph.YTickValues().front()) * (Graph.PlotBottom() - Graph.PlotTop()) /
                        (Graph.YTickValues().back() - Graph.YTickValues().front())));
    if (y <= Graph.PlotTop() || y >= Graph.PlotBottom()) continue;
    EXPECT_TRUE(surface.Logged({"M " + TRecordingSurface::P(Graph.PlotLeft(), y),
                                "L " + TRecordingSurface::P(Graph.PlotRight(), y)}))
        << y;
  }
}

TEST_F(MotionGraphTest, TableGrowsByTwentyAndKeepsItsPoints) {
  TMotionGraph g;
  EXPECT_EQ(g.Capacity(), 120);
  for (int i = 0; i <= 120; ++i) {
    const double v[] = {i * 0.5};
    g.AddPoint(i, v);
  }
  EXPECT_EQ(g.Count(), 121);
  EXPECT_EQ(g.Capacity(), 140);
  for (int i = 0; i <= 120; ++i) {
    EXPECT_EQ(g.X(i), i);
    EXPECT_EQ(g.Value(i, 0), i * 0.5);
  }
  g.Clear();
  EXPECT_EQ(g.Count(), 0);
  EXPECT_EQ(g.Capacity(), 120);
}

TEST_F(MotionGraphTest, CursorLineBetweenTheEndsAndLegendValuesOnlyWithinThePoints) {
  Graph.Rebuild(gkRotation);
  const int len = Mechanism.Len;
  const int bce = Mechanism.FindLink("BCE");
  struct Case {
    int Step;
    bool Line;
    bool Values;
  };
  for (const Case& c :
       {Case{-1, false, false}, Case{0, false, true}, Case{1, true, true}, Case{len - 1, true, true},
        Case{len, false, true}, Case{len + 1, false, false}, Case{len + 5, false, false}}) {
    SCOPED_TRACE(c.Step);
    Graph.SetCursor(c.Step);
    TRecordingSurface surface(500, 200);
    Graph.Paint(surface);
    const std::string cursorPen = "Pen " + Hex(Graph.CursorColor) + " 1 0";
    if (c.Line) {
      const int x = Graph.ScreenX(c.Step);
      EXPECT_TRUE(surface.Logged({cursorPen, "M " + TRecordingSurface::P(x, Graph.PlotTop() + 1),
                                  "L " + TRecordingSurface::P(x, Graph.PlotBottom())}));
    } else {
      EXPECT_EQ(surface.CountOf(cursorPen), 0);
    }
    if (c.Values) {
      EXPECT_EQ(Graph.SeriesLegend(0),
                "BCE " + Shown(Mechanism.GetLinkValue(c.Step, 0, bce) * kDegree, kDeg));
      EXPECT_EQ(Graph.XLegend(), "Time " + Shown(Mechanism.GetTime(c.Step), "s"));
    } else {
      EXPECT_EQ(Graph.SeriesLegend(0), "BCE [" + kDeg + "]");
      EXPECT_EQ(Graph.XLegend(), "Time [s]");
    }
    EXPECT_EQ(surface.CountOf("Text 100,4 " + Graph.Title()), 1);
  }

  // A graph without points has no cursor values at any step.
  TMotionGraph empty;
  empty.SetCursor(0);
  EXPECT_EQ(empty.SeriesLegend(0), "Y-axis");
  EXPECT_EQ(empty.XLegend(), "Time [s]");
}

TEST_F(MotionGraphTest, SeriesPastTheTenthReuseTheColours) {
  TMotionGraph g;
  g.SetSeriesCount(11);
  std::vector<double> values(11);
  for (int x = 0; x < 3; ++x) {
    for (int i = 0; i < 11; ++i) values[i] = i + x;
    g.AddPoint(x, values);
  }
  TRecordingSurface surface(400, 200);
  g.Paint(surface);
  std::vector<std::string> pens;
  for (size_t i = 1; i < surface.Log.size(); ++i)
    if (surface.Log[i].rfind("Polyline", 0) == 0 && surface.Log[i - 1].rfind("Pen", 0) == 0)
      pens.push_back(surface.Log[i - 1]);
  ASSERT_EQ(pens.size(), 12u);  // the frame and eleven series
  const std::vector<std::string> colours = {"FF",   "FF0000", "8080",   "FF00FF", "FF00", "80",
                                            "FFFF", "8000",   "800000", "808080", "FF"};
  for (int i = 0; i < 11; ++i) EXPECT_EQ(pens[i + 1], "Pen " + colours[i] + " 1 0") << i;
}

// A cell's text, or "" when it holds none.
std::string TextAt(const shared::TWorksheet& sheet, int row, int column) {
  const shared::TCell* cell = sheet.Cell(row, column);
  return cell && cell->Kind == shared::ECellKind::Text ? cell->Text : "";
}

double NumberAt(const shared::TWorksheet& sheet, int row, int column) {
  const shared::TCell* cell = sheet.Cell(row, column);
  EXPECT_TRUE(cell && cell->Kind == shared::ECellKind::Number) << row << "," << column;
  return cell ? cell->Number : NAN;
}

const shared::TChartSheet* ChartOf(const shared::TWorkbook& book, const std::string& name) {
  for (const auto& sheet : book.Sheets())
    if (sheet->GetName() == name) return dynamic_cast<const shared::TChartSheet*>(sheet.get());
  return nullptr;
}

TEST_F(MotionGraphTest, SheetsHoldTheStepsInDisplayUnitsWithTheirCharts) {
  AddTargetCurve();
  const TAniMechanism& m = Mechanism;
  const int len = m.Len;
  const int last = 4 + len;
  shared::TWorkbook book;
  Graph.WriteErrorSheet(book);
  EXPECT_EQ(book.Sheets().size(), 1u) << "no error sheet while the error graphs are unavailable";
  Graph.ErrorAvailable = true;
  Graph.WriteLinkSheet(book, 0);
  Graph.WritePathSheet(book, 1);
  Graph.WriteTransmissionSheet(book);
  Graph.WriteErrorSheet(book);
  Graph.WriteVectorsSheet(book);
  std::vector<std::string> names;
  for (const auto& sheet : book.Sheets()) names.push_back(sheet->GetName());
  EXPECT_EQ(names, (std::vector<std::string>{"Vectors", "Error Chart", "Error", "TransChart", "TransAngle",
                                             "Vel Chart", "Vel", "Rotation Chart", "Rotation", "Sheet1"}));

  // The link rotation sheet, cell by cell at the edges.
  const shared::TWorksheet& rotation = *book.Worksheet("Rotation");
  EXPECT_EQ(TextAt(rotation, 1, 1), "Rotation");
  EXPECT_EQ(TextAt(rotation, 2, 1), "Pos.");
  EXPECT_EQ(TextAt(rotation, 2, 2), "Time");
  EXPECT_EQ(TextAt(rotation, 2, 3), "BCE");
  EXPECT_EQ(TextAt(rotation, 3, 2), "[s]");
  EXPECT_EQ(TextAt(rotation, 3, 3), "[" + kDeg + "]");
  EXPECT_TRUE(rotation.Format(1, 1).Bold);
  EXPECT_TRUE(rotation.Format(2, 3).Bold);
  EXPECT_FALSE(rotation.Format(3, 3).Bold);
  EXPECT_FALSE(rotation.Format(4, 1).Bold);
  EXPECT_EQ(rotation.Format(3, 3).FillColorIndex, 36);
  EXPECT_EQ(rotation.Format(1, 1).FillColorIndex, 36);
  EXPECT_EQ(rotation.Format(4, 3).FillColorIndex, 0);
  EXPECT_EQ(rotation.Cell(3, 4), nullptr);
  EXPECT_GT(rotation.ColumnWidth(2), 0);
  EXPECT_GT(rotation.ColumnWidth(3), 0);
  const int bce = m.FindLink("BCE");
  for (int s : {0, 7, len}) {
    EXPECT_EQ(NumberAt(rotation, 4 + s, 1), s);
    EXPECT_NEAR(NumberAt(rotation, 4 + s, 2), m.GetTime(s), 1e-12);
    EXPECT_NEAR(NumberAt(rotation, 4 + s, 3), m.GetLinkValue(s, 0, bce) * kDegree, 1e-9);
  }
  EXPECT_EQ(rotation.Cell(last + 1, 1), nullptr);

  const shared::TChartSheet* chart = ChartOf(book, "Rotation Chart");
  ASSERT_NE(chart, nullptr);
  EXPECT_EQ(chart->Chart.Title, "Rotation");
  EXPECT_EQ(chart->Chart.ValueAxisTitle, "Rotation [" + kDeg + "]");
  EXPECT_TRUE(chart->Chart.HasLegend);
  ASSERT_EQ(chart->Chart.Series.size(), 1u);
  const shared::TChartSeries& series = chart->Chart.Series[0];
  EXPECT_EQ(series.Name, "BCE");
  EXPECT_EQ(series.Sheet, "Rotation");
  EXPECT_EQ(series.X, (shared::TCellRange{4, 2, last, 2}));
  EXPECT_EQ(series.Y, (shared::TCellRange{4, 3, last, 3}));

  // Path velocity in mm/s.
  const shared::TWorksheet& vel = *book.Worksheet("Vel");
  EXPECT_EQ(TextAt(vel, 1, 1), "Velocity");
  EXPECT_EQ(TextAt(vel, 3, 3), "[mm/s]");
  const int e = m.FindJoint('E');
  EXPECT_NEAR(NumberAt(vel, 10, 3), m.GetJointValue(6, 1, e) * 1000, 1e-9);
  EXPECT_EQ(ChartOf(book, "Vel Chart")->Chart.ValueAxisTitle, "Velocity [mm/s]");

  const shared::TWorksheet& trans = *book.Worksheet("TransAngle");
  EXPECT_EQ(TextAt(trans, 2, 3), "BCE-CD");
  EXPECT_EQ(ChartOf(book, "TransChart")->Chart.Title, "Transmission Angle");

  // Two fixed error columns, the chart over both.
  const shared::TWorksheet& error = *book.Worksheet("Error");
  EXPECT_EQ(TextAt(error, 1, 1), "Path Error");
  EXPECT_EQ(TextAt(error, 2, 3), "Path Error");
  EXPECT_EQ(TextAt(error, 2, 4), "Rotation Error");
  EXPECT_EQ(TextAt(error, 3, 3), "[mm]");
  EXPECT_EQ(TextAt(error, 3, 4), "[" + kDeg + "]");
  EXPECT_NEAR(NumberAt(error, 6, 3), m.GetPathError(2) * 1000, 1e-9);
  EXPECT_NEAR(NumberAt(error, 6, 4), m.GetRotationError(2) * kDegree, 1e-9);
  const shared::TChartSheet* errorChart = ChartOf(book, "Error Chart");
  ASSERT_EQ(errorChart->Chart.Series.size(), 2u);
  EXPECT_EQ(errorChart->Chart.Series[1].Name, "Rotation Error");
  EXPECT_EQ(errorChart->Chart.Series[1].Y, (shared::TCellRange{4, 4, last, 4}));
  EXPECT_EQ(errorChart->Chart.ValueAxisTitle, "Path Error [mm]");

  // Vectors: B and C are traced (positions only), E shows its vectors too.
  const shared::TWorksheet& vectors = *book.Worksheet("Vectors");
  EXPECT_EQ(TextAt(vectors, 1, 1), "Vectors");
  EXPECT_EQ(TextAt(vectors, 1, 3), "B");
  EXPECT_EQ(TextAt(vectors, 1, 9), "C");
  EXPECT_EQ(TextAt(vectors, 1, 15), "E");
  const std::vector<std::string> headers = {"x", "y", "Vx", "Vy", "Ax", "Ay"};
  const std::vector<std::string> units = {"[mm]", "[mm]", "[mm/s]", "[mm/s]", "[mm/s\xB2]", "[mm/s\xB2]"};
  for (int k = 0; k < 6; ++k) {
    EXPECT_EQ(TextAt(vectors, 2, 15 + k), headers[k]);
    EXPECT_EQ(TextAt(vectors, 3, 15 + k), units[k]);
  }
  EXPECT_EQ(TextAt(vectors, 1, 21), "");
  const TAniJoint& b = *m.Joints[m.FindJoint('B')];
  const TAniJoint& ej = *m.Joints[e];
  EXPECT_NEAR(NumberAt(vectors, 9, 4), b.Positions[5].Y * 1000, 1e-9);
  EXPECT_EQ(vectors.Cell(9, 5), nullptr) << "B shows no vectors";
  EXPECT_NEAR(NumberAt(vectors, 9, 17), ej.Velocity[5].X * 1000, 1e-9);
  EXPECT_NEAR(NumberAt(vectors, 9, 20), ej.Acceleration[5].Y * 1000, 1e-9);
  EXPECT_EQ(vectors.Format(3, 20).FillColorIndex, 36);
  EXPECT_TRUE(vectors.Format(2, 20).Bold);
  EXPECT_EQ(ChartOf(book, "Vectors Chart"), nullptr);
}

TEST_F(MotionGraphTest, SheetsOverInputRotationAndWithoutSeriesHaveNoChart) {
  Graph.XIsTime = false;
  for (auto& link : Mechanism.Links) link->Kinematics = 0;
  shared::TWorkbook book;
  Graph.WriteLinkSheet(book, 2);
  const shared::TWorksheet& acc = *book.Worksheet("AngAcc");
  EXPECT_EQ(TextAt(acc, 1, 1), "Angular Acceleration");
  EXPECT_EQ(TextAt(acc, 2, 2), "Input Rotation");
  EXPECT_EQ(TextAt(acc, 3, 2), "[" + kDeg + "]");
  EXPECT_NEAR(NumberAt(acc, 4 + Mechanism.Len, 2), 360, 1e-9);
  EXPECT_EQ(acc.Cell(2, 3), nullptr);
  EXPECT_EQ(book.Sheets().size(), 2u) << "a sheet without series gets no chart";
}

}  // namespace
}  // namespace quillon
