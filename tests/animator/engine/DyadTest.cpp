// The dyad worker against closed-form linkage positions: pin-pin four-bars over a full crank turn and
// up to the straight pose where they stop, sliding bases, branch keeping, loading limits and refusals.
#include "animator/engine/Dyad.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

namespace {

using quillon::TDyad;
using quillon::TDyadRole;
using shared::TComplex;

constexpr double kPi = std::numbers::pi;
constexpr double kTol = 1e-9;  // positions of unit-sized links, after hundreds of carried steps

TComplex Polar(double r, double angle) { return TComplex(r * std::cos(angle), r * std::sin(angle)); }
TComplex Plus(const TComplex& a, const TComplex& b) { return TComplex(a.X + b.X, a.Y + b.Y); }
TComplex Minus(const TComplex& a, const TComplex& b) { return TComplex(a.X - b.X, a.Y - b.Y); }
double Angle(const TComplex& v) { return std::atan2(v.Y, v.X); }
double Dist(const TComplex& a, const TComplex& b) { return std::hypot(a.X - b.X, a.Y - b.Y); }
double Wrap(double a) { return std::remainder(a, 2 * kPi); }

// Law of cosines: the joint at distance a from p and b from q, on the left of p -> q for side = +1.
TComplex Triangle(const TComplex& p, const TComplex& q, double a, double b, int side) {
  const double c = Dist(p, q);
  const double beta = std::acos(std::clamp((a * a + c * c - b * b) / (2 * a * c), -1.0, 1.0));
  return Plus(p, Polar(a, Angle(Minus(q, p)) + side * beta));
}

#define EXPECT_POINT(actual, expected, tol) \
  do {                                      \
    const TComplex a_ = (actual);           \
    const TComplex e_ = (expected);         \
    EXPECT_NEAR(a_.X, e_.X, tol) << "x";    \
    EXPECT_NEAR(a_.Y, e_.Y, tol) << "y";    \
  } while (0)

// Two bare bars, base 1 -> joint and joint -> base 2, loaded into the worker (not yet finished).
void LoadTwoBars(TDyad& dyad, const TComplex& base1, const TComplex& joint, const TComplex& base2,
                 bool slider2 = false) {
  dyad.Clear();
  dyad.Slider2 = slider2;
  dyad.AddPoint1(base1, TDyadRole::Base);
  dyad.AddPoint1(joint, TDyadRole::Common);
  dyad.AddPoint2(base2, TDyadRole::Base);
  dyad.AddPoint2(joint, TDyadRole::Common);
}

// One step with the bases at the given places.
bool Step(TDyad& dyad, const TComplex& base1, const TComplex& base2) {
  dyad.RestoreCounts();
  dyad.SetBases(base1, base2);
  return dyad.Assemble();
}

// A four-bar A (frame) - B (crank pin) - C - D (frame) loaded the way the mechanism loads its dyad:
// side 1 the coupler B, C and coupler point P; side 2 the rocker D, C.
struct FourBar {
  TComplex A, D;
  double Crank, Coupler, Rocker;
  TComplex B0, C0, P0;
  TDyad Dyad;

