// The solution list against fake views: ranking and its edge cases, the rows kept bound to their
// positions, deletion, hit test, grid, graph writers, undo of an optimisation, and the record.
#include "synthesis/engine/MechanismList.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <set>
#include <memory>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "shared/Convert.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/ComplexLine.h"
#include "synthesis/engine/Area.h"
#include "synthesis/engine/FiveBar.h"
#include "synthesis/engine/Fourbar.h"
#include "synthesis/engine/GraphPaintBox.h"
#include "synthesis/engine/MechanismFactory.h"
#include "synthesis/engine/ProjectText.h"
#include "synthesis/engine/Slider.h"
#include "synthesis/engine/Spline.h"
#include "tests/synthesis/engine/RecordText.h"

namespace vesk {
namespace {

using shared::TComplex;

struct TFakeRow : TListRow {
  void SetCaption(const std::string& caption) override { Caption = caption; }
  void SetImageIndex(int32_t index) override { Image = index; }
  void SetSubItems(const std::vector<std::string>& items) override {
    SubItems = items;
    ++Fills;
  }
  std::string Caption;
  int32_t Image = -1;
  std::vector<std::string> SubItems;
  int Fills = 0;
};

class TFakeListView : public TListView {
 public:
  void BeginUpdate() override { ++Depth; }
  void EndUpdate() override {
    ASSERT_GT(Depth, 0);
    --Depth;
  }
  void Clear() override { Rows.clear(); }
  int32_t RowCount() const override { return int32_t(Rows.size()); }
  TListRow* AddRow() override {
    Rows.push_back(std::make_unique<TFakeRow>());
    return Rows.back().get();
  }
  TListRow* Row(int32_t row) override { return Rows.at(size_t(row)).get(); }
  void DeleteRow(int32_t row) override { Rows.erase(Rows.begin() + row); }
  int32_t SelectedRow() const override { return Selected; }
  void SetSelectedRow(int32_t row) override { Selected = row; }

