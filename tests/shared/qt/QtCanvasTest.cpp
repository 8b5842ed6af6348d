// The QImage surface and the QWidget paint box of the canvas: GDI-like drawing, pictures saved
// as BMP and JPEG and read back, mouse forwarding, cursors and the status read-out.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QWidget>
#include <filesystem>
#include <numbers>
#include <string>

#include "shared/AniCanvas2D.h"
#include "shared/PictureFile.h"
#include "shared/SynthCanvas2D.h"
#include "shared/qt/QtCanvas.h"
#include "tests/shared/TestFiles.h"

namespace shared {
namespace {

QRgb Rgb(TColor c) { return qRgb(RedOf(c), GreenOf(c), BlueOf(c)); }

void ExpectNear(QRgb actual, TColor expected, int tolerance, const char* what) {
  EXPECT_LE(std::abs(qRed(actual) - int(RedOf(expected))), tolerance) << what;
  EXPECT_LE(std::abs(qGreen(actual) - int(GreenOf(expected))), tolerance) << what;
  EXPECT_LE(std::abs(qBlue(actual) - int(BlueOf(expected))), tolerance) << what;
}

// Bounding box of the pixels that differ from the colour.
QRect InkBox(const QImage& image, QRgb background) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != background) box |= QRect(x, y, 1, 1);
  return box;
}

void SendMouse(QWidget& widget, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QMouseEvent event(type, QPointF(p), widget.mapToGlobal(QPointF(p)), button, buttons, modifiers);
  QCoreApplication::sendEvent(&widget, &event);
}

class QtCanvasFiles : public test::TTempFolderTest {
 protected:
  QtCanvasFiles() : TTempFolderTest("qt_canvas_test") {}
};

TEST(QtImageSurface, LinesShapesAndNotXor) {
  TQtImageSurface s(40, 30);
  s.SetBrush(TBrush{kWhite, TBrushStyle::Solid});
  s.FillRect(0, 0, 40, 30);
  s.SetPen(TPen{kRed, 1, TPenStyle::Solid, TPenMode::Copy});
  s.MoveTo(5, 10);
  s.LineTo(30, 10);
  const QImage& image = s.Image();
  EXPECT_EQ(image.pixel(5, 10), Rgb(kRed));
  EXPECT_EQ(image.pixel(29, 10), Rgb(kRed));
  EXPECT_EQ(image.pixel(31, 10), Rgb(kWhite));
  EXPECT_EQ(image.pixel(5, 11), Rgb(kWhite));

  // Drawn twice in not-XOR mode a band leaves nothing behind.
  const QImage before = image.copy();
  s.SetPen(TPen{kGray, 1, TPenStyle::Solid, TPenMode::NotXor});
  const TPoint band[5] = {{2, 2}, {20, 2}, {20, 20}, {2, 20}, {2, 2}};
  s.Polyline(band);
  EXPECT_EQ(image.pixel(10, 2), Rgb(kGray));  // gray on white
  EXPECT_EQ(image.pixel(20, 15), Rgb(kGray));
  s.Polyline(band);
  EXPECT_EQ(image, before);

  s.SetPen(TPen{kBlack, 1, TPenStyle::Solid, TPenMode::Copy});
  s.SetBrush(TBrush{0xFF0000, TBrushStyle::Solid});
  const TPoint square[4] = {{22, 12}, {36, 12}, {36, 26}, {22, 26}};
  s.Polygon(square);
  EXPECT_EQ(image.pixel(29, 19), Rgb(0xFF0000));
  EXPECT_EQ(image.pixel(22, 19), Rgb(kBlack));

  s.SetBrush(TBrush{kLime, TBrushStyle::Clear});
  s.Ellipse(0, 0, 12, 12);
  EXPECT_EQ(image.pixel(6, 6), Rgb(kWhite));  // hollow
  s.SetBrush(TBrush{kLime, TBrushStyle::Solid});
  s.Ellipse(0, 0, 12, 12);
  EXPECT_EQ(image.pixel(6, 6), Rgb(kLime));

  const TRaster raster = s.ReadPixels();
  ASSERT_EQ(raster.Width, 40);
  ASSERT_EQ(raster.Height, 30);
  EXPECT_EQ(raster.At(29, 19), 0xFFFF0000u);
  EXPECT_EQ(raster.ColorAt(6, 6), kLime);
}

