// The world-to-screen view of both programs: mapping, primitives, markers, text placement,
// mouse modes and read-out.
#include "shared/Canvas2D.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "shared/Convert.h"

namespace shared {

namespace {

// Points far off screen (a zero division gives 1e10) must not overflow the 32-bit pixels; a
// line towards such a point still leaves the screen in its direction.
constexpr double kPixelLimit = 16777216.0;

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

}  // namespace

int PixelOf(double value) {
  if (std::isnan(value)) return 0;
  return int(std::clamp(std::nearbyint(value), -kPixelLimit, kPixelLimit));
}

// A marker's half-size or a label's offset: held so the sum with a screen position stays well
// inside 32 bits whatever a file or caller gave.
int TCanvas2D::PixelSpan(int n) { return std::clamp(n, -int(kPixelLimit), int(kPixelLimit)); }

// Zoomed far in, a point near the view can lie many millions of pixels from the world origin;
// only its place on the screen is clamped.
double TCanvas2D::PixelOffset(double value) { return std::isnan(value) ? 0 : std::nearbyint(value); }

int TCanvas2D::CursorFromTable(const int (&table)[17], int mode) {
  mode &= 0x7F;
  if (mode < 1 || mode > 16) return kCursorArrow;
  return table[mode];
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
  return {PixelOf(dx + FOriginX), PixelOf(FOriginY - dy)};
}

TComplex TCanvas2D::ScreenToWorld(int sx, int sy) const {
  return TComplex(double(sx - FOriginX) / FScale + FViewOrigin.X,
                  double(FOriginY - sy) / FScale + FViewOrigin.Y);
}

int TCanvas2D::WorldToPixels(double d) const { return PixelOf(d * FScale); }

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
  font.Height = PixelOf(size * 96.0 / 72.0);
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
  FSurface->LineTo(tx + PixelOf(-20 * ux + 4 * uy), ty - PixelOf(-20 * uy - 4 * ux));
  FSurface->LineTo(tx + PixelOf(-20 * ux - 4 * uy), ty - PixelOf(-20 * uy + 4 * ux));
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
  DrawText(PixelOf(x), PixelOf(y), text, PixelOf(angle * 1800 / std::numbers::pi));
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
  const int escapement = PixelOf(angle * 1800 / std::numbers::pi);
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
    DrawText(PixelOf(x), PixelOf(y), lines[i], escapement);
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

}  // namespace shared