  FourBar(TComplex a, TComplex d, double crank, double coupler, double rocker, double theta0, int side,
          TComplex couplerPoint)
      : A(a), D(d), Crank(crank), Coupler(coupler), Rocker(rocker) {
    B0 = Crank0(theta0);
    C0 = Triangle(B0, D, Coupler, Rocker, side);
    P0 = couplerPoint;
    Dyad.Clear();
    Dyad.AddPoint1(B0, TDyadRole::Base);
    Dyad.AddPoint1(C0, TDyadRole::Common);
    Dyad.AddPoint1(P0, TDyadRole::Other);
    Dyad.AddPoint2(D, TDyadRole::Base);
    Dyad.AddPoint2(C0, TDyadRole::Common);
    EXPECT_TRUE(Dyad.FinishLoading());
  }
  TComplex Crank0(double theta) const { return Plus(A, Polar(Crank, theta)); }
  bool Step(const TComplex& b) { return ::Step(Dyad, b, D); }
};

TEST(DyadTest, EqualSidesOverUnitBaseFollowThePreviousSide) {
  const double h = std::sqrt(3.0) / 2;
  for (int side : {+1, -1}) {
    TDyad dyad;
    LoadTwoBars(dyad, TComplex(0, 0), TComplex(0.5, side * h), TComplex(1, 0));
    ASSERT_TRUE(dyad.FinishLoading());
    EXPECT_NEAR(dyad.JointAngle(), kPi / 3, kTol);

    ASSERT_TRUE(Step(dyad, TComplex(0, 0), TComplex(1, 0)));
    EXPECT_POINT(dyad.NextPoint1(), TComplex(0.5, side * h), kTol);
    EXPECT_NEAR(dyad.Rotation1(), 0, kTol);

    // Base line turned a quarter turn: the joint stays on the same side of it.
    ASSERT_TRUE(Step(dyad, TComplex(0, 0), TComplex(0, 1)));
    EXPECT_POINT(dyad.NextPoint1(), TComplex(-side * h, 0.5), kTol);
    EXPECT_POINT(dyad.NextPoint2(), TComplex(-side * h, 0.5), kTol);
    EXPECT_NEAR(dyad.Rotation1(), kPi / 2, kTol);
    EXPECT_NEAR(dyad.Rotation2(), kPi / 2, kTol);
  }
}

TEST(DyadTest, JointOnTheBaseLineTakesTheLeftBranch) {
  TDyad dyad;
  LoadTwoBars(dyad, TComplex(0, 0), TComplex(1, 0), TComplex(3, 0));
  ASSERT_TRUE(dyad.FinishLoading());
  ASSERT_TRUE(Step(dyad, TComplex(0, 0), TComplex(2.5, 0)));
  // a = 1, b = 2, c = 2.5: x = (1 - 4 + 6.25) / 5 = 0.65, y = +sqrt(1 - 0.65^2).
  EXPECT_POINT(dyad.NextPoint1(), TComplex(0.65, std::sqrt(1 - 0.65 * 0.65)), kTol);
}

// Links 5 and 5 over a base that grows 6, 7, 8, 9, 10: all integers, so the straight pose at 10 is exact.
TEST(DyadTest, StretchedStraightDoesNotCloseAndMovesNothing) {
  TDyad dyad;
  LoadTwoBars(dyad, TComplex(0, 0), TComplex(3, 4), TComplex(6, 0));
  ASSERT_TRUE(dyad.FinishLoading());
  for (int c = 7; c <= 9; ++c) {
    ASSERT_TRUE(Step(dyad, TComplex(0, 0), TComplex(c, 0))) << c;
    EXPECT_POINT(dyad.NextPoint1(), TComplex(c / 2.0, std::sqrt(25 - c * c / 4.0)), kTol);
  }
  const double angle9 = dyad.JointAngle();
  EXPECT_NEAR(angle9, 2 * std::asin(4.5 / 5), kTol);
  EXPECT_FALSE(Step(dyad, TComplex(0, 0), TComplex(10, 0)));
  EXPECT_FALSE(dyad.LastResult());
  EXPECT_EQ(dyad.JointAngle(), angle9);
  // Folded straight (c = |a - b| = 0, the bases coincide) does not close either.
  EXPECT_FALSE(Step(dyad, TComplex(0, 0), TComplex(0, 0)));
  // Back at a closable base the pose of c = 9 is found again, on its branch.
  ASSERT_TRUE(Step(dyad, TComplex(0, 0), TComplex(9, 0)));
  EXPECT_POINT(dyad.NextPoint1(), TComplex(4.5, std::sqrt(25 - 4.5 * 4.5)), kTol);
}

// Grashof crank-rocker (1 + 4 < 3.5 + 3): the dyad closes at every step of a full crank turn, on the
// branch it was designed on, and comes back to the design pose.
TEST(DyadTest, CrankRockerFollowsItsBranchThroughAFullCycle) {
  const int n = 360;
  const double theta0 = 0.3;
  for (int side : {+1, -1}) {
    FourBar m(TComplex(0, 0), TComplex(4, 0), 1, 3.5, 3, theta0, side, TComplex(1.5, 2.5));
    const TComplex bp0 = Minus(m.P0, m.B0);
    double coupler = 0, rocker = 0;
    for (int k = 1; k <= n; ++k) {
      const TComplex b = m.Crank0(theta0 + 2 * kPi * k / n);
      SCOPED_TRACE(k);
      ASSERT_TRUE(m.Step(b));
      const TComplex c = Triangle(b, m.D, m.Coupler, m.Rocker, side);
      const double turn = Angle(Minus(c, b)) - Angle(Minus(m.C0, m.B0));
      TComplex p = bp0;
      p.Rotate(turn);
      EXPECT_POINT(m.Dyad.NextPoint2(), c, kTol);
      EXPECT_POINT(m.Dyad.NextPoint2(), m.D, kTol);
      EXPECT_POINT(m.Dyad.NextPoint1(), Plus(b, p), kTol);
      EXPECT_POINT(m.Dyad.NextPoint1(), c, kTol);
      EXPECT_POINT(m.Dyad.NextPoint1(), b, kTol);
      coupler += m.Dyad.Rotation1();
      rocker += m.Dyad.Rotation2();
      EXPECT_NEAR(Wrap(coupler - turn), 0, kTol);
      EXPECT_NEAR(Wrap(rocker - (Angle(Minus(c, m.D)) - Angle(Minus(m.C0, m.D)))), 0, kTol);
      const double bd = Dist(b, m.D);
      EXPECT_NEAR(
          m.Dyad.JointAngle(),
          std::acos((m.Coupler * m.Coupler + m.Rocker * m.Rocker - bd * bd) / (2 * m.Coupler * m.Rocker)),
          kTol);
    }
    // A crank-rocker's coupler and rocker only swing: after a turn they are back, not turned round.
    EXPECT_NEAR(coupler, 0, 1e-9);
    EXPECT_NEAR(rocker, 0, 1e-9);
  }
}

// Crank 1.2, coupler 2, rocker 2, frame 3: |BD|^2 = 10.44 - 7.2 cos(theta) reaches (2 + 2)^2 at
// cos(theta) = -0.7722..., between steps 35 and 36 of 90. The caller's range ends at 35.
TEST(DyadTest, CrankStopsWhereCouplerAndRockerStretchStraight) {
  const int n = 90;
  FourBar m(TComplex(0, 0), TComplex(3, 0), 1.2, 2, 2, 0, +1, TComplex(1, 1));
  const double limit = std::acos((10.44 - 16) / 7.2);
  int len = n;
  double lastAngle = m.Dyad.JointAngle();
  for (int k = 1; k <= n; ++k) {
    const double theta = 2 * kPi * k / n;
    const TComplex b = m.Crank0(theta);
    if (!m.Step(b)) {
      len = k - 1;
      break;
    }
    ASSERT_LT(theta, limit);
    EXPECT_POINT(m.Dyad.NextPoint2(), Triangle(b, m.D, 2, 2, +1), kTol);
    lastAngle = m.Dyad.JointAngle();
  }
  EXPECT_EQ(len, 35);
  EXPECT_GT(2 * kPi * 36 / n, limit);
  // At the last closed step the two links are nearly in line (transmission angle near pi).
  EXPECT_GT(lastAngle, 2.6);
  EXPECT_EQ(m.Dyad.JointAngle(), lastAngle);
}

// Offset slider-crank: crank 1 about (0, 0), coupler B-C of 3, slider block at D = C + (0, -1). The
// side-2 link C-D keeps its direction, so C runs along y = 1 and x_C = x_B + sqrt(9 - (1 - y_B)^2).
TEST(DyadTest, SliderCrankFollowsTheSlideLine) {
  const int n = 72;
  const auto crank = [](double t) { return TComplex(std::cos(t), std::sin(t)); };
  const TComplex b0 = crank(0);
  const TComplex c0(b0.X + std::sqrt(9 - 1.0), 1);
  const TComplex d0(c0.X, 0);
  const TComplex p0(2, 2);  // coupler point
  TDyad dyad;
  dyad.Clear();
  dyad.Slider2 = true;
  dyad.AddPoint1(b0, TDyadRole::Base);
  dyad.AddPoint1(c0, TDyadRole::Common);
  dyad.AddPoint1(p0, TDyadRole::Other);
  dyad.AddPoint2(c0, TDyadRole::Common);
  dyad.AddPoint2(d0, TDyadRole::Base);
  ASSERT_TRUE(dyad.FinishLoading());
  // Between B -> C = (sqrt 8, 1) and D -> C = (0, 1).
  EXPECT_NEAR(dyad.JointAngle(), kPi / 2 - std::atan2(1, std::sqrt(8.0)), kTol);
  double coupler = 0;
  for (int k = 1; k <= n; ++k) {
    const TComplex b = crank(2 * kPi * k / n);
    dyad.RestoreCounts();
    // The slider's base is given at its design place every step, as the frame keeps it there.
    dyad.SetBases(b, d0);
    SCOPED_TRACE(k);
    ASSERT_TRUE(dyad.Assemble());
    const TComplex c(b.X + std::sqrt(9 - (1 - b.Y) * (1 - b.Y)), 1);
    const double turn = Angle(Minus(c, b)) - Angle(Minus(c0, b0));
    TComplex p = Minus(p0, b0);
    p.Rotate(turn);
    EXPECT_POINT(dyad.NextPoint2(), c, kTol);
    EXPECT_POINT(dyad.NextPoint2(), TComplex(c.X, 0), kTol);
    EXPECT_POINT(dyad.NextPoint1(), Plus(b, p), kTol);
    EXPECT_POINT(dyad.NextPoint1(), c, kTol);
    coupler += dyad.Rotation1();
    EXPECT_NEAR(Wrap(coupler - turn), 0, kTol);
    EXPECT_EQ(dyad.Rotation2(), 0);
  }
}

// Base 1 at (0, 0), joint (3, 4) (side 1 of length 5), side 2 pointing up from the joint: the joint
// keeps its height 4 above the design base line, so it reaches only bases down to height -1.
TEST(DyadTest, SliderClosesAtFullReachAndNotBeyond) {
  TDyad dyad;
  LoadTwoBars(dyad, TComplex(0, 0), TComplex(3, 4), TComplex(3, 5), true);
  ASSERT_TRUE(dyad.FinishLoading());
  ASSERT_TRUE(Step(dyad, TComplex(0, -1), TComplex(3, 5)));
  EXPECT_POINT(dyad.NextPoint1(), TComplex(0, 4), kTol);
  EXPECT_POINT(dyad.NextPoint2(), TComplex(0, 4), kTol);
  EXPECT_POINT(dyad.NextPoint2(), TComplex(0, 5), kTol);
  EXPECT_FALSE(Step(dyad, TComplex(0, -1.5), TComplex(3, 5)));
}

TEST(DyadTest, SliderWithoutLengthIsRefused) {
  struct Case {
    TComplex base1, common, base2;
  } cases[] = {
      {TComplex(0, 0), TComplex(3, 4), TComplex(3, 4)},  // side 2 has no direction
      {TComplex(3, 4), TComplex(3, 4), TComplex(3, 5)},  // side 1 cannot turn
  };
  for (const Case& c : cases) {
    TDyad dyad;
    LoadTwoBars(dyad, c.base1, c.common, c.base2, true);
    ASSERT_TRUE(dyad.FinishLoading());
    EXPECT_FALSE(Step(dyad, c.base1, c.base2));
  }
}

// A base that is not a finite point (a corrupt design position, an overflowed step) gives no
// along-component to compare with the side length: the dyad does not close instead of placing
// its joints at NaN.
TEST(DyadTest, SliderWithANonFiniteBaseDoesNotClose) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const TComplex& base1 : {TComplex(inf, 0), TComplex(0, -inf), TComplex(nan, 0), TComplex(0, nan)}) {
    TDyad dyad;
    LoadTwoBars(dyad, TComplex(0, 0), TComplex(3, 4), TComplex(3, 5), true);
    ASSERT_TRUE(dyad.FinishLoading());
    const double design = dyad.JointAngle();
    EXPECT_FALSE(Step(dyad, base1, TComplex(3, 5))) << base1.X << ", " << base1.Y;
    EXPECT_EQ(dyad.JointAngle(), design) << "nothing moved";
  }
}

