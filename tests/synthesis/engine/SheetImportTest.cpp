// Curve points from workbook files: the curve equals the cells of .xls and .xlsx files, and a
// cell or file that cannot be read keeps the points of the rows before it.
#include "synthesis/engine/SheetImport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <numbers>
#include <string>

#include "shared/Convert.h"
#include "synthesis/engine/AppOptions.h"
#include "tests/shared/SheetFiles.h"
#include "tests/shared/TestFiles.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using shared::ESheetCellKind;
using shared::test::Num;
using shared::test::Row;

constexpr double kDegree = std::numbers::pi / 180;
// The sheet reader's fixtures, beside its tests.
const std::string kSheetFixtures =
    (std::filesystem::path(SUITE_FIXTURES).parent_path().parent_path().parent_path() / "shared/fixtures").string();

// The rows of the curve.xls fixture: Nr, x and y in millimetres, Out and In in degrees.
constexpr double kRows[5][5] = {
    {1, 0, 0, 0, 0}, {2, 10.5, 2.25, 5, 30}, {3, 20, -4.75, 10, 60}, {4, 31.125, 1.5, 15, 90}, {5, 40, 8, 20, 120}};

class SheetImportTest : public shared::test::TTempFolderTest {
 protected:
  SheetImportTest() : TTempFolderTest("sheetimport") {}
  void SetUp() override {
    TTempFolderTest::SetUp();
    shared::FreeConvert();
    shared::CreateConvert();
    ResetAppOptions();
  }
  void TearDown() override {
    ResetAppOptions();
    shared::FreeConvert();
    TTempFolderTest::TearDown();
  }
  std::string WriteXlsx(const std::string& sheetData, const std::string& name = "curve.xlsx") {
    const fs::path path = dir / name;
    shared::test::WriteBytes(path, shared::test::MakeZip(shared::test::Workbook(sheetData)));
    return path.string();
  }
  // The curve.xls rows as sheet XML under the header row.
  static std::string FixtureRows() {
    std::string data = Row(1, "<c r=\"A1\" t=\"inlineStr\"><is><t>Nr</t></is></c>");
    for (int r = 0; r < 5; ++r) {
      std::string cells;
      for (int c = 0; c < 5; ++c)
        cells += Num(std::string(1, char('A' + c)) + std::to_string(r + 2), std::to_string(kRows[r][c]));
      data += Row(r + 2, cells);
    }
    return data;
  }
};

void ExpectFixtureCurve(const TSpline& curve, const std::string& source) {
  ASSERT_EQ(curve.Count(), 5) << source;
  for (int r = 0; r < 5; ++r) {
    const TPrePoint* point = curve.GetPoint(r + 1);
    EXPECT_NEAR(point->X, kRows[r][1] / 1000, 1e-15) << source << " row " << r + 2;
    EXPECT_NEAR(point->Y, kRows[r][2] / 1000, 1e-15) << source << " row " << r + 2;
    EXPECT_NEAR(point->Out, kRows[r][3] * kDegree, 1e-15) << source << " row " << r + 2;
    EXPECT_NEAR(point->In, kRows[r][4] * kDegree, 1e-15) << source << " row " << r + 2;
  }
  // Every row but the first turns the input: an input rotation at every point.
  EXPECT_TRUE(curve.In) << source;
  EXPECT_NEAR(curve.TotalIn, 120 * kDegree, 1e-15) << source;
  EXPECT_TRUE(curve.IsValid()) << source;
}

TEST_F(SheetImportTest, TheCurveEqualsTheCellsOfXlsAndXlsxFiles) {
  TSpline fromXls;
  ImportCurveFromFile(fromXls, kSheetFixtures + "/curve.xls");
  ExpectFixtureCurve(fromXls, "xls");
  TSpline fromXlsx;
  ImportCurveFromFile(fromXlsx, WriteXlsx(FixtureRows()));
  ExpectFixtureCurve(fromXlsx, "xlsx");

  // Polar display reads R and angle.
  AppOptions.IsPolar = true;
  TSpline polar;
  ImportCurveFromFile(polar, WriteXlsx(Row(2, Num("A2", "1") + Num("B2", "100") + Num("C2", "90")) +
                                       Row(3, Num("A3", "2") + Num("B3", "50") + Num("C3", "180"))));
  ASSERT_EQ(polar.Count(), 2);
  EXPECT_NEAR(polar.GetPoint(1)->Y, 0.1, 1e-15);
  EXPECT_NEAR(polar.GetPoint(2)->X, -0.05, 1e-15);
}

