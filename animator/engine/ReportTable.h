// The framed point tables of the animator's HTML report (curve points, areas): title row, head
// row and indented cells, one line each, values in the display units of the unit service.
#pragma once

#include <ostream>
#include <string>

#include "shared/Complex.h"

namespace quillon {

// The table line, the title row across all columns, and the head row up to its "Nr." cell.
void BeginReportTable(std::ostream& out, const std::string& title, int columns, int numberWidth);
// A head cell of the given width in percent.
void ReportHeadCell(std::ostream& out, int width, const std::string& text);
void ReportCell(std::ostream& out, const std::string& text);
// Two cells: x and y, or in polar display the distance from the origin and the angle.
void ReportPointCells(std::ostream& out, const shared::TComplex& p, bool polar);
// Closes the table and leaves an empty paragraph after it.
void EndReportTable(std::ostream& out);

}  // namespace quillon
