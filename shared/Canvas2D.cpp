// The world-to-screen view of both programs: mapping, primitives, markers, text placement,
// mouse modes and read-out, and the two ways of defining the view.
#include "shared/Canvas2D.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numeric>
#include <cstdint>
#include <numbers>
#include <sstream>

#include "shared/Convert.h"
#include "shared/PictureFile.h"
#include "shared/RealText.h"
#include "shared/TextLine.h"

namespace shared {

namespace {

// Points far off screen (a zero division gives 1e10) must not overflow the 32-bit pixels; a
// line towards such a point still leaves the screen in its direction.
constexpr double kPixelLimit = 16777216.0;

int ToPixel(double value) { return PixelOf(value); }

// A size or offset in pixels that is added to a screen position (a marker's half-size, a label's
// offset): held within the same limit, so the sum stays well inside 32 bits whatever a file or
// caller gave.
int PixelSpan(int n) { return std::clamp(n, -int(kPixelLimit), int(kPixelLimit)); }

// A world distance in whole pixels, left unclamped: zoomed far in, a point near the view can lie
// many millions of pixels from the world origin, and only its place on the screen is clamped.
double PixelOffset(double value) { return std::isnan(value) ? 0 : std::nearbyint(value); }

// FitView's origin: half of the given sum, truncated toward zero as integer division does.
// Beyond the limit not even the points in view would fit the 32-bit pixels.
constexpr double kOriginLimit = 1073741824.0;

int ScreenOrigin(double twice) { return int(std::clamp(std::trunc(twice / 2), -kOriginLimit, kOriginLimit)); }

// "%8.2f" with the given decimal separator, whatever the process locale is.
std::string Fixed82(double value, char separator) {
  char buffer[400];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
  std::string text = result.ec == std::errc() ? std::string(buffer, result.ptr) : std::string("nan");
  if (const auto point = text.find('.'); point != std::string::npos) text[point] = separator;
  if (text.size() < 8) text.insert(0, 8 - text.size(), ' ');
  return text;
}

TReadoutUnits& DefaultUnitsSlot() {
  static TReadoutUnits units = SIReadoutUnits();
  return units;
}

// Cursor of a mode, bit 7 ignored; 0 marks the modes without a cursor of their own.
int CursorFromTable(const int (&table)[17], int mode) {
  mode &= 0x7F;
  if (mode < 1 || mode > 16) return kCursorArrow;
  return table[mode];
}

}  // namespace

int PixelOf(double value) {
  if (std::isnan(value)) return 0;
  return int(std::clamp(std::nearbyint(value), -kPixelLimit, kPixelLimit));
}

TReadoutUnits SIReadoutUnits() {
  TReadoutUnits units;
  units.FromSI = [](int, double si) { return si; };
  units.UnitSymbol = [](int category) -> std::string {
    if (category == kLengthCategory) return "m";
    if (category == kAngleCategory) return "rad";
    return "";
  };
  units.DecimalSeparator = [] { return '.'; };
  return units;
}

TReadoutUnits ConvertReadoutUnits() {
  TReadoutUnits units;
  units.FromSI = [](int category, double si) { return Convert().FromSI(category, si); };
  units.UnitSymbol = [](int category) { return Convert().UnitSymbol(category); };
  units.DecimalSeparator = [] { return Convert().DecimalSeparator; };
  return units;
}

void BindReadoutToConvert() { SetDefaultReadoutUnits(ConvertReadoutUnits()); }

void SetDefaultReadoutUnits(TReadoutUnits units) { DefaultUnitsSlot() = std::move(units); }

const TReadoutUnits& DefaultReadoutUnits() { return DefaultUnitsSlot(); }

// ---------------------------------------------------------------------------------------------
// TCanvas2D

TCanvas2D::TCanvas2D(TPaintBox& paintBox)
    : Units(DefaultReadoutUnits()), FPaintBox(paintBox), FSurface(&paintBox.Canvas()) {}

TCanvas2D::~TCanvas2D() = default;

TPoint TCanvas2D::WorldToScreen(const TComplex& p) const { return WorldToScreen(p.X, p.Y); }

TPoint TCanvas2D::WorldToScreen(double x, double y) const {
  const double dx = PixelOffset((x - FViewOrigin.X) * FScale);
  const double dy = PixelOffset((y - FViewOrigin.Y) * FScale);
  return {ToPixel(dx + FOriginX), ToPixel(FOriginY - dy)};
}

TComplex TCanvas2D::ScreenToWorld(int sx, int sy) const {
  return TComplex(double(sx - FOriginX) / FScale + FViewOrigin.X,
                  double(FOriginY - sy) / FScale + FViewOrigin.Y);
}

int TCanvas2D::WorldToPixels(double d) const { return ToPixel(d * FScale); }

void TCanvas2D::SetPickTolerance(int n) {
  FPickTolerance = std::max(1, n == INT32_MIN ? INT32_MAX : std::abs(n));
}

void TCanvas2D::ResetSurface(TPaintSurface& surface, TColor fontColor) {
  surface.SetPen(TPen{});
  BackgroundColor = FPaintBox.WindowColor();
  TBrush brush = surface.Brush();
  brush.Color = BackgroundColor;
  surface.SetBrush(brush);
  TFont font = surface.Font();
  font.Color = fontColor;
  surface.SetFont(font);
}

void TCanvas2D::SetPen(TColor color, int width, TPenStyle style) {
  TPen pen = FSurface->Pen();
  pen.Color = color;
  pen.Width = width;
  pen.Style = style;
  FSurface->SetPen(pen);
}

void TCanvas2D::SetBrush(TColor color, TBrushStyle style) { FSurface->SetBrush(TBrush{color, style}); }

void TCanvas2D::SetFont(const std::string& name, int size, TColor color) {
  TFont font = FSurface->Font();
  font.Name = name;
  font.Height = ToPixel(size * 96.0 / 72.0);
  font.Color = color;
  FSurface->SetFont(font);
}

void TCanvas2D::SetFontName(const std::string& name) {
  TFont font = FSurface->Font();
  font.Name = name;
  FSurface->SetFont(font);
}

void TCanvas2D::SetFontHeight(double height) {
  TFont font = FSurface->Font();
  font.Height = WorldToPixels(height);
  FSurface->SetFont(font);
}

void TCanvas2D::SetFontColor(TColor color) {
  TFont font = FSurface->Font();
  font.Color = color;
  FSurface->SetFont(font);
}

void TCanvas2D::MoveTo(const TComplex& p) { MoveTo(p.X, p.Y); }

void TCanvas2D::MoveTo(double x, double y) {
  const TPoint s = WorldToScreen(x, y);
  FSurface->MoveTo(s.X, s.Y);
}

void TCanvas2D::LineTo(const TComplex& p) { LineTo(p.X, p.Y); }

void TCanvas2D::LineTo(double x, double y) {
  const TPoint s = WorldToScreen(x, y);
  FSurface->LineTo(s.X, s.Y);
}

void TCanvas2D::Rectangle(const TComplex& p1, const TComplex& p2) {
  const TPoint a = WorldToScreen(p1), b = WorldToScreen(p2);
  const TPoint outline[5] = {a, {b.X, a.Y}, b, {a.X, b.Y}, a};
  FSurface->Polyline(outline);
}

void TCanvas2D::Polygon(std::span<const TPoint> points) { FSurface->Polygon(points); }

void TCanvas2D::CircleRec(const TComplex& p, int r) {
  const TPoint s = WorldToScreen(p);
  r = PixelSpan(r);
  FSurface->Ellipse(s.X - r, s.Y - r, s.X + r, s.Y + r);
}

void TCanvas2D::CircleWorld(const TComplex& p, double r) {
  const TPoint s = WorldToScreen(p);
  const int n = WorldToPixels(r);
  const TBrush brush = FSurface->Brush();
  FSurface->SetBrush(TBrush{brush.Color, TBrushStyle::Clear});
  FSurface->Ellipse(s.X - n, s.Y - n, s.X + n, s.Y + n);
  FSurface->SetBrush(brush);
}

void TCanvas2D::DrawImage(const TComplex& p, int index, int dx, int dy) {
  if (!ImageList || index < 0 || size_t(index) >= ImageList->Images.size()) return;
  const TPoint s = WorldToScreen(p);
  FSurface->DrawRaster(s.X - PixelSpan(dx), s.Y - PixelSpan(dy), ImageList->Images[size_t(index)]);
}

void TCanvas2D::TextAtRec(const TComplex& p, int dx, int dy, const std::string& text) {
  const TPoint s = WorldToScreen(p);
  FSurface->TextOut(s.X + PixelSpan(dx), s.Y + PixelSpan(dy), text);
}

void TCanvas2D::Arrow(const TComplex& p, const TComplex& v) {
  const double length = v.Abs();
  if (!(length > 0)) return;
  const TPoint s = WorldToScreen(p);
  const int tx = s.X + WorldToPixels(v.X);
  const int ty = s.Y - WorldToPixels(v.Y);
  const double ux = v.X / length, uy = v.Y / length;
  FSurface->MoveTo(s.X, s.Y);
  FSurface->LineTo(tx, ty);
  FSurface->LineTo(tx + ToPixel(-20 * ux + 4 * uy), ty - ToPixel(-20 * uy - 4 * ux));
  FSurface->LineTo(tx + ToPixel(-20 * ux - 4 * uy), ty - ToPixel(-20 * uy + 4 * ux));
  FSurface->LineTo(tx, ty);
}

void TCanvas2D::Marker(const TComplex& p, int type, int n) {
  const TPoint s = WorldToScreen(p);
  n = PixelSpan(n);
  const int x = s.X, y = s.Y, h = n / 2;
  TPaintSurface& c = *FSurface;
  auto path = [&c](std::initializer_list<TPoint> points) {
    auto it = points.begin();
    c.MoveTo(it->X, it->Y);
    for (++it; it != points.end(); ++it) c.LineTo(it->X, it->Y);
  };
  switch (type & 0x7F) {
    case kMarkerPlus:
      path({{x - n, y}, {x + n, y}});
      path({{x, y - n}, {x, y + n}});
      break;
    case kMarkerCross:
      path({{x - n, y - n}, {x + n, y + n}});
      path({{x + n, y - n}, {x - n, y + n}});
      break;
    case kMarkerBowTie:
      path({{x - n, y - n}, {x + n, y + n}, {x + n, y - n}, {x - n, y + n}, {x - n, y - n}});
      break;
    case kMarkerHourglass:
      path({{x - n, y - n}, {x + n, y + n}, {x - n, y + n}, {x + n, y - n}, {x - n, y - n}});
      break;
    case kMarkerCircle: {
      const TBrush brush = c.Brush();
      c.SetBrush(TBrush{brush.Color, TBrushStyle::Clear});
      c.Ellipse(x - n, y - n, x + n, y + n);
      c.SetBrush(brush);
      break;
    }
    case kMarkerSquare:
      path({{x - n, y - n}, {x + n, y - n}, {x + n, y + n}, {x - n, y + n}, {x - n, y - n}});
      break;
    case kMarkerOctagon:
      path({{x + h, y + n},
            {x + n, y + h},
            {x + n, y - h},
            {x + h, y - n},
            {x - h, y - n},
            {x - n, y - h},
            {x - n, y + h},
            {x - h, y + n},
            {x + h, y + n}});
      break;
    default:
      break;
  }
}

void TCanvas2D::TextLabel(const TComplex& p, int n, const std::string& text) {
  const TPoint s = WorldToScreen(p);
  n = PixelSpan(n);
  const int style = LabelStyleValue();
  if (style == 0) {
    FSurface->TextOut(s.X + n, s.Y + n, text);
  } else if (style == 1) {
    const TSize size = FSurface->TextExtent(text);
    FSurface->FillRect(s.X + n, s.Y + n, s.X + n + size.Width, s.Y + n + size.Height);
  }
}

void TCanvas2D::DrawText(int x, int y, const std::string& text, int escapement) {
  const TFont font = FSurface->Font();
  TFont rotated = font;
  rotated.Escapement = escapement;
  FSurface->SetFont(rotated);
  FSurface->TextOut(x, y, text);
  FSurface->SetFont(font);
}

void TCanvas2D::RotatedText(const TComplex& p1, const TComplex& p2, const std::string& text, double angle,
                            int v, int k) {
  const TSize size = FSurface->TextExtent(text);
  const double w = size.Width, h = size.Height;
  const double s = std::sin(angle), c = std::cos(angle);
  const TPoint a = WorldToScreen(p1), b = WorldToScreen(p2);
  double x = a.X, y = a.Y;
  if (k == 1 || k == 4) {
    x = (a.X + b.X - w * c) / 2;
    y = (a.Y + b.Y + w * s) / 2;
  } else if (k == 2 || k == 5) {
    x = b.X - w * c;
    y = b.Y + w * s;
  }
  if (v == 0 || v == 3) {
    x -= h * s;
    y -= h * c;
  } else if (v == 2) {
    x -= h * s / 2;
    y -= h * c / 2;
  }
  DrawText(ToPixel(x), ToPixel(y), text, ToPixel(angle * 1800 / std::numbers::pi));
}

void TCanvas2D::TextList(const TComplex& p, int anchor, const std::vector<std::string>& lines, double angle) {
  if (lines.empty()) return;
  const double h = FSurface->TextExtent(lines.front()).Height;
  const double n = double(lines.size());
  const double s = std::sin(angle), c = std::cos(angle);
  const TPoint origin = WorldToScreen(p);
  double bx = origin.X, by = origin.Y;
  if (anchor >= 4 && anchor <= 6) {
    bx -= n * h * s / 2;
    by -= n * h * c / 2;
  } else if (anchor >= 7 && anchor <= 9) {
    bx -= n * h * s;
    by -= n * h * c;
  }
  const int escapement = ToPixel(angle * 1800 / std::numbers::pi);
  for (size_t i = 0; i < lines.size(); ++i) {
    const double w = FSurface->TextExtent(lines[i]).Width;
    double x = bx, y = by;
    if (anchor == 2 || anchor == 5 || anchor == 8) {
      x -= w * c / 2;
      y += w * s / 2;
    } else if (anchor == 3 || anchor == 6 || anchor == 9) {
      x -= w * c;
      y += w * s;
    }
    x += double(i) * h * s;
    y += double(i) * h * c;
    DrawText(ToPixel(x), ToPixel(y), lines[i], escapement);
  }
}

void TCanvas2D::AlignedText(const TComplex& p, int horizontal, const std::string& text, int vertical) {
  const TSize size = FSurface->TextExtent(text);
  const TPoint s = WorldToScreen(p);
  int x = s.X, y = s.Y;
  if (horizontal == 1)
    x -= size.Width / 2;
  else if (horizontal == 2)
    x -= size.Width;
  if (vertical == 0 || vertical == 1)
    y -= size.Height;
  else if (vertical == 2)
    y -= size.Height / 2;
  if (LabelStyleValue() == 1)
    FSurface->FillRect(x, y, x + size.Width, y + size.Height);
  else
    FSurface->TextOut(x, y, text);
}

void TCanvas2D::AnchoredText(const TComplex& p, int anchor, const std::string& text) {
  if (anchor < 2 || anchor > 9) anchor = 1;
  const TSize size = FSurface->TextExtent(text);
  const TPoint s = WorldToScreen(p);
  const int column = (anchor - 1) % 3, row = (anchor - 1) / 3;
  const int dx = column == 0 ? 0 : column == 1 ? -(size.Width / 2) : -size.Width;
  const int dy = row == 0 ? 0 : row == 1 ? -(size.Height / 2) : -size.Height;
  FSurface->TextOut(s.X + dx, s.Y + dy, text);
}

void TCanvas2D::Resize() {
  if (FFront) FFront->SetSize(FPaintBox.Width(), FPaintBox.Height());
}

void TCanvas2D::Present() {
  if (FFront) FPaintBox.Canvas().Draw(0, 0, *FFront);
}

void TCanvas2D::SetMode(int mode) {
  FMode = mode;
  FPaintBox.SetCursor(CursorForMode(mode));
}

void TCanvas2D::MouseDown(int x, int y) {
  FBandShown = false;
  PreviousPoint = PressPoint;
  PressPoint = ScreenToWorld(x, y);
  PressPos = {x, y};
  // A drag measures its steps from the press, whether or not a move preceded it.
  CurrentPoint = PressPoint;
  PreviousPos = CurrentPos = PressPos;
}

void TCanvas2D::DrawBand(int x, int y) {
  TPaintSurface& screen = FPaintBox.Canvas();
  const TPen pen = screen.Pen();
  screen.SetPen(TPen{kGray, 1, TPenStyle::Solid, TPenMode::NotXor});
  const TPoint anchor = BandAnchor();
  auto outline = [&](TPoint corner) {
    const TPoint points[5] = {anchor, {corner.X, anchor.Y}, corner, {anchor.X, corner.Y}, anchor};
    screen.Polyline(points);
  };
  // Drawn a second time in not-XOR mode, the previous band is gone.
  if (FBandShown) outline(FBandCorner);
  FBandCorner = BandCorner(x, y);
  outline(FBandCorner);
  screen.SetPen(pen);
}

TPoint TCanvas2D::BandAnchor() const { return PressPos; }

TPoint TCanvas2D::BandCorner(int x, int y) const { return {x, y}; }

void TCanvas2D::ZoomDrag(int, int) {}

void TCanvas2D::MouseMove(TShiftState shift, int x, int y) {
  const TComplex replaced = CurrentPoint;
  PreviousPos = CurrentPos;
  if (shift & kLeftButton) {
    if (FMode == kModeZoomRect) {
      CurrentPoint = ScreenToWorld(x, y);
      DrawBand(x, y);
      FBandShown = true;
    } else if (FMode == kModePan) {
      PanDrag(x, y);
    } else if (FMode == kModeDragZoom) {
      ZoomDrag(x, y);
    }
  }
  CurrentPos = {x, y};
  PreviousPoint = replaced;
  CurrentPoint = ScreenToWorld(x, y);
  UpdateStatus();
}

void TCanvas2D::MouseUp(TShiftState shift, int x, int y) {
  PreviousPoint = ReleasePoint;
  ReleasePoint = ScreenToWorld(x, y);
  if (FMode == kModeZoomRect)
    ZoomToRect(ReleasePoint, PressPoint, 1.0);
  else if (FMode == kModeZoomOut)
    ZoomOutClick();
  if (AutoResetMode && !(shift & kShiftKey)) SetMode(kModeSelect);
}

void TCanvas2D::UpdateStatus() {
  const TComplex& p = CurrentPoint;
  const char separator = Units.DecimalSeparator ? Units.DecimalSeparator() : '.';
  const auto length = [&](double v) { return Fixed82(Units.FromSI(kLengthCategory, v), separator); };
  const std::string lengthSymbol = Units.UnitSymbol(kLengthCategory);
  if (XPanel) {
    if (Polar)
      XPanel->SetText("R: " + length(p.Abs()) + " " + lengthSymbol);
    else
      XPanel->SetText("X: " + length(p.X) + " " + lengthSymbol);
  }
  if (YPanel) {
    if (Polar)
      YPanel->SetText("Angle: " + Fixed82(Units.FromSI(kAngleCategory, p.Arg()), separator) + " " +
                      Units.UnitSymbol(kAngleCategory));
    else
      YPanel->SetText("Y: " + length(p.Y) + " " + lengthSymbol);
  }
}

// ---------------------------------------------------------------------------------------------
// TAniCanvas2D

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
  if (GridStyle == 1) {
    surface.MoveTo(0, FOriginY);
    surface.LineTo(width, FOriginY);
    surface.MoveTo(FOriginX, 0);
    surface.LineTo(FOriginX, height);
  } else if (GridStyle == 2) {
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
  if (GridStyle == 3) {
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

// ---------------------------------------------------------------------------------------------
// TSynthCanvas2D

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