// A coupler with the full eleven joints: base, common joint and nine more on side 1, and ten on side 2.
// A twelfth point is ignored rather than written past the end.
TEST(DyadTest, ElevenJointLinksAreCarriedWhole) {
  const TComplex b0(0, 0), d0(1, 0);
  const double h = std::sqrt(3.0) / 2;
  const TComplex c0(0.5, h);
  std::vector<TComplex> others1, others2;
  for (int i = 0; i < 9; ++i) others1.emplace_back(0.1 * i, -0.3 - 0.05 * i);
  for (int i = 0; i < 10; ++i) others2.emplace_back(1 + 0.1 * i, 0.2 * i);
  TDyad dyad;
  dyad.Clear();
  dyad.AddPoint1(b0, TDyadRole::Base);
  dyad.AddPoint1(c0, TDyadRole::Common);
  for (const TComplex& p : others1) dyad.AddPoint1(p, TDyadRole::Other);
  dyad.AddPoint1(TComplex(99, 99), TDyadRole::Other);
  for (const TComplex& p : others2) dyad.AddPoint2(p, TDyadRole::Other);
  dyad.AddPoint2(c0, TDyadRole::Common);  // would be the twelfth point of side 2: ignored
  dyad.AddPoint2(d0, TDyadRole::Base);
  EXPECT_FALSE(dyad.FinishLoading());

  dyad.Clear();
  dyad.AddPoint1(b0, TDyadRole::Base);
  dyad.AddPoint1(c0, TDyadRole::Common);
  for (const TComplex& p : others1) dyad.AddPoint1(p, TDyadRole::Other);
  dyad.AddPoint1(TComplex(99, 99), TDyadRole::Other);
  dyad.AddPoint2(c0, TDyadRole::Common);
  for (int i = 0; i < 9; ++i) dyad.AddPoint2(others2[i], TDyadRole::Other);
  dyad.AddPoint2(d0, TDyadRole::Base);
  ASSERT_TRUE(dyad.FinishLoading());

  // Both bases moved: the triangle B C D is equilateral, turned by 90 degrees about B.
  const double turn = kPi / 2;
  ASSERT_TRUE(Step(dyad, b0, TComplex(0, 1)));
  const TComplex d1(0, 1);
  for (int i = 8; i >= 0; --i) {
    SCOPED_TRACE(i);
    TComplex v = Minus(others2[i], d0);
    v.Rotate(turn);
    EXPECT_POINT(dyad.NextPoint2(), Plus(d1, v), kTol);
  }
  EXPECT_POINT(dyad.NextPoint2(), TComplex(-h, 0.5), kTol);
  EXPECT_POINT(dyad.NextPoint2(), d1, kTol);
  for (int i = 8; i >= 0; --i) {
    SCOPED_TRACE(i);
    TComplex v = others1[i];
    v.Rotate(turn);
    EXPECT_POINT(dyad.NextPoint1(), v, kTol);
  }
  EXPECT_POINT(dyad.NextPoint1(), TComplex(-h, 0.5), kTol);
  // Asked for more points than were loaded, the side keeps giving its base.
  for (int i = 0; i < 3; ++i) EXPECT_POINT(dyad.NextPoint1(), b0, 0);
}

