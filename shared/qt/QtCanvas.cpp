// QImage surface, QWidget paint box, status label and cursors of the canvas.
#include "shared/qt/QtCanvas.h"

#include <QEvent>
#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QMap>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygon>
#include <QWheelEvent>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "shared/qt/QtText.h"

namespace shared {

namespace {

QFont ToQFont(const TFont& font) {
  QFont result(ToQString(font.Name));
  result.setPixelSize(std::max(1, font.Height));
  result.setStyleStrategy(QFont::NoAntialias);
  return result;
}

Qt::PenStyle ToQtPenStyle(TPenStyle style) {
  switch (style) {
    case TPenStyle::Dash:
      return Qt::DashLine;
    case TPenStyle::Dot:
      return Qt::DotLine;
    case TPenStyle::DashDot:
      return Qt::DashDotLine;
    case TPenStyle::DashDotDot:
      return Qt::DashDotDotLine;
    case TPenStyle::Clear:
      return Qt::NoPen;
    case TPenStyle::Solid:
    case TPenStyle::InsideFrame:
      break;
  }
  return Qt::SolidLine;
}

Qt::BrushStyle ToQtBrushStyle(TBrushStyle style) {
  switch (style) {
    case TBrushStyle::Clear:
      return Qt::NoBrush;
    case TBrushStyle::Horizontal:
      return Qt::HorPattern;
    case TBrushStyle::Vertical:
      return Qt::VerPattern;
    case TBrushStyle::FDiagonal:
      return Qt::FDiagPattern;
    case TBrushStyle::BDiagonal:
      return Qt::BDiagPattern;
    case TBrushStyle::Cross:
      return Qt::CrossPattern;
    case TBrushStyle::DiagCross:
      return Qt::DiagCrossPattern;
    case TBrushStyle::Solid:
      break;
  }
  return Qt::SolidPattern;
}

QVector<QPoint> ToQPoints(std::span<const TPoint> points) {
  QVector<QPoint> result;
  result.reserve(qsizetype(points.size()));
  for (const TPoint& p : points) result.append(QPoint(p.X, p.Y));
  return result;
}

// A 32 x 32 cursor with its hot spot at (hx, hy), drawn by the given painter function.
QCursor DrawnCursor(int hx, int hy, const std::function<void(QPainter&)>& draw) {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  {
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, false);
    draw(painter);
  }
  return QCursor(pixmap, hx, hy);
}

// A black shape with a white rim so it shows on any background.
void Outlined(QPainter& painter, const std::function<void(QPainter&)>& shape) {
  painter.setPen(QPen(Qt::white, 3));
  shape(painter);
  painter.setPen(QPen(Qt::black, 1));
  shape(painter);
}

QCursor Magnifier(int sign) {
  return DrawnCursor(10, 10, [sign](QPainter& p) {
    Outlined(p, [sign](QPainter& q) {
      q.setBrush(Qt::NoBrush);
      q.drawEllipse(QPoint(10, 10), 7, 7);
      q.drawLine(15, 15, 25, 25);
      q.drawLine(16, 15, 26, 25);
      if (sign != 0) q.drawLine(7, 10, 13, 10);
      if (sign > 0) q.drawLine(10, 7, 10, 13);
    });
  });
}

QCursor CrossWithLetter(const QString& letter) {
  return DrawnCursor(10, 10, [letter](QPainter& p) {
    Outlined(p, [](QPainter& q) {
      q.drawLine(10, 1, 10, 19);
      q.drawLine(1, 10, 19, 10);
    });
    QFont font = p.font();
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QRect(16, 16, 14, 14), Qt::AlignCenter, letter);
  });
}

QCursor MakeCursor(int cursor) {
  switch (cursor) {
    case kCursorHandPoint:
      return QCursor(Qt::PointingHandCursor);
    case kCursorZoom:
      return Magnifier(0);
    case kCursorZoomIn:
      return Magnifier(1);
    case kCursorZoomOut:
      return Magnifier(-1);
    case kCursorMoveXY:
      return QCursor(Qt::SizeAllCursor);
    case kCursorRotate:
      return DrawnCursor(16, 16, [](QPainter& p) {
        Outlined(p, [](QPainter& q) {
          q.setBrush(Qt::NoBrush);
          q.drawArc(QRect(6, 6, 20, 20), 30 * 16, 300 * 16);
          q.drawLine(24, 6, 24, 11);
          q.drawLine(24, 11, 19, 11);
        });
      });
    case kCursorDelete:
      return DrawnCursor(1, 1, [](QPainter& p) {
        Outlined(p, [](QPainter& q) {
          q.drawLine(1, 1, 12, 12);
          q.drawLine(16, 16, 28, 28);
          q.drawLine(28, 16, 16, 28);
        });
      });
    case kCursorAddArea:
      return CrossWithLetter("A");
    case kCursorAddCurve:
      return CrossWithLetter("C");
    case kCursorAddInput:
      return CrossWithLetter("I");
    case kCursorAddDyad:
      return CrossWithLetter("D");
    case kCursorAddJoint:
      return CrossWithLetter("J");
    case kCursorAddSlider:
      return CrossWithLetter("S");
    default:
      return QCursor(Qt::ArrowCursor);
  }
}

}  // namespace

