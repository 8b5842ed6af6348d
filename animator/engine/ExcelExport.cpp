// The workbook export's order of writing.
#include "animator/engine/ExcelExport.h"

#include "animator/engine/AniMechanism.h"
#include "animator/engine/MotionGraph.h"
#include "shared/ProjectInfo.h"
#include "shared/Workbook.h"

namespace quillon {

void WriteExcelWorkbook(shared::TWorkbook& book, const TMotionGraph& graph, const TAniMechanism& mechanism,
                        const shared::TProjectInfo& info, const TExcelExportOptions& options,
                        const std::string& propertiesSheetName, bool polar) {
  if (options.Trans) graph.WriteTransmissionSheet(book);
  const bool link[3] = {options.Rot, options.AngVel, options.AngAcc};
  for (int quantity = 2; quantity >= 0; --quantity)
    if (link[quantity]) graph.WriteLinkSheet(book, quantity);
  const bool path[3] = {options.Path, options.Vel, options.Acc};
  for (int quantity = 2; quantity >= 0; --quantity)
    if (path[quantity]) graph.WritePathSheet(book, quantity);
  graph.WriteErrorSheet(book);
  if (options.Vectors) graph.WriteVectorsSheet(book);
  if (options.Properties) {
    shared::TWorksheet& sheet = book.AddSheet(propertiesSheetName);
    int row = 1;
    info.WriteToExcel(row, sheet, shared::kAnimatorInfoFill);
    ++row;
    mechanism.ExportToVariant(row, sheet, polar);
  }
}

}  // namespace quillon
