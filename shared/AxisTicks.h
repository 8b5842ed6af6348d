// Ticks of a graph axis on round values of the display unit: 1, 2 or 5 times a power of ten, so
// a scale reads 0, 0.2, 0.4 and not 0.167, 0.333.
#pragma once

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

}  // namespace shared