  TFakeRow& At(int32_t row) { return *Rows.at(size_t(row)); }
  std::vector<std::unique_ptr<TFakeRow>> Rows;
  int32_t Selected = -1;
  int Depth = 0;
};

class TFakeGrid : public TPropertiesGrid {
 public:
  int32_t ColCount() const override { return TMechanismList::kGridCols; }
  int32_t RowCount() const override { return TMechanismList::kGridRows; }
  void SetCell(int32_t col, int32_t row, const std::string& text) override { Cells[{col, row}] = text; }
  void SelectRow(int32_t row) override { SelectedRow = row; }
  std::string Cell(int32_t col, int32_t row) const {
    const auto it = Cells.find({col, row});
    return it == Cells.end() ? "" : it->second;
  }
  std::map<std::pair<int32_t, int32_t>, std::string> Cells;
  int32_t SelectedRow = -2;
};

// A candidate as generation hands it over.
std::unique_ptr<TMechanism> Candidate(double total, bool valid = true, int32_t id = 0) {
  auto m = std::make_unique<TFourbar>();
  m->Error.Valid = valid;
  m->Error.Total = total;
  m->ID = id;
  return m;
}

struct ListFixture : ::testing::Test {
  ListFixture() {
    shared::CreateConvert();
    CreateDefaultInputFunction();
    list.ListView = &view;
    list.Grid = &grid;
  }
  // IDs in list order.
  std::vector<int32_t> Ids() const {
    std::vector<int32_t> ids;
    for (int32_t i = 1; i <= list.Count(); ++i) ids.push_back(list.Items(i)->ID);
    return ids;
  }
  // Every item is bound to the row of its position, and the row shows its ID.
  void ExpectRowsBound() {
    for (int32_t i = 1; i <= list.Count(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(list.Items(i)->ListItem, view.Row(i - 1));
      EXPECT_EQ(view.At(i - 1).SubItems.at(0), std::to_string(list.Items(i)->ID));
    }
    EXPECT_EQ(view.Depth, 0);
  }
  TFakeListView view;
  TFakeGrid grid;
  TMechanismList list;
};

TEST_F(ListFixture, RanksByTotalTiesAfterAndCountsOnlyValidCandidates) {
  struct TOffer {
    double Total;
    bool Valid;
    int32_t Id;
  };
  // Totals 3, 1, (invalid), 2, 1 again (after the first 1), an already numbered 0.5.
  const std::vector<TOffer> offers = {{3, true, 0}, {1, true, 0}, {0.1, false, 0}, {2, true, 0}, {1, true, 0}, {0.5, true, 77}};
  for (const TOffer& o : offers) list.AddCandidate(Candidate(o.Total, o.Valid, o.Id));
  EXPECT_EQ(list.Generated, 5);
  EXPECT_EQ(Ids(), (std::vector<int32_t>{77, 2, 4, 3, 1}));
  EXPECT_EQ(list.Current, nullptr);
  EXPECT_EQ(view.Selected, -1);
  EXPECT_EQ(view.RowCount(), 5);
  EXPECT_TRUE(list.Modified);
  ExpectRowsBound();
  EXPECT_EQ(view.At(0).Caption, "Fourbar");
  EXPECT_EQ(view.At(0).Image, 16);
}

TEST_F(ListFixture, WithFiftyHeldOnlyAStrictlyBetterCandidateEntersAndTheFiftiethGoes) {
  for (int i = 1; i <= 50; ++i) list.AddCandidate(Candidate(i));
  ASSERT_EQ(list.Count(), 50);
  list.Select(50);
  // Equal to the worst: freed, but counted.
  list.AddCandidate(Candidate(50));
  EXPECT_EQ(list.Generated, 51);
  EXPECT_EQ(list.Items(50)->ID, 50);
  EXPECT_EQ(list.Current, list.Items(50));
  // Between 10 and 11: it enters at 11, the old 50th (the current one) is dropped.
  list.AddCandidate(Candidate(10.5));
  EXPECT_EQ(list.Generated, 52);
  EXPECT_EQ(list.Count(), 50);
  EXPECT_EQ(list.Items(11)->ID, 52);
  EXPECT_EQ(list.Items(50)->ID, 49);
  EXPECT_EQ(list.Current, nullptr);
  EXPECT_EQ(view.RowCount(), 50);
  ExpectRowsBound();
  // Only the rows from the insertion on were refilled.
  EXPECT_EQ(view.At(0).Fills, 1);
}

TEST_F(ListFixture, InsertionRefillsOnlyTheRowsFromItsPositionOn) {
  for (double t : {1.0, 2.0, 3.0, 4.0}) list.AddCandidate(Candidate(t));
  std::vector<int> before;
  for (auto& row : view.Rows) before.push_back(row->Fills);
  list.AddCandidate(Candidate(2.5));
  EXPECT_EQ(view.At(0).Fills, before[0]);
  EXPECT_EQ(view.At(1).Fills, before[1]);
  EXPECT_EQ(view.At(2).Fills, before[2] + 1);
  EXPECT_EQ(view.At(3).Fills, before[3] + 1);
  ExpectRowsBound();
}

TEST_F(ListFixture, ResortMovesTheCurrentItemToItsPlace) {
  struct TCase {
    const char* Name;
    int32_t Select;
    double NewTotal;
    std::vector<int32_t> Ids;
    int32_t Row;
  };
  // Items 1..5 with totals 10, 20, 30, 40, 50 (IDs 1..5).
  const std::vector<TCase> cases = {
      {"worse than every other goes last", 2, 99, {1, 3, 4, 5, 2}, 4},
      {"worse, moves down two", 2, 41, {1, 3, 4, 2, 5}, 3},
      {"better, moves up", 4, 15, {1, 4, 2, 3, 5}, 1},
      {"best of all", 5, 1, {5, 1, 2, 3, 4}, 0},
      {"unchanged place", 3, 25, {1, 2, 3, 4, 5}, 2},
      {"equal to the next goes after it", 2, 30, {1, 3, 2, 4, 5}, 2},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    list.Clear();
    for (double t : {10.0, 20.0, 30.0, 40.0, 50.0}) list.AddCandidate(Candidate(t));
    list.Select(c.Select);
    TMechanism* moved = list.Current;
    std::vector<int> before;
    for (auto& row : view.Rows) before.push_back(row->Fills);
    moved->Error.Total = c.NewTotal;
    list.Modified = false;
    list.Resort();
    EXPECT_EQ(Ids(), c.Ids);
    EXPECT_EQ(list.Current, moved);
    EXPECT_EQ(view.Selected, c.Row);
    EXPECT_TRUE(list.Modified);
    ExpectRowsBound();
    if (std::string(c.Name) == "unchanged place") {
      for (int r = 0; r < 5; ++r) EXPECT_EQ(view.At(r).Fills, before[size_t(r)] + (r == 2 ? 1 : 0)) << r;
    }
  }
}

TEST_F(ListFixture, DeleteSelectedSelectsTheNextOrTheNewLast) {
  for (double t : {1.0, 2.0, 3.0}) list.AddCandidate(Candidate(t));
  view.Selected = -1;
  list.DeleteSelected();
  EXPECT_EQ(list.Count(), 3);

  // The middle row: the item after it takes its place and is selected.
  view.Selected = 1;
  list.DeleteSelected();
  EXPECT_EQ(Ids(), (std::vector<int32_t>{1, 3}));
  EXPECT_EQ(list.Current, list.Items(2));
  EXPECT_EQ(view.Selected, 1);
  ExpectRowsBound();

  // The last row: the new last is selected.
  list.DeleteSelected();
  EXPECT_EQ(Ids(), (std::vector<int32_t>{1}));
  EXPECT_EQ(list.Current, list.Items(1));
  EXPECT_EQ(view.Selected, 0);

  // The only row: nothing is left selected.
  list.DeleteSelected();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Current, nullptr);
  EXPECT_EQ(view.RowCount(), 0);
}

TEST_F(ListFixture, InvalidPositionsChangeNothing) {
  list.AddCandidate(Candidate(1));
  list.Select(1);
  for (int32_t i : {0, 2, -1}) {
    list.Select(i);
    list.Delete(i);
  }
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Current, list.Items(1));
  list.Clear();
  EXPECT_EQ(list.Generated, 0);
  EXPECT_EQ(list.Current, nullptr);
  EXPECT_EQ(view.RowCount(), 0);
  EXPECT_FALSE(list.Modified);
}

TEST_F(ListFixture, HitTestOnTheCurrentMechanismOnly) {
  list.AddCandidate(Candidate(1));
  EXPECT_EQ(list.HitTest(TComplex(-0.4, -0.25), 0.01), std::make_pair(0, 0));
  list.Select(1);
  TMechanism& m = *list.Current;
  const TComplex j1 = *m.Joints.GetJoint(1), j3 = *m.Joints.GetJoint(3);
  struct TCase {
    TComplex Point;
    std::pair<int32_t, int32_t> Hit;
  };
  const TComplex middle13((j1.X + j3.X) / 2, (j1.Y + j3.Y) / 2);
  const std::vector<TCase> cases = {
      {TComplex(j1.X + 0.005, j1.Y), {1, 1}},    // joint A within the tolerance
      {TComplex(middle13.X, middle13.Y), {3, 1}},  // on the ground link AC
      {TComplex(5, 5), {0, 0}},
  };
  for (const TCase& c : cases) EXPECT_EQ(list.HitTest(c.Point, 0.01), c.Hit) << c.Point.X << "," << c.Point.Y;
  // A link is caught only within half the tolerance. Its near test is the thin ellipse about
  // the side: 0.004 beside the middle the two distances exceed the length by this much.
  const double len = std::hypot(j3.X - j1.X, j3.Y - j1.Y);
  const TComplex normal(-(j3.Y - j1.Y) / len, (j3.X - j1.X) / len);
  const TComplex beside(middle13.X + 0.004 * normal.X, middle13.Y + 0.004 * normal.Y);
  const double excess = 2 * std::hypot(len / 2, 0.004) - len;
  EXPECT_EQ(list.HitTest(beside, 1.5 * excess).first, 0);
  EXPECT_EQ(list.HitTest(beside, 2.5 * excess), std::make_pair(3, 1));
}

TEST_F(ListFixture, PropertiesGridOfAFourbarAndItsSelectedRows) {
  ResetAppOptions();
  list.AddCandidate(Candidate(1));
  list.Select(1);
  list.UpdateViews();
  const TMechanism& m = *list.Current;
  const shared::TConvert& units = shared::Convert();
  EXPECT_EQ(grid.Cell(0, 0), m.Name);
  EXPECT_EQ(grid.Cell(1, 0), "x " + units.UnitLabel(shared::cuLength));
  EXPECT_EQ(grid.Cell(0, 5), "Joint E");
  EXPECT_EQ(grid.Cell(2, 2), units.FormatSI(shared::cuLength, m.Joints.GetJoint(2)->Y));
  EXPECT_EQ(grid.Cell(0, 7), "Links");
  ASSERT_EQ(list.FirstLinkRow, 8);
  // AC, AB, then BD BE DE, then CD.
  const std::vector<std::string> pairs = {"AC", "AB", "BD", "BE", "DE", "CD"};
  for (size_t k = 0; k < pairs.size(); ++k) EXPECT_EQ(grid.Cell(1, 8 + int32_t(k)), pairs[k]);
  EXPECT_EQ(grid.Cell(0, 10), "Link 3");
  EXPECT_EQ(grid.Cell(0, 13), "Link 4");
  const TComplex b = *m.Joints.GetJoint(2), e = *m.Joints.GetJoint(5);
  EXPECT_EQ(grid.Cell(2, 11), units.FormatSI(shared::cuLength, std::hypot(e.X - b.X, e.Y - b.Y)));
  EXPECT_EQ(grid.Cell(0, 15), "Time " + units.UnitLabel(shared::cuTime));
  EXPECT_EQ(grid.Cell(0, 16), "Input " + units.UnitLabel(shared::cuAngle));
  EXPECT_EQ(grid.Cell(0, 17), "");

  // The selected joint or link picks the row the grid shows it on.
  struct TCase {
    int32_t Joint, Link, Row;
  };
  for (const TCase c : {TCase{3, 0, 3}, TCase{0, 1, 8}, TCase{0, 3, 10}, TCase{0, 4, 13}, TCase{0, 0, -1}}) {
    list.Current->Joints.Select(c.Joint);
    if (c.Joint == 0) list.Current->Joints.Deselect();
    if (c.Link) {
      list.Current->Links.Select(c.Link);
    } else {
      list.Current->Links.Deselect();
    }
    list.SelectGridRow();
    EXPECT_EQ(grid.SelectedRow, c.Row) << c.Joint << " " << c.Link;
  }

  AppOptions.IsPolar = true;
  list.FillPropertiesGrid();
  EXPECT_EQ(grid.Cell(2, 0), "Angle " + units.UnitLabel(shared::cuAngle));
  EXPECT_EQ(grid.Cell(1, 1), units.FormatSI(shared::cuLength, std::hypot(m.Joints.GetJoint(1)->X, m.Joints.GetJoint(1)->Y)));
  ResetAppOptions();

  // Without a current mechanism the views are emptied.
  list.Unselect();
  list.UpdateViews();
  for (const auto& [cell, text] : grid.Cells) EXPECT_EQ(text, "") << cell.first << "," << cell.second;
}

TEST_F(ListFixture, GridRowsOfTheSliderAndTheFiveBar) {
  ResetAppOptions();
  const shared::TConvert& units = shared::Convert();
  // The real types: each has its own joints and links, and after "Input" the rows of its own.
  auto slider = std::make_unique<TSlider>();
  slider->Error.Valid = true;
  slider->Error.Total = 1;
  TComplexLine& guide = *slider->Links.GetLink(4)->GuideLine();
  guide.Point1 = TComplex(0.3, -0.4);
  guide.Point2 = TComplex(0, 0.5);
  list.AddCandidate(std::move(slider));
  auto fivebar = std::make_unique<TFiveBar>();
  fivebar->Error.Valid = true;
  fivebar->Error.Total = 2;
  fivebar->Links.Ratio = -1.5;
  list.AddCandidate(std::move(fivebar));
  // The row after the input rotation's.
  const auto typeRow = [this] {
    for (int32_t row = 0; row < TMechanismList::kGridRows; ++row)
      if (grid.Cell(0, row).rfind("Input ", 0) == 0) return row + 1;
    return -1;
  };

  list.Select(1);
  list.FillPropertiesGrid();
  int32_t row = typeRow();
  ASSERT_GT(row, 0);
  EXPECT_EQ(grid.Cell(0, 0), "Slider Four Bar");
  EXPECT_EQ(grid.Cell(0, row), "Slider P1");
  EXPECT_EQ(grid.Cell(1, row), units.FormatSI(shared::cuLength, 0.3));
  EXPECT_EQ(grid.Cell(2, row), units.FormatSI(shared::cuLength, -0.4));
  EXPECT_EQ(grid.Cell(0, row + 1), "Slider P2");
  EXPECT_EQ(grid.Cell(2, row + 1), units.FormatSI(shared::cuLength, 0.5));
  EXPECT_EQ(grid.Cell(0, row + 2), "");
  AppOptions.IsPolar = true;
  list.FillPropertiesGrid();
  // |(0.3, -0.4)| = 0.5; the second end lies on the y axis, a quarter turn.
  EXPECT_EQ(grid.Cell(1, row), units.FormatSI(shared::cuLength, 0.5));
  EXPECT_EQ(grid.Cell(2, row + 1), units.FormatSI(shared::cuAngle, std::numbers::pi / 2));
  ResetAppOptions();

  list.Select(2);
  list.FillPropertiesGrid();
  row = typeRow();
  ASSERT_GT(row, 0);
  EXPECT_EQ(grid.Cell(0, 0), "Five Bar");
  // Eight joints A to H.
  EXPECT_EQ(grid.Cell(0, 8), "Joint H");
  EXPECT_EQ(grid.Cell(0, row), "Gear Ratio");
  EXPECT_EQ(grid.Cell(1, row), units.FormatSI(shared::cuNone, -1.5));
  EXPECT_EQ(grid.Cell(0, row + 1), "");
}

TEST_F(ListFixture, WriteStoresTheJointsOfTheDesignPosition) {
  list.AddCandidate(Candidate(1));
  TMechanism& m = *list.Items(1);
  const TComplex design = *m.Joints.GetJoint(2);
  // Mid-animation: the joints are moved, the design position kept aside.
  m.StoreJoints();
  m.Joints.GetJoint(2)->X += 0.25;
  std::ostringstream out;
  list.Write(out);
  TMechanismList read;
  std::istringstream in(out.str());
  read.Read(in);
  EXPECT_EQ(read.Items(1)->Joints.GetJoint(2)->X, design.X);
  EXPECT_EQ(m.Joints.GetJoint(2)->X, design.X);
}

// Draws nothing: the graph writers are checked by the samples and titles they leave.
class TNullSurface : public shared::TPaintSurface {
 public:
  int Width() const override { return 400; }
  int Height() const override { return 300; }
  void SetSize(int, int) override {}
  void SetPen(const shared::TPen& pen) override { fPen = pen; }
  shared::TPen Pen() const override { return fPen; }
  void SetBrush(const shared::TBrush& brush) override { fBrush = brush; }
  shared::TBrush Brush() const override { return fBrush; }
  void SetFont(const shared::TFont& font) override { fFont = font; }
  shared::TFont Font() const override { return fFont; }
  void MoveTo(int, int) override {}
  void LineTo(int, int) override {}
  void Polyline(std::span<const shared::TPoint>) override {}
  void Polygon(std::span<const shared::TPoint>) override {}
  void Ellipse(int, int, int, int) override {}
  void FillRect(int, int, int, int) override {}
  void TextOut(int, int, const std::string&) override {}
  shared::TSize TextExtent(const std::string& text) override { return {int(text.size()) * 6, 10}; }
  void DrawRaster(int, int, const shared::TRaster&) override {}
  void Draw(int, int, const shared::TPaintSurface&) override {}
  shared::TRaster ReadPixels() const override { return shared::TRaster(400, 300); }

