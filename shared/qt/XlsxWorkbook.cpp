// .xlsx output of the workbook model: one format per distinct bold/fill/link combination,
// worksheets and chart sheets in tab order, and the hand-over to the desktop.
#include "shared/qt/XlsxWorkbook.h"

#include <xlsxwriter.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <system_error>
#include <tuple>

#include "shared/Cp1252.h"
#include "shared/FilePath.h"
#include "shared/ShellOpen.h"

namespace shared {

namespace {

namespace fs = std::filesystem;

// Creates the file only when it does not exist yet.
bool CreateExclusive(const fs::path& path) {
  std::FILE* file = std::fopen(path.string().c_str(), "wbx");
  if (!file) return false;
  std::fclose(file);
  return true;
}

class TXlsxWriter {
 public:
  // Writes to the file of that name; shown names it in messages.
  TXlsxWriter(const std::string& name, const std::string& shown) : Book(workbook_new(name.c_str())) {
    if (!Book) throw std::runtime_error("The workbook " + shown + " cannot be created");
  }
  ~TXlsxWriter() {
    if (Book) lxw_workbook_free(Book);
  }

  void Write(const TWorkbook& book) {
    const TSheet& opened = book.SavedActiveSheet();
    for (const TSheet* saved : book.SavedSheets()) {
      const TSheet& sheet = *saved;
      const bool active = &sheet == &opened;
      if (const auto* cells = dynamic_cast<const TWorksheet*>(&sheet))
        WriteWorksheet(*cells, active);
      else
        WriteChartSheet(static_cast<const TChartSheet&>(sheet), active);
    }
  }

  void Close() {
    lxw_workbook* book = Book;
    Book = nullptr;  // workbook_close frees it whatever the outcome
    Check(workbook_close(book));
  }

 private:
  static void Check(lxw_error error) {
    if (error != LXW_NO_ERROR)
      throw std::runtime_error(std::string("Workbook error: ") + lxw_strerror(error));
  }

  lxw_format* Format(bool bold, int fill, bool link) {
    if (!bold && fill == 0 && !link) return nullptr;
    lxw_format*& format = Formats[{bold, fill, link}];
    if (!format) {
      format = workbook_add_format(Book);
      if (bold) format_set_bold(format);
      if (fill) {
        format_set_pattern(format, LXW_PATTERN_SOLID);
        format_set_bg_color(format, PaletteColour(fill));
      }
      if (link) {
        format_set_underline(format, LXW_UNDERLINE_SINGLE);
        format_set_font_color(format, LXW_COLOR_BLUE);
      }
    }
    return format;
  }

  void WriteWorksheet(const TWorksheet& sheet, bool active) {
    lxw_worksheet* out = workbook_add_worksheet(Book, Cp1252ToUtf8(sheet.GetName()).c_str());
    if (!out) throw std::runtime_error("The sheet \"" + sheet.GetName() + "\" cannot be added");
    if (active) worksheet_activate(out);
    for (const auto& [column, width] : sheet.ColumnWidths())
      Check(worksheet_set_column(out, column - 1, column - 1, width, nullptr));
    // Row formats reach the row's empty cells; written cells carry the merged format themselves.
    for (int row : sheet.BoldRows())
      Check(worksheet_set_row(out, row - 1, LXW_DEF_ROW_HEIGHT, Format(true, 0, false)));
    for (const auto& [where, cell] : sheet.Cells()) {
      const auto [row, column] = where;
      const TCellFormat merged = sheet.Format(row, column);
      lxw_format* format = Format(merged.Bold, merged.FillColorIndex, !cell.Url.empty());
      const lxw_row_t r = row - 1;
      const lxw_col_t c = static_cast<lxw_col_t>(column - 1);
      if (!cell.Url.empty()) {
        Check(worksheet_write_url_opt(out, r, c, Cp1252ToUtf8(cell.Url).c_str(), format,
                                      Cp1252ToUtf8(cell.Text).c_str(), nullptr));
      } else if (cell.Kind == ECellKind::Number) {
        Check(worksheet_write_number(out, r, c, cell.Number, format));
      } else if (cell.Kind == ECellKind::Text && !cell.Text.empty()) {
        Check(worksheet_write_string(out, r, c, Cp1252ToUtf8(cell.Text).c_str(), format));
      } else if (format) {
        Check(worksheet_write_blank(out, r, c, format));
      }
    }
  }

