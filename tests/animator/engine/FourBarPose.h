// Closed-form poses of a four-bar (frame pivots A and D, crank AB, coupler BC carrying E, rocker
// CD) and the plane-vector helpers they need, for checking the position solution and the fit.
#pragma once

#include <cmath>
#include <numbers>

namespace enginetest {

constexpr double kPi = std::numbers::pi;

struct TPoint {
  double X = 0, Y = 0;
};

inline TPoint Sub(TPoint a, TPoint b) { return {a.X - b.X, a.Y - b.Y}; }
inline TPoint Add(TPoint a, TPoint b) { return {a.X + b.X, a.Y + b.Y}; }
inline double Len(TPoint a) { return std::hypot(a.X, a.Y); }
inline double Cross(TPoint a, TPoint b) { return a.X * b.Y - a.Y * b.X; }
inline double Dot(TPoint a, TPoint b) { return a.X * b.X + a.Y * b.Y; }
inline TPoint Turn(TPoint v, double angle) {
  return {v.X * std::cos(angle) - v.Y * std::sin(angle), v.X * std::sin(angle) + v.Y * std::cos(angle)};
}
inline double Arg(TPoint v) { return std::atan2(v.Y, v.X); }
// An angle difference brought into (-π, π].
inline double Wrap(double angle) { return std::remainder(angle, 2 * kPi); }

// Posed by the crank turn from its design pose: the coupler joint by the law of cosines on the
// side of BD it starts on.
struct TFourBar {
  TPoint A, B0, C0, D, E0;

  bool Pose(double crank, TPoint& b, TPoint& c, TPoint& e) const {
    const double a = Len(Sub(C0, B0)), r = Len(Sub(C0, D));
    b = Add(A, Turn(Sub(B0, A), crank));
    const TPoint bd = Sub(D, b);
    const double d = Len(bd);
    if (!(a + r > d && d > std::fabs(a - r))) return false;
    const double side = Cross(Sub(D, B0), Sub(C0, B0)) >= 0 ? 1.0 : -1.0;
    const double alpha = std::acos((a * a + d * d - r * r) / (2 * a * d));
    const double phi = Arg(bd) + side * alpha;
    c = {b.X + a * std::cos(phi), b.Y + a * std::sin(phi)};
    e = Add(b, Turn(Sub(E0, B0), CouplerTurn(b, c)));
    return true;
  }
  double CouplerTurn(TPoint b, TPoint c) const { return Arg(Sub(c, b)) - Arg(Sub(C0, B0)); }
  double RockerTurn(TPoint c) const { return Arg(Sub(c, D)) - Arg(Sub(C0, D)); }
};

}  // namespace enginetest
