// Ticks of a graph axis on round values of the display unit: 1, 2 or 5 times a power of ten, so
// a scale reads 0, 0.2, 0.4 and not 0.167, 0.333; and the axes of an x-y graph laid out on them.
#pragma once

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace shared {

class TConvert;

struct TAxisTicks {
  // In SI units, lowest first; empty for a range that cannot be divided.
  std::vector<double> Values;
  // The spacing in the display unit.
  double Step = 0;
};

// The smallest step between two values of low..high (display units) that the unit service shows
// as different numbers: its fixed decimals, and its significant digits at the size of the range's
// largest value. 0 where nothing limits it.
double ShownStep(const TConvert& units, int category, double low, double high);

// Ticks of min..max (SI; min < max, both finite) in the display unit of the category, at most
// maxIntervals steps of them over the range and no finer than the unit service shows (ShownStep):
// the numbers of two ticks always differ. widen: the range grows to the ticks around it (min and max become
// the first and last tick); otherwise the range stays and the ticks lie inside it. A range too narrow for its
// distance from zero (no two round values in it differ as doubles) has no ticks.
TAxisTicks RoundTicks(const TConvert& units, int category, double& min, double& max, int maxIntervals,
                      bool widen);

// What the axes of an x-y graph are laid out from: the quantity categories of its values and the
// range its points span (SI).
struct TGraphSpan {
  int XCategory = 0;
  int YCategory = 0;
  double XMin = 0, XMax = 0, YMin = 0, YMax = 0;
  int Points = 0;
};

// The axes as plotted.
struct TGraphAxes {
  // The ranges drawn (SI): the y range widened to its ticks, the x range as the points span it; a
  // range of one value becomes value - 1 .. value + 1.
  double XMin = 0, XMax = 0, YMin = 0, YMax = 0;
  // SI values, lowest first.
  std::vector<double> XTicks, YTicks;
  // Pixels per SI unit.
  double XScale = 0, YScale = 0;
  // There are points, and both ranges are finite and of some length; otherwise no ticks, no
  // scales and nothing to plot.
  bool Drawable = false;

  // The pixel of a value on a plot whose x axis starts at pixel left and whose y axis rises from
  // pixel bottom.
  int PixelX(double x, int left) const { return left + static_cast<int>(std::lround((x - XMin) * XScale)); }
  int PixelY(double y, int bottom) const {
    return bottom - static_cast<int>(std::lround((y - YMin) * YScale));
  }
};

// The axes of a graph plotted on width x height pixels: a y tick for each text line (textHeight
// and 4 pixels between) up to maxRows, x ticks as many as their numbers leave room for (measured
// by textWidth in the display's notation) up to maxColumns.
TGraphAxes LayoutGraphAxes(const TConvert& units, const TGraphSpan& span, int width, int height, int textHeight,
                           const std::function<int(const std::string&)>& textWidth, int maxRows,
                           int maxColumns);

}  // namespace shared
