// The report's point tables: framing, head cells and value cells.
#include "animator/engine/ReportTable.h"

#include "shared/Convert.h"
#include "shared/TextLine.h"

namespace quillon {

void BeginReportTable(std::ostream& out, const std::string& title, int columns, int numberWidth) {
  const char* end = shared::kLineEnd;
  out << "<table border=\"1\" bordercolor=\"#000000\" width=\"100%\">" << end;
  out << "    <tr><td colspan=\"" << columns << "\" bgcolor=\"#FFFFCC\" width=\"100%\">"
      << "<font face=\"Arial\" size=\"4\">" << title << "</font></td></tr>" << end;
  out << "    <tr>" << end;
  ReportHeadCell(out, numberWidth, "Nr.");
}

void ReportHeadCell(std::ostream& out, int width, const std::string& text) {
  out << "        <td width=\"" << width << "%\">" << text << "</td>" << shared::kLineEnd;
}

void ReportCell(std::ostream& out, const std::string& text) {
  out << "        <td>" << text << "</td>" << shared::kLineEnd;
}

void ReportPointCells(std::ostream& out, const shared::TComplex& p, bool polar) {
  const shared::TConvert& convert = shared::Convert();
  if (polar) {
    ReportCell(out, convert.FormatSI(shared::cuLength, p.Abs()));
    ReportCell(out, convert.FormatSI(shared::cuAngle, p.Arg()));
  } else {
    ReportCell(out, convert.FormatSI(shared::cuLength, p.X));
    ReportCell(out, convert.FormatSI(shared::cuLength, p.Y));
  }
}

void EndReportTable(std::ostream& out) {
  out << "</table>" << shared::kLineEnd;
  out << "<p></p>" << shared::kLineEnd;
}

}  // namespace quillon
