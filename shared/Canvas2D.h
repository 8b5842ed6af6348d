// TCanvas2D: the world-to-screen view on a paint box that every model class draws itself on,
// with zoom, pan, markers, text, the mouse modes and the co-ordinate read-out. Its two forms,
// which differ in how the view is defined, are TAniCanvas2D (AniCanvas2D.h) and TSynthCanvas2D
// (SynthCanvas2D.h).
#pragma once

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "shared/Complex.h"
#include "shared/PaintSurface.h"

namespace shared {

// Keys and buttons held during a mouse event.
using TShiftState = uint8_t;
inline constexpr TShiftState kShiftKey = 1;
inline constexpr TShiftState kAltKey = 2;
inline constexpr TShiftState kCtrlKey = 4;
inline constexpr TShiftState kLeftButton = 8;
inline constexpr TShiftState kRightButton = 16;
inline constexpr TShiftState kMiddleButton = 32;

// Marker types; 7 is the synthesis program's triangle and draws nothing in the animator.
inline constexpr int kMarkerPlus = 0;
inline constexpr int kMarkerCross = 1;
inline constexpr int kMarkerBowTie = 2;
inline constexpr int kMarkerHourglass = 3;
inline constexpr int kMarkerCircle = 4;
inline constexpr int kMarkerSquare = 5;
inline constexpr int kMarkerOctagon = 6;
inline constexpr int kMarkerTriangle = 7;

// Mouse modes the canvas acts on itself; the views give meaning to the others.
inline constexpr int kModeSelect = 0;
inline constexpr int kModeZoomRect = 2;
inline constexpr int kModeZoomOut = 3;
inline constexpr int kModePan = 10;
inline constexpr int kModeDragZoom = 12;

// Quantity categories of the read-out (numbers of the unit service).
inline constexpr int kLengthCategory = 1;
inline constexpr int kAngleCategory = 8;

// How the read-out shows SI values; SIReadoutUnits shows metres and radians with a ".".
struct TReadoutUnits {
  std::function<double(int category, double si)> FromSI;
  std::function<std::string(int category)> UnitSymbol;
  std::function<char()> DecimalSeparator;
};
TReadoutUnits SIReadoutUnits();
// The display units and decimal separator of the unit service, asked at each read-out.
TReadoutUnits ConvertReadoutUnits();
// Taken by every canvas created afterwards; SIReadoutUnits until the program sets it.
void SetDefaultReadoutUnits(TReadoutUnits units);
const TReadoutUnits& DefaultReadoutUnits();
// After CreateConvert at start-up: SetDefaultReadoutUnits(ConvertReadoutUnits()).
void BindReadoutToConvert();

// A pixel count or co-ordinate from a double: rounded, NaN as 0, and held within +-2^24 so that
// offsets added to it stay inside 32 bits; a point far off screen still lies in its direction.
int PixelOf(double value);

class TCanvas2D {
 public:
  explicit TCanvas2D(TPaintBox& paintBox);
  TCanvas2D(const TCanvas2D&) = delete;
  TCanvas2D& operator=(const TCanvas2D&) = delete;
  virtual ~TCanvas2D();

  TPaintBox& PaintBox() const { return FPaintBox; }
  // Where the primitives draw: the paint box or an off-screen bitmap.
  TPaintSurface& Surface() const { return *FSurface; }

  // World (metres, y up) to pixels (y down); far-off points are clamped to a large pixel range.
  TPoint WorldToScreen(const TComplex& p) const;
  TPoint WorldToScreen(double x, double y) const;
  TComplex ScreenToWorld(int sx, int sy) const;
  double PixelsToWorld(double n) const { return n / FScale; }
  int WorldToPixels(double d) const;
  double PickToleranceWorld() const { return FPickTolerance / FScale; }
  void SetPickTolerance(int n);
  int PickTolerance() const { return FPickTolerance; }
  double Scale() const { return FScale; }
  int OriginX() const { return FOriginX; }
  int OriginY() const { return FOriginY; }