// The reach is all that decides closure: the squared base distance for two pins (sides 3 and 2
// close for reaches strictly between 1 and 25), the offset along the slide for a slider (side 1 of
// 5 closes for offsets from -5 to 5). Checked against Assemble over a grid of bases placed off
// the limits themselves, where rounding of the carried sides decides.
TEST(DyadTest, ReachDecidesClosureAsAssembleDoes) {
  TDyad pins;
  LoadTwoBars(pins, TComplex(0, 0), TComplex(0, 3), TComplex(2, 3));
  ASSERT_TRUE(pins.FinishLoading());
  EXPECT_EQ(pins.Reach(TComplex(1, 1), TComplex(4, 5)), 25);
  TDyad slide;
  LoadTwoBars(slide, TComplex(0, 0), TComplex(3, 4), TComplex(3, 5), true);
  ASSERT_TRUE(slide.FinishLoading());
  // The joint keeps its height 4 above base 2's design height less one: at base 1 = (0, -1) it
  // is 5 above base 1, the full reach.
  EXPECT_NEAR(std::fabs(slide.Reach(TComplex(0, -1), TComplex(3, 5))), 5, 1e-15);
  for (int i = -12; i <= 12; ++i) {
    for (int j = -12; j <= 12; ++j) {
      const TComplex base2(0.5 * i + 0.01, 0.5 * j + 0.02);
      SCOPED_TRACE(testing::Message() << base2.X << " " << base2.Y);
      const double r = pins.Reach(TComplex(0, 0), base2);
      EXPECT_EQ(Step(pins, TComplex(0, 0), base2), r > 1 && r < 25);
      const double h = slide.Reach(base2, TComplex(3, 5));
      EXPECT_EQ(Step(slide, base2, TComplex(3, 5)), std::fabs(h) <= 5);
    }
  }
}

