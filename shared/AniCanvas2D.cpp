// The animator's canvas: the world rectangle fitted into the paint box, zoom and pan about it,
// the grid, the two bitmaps and picture files.
#include "shared/AniCanvas2D.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "shared/PictureFile.h"

namespace shared {

namespace {

// FitView's origin: half of the given sum, truncated toward zero as integer division does.
// Beyond the limit not even the points in view would fit the 32-bit pixels.
constexpr double kOriginLimit = 1073741824.0;

int ScreenOrigin(double twice) { return int(std::clamp(std::trunc(twice / 2), -kOriginLimit, kOriginLimit)); }

}  // namespace

TAniCanvas2D::TAniCanvas2D(TPaintBox& paintBox, double worldSize)
    : TCanvas2D(paintBox), GridStep(worldSize / 10), FWorldSize(worldSize) {
  ResetPens();
  ResetView();
}

void TAniCanvas2D::SetWorldRect(double x1, double x2, double y1, double y2) {
  if (!(std::fabs(x2 - x1) >= 1e-4)) {
    x1 = -FWorldSize / 2;
    x2 = FWorldSize / 2;
  }
  if (!(std::fabs(y2 - y1) >= 1e-4)) {
    y1 = -FWorldSize / 2;
    y2 = FWorldSize / 2;
  }
  FXMin = std::min(x1, x2);
  FXMax = std::max(x1, x2);
  FYMin = std::min(y1, y2);
  FYMax = std::max(y1, y2);
  FitView();
}

void TAniCanvas2D::FitView() {
  const int width = FPaintBox.Width(), height = FPaintBox.Height();
  const double sx = width / std::fabs(FXMax - FXMin), sy = height / std::fabs(FYMax - FYMin);
  const double scale = std::min(sx, sy) / 1.2;
  // An empty paint box (or a degenerate rectangle) keeps the previous view.
  if (width <= 0 || height <= 0 || !std::isfinite(scale) || !(scale > 0)) return;
  FScale = scale;
  FOriginX = ScreenOrigin(width - PixelOffset((FXMin + FXMax) * FScale));
  FOriginY = ScreenOrigin(PixelOffset((FYMin + FYMax) * FScale) + height);
}

void TAniCanvas2D::Pan(double dx, double dy) {
  FXMin += dx;
  FXMax += dx;
  FYMin += dy;
  FYMax += dy;
  FitView();
}

void TAniCanvas2D::Zoom(double f) {
  if (!(f > 0.1)) return;
  const double hw = std::fabs(FXMax - FXMin) / (2 * f);
  const double hh = std::fabs(FYMax - FYMin) / (2 * f);
  if (!(hw > 1e-4) || !(hh > 1e-4)) return;
  const double cx = (FXMin + FXMax) / 2, cy = (FYMin + FYMax) / 2;
  FXMin = cx - hw;
  FXMax = cx + hw;
  FYMin = cy - hh;
  FYMax = cy + hh;
  FitView();
}

void TAniCanvas2D::ZoomToRect(const TComplex& p1, const TComplex& p2, double margin) {
  const double cx = std::midpoint(p1.X, p2.X), cy = std::midpoint(p1.Y, p2.Y);
  const double hw = std::fabs(p2.X - p1.X) / 2 * margin, hh = std::fabs(p2.Y - p1.Y) / 2 * margin;
  SetWorldRect(cx - hw, cx + hw, cy - hh, cy + hh);
}

void TAniCanvas2D::ResetView() {
  SetWorldRect(-FWorldSize / 2, FWorldSize / 2, -FWorldSize / 2, FWorldSize / 2);
}

void TAniCanvas2D::Resize() {
  TCanvas2D::Resize();
  if (FBack) FBack->SetSize(FPaintBox.Width(), FPaintBox.Height());
  FitView();
}

void TAniCanvas2D::ResetPens() {
  const TColor fontColor = FPaintBox.Canvas().Font().Color;
  if (FFront) {
    ResetSurface(*FFront, fontColor);
    ResetSurface(*FBack, fontColor);
  } else {
    ResetSurface(FPaintBox.Canvas(), fontColor);
  }
}

void TAniCanvas2D::SetDoubleBuffered(bool on) {
  if (on) {
    const int width = FPaintBox.Width(), height = FPaintBox.Height();
    if (!FFront) {
      FFront = FPaintBox.CreateBitmap(width, height);
      FBack = FPaintBox.CreateBitmap(width, height);
      FFront->SetFont(FPaintBox.Canvas().Font());
      FBack->SetFont(FPaintBox.Canvas().Font());
    }
    FFront->SetSize(width, height);
    FBack->SetSize(width, height);
    FSurface = FFront.get();
  } else {
    FSurface = &FPaintBox.Canvas();
    FFront.reset();
    FBack.reset();
  }
  ResetPens();
}

void TAniCanvas2D::DrawGrid(TPaintSurface& surface) {
  const int width = FPaintBox.Width(), height = FPaintBox.Height();
  TPen pen = surface.Pen();
  pen.Color = GridColor;
  pen.Width = 1;
  pen.Style = GridPenStyle;
  surface.SetPen(pen);
  if (GridStyle == TGridStyle::Axes) {
    surface.MoveTo(0, FOriginY);
    surface.LineTo(width, FOriginY);
    surface.MoveTo(FOriginX, 0);
    surface.LineTo(FOriginX, height);
  } else if (GridStyle == TGridStyle::Lines) {
    const int step = WorldToPixels(GridStep);
    if (step < 4) return;
    for (int x = ((FOriginX % step) + step) % step; x < width; x += step) {
      surface.MoveTo(x, 0);
      surface.LineTo(x, height);
    }
    for (int y = ((FOriginY % step) + step) % step; y < height; y += step) {
      surface.MoveTo(0, y);
      surface.LineTo(width, y);
    }
  }
}

void TAniCanvas2D::ClearBackground() {
  TPaintSurface& surface = FBack ? *FBack : FPaintBox.Canvas();
  const TBrush brush = surface.Brush();
  surface.SetBrush(TBrush{BackgroundColor, TBrushStyle::Solid});
  surface.FillRect(0, 0, FPaintBox.Width(), FPaintBox.Height());
  surface.SetBrush(brush);
  if (GridStyle == TGridStyle::Background) {
    if (!OnBackground) return;
    TPaintSurface* const current = FSurface;
    FSurface = &surface;
    OnBackground(*this);
    FSurface = FFront ? FFront.get() : current;
  } else {
    DrawGrid(surface);
  }
}

void TAniCanvas2D::CopyBackground() {
  if (FFront) FFront->Draw(0, 0, *FBack);
}

void TAniCanvas2D::UseFrontCanvas() {
  if (FFront) FSurface = FFront.get();
}

void TAniCanvas2D::UseBackgroundCanvas() {
  if (FBack) FSurface = FBack.get();
}

void TAniCanvas2D::SetFontName(const std::string& name) {
  for (TPaintSurface* surface : {&FPaintBox.Canvas(), FFront.get(), FBack.get()}) {
    if (!surface) continue;
    TFont font = surface->Font();
    font.Name = name;
    surface->SetFont(font);
  }
}

void TAniCanvas2D::SetFontHeight(double height) {
  const int pixels = WorldToPixels(height);
  for (TPaintSurface* surface : {&FPaintBox.Canvas(), FFront.get(), FBack.get()}) {
    if (!surface) continue;
    TFont font = surface->Font();
    font.Height = pixels;
    surface->SetFont(font);
  }
}

void TAniCanvas2D::SavePicture(const std::string& fileName, bool jpeg) const {
  if (!FFront) return;
  // The front bitmap holds 4 bits per pixel: the picture shows the palette colours.
  TRaster raster = FFront->ReadPixels();
  QuantizeToVga16(raster);
  if (jpeg)
    SaveJpegFile(fileName, raster);
  else
    SaveBmpFile(fileName, raster);
}

void TAniCanvas2D::SaveBitmap(const std::string& fileName) const { SavePicture(fileName, false); }

void TAniCanvas2D::SaveJPEG(const std::string& fileName) const { SavePicture(fileName, true); }

int TAniCanvas2D::CursorForMode(int mode) const {
  // By mode 0..16.
  static const int table[17] = {
      kCursorArrow, kCursorHandPoint, kCursorZoomIn,  kCursorZoomOut,  kCursorAddArea,  kCursorAddCurve,
      kCursorArrow, kCursorArrow,     kCursorArrow,   kCursorArrow,    kCursorMoveXY,   kCursorRotate,
      kCursorZoom,  kCursorAddInput,  kCursorAddDyad, kCursorAddJoint, kCursorAddSlider};
  return CursorFromTable(table, mode);
}

void TAniCanvas2D::PanDrag(int x, int y) {
  Pan(PixelsToWorld(PreviousPos.X - x), PixelsToWorld(y - PreviousPos.Y));
}

void TAniCanvas2D::ZoomDrag(int, int y) {
  const int dy = y - PreviousPos.Y;
  const double e = std::fabs(dy / 100.0) + 1;
  Zoom(dy >= 0 ? 1 / e : e);
}

void TAniCanvas2D::ZoomOutClick() { Zoom(0.6666666666666666); }

}  // namespace shared
