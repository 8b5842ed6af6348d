// Curve points from worksheet 1 of a workbook file.
#include "synthesis/engine/SheetImport.h"

#include <exception>
#include <string>

namespace vesk {

using shared::ESheetCellKind;

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
  curve.ImportFromSheet(cells, notice);
  if (fault) std::rethrow_exception(fault);
}

}  // namespace vesk