TEST(QtImageSurface, TextOpaqueTransparentAndRotated) {
  TQtImageSurface s(120, 120);
  s.SetBrush(TBrush{kWhite, TBrushStyle::Solid});
  s.FillRect(0, 0, 120, 120);
  s.SetFont(TFont{"DejaVu Sans", 14, kBlack, 0});
  const TSize extent = s.TextExtent("Joint A");
  EXPECT_GT(extent.Width, 30);
  EXPECT_GE(extent.Height, 14);

  // A solid brush fills the text's rectangle, a clear one leaves the background.
  s.SetBrush(TBrush{0x00FFFF, TBrushStyle::Solid});
  s.TextOut(10, 10, "Joint A");
  EXPECT_EQ(s.Image().pixel(10, 10), Rgb(0x00FFFF));
  const QRect textRect(10, 10, extent.Width, extent.Height);
  const QRect opaque = InkBox(s.Image(), Rgb(kWhite));
  EXPECT_TRUE(opaque.contains(textRect));
  EXPECT_TRUE(textRect.adjusted(-2, -2, 2, 2).contains(opaque));  // glyphs may overhang a little
  EXPECT_EQ(s.Image().pixel(textRect.bottomRight()), Rgb(0x00FFFF));

  TQtImageSurface r(120, 120);
  r.SetBrush(TBrush{kWhite, TBrushStyle::Solid});
  r.FillRect(0, 0, 120, 120);
  r.SetBrush(TBrush{kWhite, TBrushStyle::Clear});
  r.SetFont(TFont{"DejaVu Sans", 14, kBlack, 900});
  r.TextOut(40, 100, "Joint A");
  // A quarter turn: the text runs upward from (40, 100) with its top to the left.
  const QRect rotated = InkBox(r.Image(), Rgb(kWhite));
  ASSERT_FALSE(rotated.isEmpty());
  EXPECT_GE(rotated.left(), 40);
  EXPECT_LE(rotated.right(), 40 + extent.Height);
  EXPECT_LE(rotated.bottom(), 100);
  EXPECT_GE(rotated.top(), 100 - extent.Width - 1);
  EXPECT_GT(rotated.height(), rotated.width());
}

TEST(QtImageSurface, CodepageTextAndRasters) {
  TQtImageSurface s(60, 40);
  s.SetFont(TFont{"DejaVu Sans", 12, kBlack, 0});
  // "°" is one byte in Windows-1252 and must measure as one glyph, not as U+FFFD pairs.
  EXPECT_EQ(s.TextExtent("\xB0").Width, QFontMetrics([] {
                                          QFont f("DejaVu Sans");
                                          f.setPixelSize(12);
                                          f.setStyleStrategy(QFont::NoAntialias);
                                          return f;
                                        }())
                                            .horizontalAdvance(QString::fromUtf8("\u00B0")));
  TRaster picture(4, 4, 0xFF0000FF);
  picture.Pixels[0] = 0x00000000;  // transparent corner
  s.SetBrush(TBrush{kWhite, TBrushStyle::Solid});
  s.FillRect(0, 0, 60, 40);
  s.DrawRaster(10, 10, picture);
  EXPECT_EQ(s.Image().pixel(10, 10), Rgb(kWhite));
  EXPECT_EQ(s.Image().pixel(11, 11), Rgb(kRed));

  TQtImageSurface copy(60, 40);
  copy.Draw(0, 0, s);
  EXPECT_EQ(copy.Image(), s.Image());
}

