// How far a mechanism's target curve lies from the path its tracer runs, measured as an engineer
// would check a fit: the linkage solved at 720 steps, each curve point against every piece of
// that path.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "animator/engine/AniMechanism.h"

namespace enginetest {

struct TPathDistance {
  // The largest and the mean distance of the curve's control points from the path.
  double Largest = 0;
  double Mean = 0;
  // Solved length at 720 steps.
  int32_t Len = 0;
};

// Distance of (x, y) from the polyline through path[0..last].
inline double NearestOnPath(const std::vector<quillon::TPositionRecord>& path, int32_t last, double x, double y) {
  double nearest = HUGE_VAL;
  for (int32_t k = 0; k < std::max(last, 1); ++k) {
    const quillon::TPositionRecord& a = path[k];
    const quillon::TPositionRecord& b = path[std::min(k + 1, last)];
    const double dx = b.X - a.X, dy = b.Y - a.Y;
    const double length2 = dx * dx + dy * dy;
    const double t = length2 > 0 ? std::clamp(((x - a.X) * dx + (y - a.Y) * dy) / length2, 0.0, 1.0) : 0.0;
    nearest = std::min(nearest, std::hypot(a.X + t * dx - x, a.Y + t * dy - y));
  }
  return nearest;
}

// The mechanism is solved at 720 steps and then again at the step count it had.
inline TPathDistance MeasureAt720(quillon::TAniMechanism& m) {
  const int32_t n = m.N;
  m.SetPositionCount(720);
  m.Calculate();
  TPathDistance d;
  d.Len = m.Len;
  const int32_t count = m.Curve.PointCount();
  for (int32_t i = 0; i < count; ++i) {
    const double distance = NearestOnPath(m.Tracer->Positions, m.Len, m.Curve.Point(i).X, m.Curve.Point(i).Y);
    d.Largest = std::max(d.Largest, distance);
    d.Mean += distance / count;
  }
  m.SetPositionCount(n);
  m.Calculate();
  return d;
}

// The rectangle of a design's joints and its curve, sampled at samples + 1 points; the fit keeps
// every joint within it widened on each side by Room().
struct TDesignRegion {
  double MinX = HUGE_VAL, MinY = HUGE_VAL, MaxX = -HUGE_VAL, MaxY = -HUGE_VAL;
  double Room() const { return std::max(MaxX - MinX, MaxY - MinY) / 2; }
};

inline TDesignRegion DesignRegion(const quillon::TAniMechanism& m, int32_t samples) {
  TDesignRegion r;
  const auto widen = [&r](double x, double y) {
    r.MinX = std::min(r.MinX, x), r.MaxX = std::max(r.MaxX, x);
    r.MinY = std::min(r.MinY, y), r.MaxY = std::max(r.MaxY, y);
  };
  for (const auto& joint : m.Joints) widen(joint->Positions[0].X, joint->Positions[0].Y);
  for (int32_t i = 0; i <= samples; ++i) {
    shared::TPrePoint q;
    m.Curve.PointAt(double(i) / samples, q);
    widen(q.X, q.Y);
  }
  return r;
}

}  // namespace enginetest