 private:
  shared::TPen fPen;
  shared::TBrush fBrush;
  shared::TFont fFont;
};

class TNullPaintBox : public shared::TPaintBox {
 public:
  int Width() const override { return 400; }
  int Height() const override { return 300; }
  int ParentClientWidth() const override { return 400; }
  int ParentClientHeight() const override { return 300; }
  shared::TPaintSurface& Canvas() override { return fSurface; }
  std::unique_ptr<shared::TPaintSurface> CreateBitmap(int, int) override { return std::make_unique<TNullSurface>(); }
  void SetCursor(int) override {}
  shared::TColor WindowColor() const override { return shared::kWhite; }

 private:
  TNullSurface fSurface;
};

struct GraphFixture : ListFixture {
  GraphFixture() {
    ResetAppOptions();
    list.Graph = &graph;
    auto m = Candidate(1);
    // Three path points along x: path lengths 0, 0.1, 0.3; input angles 0, 0.5, 1.0.
    m->InputFunction.SetFunctionType(kLawConstantVelocity);
    m->InputFunction.SetTmax(2);
    m->InputFunction.SetXmax(1);
    m->InputFunction.SetSteps(4);
    const double xs[3] = {0, 0.1, 0.3}, angles[3] = {0, 0.5, 1.0};
    for (int i = 0; i < 3; ++i) {
      auto p = std::make_unique<TPathPoint>(xs[i], 0);
      p->InAngle = angles[i];
      p->Deviation = 0.01 * (i + 1);
      p->TransAngle = 1.0 + i;
      m->PathPoints.Add(std::move(p));
    }
    list.AddCandidate(std::move(m));
    list.Select(1);
  }
  ~GraphFixture() override { ResetAppOptions(); }
  std::vector<std::pair<double, double>> Samples() const {
    std::vector<std::pair<double, double>> s;
    for (int i = 0; i < graph.Count; ++i) s.emplace_back(graph.X[size_t(i)], graph.Y[size_t(i)]);
    return s;
  }
  shared::TConvert units;
  TNullPaintBox box;
  TGraphPaintBox graph{box, units};
};

TEST_F(GraphFixture, EveryWriterSetsItsTitlesAndUnits) {
  struct TCase {
    int32_t Kind;
    const char* Title;
    int32_t Unit;
    int Samples;  // path points, or Steps + 1 for the input writers
  };
  const std::vector<TCase> cases = {
      {0, "Error", shared::cuLength, 3},
      {1, "Path", shared::cuLength, 3},
      {2, "Path Velocity", shared::cuVel, 3},
      {3, "Path Acceleration", shared::cuAcc, 3},
      {4, "Output Link Rotation", shared::cuAngle, 3},
      {5, "Output Link Velocity", shared::cuAngVel, 3},
      {6, "Output Link Acceleration", shared::cuAngAcc, 3},
      {7, "Input Link Rotation", shared::cuAngle, 5},
      {8, "Input Link Velocity", shared::cuAngVel, 5},
      {9, "Input Link Acceleration", shared::cuAngAcc, 5},
      {10, "Ratio Out:In", shared::cuNone, 3},
      {11, "Transmission Angle", shared::cuAngle, 3},
  };
  for (const bool xIsTime : {true, false}) {
    AppOptions.XIsTime = xIsTime;
    for (const TCase& c : cases) {
      SCOPED_TRACE(c.Kind);
      list.GraphKind = c.Kind;
      list.DrawGraph();
      EXPECT_EQ(graph.YTitle, c.Title);
      EXPECT_EQ(graph.YUnit, c.Unit);
      EXPECT_EQ(graph.XTitle, xIsTime ? "Time" : "Input Rotation");
      EXPECT_EQ(graph.XUnit, xIsTime ? shared::cuTime : shared::cuAngle);
      EXPECT_EQ(graph.Count, c.Samples);
    }
  }
  EXPECT_EQ(std::string(kGraphCaptions[10]), "Ratio Out:In");
  // Without a current mechanism only the titles are set.
  list.Unselect();
  list.GraphKind = 11;
  list.DrawGraph();
  EXPECT_EQ(graph.YTitle, "Transmission Angle");
  EXPECT_EQ(graph.Count, 0);
}

TEST_F(GraphFixture, SamplesFollowThePathAndTheInputMotion) {
  using TSamples = std::vector<std::pair<double, double>>;
  // Constant velocity over 2 s and 1 rad: input position x is reached at time 2x.
  AppOptions.XIsTime = true;
  list.GraphKind = 1;
  list.DrawGraph();
  const TSamples path = Samples();
  ASSERT_EQ(path.size(), 3u);
  const TSamples expectedPath = {{0, 0}, {1, 0.1}, {2, 0.3}};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_NEAR(path[i].first, expectedPath[i].first, 1e-6) << i;
    EXPECT_NEAR(path[i].second, expectedPath[i].second, 1e-12) << i;
  }
  list.GraphKind = 0;
  list.DrawGraph();
  EXPECT_DOUBLE_EQ(Samples()[2].second, 0.03);