TEST_F(QtCanvasFiles, AnimatorPicturesReadBack) {
  QWidget widget;
  widget.resize(400, 300);
  TQtPaintBox box(&widget);
  TAniCanvas2D canvas(box, 1.0);
  box.SetCanvas(&canvas);
  canvas.SetDoubleBuffered(true);
  canvas.BackgroundColor = kWhite;
  canvas.ClearBackground();
  canvas.CopyBackground();
  canvas.SetBrush(kRed);
  canvas.SetPen(kRed);
  canvas.CircleRec(TComplex(0.1, 0.1), 12);  // centre (225, 125)
  canvas.SetPen(0x00C000, 3);                // not a palette colour: nearest is lime
  canvas.MoveTo(TComplex(-0.4, -0.2));
  canvas.LineTo(TComplex(-0.2, -0.2));  // y = 200, x 100..150

  const std::string bmp = (dir / "mech007.bmp").string();
  canvas.SaveBitmap(bmp);
  QFile file(QString::fromStdString(bmp));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray header = file.read(54);
  EXPECT_EQ(header[28], 4);  // bits per pixel
  EXPECT_EQ(uchar(header[46]), 16);
  file.close();
  QImage picture(QString::fromStdString(bmp));
  ASSERT_FALSE(picture.isNull());
  EXPECT_EQ(picture.size(), QSize(400, 300));
  ASSERT_EQ(picture.colorCount(), 16);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(picture.color(i) | 0xFF000000u, Rgb(kVga16Palette[size_t(i)])) << i;
  EXPECT_EQ(picture.pixel(225, 125), Rgb(kRed));
  EXPECT_EQ(picture.pixel(125, 200), Rgb(kLime));
  EXPECT_EQ(picture.pixel(10, 10), Rgb(kWhite));
  int axisDots = 0;  // the dotted y axis
  for (int y = 0; y < 30; ++y) axisDots += (picture.pixel(200, y) | 0xFF000000u) == Rgb(kGray);
  EXPECT_GE(axisDots, 8);
  EXPECT_LE(axisDots, 20);

  const std::string jpeg = (dir / "mech007.jpg").string();
  canvas.SaveJPEG(jpeg);
  QImage photo(QString::fromStdString(jpeg));
  ASSERT_FALSE(photo.isNull());
  EXPECT_EQ(photo.size(), QSize(400, 300));
  ExpectNear(photo.pixel(225, 125), kRed, 40, "circle");
  ExpectNear(photo.pixel(125, 200), kLime, 60, "line");
  ExpectNear(photo.pixel(10, 10), kWhite, 8, "background");
  EXPECT_FALSE(std::filesystem::exists(jpeg + ".tmp~"));
}

TEST_F(QtCanvasFiles, WithoutDoubleBufferNothingIsSaved) {
  QWidget widget;
  widget.resize(100, 100);
  TQtPaintBox box(&widget);
  TAniCanvas2D canvas(box, 1.0);
  const std::string bmp = (dir / "none.bmp").string();
  canvas.SaveBitmap(bmp);
  canvas.SaveJPEG(bmp);
  EXPECT_FALSE(std::filesystem::exists(bmp));
}