  void WriteChartSheet(const TChartSheet& sheet, bool active) {
    lxw_chartsheet* out = workbook_add_chartsheet(Book, Cp1252ToUtf8(sheet.GetName()).c_str());
    if (!out) throw std::runtime_error("The chart sheet \"" + sheet.GetName() + "\" cannot be added");
    if (active) chartsheet_activate(out);
    const TChart& source = sheet.Chart;
    lxw_chart* chart = workbook_add_chart(Book, LXW_CHART_SCATTER_SMOOTH);
    for (const TChartSeries& s : source.Series) {
      lxw_chart_series* series = chart_add_series(chart, nullptr, nullptr);
      const std::string on = Cp1252ToUtf8(s.Sheet);
      chart_series_set_categories(series, on.c_str(), s.X.FirstRow - 1, s.X.FirstColumn - 1, s.X.LastRow - 1,
                                  s.X.LastColumn - 1);
      chart_series_set_values(series, on.c_str(), s.Y.FirstRow - 1, s.Y.FirstColumn - 1, s.Y.LastRow - 1,
                              s.Y.LastColumn - 1);
      if (!s.Name.empty()) chart_series_set_name(series, Cp1252ToUtf8(s.Name).c_str());
    }
    if (source.Title.empty())
      chart_title_off(chart);
    else
      chart_title_set_name(chart, Cp1252ToUtf8(source.Title).c_str());
    if (!source.ValueAxisTitle.empty())
      chart_axis_set_name(chart->y_axis, Cp1252ToUtf8(source.ValueAxisTitle).c_str());
    if (!source.HasLegend) chart_legend_set_position(chart, LXW_CHART_LEGEND_NONE);
    chart_axis_major_gridlines_set_visible(chart->x_axis, source.XMajorGridlines);
    chart_axis_minor_gridlines_set_visible(chart->x_axis, source.XMinorGridlines);
    Check(chartsheet_set_chart(out, chart));
  }

  lxw_workbook* Book;
  std::map<std::tuple<bool, int, bool>, lxw_format*> Formats;
};

}  // namespace

void WriteXlsx(const TWorkbook& book, const std::string& path) {
  // Takes the target's place only when complete, so a failure keeps what was there and leaves
  // nothing beside it.
  TReplacingFile file(path, ".part", "The workbook " + path + " cannot be written: ");
  TXlsxWriter writer(file.WritableName(), path);
  writer.Write(book);
  errno = 0;
  try {
    writer.Close();
  } catch (const std::runtime_error&) {
    // The library's own words name neither the book nor the cause (a full disk, a size limit).
    if (errno == 0) throw;
    throw std::runtime_error(file.Failure(errno, "writing"));
  }
  file.Commit();
}

std::string ReserveBookFile(const std::string& directory, const std::function<std::string(int)>& nameOf,
                            int count) {
  const fs::path dir(directory);
  for (int n = 1; n <= count; ++n) {
    const fs::path candidate = dir / nameOf(n);
    std::error_code error;
    if (fs::exists(candidate, error)) continue;
    if (CreateExclusive(candidate)) return candidate.string();
    // Taken meanwhile: try the next; anything else will not pass for the next name either.
    if (errno != EEXIST)
      throw std::runtime_error("Cannot write workbook file \"" + candidate.string() +
                               "\": " + std::strerror(errno) + ".");
  }
  throw std::runtime_error("No new workbook can be created in " + directory);
}

std::string ReserveBookFile(const std::string& directory) {
  return ReserveBookFile(
      directory, [](int n) { return "Book" + std::to_string(n) + ".xlsx"; }, 99999);
}

std::string SaveAndOpenXlsx(const TWorkbook& book, const std::string& directory) {
  std::string path = book.FileName;
  if (path.empty()) {
    path = ReserveBookFile(directory.empty() ? fs::temp_directory_path().string() : directory);
    try {
      WriteXlsx(book, path);
    } catch (...) {
      std::error_code ignored;
      fs::remove(path, ignored);
      throw;
    }
  } else {
    WriteXlsx(book, path);
  }
  // The shell-open target is Windows-1252 text; the path is the file system's own (UTF-8).
  if (!ShellOpen(Utf8ToCp1252(path)))
    throw std::runtime_error("The workbook was saved as " + path +
                             ", but the desktop opened no program for it");
  return path;
}

void ConnectXlsxWorkbook(const std::string& directory) {
  SetWorkbookShow([directory](const TWorkbook& book) { return SaveAndOpenXlsx(book, directory); });
}

}  // namespace shared