QColor ToQColor(TColor color) { return QColor(RedOf(color), GreenOf(color), BlueOf(color)); }

TColor FromQColor(const QColor& color) {
  return MakeColor(uint8_t(color.red()), uint8_t(color.green()), uint8_t(color.blue()));
}

TRaster RasterFromImage(const QImage& image) {
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  TRaster raster(argb.width(), argb.height());
  for (int y = 0; y < argb.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
    for (int x = 0; x < argb.width(); ++x) {
      const QRgb p = line[x];
      raster.Pixels[size_t(y) * size_t(raster.Width) + size_t(x)] =
          (uint32_t(qAlpha(p)) << 24) | MakeColor(uint8_t(qRed(p)), uint8_t(qGreen(p)), uint8_t(qBlue(p)));
    }
  }
  return raster;
}

QImage ImageFromRaster(const TRaster& raster) {
  QImage image(std::max(0, raster.Width), std::max(0, raster.Height), QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const uint32_t p = raster.At(x, y);
      line[x] = qRgba(RedOf(p), GreenOf(p), BlueOf(p), int(p >> 24));
    }
  }
  return image;
}

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
  TShiftState state = 0;
  if (modifiers & Qt::ShiftModifier) state |= kShiftKey;
  if (modifiers & Qt::AltModifier) state |= kAltKey;
  if (modifiers & Qt::ControlModifier) state |= kCtrlKey;
  if (buttons & Qt::LeftButton) state |= kLeftButton;
  if (buttons & Qt::RightButton) state |= kRightButton;
  if (buttons & Qt::MiddleButton) state |= kMiddleButton;
  return state;
}

QCursor CursorFor(int cursor) {
  static QMap<int, QCursor> cache;
  auto it = cache.find(cursor);
  if (it == cache.end()) it = cache.insert(cursor, MakeCursor(cursor));
  return *it;
}

// ---------------------------------------------------------------------------------------------
// TQtImageSurface

TQtImageSurface::TQtImageSurface(int width, int height)
    : FImage(std::max(0, width), std::max(0, height), QImage::Format_RGB32) {
  FImage.fill(Qt::white);
}

void TQtImageSurface::SetSize(int width, int height) {
  width = std::max(0, width);
  height = std::max(0, height);
  if (width == FImage.width() && height == FImage.height()) return;
  QImage resized(width, height, QImage::Format_RGB32);
  resized.fill(Qt::white);
  if (!FImage.isNull() && !resized.isNull()) {
    QPainter painter(&resized);
    painter.drawImage(0, 0, FImage);
  }
  FImage = resized;
}

void TQtImageSurface::Prepare(QPainter& painter, bool withPen, bool withBrush) const {
  painter.setRenderHint(QPainter::Antialiasing, false);
  if (withPen && FPen.Style != TPenStyle::Clear) {
    QPen pen(ToQColor(FPen.Color));
    pen.setStyle(ToQtPenStyle(FPen.Style));
    // One-pixel lines stop short of their end point, as the next segment starts there.
    pen.setWidth(std::max(1, FPen.Width));
    pen.setCapStyle(FPen.Width <= 1 ? Qt::FlatCap : Qt::RoundCap);
    pen.setJoinStyle(FPen.Width <= 1 ? Qt::MiterJoin : Qt::RoundJoin);
    painter.setPen(pen);
  } else {
    painter.setPen(Qt::NoPen);
  }
  painter.setBrush(withBrush ? QBrush(ToQColor(FBrush.Color), ToQtBrushStyle(FBrush.Style))
                             : QBrush(Qt::NoBrush));
  if (FPen.Mode == TPenMode::NotXor) painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
}

namespace {

// The pixels a pen of this width may touch around the given ones.
QRect Widened(const QRect& area, int penWidth) {
  const int margin = std::max(1, penWidth) / 2 + 1;
  return area.normalized().adjusted(-margin, -margin, margin, margin);
}

QRect BoundsOf(std::span<const TPoint> points) {
  int left = points[0].X, right = points[0].X, top = points[0].Y, bottom = points[0].Y;
  for (const TPoint& p : points) {
    left = std::min(left, p.X);
    right = std::max(right, p.X);
    top = std::min(top, p.Y);
    bottom = std::max(bottom, p.Y);
  }
  return QRect(QPoint(left, top), QPoint(right, bottom));
}

}  // namespace