  // Drawing on the current surface; points in world units, sizes in pixels unless said.
  virtual void SetPen(TColor color, int width = 1, TPenStyle style = TPenStyle::Solid);
  void SetBrush(TColor color, TBrushStyle style = TBrushStyle::Solid);
  // size in points (96 pixels per inch).
  void SetFont(const std::string& name, int size, TColor color);
  virtual void SetFontName(const std::string& name);
  // Height in world units.
  virtual void SetFontHeight(double height);
  void SetFontColor(TColor color);
  void MoveTo(const TComplex& p);
  void MoveTo(double x, double y);
  void LineTo(const TComplex& p);
  void LineTo(double x, double y);
  // Outline through the two world corners.
  void Rectangle(const TComplex& p1, const TComplex& p2);
  // Screen points.
  void Polygon(std::span<const TPoint> points);
  // Filled with the brush, pixel radius r.
  void CircleRec(const TComplex& p, int r);
  // Hollow, world radius r.
  void CircleWorld(const TComplex& p, double r);
  // Picture of ImageList with its top-left at (sx - dx, sy - dy).
  void DrawImage(const TComplex& p, int index, int dx, int dy);
  void TextAtRec(const TComplex& p, int dx, int dy, const std::string& text);
  // Vector v (world units) from p with a head 20 pixels long and 8 wide; nothing for |v| = 0.
  void Arrow(const TComplex& p, const TComplex& v);
  // Pixel sizes and offsets given to these (r, dx, dy, n) are held within the 2^24 of a screen
  // position, whatever their source.
  // Marker of half-size n pixels; the type's bit 7 is ignored.
  virtual void Marker(const TComplex& p, int type, int n);
  // Text with its top-left n pixels right of and below p, or its rectangle erased with the
  // brush (label style 1).
  void TextLabel(const TComplex& p, int n, const std::string& text);
  // Text along the angle (radians): k places it from p1 (0, 3), centred between p1 and p2
  // (1, 4) or ending at p2 (2, 5); v puts it above the line (0, 3), centred on it (2) or below
  // it (1).
  void RotatedText(const TComplex& p1, const TComplex& p2, const std::string& text, double angle, int v,
                   int k);
  // Lines one below the other; anchor 1..9 names the block's point at p (1 top-left, 5 centre,
  // 9 bottom-right).
  void TextList(const TComplex& p, int anchor, const std::vector<std::string>& lines, double angle);
  // horizontal 0 left, 1 centred, 2 ending at p; vertical 0 or 1 above p, 2 centred, else below.
  void AlignedText(const TComplex& p, int horizontal, const std::string& text, int vertical);
  // anchor 1..9: the text's point that sits on p, as for TextList.
  void AnchoredText(const TComplex& p, int anchor, const std::string& text);

  // View.
  virtual void Zoom(double f) = 0;
  virtual void ZoomToRect(const TComplex& p1, const TComplex& p2, double margin = 1.0) = 0;
  virtual void ResetView() = 0;
  // Bitmaps follow the paint box's size.
  virtual void Resize();
  virtual void SetDoubleBuffered(bool on) = 0;
  bool DoubleBuffered() const { return FFront != nullptr; }
  virtual void ClearBackground() = 0;
  // The (front) bitmap onto the paint box at (0, 0); nothing when not double-buffered.
  void Present();

  // Mouse modes.
  void SetMode(int mode);
  int Mode() const { return FMode; }
  virtual int CursorForMode(int mode) const = 0;
  void MouseDown(int x, int y);
  void MouseMove(TShiftState shift, int x, int y);
  void MouseUp(TShiftState shift, int x, int y);
  // Writes the CurrentPoint to XPanel and YPanel.
  void UpdateStatus();
  bool BandShown() const { return FBandShown; }

  // True: after a mouse-up without Shift the mode returns to kModeSelect.
  bool AutoResetMode = true;
  bool Polar = false;
  TStatusPanel* XPanel = nullptr;
  TStatusPanel* YPanel = nullptr;
  TColor BackgroundColor = kWhite;
  TReadoutUnits Units;
  const TImageList* ImageList = nullptr;

  // World positions of the last mouse-down, the mouse, the last mouse-up, and the value that
  // the last event replaced.
  TComplex PressPoint;
  TComplex CurrentPoint;
  TComplex ReleasePoint;
  TComplex PreviousPoint;
  TPoint PressPos;
  TPoint CurrentPos;
  TPoint PreviousPos;

 protected:
  // Pen black, solid, width 1, copy mode; background the window colour; brush the background.
  void ResetSurface(TPaintSurface& surface, TColor fontColor);
  virtual void ResetPens() = 0;
  virtual int LabelStyleValue() const = 0;
  // The drag of kModePan and kModeDragZoom, the click of kModeZoomOut.
  virtual void PanDrag(int x, int y) = 0;
  virtual void ZoomDrag(int x, int y);
  virtual void ZoomOutClick() = 0;
  // The rubber band of kModeZoomRect from BandAnchor to BandCorner, the previous one erased.
  void DrawBand(int x, int y);
  // Screen corners of the band: the press position and (x, y) unless a canvas says otherwise.
  virtual TPoint BandAnchor() const;
  virtual TPoint BandCorner(int x, int y) const;
  void DrawText(int x, int y, const std::string& text, int escapement);

  // A size or offset in pixels that is added to a screen position, held within the limit of
  // PixelOf.
  static int PixelSpan(int n);
  // A world distance in whole pixels, NaN as 0 and unclamped.
  static double PixelOffset(double value);
  // The cursor of a mode by a table for modes 0..16, bit 7 ignored; others show the arrow.
  static int CursorFromTable(const int (&table)[17], int mode);

  TPaintBox& FPaintBox;
  TPaintSurface* FSurface;
  std::unique_ptr<TPaintSurface> FFront;
  double FScale = 1;
  int FOriginX = 0;
  int FOriginY = 0;
  // The world point at the screen origin reference; (0, 0) in the animator.
  TComplex FViewOrigin;
  int FMode = 0;
  int FPickTolerance = 8;
  bool FBandShown = false;
  TPoint FBandCorner;
};

}  // namespace shared
