// The small x-y graph of the input-function dialog.
#include "animator/app/SimpleGraphFrm.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "shared/AxisTicks.h"
#include "shared/Convert.h"
#include "shared/qt/QtText.h"

namespace quillon {

namespace {

QColor ColourOf(uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

QString Text(const std::string& text) { return shared::ToQString(text); }

// Pixels between the plot's bottom and the x scale's numbers.
constexpr int kScaleGap = 3;

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
  Axes = {};
  XName = "X-axis";
  YName = "Y-axis";
  XCategory = 0;
  YCategory = 0;
}

void TSimpleGraphFrm::AddPoint(double x, double y) {
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
  const shared::TConvert& convert = shared::Convert();
  const QFontMetrics metrics(PaintBox1->font());
  const QString sample = Text(convert.SampleNumberText(YCategory));
  const int textHeight = metrics.height();
  PlotLeft = ShowLabels ? metrics.horizontalAdvance(sample) + 8 : 8;
  PlotRight = PaintBox1->width() - 8;
  PlotTop = ShowLabels ? textHeight + 8 : 8;
  // Under the plot the scale's numbers, then the x legend.
  PlotBottom = PaintBox1->height() - (ShowLabels ? kScaleGap + 2 * textHeight + 4 : 8);
  const shared::TGraphSpan span{XCategory, YCategory, XMin, XMax, YMin, YMax, PointCount};
  Axes = shared::LayoutGraphAxes(
      convert, span, PlotRight - PlotLeft, PlotBottom - PlotTop, textHeight,
      [&metrics](const std::string& text) { return metrics.horizontalAdvance(Text(text)); }, kDivisions, kDivisions);
}

int TSimpleGraphFrm::ScreenX(double x) const { return Axes.PixelX(x, PlotLeft); }

int TSimpleGraphFrm::ScreenY(double y) const { return Axes.PixelY(y, PlotBottom); }

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
  if (ShowGrid) {
    painter.setPen(QPen(ColourOf(GridColour), 1, Qt::SolidLine));
    if (Axes.Drawable) {
      for (const double x : Axes.XTicks) {
        const int at = ScreenX(x);
        if (at > PlotLeft && at < PlotRight) painter.drawLine(at, PlotTop, at, PlotBottom);
      }
      for (const double y : Axes.YTicks) {
        const int at = ScreenY(y);
        if (at > PlotTop && at < PlotBottom) painter.drawLine(PlotLeft, at, PlotRight, at);
      }
    }
    painter.setPen(ColourOf(FrameColour));
    painter.drawRect(PlotLeft, PlotTop, width, height);
  }
  if (Axes.Drawable) {
    for (int s = 1; s <= SeriesCount; ++s) {
      painter.setPen(ColourOf(kSeriesColours[(s - 1) % 10]));
      QPolygon line;
      for (int i = 0; i < PointCount; ++i) line << QPoint(ScreenX(Data[0][i]), ScreenY(Data[s][i]));
      painter.drawPolyline(line);
    }
    if (CursorIndex > 0 && CursorIndex < PointCount - 1) {
      painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
      painter.setPen(ColourOf(CursorColour));
      const int x = ScreenX(Data[0][CursorIndex]);
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
  const int legendRow = PlotBottom + kScaleGap + textHeight + 2;
  painter.drawText(PlotLeft + (width - xCaptionWidth) / 2, legendRow + metrics.ascent(), xCaption);
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
  if (!Axes.Drawable) return;
  // x numbers centred under their ticks within the plot's width, one that would touch the one
  // before left out; y numbers right-aligned before the plot.
  int free = PlotLeft;
  for (const double x : Axes.XTicks) {
    const QString text = Text(convert.FormatSI(XCategory, x));
    const int textWidth = metrics.horizontalAdvance(text);
    const int at =
        std::clamp(ScreenX(x) - textWidth / 2, PlotLeft, std::max(PlotLeft, PlotRight - textWidth));
    if (at < free) continue;
    painter.drawText(at, PlotBottom + kScaleGap + metrics.ascent(), text);
    free = at + textWidth + textHeight;
  }
  for (const double y : Axes.YTicks) {
    const QString text = Text(convert.FormatSI(YCategory, y));
    painter.drawText(PlotLeft - 4 - metrics.horizontalAdvance(text),
                     ScreenY(y) - textHeight / 2 + metrics.ascent(), text);
  }
}

}  // namespace quillon
