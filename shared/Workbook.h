// The spreadsheet workbook that the exports fill, in place of automating a spreadsheet program:
// sheets in tab order, cells holding numbers or text, bold and fill formats, column widths,
// hyperlinks and chart sheets of smooth x-y scatter charts. The programs connect a writer that
// saves the book and opens it on the desktop (shared/qt/XlsxWorkbook.h).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace shared {

// Rows and columns count from 1, as the spreadsheet program's Cells(row, column).
struct TCellRange {
  int FirstRow = 1;
  int FirstColumn = 1;
  int LastRow = 1;
  int LastColumn = 1;
  bool operator==(const TCellRange&) const = default;
};

inline constexpr int kMaxRows = 1048576;
inline constexpr int kMaxColumns = 16384;

// "A1:C4" or "B7" (letters in either case); raises std::invalid_argument on anything else.
TCellRange ParseCellRange(const std::string& text);
// Column letters of a column number: 1 "A", 27 "AA"; "A" also for a number below 1.
std::string ColumnName(int column);

// The spreadsheet program's default palette as 0xRRGGBB: index 36 is 0xFFFF99. Raises
// std::out_of_range outside 1..56.
uint32_t PaletteColour(int colorIndex);

struct TCellFormat {
  bool Bold = false;
  int FillColorIndex = 0;  // 0: no fill
  bool operator==(const TCellFormat&) const = default;
};

enum class ECellKind { Empty, Number, Text };

struct TCell {
  ECellKind Kind = ECellKind::Empty;
  double Number = 0;
  std::string Text;  // Windows-1252; for a hyperlink the text shown
  std::string Url;   // a hyperlink's target, empty for plain cells
  TCellFormat Format;
};

class TSheet {
 public:
  explicit TSheet(std::string name) : Name(std::move(name)) {}
  virtual ~TSheet() = default;
  const std::string& GetName() const { return Name; }

 private:
  friend class TWorkbook;
  std::string Name;
};

class TWorksheet : public TSheet {
 public:
  using TSheet::TSheet;

  // Each raises std::out_of_range for a row or column outside the sheet.
  void SetNumber(int row, int column, double value);
  void SetText(int row, int column, const std::string& text);
  void SetHyperlink(int row, int column, const std::string& url, const std::string& text);
  // Cells(row, column).Font.Bold
  void SetBold(int row, int column, bool bold = true);
  // Rows(row).Font.Bold: the row's cells, also those written later, are bold.
  void SetRowBold(int row);
  // Range.Interior.ColorIndex; the colour index is checked as PaletteColour does.
  void SetFill(const TCellRange& range, int colorIndex);
  // Columns(first..last).ColumnWidth, in characters of the standard font.
  void SetColumnWidth(int first, int last, double width);
  // Columns(first..last).AutoFit: each column as wide as its widest content now; an empty
  // column keeps its width.
  void AutoFitColumns(int first, int last);

  // nullptr for a cell never written nor formatted.
  const TCell* Cell(int row, int column) const;
  // The cell's own format merged with its row's bold.
  TCellFormat Format(int row, int column) const;
  // 0 for a column of the standard width.
  double ColumnWidth(int column) const;

  // Everything the writer needs, in row then column order.
  const std::map<std::pair<int, int>, TCell>& Cells() const { return CellMap; }
  const std::set<int>& BoldRows() const { return BoldRowSet; }
  const std::map<int, double>& ColumnWidths() const { return Widths; }

 private:
  TCell& At(int row, int column);
  std::map<std::pair<int, int>, TCell> CellMap;
  std::set<int> BoldRowSet;
  std::map<int, double> Widths;
};

// One series of a chart: y over x, both single rows or columns of one worksheet.
struct TChartSeries {
  std::string Name;  // legend text; empty: none
  std::string Sheet;
  TCellRange X;
  TCellRange Y;
};

// The series of a block of columns: one per column first..last, y from its rows
// firstRow..lastRow over x from the same rows of xColumn, named by the column's text in nameRow
// (none when nameRow is 0 or that cell holds no text).
std::vector<TChartSeries> ColumnSeries(const TWorksheet& sheet, int xColumn, int firstColumn, int lastColumn,
                                       int firstRow, int lastRow, int nameRow = 0);

// A smooth x-y scatter chart without markers (the spreadsheet program's chart type 73).
struct TChart {
  std::string Title;           // empty: no title
  std::string ValueAxisTitle;  // empty: no axis title
  bool HasLegend = true;
  bool XMajorGridlines = false;
  bool XMinorGridlines = false;
  std::vector<TChartSeries> Series;
};

class TChartSheet : public TSheet {
 public:
  TChartSheet(std::string name, TChart chart) : TSheet(std::move(name)), Chart(std::move(chart)) {}
  TChart Chart;
};

class TWorkbook {
 public:
  // A new book comes with one empty worksheet "Sheet1", which is active.
  TWorkbook();

  // The file the writer saves to, as the file system names it; empty: a new "BookN.xlsx" in a
  // temporary directory.
  std::string FileName;

  // Sheets.Add: the new sheet goes in front of the active sheet and becomes active, so sheets
  // added one after the other read from the left in the reverse order. Names follow the
  // spreadsheet program's rules (1 to 31 characters, none of : \ / ? * [ ], no apostrophe at
  // either end, unique without regard to case); a broken rule raises std::invalid_argument.
  TWorksheet& AddSheet(const std::string& name);
  // Charts.Add: a chart sheet, placed and named as AddSheet does. Every series must refer to a
  // worksheet of this book (std::invalid_argument otherwise).
  TChartSheet& AddChart(const std::string& name, const TChart& chart);

  // Selects a sheet by name (without regard to case); raises std::invalid_argument when absent.
  void Activate(const std::string& name);
  TSheet& ActiveSheet() { return *SheetList[Active]; }
  const TSheet& ActiveSheet() const { return *SheetList[Active]; }
  std::size_t ActiveIndex() const { return Active; }
  // nullptr when there is no worksheet of that name.
  TWorksheet* Worksheet(const std::string& name);
  const TWorksheet* Worksheet(const std::string& name) const;

  // Tab order, leftmost first.
  const std::vector<std::unique_ptr<TSheet>>& Sheets() const { return SheetList; }
  // The sheets a saved file holds, in tab order: all but the book's own "Sheet1" while nothing
  // was written into it and other sheets stand beside it (it would be a stray empty tab).
  std::vector<const TSheet*> SavedSheets() const;
  // The sheet a saved file opens on: the active one, or the first saved one in its place.
  const TSheet& SavedActiveSheet() const;

 private:
  void CheckNewName(const std::string& name) const;
  std::size_t Find(const std::string& name) const;
  void Insert(std::unique_ptr<TSheet> sheet);
  std::vector<std::unique_ptr<TSheet>> SheetList;
  std::size_t Active = 0;
  const TWorksheet* First = nullptr;  // the sheet the book came with
};

// Saves the filled book and opens it with the desktop's spreadsheet program; gives the file
// written. Raises std::runtime_error when nothing is connected or saving fails.
using TWorkbookShowFunc = std::function<std::string(const TWorkbook& book)>;
void SetWorkbookShow(TWorkbookShowFunc show);
std::string ShowWorkbook(const TWorkbook& book);

}  // namespace shared
