// The graph box on a real widget: the not-XOR cursor moved between paints leaves the picture
// a fresh paint would give.
#include "synthesis/app/QtGraphPaintBox.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace vesk {
namespace {

struct TGraphWidget {
  TGraphWidget() {
    widget.resize(400, 300);
    for (int i = 0; i <= 20; ++i) box.Graph().AddPoint(i * 0.5, std::sin(i * 0.5));
  }
  QImage Picture() { return widget.grab().toImage().convertToFormat(QImage::Format_RGB32); }

  QWidget widget;
  shared::TConvert units;
  TQtGraphPaintBox box{&widget, units};
};

int BluePixelsIn(const QImage& image, int column) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) n += image.pixel(column, y) == qRgb(0, 0, 255);
  return n;
}

TEST(QtGraphPaintBox, CursorMovesWithoutRepaintingTheGraph) {
  TGraphWidget reference;
  reference.box.Graph().CursorX = 7.2;
  const QImage expected = reference.Picture();

  TGraphWidget moved;
  moved.box.Graph().CursorX = 2.2;
  const QImage first = moved.Picture();
  const TGraphPaintBox& graph = moved.box.Graph();
  const auto column = [&](double x) {
    return graph.PlotLeft + int(std::lround(x / 10 * (graph.PlotRight - graph.PlotLeft)));
  };
  EXPECT_GT(BluePixelsIn(first, column(2.2)), (graph.PlotBottom - graph.PlotTop) / 2);

  moved.box.Graph().SetCursor(4.4);
  moved.box.Graph().SetCursor(7.2);
  const QImage after = moved.Picture();
  EXPECT_EQ(BluePixelsIn(after, column(2.2)), 0);
  EXPECT_EQ(BluePixelsIn(after, column(4.4)), 0);
  EXPECT_EQ(after, expected);

  // Until the graph is invalidated a paint event only shows the kept picture: a grid switched
  // off stays on the screen while the cursor moves.
  const QPoint gridPixel(graph.PlotLeft + (graph.PlotRight - graph.PlotLeft) / 6, graph.PlotTop + 5);
  ASSERT_EQ(after.pixel(gridPixel), qRgb(192, 192, 192));
  moved.box.Graph().ShowGrid = false;
  moved.box.Graph().SetCursor(7.2);
  EXPECT_EQ(moved.Picture().pixel(gridPixel), qRgb(192, 192, 192));
  moved.box.Invalidate();
  EXPECT_NE(moved.Picture().pixel(gridPixel), qRgb(192, 192, 192));

  // A repaint draws the cursor line once.
  moved.box.Graph().ShowGrid = true;
  moved.box.Invalidate();
  EXPECT_EQ(moved.Picture(), expected);

  // A new size is painted anew without being asked.
  moved.widget.resize(500, 320);
  const QImage larger = moved.Picture();
  EXPECT_EQ(graph.PlotRight, 500 - 8);
  EXPECT_GT(BluePixelsIn(larger, column(7.2)), (graph.PlotBottom - graph.PlotTop) / 2);
}

// Seven-digit axis values (a transmission ratio near a dead point) keep clear of the frame: the
// left margin is as wide as the widest value drawn, and short values keep the usual margin.
TEST(QtGraphPaintBox, TheLeftMarginHoldsTheWidestAxisValue) {
  struct TCase {
    const char* Name;
    double Low, High;
  };
  const TCase cases[] = {{"small", -0.5, 0.5}, {"seven digits", -2500000, 1234567}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    QWidget widget;
    widget.resize(500, 300);
    shared::TConvert units;
    TQtGraphPaintBox box(&widget, units);
    for (int i = 0; i <= 20; ++i) box.Graph().AddPoint(i, c.Low + (c.High - c.Low) * i / 20.0);
    (void)widget.grab();
    const TGraphPaintBox& graph = box.Graph();
    const QFontMetrics metrics(widget.font());
    int widest = metrics.horizontalAdvance(QStringLiteral("0000.0000"));
    for (const double tick : graph.YTicks)
      widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(units.FormatSI(0, tick))));
    // Values are drawn from x = 4 on; the frame stands at the plot's left edge.
    EXPECT_GE(graph.PlotLeft, 4 + widest + 2);
    EXPECT_EQ(graph.PlotLeft, graph.MarginLeft);
  }
}

}  // namespace
}  // namespace vesk
