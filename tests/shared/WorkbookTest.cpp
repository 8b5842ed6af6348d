// The workbook model: cell ranges, the palette, sheet order and names, formats and charts.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>

#include "shared/Workbook.h"

namespace {

using shared::TCellRange;

std::vector<std::string> Names(const shared::TWorkbook& book) {
  std::vector<std::string> names;
  for (const auto& sheet : book.Sheets()) names.push_back(sheet->GetName());
  return names;
}

TEST(WorkbookTest, ParsesCellRanges) {
  const std::pair<const char*, TCellRange> cases[] = {
      {"A1:C4", {1, 1, 4, 3}},
      {"A1:P4", {1, 1, 4, 16}},
      {"b7", {7, 2, 7, 2}},
      {"AA10:AB12", {10, 27, 12, 28}},
      {"XFD1048576", {1048576, 16384, 1048576, 16384}},
      {"C4:A1", {1, 1, 4, 3}},
  };
  for (const auto& [text, range] : cases) EXPECT_EQ(shared::ParseCellRange(text), range) << text;
  for (const char* bad : {"", "A", "1", "A0", "1A", "A1:", "A1-B2", "XFE1", "A1048577", "A1:B2:C3", " A1"})
    EXPECT_THROW(shared::ParseCellRange(bad), std::invalid_argument) << bad;
  const std::pair<int, const char*> columns[] = {{-5, "A"},    {0, "A"},      {1, "A"},   {26, "Z"},
                                                 {27, "AA"},   {28, "AB"},    {52, "AZ"}, {702, "ZZ"},
                                                 {703, "AAA"}, {16384, "XFD"}};
  for (const auto& [column, name] : columns) EXPECT_EQ(shared::ColumnName(column), name);
}

TEST(WorkbookTest, PaletteHoldsTheHeaderYellow) {
  EXPECT_EQ(shared::PaletteColour(36), 0xFFFF99u);
  EXPECT_EQ(shared::PaletteColour(1), 0x000000u);
  EXPECT_EQ(shared::PaletteColour(3), 0xFF0000u);
  EXPECT_EQ(shared::PaletteColour(56), 0x333333u);
  EXPECT_THROW(shared::PaletteColour(0), std::out_of_range);
  EXPECT_THROW(shared::PaletteColour(57), std::out_of_range);
}

// A saved file leaves out the book's own "Sheet1" while it is an empty tab beside others.
TEST(WorkbookTest, TheNewBooksEmptySheetIsLeftOutOfTheSavedFile) {
  const auto saved = [](const shared::TWorkbook& book) {
    std::vector<std::string> names;
    for (const shared::TSheet* sheet : book.SavedSheets()) names.push_back(sheet->GetName());
    names.push_back("opens " + book.SavedActiveSheet().GetName());
    return names;
  };
  shared::TWorkbook alone;
  EXPECT_EQ(saved(alone), (std::vector<std::string>{"Sheet1", "opens Sheet1"})) << "a file holds one sheet at least";

  shared::TWorkbook book;
  shared::TWorksheet& data = book.AddSheet("Data");
  data.SetNumber(1, 1, 2.5);
  book.AddSheet("Properties");
  EXPECT_EQ(saved(book), (std::vector<std::string>{"Properties", "Data", "opens Properties"}));
  EXPECT_EQ(Names(book), (std::vector<std::string>{"Properties", "Data", "Sheet1"})) << "the book itself keeps it";
  book.Activate("Sheet1");
  EXPECT_EQ(saved(book), (std::vector<std::string>{"Properties", "Data", "opens Properties"}));

  // Used, it stays: a value, a format, a width, or a chart that draws from it.
  const std::function<void(shared::TWorkbook&)> uses[] = {
      [](shared::TWorkbook& b) { b.Worksheet("Sheet1")->SetText(3, 2, "x"); },
      [](shared::TWorkbook& b) { b.Worksheet("Sheet1")->SetRowBold(1); },
      [](shared::TWorkbook& b) { b.Worksheet("Sheet1")->SetColumnWidth(1, 2, 12); },
      [](shared::TWorkbook& b) {
        shared::TChart chart;
        chart.Series.push_back({"", "sheet1", shared::ParseCellRange("A1:A3"), shared::ParseCellRange("B1:B3")});
        b.AddChart("Chart", chart);
      },
  };
  for (const auto& use : uses) {
    shared::TWorkbook used;
    used.AddSheet("Data");
    use(used);
    const auto names = saved(used);
    EXPECT_NE(std::find(names.begin(), names.end(), "Sheet1"), names.end());
  }
}

TEST(WorkbookTest, AddedSheetsGoInFrontOfTheActiveSheet) {
  // The animator writes its sheets in this order; its tabs then read in the reverse order.
  shared::TWorkbook book;
  EXPECT_EQ(Names(book), std::vector<std::string>{"Sheet1"});
  for (const char* name :
       {"TransAngle", "AngAcc", "AngVel", "Rotation", "Acc", "Vel", "Path", "Error", "Vectors", "Properties"})
    EXPECT_EQ(book.AddSheet(name).GetName(), name);
  EXPECT_EQ(Names(book), (std::vector<std::string>{"Properties", "Vectors", "Error", "Path", "Vel", "Acc",
                                                   "Rotation", "AngVel", "AngAcc", "TransAngle", "Sheet1"}));
  EXPECT_EQ(book.ActiveSheet().GetName(), "Properties");

  book.Activate("sheet1");
  book.AddChart("Chart", {});
  EXPECT_EQ(book.ActiveSheet().GetName(), "Chart");
  EXPECT_EQ(book.Sheets()[10]->GetName(), "Chart");
  EXPECT_EQ(book.Worksheet("Chart"), nullptr) << "a chart sheet is no worksheet";
  EXPECT_NE(book.Worksheet("PATH"), nullptr);
  EXPECT_THROW(book.Activate("Nothing"), std::invalid_argument);
}

TEST(WorkbookTest, SheetNamesFollowTheSpreadsheetRules) {
  shared::TWorkbook book;
  book.AddSheet("Data");
  for (const std::string& bad :
       std::vector<std::string>{"", "DATA", "sheet1", "a:b", "a\\b", "a/b", "a?b", "a*b", "a[b", "a]b", "'ab",
                                "ab'", std::string(32, 'x')})
    EXPECT_THROW(book.AddSheet(bad), std::invalid_argument) << bad;
  EXPECT_NO_THROW(book.AddSheet(std::string(31, 'x')));
  EXPECT_NO_THROW(book.AddSheet("Rotation Chart"));
  EXPECT_EQ(book.Sheets().size(), 4u);
}

TEST(WorkbookTest, FillAndBoldMergeIntoOneFormat) {
  shared::TWorksheet sheet("Properties");
  sheet.SetFill(shared::ParseCellRange("A1:C4"), 36);
  sheet.SetText(1, 1, "Title: x");
  sheet.SetBold(1, 1);
  sheet.SetRowBold(6);
  sheet.SetText(6, 2, "Joints");
  EXPECT_EQ(sheet.Format(1, 1), (shared::TCellFormat{true, 36}));
  EXPECT_EQ(sheet.Format(4, 3), (shared::TCellFormat{false, 36})) << "filled though empty";
  EXPECT_EQ(sheet.Format(5, 1), (shared::TCellFormat{false, 0}));
  EXPECT_EQ(sheet.Format(6, 2), (shared::TCellFormat{true, 0})) << "row bold reaches a cell written later";
  EXPECT_EQ(sheet.Format(6, 9), (shared::TCellFormat{true, 0}));
  ASSERT_NE(sheet.Cell(4, 3), nullptr);
  EXPECT_EQ(sheet.Cell(4, 3)->Kind, shared::ECellKind::Empty);
  EXPECT_EQ(sheet.Cell(5, 1), nullptr);
  EXPECT_THROW(sheet.SetFill(shared::ParseCellRange("A1"), 57), std::out_of_range);
}

TEST(WorkbookTest, CellsHoldNumbersTextAndLinks) {
  shared::TWorksheet sheet("Data");
  sheet.SetText(2, 3, "old");
  sheet.SetNumber(2, 3, -1.25);
  sheet.SetHyperlink(3, 3, "https://example.org/", "https://example.org/");
  ASSERT_NE(sheet.Cell(2, 3), nullptr);
  EXPECT_EQ(sheet.Cell(2, 3)->Kind, shared::ECellKind::Number);
  EXPECT_EQ(sheet.Cell(2, 3)->Number, -1.25);
  EXPECT_EQ(sheet.Cell(2, 3)->Text, "");
  EXPECT_EQ(sheet.Cell(3, 3)->Url, "https://example.org/");
  sheet.SetText(3, 3, "plain");
  EXPECT_EQ(sheet.Cell(3, 3)->Url, "") << "writing a text removes the link";
  for (auto [row, column] : {std::pair{0, 1}, {1, 0}, {1048577, 1}, {1, 16385}})
    EXPECT_THROW(sheet.SetNumber(row, column, 1), std::out_of_range);
}

TEST(WorkbookTest, ColumnWidthsAndAutoFit) {
  shared::TWorksheet sheet("Data");
  sheet.SetColumnWidth(2, 4, 15);
  EXPECT_EQ(sheet.ColumnWidth(1), 0);
  EXPECT_EQ(sheet.ColumnWidth(3), 15);
  sheet.SetText(1, 2, "Hello");  // 5 characters
  sheet.SetText(2, 2, "Hi");
  sheet.SetNumber(3, 3, 0.125);  // "0.125"
  sheet.SetText(1, 5, "Wide");
  sheet.SetRowBold(1);  // "Wide" is bold: 4 * 1.1
  sheet.AutoFitColumns(2, 5);
  EXPECT_DOUBLE_EQ(sheet.ColumnWidth(2), 5 * 1.1 + 1) << "row 1 is bold";
  EXPECT_DOUBLE_EQ(sheet.ColumnWidth(3), 6);
  EXPECT_EQ(sheet.ColumnWidth(4), 15) << "an empty column keeps its width";
  EXPECT_DOUBLE_EQ(sheet.ColumnWidth(5), 4 * 1.1 + 1);
  EXPECT_THROW(sheet.SetColumnWidth(3, 2, 10), std::out_of_range);
  EXPECT_THROW(sheet.SetColumnWidth(1, 1, 256), std::out_of_range);
}

TEST(WorkbookTest, ChartsReferToWorksheetsOfTheBook) {
  shared::TWorkbook book;
  book.AddSheet("Data");
  shared::TChart chart;
  chart.Series.push_back({"Path", "Data", shared::ParseCellRange("B5:B9"), shared::ParseCellRange("F5:F9")});
  EXPECT_NO_THROW(book.AddChart("Path", chart));
  chart.Series[0].Sheet = "Missing";
  EXPECT_THROW(book.AddChart("Other", chart), std::invalid_argument);
  chart.Series[0].Sheet = "Path";
  EXPECT_THROW(book.AddChart("Other", chart), std::invalid_argument) << "Path is a chart sheet";
  chart.Series[0] = {"", "Data", shared::ParseCellRange("B5:C9"), shared::ParseCellRange("F5:F9")};
  EXPECT_THROW(book.AddChart("Other", chart), std::invalid_argument) << "a series is one column";
}

TEST(WorkbookTest, ColumnSeriesCoverABlockOfColumns) {
  // A graph sheet: names in row 2, units in row 3, x in column B, steps from row 4.
  shared::TWorkbook book;
  shared::TWorksheet& sheet = book.AddSheet("Rotation");
  sheet.SetText(2, 3, "AB");
  sheet.SetText(2, 4, "CD");
  const auto series = shared::ColumnSeries(sheet, 2, 3, 5, 4, 40, 2);
  ASSERT_EQ(series.size(), 3u);
  EXPECT_EQ(series[0].Name, "AB");
  EXPECT_EQ(series[1].Name, "CD");
  EXPECT_EQ(series[2].Name, "") << "no text in the name row";
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(series[i].Sheet, "Rotation");
    EXPECT_EQ(series[i].X, (TCellRange{4, 2, 40, 2}));
    EXPECT_EQ(series[i].Y, (TCellRange{4, 3 + i, 40, 3 + i}));
  }
  shared::TChart chart;
  chart.Series = series;
  EXPECT_NO_THROW(book.AddChart("Rotation Chart", chart));
  EXPECT_TRUE(shared::ColumnSeries(sheet, 2, 3, 2, 4, 40).empty()) << "no series columns";
}

TEST(WorkbookTest, ShowingNeedsAConnectedProgram) {
  shared::TWorkbook book;
  shared::SetWorkbookShow(nullptr);
  EXPECT_THROW(shared::ShowWorkbook(book), std::runtime_error);
  const shared::TWorkbook* shown = nullptr;
  shared::SetWorkbookShow([&](const shared::TWorkbook& b) {
    shown = &b;
    return std::string("Book1.xlsx");
  });
  EXPECT_EQ(shared::ShowWorkbook(book), "Book1.xlsx");
  EXPECT_EQ(shown, &book);
  shared::SetWorkbookShow(nullptr);
}

}  // namespace