// Whether a dyad stays closed between two steps is judged on the path its reach takes, given here
// as r(u) over the steps u = -1, 0, 1, 2: the four samples the solution has, and reachAt(t) = r(t)
// between steps 0 and 1. Peaks of the form V - k w^2 + m w^4 (w = u - 1/2) top out at V midway;
// the cubic through the samples falls short of that by 0.555 m, so a path that passes the limit
// by less is seen only on the path itself.
TEST(DyadTest, StaysClosedWhileThePathBetweenTheStepsDoes) {
  TDyad pins;  // closes for reaches strictly between 1 and 25
  LoadTwoBars(pins, TComplex(0, 0), TComplex(0, 3), TComplex(2, 3));
  ASSERT_TRUE(pins.FinishLoading());
  TDyad slide;  // closes for reaches from -5 to 5
  LoadTwoBars(slide, TComplex(0, 0), TComplex(3, 4), TComplex(3, 5), true);
  ASSERT_TRUE(slide.FinishLoading());
  const double none = std::numeric_limits<double>::quiet_NaN();
  const auto peak = [](double v, double k, double m) {
    return [=](double u) { return v - k * (u - 0.5) * (u - 0.5) + m * std::pow(u - 0.5, 4); };
  };
  struct TCase {
    const char* what;
    const TDyad& dyad;
    std::function<double(double)> r;
    bool before, after;  // the steps beside are known
    bool closed;
  };
  const TCase cases[] = {
      {"far from both limits", pins, [](double u) { return 10 + u; }, true, true, true},
      {"stretched straight midway", pins, peak(25.05, 4, 0.2), true, true, false},
      {"a hair short of straight", pins, peak(25 - 1e-6, 4, 0.2), true, true, true},
      {"a hair past straight", pins, peak(25 + 1e-6, 4, 0.2), true, true, false},
      {"past straight near step 1", pins, [](double u) { return 25.001 - 3 * (u - 0.9) * (u - 0.9); }, true,
       true, false},
      {"folded midway", pins, [](double u) { return 0.95 + 4 * (u - 0.5) * (u - 0.5); }, true, true, false},
      {"short of folded", pins, [](double u) { return 1.05 + 4 * (u - 0.5) * (u - 0.5); }, true, true, true},
      {"no step before", pins, peak(25.05, 4, 0.2), false, true, false},
      {"no step after", pins, peak(25.05, 4, 0.2), true, false, false},
      {"no step either side", pins, peak(25.05, 4, 0.2), false, false, false},
      {"rising past the limit only after the step", pins, [](double u) { return 22 + 2 * u; }, true, true,
       true},
      {"a step straight within rounding", pins, [](double u) { return 25 - 1e-10 - u * u; }, true, true,
       false},
      {"slide past full reach", slide, peak(5.01, 1, 0), true, true, false},
      {"slide past full reach the other way", slide, [](double u) { return -5.01 + (u - 0.5) * (u - 0.5); },
       true, true, false},
      {"slide within reach", slide, peak(4.99, 1, 0), true, true, true},
  };
  for (const TCase& c : cases) {
    int calls = 0;
    const auto at = [&](double t) {
      ++calls;
      return c.r(t);
    };
    EXPECT_EQ(c.dyad.StaysClosed(c.before ? c.r(-1) : none, c.r(0), c.r(1), c.after ? c.r(2) : none, at),
              c.closed)
        << c.what;
    if (std::string(c.what) == "far from both limits") {
      EXPECT_EQ(calls, 0) << "judged from the steps alone";
    }
  }
  // A linkage that cannot be posed between the steps does not close there.
  EXPECT_FALSE(pins.StaysClosed(20, 24.9, 24.9, 20, [&](double) { return none; }));
}

