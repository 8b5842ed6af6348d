// The motion graph: series from the mechanism's getters, layout, painting and the export sheets.
#include "animator/engine/MotionGraph.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "animator/engine/AniMechanism.h"
#include "shared/AxisTicks.h"
#include "shared/Convert.h"
#include "shared/PictureFile.h"
#include "shared/Workbook.h"

namespace quillon {

namespace {

constexpr int kLegendLine = 20;
// Pixels between the plot's bottom and the x scale's numbers.
constexpr int kXScaleGap = 3;
constexpr const char* kLegendGap = "     ";
// The header block of a sheet: the spreadsheet palette's light yellow.
constexpr int kHeaderFill = 36;
constexpr int kFirstDataRow = 4;

std::string WithUnitLabel(const std::string& text, int category) {
  const std::string label = shared::Convert().UnitLabel(category);
  return label.empty() ? text : text + " " + label;
}

}  // namespace

// One family of series: its title, names, value category and the value of a series at a step.
struct TMotionGraph::TSeriesSource {
  std::string Title;
  std::vector<std::string> Names;
  int Category = shared::cuNone;
  std::function<double(int step, int series)> Value;
  // The legend's words when there is nothing to plot, so that an empty graph says why.
  std::string Empty;
};

TMotionGraph::TMotionGraph() {
  Clear();
  FKind = -1;
  Rebuild(gkRotation);
}

TMotionGraph::TSeriesSource TMotionGraph::SourceOf(int kind) const {
  TSeriesSource source;
  if (!Mechanism) return source;
  const TAniMechanism& m = *Mechanism;
  std::vector<int> items;
  switch (kind) {
    case gkRotation:
    case gkAngularVelocity:
    case gkAngularAcceleration: {
      static constexpr int kCategories[3] = {shared::cuAngle, shared::cuAngVel, shared::cuAngAcc};
      source.Title = Texts.Rot[kind];
      source.Category = kCategories[kind];
      for (int l = 0; l < m.LinkCount(); ++l) {
        if (!m.Links[l]->Kinematics) continue;
        items.push_back(l);
        source.Names.push_back(m.Links[l]->Name);
      }
      source.Value = [&m, items, kind](int step, int series) {
        return m.GetLinkValue(step, kind, items[series]);
      };
      source.Empty = "No link is plotted: Show Graph on a link adds it";
      break;
    }
    case gkPath:
    case gkPathVelocity:
    case gkPathAcceleration: {
      static constexpr int kCategories[3] = {shared::cuLength, shared::cuVel, shared::cuAcc};
      const int quantity = kind - gkPath;
      source.Title = Texts.Path[quantity];
      source.Category = kCategories[quantity];
      for (int j = 0; j < m.JointCount(); ++j) {
        if (!m.Joints[j]->Analyse) continue;
        items.push_back(j);
        source.Names.emplace_back(1, static_cast<char>(m.Joints[j]->Letter));
      }
      source.Value = [&m, items, quantity](int step, int series) {
        return m.GetJointValue(step, quantity, items[series]);
      };
      // A tracer on the frame never moves (the function generators have one).
      source.Empty = !m.Tracer || m.Tracer->HasLink(0)
                         ? "The linkage has no tracer: Set As Output Joint on a moving joint plots its path"
                         : "No joint is plotted: Show Graph on a joint adds it";
      break;
    }
    case gkTransmission:
      source.Title = Texts.Trans;
      source.Category = shared::cuAngle;
      for (int d = 0; d < m.DyadCount(); ++d) source.Names.push_back(m.Dyads[d]->Caption());
      source.Value = [&m](int step, int series) { return m.GetDyadAngle(step, series); };
      source.Empty = "The linkage has no dyad";
      break;
    case gkPathError:
      source.Names = {Texts.Error};
      source.Category = shared::cuLength;
      source.Value = [&m](int step, int) { return m.GetPathError(step); };
      break;
    case gkRotationError:
      source.Names = {Texts.RotError};
      source.Category = shared::cuAngle;
      source.Value = [&m](int step, int) { return m.GetRotationError(step); };
      break;
    default:
      break;
  }
  return source;
}

double TMotionGraph::XOfStep(int step) const {
  return XIsTime ? Mechanism->GetTime(step) : Mechanism->GetInputValue(step);
}

void TMotionGraph::Rebuild(int kind) {
  if (kind >= 0) FKind = kind;
  Clear();
  FXCaption = XIsTime ? Texts.Time : Texts.Input;
  FXCategory = XIsTime ? shared::cuTime : shared::cuAngle;
  if (!Mechanism) return;
  const TSeriesSource source = SourceOf(FKind);
  FTitle = source.Title;
  const int n = static_cast<int>(source.Names.size());
  if (n == 0) {
    if (!source.Empty.empty()) FSeriesNames = {source.Empty};
    return;
  }
  SetSeriesCount(n);
  FSeriesNames = source.Names;
  FValueCategory = source.Category;
  std::vector<double> values(n);
  for (int s = 0; s <= Mechanism->Len; ++s) {
    for (int i = 0; i < n; ++i) values[i] = source.Value(s, i);
    AddPoint(XOfStep(s), values);
  }
}

void TMotionGraph::Clear() {
  FCount = 0;
  Axes = {};
  FTitle.clear();
  FXCaption = "X-axis";
  FXCategory = shared::cuNone;
  FSeriesNames = {"Y-axis"};
  FValueCategory = shared::cuNone;
  FXMin = FXMax = FYMin = FYMax = 0;
  FSeriesCount = 0;
  SetSeriesCount(1);
  FCapacity = kInitialCapacity;
  for (auto& row : Data) row.assign(FCapacity, 0.0);
}

void TMotionGraph::SetSeriesCount(int n) {
  FSeriesCount = std::max(1, n);
  Data.resize(FSeriesCount + 1);
  for (auto& row : Data) row.resize(FCapacity, 0.0);
}

void TMotionGraph::AddPoint(double x, std::span<const double> values) {
  if (FCount == FCapacity) {
    FCapacity += kCapacityStep;
    for (auto& row : Data) row.resize(FCapacity, 0.0);
  }
  const size_t n = std::min(values.size(), static_cast<size_t>(FSeriesCount));
  if (FCount == 0) {
    FXMin = FXMax = x;
    if (n > 0) FYMin = FYMax = values[0];
  }
  FXMin = std::min(FXMin, x);
  FXMax = std::max(FXMax, x);
  Data[0][FCount] = x;
  for (size_t i = 0; i < n; ++i) {
    FYMin = std::min(FYMin, values[i]);
    FYMax = std::max(FYMax, values[i]);
    Data[i + 1][FCount] = values[i];
  }
  ++FCount;
}

// ---------------------------------------------------------------------------------------------
// Layout and painting.

int TMotionGraph::PictureWidth() const {
  return Images && !Images->Images.empty() ? Images->Images[0].Width : 0;
}

int TMotionGraph::PictureHeight() const {
  return Images && !Images->Images.empty() ? Images->Images[0].Height : 0;
}

void TMotionGraph::DrawPicture(shared::TPaintSurface& surface, int index, int x, int y) const {
  if (!Images || index < 0 || index >= static_cast<int>(Images->Images.size())) return;
  surface.DrawRaster(x, y, Images->Images[index]);
}

void TMotionGraph::Layout(shared::TPaintSurface& surface) {
  const shared::TSize sample = surface.TextExtent(kSampleText);
  const int h = sample.Height;
  if (ShowLabels) {
    FLeftMargin = sample.Width + 8;
    FTopMargin = std::max(h + 8, PictureHeight());
    // The x scale's numbers under the plot, the x legend with its picture under them.
    FBottomMargin = kXScaleGap + h + 2 + std::max(h, PictureHeight()) + 2;
  } else {
    FLeftMargin = FTopMargin = FBottomMargin = 8;
  }
  RightMargin = 8;
  Left = FLeftMargin;
  Right = surface.Width() - RightMargin;
  Top = FTopMargin;
  Bottom = surface.Height() - FBottomMargin;

  const shared::TGraphSpan span{FXCategory, FValueCategory, FXMin, FXMax, FYMin, FYMax, FCount};
  Axes = shared::LayoutGraphAxes(
      shared::Convert(), span, Right - Left, Bottom - Top, h,
      [&surface](const std::string& text) { return surface.TextExtent(text).Width; }, GridRows, GridColumns);
}

int TMotionGraph::ScreenX(int point) const { return TickX(Data[0][point]); }

int TMotionGraph::ScreenY(int point, int series) const { return TickY(Data[series + 1][point]); }

std::string TMotionGraph::XLegend() const {
  const shared::TConvert& convert = shared::Convert();
  if (CursorHasValues()) return FXCaption + " " + convert.FormatSIWithUnit(FXCategory, Data[0][CursorIndex]);
  return WithUnitLabel(FXCaption, FXCategory);
}

std::string TMotionGraph::SeriesLegend(int series) const {
  const std::string& name = FSeriesNames[series];
  if (CursorHasValues() && series < FSeriesCount)
    return name + " " + shared::Convert().FormatSIWithUnit(FValueCategory, Data[series + 1][CursorIndex]);
  return WithUnitLabel(name, FValueCategory);
}

void TMotionGraph::Paint(shared::TPaintSurface& surface) {
  Layout(surface);
  surface.SetBrush({BackColor, shared::TBrushStyle::Solid});
  surface.FillRect(0, 0, surface.Width(), surface.Height());

  // The grid at the ticks inside the frame.
  if (ShowGrid && Axes.Drawable) {
    surface.SetPen({GridColor, 1, shared::TPenStyle::Solid, shared::TPenMode::Copy});
    for (const double x : Axes.XTicks) {
      const int at = TickX(x);
      if (at <= Left || at >= Right) continue;
      surface.MoveTo(at, Top);
      surface.LineTo(at, Bottom);
    }
    for (const double y : Axes.YTicks) {
      const int at = TickY(y);
      if (at <= Top || at >= Bottom) continue;
      surface.MoveTo(Left, at);
      surface.LineTo(Right, at);
    }
  }
  surface.SetPen({FrameColor, 1, shared::TPenStyle::Solid, shared::TPenMode::Copy});
  const shared::TPoint frame[5] = {{Left, Top}, {Right, Top}, {Right, Bottom}, {Left, Bottom}, {Left, Top}};
  surface.Polyline(frame);

  if (Axes.Drawable) {
    std::vector<shared::TPoint> points(FCount);
    for (int i = 0; i < FSeriesCount; ++i) {
      for (int c = 0; c < FCount; ++c) points[c] = {ScreenX(c), ScreenY(c, i)};
      surface.SetPen({SeriesColor(i), 1, shared::TPenStyle::Solid, shared::TPenMode::Copy});
      surface.Polyline(points);
    }
  }

  if (Axes.Drawable && CursorLineShown()) {
    surface.SetPen({CursorColor, 1, shared::TPenStyle::Solid, shared::TPenMode::Copy});
    const int x = ScreenX(CursorIndex);
    surface.MoveTo(x, Top + 1);
    surface.LineTo(x, Bottom);
  }

  if (ShowLabels) PaintLabels(surface, surface.TextExtent(kSampleText).Height);
}

void TMotionGraph::PaintLabels(shared::TPaintSurface& surface, int h) {
  const shared::TConvert& convert = shared::Convert();
  shared::TFont font = surface.Font();
  font.Color = shared::kBlack;
  surface.SetFont(font);
  surface.SetBrush({BackColor, shared::TBrushStyle::Clear});

  // The x legend under the scale's numbers, centred on room for the widest value, with its axis
  // picture before it.
  const int w = surface.TextExtent(FXCaption + " " + convert.SampleValueText(FXCategory)).Width;
  const int xLegend = (Left + Right - w) / 2;
  const int legendRow = Bottom + kXScaleGap + h + 2;
  const int legendHeight = std::max(h, PictureHeight());
  surface.TextOut(xLegend, legendRow + (legendHeight - h) / 2, XLegend());
  DrawPicture(surface, XIsTime ? kTimePicture : kInputPicture, xLegend - 4 - PictureWidth(),
              legendRow + (legendHeight - PictureHeight()) / 2);

  // Kind picture and title in the top margin, the series legend behind them.
  DrawPicture(surface, PictureOfKind(FKind), Left, (FTopMargin - PictureHeight()) / 2);
  int x = Left + PictureWidth() + 4;
  if (!FTitle.empty()) {
    surface.TextOut(x, 4, FTitle);
    x += surface.TextExtent(FTitle + kLegendGap).Width;
  }
  surface.SetBrush({BackColor, shared::TBrushStyle::Solid});
  surface.FillRect(x, 2, Right, Top - 2);
  surface.SetBrush({BackColor, shared::TBrushStyle::Clear});
  for (int i = 0; i < static_cast<int>(FSeriesNames.size()); ++i) {
    const std::string text = SeriesLegend(i);
    surface.TextOut(x, 4, text);
    // A legend without points is a note, with no curve colour to show.
    if (FCount > 0) {
      surface.SetPen({SeriesColor(i), 1, shared::TPenStyle::Solid, shared::TPenMode::Copy});
      surface.MoveTo(x, 4 + h + 2);
      surface.LineTo(x + kLegendLine, 4 + h + 2);
    }
    x += surface.TextExtent(text + kLegendGap).Width;
  }

  // Scale numbers in display units, without unit, at the ticks: x centred under its tick but
  // within the plot's width, a number that would touch the one before left out; y right-aligned
  // 4 pixels before the plot.
  if (!Axes.Drawable) return;
  int free = Left;
  for (const double x : Axes.XTicks) {
    const std::string text = convert.FormatSI(FXCategory, x);
    const int width = surface.TextExtent(text).Width;
    const int at = std::clamp(TickX(x) - width / 2, Left, std::max(Left, Right - width));
    if (at < free) continue;
    surface.TextOut(at, Bottom + kXScaleGap, text);
    free = at + width + h;
  }
  for (const double y : Axes.YTicks) {
    const std::string text = convert.FormatSI(FValueCategory, y);
    surface.TextOut(Left - 4 - surface.TextExtent(text).Width, TickY(y) - h / 2, text);
  }
}

int TMotionGraph::TickX(double x) const { return Axes.PixelX(x, Left); }

int TMotionGraph::TickY(double y) const { return Axes.PixelY(y, Bottom); }

void TMotionGraph::SaveJPEG(shared::TPaintSurface& bitmap, const std::string& fileName) {
  Paint(bitmap);
  shared::TRaster raster = bitmap.ReadPixels();
  shared::QuantizeToVga16(raster);
  shared::SaveJpegFile(fileName, raster);
}

// ---------------------------------------------------------------------------------------------
// Worksheets.

// Caption, the step and x columns with their headers and one row per step; gives the last row.
int TMotionGraph::XHeaderAndSteps(shared::TWorksheet& sheet, const std::string& caption) const {
  const shared::TConvert& convert = shared::Convert();
  const int category = XIsTime ? shared::cuTime : shared::cuAngle;
  sheet.SetRowBold(1);
  sheet.SetRowBold(2);
  sheet.SetText(1, 1, caption);
  sheet.SetText(2, 1, Texts.Pos);
  sheet.SetText(2, 2, XIsTime ? Texts.Time : Texts.Input);
  sheet.SetText(3, 2, convert.UnitLabel(category));
  const int len = Mechanism->Len;
  for (int s = 0; s <= len; ++s) {
    sheet.SetNumber(kFirstDataRow + s, 1, s);
    sheet.SetNumber(kFirstDataRow + s, 2, convert.FromSI(category, XOfStep(s)));
  }
  return kFirstDataRow + len;
}

void TMotionGraph::WriteSeriesSheet(shared::TWorkbook& book, const std::string& sheetName,
                                    const std::string& chartName, const TSeriesSource& source) const {
  const shared::TConvert& convert = shared::Convert();
  shared::TWorksheet& sheet = book.AddSheet(sheetName);
  const int lastRow = XHeaderAndSteps(sheet, source.Title);
  const int n = static_cast<int>(source.Names.size());
  const int lastColumn = 2 + n;
  for (int i = 0; i < n; ++i) {
    sheet.SetText(2, 3 + i, source.Names[i]);
    sheet.SetText(3, 3 + i, convert.UnitLabel(source.Category));
    for (int s = 0; s <= Mechanism->Len; ++s)
      sheet.SetNumber(kFirstDataRow + s, 3 + i, convert.FromSI(source.Category, source.Value(s, i)));
  }
  sheet.AutoFitColumns(2, lastColumn);
  sheet.SetFill({1, 1, 3, lastColumn}, kHeaderFill);
  if (n > 0)
    AddChart(book, sheet, chartName, 3, lastColumn, lastRow, WithUnitLabel(source.Title, source.Category),
             source.Title);
}

void TMotionGraph::WriteLinkSheet(shared::TWorkbook& book, int quantity) const {
  static const char* const kNames[3] = {"Rotation", "AngVel", "AngAcc"};
  if (!Mechanism || quantity < 0 || quantity > 2) return;
  WriteSeriesSheet(book, kNames[quantity], std::string(kNames[quantity]) + " Chart", SourceOf(quantity));
}

void TMotionGraph::WritePathSheet(shared::TWorkbook& book, int quantity) const {
  static const char* const kNames[3] = {"Path", "Vel", "Acc"};
  if (!Mechanism || quantity < 0 || quantity > 2) return;
  WriteSeriesSheet(book, kNames[quantity], std::string(kNames[quantity]) + " Chart",
                   SourceOf(gkPath + quantity));
}

void TMotionGraph::WriteTransmissionSheet(shared::TWorkbook& book) const {
  if (!Mechanism) return;
  WriteSeriesSheet(book, "TransAngle", "TransChart", SourceOf(gkTransmission));
}

void TMotionGraph::WriteErrorSheet(shared::TWorkbook& book) const {
  if (!Mechanism || !ErrorAvailable) return;
  const shared::TConvert& convert = shared::Convert();
  shared::TWorksheet& sheet = book.AddSheet("Error");
  const int lastRow = XHeaderAndSteps(sheet, Texts.Error);
  sheet.SetText(2, 3, Texts.Error);
  sheet.SetText(2, 4, Texts.RotError);
  sheet.SetText(3, 3, convert.UnitLabel(shared::cuLength));
  sheet.SetText(3, 4, convert.UnitLabel(shared::cuAngle));
  for (int s = 0; s <= Mechanism->Len; ++s) {
    sheet.SetNumber(kFirstDataRow + s, 3, convert.FromSI(shared::cuLength, Mechanism->GetPathError(s)));
    sheet.SetNumber(kFirstDataRow + s, 4, convert.FromSI(shared::cuAngle, Mechanism->GetRotationError(s)));
  }
  sheet.AutoFitColumns(2, 4);
  sheet.SetFill({1, 1, 3, 4}, kHeaderFill);
  AddChart(book, sheet, "Error Chart", 3, 4, lastRow, WithUnitLabel(Texts.Error, shared::cuLength),
           Texts.Error);
}

void TMotionGraph::WriteVectorsSheet(shared::TWorkbook& book) const {
  if (!Mechanism) return;
  const shared::TConvert& convert = shared::Convert();
  shared::TWorksheet& sheet = book.AddSheet("Vectors");
  XHeaderAndSteps(sheet, Texts.Vectors);
  static const char* const kHeaders[6] = {"x", "y", "Vx", "Vy", "Ax", "Ay"};
  static constexpr int kCategories[3] = {shared::cuLength, shared::cuVel, shared::cuAcc};
  int column = 3;
  for (const auto& joint : Mechanism->Joints) {
    if (!joint->Trace && !joint->ShowVectors) continue;
    const std::string name(1, static_cast<char>(joint->Letter));
    for (int k = 0; k < 6; ++k) {
      sheet.SetText(1, column + k, name);
      sheet.SetText(2, column + k, kHeaders[k]);
      sheet.SetText(3, column + k, convert.UnitLabel(kCategories[k / 2]));
    }
    const auto write = [&](const std::vector<TPositionRecord>& records, int offset, int category) {
      for (int s = 0; s <= Mechanism->Len && s < static_cast<int>(records.size()); ++s) {
        sheet.SetNumber(kFirstDataRow + s, column + offset, convert.FromSI(category, records[s].X));
        sheet.SetNumber(kFirstDataRow + s, column + offset + 1, convert.FromSI(category, records[s].Y));
      }
    };
    write(joint->Positions, 0, shared::cuLength);
    if (joint->ShowVectors) {
      write(joint->Velocity, 2, shared::cuVel);
      write(joint->Acceleration, 4, shared::cuAcc);
    }
    column += 6;
  }
  const int lastColumn = std::max(2, column - 1);
  sheet.AutoFitColumns(1, lastColumn);
  sheet.SetFill({1, 1, 3, lastColumn}, kHeaderFill);
}

void TMotionGraph::AddChart(shared::TWorkbook& book, const shared::TWorksheet& sheet,
                            const std::string& chartName, int firstColumn, int lastColumn, int lastRow,
                            const std::string& valueAxisTitle, const std::string& title) {
  shared::TChart chart;
  chart.Title = title;
  chart.ValueAxisTitle = valueAxisTitle;
  chart.HasLegend = true;
  chart.Series = shared::ColumnSeries(sheet, 2, firstColumn, lastColumn, kFirstDataRow, lastRow, 2);
  book.AddChart(chartName, chart);
}

}  // namespace quillon
