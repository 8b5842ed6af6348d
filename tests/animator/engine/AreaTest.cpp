// TArea and TAreaList: letters, inside and edge tests with their handles, dragging, list
// editing and the "Areas" section.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "FixtureText.h"
#include "RecordingCanvas.h"
#include "animator/engine/Area.h"
#include "shared/Convert.h"

using quillon::TArea;
using quillon::TAreaList;
using shared::TComplex;
using shared::TTabLines;

namespace {

TArea Rect(double x1, double y1, double x2, double y2, const std::string& letters = "") {
  TArea a;
  a.MinCorner.SetXY(x1, y1);
  a.MaxCorner.SetXY(x2, y2);
  a.SetLetters(letters);
  return a;
}

struct HoldsCase {
  double x, y;
  char letter;
  bool inside;
};

class AreaHoldsTest : public testing::TestWithParam<HoldsCase> {};

TEST_P(AreaHoldsTest, EdgesAreInsideAndLettersRestrict) {
  const auto& c = GetParam();
  // Drawn from (1, 1) to (0, 0): Holds orders the corners first.
  TArea all = Rect(1, 1, 0, 0);
  TArea bc = Rect(1, 1, 0, 0, " bc ");
  const TComplex p(c.x, c.y);
  EXPECT_EQ(all.Holds(p, c.letter), c.inside) << c.x << ", " << c.y;
  const bool applies = c.letter == 'B' || c.letter == 'C';
  EXPECT_EQ(bc.Holds(p, c.letter), c.inside && applies) << c.x << ", " << c.y << " " << c.letter;
}

INSTANTIATE_TEST_SUITE_P(Points, AreaHoldsTest,
                         testing::Values(HoldsCase{0.5, 0.5, 'A', true}, HoldsCase{0.5, 0.5, 'B', true},
                                         HoldsCase{0.5, 0.5, 'C', true}, HoldsCase{0, 0.3, 'B', true},
                                         HoldsCase{1, 1, 'C', true}, HoldsCase{0.5, 0, 'D', true},
                                         HoldsCase{1.0001, 0.5, 'B', false},
                                         HoldsCase{0.5, -0.0001, 'A', false}));

TEST(AreaTest, LettersAreTrimmedAndUpperCased) {
  TArea a = Rect(0, 0, 1, 1, " bc ");
  EXPECT_EQ(a.Letters, "BC");
  a.Id = 2;
  EXPECT_EQ(a.LabelText(), "2 BC");
  EXPECT_EQ(a.IncludeText(), "BC");
  a.SetLetters("  \t");
  EXPECT_EQ(a.Letters, "");
  a.Id = 0;
  EXPECT_EQ(a.LabelText(), "0 All");
  EXPECT_EQ(a.IncludeText(), "All");
}

struct EdgeCase {
  double x, y;
  bool hit;
  int32_t handle;
};

class AreaEdgeTest : public testing::TestWithParam<EdgeCase> {};

TEST_P(AreaEdgeTest, HitsTheToleranceBandAndNamesTheCorner) {
  const auto& c = GetParam();
  TArea a = Rect(2, 1, 0, 0);
  a.Handle = 99;
  EXPECT_EQ(a.HitEdge(TComplex(c.x, c.y), 0.1), c.hit) << c.x << ", " << c.y;
  EXPECT_EQ(a.Handle, c.handle) << c.x << ", " << c.y;
}

INSTANTIATE_TEST_SUITE_P(Points, AreaEdgeTest,
                         testing::Values(EdgeCase{1, 0.05, true, 0},     // bottom edge, inside the band
                                         EdgeCase{1, -0.1, true, 0},     // bottom edge, band bound included
                                         EdgeCase{2.05, 0.5, true, 0},   // right edge from outside
                                         EdgeCase{1, 0.5, false, 0},     // inside, away from the edges
                                         EdgeCase{2.2, 0.5, false, 0},   // beyond the band
                                         EdgeCase{0.05, 0.05, true, 1},  // (min x, min y)
                                         EdgeCase{0.05, 0.95, true, 2},  // (min x, max y)
                                         EdgeCase{1.95, 0.95, true, 3},  // (max x, max y)
                                         EdgeCase{1.95, 0.05, true, 4},  // (max x, min y)
                                         EdgeCase{2.05, 1.05, false, 3}
                                         // beside the corner, outside both ranges
                                         ));

TEST(AreaTest, DragMovesWhatTheHandleNames) {
  TArea a = Rect(0, 0, 2, 1);
  ASSERT_TRUE(a.HitTestSelect(TComplex(1.95, 0.98), false, 0.1));
  EXPECT_TRUE(a.Selected);
  EXPECT_EQ(a.Handle, TArea::kMaxXMaxY);
  a.Drag(0.5, 0.25);
  EXPECT_EQ(a.MinCorner.X, 0);
  EXPECT_EQ(a.MinCorner.Y, 0);
  EXPECT_EQ(a.MaxCorner.X, 2.5);
  EXPECT_EQ(a.MaxCorner.Y, 1.25);
  EXPECT_TRUE(a.Modified);

  struct {
    int32_t handle;
    double minX, minY, maxX, maxY;
  } cases[] = {{0, 1, 1, 3, 2}, {1, 1, 1, 2, 1}, {2, 1, 0, 2, 2}, {4, 0, 1, 3, 1}};
  for (const auto& c : cases) {
    TArea b = Rect(0, 0, 2, 1);
    b.Handle = c.handle;
    b.Drag(1, 1);
    EXPECT_EQ(b.MinCorner.X, c.minX) << c.handle;
    EXPECT_EQ(b.MinCorner.Y, c.minY) << c.handle;
    EXPECT_EQ(b.MaxCorner.X, c.maxX) << c.handle;
    EXPECT_EQ(b.MaxCorner.Y, c.maxY) << c.handle;
  }
  TArea other = Rect(0, 0, 2, 1);
  other.Handle = 5;
  other.Drag(1, 1);
  EXPECT_EQ(other.MaxCorner.X, 2);
  EXPECT_FALSE(other.Modified);
}

TEST(AreaTest, HitTestSelectKeepsSelectionWhenExtending) {
  TArea a = Rect(0, 0, 1, 1);
  a.Selected = true;
  EXPECT_FALSE(a.HitTestSelect(TComplex(5, 5), true, 0.1));
  EXPECT_TRUE(a.Selected);
  EXPECT_FALSE(a.HitTestSelect(TComplex(5, 5), false, 0.1));
  EXPECT_FALSE(a.Selected);
}

TEST(AreaListTest, OverlappingAreasFirstHitLastHolding) {
  TAreaList list;
  list.AddArea(TComplex(0, 0), TComplex(2, 2));
  list.AddArea(TComplex(1, 0), TComplex(3, 2));
  EXPECT_EQ(list.Item(1).Handle, TArea::kMaxXMaxY) << "the drawing mouse keeps the second corner";
  EXPECT_EQ(list.LastSelected(), 1);
  EXPECT_FALSE(list.Item(0).Selected);
  EXPECT_EQ(list.Item(1).Id, 1);

  // (1.5, 0) lies on the bottom edge of both.
  EXPECT_TRUE(list.HitTest(TComplex(1.5, 0), false, 0.1));
  EXPECT_TRUE(list.Item(0).Selected);
  EXPECT_FALSE(list.Item(1).Selected);
  EXPECT_EQ(list.IndexHolding(TComplex(1.5, 1), 'A'), 1);
  EXPECT_EQ(list.IndexHolding(TComplex(0.5, 1), 'A'), 0);
  EXPECT_EQ(list.IndexHolding(TComplex(5, 1), 'A'), -1);

  // Inside away from the edges is no hit and, without extend, deselects.
  EXPECT_FALSE(list.HitTest(TComplex(1.5, 1), false, 0.1));
  EXPECT_EQ(list.LastSelected(), -1);
}

TEST(AreaListTest, EditingRenumbersAndHiddenListIgnoresIt) {
  TAreaList list;
  list.AddArea(TComplex(0, 0), TComplex(1, 1));
  list.AddArea(TComplex(4, 4), TComplex(4, 6));  // a click without movement in x
  list.AddArea(TComplex(2, 2), TComplex(3, 3));
  list.RemoveDegenerate();
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Item(1).MinCorner.X, 2);
  EXPECT_EQ(list.Item(1).Id, 1);