TEST(QtPaintBox, MouseStatusCursorsAndPaint) {
  QWidget widget;
  widget.resize(400, 300);
  QLabel xLabel, yLabel;
  TQtStatusPanel xPanel(&xLabel), yPanel(&yLabel);
  TQtPaintBox box(&widget);
  TAniCanvas2D canvas(box, 1.0);
  box.SetCanvas(&canvas);
  canvas.XPanel = &xPanel;
  canvas.YPanel = &yPanel;
  EXPECT_EQ(canvas.BackgroundColor, FromQColor(widget.palette().color(QPalette::Base)));

  int presses = 0;
  Qt::MouseButton pressed = Qt::NoButton;
  TShiftState pressShift = 0;
  box.OnMouseDown = [&](Qt::MouseButton button, TShiftState shift, int, int) {
    ++presses;
    pressed = button;
    pressShift = shift;
  };
  int moves = 0;
  box.OnMouseMove = [&](TShiftState, int, int) { ++moves; };

  SendMouse(widget, QEvent::MouseButtonPress, {225, 150}, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_EQ(presses, 1);
  EXPECT_EQ(pressed, Qt::LeftButton);
  EXPECT_EQ(pressShift, kShiftKey | kLeftButton);
  EXPECT_NEAR(canvas.PressPoint.X, 0.1, 1e-12);
  SendMouse(widget, QEvent::MouseMove, {250, 200}, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(moves, 1);
  EXPECT_EQ(xLabel.text(), QString("X:     0.20 m"));
  EXPECT_EQ(yLabel.text(), QString("Y:    -0.20 m"));

  // A pan drag through the widget moves the view.
  canvas.SetMode(kModePan);
  EXPECT_EQ(widget.cursor().shape(), Qt::SizeAllCursor);
  SendMouse(widget, QEvent::MouseButtonPress, {200, 150}, Qt::LeftButton, Qt::LeftButton);
  SendMouse(widget, QEvent::MouseMove, {230, 150}, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(canvas.WorldToScreen(0, 0), (TPoint{230, 150}));
  SendMouse(widget, QEvent::MouseButtonRelease, {230, 150}, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(canvas.Mode(), kModeSelect);
  EXPECT_EQ(widget.cursor().shape(), Qt::ArrowCursor);
  canvas.SetMode(1);
  EXPECT_EQ(widget.cursor().shape(), Qt::PointingHandCursor);
  canvas.SetMode(kModeZoomRect);
  EXPECT_EQ(widget.cursor().shape(), Qt::BitmapCursor);

  // A rubber band goes straight to the screen image.
  canvas.ResetView();
  canvas.SetDoubleBuffered(true);
  canvas.BackgroundColor = kWhite;
  canvas.ClearBackground();
  canvas.CopyBackground();
  canvas.Present();
  SendMouse(widget, QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton, Qt::LeftButton);
  SendMouse(widget, QEvent::MouseMove, {140, 130}, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(static_cast<const TQtImageSurface&>(box.Canvas()).Image().pixel(120, 100), Rgb(kGray));

  // The paint event lets the view draw and present, then shows the screen image.
  box.OnPaint = [&] {
    canvas.ClearBackground();
    canvas.CopyBackground();
    canvas.SetBrush(kRed);
    canvas.CircleRec(TComplex(0, 0), 20);
    canvas.Present();
  };
  const QImage shown = widget.grab().toImage();
  EXPECT_EQ(shown.pixel(200, 150) | 0xFF000000u, Rgb(kRed));
  EXPECT_EQ(shown.pixel(120, 100) | 0xFF000000u, Rgb(kWhite));
}

TEST(QtPaintBox, ParentClientSizeOfTheSynthesisZoom) {
  QWidget parent;
  parent.resize(250, 250);
  auto* paintBox = new QWidget(&parent);
  paintBox->resize(500, 500);
  TQtPaintBox box(paintBox);
  EXPECT_EQ(box.ParentClientWidth(), 250);
  TSynthCanvas2D canvas(box, 500, 2.0);
  // Half a unit is 125 pixels at 250 per unit; the 250-pixel client takes twice that.
  canvas.ZoomToRect(TComplex(-0.25, -0.25), TComplex(0.25, 0.25), 1.0);
  EXPECT_DOUBLE_EQ(canvas.WorldSize(), 1);
  // A hidden widget gets no resize event; its screen image follows all the same.
  paintBox->resize(600, 400);
  EXPECT_EQ(box.Canvas().Width(), 600);
  EXPECT_EQ(box.Canvas().Height(), 400);
}

TEST(QtCursors, ProgramCursorsAreDrawn) {
  for (int id = kCursorZoom; id <= kCursorAddSlider; ++id) {
    const QCursor cursor = CursorFor(id);
    if (id == kCursorMoveXY) {
      EXPECT_EQ(cursor.shape(), Qt::SizeAllCursor);
    } else {
      EXPECT_EQ(cursor.shape(), Qt::BitmapCursor) << id;
      EXPECT_FALSE(cursor.pixmap().isNull()) << id;
    }
  }
  EXPECT_EQ(CursorFor(kCursorArrow).shape(), Qt::ArrowCursor);
}

}  // namespace
}  // namespace shared
