// The Qt side of TCanvas2D: a QImage drawing surface, a paint box bound to a QWidget (screen
// image, mouse forwarding, cursors by mode), a window-less paint box and a status panel on a
// QLabel.
#pragma once

#include <QCursor>
#include <QImage>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <functional>
#include <memory>

#include "shared/Canvas2D.h"
#include "shared/PaintSurface.h"

class QLabel;
class QPainter;

namespace shared {

QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);
// Opaque pixels of the image; the alpha byte of each pixel carries the image's alpha.
TRaster RasterFromImage(const QImage& image);
QImage ImageFromRaster(const TRaster& raster);
TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
// Standard shapes where Qt has one, small drawn cursors for the program's own.
QCursor CursorFor(int cursor);

// Drawing with GDI habits on an RGB32 image: no anti-aliasing, one-pixel lines leave out their
// end pixel, a solid brush fills behind text.
class TQtImageSurface : public TPaintSurface {
 public:
  TQtImageSurface(int width, int height);

  const QImage& Image() const { return FImage; }
  // Called after every drawing operation with the pixels it may have touched, so that the paint
  // box repaints only that part of its widget.
  std::function<void(const QRect& area)> OnChanged;

  int Width() const override { return FImage.width(); }
  int Height() const override { return FImage.height(); }
  void SetSize(int width, int height) override;
  void SetPen(const TPen& pen) override { FPen = pen; }
  TPen Pen() const override { return FPen; }
  void SetBrush(const TBrush& brush) override { FBrush = brush; }
  TBrush Brush() const override { return FBrush; }
  void SetFont(const TFont& font) override { FFont = font; }
  TFont Font() const override { return FFont; }
  void MoveTo(int x, int y) override { FPosition = QPoint(x, y); }
  void LineTo(int x, int y) override;
  void Polyline(std::span<const TPoint> points) override;
  void Polygon(std::span<const TPoint> points) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void FillRect(int x1, int y1, int x2, int y2) override;
  void TextOut(int x, int y, const std::string& text) override;
  TSize TextExtent(const std::string& text) override;
  void DrawRaster(int x, int y, const TRaster& raster) override;
  void Draw(int x, int y, const TPaintSurface& source) override;
  TRaster ReadPixels() const override;

 private:
  void Prepare(QPainter& painter, bool withPen, bool withBrush) const;
  void Changed(const QRect& area);

  QImage FImage;
  TPen FPen;
  TBrush FBrush;
  TFont FFont;
  QPoint FPosition;
};

// A paint box without a window, of a fixed size, for drawings that go only to files: its surface
// is an image; the window colour is white.
class TQtBitmapPaintBox : public TPaintBox {
 public:
  TQtBitmapPaintBox(int width, int height) : FScreen(width, height) {}

  int Width() const override { return FScreen.Width(); }
  int Height() const override { return FScreen.Height(); }
  int ParentClientWidth() const override { return FScreen.Width(); }
  int ParentClientHeight() const override { return FScreen.Height(); }
  TPaintSurface& Canvas() override { return FScreen; }
  std::unique_ptr<TPaintSurface> CreateBitmap(int width, int height) override {
    return std::make_unique<TQtImageSurface>(width, height);
  }
  void SetCursor(int) override {}
  TColor WindowColor() const override { return kWhite; }

 private:
  TQtImageSurface FScreen;
};

class TQtStatusPanel : public TStatusPanel {
 public:
  explicit TQtStatusPanel(QLabel* label) : FLabel(label) {}
  void SetText(const std::string& text) override;

 private:
  QLabel* FLabel;
};

// Makes a QWidget the paint box of a canvas. The widget shows the screen image (Canvas());
// Present and rubber bands draw there. Mouse events reach the canvas first, then the view's
// handlers below. The view owns this object (no Qt parent); a canvas bound to it goes first.
class TQtPaintBox : public QObject, public TPaintBox {
  Q_OBJECT

 public:
  explicit TQtPaintBox(QWidget* widget);
  ~TQtPaintBox() override;

  QWidget* Widget() const { return FWidget.data(); }
  // The canvas that receives the mouse events and follows resizes; not owned.
  void SetCanvas(TCanvas2D* canvas) { FCanvas = canvas; }

  // Called in the paint event before the screen image is shown: the view draws and presents.
  std::function<void()> OnPaint;
  std::function<void(Qt::MouseButton button, TShiftState shift, int x, int y)> OnMouseDown;
  std::function<void(TShiftState shift, int x, int y)> OnMouseMove;
  std::function<void(Qt::MouseButton button, TShiftState shift, int x, int y)> OnMouseUp;
  std::function<void(int x, int y)> OnDoubleClick;
  // Wheel turn in eighths of a degree (120 a notch).
  std::function<void(int delta, TShiftState shift)> OnWheel;
  std::function<void()> OnResize;

  int Width() const override;
  int Height() const override;
  int ParentClientWidth() const override;
  int ParentClientHeight() const override;
  // The screen image, kept at the widget's size (a hidden widget gets no resize events).
  TPaintSurface& Canvas() override;
  std::unique_ptr<TPaintSurface> CreateBitmap(int width, int height) override;
  void SetCursor(int cursor) override;
  TColor WindowColor() const override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPointer<QWidget> FWidget;
  TCanvas2D* FCanvas = nullptr;
  TQtImageSurface FScreen;
  bool FPainting = false;
};

}  // namespace shared
