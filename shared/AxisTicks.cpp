// Round axis ticks in display units and the axes of an x-y graph on them.
#include "shared/AxisTicks.h"

#include <algorithm>
#include <cmath>

#include "shared/Convert.h"

namespace shared {

namespace {

// Quotients this close to a whole number count as whole: 0.3 / 0.1 is 2.9999999999999996.
constexpr double kWhole = 1e-9;
// Beyond 2^53 consecutive whole numbers are no longer apart as doubles.
constexpr double kLargestWhole = 9007199254740992.0;

// The smallest of 1, 2 and 5 times a power of ten that is not below the value (> 0).
double RoundStepAtLeast(double value) {
  const double power = std::pow(10.0, std::floor(std::log10(value)));
  for (const double mantissa : {1.0, 2.0, 5.0}) {
    if (mantissa * power >= value * (1 - kWhole)) return mantissa * power;
  }
  return 10 * power;
}

}  // namespace

double ShownStep(const TConvert& units, int category, double low, double high) {
  // A fixed display shows Digits decimals.
  double finest =
      units.Category(category).Format == TFloatFormat::Fixed ? std::pow(10.0, -units.Digits()) : 0.0;
  // Either display shows at most Precision significant digits.
  const double largest = std::max(std::fabs(low), std::fabs(high));
  if (largest > 0 && std::isfinite(largest))
    finest = std::max(finest, std::pow(10.0, std::floor(std::log10(largest)) - (units.Precision() - 1)));
  return finest;
}

TAxisTicks RoundTicks(const TConvert& units, int category, double& min, double& max, int maxIntervals,
                      bool widen) {
  TAxisTicks ticks;
  const double low = units.FromSI(category, min);
  const double high = units.FromSI(category, max);
  if (!std::isfinite(low) || !std::isfinite(high) || !(high > low)) return ticks;
  maxIntervals = std::max(1, maxIntervals);
  // Finer ticks would print the same number twice.
  const double finest = ShownStep(units, category, low, high);
  // Divided first, so a range from -1E308 to 1E308 does not overflow.
  double step = RoundStepAtLeast(std::max(high / maxIntervals - low / maxIntervals, finest));
  double first = 0;
  double last = 0;
  for (;;) {
    if (!std::isfinite(step)) return ticks;
    first = widen ? std::floor(low / step + kWhole) : std::ceil(low / step - kWhole);
    last = widen ? std::ceil(high / step - kWhole) : std::floor(high / step + kWhole);
    // Widened to whole steps the range may hold one step more than asked for.
    if (last - first <= maxIntervals) break;
    step = RoundStepAtLeast(step * 1.5);
  }
  if (std::fabs(first) > kLargestWhole || std::fabs(last) > kLargestWhole) return ticks;
  ticks.Step = step;
  const long long count = static_cast<long long>(last - first);
  for (long long k = 0; k <= count; ++k) {
    // + 0.0 turns -0 into 0, which is shown without a sign.
    const double value = units.ToSI(category, (first + static_cast<double>(k)) * step + 0.0);
    // Far from zero, neighbouring multiples of a small step may round to one double.
    if (!std::isfinite(value) || (!ticks.Values.empty() && !(value > ticks.Values.back()))) return {};
    ticks.Values.push_back(value);
  }
  if (widen) {
    // A widened range of one tick would have no length.
    if (ticks.Values.size() < 2) return {};
    min = ticks.Values.front();
    max = ticks.Values.back();
  }
  return ticks;
}

TGraphAxes LayoutGraphAxes(const TConvert& units, const TGraphSpan& span, int width, int height, int textHeight,
                           const std::function<int(const std::string&)>& textWidth, int maxRows,
                           int maxColumns) {
  TGraphAxes axes;
  axes.XMin = span.XMin;
  axes.XMax = span.XMax;
  axes.YMin = span.YMin;
  axes.YMax = span.YMax;
  // A flat series still gets a band to be drawn in.
  if (axes.XMax == axes.XMin) {
    axes.XMin -= 1;
    axes.XMax += 1;
  }
  if (axes.YMax == axes.YMin) {
    axes.YMin -= 1;
    axes.YMax += 1;
  }
  // An infinite value would give a scale of 0 and NaN pixels.
  axes.Drawable = span.Points > 0 && std::isfinite(axes.XMax - axes.XMin) && std::isfinite(axes.YMax - axes.YMin) &&
                  axes.XMax > axes.XMin && axes.YMax > axes.YMin;
  if (!axes.Drawable) return axes;
  // The y range grows to the ticks around it; the x range (the time or input of the steps) keeps
  // its ends.
  const int rows = std::clamp(height / std::max(1, textHeight + 4), 1, std::max(1, maxRows));
  axes.YTicks = RoundTicks(units, span.YCategory, axes.YMin, axes.YMax, rows, true).Values;
  const int number = std::max(textWidth(units.FormatSI(span.XCategory, axes.XMin)),
                              textWidth(units.FormatSI(span.XCategory, axes.XMax)));
  const int columns = std::clamp(width / std::max(1, number + 2 * textHeight), 1, std::max(1, maxColumns));
  axes.XTicks = RoundTicks(units, span.XCategory, axes.XMin, axes.XMax, columns, false).Values;
  axes.XScale = width / (axes.XMax - axes.XMin);
  axes.YScale = height / (axes.YMax - axes.YMin);
  return axes;
}

}  // namespace shared