  AppOptions.XIsTime = false;
  list.GraphKind = 11;
  list.DrawGraph();
  const TSamples trans = Samples();
  EXPECT_EQ(trans, (TSamples{{0, 1.0}, {0.5, 2.0}, {1.0, 3.0}}));

  // Four steps of a quarter: positions 0..1 at 0.5 s intervals, velocity 0.5 rad/s.
  list.GraphKind = 7;
  list.DrawGraph();
  const TSamples input = Samples();
  ASSERT_EQ(input.size(), 5u);
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_NEAR(input[i].first, 0.25 * double(i), 1e-12);
    EXPECT_NEAR(input[i].second, 0.25 * double(i), 1e-12);
  }
  AppOptions.XIsTime = true;
  list.GraphKind = 8;
  list.DrawGraph();
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_NEAR(Samples()[i].first, 0.5 * double(i), 1e-12);
    EXPECT_NEAR(Samples()[i].second, 0.5, 1e-12);
  }
}

// Records what the undo was handed and rates the mechanism worse, as a failed optimisation would.
class TUndoRecorder : public TFourbar {
 public:
  TUndoOptimize UndoOptimize(const TSpline* curve, TAreaList* ground, TAreaList* coupler) override {
    Curve = curve;
    Ground = ground;
    Coupler = coupler;
    Error.Total = 100;
    Optimized = false;
    return TUndoOptimize::Rebuilt;
  }
  const TSpline* Curve = nullptr;
  TAreaList* Ground = nullptr;
  TAreaList* Coupler = nullptr;
};

