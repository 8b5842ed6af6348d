// The graph box on a real widget: the not-XOR cursor moved between paints leaves the picture
// a fresh paint would give.
#include "synthesis/app/QtGraphPaintBox.h"

#include <QApplication>
#include <QImage>
#include <QWidget>
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

}  // namespace
}  // namespace vesk
