// The animator's workbook export: the sheets of the chosen quantities, the vectors and the
// properties written into a workbook in the export's order.
#pragma once

#include <string>

namespace shared {
class TProjectInfo;
class TWorkbook;
}  // namespace shared

namespace quillon {

class TAniMechanism;
class TMotionGraph;

// The nine boxes of the export dialog.
struct TExcelExportOptions {
  bool Properties = true;
  bool Vectors = true;
  bool Path = true;
  bool Vel = true;
  bool Acc = true;
  bool Rot = true;
  bool AngVel = true;
  bool AngAcc = true;
  bool Trans = true;
};

// Writes into the book: transmission angles, link angular acceleration, angular velocity and
// rotation, path acceleration, velocity and length, the error sheet (which the graph writes only
// while the error graphs are available), the vectors, then the properties sheet named
// propertiesSheetName: the project block from row 1, a row gap, the mechanism's joints and links.
// Each sheet goes in front of the one before, so the tabs read the other way round. The sheets
// take the graph's x axis and the display units. Raises std::invalid_argument for a sheet name
// the book refuses.
void WriteExcelWorkbook(shared::TWorkbook& book, const TMotionGraph& graph, const TAniMechanism& mechanism,
                        const shared::TProjectInfo& info, const TExcelExportOptions& options,
                        const std::string& propertiesSheetName, bool polar);

}  // namespace quillon
