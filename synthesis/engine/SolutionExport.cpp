// The export sequences of a solution: animator document, workbook and SAM deck.
#include "synthesis/engine/SolutionExport.h"

#include <stdexcept>

#include "shared/ProjectInfo.h"
#include "shared/TabLine.h"
#include "shared/Workbook.h"
#include "synthesis/engine/Mechanism.h"
#include "synthesis/engine/Spline.h"

namespace vesk {

void ExportAnimatorDocument(TMechanism& solution, const TSpline& curve, const shared::TProjectInfo& info,
                            const std::string& fileName) {
  shared::TTabLines& lines = shared::TabLines();
  lines.Clear();
  solution.ExportToAnimator();
  curve.ExportTabLines(lines);
  info.WriteInfoSection(lines);
  lines.SetFileName(fileName);
  lines.SaveToFile();
}

void ExportWorkbook(TMechanism& solution, const shared::TProjectInfo& info, const TWorkbookOptions& options,
                    shared::TWorkbook& book) {
  if (options.Data) solution.ExportExcelPath(book.AddSheet("Data"));
  if (options.Properties) {
    shared::TWorksheet& sheet = book.AddSheet("Properties");
    int32_t row = 1;
    info.WriteToExcel(row, sheet, shared::kSynthesisInfoFill);
    ++row;
    solution.ExportExcelProperties(row, sheet);
  }
  // The charts draw from the motion data, which the dialog keeps with them.
  if (options.Graphs && book.Worksheet("Data")) solution.ExportExcelCharts(book);
  if (options.Properties) book.Activate("Properties");
}

void ExportSamDeck(const TMechanism& solution, const std::string& fileName) {
  if (!solution.ExportSam(fileName)) throw std::runtime_error(TMechanism::kSamRefusal);
}

}  // namespace vesk
