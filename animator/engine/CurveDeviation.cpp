// Rotation errors against the target curve's prescribed rotations, and the distance of the curve
// from a solved path.
#include "animator/engine/CurveDeviation.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "animator/engine/Spline.h"

namespace quillon {

using shared::TComplex;

double RotationError(double angle, double target) {
  const double cross = std::cos(angle) * std::sin(target) - std::sin(angle) * std::cos(target);
  return std::fabs(std::asin(std::clamp(cross, -1.0, 1.0)));
}

double RotationDistance2(double angle, double target) {
  const double dx = std::cos(target) - std::cos(angle);
  const double dy = std::sin(target) - std::sin(angle);
  return dx * dx + dy * dy;
}

namespace {

constexpr int32_t kPointsPerSegment = 20;

// Squared distance of p from the piece of the path from step k to step k + 1 (the point path[0]
// for a path of one position).
double PieceDistance2(const TPositionRecord* path, int32_t last, int32_t k, const TComplex& p) {
  const TPositionRecord& a = path[k];
  const TPositionRecord& b = path[std::min(k + 1, last)];
  return shared::SegmentDistance2(p, TComplex(a.X, a.Y), TComplex(b.X, b.Y));
}

// The largest distance of the points from the path, where a point within floor of the path
// counts as no more than floor, given up as soon as it exceeds stop. A point nearer than the
// largest distance found so far (or than floor) cannot raise it, so the search for its nearest
// piece stops there; the search starts at the previous point's nearest piece and widens, which
// along a path that follows the curve finds such a piece at once. Squared distances throughout.
double Largest2(const std::vector<TComplex>& points, const TPositionRecord* path, int32_t last, double floor2,
                double stop2) {
  if (!path || last < 0) return 0;
  const int32_t pieces = std::max(last, 1);
  double largest = 0;
  int32_t hint = 0;
  for (const TComplex& p : points) {
    const double enough = std::max(largest, floor2);
    double nearest = std::numeric_limits<double>::infinity();
    int32_t nearestPiece = hint;
    const auto check = [&](int32_t k) {
      const double d = PieceDistance2(path, last, k, p);
      if (d < nearest) nearest = d, nearestPiece = k;
    };
    for (int32_t offset = 0; offset < pieces && nearest > enough; ++offset) {
      if (hint + offset < pieces) check(hint + offset);
      if (offset > 0 && hint - offset >= 0) check(hint - offset);
    }
    hint = nearestPiece;
    largest = std::max(largest, nearest);
    if (largest > stop2) break;
  }
  return largest;
}

// The largest and the mean distance of the points from the path, each point against every piece.
void NearestDistances(const std::vector<TComplex>& points, const TPositionRecord* path, int32_t last,
                      double& largest, double& mean) {
  largest = mean = 0;
  if (!path || last < 0 || points.empty()) return;
  const int32_t pieces = std::max(last, 1);
  double sum = 0;
  for (const TComplex& p : points) {
    double nearest = std::numeric_limits<double>::infinity();
    for (int32_t k = 0; k < pieces; ++k) nearest = std::min(nearest, PieceDistance2(path, last, k, p));
    const double d = std::sqrt(nearest);
    largest = std::max(largest, d);
    sum += d;
  }
  mean = sum / static_cast<double>(points.size());
}

}  // namespace

std::vector<TComplex> DistancePoints(const TSpline& curve) {
  std::vector<TComplex> points;
  if (curve.PointCount() < 2) return points;
  points.reserve(static_cast<size_t>((curve.PointCount() - 1) * kPointsPerSegment + 1));
  shared::TPrePoint q;
  for (int32_t i = 1; i < curve.PointCount(); ++i) {
    for (int32_t j = 0; j < kPointsPerSegment; ++j) {
      curve.Hermite(i, static_cast<double>(j) / kPointsPerSegment, q);
      points.emplace_back(q.X, q.Y);
    }
  }
  const shared::TPrePoint& end = curve.Point(curve.PointCount() - 1);
  points.emplace_back(end.X, end.Y);
  return points;
}

double CurveToPathDistance(const std::vector<TComplex>& points, const TPositionRecord* path, int32_t last) {
  return std::sqrt(Largest2(points, path, last, 0, std::numeric_limits<double>::infinity()));
}

bool CurveWithin(const std::vector<TComplex>& points, const TPositionRecord* path, int32_t last,
                 double bound) {
  const double bound2 = bound * bound;
  // Compared as a distance, so the path whose distance set the bound meets it exactly.
  return std::sqrt(Largest2(points, path, last, bound2, bound2)) <= bound;
}

TCurveDistances MeasureCurve(const std::vector<TComplex>& samples, const std::vector<TComplex>& controls,
                             const TPositionRecord* path, int32_t last) {
  TCurveDistances d;
  d.Farthest = CurveToPathDistance(samples, path, last);
  NearestDistances(controls, path, last, d.PointLargest, d.PointMean);
  return d;
}

bool CurveNoFarther(const std::vector<TComplex>& samples, const std::vector<TComplex>& controls,
                    const TPositionRecord* path, int32_t last, const TCurveDistances& bound) {
  if (!CurveWithin(samples, path, last, bound.Farthest)) return false;
  double largest = 0, mean = 0;
  NearestDistances(controls, path, last, largest, mean);
  return largest <= bound.PointLargest && mean <= bound.PointMean;
}

}  // namespace quillon
