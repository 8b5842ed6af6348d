// The standard-form dyad against a four-bar whose positions the test works out in closed form:
// solving, closing, rating fixed rotations, failures by position, shifting and copying.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>

#include "synthesis/engine/CMatrix.h"
#include "synthesis/engine/ComplexLine.h"
#include "synthesis/engine/Dyad.h"
#include "synthesis/engine/Link.h"
#include "synthesis/engine/PrePoint.h"

using namespace vesk;
using shared::TComplex;

namespace {

using Cx = std::complex<double>;

Cx ToCx(const TComplex& c) { return {c.X, c.Y}; }
TComplex FromCx(Cx c) { return {c.real(), c.imag()}; }

// The angle a - b brought into (-pi, pi].
double AngleDiff(double a, double b) { return std::remainder(a - b, 2 * std::numbers::pi); }

// A crank-rocker (ground 4.03, crank 1.2, coupler 3.5, rocker 3: the crank turns fully) with a
// coupler point P = A + (B - A) k, at nine crank angles 0.25 rad apart. Every position is worked
// out here by the circle intersection, independent of the engine's loop solver.
struct FourBar {
  Cx A0{0, 0}, B0{4, 0.5};
  double crank = 1.2, coupler = 3.5, rocker = 3.0;
  Cx k{0.5, -0.6};
  std::array<Cx, 10> A{}, B{}, P{};
  std::array<double, 10> beta{}, alpha{};  // true crank and coupler rotations from position 1

  FourBar() {
    for (int j = 1; j <= 9; ++j) {
      const double phi = 0.4 + 0.25 * (j - 1);
      A[j] = A0 + std::polar(crank, phi);
      const Cx d = B0 - A[j];
      const double D = std::abs(d);
      const double along = (coupler * coupler - rocker * rocker + D * D) / (2 * D);
      const double h = std::sqrt(coupler * coupler - along * along);
      B[j] = A[j] + d / D * Cx(along, h);
      P[j] = A[j] + (B[j] - A[j]) * k;
      beta[j] = phi - 0.4;
      alpha[j] = std::arg((B[j] - A[j]) / (B[1] - A[1]));
    }
  }
};

class DyadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateCMatrix();
    // The dyad's triangle A0-A-P keeps its orientation over the nine positions, so the loop's
    // branch of position 1 is the four-bar's own.
    auto side = [this](int j) { return std::imag(std::conj(fb.P[j] - fb.A0) * (fb.A[j] - fb.A0)); };
    for (int j = 2; j <= 9; ++j) ASSERT_GT(side(j) * side(1), 0) << j;
    // Crank and coupler carry the true rotations at 5 and 9 only; the others are left to Check.
    for (int j : {5, 9}) {
      crankLink.Rot[j] = fb.beta[j];
      couplerLink.Rot[j] = fb.alpha[j];
    }
    dyad.WLink = &crankLink;
    dyad.ZLink = &couplerLink;
    dyad.WFree = true;
    dyad.ZFree = true;
    for (int j = 1; j <= 9; ++j) dyad.Points[j] = FromCx(fb.P[j]);
  }
  void TearDown() override { FreeCMatrix(); }

  FourBar fb;
  TLink crankLink, couplerLink;
  TDyad dyad;
};

TEST_F(DyadTest, SolvesTheFourBarAndClosesAtEveryPosition) {
  ASSERT_TRUE(dyad.Solve());
  EXPECT_TRUE(dyad.Modified);
  EXPECT_NEAR(std::abs(ToCx(dyad.W) - (fb.A[1] - fb.A0)), 0, 1e-12);
  EXPECT_NEAR(std::abs(ToCx(dyad.Z) - (fb.P[1] - fb.A[1])), 0, 1e-12);

  dyad.Error = 3.0;  // Check starts from 1
  ASSERT_TRUE(dyad.Check());
  EXPECT_EQ(dyad.Error, 1.0);

  const Cx G = ToCx(dyad.Points[1]) - ToCx(dyad.Z) - ToCx(dyad.W);
  for (int j = 1; j <= 9; ++j) {
    const Cx reached = G + ToCx(dyad.W) * std::polar(1.0, crankLink.Rot[j]) +
                       ToCx(dyad.Z) * std::polar(1.0, couplerLink.Rot[j]);
    EXPECT_NEAR(std::abs(reached - fb.P[j]), 0, 1e-9) << "position " << j;
    // The written rotations are the four-bar's own, not merely some closing pair.
    EXPECT_NEAR(AngleDiff(crankLink.Rot[j], fb.beta[j]), 0, 1e-9) << "position " << j;
    EXPECT_NEAR(AngleDiff(couplerLink.Rot[j], fb.alpha[j]), 0, 1e-9) << "position " << j;
  }
}

