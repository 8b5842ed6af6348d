// The mechanism's HTML table and workbook sheets: what rows they hold and that their numbers are
// the mechanism's own in display units.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <sstream>

#include "shared/Convert.h"
#include "shared/Workbook.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/Fourbar.h"
#include "synthesis/engine/ProgramInfo.h"
#include "tests/shared/StoreSettings.h"
#include "tests/synthesis/engine/KnownFourbar.h"

namespace {

using namespace vesk;

// The program information of the footer reads and saves its settings in a memory store.
class MechanismReportTest : public shared::test::TSettingsStoreTest {
 protected:
  void SetUp() override {
    TSettingsStoreTest::SetUp();
    CreateCMatrix();
    CreateDefaultInputFunction();
    shared::CreateConvert();
    CreateProgramInfo();
    fourbar.emplace();
    vesktest::SetExactPrecision(m());
    ASSERT_TRUE(m().Synthesize());
    m().InputFunction.SetSteps(10);
    m().SimulatePath(nullptr);
    ASSERT_TRUE(m().Error.Valid);
  }
  void TearDown() override {
    FreeProgramInfo();
    TSettingsStoreTest::TearDown();
  }
  TFourbar& m() { return *fourbar; }
  std::optional<TFourbar> fourbar;
};

size_t CountOf(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST_F(MechanismReportTest, HtmlTableListsJointsLinkPairsTimeAndRotation) {
  std::ostringstream out;
  m().WriteHtml(out);
  const std::string html = out.str();
  EXPECT_EQ(html.rfind("<table border=\"1\" bordercolor=\"#000000\" width=\"100%\">", 0), 0u);
  EXPECT_NE(html.find("Mechanism Properties"), std::string::npos);
  // A title row, five joints, a title row, 1 + 1 + 3 + 1 joint pairs, time, rotation.
  EXPECT_EQ(CountOf(html, "<tr>"), 1 + 1 + 5 + 1 + 6 + 2u);
  const double coupler = std::abs(vesktest::ToCx(*m().Joints.GetJoint(5)) - vesktest::ToCx(*m().Joints.GetJoint(4)));
  EXPECT_NE(html.find("<td>3</td><td>DE</td><td>" + shared::Convert().FormatSI(shared::cuLength, coupler) + "</td>"),
            std::string::npos);
  EXPECT_NE(html.find("<td>Input Rotation </td><td>" + shared::Convert().FormatSI(shared::cuAngle, m().InputFunction.Xmax())),
            std::string::npos);
  EXPECT_EQ(html.substr(html.size() - 19), "</table>\r\n<p></p>\r\n");
}

TEST_F(MechanismReportTest, PropertiesSheetAdvancesTheRowPastItsFooter) {
  shared::TWorkbook book;
  shared::TWorksheet& sheet = *book.Worksheet("Sheet1");
  int32_t row = 3;
  m().ExportExcelProperties(row, sheet);
  // Name, "Joints", header, 5 joints, "Links", header, 4 link rows and 6 pairs, time, rotation,
  // two rows to the footer, past the footer.
  const int footer = 3 + 1 + 1 + 1 + 5 + 1 + 1 + 4 + 6 + 2 + 2;
  EXPECT_EQ(row, footer + 1);
  EXPECT_EQ(sheet.Cell(3, 1)->Text, "Fourbar");
  EXPECT_TRUE(sheet.Format(4, 2).Bold);
  EXPECT_EQ(sheet.Cell(6, 1)->Text, "A");
  EXPECT_DOUBLE_EQ(sheet.Cell(6, 2)->Number, shared::Convert().FromSI(shared::cuLength, m().Joints.GetJoint(1)->X));
  EXPECT_EQ(sheet.Cell(footer, 1)->Text, ProgramInfo().Title);
  EXPECT_EQ(sheet.Cell(footer, 3)->Url, ProgramInfo().ProductURL);
  EXPECT_EQ(sheet.Format(footer, 4).FillColorIndex, 36);
  EXPECT_EQ(sheet.ColumnWidth(1), 10);
  EXPECT_EQ(sheet.ColumnWidth(4), 15);
}

TEST_F(MechanismReportTest, PathSheetAndChartsCoverEveryPathPoint) {
  shared::TWorkbook book;
  shared::TWorksheet& data = book.AddSheet("Data");
  m().ExportExcelPath(data);
  const int n = m().PathPoints.Count();
  ASSERT_EQ(n, 11);
  EXPECT_EQ(data.Cell(3, 16)->Text, "Transmission Angle");
  EXPECT_EQ(data.Format(4, 16).FillColorIndex, 36);
  for (int i = 1; i <= n; ++i) {
    const TPathPoint& p = *m().PathPoints.GetPathPoint(i);
    const int row = 4 + i;
    EXPECT_EQ(data.Cell(row, 1)->Number, i);
    EXPECT_DOUBLE_EQ(data.Cell(row, 3)->Number, shared::Convert().FromSI(shared::cuLength, p.X));
    // Constant velocity over Tmax: the input's share of its total rotation is the time's.
    EXPECT_NEAR(data.Cell(row, 2)->Number, m().InputFunction.Tmax() * p.In / m().InputFunction.Xmax(), 1e-9);
  }
  EXPECT_EQ(data.Cell(5 + n, 1), nullptr);

  m().ExportExcelCharts(book);
  int charts = 0;
  for (const auto& sheet : book.Sheets()) {
    const auto* chart = dynamic_cast<const shared::TChartSheet*>(sheet.get());
    if (!chart) continue;
    ++charts;
    ASSERT_EQ(chart->Chart.Series.size(), 1u);
    EXPECT_EQ(chart->Chart.Series[0].X, (shared::TCellRange{5, 2, 4 + n, 2}));
    EXPECT_EQ(chart->Chart.Series[0].Y.FirstRow, 5);
    EXPECT_EQ(chart->Chart.Series[0].Y.LastRow, 4 + n);
    EXPECT_FALSE(chart->Chart.HasLegend);
    EXPECT_EQ(chart->Chart.Title, sheet->GetName());
  }
  EXPECT_EQ(charts, 12);
}

}  // namespace
