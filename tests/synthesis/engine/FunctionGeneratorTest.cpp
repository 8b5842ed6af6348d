// Function generation on a four-link loop: the known four-bar's loop found again from its
// rotations, the degenerate system, and the closed form's loop and rotations.
#include "synthesis/engine/FunctionGenerator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <complex>
#include <numbers>

#include "synthesis/engine/Link.h"
#include "tests/synthesis/engine/KnownFourbar.h"

namespace {

using namespace vesk;
using vesktest::Cx;
using vesktest::ToCx;

class FunctionGeneratorTest : public vesktest::TMechanismTest {
 protected:
  FunctionGeneratorTest() {
    fg.L1 = &ground;
    fg.L2 = &crank;
    fg.L3 = &coupler;
    fg.L4 = &rocker;
  }
  Cx Turn(const TLink& l, int j) const { return std::polar(1.0, l.Rot[size_t(j)]); }
  // V2 e^{i th2} + V3 e^{i th3} + V4 e^{i th4} - V1 e^{i th1} at position j.
  Cx Gap(int j) const {
    return ToCx(fg.V2) * Turn(crank, j) + ToCx(fg.V3) * Turn(coupler, j) + ToCx(fg.V4) * Turn(rocker, j) -
           ToCx(fg.V1) * Turn(ground, j);
  }
  TLink ground, crank, coupler, rocker;
  TFunctionGenerator fg;
};

// The known crank-rocker: ground J1 -> J3 equals crank + coupler + rocker side. Its rotations at
// positions 5 and 9 give back its link vectors once scaled by the ground vector.
TEST_F(FunctionGeneratorTest, SolveMatrixFindsTheKnownLoop) {
  const vesktest::TLoop loop = vesktest::KnownLoop();
  for (int j : {5, 9}) {
    const vesktest::TPose pose = *loop.Pose((j - 1) * 0.15);
    crank.Rot[size_t(j)] = std::arg((pose.J2 - loop.J1) / (loop.J2 - loop.J1));
    coupler.Rot[size_t(j)] = std::arg((pose.J4 - pose.J2) / (loop.J4 - loop.J2));
    rocker.Rot[size_t(j)] = std::arg((loop.J3 - pose.J4) / (loop.J3 - loop.J4));
  }
  ASSERT_TRUE(fg.SolveMatrix());
  EXPECT_EQ(ToCx(fg.V1), Cx(1, 0));
  EXPECT_LT(std::abs(ToCx(fg.V2) + ToCx(fg.V3) + ToCx(fg.V4) - 1.0), 1e-14);
  for (int j : {5, 9}) EXPECT_LT(std::abs(Gap(j)), 1e-14) << j;

  const Cx g = loop.J3 - loop.J1;
  fg.Scale(shared::TComplex(g.real(), g.imag()));
  EXPECT_LT(std::abs(ToCx(fg.V1) - g), 1e-15);
  EXPECT_LT(std::abs(ToCx(fg.V2) - (loop.J2 - loop.J1)), 1e-12);
  EXPECT_LT(std::abs(ToCx(fg.V3) - (loop.J4 - loop.J2)), 1e-12);
  EXPECT_LT(std::abs(ToCx(fg.V4) - (loop.J3 - loop.J4)), 1e-12);
}

TEST_F(FunctionGeneratorTest, AllRotationsZeroIsNotReportedSingular) {
  // Three equal rows: no row is zero, so the solver answers with values of no use.
  EXPECT_TRUE(fg.SolveMatrix());
  EXPECT_EQ(CMatrix().Order(), 3);
}

TEST_F(FunctionGeneratorTest, SolveLoopClosesAtFiveAndNineAndWritesTheFlaggedRotations) {
  rocker.Rot[5] = 0.4;
  rocker.Rot[9] = 0.9;
  crank.Rot[5] = crank.Rot[9] = 0.123;
  coupler.Rot[5] = coupler.Rot[9] = 0.456;
  fg.F2 = fg.F3 = true;
  ASSERT_TRUE(fg.SolveLoop());
  EXPECT_LT(std::abs(ToCx(fg.V1) - 1.0), 1e-15);
  EXPECT_LT(std::abs(ToCx(fg.V2) + ToCx(fg.V3) + ToCx(fg.V4) - 1.0), 1e-15);
  // The coupler is four cranks long, parallel to it.
  EXPECT_LT(std::abs(ToCx(fg.V3) - 4.0 * ToCx(fg.V2)), 1e-15);
  EXPECT_EQ(crank.Rot[9], std::numbers::pi);
  EXPECT_EQ(coupler.Rot[9], 0.0);
  for (int j : {5, 9}) EXPECT_LT(std::abs(Gap(j)), 1e-14) << j;

  // Crank and coupler start in line, so the loop's first solution at 5 is the one turning to
  // the left of the closing vector; the written rotations are the other one's.
  const Cx c = 1.0 - std::polar(1.0, 0.4) * ToCx(fg.V4);
  const Cx a = ToCx(fg.V2), b = ToCx(fg.V3);
  const double p = (std::norm(a) - std::norm(b) + std::norm(c)) / (2 * std::abs(c));
  const double h = std::sqrt(std::norm(a) - p * p);
  const Cx a1 = c / std::abs(c) * Cx(p, h), a2 = c / std::abs(c) * Cx(p, -h);
  const Cx written = a * std::polar(1.0, crank.Rot[5]);
  EXPECT_LT(std::abs(written - a2), 1e-12);
  EXPECT_GT(std::abs(written - a1), 1e-3);

  // Flags clear: the rotations stay as they are.
  crank.Rot[5] = crank.Rot[9] = coupler.Rot[5] = coupler.Rot[9] = 0.25;
  fg.F2 = fg.F3 = false;
  ASSERT_TRUE(fg.SolveLoop());
  for (const TLink* l : {&crank, &coupler})
    for (int j : {5, 9}) EXPECT_EQ(l->Rot[size_t(j)], 0.25);
}

TEST_F(FunctionGeneratorTest, SolveLoopThatCannotCloseWritesNothing) {
  // A rocker that turns little at 9 makes a short crank and coupler; turned by 3 rad at 5 it
  // leaves a gap those two cannot span.
  rocker.Rot[5] = 3.0;
  rocker.Rot[9] = 0.1;
  const Cx d = std::polar(1.0, 0.1) - 1.0;
  const Cx v2 = Cx(0, -1) * d * 0.5, v4(0, -1);
  const Cx v1 = 5.0 * v2 + v4;
  const double reach = 5.0 * std::abs(v2 / v1);
  ASSERT_GT(std::abs(1.0 - std::polar(1.0, 3.0) * v4 / v1), reach);

  crank.Rot[5] = crank.Rot[9] = coupler.Rot[5] = coupler.Rot[9] = 0.25;
  fg.F2 = fg.F3 = true;
  EXPECT_FALSE(fg.SolveLoop());
  for (const TLink* l : {&crank, &coupler})
    for (int j : {5, 9}) EXPECT_EQ(l->Rot[size_t(j)], 0.25);
}

}  // namespace
