// Rotation error of a link against the rotation a target curve prescribes: the angle between
// their unit vectors, read from the 2-D cross product; and how far a target curve lies from a
// solved path.
#pragma once

#include <cstdint>
#include <vector>

#include "animator/engine/AniJoint.h"
#include "shared/Complex.h"

namespace quillon {

class TSpline;

// |arcsin(u × w)| for u at angle and w at target, 0..π/2. The cross product of two unit vectors
// can round just past ±1, so the arcsine's argument is clamped to [−1, 1].
double RotationError(double angle, double target);

// |w − u|², the factor (less one) by which a step's rotation error enters the fitting product.
double RotationDistance2(double angle, double target);

// The points at which a curve's distance from a path is measured: 20 per segment between its
// control points and its last point; none for a curve without segments.
std::vector<shared::TComplex> DistancePoints(const TSpline& curve);

// The largest distance of the points from the polyline through path[0..last]; 0 without points
// or for an empty path.
double CurveToPathDistance(const std::vector<shared::TComplex>& points, const TPositionRecord* path,
                           int32_t last);

// CurveToPathDistance(points, path, last) <= bound, found without measuring every point exactly.
bool CurveWithin(const std::vector<shared::TComplex>& points, const TPositionRecord* path, int32_t last,
                 double bound);

// How far a target curve lies from a solved path.
struct TCurveDistances {
  // The largest distance of the curve's sampled points (DistancePoints) from the path.
  double Farthest = 0;
  // The largest and the mean distance of the curve's control points from the path.
  double PointLargest = 0;
  double PointMean = 0;
};

// The distances of a curve, given by its sampled points and its control points, from the polyline
// through path[0..last]; all 0 for an empty path.
TCurveDistances MeasureCurve(const std::vector<shared::TComplex>& samples,
                             const std::vector<shared::TComplex>& controls, const TPositionRecord* path,
                             int32_t last);

// Every distance of MeasureCurve(samples, controls, path, last) at most the bound's; gives up at
// the first that is not.
bool CurveNoFarther(const std::vector<shared::TComplex>& samples, const std::vector<shared::TComplex>& controls,
                    const TPositionRecord* path, int32_t last, const TCurveDistances& bound);

}  // namespace quillon
