// The workbook export's choice and order of sheets for sets of boxes, and its properties sheet,
// written into a book in memory.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "animator/engine/AniMechanism.h"
#include "animator/engine/ExcelExport.h"
#include "animator/engine/MotionGraph.h"
#include "shared/Convert.h"
#include "shared/ProjectInfo.h"
#include "shared/Workbook.h"

namespace quillon {
namespace {

std::vector<std::string> Tabs(const shared::TWorkbook& book) {
  std::vector<std::string> names;
  for (const auto& sheet : book.Sheets()) names.push_back(sheet->GetName());
  return names;
}

class ExcelExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shared::CreateConvert();
    Mechanism.NewMechanism(0);
    Mechanism.Calculate();
    Graph.Mechanism = &Mechanism;
  }
  void TearDown() override { shared::FreeConvert(); }

  // The default four-bar's tracer follows a curve through its own positions.
  void AddCurve() {
    for (int32_t k = 0; k <= 60; k += 6) {
      const TPositionRecord& p = Mechanism.Tracer->Positions[size_t(k)];
      Mechanism.Curve.Point(Mechanism.Curve.NewPoint()).SetXY(p.X, p.Y);
    }
    Mechanism.Curve.Rebuild();
    Mechanism.Calculate();
    ASSERT_TRUE(Mechanism.CanFitCurve());
    Graph.ErrorAvailable = true;
  }

  std::vector<std::string> Write(const TExcelExportOptions& options) {
    shared::TWorkbook book;
    WriteExcelWorkbook(book, Graph, Mechanism, Info, options, "Properties", false);
    return Tabs(book);
  }

  TAniMechanism Mechanism;
  TMotionGraph Graph;
  shared::TProjectInfo Info;
};

TEST_F(ExcelExportTest, SheetsOfTheBoxes) {
  const TExcelExportOptions none{false, false, false, false, false, false, false, false, false};
  EXPECT_EQ(Write(none), std::vector<std::string>{"Sheet1"});
  TExcelExportOptions some = none;
  some.Properties = some.Rot = some.Acc = true;
  EXPECT_EQ(Write(some), (std::vector<std::string>{"Properties", "Acc Chart", "Acc", "Rotation Chart",
                                                   "Rotation", "Sheet1"}));
  // With a curve the error sheet comes whatever the boxes say.
  AddCurve();
  EXPECT_EQ(Write(none), (std::vector<std::string>{"Error Chart", "Error", "Sheet1"}));
  some = none;
  some.Vectors = some.Trans = true;
  EXPECT_EQ(Write(some), (std::vector<std::string>{"Vectors", "Error Chart", "Error", "TransChart",
                                                   "TransAngle", "Sheet1"}));
}

// No link is flagged for the graphs: the link sheets keep their head and step rows, without a
// series column or a chart.
TEST_F(ExcelExportTest, LinkSheetsWithoutSeries) {
  for (auto& link : Mechanism.Links) link->Kinematics = 0;
  TExcelExportOptions options{false, false, false, false, false, true, true, true, false};
  shared::TWorkbook book;
  WriteExcelWorkbook(book, Graph, Mechanism, Info, options, "Properties", false);
  EXPECT_EQ(Tabs(book), (std::vector<std::string>{"Rotation", "AngVel", "AngAcc", "Sheet1"}));
  const shared::TWorksheet* sheet = book.Worksheet("Rotation");
  ASSERT_NE(sheet, nullptr);
  ASSERT_NE(sheet->Cell(4 + Mechanism.Len, 2), nullptr);
  EXPECT_EQ(sheet->Cell(4, 3), nullptr);
}

