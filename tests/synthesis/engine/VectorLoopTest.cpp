// The two-vector loop against the law of cosines, on both branches, and its refusals.
#include "synthesis/engine/VectorLoop.h"

#include <gtest/gtest.h>

#include <cmath>

using shared::TComplex;
using vesk::TVectorLoop;

namespace {

void ExpectNear(const TComplex& actual, const TComplex& expected, double tolerance, const char* what) {
  EXPECT_NEAR(actual.X, expected.X, tolerance) << what;
  EXPECT_NEAR(actual.Y, expected.Y, tolerance) << what;
}

TComplex Polar(double length, double angle) {
  TComplex v;
  v.SetPolar(length, angle);
  return v;
}

struct LoopCase {
  TComplex A0, B0, C;
};

TEST(VectorLoopTest, ClosesOnBothBranchesAsTheLawOfCosinesSays) {
  const LoopCase cases[] = {
      {{2, 0}, {1, 1}, {2.5, 0.5}},     // A0 below A0 + B0
      {{1, 2}, {2, -0.5}, {2.5, 0.5}},  // A0 above A0 + B0
      {{-0.3, 0.4}, {5, 1}, {-3, -4}},  // long B, C far from the reference
      {{1, 0}, {1, 0}, {0, 1.5}},       // reference with folded-flat vectors
      {{0.02, -0.01}, {-0.015, 0.03}, {0.01, 0.012}},
  };
  for (const auto& c : cases) {
    TVectorLoop loop;
    loop.A0 = c.A0;
    loop.B0 = c.B0;
    loop.C = c.C;
    ASSERT_TRUE(loop.Solve());
    const double a = c.A0.Abs(), b = c.B0.Abs(), len = c.C.Abs(), tol = 1e-12 * (a + b);
    // The angle between C and A from the triangle a, b, c; the reference picks its side.
    TComplex sum;
    sum.Add(c.A0, c.B0);
    const double side = sum.Cross(c.A0) >= 0 ? 1 : -1;
    const double gamma = std::acos((a * a + len * len - b * b) / (2 * a * len));
    ExpectNear(loop.A1, Polar(a, c.C.Arg() + side * gamma), tol, "A1");
    ExpectNear(loop.A2, Polar(a, c.C.Arg() - side * gamma), tol, "A2");
    struct Pair {
      const TComplex &A, &B, &RotA, &RotB;
    };
    for (const Pair& s :
         {Pair{loop.A1, loop.B1, loop.RotA1, loop.RotB1}, Pair{loop.A2, loop.B2, loop.RotA2, loop.RotB2}}) {
      TComplex closed;
      closed.Add(s.A, s.B);
      ExpectNear(closed, c.C, tol, "A + B = C");
      EXPECT_NEAR(s.A.Abs(), a, tol);
      EXPECT_NEAR(s.B.Abs(), b, tol);
      EXPECT_NEAR(s.RotA.Abs(), 1, 1e-14);
      EXPECT_NEAR(s.RotB.Abs(), 1, 1e-14);
      TComplex turned;
      turned.Mul(c.A0, s.RotA);
      ExpectNear(turned, s.A, tol, "RotA turns A0 into A");
      turned.Mul(c.B0, s.RotB);
      ExpectNear(turned, s.B, tol, "RotB turns B0 into B");
    }
  }
}

TEST(VectorLoopTest, ReferenceConfigurationComesBackUnturned) {
  for (const LoopCase& c : {LoopCase{{1, 0.5}, {2, -1}, {}}, LoopCase{{1, -0.5}, {2, 1}, {}}}) {
    TVectorLoop loop;
    loop.A0 = c.A0;
    loop.B0 = c.B0;
    loop.C.Add(c.A0, c.B0);
    ASSERT_TRUE(loop.Solve());
    ExpectNear(loop.A1, c.A0, 1e-14, "A1");
    ExpectNear(loop.B1, c.B0, 1e-14, "B1");
    ExpectNear(loop.RotA1, TComplex(1, 0), 1e-14, "RotA1");
    ExpectNear(loop.RotB1, TComplex(1, 0), 1e-14, "RotB1");
    EXPECT_GT(std::fabs(loop.RotA2.Arg()), 0.1);
  }
}

TEST(VectorLoopTest, TouchingOrSeparateCirclesDoNotCloseAndChangeNothing) {
  const TComplex cs[] = {{7, 0}, {0, -7}, {1, 0}, {0, 1}, {7.5, 0}, {0.5, 0}, {0, 0}};
  for (const TComplex& c : cs) {
    TVectorLoop loop;
    loop.A0.SetXY(3, 0);
    loop.B0.SetXY(0, 4);
    loop.C = c;
    TComplex* outputs[] = {&loop.A1,    &loop.B1,    &loop.A2,    &loop.B2,
                           &loop.RotA1, &loop.RotA2, &loop.RotB1, &loop.RotB2};
    for (auto* v : outputs) v->SetXY(42, -42);
    EXPECT_FALSE(loop.Solve()) << c.X << "," << c.Y;
    for (auto* v : outputs) {
      EXPECT_EQ(v->X, 42);
      EXPECT_EQ(v->Y, -42);
    }
  }
  TVectorLoop equal;  // a = b and C = 0: |a - b| = 0 is not exceeded
  equal.A0.SetXY(1, 0);
  equal.B0.SetXY(0, 1);
  EXPECT_FALSE(equal.Solve());
}

}  // namespace
