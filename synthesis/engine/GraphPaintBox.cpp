// The graph box: layout in pixels, the full repaint and the cursor that moves on its own.
#include "synthesis/engine/GraphPaintBox.h"

#include <algorithm>
#include <cmath>
#include <span>

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

// Axis values from min to max in equal steps. An empty range would give no scale: it is
// widened by one display unit each way, or by the value's own size where one unit is lost in
// rounding.
template <size_t N>
void FillTicks(std::array<double, N>& ticks, double min, double max, int unit, const shared::TConvert& units) {
  constexpr size_t last = N - 1;
  ticks[0] = min;
  ticks[last] = max;
  if (min == max) {
    ticks[last] = units.ToSI(unit, units.FromSI(unit, max) + 1);
    ticks[0] = units.ToSI(unit, units.FromSI(unit, min) - 1);
    if (!(ticks[last] > ticks[0])) {
      const double d = std::max(1.0, std::fabs(max));
      ticks[last] = max + d;
      ticks[0] = min - d;
    }
  }
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
  FillTicks(YTicks, MinY, MaxY, YUnit, FUnits);
  // The left margin holds the widest axis value, so that long values stay clear of the frame.
  FNumberWidth = s.TextExtent("0000.0000").Width;
  for (const double tick : YTicks) FNumberWidth = std::max(FNumberWidth, s.TextExtent(FUnits.FormatSI(YUnit, tick)).Width);
  MarginLeft = MarginRight = MarginTop = MarginBottom = 4;
  if (ShowLabels) {
    MarginLeft = FNumberWidth + 8;
    MarginRight = 8;
    MarginTop = MarginBottom = TextHeight + 8;
  }
  Drawable = MarginLeft + MarginRight + GridX < s.Width() && MarginTop + MarginBottom + GridY < s.Height();
  PlotLeft = MarginLeft;
  PlotTop = MarginTop;
  PlotRight = s.Width() - MarginRight;
  PlotBottom = s.Height() - MarginBottom;

  if (Count >= 2) {
    ScaleX = (PlotRight - PlotLeft) / (XTicks[GridX] - XTicks[0]);
    ScaleY = (PlotBottom - PlotTop) / (YTicks[GridY] - YTicks[0]);
    for (int i = 0; i < Count; ++i) {
      PX[i] = PixelX(X[i]);
      PY[i] = PixelY(Y[i]);
    }
  }
}

int32_t TGraphPaintBox::PixelX(double x) const { return ClampedRound((x - XTicks[0]) * ScaleX) + PlotLeft; }

int32_t TGraphPaintBox::PixelY(double y) const { return ClampedRound((YTicks[GridY] - y) * ScaleY) + PlotTop; }

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
  if (Count > 0 && MinY < 0 && 0 < MaxY) {
    const int32_t y0 = PixelY(0);
    s.MoveTo(PlotLeft, y0);
    s.LineTo(PlotRight, y0);
  }

  if (ShowGrid) {
    s.SetPen(GridPen);
    const int32_t dx = (PlotRight - PlotLeft) / GridX;
    for (int k = 1; k < GridX; ++k) {
      s.MoveTo(PlotLeft + k * dx, PlotTop);
      s.LineTo(PlotLeft + k * dx, PlotBottom);
    }
    const int32_t dy = (PlotBottom - PlotTop) / GridY;
    for (int k = 1; k < GridY; ++k) {
      s.MoveTo(PlotLeft, PlotTop + k * dy);
      s.LineTo(PlotRight, PlotTop + k * dy);
    }
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

  s.TextOut(4, PlotBottom - TextHeight / 2, FUnits.FormatSI(YUnit, YTicks[0]));
  const int32_t dy = (PlotBottom - PlotTop) / GridY;
  if (dy >= TextHeight) {
    // YTicks[k] stands at the k-th grid line counted from the bottom.
    for (int k = 1; k < GridY; ++k)
      s.TextOut(4, PlotTop + (GridY - k) * dy - TextHeight / 2, FUnits.FormatSI(YUnit, YTicks[k]));
  }
  s.TextOut(4, PlotTop - TextHeight / 2, FUnits.FormatSI(YUnit, YTicks[GridY]));
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