TEST_F(GraphFixture, UndoOptimizeHandsCurveAndAreasAndResorts) {
  list.UndoOptimize(nullptr, nullptr, nullptr);  // no current: nothing
  auto recorder = std::make_unique<TUndoRecorder>();
  recorder->Error.Valid = true;
  recorder->Error.Total = 0.5;
  recorder->Optimized = true;
  TUndoRecorder* undo = recorder.get();
  list.AddCandidate(std::move(recorder));
  list.AddCandidate(Candidate(2));
  list.Select(1);
  ASSERT_EQ(list.Current, undo);
  TSpline curve;
  TAreaList ground, coupler;
  list.GraphKind = 7;
  list.UndoOptimize(&curve, &ground, &coupler);
  EXPECT_EQ(undo->Curve, &curve);
  EXPECT_EQ(undo->Ground, &ground);
  EXPECT_EQ(undo->Coupler, &coupler);
  EXPECT_EQ(list.IndexOf(undo), 3);
  EXPECT_EQ(view.Selected, 2);
  EXPECT_EQ(view.At(2).Image, 16);
  EXPECT_EQ(grid.Cell(0, 0), undo->Name);
  EXPECT_EQ(graph.Count, undo->InputFunction.Steps() + 1);
}

// The record of a list of four-bars with IDs out of order, one marked and one optimised.
std::string FourbarListRecord() {
  TMechanismList list;
  for (const auto& [total, id] : std::vector<std::pair<double, int32_t>>{{1, 3}, {2, 9}, {3, 5}})
    list.AddCandidate(Candidate(total, true, id));
  list.Items(2)->Marked = true;
  list.Items(3)->Optimized = true;
  list.Items(3)->Name = "Fourbar 5";
  std::ostringstream out;
  list.Write(out);
  return out.str();
}

