// The mechanism's reports: the HTML properties table and the three workbook writers (properties,
// path data, charts), all in the display units of the unit service.
#include <string>

#include "shared/Convert.h"
#include "shared/ProjectInfo.h"
#include "shared/TextLine.h"
#include "shared/Workbook.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/Mechanism.h"
#include "synthesis/engine/ProgramInfo.h"

namespace vesk {

using shared::TComplex;

namespace {

// The quantities of columns 5..16 of the path sheet: column title, chart name, axis title,
// unit category.
struct TPathColumn {
  const char* Title;
  const char* Chart;
  const char* Axis;
  int Category;
};

constexpr TPathColumn kPathColumns[] = {
    {"Error", "Path Error", "Error ", shared::cuLength},
    {"Path", "Path", "Path ", shared::cuLength},
    {"Velocity", "Path Velocity", "Velocity ", shared::cuVel},
    {"Acceleration", "Path Acceleration", "Acceleration ", shared::cuAcc},
    {"Output", "Output", "Output ", shared::cuAngle},
    {"Output Velocity", "Output Velocity", "Output Velocity ", shared::cuAngVel},
    {"Output Acceleration", "Output Acceleration", "Output Acceleration ", shared::cuAngAcc},
    {"Input", "Input", "Input ", shared::cuAngle},
    {"Input Velocity", "Input Velocity", "Input Velocity ", shared::cuAngVel},
    {"Input Acceleration", "Input Acceleration", "Input Acceleration ", shared::cuAngAcc},
    {"Ratio Out:In", "Ratio Out In", "Ratio Out In ", shared::cuNone},
    {"Transmission Angle", "Transmission Angle", "Transmission Angle ", shared::cuAngle},
};
constexpr int kFirstPathRow = 5;

// Both co-ordinates of a point as shown: x and y, or modulus and angle.
void Coordinates(const TComplex& p, double& a, double& b, int& categoryB) {
  const shared::TConvert& convert = shared::Convert();
  if (AppOptions.IsPolar) {
    a = convert.FromSI(shared::cuLength, p.Abs());
    b = convert.FromSI(shared::cuAngle, p.Arg());
    categoryB = shared::cuAngle;
  } else {
    a = convert.FromSI(shared::cuLength, p.X);
    b = convert.FromSI(shared::cuLength, p.Y);
    categoryB = shared::cuLength;
  }
}

}  // namespace

void TMechanism::WriteHtml(std::ostream& out) const {
  const shared::TConvert& convert = shared::Convert();
  const bool polar = AppOptions.IsPolar;
  const std::string end = shared::kLineEnd;
  const std::string length = convert.UnitLabel(shared::cuLength);
  const std::string angle = convert.UnitLabel(shared::cuAngle);
  auto row = [&](const std::string& a, const std::string& b, const std::string& c) {
    out << "    <tr><td>" << a << "</td><td>" << b << "</td><td>" << c << "</td></tr>" << end;
  };
  auto point = [&](const std::string& label, const TComplex& p) {
    if (polar)
      row(label, convert.FormatSI(shared::cuLength, p.Abs()), convert.FormatSI(shared::cuAngle, p.Arg()));
    else
      row(label, convert.FormatSI(shared::cuLength, p.X), convert.FormatSI(shared::cuLength, p.Y));
  };
  out << "<table border=\"1\" bordercolor=\"#000000\" width=\"100%\">" << end;
  out << "    <tr><td colspan=\"3\" bgcolor=\"#FFFFCC\"><font face=\"Arial\" size=\"4\">Mechanism Properties</font>"
      << "</td></tr>" << end;
  row("Joints", polar ? "R " + length : "x " + length, polar ? "Angle " + angle : "y " + length);
  for (int32_t i = 1; i <= Joints.Count(); ++i) point(Joints.GetJoint(i)->GetName(), *Joints.Items(i));
  row("Links", "Joints", "Length " + length);
  for (int32_t n = 1; n <= Links.Count(); ++n) {
    const TLink& link = *Links.GetLink(n);
    for (int32_t i = 1; i <= link.JointCount(); ++i)
      for (int32_t j = i + 1; j <= link.JointCount(); ++j)
        row(std::to_string(n), link.Joint(i)->GetName() + link.Joint(j)->GetName(),
            convert.FormatSI(shared::cuLength, link.JointDistance(i, j, false)));
  }
  row("Time ", convert.FormatSI(shared::cuTime, InputFunction.Tmax()), convert.UnitLabel(shared::cuTime));
  row("Input Rotation ", convert.FormatSI(shared::cuAngle, InputFunction.Xmax()), angle);
  if (MechanismType == kFiveBarType) row("Gear Ratio ", convert.FormatSI(shared::cuNone, Links.Ratio), "-");
  const TLink* guided = Links.GetLink(4);
  if (MechanismType == kSliderType && guided && guided->GuideLine()) {
    point("Slider Point 1 ", guided->GuideLine()->Point1);
    point("Slider Point 2 ", guided->GuideLine()->Point2);
  }
  out << "</table>" << end << "<p></p>" << end;
}

void TMechanism::ExportExcelProperties(int32_t& row, shared::TWorksheet& sheet) const {
  const shared::TConvert& convert = shared::Convert();
  const bool polar = AppOptions.IsPolar;
  const std::string length = convert.UnitLabel(shared::cuLength);
  auto point = [&](const std::string& label, const TComplex& p) {
    double a = 0, b = 0;
    int category = 0;
    Coordinates(p, a, b, category);
    sheet.SetText(row, 1, label);
    sheet.SetNumber(row, 2, a);
    sheet.SetNumber(row, 3, b);
    ++row;
  };
  sheet.SetText(row, 1, Name);
  sheet.SetNumber(row, 2, ID);
  ++row;
  sheet.SetText(row, 1, "Joints");
  sheet.SetRowBold(row);
  ++row;
  sheet.SetText(row, 1, "Nr");
  sheet.SetText(row, 2, (polar ? "R " : "x ") + length);
  sheet.SetText(row, 3, polar ? "Arg " + convert.UnitLabel(shared::cuAngle) : "y " + length);
  ++row;
  for (int32_t i = 1; i <= Joints.Count(); ++i) {
    const TJoint& joint = *Joints.GetJoint(i);
    if (!joint.Inf) point(joint.GetName(), joint);
  }
  sheet.SetText(row, 1, "Links");
  ++row;
  sheet.SetText(row, 1, "Nr");
  sheet.SetText(row, 2, "Length " + length);
  ++row;
  for (int32_t n = 1; n <= Links.Count(); ++n) {
    const TLink& link = *Links.GetLink(n);
    sheet.SetText(row, 1, "Link " + std::to_string(n));
    ++row;
    for (int32_t i = 1; i <= link.JointCount(); ++i)
      for (int32_t j = i + 1; j <= link.JointCount(); ++j) {
        sheet.SetText(row, 1, link.Joint(i)->GetName() + link.Joint(j)->GetName());
        sheet.SetNumber(row, 2, convert.FromSI(shared::cuLength, link.JointDistance(i, j, false)));
        ++row;
      }
  }
  sheet.SetText(row, 1, "Time " + convert.UnitLabel(shared::cuTime));
  sheet.SetNumber(row, 2, convert.FromSI(shared::cuTime, InputFunction.Tmax()));
  ++row;
  sheet.SetText(row, 1, "Input Rotation " + convert.UnitLabel(shared::cuAngle));
  sheet.SetNumber(row, 2, convert.FromSI(shared::cuAngle, InputFunction.Xmax()));
  ++row;
  const TLink* guided = Links.GetLink(4);
  if (MechanismType == kFiveBarType) {
    sheet.SetText(row, 1, "Gear Ratio");
    sheet.SetNumber(row, 2, Links.Ratio);
    ++row;
  } else if (MechanismType == kSliderType && guided && guided->GuideLine()) {
    point("Slider P1", guided->GuideLine()->Point1);
    point("Slider P2", guided->GuideLine()->Point2);
  }
  row += 2;
  sheet.SetFill({row, 1, row, 4}, 36);
  sheet.SetText(row, 1, ProgramInfo().Title);
  sheet.SetHyperlink(row, 3, ProgramInfo().ProductURL, ProgramInfo().ProductURL);
  sheet.SetColumnWidth(1, 1, 10);
  sheet.SetColumnWidth(2, 4, 15);
  ++row;
}

void TMechanism::ExportExcelPath(shared::TWorksheet& sheet) {
  RecalcPathTimes();
  const shared::TConvert& convert = shared::Convert();
  const bool polar = AppOptions.IsPolar;
  sheet.SetText(1, 1, Name);
  sheet.SetBold(1, 1);
  sheet.SetText(2, 1, "Path");
  sheet.SetRowBold(3);
  const int categories[16] = {shared::cuNone, shared::cuTime, shared::cuLength, polar ? shared::cuAngle : shared::cuLength};
  sheet.SetText(3, 1, "Nr");
  sheet.SetText(3, 2, "Time");
  sheet.SetText(3, 3, polar ? "Path R" : "Path x");
  sheet.SetText(3, 4, polar ? "Path Angle" : "Path y");
  for (int c = 0; c < 4; ++c) sheet.SetText(4, c + 1, convert.UnitLabel(categories[c]));
  for (int c = 0; c < 12; ++c) {
    sheet.SetText(3, c + 5, kPathColumns[c].Title);
    sheet.SetText(4, c + 5, convert.UnitLabel(kPathColumns[c].Category));
  }
  sheet.SetFill({1, 1, 4, 16}, 36);
  const double dt = InputFunction.TimeStep();
  for (int32_t i = 1; i <= PathPoints.Count(); ++i) {
    const TPathPoint& p = *PathPoints.GetPathPoint(i);
    const int row = kFirstPathRow + i - 1;
    const double omega = InputFunction.Velocity(p.Time);
    double a = 0, b = 0;
    int category = 0;
    Coordinates(p, a, b, category);
    const double values[12] = {p.Deviation,
                               p.PathLength,
                               p.PathVelocity(omega),
                               PathPoints.PathAcceleration(i, dt, omega),
                               p.Out,
                               p.OutputVelocity(omega),
                               PathPoints.OutputAcceleration(i, dt, omega),
                               p.In,
                               omega,
                               InputFunction.Acceleration(p.Time),
                               p.OutputInputRatio(),
                               p.TransAngle};
    sheet.SetNumber(row, 1, i);
    sheet.SetNumber(row, 2, convert.FromSI(shared::cuTime, p.Time));
    sheet.SetNumber(row, 3, a);
    sheet.SetNumber(row, 4, b);
    for (int c = 0; c < 12; ++c) sheet.SetNumber(row, c + 5, convert.FromSI(kPathColumns[c].Category, values[c]));
  }
  sheet.SetColumnWidth(1, 1, 5);
  sheet.SetColumnWidth(2, 16, 16);
}

void TMechanism::ExportExcelCharts(shared::TWorkbook& book) const {
  const shared::TConvert& convert = shared::Convert();
  const int n = PathPoints.Count();
  if (n < 1) return;
  const int last = kFirstPathRow + n - 1;
  for (int c = 0; c < 12; ++c) {
    shared::TChart chart;
    chart.Title = kPathColumns[c].Chart;
    chart.ValueAxisTitle = kPathColumns[c].Axis + convert.UnitLabel(kPathColumns[c].Category);
    chart.HasLegend = false;
    chart.XMajorGridlines = true;
    chart.XMinorGridlines = false;
    // x: the time column, "=Data!R5C2:R<n+4>C2".
    chart.Series.push_back({"", "Data", {kFirstPathRow, 2, last, 2}, {kFirstPathRow, c + 5, last, c + 5}});
    book.AddChart(kPathColumns[c].Chart, chart);
  }
}

}  // namespace vesk
