// The exports of one solution as the main window's commands and synthtool both make them: the
// animator's mechanism document, the workbook of the Excel export and the SAM deck.
#pragma once

#include <string>

namespace shared {
class TProjectInfo;
class TWorkbook;
}  // namespace shared

namespace vesk {

class TMechanism;
class TSpline;

// The three boxes of the Excel export options.
struct TWorkbookOptions {
  bool Properties = true;
  bool Graphs = true;
  bool Data = true;
};

// The process-wide tab-line store cleared; the solution's sections (header 0 and "Vesk"), the
// curve's "Curve" section and the project's "Info" section; saved to fileName with the keyed
// checksum line, the file replaced only when whole, and the store cleared again. Raises
// std::runtime_error naming the file when it cannot be written.
void ExportAnimatorDocument(TMechanism& solution, const TSpline& curve, const shared::TProjectInfo& info,
                            const std::string& fileName);

// Fills a new book as the Excel export does: "Data" with the motion data, "Properties" with the
// project information from row 1 and the solution's properties from row 6, then the charts,
// each new sheet in front of the active one; "Properties" is active at the end when written.
void ExportWorkbook(TMechanism& solution, const shared::TProjectInfo& info, const TWorkbookOptions& options,
                    shared::TWorkbook& book);

// The SAM deck. A type SAM cannot take (slider four-bar, five-bar) raises std::runtime_error
// with TMechanism::kSamRefusal and writes nothing; a file that cannot be written raises too.
void ExportSamDeck(const TMechanism& solution, const std::string& fileName);

}  // namespace vesk