std::vector<std::string> RecordLines(const std::string& text) { return shared::SplitTextLines(text); }

class TProgressLog : public TFileProgress {
 public:
  void SetRange(int32_t maximum, int32_t step) override { Log += "range " + std::to_string(maximum) + "/" + std::to_string(step) + ";"; }
  void StepIt() override { Log += "step;"; }
  std::string Log;
};

// The grid and the graph follow the current solution through every path by which it changes or
// leaves the list: they show the new one, or nothing, and the window hears of each change once.
TEST_F(GraphFixture, GridAndGraphFollowTheCurrentSolution) {
  int changes = 0;
  list.OnCurrentChange = [&] { ++changes; };
  list.GraphKind = 7;  // the input rotation: one sample per step of any solution
  const auto fill = [this](int n) {
    list.Clear();
    for (int i = 1; i <= n; ++i) {
      auto m = Candidate(double(i));
      m->Name = "Solution " + std::to_string(i);
      list.AddCandidate(std::move(m));
    }
  };
  const auto expectShown = [this](const char* name) {
    ASSERT_NE(list.Current, nullptr);
    EXPECT_EQ(list.Current->Name, name);
    EXPECT_EQ(grid.Cell(0, 0), name);
    EXPECT_EQ(grid.Cell(0, 1), "Joint A");
    EXPECT_EQ(graph.Count, list.Current->InputFunction.Steps() + 1);
  };
  const auto expectNothing = [this] {
    EXPECT_EQ(list.Current, nullptr);
    for (const auto& [cell, text] : grid.Cells) EXPECT_EQ(text, "") << cell.first << "," << cell.second;
    EXPECT_EQ(graph.Count, 0);
    EXPECT_EQ(graph.YTitle, "Input Link Rotation");
  };
  struct TCase {
    const char* Name;
    int Held;
    int Select;
    std::function<void()> Change;
    const char* Shown;  // nullptr: nothing is current afterwards
  };
  const std::vector<TCase> cases = {
      {"pushed out of the fifty by a better candidate", 50, 50, [&] { list.AddCandidate(Candidate(0.5)); }, nullptr},
      {"deleted", 3, 2, [&] { list.Delete(2); }, nullptr},
      {"its row deleted: the next one follows", 3, 2,
       [&] {
         view.Selected = 1;
         list.DeleteSelected();
       },
       "Solution 3"},
      {"the only row deleted", 1, 1,
       [&] {
         view.Selected = 0;
         list.DeleteSelected();
       },
       nullptr},
      {"cleared", 3, 2, [&] { list.Clear(); }, nullptr},
      {"unselected", 3, 2, [&] { list.Unselect(); }, nullptr},
      {"another one selected", 3, 2, [&] { list.Select(3); }, "Solution 3"},
      {"a list read: its first one", 3, 3,
       [&] {
         std::istringstream in(FourbarListRecord());
         list.Read(in);
       },
       "Fourbar"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    fill(c.Held);
    list.Select(c.Select);
    expectShown(("Solution " + std::to_string(c.Select)).c_str());
    changes = 0;
    c.Change();
    if (c.Shown)
      expectShown(c.Shown);
    else
      expectNothing();
    EXPECT_GE(changes, 1);
    EXPECT_LE(changes, 2);  // a deleted row's successor follows the dropped one
  }

  // Moves that keep it current leave the views and the window alone.
  fill(50);
  list.Select(49);
  changes = 0;
  list.AddCandidate(Candidate(0.5));  // the current one moves to 50 and stays
  list.AddCandidate(Candidate(60));   // no better than any: freed
  list.Select(50);
  list.Select(0);
  EXPECT_EQ(changes, 0);
  expectShown("Solution 49");
  // The list going away tells nobody.
  {
    TMechanismList gone;
    gone.Grid = &grid;
    gone.Graph = &graph;
    gone.OnCurrentChange = [&] { ++changes; };
    gone.AddCandidate(Candidate(1));
    gone.Select(1);
  }
  EXPECT_EQ(changes, 1);
}

TEST_F(ListFixture, RecordReadsBackToTheSameText) {
  const std::string record = FourbarListRecord();
  const auto lines = RecordLines(record);
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(lines[0], "[MechanismList]");
  EXPECT_EQ(lines[2], "3");
  EXPECT_EQ(lines[3], "0");  // the type on a line of its own
  EXPECT_EQ(record.find('\n'), record.find("\r\n") + 1);

  TProgressLog progress;
  list.Progress = &progress;
  list.NewType = 3;
  std::istringstream in(record);
  list.Read(in);
  EXPECT_EQ(progress.Log, "range 3/1;step;step;step;");
  EXPECT_EQ(Ids(), (std::vector<int32_t>{3, 9, 5}));
  // Generation after opening continues past the highest ID read.
  EXPECT_EQ(list.Generated, 9);
  EXPECT_EQ(list.Current, list.Items(1));
  EXPECT_EQ(list.NewType, 0);
  EXPECT_FALSE(list.IsModified());
  EXPECT_EQ(view.RowCount(), 3);
  EXPECT_EQ(view.Selected, 0);
  EXPECT_EQ(view.At(1).Image, 18);
  EXPECT_EQ(view.At(2).Image, 17);
  EXPECT_EQ(view.At(2).Caption, "Fourbar 5");
  ExpectRowsBound();
  list.AddCandidate(Candidate(0.5));
  EXPECT_EQ(list.Items(1)->ID, 10);

  list.Delete(1);
  std::ostringstream again;
  progress.Log.clear();
  list.Write(again);
  EXPECT_EQ(progress.Log, "range 3/1;step;step;step;");
  EXPECT_FALSE(list.Modified);
  std::istringstream in2(record);
  list.Read(in2);
  std::ostringstream third;
  list.Write(third);
  EXPECT_EQ(third.str(), record);
}

TEST_F(ListFixture, DamagedRecordsAreRefusedAndLeaveAnEmptyList) {
  const std::string record = FourbarListRecord();
  const auto lines = RecordLines(record);
  const std::string listError = "File read error in TMechanismList!";
  const std::string mechError = "File read error in TMechanism!";
  // Line numbers: 0 section, 2 count, 3 the list's type line, 4 the mechanism's own type line.
  ASSERT_EQ(lines[4].rfind("0 ", 0), 0u);
  const size_t second = [&] {
    for (size_t k = 5; k < lines.size(); ++k)
      if (lines[k] == "[Mechanism]") return k - 2;  // the second mechanism's list type line
    return size_t(0);
  }();
  ASSERT_GT(second, 0u);
  ASSERT_EQ(lines[second], "0");

  // A four-bar whose layout is not the four-bar's: one joint more, or a link with another joint.
  auto layoutRecord = [](const std::function<void(TMechanism&)>& damage) {
    TFourbar m;
    damage(m);
    std::ostringstream out;
    TProjectWriter w(out);
    w.Line("[MechanismList]");
    w.Version();
    w.Int(1);
    w.Int(0);
    m.Write(out);
    return out.str();
  };

  struct TCase {
    std::string Name;
    std::string Text;
    std::string Error;
  };
  auto replaced = [&](size_t k, const std::string& line) {
    auto copy = lines;
    copy[k] = line;
    return vesktest::Lines(copy);
  };
  const std::vector<TCase> cases = {
      {"wrong first line", replaced(0, "[Mechanisms]"), listError},
      {"51 mechanisms", replaced(2, "51"), listError},
      {"a negative count", replaced(2, "-1"), listError},
      {"type 9 does not exist", replaced(3, "9"), mechError},
      {"a chain type the record does not hold", replaced(3, "1"), mechError},
      {"the record's own type line disagrees", replaced(4, "5 Mechanism Type"), mechError},
      {"the second record disagrees", replaced(second, "3"), mechError},
      {"a sixth joint", layoutRecord([](TMechanism& m) { m.Joints.Add(std::make_unique<TJoint>(1, 1)); }), mechError},
      {"a link with a third joint",
       layoutRecord([](TMechanism& m) { m.Links.GetLink(1)->AddJoint(m.Joints.GetJoint(5)); }), mechError},
      {"a link fewer", layoutRecord([](TMechanism& m) { m.Links.Delete(4); }), mechError},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    std::istringstream good(record);
    list.Read(good);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(vesktest::ReadError(c.Text, [&](std::istream& in) { list.Read(in); }), c.Error);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Current, nullptr);
    EXPECT_EQ(list.Generated, 0);
    EXPECT_EQ(list.NewType, 0);
    EXPECT_EQ(view.RowCount(), 0);
  }
  // Cut anywhere, the record is refused with a read error.
  for (size_t cut = 0; cut < lines.size(); ++cut) {
    const std::vector<std::string> head(lines.begin(), lines.begin() + cut);
    EXPECT_EQ(vesktest::ReadError(vesktest::Lines(head), [&](std::istream& in) { list.Read(in); }).rfind("File read error in ", 0), 0u)
        << cut;
    EXPECT_EQ(list.Count(), 0);
  }
}