  list.Item(1).Handle = TArea::kWholeArea;
  list.MoveSelected(1, 0);
  EXPECT_EQ(list.Item(1).MinCorner.X, 3);
  EXPECT_EQ(list.Item(0).MinCorner.X, 0) << "only selected areas move";

  TComplex min(0.5, 0.5), max(0.5, 0.5);
  list.GetExtents(min, max);
  EXPECT_EQ(min.X, 0);
  EXPECT_EQ(max.X, 4);
  EXPECT_EQ(max.Y, 3);

  list.Visible = false;
  list.AddArea(TComplex(0, 0), TComplex(9, 9));
  list.MoveSelected(1, 0);
  list.DeleteSelected();
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Item(1).MinCorner.X, 3);
  EXPECT_FALSE(list.HitTest(TComplex(0, 0.5), true, 0.1));
  EXPECT_EQ(list.LastSelected(), -1);

  list.Visible = true;
  list.Item(0).Selected = true;
  list.DeleteSelected();
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Item(0).Id, 0);
  list.Delete(3);
  EXPECT_EQ(list.Count(), 1);
}

TEST(AreaListTest, ModifiedCoversTheAreas) {
  TAreaList list;
  list.NewArea();
  EXPECT_TRUE(list.IsModified());
  list.SetModified(false);
  EXPECT_FALSE(list.IsModified());
  list.Item(0).Drag(1, 1);
  EXPECT_TRUE(list.IsModified());
  list.SetModified(false);
  EXPECT_FALSE(list.Item(0).Modified);
}

