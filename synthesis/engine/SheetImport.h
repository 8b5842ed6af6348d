// Curve points from worksheet 1 of a workbook file: the sheet reader's cells as the curve's
// import reads them.
#pragma once

#include <string>

#include "shared/SheetFile.h"
#include "synthesis/engine/Spline.h"

namespace vesk {

// A cell reads its number, a boolean 1 or 0, text holding a decimal number that number, and an
// empty cell (or blank text) 0. Other text and error values raise ESheetFileError naming the cell.
class TSheetFileCells : public TSheetCells {
 public:
  explicit TSheetFileCells(const shared::TSheetFile& sheet) : fSheet(sheet) {}
  double Value(int32_t row, int32_t column) const override;
  // No value, or only blanks.
  bool IsEmpty(int32_t row, int32_t column) const override;

 private:
  const shared::TSheetFile& fSheet;
};

// The curve reads its points from worksheet 1 of the file. notice: what the user must learn
// (rows below the end of the points that were not read, and TSpline::ImportFromSheet's), "" when
// nothing. A file that fails part-way still gives the curve the rows read before the fault; then
// its error (ESheetFileError) is raised.
void ImportCurveFromFile(TSpline& curve, const std::string& path, std::string* notice = nullptr);

}  // namespace vesk
