// The workbook model: cells, formats, sheet order and names, and the process-wide writer.
#include "shared/Workbook.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <stdexcept>

namespace shared {

namespace {

void CheckCell(int row, int column) {
  if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns)
    throw std::out_of_range("Cell (" + std::to_string(row) + ", " + std::to_string(column) +
                            ") lies outside the worksheet");
}

void CheckColumns(int first, int last) {
  if (first < 1 || last > kMaxColumns || first > last)
    throw std::out_of_range("Columns " + std::to_string(first) + " to " + std::to_string(last) +
                            " lie outside the worksheet");
}

// Parses "A1" at text[pos..]; advances pos.
bool ParseCellRef(const std::string& text, std::size_t& pos, int& row, int& column) {
  column = 0;
  std::size_t letters = 0;
  while (pos < text.size() && std::isalpha(static_cast<unsigned char>(text[pos]))) {
    column = column * 26 + (std::toupper(static_cast<unsigned char>(text[pos])) - 'A' + 1);
    if (++letters > 3) return false;
    ++pos;
  }
  row = 0;
  std::size_t digits = 0;
  while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) {
    row = row * 10 + (text[pos] - '0');
    if (++digits > 7) return false;
    ++pos;
  }
  return letters > 0 && digits > 0 && row >= 1 && row <= kMaxRows && column <= kMaxColumns;
}

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// Width in characters of what a cell shows, as the spreadsheet program's General format shows it.
double ShownWidth(const TCell& cell, bool bold) {
  std::size_t length = 0;
  if (cell.Kind == ECellKind::Text) {
    length = cell.Text.size();
  } else if (cell.Kind == ECellKind::Number) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.10G", cell.Number);
    length = std::string(buffer).size();
  }
  if (length == 0) return 0;
  // Bold glyphs run about a tenth wider; one character of margin.
  return static_cast<double>(length) * (bold ? 1.1 : 1.0) + 1.0;
}

TWorkbookShowFunc& CurrentShow() {
  static TWorkbookShowFunc show;
  return show;
}

}  // namespace

TCellRange ParseCellRange(const std::string& text) {
  TCellRange range;
  std::size_t pos = 0;
  bool ok = ParseCellRef(text, pos, range.FirstRow, range.FirstColumn);
  range.LastRow = range.FirstRow;
  range.LastColumn = range.FirstColumn;
  if (ok && pos < text.size()) {
    ok = text[pos++] == ':' && ParseCellRef(text, pos, range.LastRow, range.LastColumn);
    if (ok) {
      if (range.LastRow < range.FirstRow) std::swap(range.LastRow, range.FirstRow);
      if (range.LastColumn < range.FirstColumn) std::swap(range.LastColumn, range.FirstColumn);
    }
  }
  if (!ok || pos != text.size()) throw std::invalid_argument("Not a cell range: \"" + text + "\"");
  return range;
}

std::string ColumnName(int column) {
  if (column < 1) return "A";
  std::string name;
  for (; column > 0; column = (column - 1) / 26) name.insert(name.begin(), char('A' + (column - 1) % 26));
  return name;
}

uint32_t PaletteColour(int colorIndex) {
  static constexpr std::array<uint32_t, 56> kPalette = {
      0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,  // 1-8
      0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,  // 9-16
      0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,  // 17-24
      0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,  // 25-32
      0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,  // 33-40
      0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,  // 41-48
      0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333,  // 49-56
  };
  if (colorIndex < 1 || colorIndex > static_cast<int>(kPalette.size()))
    throw std::out_of_range("Colour index " + std::to_string(colorIndex) + " is not in the palette");
  return kPalette[colorIndex - 1];
}

TCell& TWorksheet::At(int row, int column) {
  CheckCell(row, column);
  return CellMap[{row, column}];
}

void TWorksheet::SetNumber(int row, int column, double value) {
  TCell& cell = At(row, column);
  cell.Kind = ECellKind::Number;
  cell.Number = value;
  cell.Text.clear();
  cell.Url.clear();
}

void TWorksheet::SetText(int row, int column, const std::string& text) {
  TCell& cell = At(row, column);
  cell.Kind = ECellKind::Text;
  cell.Number = 0;
  cell.Text = text;
  cell.Url.clear();
}

void TWorksheet::SetHyperlink(int row, int column, const std::string& url, const std::string& text) {
  SetText(row, column, text);
  At(row, column).Url = url;
}

void TWorksheet::SetBold(int row, int column, bool bold) { At(row, column).Format.Bold = bold; }

void TWorksheet::SetRowBold(int row) {
  CheckCell(row, 1);
  BoldRowSet.insert(row);
}

void TWorksheet::SetFill(const TCellRange& range, int colorIndex) {
  PaletteColour(colorIndex);
  CheckCell(range.FirstRow, range.FirstColumn);
  CheckCell(range.LastRow, range.LastColumn);
  for (int row = range.FirstRow; row <= range.LastRow; ++row)
    for (int column = range.FirstColumn; column <= range.LastColumn; ++column)
      At(row, column).Format.FillColorIndex = colorIndex;
}

void TWorksheet::SetColumnWidth(int first, int last, double width) {
  CheckColumns(first, last);
  if (width < 0 || width > 255)
    throw std::out_of_range("Column width " + std::to_string(width) + " is not 0 to 255");
  for (int column = first; column <= last; ++column) Widths[column] = width;
}

void TWorksheet::AutoFitColumns(int first, int last) {
  CheckColumns(first, last);
  std::map<int, double> fitted;
  for (const auto& [where, cell] : CellMap) {
    const int column = where.second;
    if (column < first || column > last) continue;
    const double width = ShownWidth(cell, Format(where.first, column).Bold);
    if (width > 0) fitted[column] = std::max(fitted[column], std::min(width, 255.0));
  }
  for (const auto& [column, width] : fitted) Widths[column] = width;
}

