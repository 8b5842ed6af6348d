// The mechanism's property tables: the properties grid, the HTML report's property and path point
// tables and the spreadsheet block, on a parallelogram four-bar whose coupler BCE carries the
// tracer (its centre relative to the frame lies at infinity), turned by 60 degrees over two steps,
// in mm and degrees.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "animator/engine/AniMechanism.h"
#include "animator/engine/PropertyGrid.h"
#include "shared/Convert.h"
#include "shared/TextLine.h"
#include "shared/Workbook.h"

namespace quillon {
namespace {

using Row = std::vector<std::string>;

class PropertyReportTest : public ::testing::Test {
 protected:
  // Metric engineering: mm, degrees, seconds, three decimals.
  void SetUp() override {
    shared::CreateConvert();
    m.NewMechanism(8);
    m.SetPositionCount(2);
    m.AddJoint('A', false, 0, 0, false, false);
    m.AddJoint('B', false, 0, 0.05, false, false);
    m.AddJoint('C', false, 0.1, 0.05, false, false);
    m.AddJoint('D', false, 0.1, 0, false, false);
    m.AddJoint('E', true, 0.05, 0.08, true, true);
    m.AddInput('A');
    // Short of the folded pose, where the solver would go on as an anti-parallelogram.
    m.Input(0).Clear();
    m.Input(0).AddSection(kLawConstantVelocity, 1, std::numbers::pi / 3);
    m.AddLink("AD", "PP", false, true);
    m.AddLink("AB", "PP", false, false);
    m.AddLink("BCE", "PPP", false, true);
    m.AddLink("CD", "PP", false, false);
    m.AddDyad("BCE", "CD");
    m.RebuildTopology();
    m.SetTracer(m.FindJoint('E'));
    m.Calculate();
  }
  void TearDown() override { shared::FreeConvert(); }

  Row GridRow(const TPropertyGrid& grid, int32_t r) { return {grid.Cell(0, r), grid.Cell(1, r), grid.Cell(2, r)}; }
  void MarkInvalid(char letter) { m.Joints[m.FindJoint(letter)]->Positions[0].Invalid = 1; }

