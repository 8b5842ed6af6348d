// The synthesis program's canvas: the view by world origin and size, its axes, the triangle
// marker and the "[Canvas2D]" record.
#include "shared/SynthCanvas2D.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <sstream>
#include <string>

#include "shared/RealText.h"
#include "shared/TextLine.h"

namespace shared {

TSynthCanvas2D::TSynthCanvas2D(TPaintBox& paintBox, int canvasSize, double worldSize)
    : TCanvas2D(paintBox), FCanvasSize(canvasSize), FWorldSize(worldSize), FInitialWorldSize(worldSize) {
  ResetPens();
  UpdateScale();
}

void TSynthCanvas2D::UpdateScale() {
  const double scale = FCanvasSize / FWorldSize;
  // A non-positive size keeps the previous scale.
  if (FCanvasSize <= 0 || !std::isfinite(scale) || !(scale > 0)) return;
  FScale = scale;
  FOriginX = FOriginY = FCanvasSize / 2;
}

void TSynthCanvas2D::Zoom(double f) {
  if (!(f > 0)) return;
  const double w = FWorldSize / f;
  if (!(w > 1e-4 && w < 1e4)) return;
  FWorldSize = w;
  UpdateScale();
}

void TSynthCanvas2D::ZoomToRect(const TComplex& p1, const TComplex& p2, double margin) {
  // The halves are added, not the ends: the sum of two large co-ordinates would overflow.
  FViewOrigin.SetXY(std::midpoint(p1.X, p2.X), std::midpoint(p1.Y, p2.Y));
  UpdateScale();
  // A zero extent leaves the factor 0 (only the centring happens); an extent that rounds to
  // 0 pixels gives no factor at all.
  auto factor = [this](double extent, int clientSize, double& f) {
    f = extent;
    if (!(extent > 0)) return true;
    const int pixels = WorldToPixels(extent);
    if (pixels == 0) return false;
    f = std::fabs(double(clientSize) / pixels);
    return true;
  };
  double a = 0, b = 0;
  if (!factor(std::fabs(p2.X - p1.X) * margin, FPaintBox.ParentClientWidth(), a)) return;
  if (!factor(std::fabs(p2.Y - p1.Y) * margin, FPaintBox.ParentClientHeight(), b)) return;
  Zoom(std::min(a, b));
}

void TSynthCanvas2D::ResetView() {
  FViewOrigin.SetXY(0, 0);
  FWorldSize = FInitialWorldSize;
  UpdateScale();
}

void TSynthCanvas2D::ResetPens() { ResetSurface(*FSurface, kBlack); }

void TSynthCanvas2D::SetDoubleBuffered(bool on) {
  if (on) {
    if (!FFront) FFront = FPaintBox.CreateBitmap(FPaintBox.Width(), FPaintBox.Height());
    FFront->SetSize(FPaintBox.Width(), FPaintBox.Height());
    FSurface = FFront.get();
  } else {
    FSurface = &FPaintBox.Canvas();
    FFront.reset();
  }
  ResetPens();
}

void TSynthCanvas2D::ClearBackground() {
  const TBrush brush = FSurface->Brush();
  FSurface->SetBrush(TBrush{BackgroundColor, TBrushStyle::Solid});
  FSurface->FillRect(0, 0, FSurface->Width(), FSurface->Height());
  FSurface->SetBrush(brush);
}

void TSynthCanvas2D::DrawAxes() {
  FSurface->SetPen(TPen{AxesColor, 1, TPenStyle::Dot, TPenMode::Copy});
  const TComplex& o = FViewOrigin;
  MoveTo(o.X - FWorldSize / 2, 0);
  LineTo(o.X + FWorldSize / 2, 0);
  MoveTo(0, o.Y - FWorldSize / 2);
  LineTo(0, o.Y + FWorldSize / 2);
}

void TSynthCanvas2D::SetPen(TColor color, int width, TPenStyle style) {
  TCanvas2D::SetPen(EraseMode == 1 ? BackgroundColor : color, width, style);
}

void TSynthCanvas2D::Marker(const TComplex& p, int type, int n) {
  if ((type & 0x7F) != kMarkerTriangle) {
    TCanvas2D::Marker(p, type, n);
    return;
  }
  const TPoint s = WorldToScreen(p);
  n = PixelSpan(n);
  const int h = n / 2;
  FSurface->MoveTo(s.X, s.Y);
  FSurface->LineTo(s.X - h, s.Y + n);
  FSurface->LineTo(s.X + h, s.Y + n);
  FSurface->LineTo(s.X, s.Y);
}

int TSynthCanvas2D::CursorForMode(int mode) const {
  // By mode 0..16.
  static const int table[17] = {
      kCursorArrow,  kCursorHandPoint, kCursorZoomIn, kCursorZoomOut, kCursorAddArea, kCursorAddCurve,
      kCursorArrow,  kCursorArrow,     kCursorArrow,  kCursorDelete,  kCursorMoveXY,  kCursorZoom,
      kCursorRotate, kCursorArrow,     kCursorArrow,  kCursorArrow,   kCursorArrow};
  return CursorFromTable(table, mode);
}

void TSynthCanvas2D::PanDrag(int x, int y) {
  const TComplex current = ScreenToWorld(x, y);
  FViewOrigin.SetXY(FViewOrigin.X + PressPoint.X - current.X, FViewOrigin.Y + PressPoint.Y - current.Y);
}

void TSynthCanvas2D::ZoomOutClick() {
  FViewOrigin.Assign(ReleasePoint);
  Zoom(0.6666666666666666);
}

// The band is a world rectangle, so it stays on the grabbed corner while the view is still.
TPoint TSynthCanvas2D::BandAnchor() const { return WorldToScreen(PressPoint); }

TPoint TSynthCanvas2D::BandCorner(int, int) const { return WorldToScreen(CurrentPoint); }

void TSynthCanvas2D::Read(std::istream& in) {
  const char* const error = "File read error in TCanvas2D!";
  std::string line;
  if (!ReadTextLine(in, line) || line != "[Canvas2D]") throw EFileReadError(error);
  if (!ReadTextLine(in, line)) throw EFileReadError(error);
  auto firstField = [&](std::string& field) {
    if (!ReadTextLine(in, line)) throw EFileReadError(error);
    std::istringstream fields(line);
    // A blank line leaves nothing to read: the value of the line before must not stand for it.
    field.clear();
    fields >> field;
  };
  std::string field;
  int32_t canvasSize = 0;
  firstField(field);
  if (!ParseInt(field, canvasSize)) throw EFileReadError(error);
  double worldSize = 0;
  firstField(field);
  if (!ParseReal(field, worldSize)) throw EFileReadError(error);
  // A size that would give no scale is no view.
  if (canvasSize <= 0 || !(worldSize > 0) || !std::isfinite(worldSize)) throw EFileReadError(error);
  TComplex origin;
  origin.ReadFromText(in);
  FCanvasSize = canvasSize;
  FWorldSize = worldSize;
  FViewOrigin.Assign(origin);
  UpdateScale();
}

void TSynthCanvas2D::Write(std::ostream& out) const {
  out << "[Canvas2D]" << kLineEnd << "0" << kLineEnd << FCanvasSize << " CanvasSize" << kLineEnd
      << FormatReal(FWorldSize) << " WorldSize" << kLineEnd;
  FViewOrigin.WriteToText(out);
}

}  // namespace shared