TEST_F(DyadTest, FixedRotationsThatDifferMultiplyTheError) {
  // The coupler's stored rotations are the true ones set off by a known amount; the crank stays free.
  dyad.ZFree = false;
  const double offsets[10] = {0, 0, 0.1, -0.2, 0.05, 0, 0.3, -0.01, 0.15, 0};
  for (int j : {2, 3, 4, 6, 7, 8}) couplerLink.Rot[j] = fb.alpha[j] + offsets[j];
  ASSERT_TRUE(dyad.Solve());
  ASSERT_TRUE(dyad.Check());

  // |e^{i(a + d)} - e^{ia}| is the chord 2 |sin(d / 2)|.
  double expected = 1.0;
  for (int j : {2, 3, 4, 6, 7, 8}) expected *= 1.0 + 2.0 * std::fabs(std::sin(offsets[j] / 2));
  EXPECT_NEAR(dyad.Error, expected, 1e-9);
  for (int j : {2, 3, 4, 6, 7, 8}) {
    EXPECT_EQ(couplerLink.Rot[j], fb.alpha[j] + offsets[j]) << "a fixed link keeps its rotations";
    EXPECT_NEAR(AngleDiff(crankLink.Rot[j], fb.beta[j]), 0, 1e-9);
  }
}

TEST_F(DyadTest, BothFixedAtTheTrueRotationsRateOne) {
  dyad.WFree = dyad.ZFree = false;
  for (int j : {2, 3, 4, 6, 7, 8}) {
    crankLink.Rot[j] = fb.beta[j];
    couplerLink.Rot[j] = fb.alpha[j];
  }
  ASSERT_TRUE(dyad.Solve());
  ASSERT_TRUE(dyad.Check());
  EXPECT_NEAR(dyad.Error, 1.0, 1e-9);
}

TEST_F(DyadTest, APointOutOfReachFailsAtItsPosition) {
  // Positions 5 and 9 feed Solve, so moving them would change W and Z; a point at 1 moves G.
  for (int p : {2, 3, 4, 6, 7, 8}) {
    SCOPED_TRACE(p);
    TLink crank, coupler;
    for (int j : {5, 9}) {
      crank.Rot[j] = fb.beta[j];
      coupler.Rot[j] = fb.alpha[j];
    }
    TDyad d;
    d.WLink = &crank;
    d.ZLink = &coupler;
    d.WFree = d.ZFree = true;
    for (int j = 1; j <= 9; ++j) d.Points[j] = FromCx(fb.P[j]);
    d.Points[p] = FromCx(fb.A0 + Cx(20, 20));  // farther from the pivot than |W| + |Z|
    ASSERT_TRUE(d.Solve());
    EXPECT_FALSE(d.Check());
    EXPECT_EQ(d.Error, 10.0 - p);
    // The rotations written before the failure stay; from p on nothing is written.
    for (int j = 2; j < p; ++j) {
      if (j != 5) {
        EXPECT_NEAR(AngleDiff(crank.Rot[j], fb.beta[j]), 0, 1e-9) << j;
      }
    }
    for (int j = p; j <= 8; ++j) {
      if (j != 5) {
        EXPECT_EQ(crank.Rot[j], 0.0) << j;
      }
    }
  }
}

TEST_F(DyadTest, RotationsAtFiveAndNineMustBeReproduced) {
  // After Solve the stored rotation at 5 or 9 is moved by delta: the closed loop then gives back
  // the solved one, which must match the stored one to 1e-5.
  struct Case {
    int position;
    bool coupler;
    double delta;
    bool closes;
  };
  const Case cases[] = {
      {5, false, 1e-7, true},  {5, false, 1e-4, false}, {5, true, 1e-4, false},
      {9, false, 1e-4, false}, {9, true, 1e-7, true},   {9, true, -1e-4, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "position " << c.position << (c.coupler ? " coupler " : " crank ")
                                    << c.delta);
    for (int j : {5, 9}) {
      crankLink.Rot[j] = fb.beta[j];
      couplerLink.Rot[j] = fb.alpha[j];
    }
    ASSERT_TRUE(dyad.Solve());
    (c.coupler ? couplerLink : crankLink).Rot[c.position] += c.delta;
    EXPECT_EQ(dyad.Check(), c.closes);
    EXPECT_EQ(dyad.Error, c.closes ? 1.0 : 10.0 - c.position);
  }
}

