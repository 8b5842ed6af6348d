// A known crank-rocker four-bar for the synthesis tests: its poses by the test's own loop
// closure (std::complex, independent of the engine's vector loop), the coupler-path curve it
// traces, and precision points with the exact link rotations that reproduce it.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <memory>
#include <optional>

#include "synthesis/engine/CMatrix.h"
#include "synthesis/engine/InputFunction.h"
#include "synthesis/engine/Mechanism.h"
#include "synthesis/engine/Spline.h"

namespace vesktest {

using Cx = std::complex<double>;

inline Cx ToCx(const shared::TComplex& c) { return {c.X, c.Y}; }

struct TPose {
  Cx J2, J4, J5;
};

// A four-bar given by its joints at one position; Pose turns its input link by theta from there
// and closes the loop on the branch the joints start on.
struct TLoop {
  Cx J1, J2, J3, J4, J5;

  static TLoop Of(const vesk::TMechanism& m) {
    auto j = [&](int i) { return ToCx(*m.Joints.GetJoint(i)); };
    return {j(1), j(2), j(3), j(4), j(5)};
  }

  std::optional<TPose> Pose(double theta) const {
    const double c = std::abs(J4 - J2);
    const double r = std::abs(J4 - J3);
    const double side = std::imag(std::conj(J3 - J2) * (J4 - J2)) >= 0 ? 1.0 : -1.0;
    const Cx j2 = J1 + (J2 - J1) * std::polar(1.0, theta);
    const Cx d = J3 - j2;
    const double l = std::abs(d);
    const double x = (c * c - r * r + l * l) / (2 * l);
    const double h2 = c * c - x * x;
    if (!(h2 > 0)) return std::nullopt;
    const Cx j4 = j2 + d / l * Cx(x, side * std::sqrt(h2));
    const Cx j5 = j2 + (J5 - J2) * (j4 - j2) / (J4 - J2);
    return TPose{j2, j4, j5};
  }
};

// Ground (0,0)-(1,0), crank 0.3, coupler 0.9 with its point off the line, rocker 0.8 (Grashof:
// the crank turns fully). The triangles crank pivot - crank joint - coupler point and rocker
// pivot - rocker joint - crank joint keep their orientation over the curve, so that each dyad
// closes on one branch throughout.
inline TLoop KnownLoop() {
  const Cx j1(0, 0), j3(1, 0);
  const Cx j2 = j1 + std::polar(0.3, 0.3);
  TLoop start{j1, j2, j3, j2 + Cx(0.9, 0), j2};
  // Put J4 on the closing branch above the ground, then the coupler point on the coupler.
  const Cx d = j3 - j2;
  const double l = std::abs(d);
  const double x = (0.81 - 0.64 + l * l) / (2 * l);
  start.J4 = j2 + d / l * Cx(x, std::sqrt(0.81 - x * x));
  start.J5 = j2 + (start.J4 - j2) / std::abs(start.J4 - j2) * Cx(0.3, -0.5);
  return start;
}

// Input angles (from the first) of the curve's control points: 1.5 rad in 12 steps.
inline double CurveAngle(int k) { return k * 1.5 / 12; }

inline void FillCurve(vesk::TSpline& curve) {
  const TLoop loop = KnownLoop();
  for (int k = 0; k <= 12; ++k) {
    const Cx p = loop.Pose(CurveAngle(k))->J5;
    curve.Add(std::make_unique<vesk::TPrePoint>(p.real(), p.imag()));
  }
  curve.Recalc();
}

// Nine precision points on the known coupler path, at input angles 0, 0.15, ... 1.2, and the
// exact rotations of input, coupler and rocker there.
inline void SetExactPrecision(vesk::TMechanism& m) {
  const TLoop loop = KnownLoop();
  m.PrecisionPoints.Clear();
  for (int i = 1; i <= 9; ++i) {
    const double theta = (i - 1) * 0.15;
    const TPose pose = *loop.Pose(theta);
    m.PrecisionPoints.Add(std::make_unique<vesk::TPrePoint>(pose.J5.real(), pose.J5.imag()));
    m.Links.GetLink(2)->Rot[i] = theta;
    m.Links.GetLink(3)->Rot[i] = std::arg((pose.J4 - pose.J2) / (loop.J4 - loop.J2));
    m.Links.GetLink(4)->Rot[i] = std::arg((pose.J4 - loop.J3) / (loop.J4 - loop.J3));
  }
}

// The engine's program-wide pieces that a mechanism needs, made before the members of a
// derived fixture.
class TMechanismTest : public ::testing::Test {
 protected:
  TMechanismTest() {
    vesk::CreateCMatrix();
    vesk::CreateDefaultInputFunction();
  }
};

}  // namespace vesktest