TEST(AreaRecordTest, EmptyListWritesNothingAndMissingSectionReadsEmpty) {
  TTabLines lines;
  TAreaList list;
  list.WriteTabLines(lines);
  EXPECT_TRUE(lines.Lines.empty());
  lines.Lines = {"[Curve>", "1\t2", "<Curve]"};
  list.NewArea();
  list.Visible = false;
  list.ReadTabLines(lines);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_TRUE(list.Visible);
}

using enginetest::ReadFixture;

TEST(AreaRecordTest, WrittenAreasRoundTripByteForByte) {
  const std::string fixture = ReadFixture("areas.txt");
  ASSERT_FALSE(fixture.empty());
  TAreaList list;
  list.AddArea(TComplex(-0.0123, 0.0456), TComplex(0.0789, 0.101));
  list.AddArea(TComplex(0.5, -0.25), TComplex(0.75, 0));
  list.Item(1).SetLetters(" ad ");
  TTabLines written;
  list.WriteTabLines(written);
  EXPECT_EQ(written.Text(), fixture) << "the writer's layout changed";

  TTabLines lines;
  std::istringstream in(fixture);
  lines.LoadFromStream(in);
  TAreaList read;
  read.ReadTabLines(lines);
  ASSERT_EQ(read.Count(), 2);
  EXPECT_EQ(read.Item(1).Letters, "AD");
  EXPECT_EQ(read.Item(0).Letters, "");
  EXPECT_EQ(read.Item(1).Id, 1);
  EXPECT_EQ(read.LastSelected(), -1);
  EXPECT_FALSE(read.Item(1).Modified);
  TTabLines again;
  read.WriteTabLines(again);
  EXPECT_EQ(again.Text(), fixture);
}

// A full list read over one that held a selected area: every area numbered in order and none
// selected, so the next one drawn is the only selection.
TEST(AreaRecordTest, ManyAreasReadNumberedAndUnselected) {
  TTabLines lines;
  lines.Lines = {"[Areas>"};
  const int32_t records = TAreaList::kMaxAreas + 5;
  for (int32_t k = 0; k < records; ++k) lines.Lines.push_back(std::to_string(k) + "\t0\t" + std::to_string(k + 1) + "\t2\tA");
  lines.Lines.push_back("<Areas]");
  TAreaList list;
  list.AddArea(TComplex(0, 0), TComplex(1, 1));
  ASSERT_EQ(list.LastSelected(), 0);
  list.SetModified(false);
  list.ReadTabLines(lines);
  ASSERT_EQ(list.Count(), TAreaList::kMaxAreas);
  EXPECT_TRUE(list.IsModified());
  EXPECT_EQ(list.LastSelected(), -1);
  for (int32_t k = 0; k < list.Count(); ++k) {
    const TArea& area = list.Item(k);
    ASSERT_EQ(area.Id, k);
    ASSERT_FALSE(area.Selected) << k;
    ASSERT_FALSE(area.Modified) << k;
    ASSERT_EQ(area.MinCorner.X, k);
    ASSERT_EQ(area.MaxCorner.X, k + 1);
  }
  list.AddArea(TComplex(5, 5), TComplex(6, 6));
  EXPECT_EQ(list.Item(TAreaList::kMaxAreas).Id, TAreaList::kMaxAreas);
  EXPECT_EQ(list.LastSelected(), TAreaList::kMaxAreas);
  EXPECT_FALSE(list.Item(TAreaList::kMaxAreas - 1).Selected);
}

TEST(AreaRecordTest, HandWrittenLettersAreNormalised) {
  TTabLines lines;
  lines.Lines = {"[areas>", "0\t0\t1\t1\t bc ", "2\t0", "<AREAS]"};
  TAreaList list;
  list.ReadTabLines(lines);
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Item(0).Letters, "BC");
  EXPECT_TRUE(list.Item(0).Holds(TComplex(1, 1), 'C'));
  EXPECT_FALSE(list.Item(0).Holds(TComplex(1, 1), 'A'));
  // A short record: the missing corner reads as (0, 0), the area spans (0, 0)..(2, 0).
  EXPECT_EQ(list.Item(1).MinCorner.X, 2);
  EXPECT_EQ(list.Item(1).MaxCorner.X, 0);
  EXPECT_EQ(list.Item(1).Width(), 2);
  EXPECT_TRUE(list.Item(1).IsEmpty());
}

}  // namespace