// A dyad the mechanism cannot solve is refused at loading, whatever the worker solved before.
TEST(DyadTest, DyadWithoutFreeCommonJointIsRefused) {
  TDyad dyad;
  LoadTwoBars(dyad, TComplex(0, 0), TComplex(0.5, 1), TComplex(1, 0));
  ASSERT_TRUE(dyad.FinishLoading());

  // Links that share no joint: each side has only a base and other joints.
  dyad.Clear();
  dyad.AddPoint1(TComplex(0, 0), TDyadRole::Base);
  dyad.AddPoint1(TComplex(0.5, 1), TDyadRole::Other);
  dyad.AddPoint2(TComplex(1, 0), TDyadRole::Base);
  dyad.AddPoint2(TComplex(0.6, 1), TDyadRole::Other);
  EXPECT_FALSE(dyad.FinishLoading());
  EXPECT_FALSE(Step(dyad, TComplex(0, 0), TComplex(1, 0)));
  EXPECT_EQ(dyad.JointAngle(), 0);

  // The shared joint already placed: the mechanism hands it in as a base.
  dyad.Clear();
  dyad.AddPoint1(TComplex(0, 0), TDyadRole::Base);
  dyad.AddPoint1(TComplex(0.5, 1), TDyadRole::Base);
  dyad.AddPoint2(TComplex(1, 0), TDyadRole::Base);
  dyad.AddPoint2(TComplex(0.5, 1), TDyadRole::Base);
  EXPECT_FALSE(dyad.FinishLoading());
  EXPECT_FALSE(Step(dyad, TComplex(0.5, 1), TComplex(0.5, 1)));

  // A side without any base.
  dyad.Clear();
  dyad.AddPoint1(TComplex(0, 0), TDyadRole::Base);
  dyad.AddPoint1(TComplex(0.5, 1), TDyadRole::Common);
  dyad.AddPoint2(TComplex(0.5, 1), TDyadRole::Common);
  EXPECT_FALSE(dyad.FinishLoading());
}

}  // namespace
