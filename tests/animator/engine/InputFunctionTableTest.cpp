// An input function's section table in the properties grid and in a worksheet: rows from the
// caller's row on, a length input in mm, texts in the grid and numbers in the sheet.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "animator/engine/InputFunction.h"
#include "animator/engine/PropertyGrid.h"
#include "shared/Convert.h"
#include "shared/Workbook.h"

namespace quillon {
namespace {

class InputFunctionTableTest : public ::testing::Test {
 protected:
  // A slider input: 30 mm out in 0.5 s by the 3-4-5 law, back in 1.25 s at constant velocity.
  void SetUp() override {
    shared::CreateConvert();  // metric engineering: mm and seconds, three decimals
    function.Letter = "S";
    function.UnitCategory = shared::cuLength;
    function.Clear();
    function.AddSection(kLawPolynomial345, 0.5, 0.03);
    function.AddSection(kLawConstantVelocity, 1.25, -0.03);
  }
  void TearDown() override { shared::FreeConvert(); }

  TInputFunction function;
};

TEST_F(InputFunctionTableTest, GridRowsFollowTheCallersRow) {
  TPropertyGrid grid(3, 2);
  grid.SetCell(1, 5, "left over");
  int32_t row = 4;
  function.WriteGrid(grid, row);
  EXPECT_EQ(row, 8);
  const std::vector<std::vector<std::string>> expected = {
      {"Input S", "", ""},
      {"Function", "Time [s]", "Disp. [mm]"},
      {"3-4-5 polynomial", "0.500", "30.000"},
      {"Constant Velocity", "1.250", "-30.000"},
  };
  ASSERT_EQ(grid.RowCount(), 9);
  for (int32_t r = 5; r <= 8; ++r) {
    const auto& cells = expected[static_cast<size_t>(r - 5)];
    for (int32_t c = 0; c < 3; ++c)
      EXPECT_EQ(grid.Cell(c, r), cells[static_cast<size_t>(c)]) << r << ' ' << c;
  }
}

TEST_F(InputFunctionTableTest, SheetRowsHoldNumbersInDisplayUnits) {
  shared::TWorksheet sheet("Properties");
  int32_t row = 10;
  function.WriteSheet(sheet, row);
  EXPECT_EQ(row, 14);
  EXPECT_EQ(sheet.BoldRows(), (std::set<int>{11}));
  EXPECT_EQ(sheet.Cell(11, 1)->Text, "Input S");
  EXPECT_EQ(sheet.Cell(12, 2)->Text, "Time [s]");
  EXPECT_EQ(sheet.Cell(12, 3)->Text, "Disp. [mm]");
  EXPECT_EQ(sheet.Cell(13, 1)->Text, "3-4-5 polynomial");
  EXPECT_EQ(sheet.Cell(14, 2)->Kind, shared::ECellKind::Number);
  EXPECT_DOUBLE_EQ(sheet.Cell(14, 2)->Number, 1.25);
  EXPECT_DOUBLE_EQ(sheet.Cell(13, 3)->Number, 30);
  EXPECT_DOUBLE_EQ(sheet.Cell(14, 3)->Number, -30);
  EXPECT_EQ(sheet.Cell(10, 1), nullptr);
}

}  // namespace
}  // namespace quillon