const TCell* TWorksheet::Cell(int row, int column) const {
  const auto it = CellMap.find({row, column});
  return it == CellMap.end() ? nullptr : &it->second;
}

TCellFormat TWorksheet::Format(int row, int column) const {
  const TCell* cell = Cell(row, column);
  TCellFormat format = cell ? cell->Format : TCellFormat{};
  format.Bold = format.Bold || BoldRowSet.count(row) > 0;
  return format;
}

double TWorksheet::ColumnWidth(int column) const {
  const auto it = Widths.find(column);
  return it == Widths.end() ? 0 : it->second;
}

std::vector<TChartSeries> ColumnSeries(const TWorksheet& sheet, int xColumn, int firstColumn, int lastColumn,
                                       int firstRow, int lastRow, int nameRow) {
  std::vector<TChartSeries> series;
  for (int column = firstColumn; column <= lastColumn; ++column) {
    TChartSeries s;
    const TCell* name = nameRow > 0 ? sheet.Cell(nameRow, column) : nullptr;
    if (name && name->Kind == ECellKind::Text) s.Name = name->Text;
    s.Sheet = sheet.GetName();
    s.X = {firstRow, xColumn, lastRow, xColumn};
    s.Y = {firstRow, column, lastRow, column};
    series.push_back(std::move(s));
  }
  return series;
}

TWorkbook::TWorkbook() {
  auto sheet = std::make_unique<TWorksheet>("Sheet1");
  First = sheet.get();
  SheetList.push_back(std::move(sheet));
}

std::vector<const TSheet*> TWorkbook::SavedSheets() const {
  bool firstUsed = !First->Cells().empty() || !First->BoldRows().empty() || !First->ColumnWidths().empty();
  for (const auto& sheet : SheetList)
    if (const auto* chart = dynamic_cast<const TChartSheet*>(sheet.get()))
      for (const TChartSeries& series : chart->Chart.Series)
        firstUsed = firstUsed || SameName(series.Sheet, First->Name);
  std::vector<const TSheet*> saved;
  for (const auto& sheet : SheetList)
    if (sheet.get() != First || firstUsed || SheetList.size() == 1) saved.push_back(sheet.get());
  return saved;
}

const TSheet& TWorkbook::SavedActiveSheet() const {
  const std::vector<const TSheet*> saved = SavedSheets();
  const TSheet* active = SheetList[Active].get();
  return std::find(saved.begin(), saved.end(), active) != saved.end() ? *active : *saved.front();
}

std::size_t TWorkbook::Find(const std::string& name) const {
  for (std::size_t i = 0; i < SheetList.size(); ++i)
    if (SameName(SheetList[i]->Name, name)) return i;
  return SheetList.size();
}

void TWorkbook::CheckNewName(const std::string& name) const {
  if (name.empty() || name.size() > 31)
    throw std::invalid_argument("A sheet name has 1 to 31 characters: \"" + name + "\"");
  if (name.find_first_of(":\\/?*[]") != std::string::npos)
    throw std::invalid_argument("A sheet name holds none of : \\ / ? * [ ]: \"" + name + "\"");
  if (name.front() == '\'' || name.back() == '\'')
    throw std::invalid_argument("A sheet name neither starts nor ends with an apostrophe: \"" + name + "\"");
  if (Find(name) != SheetList.size())
    throw std::invalid_argument("The sheet name \"" + name + "\" is already taken");
}

void TWorkbook::Insert(std::unique_ptr<TSheet> sheet) {
  SheetList.insert(SheetList.begin() + static_cast<std::ptrdiff_t>(Active), std::move(sheet));
}

TWorksheet& TWorkbook::AddSheet(const std::string& name) {
  CheckNewName(name);
  auto sheet = std::make_unique<TWorksheet>(name);
  TWorksheet& added = *sheet;
  Insert(std::move(sheet));
  return added;
}

TChartSheet& TWorkbook::AddChart(const std::string& name, const TChart& chart) {
  CheckNewName(name);
  for (const TChartSeries& series : chart.Series) {
    if (!Worksheet(series.Sheet))
      throw std::invalid_argument("A chart series refers to the missing worksheet \"" + series.Sheet + "\"");
    for (const TCellRange* range : {&series.X, &series.Y}) {
      CheckCell(range->FirstRow, range->FirstColumn);
      CheckCell(range->LastRow, range->LastColumn);
      if (range->FirstRow != range->LastRow && range->FirstColumn != range->LastColumn)
        throw std::invalid_argument("A chart series is one row or one column");
    }
  }
  auto sheet = std::make_unique<TChartSheet>(name, chart);
  TChartSheet& added = *sheet;
  Insert(std::move(sheet));
  return added;
}

void TWorkbook::Activate(const std::string& name) {
  const std::size_t index = Find(name);
  if (index == SheetList.size()) throw std::invalid_argument("There is no sheet \"" + name + "\"");
  Active = index;
}

TWorksheet* TWorkbook::Worksheet(const std::string& name) {
  const std::size_t index = Find(name);
  return index == SheetList.size() ? nullptr : dynamic_cast<TWorksheet*>(SheetList[index].get());
}

const TWorksheet* TWorkbook::Worksheet(const std::string& name) const {
  return const_cast<TWorkbook*>(this)->Worksheet(name);
}

void SetWorkbookShow(TWorkbookShowFunc show) { CurrentShow() = std::move(show); }

std::string ShowWorkbook(const TWorkbook& book) {
  const auto& show = CurrentShow();
  if (!show) throw std::runtime_error("No spreadsheet program is connected");
  return show(book);
}

}  // namespace shared
