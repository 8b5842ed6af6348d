// The drawing surface and the paint box as TCanvas2D sees them: pixel primitives with a pen, a
// brush and a font, off-screen rasters for pictures, and the window that hosts the view.
// The programs back them with Qt (shared/qt/QtCanvas.h); tests give recording fakes.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace shared {

// $00BBGGRR: red in the low byte, as the registry stores colours.
using TColor = uint32_t;

inline constexpr TColor kBlack = 0x000000;
inline constexpr TColor kWhite = 0xFFFFFF;
inline constexpr TColor kGray = 0x808080;    // 8421504
inline constexpr TColor kSilver = 0xC0C0C0;  // 12632256
inline constexpr TColor kRed = 0x0000FF;
inline constexpr TColor kLime = 0x00FF00;  // the colour of a selected item

inline constexpr uint8_t RedOf(TColor c) { return c & 0xFF; }
inline constexpr uint8_t GreenOf(TColor c) { return (c >> 8) & 0xFF; }
inline constexpr uint8_t BlueOf(TColor c) { return (c >> 16) & 0xFF; }
inline constexpr TColor MakeColor(uint8_t r, uint8_t g, uint8_t b) {
  return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}

// The numbers are those stored with DXF line types and object records.
enum class TPenStyle : uint8_t {
  Solid = 0,
  Dash = 1,
  Dot = 2,
  DashDot = 3,
  DashDotDot = 4,
  Clear = 5,
  InsideFrame = 6
};

// NotXor draws a second time to restore what was there (rubber bands).
enum class TPenMode : uint8_t { Copy = 0, NotXor = 1 };

enum class TBrushStyle : uint8_t {
  Solid = 0,
  Clear = 1,
  Horizontal = 2,
  Vertical = 3,
  FDiagonal = 4,
  BDiagonal = 5,
  Cross = 6,
  DiagCross = 7
};

struct TPen {
  TColor Color = kBlack;
  int Width = 1;
  TPenStyle Style = TPenStyle::Solid;
  TPenMode Mode = TPenMode::Copy;
  bool operator==(const TPen&) const = default;
};

// A solid brush also fills the background of text; a clear brush leaves text transparent.
struct TBrush {
  TColor Color = kWhite;
  TBrushStyle Style = TBrushStyle::Solid;
  bool operator==(const TBrush&) const = default;
};

struct TFont {
  std::string Name = "MS Sans Serif";
  int Height = 13;  // character height in pixels
  TColor Color = kBlack;
  int Escapement = 0;  // tenths of a degree, counter-clockwise
  bool operator==(const TFont&) const = default;
};

struct TPoint {
  int X = 0;
  int Y = 0;
  bool operator==(const TPoint&) const = default;
};

struct TSize {
  int Width = 0;
  int Height = 0;
  bool operator==(const TSize&) const = default;
};

// Row-major pixels from the top-left, each $AABBGGRR: a TColor with an opacity in the high byte
// (0xFF opaque, 0 transparent). Rasters read from a surface are opaque.
struct TRaster {
  int Width = 0;
  int Height = 0;
  std::vector<uint32_t> Pixels;

  TRaster() = default;
  TRaster(int width, int height, uint32_t fill = 0xFF000000)
      : Width(width),
        Height(height),
        Pixels(size_t(width > 0 ? width : 0) * size_t(height > 0 ? height : 0), fill) {}
  uint32_t At(int x, int y) const { return Pixels[size_t(y) * size_t(Width) + size_t(x)]; }
  TColor ColorAt(int x, int y) const { return At(x, y) & 0xFFFFFF; }
};

// The pictures that a view draws at joints; an index outside the list draws nothing.
struct TImageList {
  std::vector<TRaster> Images;
};

// Pixel drawing with GDI-like state: MoveTo/LineTo draw with the pen from the pen position,
// Ellipse and Polygon fill with the brush and outline with the pen, text is drawn with its
// top-left (rotated by the font's escapement) at the given point.
class TPaintSurface {
 public:
  virtual ~TPaintSurface() = default;

  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // Off-screen surfaces only; the contents after a resize are undefined until cleared.
  virtual void SetSize(int width, int height) = 0;

  virtual void SetPen(const TPen& pen) = 0;
  virtual TPen Pen() const = 0;
  virtual void SetBrush(const TBrush& brush) = 0;
  virtual TBrush Brush() const = 0;
  virtual void SetFont(const TFont& font) = 0;
  virtual TFont Font() const = 0;

  virtual void MoveTo(int x, int y) = 0;
  virtual void LineTo(int x, int y) = 0;
  // Open outline through the points, drawn with the pen only.
  virtual void Polyline(std::span<const TPoint> points) = 0;
  virtual void Polygon(std::span<const TPoint> points) = 0;
  // Bounded by the rectangle (x1, y1)-(x2, y2).
  virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
  // Fills (x1, y1)-(x2, y2), right and bottom edges excluded, with the brush; no outline.
  virtual void FillRect(int x1, int y1, int x2, int y2) = 0;
  // Text is Windows-1252.
  virtual void TextOut(int x, int y, const std::string& text) = 0;
  // Unrotated extent of the text in the current font.
  virtual TSize TextExtent(const std::string& text) = 0;
  virtual void DrawRaster(int x, int y, const TRaster& raster) = 0;
  // Copies the whole source with its top-left at (x, y).
  virtual void Draw(int x, int y, const TPaintSurface& source) = 0;
  virtual TRaster ReadPixels() const = 0;
};

// A status-bar panel that shows one line of text (Windows-1252).
class TStatusPanel {
 public:
  virtual ~TStatusPanel() = default;
  virtual void SetText(const std::string& text) = 0;
};

// Cursor numbers of the views. The program cursors keep their resource numbers.
enum TCursorId : int {
  kCursorArrow = 0,
  kCursorHandPoint = -21,
  kCursorZoom = 1,
  kCursorZoomIn = 2,
  kCursorZoomOut = 3,
  kCursorMoveXY = 4,
  kCursorRotate = 5,
  kCursorDelete = 6,
  kCursorAddArea = 7,
  kCursorAddCurve = 8,
  kCursorAddInput = 9,
  kCursorAddDyad = 10,
  kCursorAddJoint = 11,
  kCursorAddSlider = 12,
};

// The window a view draws on. Canvas() is its own (on-screen) surface and carries the paint box
// font; the canvas does not own the paint box.
class TPaintBox {
 public:
  virtual ~TPaintBox() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // Client size of the window that holds the paint box (a scroll box's visible part).
  virtual int ParentClientWidth() const = 0;
  virtual int ParentClientHeight() const = 0;
  virtual TPaintSurface& Canvas() = 0;
  virtual std::unique_ptr<TPaintSurface> CreateBitmap(int width, int height) = 0;
  virtual void SetCursor(int cursor) = 0;
  // The system's window colour: the default background of every view.
  virtual TColor WindowColor() const = 0;
};

}  // namespace shared