TEST_F(SheetImportTest, StopsAtTheCurvesCapacity) {
  std::string data;
  for (int r = 2; r < 2 + 100; ++r)
    data += Row(r, Num("A" + std::to_string(r), "1") + Num("B" + std::to_string(r), std::to_string(r)) +
                       Num("C" + std::to_string(r), std::to_string(r % 7)));
  TSpline curve;
  ImportCurveFromFile(curve, WriteXlsx(data));
  ASSERT_EQ(curve.Count(), TSpline::kCapacity);
  EXPECT_NEAR(curve.GetPoint(80)->X, 0.081, 1e-15);
}

// The points end at the first row without a number in column A. Whatever the sheet holds in
// columns A to E below that row is named as not read; a sheet that simply ends says nothing.
TEST_F(SheetImportTest, RowsBelowTheEndOfThePointsAreNamed) {
  // A point in row r: its number, x and y.
  const auto point = [](int r, const std::string& extra = "") {
    const std::string n = std::to_string(r);
    return Row(r, Num("A" + n, n) + Num("B" + n, std::to_string(10 * r)) + Num("C" + n, "5") + extra);
  };
  const auto rows = [&](int from, int to) {
    std::string data;
    for (int r = from; r <= to; ++r) data += point(r);
    return data;
  };
  const std::string text = "<c r=\"F9\" t=\"inlineStr\"><is><t>note</t></is></c>";
  struct TCase {
    const char* name;
    std::string data;
    int points;
    std::string notice;
  };
  const TCase cases[] = {
      {"twelve points, row 8 blank", rows(2, 7) + rows(9, 14), 6,
       "Column A is empty or 0 in row 8, which ends the points: rows 9-14 were not read."},
      {"a sheet that ends", rows(2, 7), 6, ""},
      {"the ending row holds a position", rows(2, 4) + Row(5, Num("B5", "7")) + rows(6, 6), 3,
       "Column A is empty or 0 in row 5, which ends the points: rows 5 and 6 were not read."},
      {"a 0 in column A, one row below", rows(2, 3) + Row(4, Num("A4", "0")) + rows(7, 7), 2,
       "Column A is empty or 0 in row 4, which ends the points: rows 4 and 7 were not read."},
      {"an empty row 2", rows(3, 5), 0, "Column A is empty or 0 in row 2, which ends the points: rows 3-5 were not read."},
      {"only blank text and a note beyond column E below", rows(2, 3) +
       Row(6, "<c r=\"B6\" t=\"inlineStr\"><is><t>  </t></is></c>") + Row(9, text), 2, ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    TSpline curve;
    std::string notice = "left over";
    ImportCurveFromFile(curve, WriteXlsx(c.data), &notice);
    EXPECT_EQ(curve.Count(), c.points);
    EXPECT_EQ(notice, c.notice);
  }

  // With a partly filled rotation column both are told, the rows not read first.
  std::string data = point(2, Num("D2", "0")) + point(3) + point(4, Num("D4", "20")) + point(6, Num("D6", "30"));
  TSpline curve;
  std::string notice;
  ImportCurveFromFile(curve, WriteXlsx(data), &notice);
  ASSERT_EQ(curve.Count(), 3);
  EXPECT_EQ(notice,
            "Column A is empty or 0 in row 5, which ends the points: row 6 was not read.\n\n"
            "Column D (output rotation) is empty in row 3. The output rotation is prescribed at every point: in that "
            "row it is interpolated along the curve between the nearest rows with a value.");
}

// A fault keeps the points of the rows read before it, recalculated, and is raised after.
TEST_F(SheetImportTest, AFaultKeepsThePointsReadBeforeIt) {
  struct TCase {
    const char* name;
    std::string path;
    const char* message;
    int points;
  };
  const std::string two = Row(2, Num("A2", "1") + Num("B2", "1")) + Row(3, Num("A3", "1") + Num("B3", "3") + Num("C3", "3"));
  const TCase cases[] = {
      {"text in a number cell (xls)", kSheetFixtures + "/text.xls", "Cell C4 holds \"six\", which is no number.", 2},
      {"text in a number cell (xlsx)",
       WriteXlsx(two + Row(4, Num("A4", "1") + "<c r=\"B4\" t=\"inlineStr\"><is><t>abc</t></is></c>"), "text.xlsx"),
       "Cell B4 holds \"abc\"", 2},
      {"an error value", WriteXlsx(two + Row(4, "<c r=\"A4\" t=\"e\"><v>#N/A</v></c>"), "error.xlsx"), "Cell A4 holds \"#N/A\"", 2},
      {"XML broken in row 4", WriteXlsx(two + "<row r=\"4\"><c r=\"A4\"><v>1</v></c><c r=\"B4\"><v>9", "broken.xlsx"), "broken XML", 2},
      {"a reference beyond the sheet", WriteXlsx(two + Row(4, Num("A4", "1") + Num("ZZZZ4", "1")), "far.xlsx"),
       "beyond the sheet's limits", 2},
      {"no file", (dir / "missing.xls").string(), "does not exist", 0},
  };
  for (const TCase& c : cases) {
    TSpline curve;
    try {
      ImportCurveFromFile(curve, c.path);
      ADD_FAILURE() << c.name << ": no error";
    } catch (const shared::ESheetFileError& error) {
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << c.name << ": " << error.what();
    }
    ASSERT_EQ(curve.Count(), c.points) << c.name;
    // None of the sheets has output rotations in column D: they stay free.
    EXPECT_EQ(curve.Out, c.points < 2) << c.name;
    if (c.points == 2) {
      EXPECT_NEAR(curve.GetPoint(2)->X, 0.003, 1e-15) << c.name;
      EXPECT_TRUE(curve.IsValid()) << c.name;  // recalculated
    }
  }
}

TEST(SheetFileCellsTest, ReadsNumbersFromEveryKindOfCell) {
  shared::TSheetFile sheet;
  struct TCase {
    shared::TSheetCell cell;
    double value;
  };
  const TCase cases[] = {
      {{ESheetCellKind::Number, -2.5, ""}, -2.5}, {{ESheetCellKind::Boolean, 1, ""}, 1},
      {{ESheetCellKind::Text, 0, " 2.5e1 "}, 25},  {{ESheetCellKind::Text, 0, "+3"}, 3},
      {{ESheetCellKind::Text, 0, "   "}, 0},       {{ESheetCellKind::Text, 0, ""}, 0},
  };
  int32_t row = 1;
  for (const TCase& c : cases) sheet.SetCell(row++, 1, c.cell);
  const TSheetFileCells cells(sheet);
  row = 1;
  for (const TCase& c : cases) EXPECT_EQ(cells.Value(row++, 1), c.value) << c.cell.Text;
  EXPECT_EQ(cells.Value(100, 100), 0);  // empty
  for (const char* text : {"abc", "1,5", "2.5 mm", "0x10"}) {
    sheet.SetCell(1, 2, {ESheetCellKind::Text, 0, text});
    EXPECT_THROW(cells.Value(1, 2), shared::ESheetFileError) << text;
  }
  sheet.SetCell(1, 2, {ESheetCellKind::Text, 0, std::string(100, 'w')});
  try {
    cells.Value(1, 2);
    ADD_FAILURE();
  } catch (const shared::ESheetFileError& error) {
    // Long text is cut in the message.
    EXPECT_EQ(std::string(error.what()), "Cell B1 holds \"" + std::string(40, 'w') + "...\", which is no number.");
  }
}

}  // namespace
}  // namespace vesk