void TQtImageSurface::Changed(const QRect& area) {
  if (OnChanged) OnChanged(area & FImage.rect());
}

void TQtImageSurface::LineTo(int x, int y) {
  if (!FImage.isNull()) {
    QPainter painter(&FImage);
    Prepare(painter, true, false);
    painter.drawLine(FPosition, QPoint(x, y));
  }
  const QRect area = Widened(QRect(FPosition, QPoint(x, y)), FPen.Width);
  FPosition = QPoint(x, y);
  Changed(area);
}

void TQtImageSurface::Polyline(std::span<const TPoint> points) {
  if (points.empty() || FImage.isNull()) return;
  {
    QPainter painter(&FImage);
    Prepare(painter, true, false);
    painter.drawPolyline(ToQPoints(points));
  }
  Changed(Widened(BoundsOf(points), FPen.Width));
}

void TQtImageSurface::Polygon(std::span<const TPoint> points) {
  if (points.empty() || FImage.isNull()) return;
  {
    QPainter painter(&FImage);
    Prepare(painter, true, true);
    painter.drawPolygon(ToQPoints(points));
  }
  Changed(Widened(BoundsOf(points), FPen.Width));
}

void TQtImageSurface::Ellipse(int x1, int y1, int x2, int y2) {
  if (FImage.isNull()) return;
  {
    QPainter painter(&FImage);
    Prepare(painter, true, true);
    // The right and bottom edges of the bounding box stay outside.
    painter.drawEllipse(QRect(QPoint(std::min(x1, x2), std::min(y1, y2)),
                              QPoint(std::max(x1, x2) - 1, std::max(y1, y2) - 1)));
  }
  Changed(Widened(QRect(QPoint(x1, y1), QPoint(x2, y2)), FPen.Width));
}

void TQtImageSurface::FillRect(int x1, int y1, int x2, int y2) {
  if (FImage.isNull() || FBrush.Style == TBrushStyle::Clear) return;
  {
    QPainter painter(&FImage);
    painter.fillRect(
        QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2) - 1, std::max(y1, y2) - 1)),
        QBrush(ToQColor(FBrush.Color), ToQtBrushStyle(FBrush.Style)));
  }
  Changed(QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2), std::max(y1, y2))));
}

void TQtImageSurface::TextOut(int x, int y, const std::string& text) {
  if (FImage.isNull() || text.empty()) return;
  QRect area = FImage.rect();
  {
    const QString string = ToQString(text);
    const QFont font = ToQFont(FFont);
    const QFontMetrics metrics(font);
    QPainter painter(&FImage);
    painter.translate(x, y);
    painter.rotate(-FFont.Escapement / 10.0);
    if (FBrush.Style == TBrushStyle::Solid)
      painter.fillRect(QRect(0, 0, metrics.horizontalAdvance(string), metrics.height()),
                       ToQColor(FBrush.Color));
    painter.setFont(font);
    painter.setPen(ToQColor(FFont.Color));
    painter.drawText(QPoint(0, metrics.ascent()), string);
    // Turned text may reach anywhere; level text stays in its line (with room for overhangs).
    if (FFont.Escapement == 0)
      area = QRect(x, y, metrics.horizontalAdvance(string), metrics.height()).adjusted(-2, 0, metrics.maxWidth(), 0);
  }
  Changed(area);
}

TSize TQtImageSurface::TextExtent(const std::string& text) {
  const QFontMetrics metrics(ToQFont(FFont));
  return {metrics.horizontalAdvance(ToQString(text)), metrics.height()};
}

void TQtImageSurface::DrawRaster(int x, int y, const TRaster& raster) {
  if (FImage.isNull() || raster.Width <= 0 || raster.Height <= 0) return;
  {
    QPainter painter(&FImage);
    painter.drawImage(x, y, ImageFromRaster(raster));
  }
  Changed(QRect(x, y, raster.Width, raster.Height));
}

void TQtImageSurface::Draw(int x, int y, const TPaintSurface& source) {
  if (FImage.isNull()) return;
  {
    QPainter painter(&FImage);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (const auto* image = dynamic_cast<const TQtImageSurface*>(&source))
      painter.drawImage(x, y, image->FImage);
    else
      painter.drawImage(x, y, ImageFromRaster(source.ReadPixels()));
  }
  Changed(QRect(x, y, source.Width(), source.Height()));
}

