// The graph box: layout in pixels, the full repaint and the cursor that moves on its own.
#include "synthesis/engine/GraphPaintBox.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "shared/AxisTicks.h"

namespace vesk {

using shared::TBrush;
using shared::TBrushStyle;
using shared::TPaintSurface;
using shared::TPen;
using shared::TPenMode;
using shared::TPenStyle;
using shared::TPoint;

namespace {

TPen MakePen(TPen pen, shared::TColor color, TPenMode mode) {
  pen.Color = color;
  pen.Mode = mode;
  pen.Style = TPenStyle::Solid;
  pen.Width = 1;
  return pen;
}

// Pixel offsets of samples far outside the axis (or not numbers at all) are held to a range
// that every surface draws without overflow.
int32_t ClampedRound(double v) {
  constexpr double kFar = 1e6;
  if (!(v > -kFar)) return -int32_t(kFar);
  if (v > kFar) return int32_t(kFar);
  return int32_t(std::lround(v));
}

// A range with no length would give no scale: it is widened by one display unit each way, or
// by the value's own size where one unit is lost in rounding.
void WidenEmptyRange(double& min, double& max, int unit, const shared::TConvert& units) {
  if (min != max) return;
  const double value = max;
  max = units.ToSI(unit, units.FromSI(unit, value) + 1);
  min = units.ToSI(unit, units.FromSI(unit, value) - 1);
  if (!(max > min)) {
    const double d = std::max(1.0, std::fabs(value));
    max = value + d;
    min = value - d;
  }
}

// Axis values from min to max in equal steps.
template <size_t N>
void FillTicks(std::array<double, N>& ticks, double min, double max, int unit,
               const shared::TConvert& units) {
  constexpr size_t last = N - 1;
  WidenEmptyRange(min, max, unit, units);
  ticks[0] = min;
  ticks[last] = max;
  const double step = (ticks[last] - ticks[0]) / double(last);
  for (size_t i = 1; i < last; ++i) {
    ticks[i] = ticks[0] + double(i) * step;
    // A grid line that crosses zero is labelled 0, not with the rounding left of the sum.
    if (std::fabs(ticks[i]) < 1e-9 * std::fabs(step)) ticks[i] = 0;
  }
}

}  // namespace

TGraphPaintBox::TGraphPaintBox(shared::TPaintBox& paintBox, const shared::TConvert& units)
    : FPaintBox(paintBox), FUnits(units) {
  const TPen base = paintBox.Canvas().Pen();
  FramePen = MakePen(base, shared::kBlack, TPenMode::Copy);
  GridPen = MakePen(base, shared::MakeColor(192, 192, 192), TPenMode::Copy);
  CurvePen = MakePen(base, shared::MakeColor(255, 0, 0), TPenMode::Copy);
  CursorPen = MakePen(base, shared::MakeColor(0, 0, 255), TPenMode::NotXor);
  Layout();
}

void TGraphPaintBox::Clear() {
  MinX = MaxX = MinY = MaxY = 0;
  CursorX = 0;
  CursorDrawn = false;
  Count = 0;
}

void TGraphPaintBox::AddPoint(double x, double y) {
  if (Count >= kMaxSamples) return;
  X[Count] = x;
  Y[Count] = y;
  if (Count == 0) {
    MinX = MaxX = x;
    MinY = MaxY = y;
  } else {
    MinX = std::min(MinX, x);
    MaxX = std::max(MaxX, x);
    MinY = std::min(MinY, y);
    MaxY = std::max(MaxY, y);
  }
  ++Count;
}

double TGraphPaintBox::Value(int i) const { return i >= 0 && i < Count ? Y[i] : 0; }

double TGraphPaintBox::ValueAt(double x) const {
  if (Count < 2 || !(x >= MinX && x <= MaxX)) return 0;
  // Bisection on the distance from the first sample.
  int lo = 0, hi = Count - 1, mid = hi / 2;
  const double d = std::fabs(x - X[0]);
  while (hi - lo > 1) {
    if (d > std::fabs(X[mid] - X[0])) {
      lo = mid;
      mid = mid + (hi - mid) / 2;
    } else {
      hi = mid;
      mid = lo + (mid - lo) / 2;
    }
  }
  const double dx = std::fabs(X[hi] - X[lo]);
  // Neighbours of equal x (a step in the data) have no slope between them.
  if (dx == 0) return Y[lo];
  return Y[lo] + std::fabs(x - X[lo]) * (Y[hi] - Y[lo]) / dx;
}

void TGraphPaintBox::Layout() {
  TPaintSurface& s = FPaintBox.Canvas();
  TextHeight = s.TextExtent("A").Height;
  FillTicks(XTicks, MinX, MaxX, XUnit, FUnits);
  MarginLeft = MarginRight = MarginTop = MarginBottom = 4;
  if (ShowLabels) MarginTop = MarginBottom = TextHeight + 8;
  LayoutY(s.Height() - MarginTop - MarginBottom);
  // The left margin holds the widest axis value, so that long values stay clear of the frame.
  FNumberWidth = s.TextExtent("0000.0000").Width;
  for (const double tick : YTicks)
    FNumberWidth = std::max(FNumberWidth, s.TextExtent(FUnits.FormatSI(YUnit, tick)).Width);
  if (ShowLabels) {
    MarginLeft = FNumberWidth + 8;
    MarginRight = 8;
  }
  Drawable = MarginLeft + MarginRight + GridX < s.Width() && MarginTop + MarginBottom + GridY < s.Height();
  PlotLeft = MarginLeft;
  PlotTop = MarginTop;
  PlotRight = s.Width() - MarginRight;
  PlotBottom = s.Height() - MarginBottom;

  // Both axes have a length by now, also without samples: the grid and the values stand on them.
  ScaleX = (PlotRight - PlotLeft) / (XTicks[GridX] - XTicks[0]);
  ScaleY = (PlotBottom - PlotTop) / (AxisMaxY - AxisMinY);
  for (int i = 0; i < Count; ++i) {
    PX[i] = PixelX(X[i]);
    PY[i] = PixelY(Y[i]);
  }
}

void TGraphPaintBox::LayoutY(int32_t plotHeight) {
  double low = MinY, high = MaxY;
  // Values the display cannot tell apart (rounding left in a series that is constant) are one
  // value: the series is drawn flat, in the middle of an axis of one display unit each way.
  const double shown =
      shared::ShownStep(FUnits, YUnit, FUnits.FromSI(YUnit, low), FUnits.FromSI(YUnit, high));
  if (FUnits.FromSI(YUnit, high) - FUnits.FromSI(YUnit, low) < shown) low = high = low + (high - low) / 2;
  WidenEmptyRange(low, high, YUnit, FUnits);
  // As many divisions as leave a text height for each value.
  const int32_t rows = ShowLabels ? std::clamp(plotHeight / (TextHeight + 4), 1, int(GridY)) : GridY;
  shared::TAxisTicks ticks = shared::RoundTicks(FUnits, YUnit, low, high, rows, true);
  // A range too narrow for its distance from zero keeps its ends as they are.
  YTicks = ticks.Values.size() >= 2 ? std::move(ticks.Values) : std::vector<double>{low, high};
  AxisMinY = YTicks.front();
  AxisMaxY = YTicks.back();
}

int32_t TGraphPaintBox::PixelX(double x) const { return ClampedRound((x - XTicks[0]) * ScaleX) + PlotLeft; }

int32_t TGraphPaintBox::PixelY(double y) const { return ClampedRound((AxisMaxY - y) * ScaleY) + PlotTop; }

void TGraphPaintBox::Paint() {
  TPaintSurface& s = FPaintBox.Canvas();
  // The paint box keeps its picture between paints: erase it as a window background would,
  // which also takes away any cursor line.
  s.SetBrush(TBrush{FPaintBox.WindowColor(), TBrushStyle::Solid});
  s.FillRect(0, 0, s.Width(), s.Height());
  CursorDrawn = false;
  Layout();
  if (!Drawable) return;

  s.SetPen(FramePen);
  s.MoveTo(PlotLeft, PlotTop);
  s.LineTo(PlotRight, PlotTop);
  s.LineTo(PlotRight, PlotBottom);
  s.LineTo(PlotLeft, PlotBottom);
  s.LineTo(PlotLeft, PlotTop);
  if (ShowGrid) {
    s.SetPen(GridPen);
    const int32_t dx = (PlotRight - PlotLeft) / GridX;
    for (int k = 1; k < GridX; ++k) {
      s.MoveTo(PlotLeft + k * dx, PlotTop);
      s.LineTo(PlotLeft + k * dx, PlotBottom);
    }
    for (size_t k = 1; k + 1 < YTicks.size(); ++k) {
      const int32_t y = PixelY(YTicks[k]);
      s.MoveTo(PlotLeft, y);
      s.LineTo(PlotRight, y);
    }
  }
  // Over the grid: on round values zero is often one of its lines.
  if (Count > 0 && MinY < 0 && 0 < MaxY) {
    s.SetPen(FramePen);
    const int32_t y0 = PixelY(0);
    s.MoveTo(PlotLeft, y0);
    s.LineTo(PlotRight, y0);
  }

  if (Count >= 3) {
    std::array<TPoint, kMaxSamples> points;
    for (int i = 0; i < Count; ++i) points[i] = TPoint{PX[i], PY[i]};
    s.SetPen(CurvePen);
    s.Polyline(std::span<const TPoint>(points.data(), size_t(Count)));
  }

  if (ShowLabels) DrawLabels(s);
  if (ShowCursor) SetCursor(CursorX);
}

std::string TGraphPaintBox::WithUnit(const std::string& title, int32_t unit) const {
  return unit != 0 ? title + " [" + FUnits.UnitSymbol(unit) + "]" : title;
}

void TGraphPaintBox::DrawLabels(TPaintSurface& s) {
  const std::string xTitle = WithUnit(XTitle, XUnit);
  s.TextOut(PlotLeft + (PlotRight - PlotLeft - s.TextExtent(xTitle).Width) / 2, PlotBottom + 4, xTitle);
  s.TextOut(PlotLeft, 4, WithUnit(YTitle, YUnit));

  const std::string xMax = FUnits.FormatSI(XUnit, XTicks[GridX]);
  s.TextOut(PlotRight - s.TextExtent(xMax).Width, PlotBottom + 4, xMax);
  s.TextOut(PlotLeft, PlotBottom + 4, FUnits.FormatSI(XUnit, XTicks[0]));

  // Each value beside its grid line, the ends at the frame; values that would run into each
  // other (a plot too low for them) leave all but the ends out.
  const int32_t dy = YTicks.size() > 1 ? (PlotBottom - PlotTop) / int32_t(YTicks.size() - 1) : 0;
  for (size_t k = 0; k < YTicks.size(); ++k) {
    const bool end = k == 0 || k + 1 == YTicks.size();
    if (end || dy >= TextHeight)
      s.TextOut(4, PixelY(YTicks[k]) - TextHeight / 2, FUnits.FormatSI(YUnit, YTicks[k]));
  }
}

void TGraphPaintBox::DrawCursorLine(int32_t px) {
  TPaintSurface& s = FPaintBox.Canvas();
  s.MoveTo(px, PlotTop);
  s.LineTo(px, PlotBottom);
}

void TGraphPaintBox::DrawValueBox(int32_t left, int32_t right, int32_t top, bool centred,
                                  const std::string& text) {
  TPaintSurface& s = FPaintBox.Canvas();
  s.SetBrush(TBrush{FPaintBox.WindowColor(), TBrushStyle::Solid});
  s.FillRect(left, top, right, top + TextHeight);
  const int32_t x = centred ? left + (right - left - s.TextExtent(text).Width) / 2 : left;
  s.TextOut(x, top, text);
}

void TGraphPaintBox::SetCursor(double x) {
  // Without two samples there is no scale to place the line by.
  if (Count < 2 || !Drawable || !(x >= MinX && x <= MaxX)) return;
  FPaintBox.Canvas().SetPen(CursorPen);
  if (CursorDrawn) {
    DrawCursorLine(FCursorPixel);
    CursorDrawn = false;
  }
  CursorX = x;
  FCursorPixel = PixelX(x);
  DrawCursorLine(FCursorPixel);

  const double y = ValueAt(x);
  ValueText = YTitle + " = " + FUnits.FormatSI(YUnit, y) + " " + FUnits.UnitSymbol(YUnit);
  DrawValueBox(PlotLeft, PlotRight, 4, false, ValueText);
  const int32_t w4 = (PlotRight - PlotLeft) / 4;
  DrawValueBox(PlotLeft + w4, PlotRight - w4, PlotBottom + 4, true,
               XTitle + " = " + FUnits.FormatSI(XUnit, x) + " " + FUnits.UnitSymbol(XUnit));
  CursorDrawn = !CursorDrawn;
}

}  // namespace vesk