// Type 4 is the four-bar's second number: a record of it, on the list's type line, the
// mechanism's own or both, reads as a four-bar and writes back as it was.
TEST_F(ListFixture, TypeFourRecordsReadAsFourBars) {
  const std::string record = FourbarListRecord();
  const auto lines = RecordLines(record);
  ASSERT_EQ(lines[3], "0");
  ASSERT_EQ(lines[4].rfind("0 ", 0), 0u);
  const std::string own = "4" + lines[4].substr(1);
  struct TCase {
    const char* Name;
    bool List, Own;
  };
  for (const TCase c : {TCase{"list line", true, false}, TCase{"own line", false, true}, TCase{"both", true, true}}) {
    SCOPED_TRACE(c.Name);
    auto copy = lines;
    if (c.List) copy[3] = "4";
    if (c.Own) copy[4] = own;
    const std::string text = vesktest::Lines(copy);
    std::istringstream in(text);
    list.Read(in);
    ASSERT_EQ(list.Count(), 3);
    TMechanism& first = *list.Items(1);
    EXPECT_NE(dynamic_cast<TFourbar*>(&first), nullptr);
    EXPECT_EQ(first.MechanismType, c.Own ? 4 : 0);
    EXPECT_EQ(first.GetImageIndex(), 16);
    // It steps as the four-bar it is.
    std::unique_ptr<TMechanism> stepped = first.Clone();
    EXPECT_NE(dynamic_cast<TFourbar*>(stepped.get()), nullptr);
    EXPECT_TRUE(stepped->StepInput(0.01));
    EXPECT_NE(stepped->Joints.GetJoint(2)->X, first.Joints.GetJoint(2)->X);
    std::ostringstream out;
    list.Write(out);
    // The type read is the type written, on both lines.
    auto expected = lines;
    if (c.Own) {
      expected[3] = "4";
      expected[4] = own;
    }
    EXPECT_EQ(out.str(), vesktest::Lines(expected));
  }
}