TEST_F(DyadTest, ASingularSystemKeepsWAndZ) {
  // No rotation at 5: the first row of the system is zero.
  crankLink.Rot[5] = couplerLink.Rot[5] = 0;
  dyad.W = {7, 8};
  dyad.Z = {-1, 2};
  EXPECT_FALSE(dyad.Solve());
  EXPECT_TRUE(dyad.Modified);
  EXPECT_EQ(dyad.W.X, 7);
  EXPECT_EQ(dyad.W.Y, 8);
  EXPECT_EQ(dyad.Z.X, -1);
  EXPECT_EQ(dyad.Z.Y, 2);
}

TEST_F(DyadTest, WithoutLinksNothingIsSolvedOrClosed) {
  dyad.WLink = nullptr;
  EXPECT_FALSE(dyad.Solve());
  EXPECT_FALSE(dyad.Check());
  EXPECT_EQ(dyad.Error, 8.0);
}

TEST_F(DyadTest, ShiftingByTheCouplerAimsAtAnotherCouplerPoint) {
  // B - P at position 1, turned with the coupler, leads from P to B at every position.
  couplerLink.Rot = fb.alpha;
  couplerLink.Rot[1] = 0.7;  // position 1 is the reference: the offset goes on unturned
  dyad.ShiftPoints(FromCx(fb.B[1] - fb.P[1]), couplerLink);
  for (int j = 1; j <= 9; ++j) EXPECT_NEAR(std::abs(ToCx(dyad.Points[j]) - fb.B[j]), 0, 1e-12) << j;

  // The rocker and coupler then solve as the other side of the four-bar: pivot B0.
  TLink rockerLink;
  for (int j : {5, 9}) rockerLink.Rot[j] = std::arg((fb.B[j] - fb.B0) / (fb.B[1] - fb.B0));
  TDyad other;
  other.WLink = &rockerLink;
  other.ZLink = &couplerLink;
  for (int j = 1; j <= 9; ++j) other.Points[j] = FromCx(fb.P[j]);
  ASSERT_TRUE(other.Solve());
  EXPECT_NEAR(std::abs(ToCx(other.W) - (fb.B[1] - fb.B0)), 0, 1e-12);
  EXPECT_NEAR(std::abs(ToCx(other.Z) - (fb.P[1] - fb.B[1])), 0, 1e-12);
}

TEST_F(DyadTest, TakesTheNinePrecisionPoints) {
  TPrePointList points;
  for (int j = 1; j <= 9; ++j) points.Add(std::make_unique<TPrePoint>(j, -j));
  TDyad d;
  d.SetPrecisionPoints(points);
  for (int j = 1; j <= 9; ++j) {
    EXPECT_EQ(d.Points[j].X, j);
    EXPECT_EQ(d.Points[j].Y, -j);
  }
}

TEST_F(DyadTest, CloneCarriesTheDyadAndAssignFromAnotherClassOnlyTheGeneralFields) {
  dyad.Id = 4;
  dyad.Name = "Dyad 4";
  ASSERT_TRUE(dyad.Solve());
  ASSERT_TRUE(dyad.Check());
  dyad.Error = 2.5;
  dyad.ZFree = false;
  const auto copy = dyad.Clone();
  const auto* c = dynamic_cast<const TDyad*>(copy.get());
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->Id, 4);
  EXPECT_EQ(c->Name, "Dyad 4");
  EXPECT_FALSE(c->W.NotEqual(dyad.W));
  EXPECT_FALSE(c->Z.NotEqual(dyad.Z));
  EXPECT_EQ(c->WLink, &crankLink);
  EXPECT_EQ(c->ZLink, &couplerLink);
  EXPECT_TRUE(c->WFree);
  EXPECT_FALSE(c->ZFree);
  EXPECT_EQ(c->Error, 2.5);
  for (int j = 1; j <= 9; ++j) EXPECT_FALSE(c->Points[j].NotEqual(dyad.Points[j])) << j;

  TComplexLine line(0, 0, 1, 1);
  line.Id = 9;
  line.Name = "Line 9";
  TDyad d;
  d.Error = 4.0;
  d.Assign(&line);
  EXPECT_EQ(d.Id, 9);
  EXPECT_EQ(d.Name, "Line 9");
  EXPECT_EQ(d.Error, 4.0);
  EXPECT_EQ(d.WLink, nullptr);
}

}  // namespace
