// Curve points from worksheet 1 of a workbook file.
#include "synthesis/engine/SheetImport.h"

#include <exception>
#include <string>
#include <vector>

namespace vesk {

using shared::ESheetCellKind;

namespace {

// Columns A to E: number, position, output and input rotation.
constexpr int32_t kLastColumn = 5;

}  // namespace

double TSheetFileCells::Value(int32_t row, int32_t column) const {
  const shared::TSheetCell& cell = fSheet.Cell(row, column);
  switch (cell.Kind) {
    case ESheetCellKind::Empty:
      return 0;
    case ESheetCellKind::Number:
    case ESheetCellKind::Boolean:
      return cell.Number;
    case ESheetCellKind::Text: {
      if (cell.Text.find_first_not_of(" \t") == std::string::npos) return 0;
      double value = 0;
      if (shared::ParseSheetNumber(cell.Text, value)) return value;
      break;
    }
    case ESheetCellKind::Error:
      break;
  }
  // Long text is cut so that the message stays readable.
  std::string shown = cell.Text.substr(0, 40);
  if (shown.size() < cell.Text.size()) shown += "...";
  throw shared::ESheetFileError("Cell " + shared::SheetCellName(row, column) + " holds \"" + shown +
                                "\", which is no number.");
}

bool TSheetFileCells::IsEmpty(int32_t row, int32_t column) const {
  const shared::TSheetCell& cell = fSheet.Cell(row, column);
  return cell.Kind == ESheetCellKind::Empty ||
         (cell.Kind == ESheetCellKind::Text && cell.Text.find_first_not_of(" \t") == std::string::npos);
}

void ImportCurveFromFile(TSpline& curve, const std::string& path, std::string* notice) {
  shared::TSheetFile sheet;
  std::exception_ptr fault;
  try {
    sheet.LoadFromFile(path);
  } catch (const shared::ESheetFileError&) {
    fault = std::current_exception();
  }
  const TSheetFileCells cells(sheet);
  std::string told;
  curve.ImportFromSheet(cells, &told);
  // The points end at the first row without a number in column A; anything below it is left.
  const int32_t end = curve.Count() + 2;
  if (!fault && curve.Count() < TSpline::kCapacity) {
    std::vector<int32_t> left = sheet.FilledRows(end, kLastColumn);
    if (!left.empty()) {
      const bool several = left.size() > 1;
      std::string text = "Column A is empty or 0 in row " + std::to_string(end) +
                         ", which ends the points: row" + (several ? "s " : " ") + shared::NumberListText(left) +
                         (several ? " were" : " was") + " not read.";
      told = told.empty() ? text : text + "\n\n" + told;
    }
  }
  if (notice) *notice = told;
  if (fault) std::rethrow_exception(fault);
}

}  // namespace vesk