// The default four-bar runs a full periodic cycle: its coupler's rates at steps 0 and N are one
// value, the central difference across the seam. The graph and the AngVel and AngAcc sheets show
// that value at both ends, taken here from the solved angles with the cycle's turn added on.
TEST_F(ExcelExportTest, LinkRateSheetsAndGraphReachAcrossTheSeam) {
  ASSERT_EQ(Mechanism.FullCycle, 1);
  const int32_t n = Mechanism.N, coupler = 2;
  const std::vector<double>& turned = Mechanism.Link(coupler).Angle;
  const double dt = Mechanism.Input(0).TimeStep(), cycle = turned[n] - turned[0];
  const auto angle = [&](int32_t k) {
    return k < 0 ? turned[n + k] - cycle : k > n ? turned[k - n] + cycle : turned[k];
  };
  const auto omega = [&](int32_t k) { return (angle(k + 1) - angle(k - 1)) / (2 * dt); };
  const auto alpha = [&](int32_t k) { return (omega(k + 1) - omega(k - 1)) / (2 * dt); };
  const shared::TConvert& convert = shared::Convert();
  TExcelExportOptions options{false, false, false, false, false, false, true, true, false};
  shared::TWorkbook book;
  WriteExcelWorkbook(book, Graph, Mechanism, Info, options, "Properties", false);
  const shared::TWorksheet* velocities = book.Worksheet("AngVel");
  const shared::TWorksheet* accelerations = book.Worksheet("AngAcc");
  ASSERT_TRUE(velocities && accelerations);
  ASSERT_EQ(velocities->Cell(2, 3)->Text, "BCE");
  for (const int32_t k : {0, n}) {
    SCOPED_TRACE(k);
    EXPECT_NEAR(velocities->Cell(4 + k, 3)->Number, convert.FromSI(shared::cuAngVel, omega(0)), 1e-9);
    EXPECT_NEAR(accelerations->Cell(4 + k, 3)->Number, convert.FromSI(shared::cuAngAcc, alpha(0)), 1e-7);
    Graph.Rebuild(gkAngularVelocity);
    EXPECT_NEAR(Graph.Value(k, 0), omega(0), 1e-12);
    Graph.Rebuild(gkAngularAcceleration);
    EXPECT_NEAR(Graph.Value(k, 0), alpha(0), 1e-10);
  }
}

TEST_F(ExcelExportTest, PropertiesSheet) {
  Info.Title = "Door hinge";
  Info.Author = "Ann";
  shared::TWorkbook book;
  const TExcelExportOptions only{true, false, false, false, false, false, false, false, false};
  WriteExcelWorkbook(book, Graph, Mechanism, Info, only, "Eigenschaften", true);
  EXPECT_EQ(Tabs(book), (std::vector<std::string>{"Eigenschaften", "Sheet1"}));
  const shared::TWorksheet& sheet = *book.Worksheet("Eigenschaften");
  EXPECT_EQ(sheet.Cell(1, 1)->Text, "Title: Door hinge");
  EXPECT_TRUE(sheet.Format(1, 1).Bold);
  EXPECT_EQ(sheet.Cell(3, 1)->Text, "Author: Ann");
  EXPECT_EQ(sheet.Format(4, 3).FillColorIndex, 36);
  EXPECT_EQ(sheet.Format(4, 4).FillColorIndex, 0);
  // One empty row, then the mechanism's block as it writes it from row 6, polar.
  EXPECT_EQ(sheet.Cell(5, 1), nullptr);
  shared::TWorkbook alone;
  int32_t row = 6;
  Mechanism.ExportToVariant(row, alone.AddSheet("M"), true);
  for (const auto& [at, cell] : alone.Worksheet("M")->Cells()) {
    const shared::TCell* written = sheet.Cell(at.first, at.second);
    ASSERT_NE(written, nullptr) << at.first << "," << at.second;
    EXPECT_EQ(written->Text, cell.Text);
    EXPECT_EQ(written->Number, cell.Number);
  }
  // A sheet name from the language file that the book refuses.
  shared::TWorkbook refused;
  EXPECT_THROW(WriteExcelWorkbook(refused, Graph, Mechanism, Info, only, "Props: [all]", false),
               std::invalid_argument);
}

}  // namespace
}  // namespace quillon