TRaster TQtImageSurface::ReadPixels() const {
  TRaster raster = RasterFromImage(FImage);
  for (uint32_t& p : raster.Pixels) p |= 0xFF000000u;
  return raster;
}

// ---------------------------------------------------------------------------------------------
// TQtStatusPanel

void TQtStatusPanel::SetText(const std::string& text) {
  if (FLabel) FLabel->setText(ToQString(text));
}

// ---------------------------------------------------------------------------------------------
// TQtPaintBox

TQtPaintBox::TQtPaintBox(QWidget* widget) : FWidget(widget), FScreen(widget->width(), widget->height()) {
  const QFont font = widget->font();
  FScreen.SetFont(TFont{FromQString(font.family()), QFontInfo(font).pixelSize(),
                        FromQColor(widget->palette().color(QPalette::WindowText)), 0});
  FScreen.OnChanged = [this](const QRect& area) {
    // Drawing inside the paint event is shown by that event itself.
    if (!FPainting && FWidget) FWidget->update(area);
  };
  widget->setMouseTracking(true);
  widget->setAttribute(Qt::WA_OpaquePaintEvent);
  widget->installEventFilter(this);
}

TQtPaintBox::~TQtPaintBox() {
  if (FWidget) FWidget->removeEventFilter(this);
}

int TQtPaintBox::Width() const { return FWidget->width(); }

int TQtPaintBox::Height() const { return FWidget->height(); }

int TQtPaintBox::ParentClientWidth() const {
  const QWidget* parent = FWidget->parentWidget();
  return parent ? parent->contentsRect().width() : FWidget->width();
}

int TQtPaintBox::ParentClientHeight() const {
  const QWidget* parent = FWidget->parentWidget();
  return parent ? parent->contentsRect().height() : FWidget->height();
}

TPaintSurface& TQtPaintBox::Canvas() {
  if (FWidget) FScreen.SetSize(FWidget->width(), FWidget->height());
  return FScreen;
}

std::unique_ptr<TPaintSurface> TQtPaintBox::CreateBitmap(int width, int height) {
  return std::make_unique<TQtImageSurface>(width, height);
}

void TQtPaintBox::SetCursor(int cursor) { FWidget->setCursor(CursorFor(cursor)); }

TColor TQtPaintBox::WindowColor() const { return FromQColor(FWidget->palette().color(QPalette::Base)); }

bool TQtPaintBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched != FWidget) return false;
  switch (event->type()) {
    case QEvent::Paint: {
      FScreen.SetSize(FWidget->width(), FWidget->height());
      FPainting = true;
      if (OnPaint) OnPaint();
      FPainting = false;
      QPainter painter(FWidget);
      painter.drawImage(0, 0, FScreen.Image());
      return true;
    }
    case QEvent::Resize:
      FScreen.SetSize(FWidget->width(), FWidget->height());
      if (FCanvas) FCanvas->Resize();
      if (OnResize) OnResize();
      return false;
    // The second press of a double click arrives as the double click itself.
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      const QPoint p = mouse->position().toPoint();
      const TShiftState shift = ShiftStateOf(mouse->modifiers(), mouse->buttons());
      if (FCanvas) FCanvas->MouseDown(p.x(), p.y());
      if (OnMouseDown) OnMouseDown(mouse->button(), shift, p.x(), p.y());
      if (event->type() == QEvent::MouseButtonDblClick && OnDoubleClick) OnDoubleClick(p.x(), p.y());
      return true;
    }
    case QEvent::MouseMove: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      const QPoint p = mouse->position().toPoint();
      const TShiftState shift = ShiftStateOf(mouse->modifiers(), mouse->buttons());
      if (FCanvas) FCanvas->MouseMove(shift, p.x(), p.y());
      if (OnMouseMove) OnMouseMove(shift, p.x(), p.y());
      return true;
    }
    case QEvent::MouseButtonRelease: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      const QPoint p = mouse->position().toPoint();
      const TShiftState shift = ShiftStateOf(mouse->modifiers(), mouse->buttons());
      if (FCanvas) FCanvas->MouseUp(shift, p.x(), p.y());
      if (OnMouseUp) OnMouseUp(mouse->button(), shift, p.x(), p.y());
      return true;
    }
    case QEvent::Wheel: {
      if (!OnWheel) return false;
      auto* wheel = static_cast<QWheelEvent*>(event);
      OnWheel(wheel->angleDelta().y(), ShiftStateOf(wheel->modifiers(), wheel->buttons()));
      return true;
    }
    default:
      return false;
  }
}

}  // namespace shared