  TAniMechanism m;
};

TEST_F(PropertyReportTest, GridListsJointsLinkPairsAndInputsInEitherMode) {
  MarkInvalid('E');
  const std::vector<Row> cartesian = {
      {"Properties", "x [mm]", "y [mm]"},
      {"Joint A", "0.000", "0.000"},
      {"Joint B", "0.000", "50.000"},
      {"Joint C", "100.000", "50.000"},
      {"Joint D", "100.000", "0.000"},
      {"Joint E", "", ""},
      {"Links", "Joints", "Length [mm]"},
      {"Link AD", "AD", "100.000"},
      {"Link AB", "AB", "50.000"},
      {"Link BCE", "BC", "100.000"},
      {"Link BCE", "BE", ""},
      {"Link BCE", "CE", ""},
      {"Link CD", "CD", "50.000"},
      {"", "", ""},
      {"Input A", "", ""},
      {"Function", "Time [s]", "Disp. [\xB0]"},
      {"Constant Velocity", "1.000", "60.000"},
  };
  TPropertyGrid grid;
  m.FillPropertiesGrid(&grid, false);
  EXPECT_EQ(grid.ColCount(), 3);
  // N + 2 = 4 rows would cut the table short.
  ASSERT_EQ(grid.RowCount(), static_cast<int32_t>(cartesian.size()));
  for (int32_t r = 0; r < grid.RowCount(); ++r) EXPECT_EQ(GridRow(grid, r), cartesian[r]) << "row " << r;
  EXPECT_EQ(m.LastPropertyRow, 12);

  // B = 50 mm at 90 degrees, C = (100, 50) mm at atan(1/2).
  m.FillPropertiesGrid(&grid, true);
  EXPECT_EQ(GridRow(grid, 0), (Row{"Properties", "R [mm]", "Angle [\xB0]"}));
  EXPECT_EQ(GridRow(grid, 2), (Row{"Joint B", "50.000", "90.000"}));
  const std::string r = shared::Convert().FormatFixed(std::hypot(100, 50), 7, 3);
  const std::string angle = shared::Convert().FormatFixed(std::atan(0.5) * 180 / std::numbers::pi, 7, 3);
  EXPECT_EQ(GridRow(grid, 3), (Row{"Joint C", r, angle}));
  EXPECT_EQ(r, "111.803");
  EXPECT_EQ(GridRow(grid, 9), cartesian[9]) << "lengths do not depend on the mode";

  EXPECT_NO_THROW(m.FillPropertiesGrid(nullptr, false));
}

TEST_F(PropertyReportTest, GridRefillLeavesNothingOfAnEarlierFill) {
  // A grid that showed a larger mechanism, and E's values, before E's position became invalid.
  TPropertyGrid grid(3, 40);
  for (int32_t r = 0; r < 40; ++r)
    for (int32_t c = 0; c < 3; ++c) grid.SetCell(c, r, "old");
  m.FillPropertiesGrid(&grid, false);
  ASSERT_EQ(grid.Cell(1, 5), "50.000");
  MarkInvalid('E');
  m.SetPositionCount(30);
  m.FillPropertiesGrid(&grid, false);
  EXPECT_EQ(grid.RowCount(), 32);
  EXPECT_EQ(GridRow(grid, 5), (Row{"Joint E", "", ""}));
  for (int32_t r = 17; r < 32; ++r) EXPECT_EQ(GridRow(grid, r), (Row{"", "", ""})) << "row " << r;
  EXPECT_EQ(GridRow(grid, 13), (Row{"", "", ""}));
}

TEST_F(PropertyReportTest, PropertiesHtmlLineByLine) {
  MarkInvalid('E');
  std::ostringstream html;
  m.WritePropertiesHTML(html, false);
  const std::vector<std::string> lines = shared::SplitTextLines(html.str());
  const std::vector<std::string> expected = {
      "<table border=\"2\" bordercolor=\"#000000\" width=\"100%\">",
      "<tr><td colspan=\"3\" bgcolor=\"#FFFFCC\" width=\"100%\"><font face=\"Arial\" size=\"4\">Mechanism "
      "Properties</font></td></tr>",
      "    <tr><td width=\"20%\">Joints</td>",
      "<td width=\"40%\">x [mm]</td>",
      "<td width=\"40%\">y [mm]</td></tr>",
      "    <tr><td>A</td>", "<td>0.000</td>", "<td>0.000</td></tr>",
      "    <tr><td>B</td>", "<td>0.000</td>", "<td>50.000</td></tr>",
      "    <tr><td>C</td>", "<td>100.000</td>", "<td>50.000</td></tr>",
      "    <tr><td>D</td>", "<td>100.000</td>", "<td>0.000</td></tr>",
      "    <tr><td>E</td>", "<td>50.000</td>", "<td>80.000</td></tr>",
      "<tr><td>Links</td>", "<td>Joints</td>", "<td>Length [mm]</td></tr>",
      "<tr><td>Link AD</td>", "<td>AD</td>", "<td>100.000</td></tr>",
      "<tr><td>Link AB</td>", "<td>AB</td>", "<td>50.000</td></tr>",
      "<tr><td>Link BCE</td>", "<td>BC</td>", "<td>100.000</td></tr>",
      "<tr><td>Link BCE</td>", "<td>BE</td>", "<td>-</td></tr>",
      "<tr><td>Link BCE</td>", "<td>CE</td>", "<td>-</td></tr>",
      "<tr><td>Link CD</td>", "<td>CD</td>", "<td>50.000</td></tr>",
      "</table>", "<p></p>",
  };
  ASSERT_GT(lines.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(lines[i], expected[i]) << "line " << i;
  // Then the input function's own table, and every line ends in CR LF.
  std::ostringstream input;
  m.Input(0).WriteHTML(input);
  EXPECT_EQ(html.str().substr(html.str().size() - input.str().size()), input.str());
  EXPECT_EQ(html.str().find("\r\n<td>") + 1, html.str().find("\n<td>"));

  std::ostringstream polar;
  m.WritePropertiesHTML(polar, true);
  const std::vector<std::string> p = shared::SplitTextLines(polar.str());
  EXPECT_EQ(p[0], "<p>Polar Coordinates</p>");
  EXPECT_EQ(p[1], expected[0]);
  EXPECT_EQ(p[4], "<td width=\"40%\">R [mm]</td>");
  EXPECT_EQ(p[5], "<td width=\"40%\">Angle [\xB0]</td></tr>");
  EXPECT_EQ(p[10], "<td>50.000</td>");
  EXPECT_EQ(p[11], "<td>90.000</td></tr>");
}

TEST_F(PropertyReportTest, PathPointsFollowTheTracerAndMarkWhatLiesAtInfinity) {
  // The coupler of a parallelogram translates: E moves as B does, at 0, 30 and 60 degrees about A,
  // half a second apart.
  const auto e = [](int k) {
    const double t = std::numbers::pi / 6 * k;
    return std::vector<double>{0.05 - 0.05 * std::sin(t), 0.08 + 0.05 * std::cos(t) - 0.05};
  };
  ASSERT_EQ(m.Len, 2);
  // A marked record of the tracer.
  m.Tracer->Acceleration[2].Invalid = 1;
  std::ostringstream html;
  m.WritePathPointsHTML(html, false);
  const std::vector<std::string> lines = shared::SplitTextLines(html.str());
  const std::vector<std::string> head = {
      "<table border=\"2\" bordercolor=\"#000000\" width=\"100%\">",
      "<tr><td colspan=\"11\" bgcolor=\"#FFFFCC\"><font face=\"Arial\" size=\"4\">Path points</font></td></tr>",
      "<tr>",
      "<td width=\"5%\">Nr.</td>",
      "<td width=\"5%\">Time[s]</td>",
      "<td width=\"10%\">Input Rotation[\xB0]</td>",
      "<td width=\"10%\">Path x [mm]</td>",
      "<td width=\"10%\">Path y [mm]</td>",
      "<td width=\"10%\">Vel. x [mm/s]</td>",
      "<td width=\"10%\">Vel. y [mm/s]</td>",
      "<td width=\"10%\">Acc. x [mm/s\xB2]</td>",
      "<td width=\"10%\">Acc. y [mm/s\xB2]</td>",
      "<td width=\"10%\">IC x [mm]</td>",
      "<td width=\"10%\">IC y [mm]</td>",
      "</tr>",
  };
  // Head, three steps of 13 lines, and the closing two.
  ASSERT_EQ(lines.size(), head.size() + 3 * 13 + 2);
  for (size_t i = 0; i < head.size(); ++i) EXPECT_EQ(lines[i], head[i]) << "line " << i;
  const auto step = [&](int k) { return std::vector<std::string>(lines.begin() + 15 + 13 * k, lines.begin() + 28 + 13 * k); };
  const shared::TConvert& c = shared::Convert();
  const auto mm = [&](double metres) { return "<td>" + c.FormatFixed(metres * 1000, 7, 3) + "</td>"; };
  const std::vector<std::string> s1 = step(1);
  EXPECT_EQ(s1[0], "<tr>");
  EXPECT_EQ(s1[1], "<td>1</td>");
  EXPECT_EQ(s1[2], "<td>0.500</td>");
  EXPECT_EQ(s1[3], "<td>30.000</td>");
  EXPECT_EQ(s1[4], mm(e(1)[0]));
  EXPECT_EQ(s1[5], mm(e(1)[1]));
  // Central difference over the step's neighbours, dt = 1/2 s.
  EXPECT_EQ(s1[6], mm(e(2)[0] - e(0)[0]));
  EXPECT_EQ(s1[7], mm(e(2)[1] - e(0)[1]));
  EXPECT_EQ(s1[10], "<td>infinity</td>") << "the coupler's centre relative to the frame";
  EXPECT_EQ(s1[11], "<td>infinity</td>");
  EXPECT_EQ(s1[12], "</tr>");
  const std::vector<std::string> s2 = step(2);
  EXPECT_EQ(s2[8], "<td>infinity</td>");
  EXPECT_EQ(s2[9], "<td>infinity</td>");
  EXPECT_NE(step(1)[8], "<td>infinity</td>");
  EXPECT_EQ(lines[lines.size() - 2], "</table>");
  EXPECT_EQ(lines.back(), "<p></p>");

  std::ostringstream polar;
  m.WritePathPointsHTML(polar, true);
  const std::vector<std::string> p = shared::SplitTextLines(polar.str());
  EXPECT_EQ(p[6], "<td width=\"10%\">Path R [mm]</td>");
  EXPECT_EQ(p[7], "<td width=\"10%\">Path Angle [\xB0]</td>");
  EXPECT_EQ(p[8], "<td width=\"10%\">Vel. [mm/s]</td>");
  EXPECT_EQ(p[9], "<td width=\"10%\">Angle [\xB0]</td>");
  EXPECT_EQ(p[13], "<td width=\"10%\">IC Angle [\xB0]</td>");
  // Step 0: E at (50, 80) mm.
  EXPECT_EQ(p[19], mm(std::hypot(0.05, 0.08)));
  EXPECT_EQ(p[20], "<td>" + c.FormatFixed(std::atan2(0.08, 0.05) * 180 / std::numbers::pi, 7, 3) + "</td>");

  m.Tracer = nullptr;
  std::ostringstream none;
  m.WritePathPointsHTML(none, false);
  EXPECT_EQ(none.str(), "");
}

TEST_F(PropertyReportTest, SheetBlockHoldsTextsAndNumbersInDisplayUnits) {
  MarkInvalid('E');
  m.PresetName = "Parallelogram";
  shared::TWorksheet sheet("Properties");
  int32_t row = 3;
  m.ExportToVariant(row, sheet, true);
  const auto text = [&](int r, int col) {
    const shared::TCell* cell = sheet.Cell(r, col);
    return cell && cell->Kind == shared::ECellKind::Text ? cell->Text : std::string("<none>");
  };
  const auto number = [&](int r, int col) {
    const shared::TCell* cell = sheet.Cell(r, col);
    return cell && cell->Kind == shared::ECellKind::Number ? cell->Number : -1e300;
  };
  EXPECT_EQ(text(3, 1), "Parallelogram");
  EXPECT_EQ(text(4, 1), "Joints");
  EXPECT_EQ(text(5, 1), "Nr");
  EXPECT_EQ(text(5, 2), "R [mm]");
  EXPECT_EQ(text(5, 3), "Arg [\xB0]");
  EXPECT_EQ(text(7, 1), "B");
  EXPECT_DOUBLE_EQ(number(7, 2), 50);
  EXPECT_DOUBLE_EQ(number(7, 3), 90);
  EXPECT_DOUBLE_EQ(number(8, 2), std::hypot(100, 50));
  EXPECT_EQ(text(10, 1), "E");
  EXPECT_EQ(sheet.Cell(10, 2), nullptr) << "an invalid position leaves its cells empty";
  EXPECT_EQ(text(11, 3), "Length [mm]");
  EXPECT_EQ(text(14, 1), "Link BCE");
  EXPECT_EQ(text(14, 2), "BC");
  EXPECT_DOUBLE_EQ(number(14, 3), 100);
  EXPECT_EQ(sheet.Cell(15, 3), nullptr);
  EXPECT_EQ(text(17, 2), "CD");
  // One empty row, then the input function: its name row bold, numbers in s and degrees.
  EXPECT_EQ(sheet.Cell(18, 1), nullptr);
  EXPECT_EQ(text(19, 1), "Input A");
  EXPECT_EQ(text(20, 3), "Disp. [\xB0]");
  EXPECT_EQ(text(21, 1), "Constant Velocity");
  EXPECT_DOUBLE_EQ(number(21, 2), 1);
  EXPECT_DOUBLE_EQ(number(21, 3), 60);
  EXPECT_EQ(row, 21);
  EXPECT_EQ(sheet.BoldRows(), (std::set<int>{4, 5, 11, 19}));
  for (int col = 1; col <= 4; ++col) EXPECT_EQ(sheet.ColumnWidth(col), 15) << col;
  EXPECT_EQ(sheet.ColumnWidth(5), 0);
}

}  // namespace
}  // namespace quillon
