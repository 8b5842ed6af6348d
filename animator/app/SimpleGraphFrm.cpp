// The small x-y graph of the input-function dialog.
#include "animator/app/SimpleGraphFrm.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QVBoxLayout>
#include <cmath>

#include "shared/Convert.h"
#include "shared/qt/QtText.h"

namespace quillon {

namespace {

QColor ColourOf(uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

QString Text(const std::string& text) { return shared::ToQString(text); }

}  // namespace

TSimpleGraphFrm::TSimpleGraphFrm(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("SimpleGraphFrm1"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  PaintBox1 = new QWidget(this);
  PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
  PaintBox1->setAutoFillBackground(true);
  QPalette palette = PaintBox1->palette();
  palette.setColor(QPalette::Window, Qt::white);
  PaintBox1->setPalette(palette);
  PaintBox1->installEventFilter(this);
  layout->addWidget(PaintBox1);
  Reset();
}

void TSimpleGraphFrm::Reset() {
  SeriesCount = 1;
  Data.assign(static_cast<size_t>(SeriesCount) + 1, std::vector<double>(kInitialRoom, 0.0));
  PointCount = 0;
  Drawable = false;
  XName = "X-axis";
  YName = "Y-axis";
  XCategory = 0;
  YCategory = 0;
}

void TSimpleGraphFrm::AddPoint(double y, double x) {
  if (PointCount >= static_cast<int>(Data[0].size()))
    for (auto& series : Data) series.resize(series.size() + kGrowBy, 0.0);
  if (PointCount == 0) {
    XMin = XMax = x;
    YMin = YMax = y;
  } else {
    XMin = std::min(XMin, x);
    XMax = std::max(XMax, x);
    YMin = std::min(YMin, y);
    YMax = std::max(YMax, y);
  }
  Data[0][PointCount] = x;
  Data[1][PointCount] = y;
  ++PointCount;
}

void TSimpleGraphFrm::Relayout() {
  const QFontMetrics metrics(PaintBox1->font());
  const QString sample = Text(shared::Convert().SampleNumberText(YCategory));
  const int textHeight = metrics.height();
  const int left = ShowLabels ? metrics.horizontalAdvance(sample) + 8 : 8;
  const int topBottom = ShowLabels ? textHeight + 8 : 8;
  PlotLeft = left;
  PlotRight = PaintBox1->width() - 8;
  PlotTop = topBottom;
  PlotBottom = PaintBox1->height() - topBottom;
  // A flat series still gets a band to be drawn in.
  if (XMax == XMin) {
    XMin -= 1;
    XMax += 1;
  }
  if (YMax == YMin) {
    YMin -= 1;
    YMax += 1;
  }
  const double xRange = XMax - XMin;
  const double yRange = YMax - YMin;
  Drawable = PointCount > 0 && xRange > 0 && yRange > 0 && std::isfinite(xRange) && std::isfinite(yRange);
  if (Drawable) {
    XScale = (PlotRight - PlotLeft) / xRange;
    YScale = (PlotBottom - PlotTop) / yRange;
  }
}

bool TSimpleGraphFrm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == PaintBox1) {
    if (event->type() == QEvent::Paint) {
      PaintBox1Paint();
      return true;
    }
    if (event->type() == QEvent::Resize) Relayout();
  }
  return QWidget::eventFilter(watched, event);
}

void TSimpleGraphFrm::PaintBox1Paint() {
  QPainter painter(PaintBox1);
  const shared::TConvert& convert = shared::Convert();
  const QFontMetrics metrics(PaintBox1->font());
  const int textHeight = metrics.height();
  const int width = PlotRight - PlotLeft;
  const int height = PlotBottom - PlotTop;
  const int dx = width / kDivisions;
  const int dy = height / kDivisions;
  if (ShowGrid) {
    painter.setPen(QPen(ColourOf(GridColour), 1, Qt::SolidLine));
    for (int i = 1; i < kDivisions; ++i) {
      painter.drawLine(PlotLeft + i * dx, PlotTop, PlotLeft + i * dx, PlotBottom);
      painter.drawLine(PlotLeft, PlotBottom - i * dy, PlotRight, PlotBottom - i * dy);
    }
    painter.setPen(ColourOf(FrameColour));
    painter.drawRect(PlotLeft, PlotTop, width, height);
  }
  if (Drawable) {
    const auto screenX = [&](double x) {
      return PlotLeft + static_cast<int>(std::lround((x - XMin) * XScale));
    };
    const auto screenY = [&](double y) {
      return PlotBottom - static_cast<int>(std::lround((y - YMin) * YScale));
    };
    for (int s = 1; s <= SeriesCount; ++s) {
      painter.setPen(ColourOf(kSeriesColours[(s - 1) % 10]));
      QPolygon line;
      for (int i = 0; i < PointCount; ++i) line << QPoint(screenX(Data[0][i]), screenY(Data[s][i]));
      painter.drawPolyline(line);
    }
    if (CursorIndex > 0 && CursorIndex < PointCount - 1) {
      painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
      painter.setPen(ColourOf(CursorColour));
      const int x = screenX(Data[0][CursorIndex]);
      painter.drawLine(x, PlotTop, x, PlotBottom);
      painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
  }
  if (!ShowLabels) return;
  painter.fillRect(QRect(PlotLeft, 2, PaintBox1->width() - PlotLeft, std::max(0, PlotTop - 4)),
                   PaintBox1->palette().color(QPalette::Window));
  painter.setPen(ColourOf(FrameColour));
  const bool cursor = CursorIndex >= 0 && CursorIndex < PointCount;
  const auto caption = [&](const std::string& name, int category, double value) {
    return Text(name) + QLatin1Char(' ') +
           Text(cursor ? convert.FormatSIWithUnit(category, value) : convert.UnitLabel(category)) +
           QStringLiteral("     ");
  };
  const QString xCaption = caption(XName, XCategory, cursor ? Data[0][CursorIndex] : 0.0);
  const int xCaptionWidth = metrics.horizontalAdvance(xCaption);
  painter.drawText(PlotLeft + (width - xCaptionWidth) / 2, PlotBottom + 4 + metrics.ascent(), xCaption);
  int legendX = PlotLeft;
  for (int s = 1; s <= SeriesCount; ++s) {
    const QString entry = caption(YName, YCategory, cursor ? Data[s][CursorIndex] : 0.0);
    painter.setPen(ColourOf(FrameColour));
    painter.drawText(legendX, 4 + metrics.ascent(), entry);
    painter.setPen(ColourOf(kSeriesColours[(s - 1) % 10]));
    painter.drawLine(legendX, 4 + textHeight + 2, legendX + 20, 4 + textHeight + 2);
    legendX += metrics.horizontalAdvance(entry);
  }
  painter.setPen(ColourOf(FrameColour));
  if (!Drawable) return;
  const QString xMin = Text(convert.FormatSI(XCategory, XMin));
  const QString xMax = Text(convert.FormatSI(XCategory, XMax));
  painter.drawText(PlotLeft, PlotBottom + 4 + metrics.ascent(), xMin);
  painter.drawText(PlotRight - metrics.horizontalAdvance(xMax), PlotBottom + 4 + metrics.ascent(), xMax);
  const auto yValue = [&](double value, int y) {
    const QString text = Text(convert.FormatSI(YCategory, value));
    painter.drawText(PlotLeft - 4 - metrics.horizontalAdvance(text), y - textHeight / 2 + metrics.ascent(),
                     text);
  };
  yValue(YMin, PlotBottom);
  yValue(YMax, PlotTop);
  if (dy >= textHeight) {
    for (int i = 1; i < kDivisions; ++i) yValue(YMin + i * dy / YScale, PlotBottom - i * dy);
  }
}

}  // namespace quillon