namespace {

struct AreaDrawTest : testing::Test, enginetest::TRecordingView {};

TEST_F(AreaDrawTest, DottedOutlineCornerMarkersAndLabelWhenSelected) {
  TAreaList list;
  list.AddArea(TComplex(0.2, 0.1), TComplex(0, 0));  // drawn from its upper right corner
  box.Screen.Log.clear();
  list.Draw(canvas);
  const auto& s = box.Screen;
  EXPECT_TRUE(s.Logged({"Brush F0F0F0 1", "Pen FF00 1 2", "M 250,125", "L 200,125", "L 200,150", "L 250,150",
                        "L 250,125", "Pen FF00 1 0", "M 248,123", "L 252,123", "L 252,127", "L 248,127",
                        "L 248,123", "Text 205,130 0 All"}));
  EXPECT_EQ(s.CountOf("M "), 5) << "the outline and four corner markers";

  list.DeselectAll();
  box.Screen.Log.clear();
  list.Draw(canvas);
  EXPECT_TRUE(s.Logged({"Pen 808000 1 2", "M 250,125", "Pen 808000 1 0"}));
  EXPECT_EQ(s.CountOf("Text"), 0);

  box.Screen.Log.clear();
  list.Visible = false;
  list.Draw(canvas);
  EXPECT_TRUE(s.Log.empty());
}

TEST(AreaReportTest, NormalisedCornersInDisplayUnits) {
  shared::CreateConvert();
  const shared::TConvert& convert = shared::Convert();
  TAreaList list;
  list.AddArea(TComplex(1, 1), TComplex(0, 0));
  list.AddArea(TComplex(0, 0), TComplex(0.003, 0.004));
  list.Item(1).SetLetters("ab");
  std::ostringstream cartesian, polar;
  list.WriteHTML(cartesian, false);
  list.WriteHTML(polar, true);
  const std::string mm = convert.UnitLabel(shared::cuLength), deg = convert.UnitLabel(shared::cuAngle);
  auto cell = [&](int category, double v) {
    return "        <td>" + convert.FormatSI(category, v) + "</td>\r\n";
  };
  const int len = shared::cuLength, ang = shared::cuAngle;
  const std::string head =
      "<table border=\"1\" bordercolor=\"#000000\" width=\"100%\">\r\n"
      "    <tr><td colspan=\"6\" bgcolor=\"#FFFFCC\" width=\"100%\"><font face=\"Arial\" "
      "size=\"4\">Areas</font></td></tr>\r\n"
      "    <tr>\r\n"
      "        <td width=\"5%\">Nr.</td>\r\n";
  const std::string tail = "        <td width=\"15%\">Include</td>\r\n    </tr>\r\n";
  EXPECT_EQ(cartesian.str(),
            head + "        <td width=\"20%\">Min. x " + mm + "</td>\r\n" +
                "        <td width=\"20%\">Min. y " + mm + "</td>\r\n" + "        <td width=\"20%\">Max. x " +
                mm + "</td>\r\n" + "        <td width=\"20%\">Max. y " + mm + "</td>\r\n" + tail +
                "    <tr>\r\n        <td>1</td>\r\n" + cell(len, 0) + cell(len, 0) + cell(len, 1) +
                cell(len, 1) + "        <td>All</td>\r\n    </tr>\r\n" +
                "    <tr>\r\n        <td>2</td>\r\n" + cell(len, 0) + cell(len, 0) + cell(len, 0.003) +
                cell(len, 0.004) + "        <td>AB</td>\r\n    </tr>\r\n</table>\r\n<p></p>\r\n");
  EXPECT_NE(
      polar.str().find("<td width=\"20%\">Min. R " + mm + "</td>\r\n        <td width=\"20%\">Min. Angle " +
                       deg + "</td>\r\n        <td width=\"20%\">Max. R " + mm +
                       "</td>\r\n        <td width=\"20%\">Max. Angle " + deg + "</td>"),
      std::string::npos);
  EXPECT_NE(polar.str().find("        <td>2</td>\r\n" + cell(len, 0) + cell(ang, 0) + cell(len, 0.005) +
                             cell(ang, std::atan2(0.004, 0.003)) + "        <td>AB</td>"),
            std::string::npos);
  shared::FreeConvert();
}

}  // namespace