TEST(MechanismFactory, LayoutsOfTheTypes) {
  CreateDefaultInputFunction();
  // The four-bar made by the factory fits its own layout; the layouts' link joints lie in range.
  auto fourbar = NewMechanism(kFourbarType);
  EXPECT_EQ(fourbar->MechanismType, kFourbarType);
  EXPECT_EQ(fourbar->Name, "Fourbar");
  EXPECT_TRUE(HasTypeLayout(*fourbar));
  EXPECT_EQ(NewMechanism(4)->MechanismType, kFourbarType);
  EXPECT_EQ(MechanismLayout(4)->Links, MechanismLayout(kFourbarType)->Links);
  EXPECT_EQ(NewMechanism(12)->Name, "Four bar*");
  for (int type = 0; type < 256; ++type) {
    const TMechanismLayout* layout = MechanismLayout(uint8_t(type));
    const bool stored = type <= 8;
    ASSERT_EQ(layout != nullptr, stored) << type;
    if (!layout) continue;
    // Every joint of the layout is on a link, none twice on one.
    std::vector<int> used(size_t(layout->JointCount + 1), 0);
    for (const auto& link : layout->Links) {
      std::set<int32_t> seen(link.begin(), link.end());
      EXPECT_EQ(seen.size(), link.size()) << type;
      for (int32_t j : link) {
        ASSERT_GE(j, 1);
        ASSERT_LE(j, layout->JointCount);
        ++used[size_t(j)];
      }
    }
    for (int32_t j = 1; j <= layout->JointCount; ++j) EXPECT_GT(used[size_t(j)], 0) << type << " joint " << j;
  }
  // Every type the factory makes has its own number and fits the layout the reader checks.
  for (const uint8_t type : {kWatt1Type, kWatt2Type, kStephenson1Type, kStephenson3Type}) {
    auto made = NewMechanism(type);
    EXPECT_EQ(made->MechanismType, type);
    EXPECT_TRUE(HasTypeLayout(*made)) << int(type);
  }
}

}  // namespace
}  // namespace vesk
