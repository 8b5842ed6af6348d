// The tabular views of TAniMechanism: the properties grid, the HTML report's property and path
// point tables, and the mechanism block of the spreadsheet export.
#include <algorithm>
#include <cmath>
#include <string>

#include "animator/engine/AniMechanism.h"
#include "animator/engine/PropertyGrid.h"
#include "shared/Convert.h"
#include "shared/TextLine.h"
#include "shared/Workbook.h"

namespace quillon {

namespace {

using shared::TConvert;

// The two shown values of a point: (R, angle) when polar, else (x, y), in SI units.
struct TShown {
  double A = 0;
  double B = 0;
};

TShown Shown(double x, double y, bool polar) {
  if (polar) return {std::hypot(x, y), std::atan2(y, x)};
  return {x, y};
}

// Categories of the two shown values of a vector whose magnitude is of category magnitude.
int SecondCategory(int magnitude, bool polar) { return polar ? shared::cuAngle : magnitude; }

// One pair of joints of a link, j before k in its name.
struct TLinkPair {
  std::string Caption;  // "Link " + name
  std::string Letters;
  bool Valid = false;
  double Length = 0;
};

template <typename TVisit>
void ForEachLinkPair(const TAniMechanism& m, TVisit visit) {
  const auto design = [&m](int32_t index) -> const TPositionRecord* {
    if (index < 0 || index >= m.JointCount()) return nullptr;
    const TPositionRecord& p = m.Joints[static_cast<size_t>(index)]->Positions[0];
    return p.Invalid ? nullptr : &p;
  };
  for (const auto& link : m.Links) {
    const int32_t count = std::min<int32_t>(static_cast<int32_t>(link->Name.size()), TAniLink::kMaxJoints);
    for (int32_t j = 0; j < count; ++j) {
      for (int32_t k = j + 1; k < count; ++k) {
        TLinkPair pair;
        pair.Caption = "Link " + link->Name;
        pair.Letters = std::string{link->Name[static_cast<size_t>(j)], link->Name[static_cast<size_t>(k)]};
        const TPositionRecord* a = design(link->JointIndex[static_cast<size_t>(j)]);
        const TPositionRecord* b = design(link->JointIndex[static_cast<size_t>(k)]);
        pair.Valid = a && b;
        if (pair.Valid) pair.Length = std::hypot(b->X - a->X, b->Y - a->Y);
        visit(pair);
      }
    }
  }
}

std::string Letter(const TAniJoint& joint) { return std::string(1, static_cast<char>(joint.Letter)); }

}  // namespace

void TAniMechanism::FillPropertiesGrid(TPropertyGrid* grid, bool polar) {
  if (!grid) return;
  const TConvert& convert = shared::Convert();
  TPropertyGrid& g = *grid;
  const std::string length = convert.UnitLabel(shared::cuLength);
  g.SetColCount(3);
  g.SetRowCount(N + 2);
  int32_t row = 0;
  g.SetCell(0, row, "Properties");
  g.SetCell(1, row, (polar ? "R " : "x ") + length);
  g.SetCell(2, row, polar ? "Angle " + convert.UnitLabel(shared::cuAngle) : "y " + length);
  for (const auto& joint : Joints) {
    ++row;
    g.SetCell(0, row, joint->Caption());
    const TPositionRecord& p = joint->Positions[0];
    // Cleared rather than left: they would show whatever an earlier fill put in this row.
    if (p.Invalid) {
      g.SetCell(1, row, "");
      g.SetCell(2, row, "");
      continue;
    }
    const TShown v = Shown(p.X, p.Y, polar);
    g.SetCell(1, row, convert.FormatSI(shared::cuLength, v.A));
    g.SetCell(2, row, convert.FormatSI(SecondCategory(shared::cuLength, polar), v.B));
  }
  ++row;
  g.SetCell(0, row, "Links");
  g.SetCell(1, row, "Joints");
  g.SetCell(2, row, "Length " + length);
  ForEachLinkPair(*this, [&](const TLinkPair& pair) {
    ++row;
    g.SetCell(0, row, pair.Caption);
    g.SetCell(1, row, pair.Letters);
    g.SetCell(2, row, pair.Valid ? convert.FormatSI(shared::cuLength, pair.Length) : "");
  });
  LastPropertyRow = row;
  ++row;
  g.ClearRow(row);
  for (const auto& input : Inputs) input->WriteGrid(g, row);
  // A large mechanism at few positions per cycle fills more than N + 2 rows.
  g.SetRowCount(std::max(N + 2, row + 1));
  for (int32_t r = row + 1; r < g.RowCount(); ++r) g.ClearRow(r);
}

void TAniMechanism::WritePropertiesHTML(std::ostream& out, bool polar) const {
  const TConvert& convert = shared::Convert();
  const char* end = shared::kLineEnd;
  const std::string length = convert.UnitLabel(shared::cuLength);
  if (polar) out << "<p>Polar Coordinates</p>" << end;
  out << "<table border=\"2\" bordercolor=\"#000000\" width=\"100%\">" << end;
  out << "<tr><td colspan=\"3\" bgcolor=\"#FFFFCC\" width=\"100%\">"
      << "<font face=\"Arial\" size=\"4\">Mechanism Properties</font></td></tr>" << end;
  out << "    <tr><td width=\"20%\">Joints</td>" << end;
  if (polar) {
    out << "<td width=\"40%\">R " << length << "</td>" << end;
    out << "<td width=\"40%\">Angle " << convert.UnitLabel(shared::cuAngle) << "</td></tr>" << end;
  } else {
    out << "<td width=\"40%\">x " << length << "</td>" << end;
    out << "<td width=\"40%\">y " << length << "</td></tr>" << end;
  }
  for (const auto& joint : Joints) {
    const TPositionRecord& p = joint->Positions[0];
    const TShown v = Shown(p.X, p.Y, polar);
    out << "    <tr><td>" << Letter(*joint) << "</td>" << end;
    out << "<td>" << convert.FormatSI(shared::cuLength, v.A) << "</td>" << end;
    out << "<td>" << convert.FormatSI(SecondCategory(shared::cuLength, polar), v.B) << "</td></tr>" << end;
  }
  out << "<tr><td>Links</td>" << end;
  out << "<td>Joints</td>" << end;
  out << "<td>Length " << length << "</td></tr>" << end;
  ForEachLinkPair(*this, [&](const TLinkPair& pair) {
    out << "<tr><td>" << pair.Caption << "</td>" << end;
    out << "<td>" << pair.Letters << "</td>" << end;
    if (pair.Valid)
      out << "<td>" << convert.FormatSI(shared::cuLength, pair.Length) << "</td></tr>" << end;
    else
      out << "<td>-</td></tr>" << end;
  });
  out << "</table>" << end;
  out << "<p></p>" << end;
  for (const auto& input : Inputs) input->WriteHTML(out);
}

void TAniMechanism::WritePathPointsHTML(std::ostream& out, bool polar) const {
  if (!Tracer) return;
  const TConvert& convert = shared::Convert();
  const char* end = shared::kLineEnd;
  out << "<table border=\"2\" bordercolor=\"#000000\" width=\"100%\">" << end;
  out << "<tr><td colspan=\"11\" bgcolor=\"#FFFFCC\">"
      << "<font face=\"Arial\" size=\"4\">Path points</font></td></tr>" << end;
  out << "<tr>" << end;
  out << "<td width=\"5%\">Nr.</td>" << end;
  out << "<td width=\"5%\">Time" << convert.UnitLabel(shared::cuTime) << "</td>" << end;
  out << "<td width=\"10%\">Input Rotation" << convert.UnitLabel(shared::cuAngle) << "</td>" << end;
  struct THead {
    const char* Caption;
    int Category;
  };
  const THead polarHeads[8] = {{"Path R ", shared::cuLength}, {"Path Angle ", shared::cuAngle},
                               {"Vel. ", shared::cuVel},       {"Angle ", shared::cuAngle},
                               {"Acc. ", shared::cuAcc},       {"Angle ", shared::cuAngle},
                               {"IC R ", shared::cuLength},    {"IC Angle ", shared::cuAngle}};
  const THead cartesianHeads[8] = {{"Path x ", shared::cuLength}, {"Path y ", shared::cuLength},
                                   {"Vel. x ", shared::cuVel},    {"Vel. y ", shared::cuVel},
                                   {"Acc. x ", shared::cuAcc},    {"Acc. y ", shared::cuAcc},
                                   {"IC x ", shared::cuLength},   {"IC y ", shared::cuLength}};
  for (const THead& head : polar ? polarHeads : cartesianHeads)
    out << "<td width=\"10%\">" << head.Caption << convert.UnitLabel(head.Category) << "</td>" << end;
  out << "</tr>" << end;

  const auto cells = [&](double x, double y, bool infinite, int category) {
    if (infinite) {
      out << "<td>infinity</td>" << end << "<td>infinity</td>" << end;
      return;
    }
    const TShown v = Shown(x, y, polar);
    out << "<td>" << convert.FormatSI(category, v.A) << "</td>" << end;
    out << "<td>" << convert.FormatSI(SecondCategory(category, polar), v.B) << "</td>" << end;
  };
  // Velocity and acceleration records exist only while the tracer is analysed or shows vectors.
  const auto record = [](const std::vector<TPositionRecord>& records, int32_t k) {
    return static_cast<size_t>(k) < records.size() ? records[static_cast<size_t>(k)] : TPositionRecord{};
  };
  const int32_t last = std::min(Len, N);
  for (int32_t k = 0; k <= last; ++k) {
    out << "<tr>" << end;
    out << "<td>" << k << "</td>" << end;
    out << "<td>" << convert.FormatSI(shared::cuTime, GetTime(k)) << "</td>" << end;
    out << "<td>" << convert.FormatSI(shared::cuAngle, GetInputValue(k)) << "</td>" << end;
    const TPositionRecord p = record(Tracer->Positions, k);
    const TPositionRecord v = record(Tracer->Velocity, k);
    const TPositionRecord a = record(Tracer->Acceleration, k);
    cells(p.X, p.Y, p.Invalid, shared::cuLength);
    cells(v.X, v.Y, v.Invalid, shared::cuVel);
    cells(a.X, a.Y, a.Invalid, shared::cuAcc);
    const TCentreRecord c =
        static_cast<size_t>(k) < CentreAt.size() ? CentreAt[static_cast<size_t>(k)] : TCentreRecord{0, 0, 1};
    cells(c.X, c.Y, c.AtInfinity, shared::cuLength);
    out << "</tr>" << end;
  }
  out << "</table>" << end;
  out << "<p></p>" << end;
}

void TAniMechanism::ExportToVariant(int32_t& row, shared::TWorksheet& sheet, bool polar) const {
  const TConvert& convert = shared::Convert();
  const std::string length = convert.UnitLabel(shared::cuLength);
  sheet.SetText(row, 1, PresetName);
  ++row;
  sheet.SetText(row, 1, "Joints");
  sheet.SetRowBold(row);
  ++row;
  sheet.SetText(row, 1, "Nr");
  sheet.SetText(row, 2, (polar ? "R " : "x ") + length);
  sheet.SetText(row, 3, polar ? "Arg " + convert.UnitLabel(shared::cuAngle) : "y " + length);
  sheet.SetRowBold(row);
  ++row;
  for (const auto& joint : Joints) {
    sheet.SetText(row, 1, Letter(*joint));
    const TPositionRecord& p = joint->Positions[0];
    if (!p.Invalid) {
      const TShown v = Shown(p.X, p.Y, polar);
      sheet.SetNumber(row, 2, convert.FromSI(shared::cuLength, v.A));
      sheet.SetNumber(row, 3, convert.FromSI(SecondCategory(shared::cuLength, polar), v.B));
    }
    ++row;
  }
  sheet.SetText(row, 1, "Links");
  sheet.SetText(row, 2, "Joints");
  sheet.SetText(row, 3, "Length " + length);
  sheet.SetRowBold(row);
  ++row;
  ForEachLinkPair(*this, [&](const TLinkPair& pair) {
    sheet.SetText(row, 1, pair.Caption);
    sheet.SetText(row, 2, pair.Letters);
    if (pair.Valid) sheet.SetNumber(row, 3, convert.FromSI(shared::cuLength, pair.Length));
    ++row;
  });
  for (const auto& input : Inputs) input->WriteSheet(sheet, row);
  sheet.SetColumnWidth(1, 4, 15);
}

}  // namespace quillon
