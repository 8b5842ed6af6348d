// TSimpleGraphFrm: a small x-y graph of one series with grid, axis values and a legend, embedded
// in the input-function dialog to show the motion law over one cycle.
#pragma once

#include <QWidget>
#include <cstdint>
#include <string>
#include <vector>

#include "shared/AxisTicks.h"

namespace quillon {

class TSimpleGraphFrm : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kInitialRoom = 100;
  static constexpr int kGrowBy = 20;
  // At most this many grid divisions per axis; the lines stand at round values of the scales.
  static constexpr int kDivisions = 6;

  explicit TSimpleGraphFrm(QWidget* parent = nullptr);

  // One series, room for 100 points, no points, default names and categories, nothing to plot.
  void Reset();
  void AddPoint(double x, double y);
  // Margins, plot rectangle, ranges and scales from the paint box's size and the points: the
  // ticks at round display values, the y range widened to them, x from the first point to the
  // last.
  void Relayout();

  int SeriesCount = 1;
  int PointCount = 0;
  double XMin = 0, XMax = 0, YMin = 0, YMax = 0;
  bool ShowGrid = true;
  bool ShowLabels = true;
  int CursorIndex = -1;
  std::string XName = "X-axis";
  std::string YName = "Y-axis";
  int XCategory = 0;
  int YCategory = 0;
  uint32_t CursorColour = 0x800000;
  uint32_t FrameColour = 0;
  uint32_t GridColour = 0x808080;
  static constexpr uint32_t kSeriesColours[10] = {0x0000FF, 0xFF0000, 0x008080, 0xFF00FF, 0x00FF00,
                                                  0x000080, 0x00FFFF, 0x008000, 0x800000, 0x808080};
  // [series][point]: series 0 the x values, 1..SeriesCount the y values.
  std::vector<std::vector<double>> Data;
  int PlotLeft = 0, PlotTop = 0, PlotRight = 0, PlotBottom = 0;
  // The ranges as plotted, the scales' ticks and whether there is anything to plot.
  shared::TGraphAxes Axes;

  QWidget* PaintBox1;

 private:
  void PaintBox1Paint();
  int ScreenX(double x) const;
  int ScreenY(double y) const;
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace quillon
