// The position solution of the animated linkage against closed-form four-bar positions, its
// kinematics, instant centres, curve deviation, getters and the faults it stays clear of.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "animator/engine/AniMechanism.h"
#include "animator/engine/CurveDeviation.h"
#include "tests/animator/engine/FourBarPose.h"

namespace quillon {
namespace {

using namespace enginetest;

constexpr double kTol = 1e-9;

TPoint At(const TAniMechanism& m, char letter, int32_t k) {
  const TPositionRecord& p = m.Joints[m.FindJoint(letter)]->Positions[k];
  return {p.X, p.Y};
}

TPoint Design(const TAniMechanism& m, char letter) { return At(m, letter, 0); }

void ExpectNear(TPoint actual, TPoint expected, double tol, const std::string& what) {
  EXPECT_NEAR(actual.X, expected.X, tol) << what;
  EXPECT_NEAR(actual.Y, expected.Y, tol) << what;
}

// Frame AD, crank AB driven at A, coupler BC, rocker CD, one dyad; no tracer.
void BuildFourBar(TAniMechanism& m, TPoint a, TPoint b, TPoint c, TPoint d) {
  m.NewMechanism(8);
  m.AddJoint('A', false, a.X, a.Y, false, false);
  m.AddJoint('B', false, b.X, b.Y, true, false);
  m.AddJoint('C', true, c.X, c.Y, true, false);
  m.AddJoint('D', false, d.X, d.Y, false, false);
  m.AddInput('A');
  m.AddLink("AD", "PP", false, true);
  m.AddLink("AB", "PP", true, false);
  m.AddLink("BC", "PP", true, true);
  m.AddLink("CD", "PP", true, false);
  m.AddDyad("BC", "CD");
  m.RebuildTopology();
}

TEST(SolveTest, DefaultFourBarFollowsTheClosedFormOverTheWholeCycle) {
  for (const int32_t n : {90, 360}) {
    TAniMechanism m;
    m.SetPositionCount(n);
    m.Calculate();
    const TFourBar bar{Design(m, 'A'), Design(m, 'B'), Design(m, 'C'), Design(m, 'D'), Design(m, 'E')};
    ASSERT_EQ(m.Len, n);
    EXPECT_EQ(m.FullCycle, 1);
    for (int32_t k = 0; k <= n; ++k) {
      const double crank = 2 * kPi * k / n;
      TPoint b, c, e;
      ASSERT_TRUE(bar.Pose(crank, b, c, e));
      const std::string step = "N " + std::to_string(n) + " step " + std::to_string(k);
      ExpectNear(At(m, 'A', k), bar.A, 0, step + " A");
      ExpectNear(At(m, 'D', k), bar.D, 0, step + " D");
      ExpectNear(At(m, 'B', k), b, kTol, step + " B");
      ExpectNear(At(m, 'C', k), c, kTol, step + " C");
      ExpectNear(At(m, 'E', k), e, kTol, step + " E");
      for (const auto& joint : m.Joints) EXPECT_EQ(joint->Positions[k].Invalid, 0);
      // Link 0 frame, 1 crank AB, 2 coupler BCE, 3 rocker CD.
      EXPECT_NEAR(m.GetLinkValue(k, 0, 0), 0, 0);
      EXPECT_NEAR(m.GetLinkValue(k, 0, 1), crank, kTol) << step;
      EXPECT_NEAR(Wrap(m.GetLinkValue(k, 0, 2) - bar.CouplerTurn(b, c)), 0, kTol) << step;
      EXPECT_NEAR(Wrap(m.GetLinkValue(k, 0, 3) - bar.RockerTurn(c)), 0, kTol) << step;
      const TPoint bc = Sub(c, b), dc = Sub(c, bar.D);
      EXPECT_NEAR(m.GetDyadAngle(k, 0), std::acos(Dot(bc, dc) / (Len(bc) * Len(dc))), 1e-7) << step;
    }
  }
}

TEST(SolveTest, CouplerCentreIsTheMeetingPointOfCrankAndRockerLines) {
  TAniMechanism m;
  ASSERT_EQ(m.Centres.ShownLow(), 0);
  ASSERT_EQ(m.Centres.ShownHigh(), 2);
  int32_t checked = 0;
  for (int32_t k = 0; k <= m.Len; ++k) {
    // Line A + t(B - A) meets line D + u(C - D).
    const TPoint a = At(m, 'A', k), b = At(m, 'B', k), c = At(m, 'C', k), d = At(m, 'D', k);
    const TPoint r = Sub(b, a), s = Sub(c, d);
    const double t = Cross(Sub(d, a), s) / Cross(r, s);
    const TPoint expected = {a.X + t * r.X, a.Y + t * r.Y};
    if (Len(expected) > 1e3) continue;
    const TCentreRecord& centre = m.CentreAt[k];
    EXPECT_EQ(centre.AtInfinity, 0) << k;
    EXPECT_NEAR(centre.X, expected.X, kTol * std::max(1.0, Len(expected))) << k;
    EXPECT_NEAR(centre.Y, expected.Y, kTol * std::max(1.0, Len(expected))) << k;
    ++checked;
  }
  EXPECT_GT(checked, 80);
}

TEST(SolveTest, FullCycleKinematicsOfTheCrankJointAreExactDifferences) {
  TAniMechanism m;
  m.Joint(m.FindJoint('B')).SetAnalyse(true);
  m.Calculate();
  ASSERT_EQ(m.FullCycle, 1);
  const TAniJoint& b = m.Joint(m.FindJoint('B'));
  const double r = Len(Sub(Design(m, 'B'), Design(m, 'A')));
  const double dt = 1.0 / 90, w = 2 * kPi;
  // Central differences of uniform circular motion, also across the seam of a closed cycle.
  const double speed = r * std::sin(w * dt) / dt;
  const double accel = r * std::sin(w * dt) * std::sin(w * dt) / (dt * dt);
  for (int32_t k = 0; k <= 90; ++k) {
    EXPECT_NEAR(b.Speed(k), speed, 1e-9) << k;
    EXPECT_NEAR(b.AccelerationMagnitude(k), accel, 1e-7) << k;
    EXPECT_NEAR(b.PathLength[k], k * 2 * r * std::sin(w * dt / 2), 1e-12) << k;
    EXPECT_NEAR(m.GetJointValue(k, 1, m.FindJoint('B')), speed, 1e-9);
    EXPECT_NEAR(m.GetTime(k), k * dt, 1e-15);
    EXPECT_NEAR(m.GetInputValue(k), w * k * dt, 1e-12);
  }
  for (const auto& joint : m.Joints) {
    if (joint->Velocity.empty()) continue;
    EXPECT_EQ(joint->Velocity[0].X, joint->Velocity[90].X);
    EXPECT_EQ(joint->Velocity[0].Y, joint->Velocity[90].Y);
    EXPECT_EQ(joint->Acceleration[0].X, joint->Acceleration[90].X);
    EXPECT_EQ(joint->Acceleration[0].Y, joint->Acceleration[90].Y);
  }
  // The coupler's angular velocity from the closed-form turns either side of the step; the crank
  // has no kinematics in the preset.
  const TFourBar bar{Design(m, 'A'), Design(m, 'B'), Design(m, 'C'), Design(m, 'D'), Design(m, 'E')};
  TPoint b44, c44, e44, b46, c46, e46;
  ASSERT_TRUE(bar.Pose(w * 44 * dt, b44, c44, e44));
  ASSERT_TRUE(bar.Pose(w * 46 * dt, b46, c46, e46));
  const double omega = Wrap(bar.CouplerTurn(b46, c46) - bar.CouplerTurn(b44, c44)) / (2 * dt);
  EXPECT_NEAR(m.GetLinkValue(45, 1, 2), omega, 1e-6);
  EXPECT_EQ(m.GetLinkValue(45, 1, 1), 0);
  // The tracer E is the last analysed joint and sets the arrow scales.
  EXPECT_EQ(m.VelocityScale, m.Tracer->VelocityScale);
  EXPECT_EQ(m.AccelerationScale, m.Tracer->AccelerationScale);
  // Wraps to 1: step N is step 0 again.
  m.SetFrame(90);
  EXPECT_EQ(m.NextFrame(), 1);
  EXPECT_EQ(m.CurrentStep, 1);
}

// Crank 1 about A = (0, 0), D = (2, 0), coupler 1.6: |BD| grows with the crank turn and passes the
// sum of the coupler and rocker lengths halfway between steps 39 and 40 of 90. Answers C's design
// position for that rocker.
TPoint CouplerJointClosingUpToStep39(double& rocker) {
  const double a = 1.6;
  const double reach = std::sqrt(5 - 4 * std::cos(2 * kPi * 39.5 / 90));
  rocker = reach - a;
  const double cx = (a * a - rocker * rocker + 1) / 2;
  return {1 + cx, std::sqrt(a * a - cx * cx)};
}

TEST(SolveTest, FourBarThatCannotCloseEndsTheRangeAtTheLastClosedStep) {
  double rocker = 0;
  const TPoint c0 = CouplerJointClosingUpToStep39(rocker);
  TAniMechanism m;
  BuildFourBar(m, {0, 0}, {1, 0}, c0, {2, 0});
  ASSERT_NEAR(Len(Sub(c0, {2, 0})), rocker, 1e-12);
  m.SetPositionCount(90);
  m.Calculate();
  EXPECT_EQ(m.Len, 39);
  EXPECT_EQ(m.FullCycle, 0);
  const TFourBar bar{{0, 0}, {1, 0}, c0, {2, 0}, c0};
  for (int32_t k = 0; k <= 40; ++k) {
    TPoint b, c, e;
    const bool closes = bar.Pose(2 * kPi * k / 90, b, c, e);
    EXPECT_EQ(closes, k <= 39) << k;
    if (closes) ExpectNear(At(m, 'C', k), c, kTol, "step " + std::to_string(k));
  }
  // Nothing beyond the range is offered to the graphs, nor a centre of the earlier solution.
  for (int32_t k = 40; k <= 90; ++k) {
    const TCentreRecord& centre = m.CentreAt[static_cast<size_t>(k)];
    EXPECT_TRUE(centre.X == 0 && centre.Y == 0 && centre.AtInfinity == 1) << k;
  }
  EXPECT_NE(m.GetLinkValue(39, 0, 2), 0);
  EXPECT_EQ(m.GetLinkValue(40, 0, 2), 0);
  EXPECT_EQ(m.GetDyadAngle(40, 0), 0);
  // The animation wraps from 39 to 0 and counts a cycle.
  m.SetFrame(60);
  EXPECT_EQ(m.CurrentStep, 39);
  EXPECT_EQ(m.NextFrame(), 1);
  EXPECT_EQ(m.CurrentStep, 0);
  EXPECT_EQ(m.NextFrame(), 1);
  EXPECT_EQ(m.CurrentStep, 1);
  m.ResetFrame();
  EXPECT_EQ(m.CycleCount, 0);
}

// A drag that shortens the solved range while a later step is shown, then the drag taken back:
// meanwhile picking and the getters work on the end of the range, not where an earlier solution
// left the joints, and afterwards the shown step is the one the user chose.
TEST(SolveTest, ShownStepOutlivesASolutionThatShortensTheRange) {
  TAniMechanism m;
  ASSERT_EQ(m.Len, 90);
  m.SetFrame(80);
  const double bx = Design(m, 'B').X;
  // A crank much longer than the dyad's reach leaves the loop open part of the way round.
  m.Joint(m.FindJoint('B')).Positions[0].X = -1.5;
  m.Calculate();
  ASSERT_LT(m.Len, 80);
  EXPECT_EQ(m.CurrentStep, 80);
  EXPECT_EQ(m.ShownStep(), m.Len);
  EXPECT_EQ(m.GetLinkValue(80, 0, 2), 0);
  EXPECT_EQ(m.GetTracerVector(80, 0).X, 0);
  const TPoint c = At(m, 'C', m.Len);
  EXPECT_TRUE(m.HitJoint(shared::TComplex(c.X, c.Y), false, false, 1e-9));
  EXPECT_TRUE(m.Joint(m.FindJoint('C')).Selected);

  m.Joint(m.FindJoint('B')).Positions[0].X = bx;
  m.Calculate();
  ASSERT_EQ(m.Len, 90);
  EXPECT_EQ(m.CurrentStep, 80);
  EXPECT_EQ(m.ShownStep(), 80);
  const TPoint c80 = At(m, 'C', 80);
  EXPECT_TRUE(m.HitJoint(shared::TComplex(c80.X, c80.Y), false, false, 1e-9));
  EXPECT_TRUE(m.Joint(m.FindJoint('C')).Selected);
}

// Storing the last solved step makes the edge of the range the design position: not even step 1
// closes. The coupler joint is still part of the linkage and keeps its switches.
TEST(SolveTest, RangeEndingBeforeStepOneKeepsTheDyadJointsSwitches) {
  double rocker = 0;
  const TPoint c0 = CouplerJointClosingUpToStep39(rocker);
  TAniMechanism m;
  BuildFourBar(m, {0, 0}, {1, 0}, c0, {2, 0});
  TAniJoint& c = m.Joint(m.FindJoint('C'));
  c.SetShowVectors(true);
  m.Calculate();
  ASSERT_EQ(m.Len, 39);
  m.SetFrame(39);
  m.FrameToDesign();
  ASSERT_EQ(m.Len, 0);
  EXPECT_EQ(c.Trace, 1);
  EXPECT_EQ(c.Analyse, 1);
  EXPECT_EQ(c.ShowVectors, 1);
  EXPECT_TRUE(c.Placed);
  ExpectNear(At(m, 'C', 45), Design(m, 'C'), 0, "C stands at its design position");
  // Turned back into its range, the linkage moves and traces again.
  m.SetJointPosition('B', false, 1, 0);
  m.SetJointPosition('C', false, c0.X, c0.Y);
  m.Calculate();
  EXPECT_EQ(m.Len, 39);
  EXPECT_EQ(c.Trace, 1);
}

// Over a full periodic cycle step N is step 0 again, so the coupler's angular velocity and
// acceleration at both ends are central differences across the seam, as the joints' are. Checked
// against central differences of the closed-form coupler turn, which runs on past either end.
TEST(SolveTest, LinkRatesAtTheEndsOfAFullCycleReachAcrossTheSeam) {
  TAniMechanism m;
  m.Calculate();
  ASSERT_EQ(m.FullCycle, 1);
  const TFourBar bar{Design(m, 'A'), Design(m, 'B'), Design(m, 'C'), Design(m, 'D'), Design(m, 'E')};
  const int32_t n = 90;
  const double dt = 1.0 / n;
  const auto turn = [&](int32_t k) {
    TPoint b, c, e;
    EXPECT_TRUE(bar.Pose(2 * kPi * k / n, b, c, e));
    return bar.CouplerTurn(b, c);
  };
  const auto omega = [&](int32_t k) { return Wrap(turn(k + 1) - turn(k - 1)) / (2 * dt); };
  const auto alpha = [&](int32_t k) { return (omega(k + 1) - omega(k - 1)) / (2 * dt); };
  // Link 2 is the coupler BCE.
  for (int32_t k = 0; k <= n; ++k) {
    EXPECT_NEAR(m.GetLinkValue(k, 1, 2), omega(k), 1e-6) << k;
    EXPECT_NEAR(m.GetLinkValue(k, 2, 2), alpha(k), 1e-4) << k;
  }
  EXPECT_EQ(m.GetLinkValue(0, 1, 2), m.GetLinkValue(n, 1, 2));
  EXPECT_EQ(m.GetLinkValue(0, 2, 2), m.GetLinkValue(n, 2, 2));
}

// Outside a full cycle the rates at the ends of the range stay one-sided: a range cut short by a
// dead point, and a whole range of an input that turns half way round (not periodic).
TEST(SolveTest, LinkRatesOutsideAFullCycleStayOneSided) {
  double rocker = 0;
  const TPoint c0 = CouplerJointClosingUpToStep39(rocker);
  TAniMechanism shortRange;
  BuildFourBar(shortRange, {0, 0}, {1, 0}, c0, {2, 0});
  TAniMechanism halfTurn;
  halfTurn.Input(0).Section(0)->SetValues(kLawConstantVelocity, 1, kPi);
  halfTurn.Input(0).Prepare();
  for (TAniMechanism* m : {&shortRange, &halfTurn}) {
    m->Calculate();
    ASSERT_EQ(m->FullCycle, 0);
    const int32_t len = m->Len, link = 2;
    const double dt = m->Input(0).TimeStep();
    const auto angle = [&](int32_t k) { return m->GetLinkValue(k, 0, link); };
    const auto omega = [&](int32_t k) { return m->GetLinkValue(k, 1, link); };
    SCOPED_TRACE(len);
    EXPECT_NEAR(omega(0), (angle(1) - angle(0)) / dt, 1e-9);
    EXPECT_NEAR(omega(len), (angle(len) - angle(len - 1)) / dt, 1e-9);
    EXPECT_NEAR(m->GetLinkValue(0, 2, link), (omega(1) - omega(0)) / dt, 1e-6);
    EXPECT_NEAR(m->GetLinkValue(len, 2, link), (omega(len) - omega(len - 1)) / dt, 1e-6);
  }
  EXPECT_EQ(shortRange.Len, 39);
  EXPECT_EQ(halfTurn.Len, 90);
}

// The last of N steps that lies before a dead point reached a fraction of a turn of the crank
// from the design pose: where the solved range must end at every step count.
int32_t LastStepBefore(double fraction, int32_t n) {
  return static_cast<int32_t>(std::ceil(fraction * n)) - 1;
}

// The joint at distance a from p and b from q, on the left of p -> q.
TPoint LeftApex(TPoint p, TPoint q, double a, double b) {
  const TPoint pq = Sub(q, p);
  const double c = Len(pq);
  const double x = (a * a - b * b + c * c) / (2 * c), y = std::sqrt(a * a - x * x);
  return {p.X + (x * pq.X - y * pq.Y) / c, p.Y + (x * pq.Y + y * pq.X) / c};
}

// Crank 0.1 from A = (0, 0) at 2 degrees, D = (0.5, 0), coupler 0.35 with C above BD, rocker
// 0.2499873: coupler and rocker stretch straight at crank angles of about 179 and 181 degrees and
// cannot pass between them. At 90 steps both steps beside the gap (178 and 182 degrees) close.
TEST(SolveTest, DeadPointBetweenTwoStepsEndsTheRangeAtEveryStepCount) {
  const double coupler = 0.35, rocker = 0.2499873, design = 2 * kPi / 180;
  const TPoint a{0, 0}, b0{0.1 * std::cos(design), 0.1 * std::sin(design)}, d{0.5, 0};
  const TPoint c0 = LeftApex(b0, d, coupler, rocker);
  // |BD|^2 = 0.26 - 0.1 cos(crank) reaches (coupler + rocker)^2 first at this crank angle.
  const double reach = coupler + rocker;
  const double dead = std::acos((0.26 - reach * reach) / 0.1);
  const double fraction = (dead - design) / (2 * kPi);
  ASSERT_EQ(LastStepBefore(fraction, 90), 44);
  ASSERT_EQ(LastStepBefore(fraction, 720), 353);
  const TFourBar bar{a, b0, c0, d, c0};
  TPoint b, c, e;
  ASSERT_TRUE(bar.Pose(2 * kPi * 44 / 90, b, c, e));
  ASSERT_TRUE(bar.Pose(2 * kPi * 45 / 90, b, c, e)) << "the gap lies between two steps that close";
  ASSERT_FALSE(bar.Pose(kPi - design, b, c, e));
  for (const int32_t n : {90, 91, 360, 720}) {
    TAniMechanism m;
    BuildFourBar(m, a, b0, c0, d);
    m.SetPositionCount(n);
    m.Calculate();
    EXPECT_EQ(m.Len, LastStepBefore(fraction, n)) << n;
    EXPECT_EQ(m.FullCycle, 0) << n;
    // Every solved step is the closed-form pose on the branch the linkage starts on.
    for (int32_t k = 0; k <= m.Len; ++k) {
      ASSERT_TRUE(bar.Pose(2 * kPi * k / n, b, c, e));
      ExpectNear(At(m, 'C', k), c, kTol, "N " + std::to_string(n) + " step " + std::to_string(k));
    }
  }
}

// The same four-bar with coupler and rocker together 6 nm short of the farthest |BD| (0.6 m, at
// 180 degrees): its gap is a hundredth of a degree wide, narrower than a step's cubic can show,
// and still ends the range; 6 nm longer, the linkage turns its full cycle at every step count.
TEST(SolveTest, DeadPointByAHairEndsTheRangeAndAHairClearDoesNot) {
  const double coupler = 0.35, design = 2 * kPi / 180;
  const TPoint a{0, 0}, b0{0.1 * std::cos(design), 0.1 * std::sin(design)}, d{0.5, 0};
  for (const double hair : {-6e-9, 6e-9}) {
    const double rocker = 0.25 + hair;
    const TPoint c0 = LeftApex(b0, d, coupler, rocker);
    const double reach = coupler + rocker;
    const double fraction = hair < 0 ? (std::acos((0.26 - reach * reach) / 0.1) - design) / (2 * kPi) : 1;
    for (const int32_t n : {90, 91, 360, 720}) {
      TAniMechanism m;
      BuildFourBar(m, a, b0, c0, d);
      m.SetPositionCount(n);
      m.Calculate();
      SCOPED_TRACE(testing::Message() << "N " << n << " hair " << hair);
      if (hair < 0) {
        EXPECT_EQ(m.Len, LastStepBefore(fraction, n));
        EXPECT_EQ(m.FullCycle, 0);
      } else {
        EXPECT_EQ(m.Len, n);
        EXPECT_EQ(m.FullCycle, 1);
      }
    }
  }
}

// Crank 0.1 about A = (0, 0) starting at 0 degrees; the coupler BC slides its joint C on the line
// y = 0.2 (the block D keeps its offset below C). C stays within reach while B is less than the
// coupler length from that line, i.e. while 0.2 - 0.1 sin(crank) < 0.2 + 0.1 cos(1.3 degrees):
// the coupler stands straight across the line at 268.7 degrees, and again at 271.3. At 90 steps
// the crank passes from 268 to 272 degrees without a step in between.
TEST(SolveTest, SlidingDyadEndsAtADeadPointBetweenTwoSteps) {
  const double r = 0.1, height = 0.2, half = 1.3 * kPi / 180;
  const double coupler = height + r * std::cos(half);
  const TPoint b0{r, 0};
  const TPoint c0{b0.X + std::sqrt(coupler * coupler - height * height), height};
  const double fraction = (1.5 * kPi - half) / (2 * kPi);
  const auto closes = [&](double crank) { return std::fabs(r * std::sin(crank) - height) < coupler; };
  ASSERT_TRUE(closes(2 * kPi * 67 / 90) && closes(2 * kPi * 68 / 90));
  ASSERT_FALSE(closes(1.5 * kPi));
  for (const int32_t n : {90, 91, 360, 720}) {
    TAniMechanism m;
    m.NewMechanism(8);
    m.AddJoint('A', false, 0, 0, false, false);
    m.AddJoint('B', false, b0.X, b0.Y, false, false);
    m.AddJoint('C', true, c0.X, c0.Y, true, false);
    m.AddJoint('D', false, c0.X, c0.Y - 0.1, false, false);
    m.AddInput('A');
    m.AddLink("AD", "PS", false, true);
    m.AddLink("AB", "PP", false, false);
    m.AddLink("BC", "PP", true, true);
    m.AddLink("CD", "PS", false, false);
    m.AddDyad("BC", "CD");
    m.RebuildTopology();
    m.SetPositionCount(n);
    m.Calculate();
    EXPECT_EQ(m.Len, LastStepBefore(fraction, n)) << n;
    EXPECT_EQ(m.FullCycle, 0) << n;
    for (int32_t k = 0; k <= m.Len; k += 5) {
      const double crank = 2 * kPi * k / n;
      const TPoint b{r * std::cos(crank), r * std::sin(crank)};
      const double dy = height - b.Y;
      ExpectNear(At(m, 'C', k), {b.X + std::sqrt(coupler * coupler - dy * dy), height}, kTol,
                 "N " + std::to_string(n) + " step " + std::to_string(k));
    }
  }
}

// A Watt six-bar: the four-bar A B C D drives the rocker CDE, whose joint E is the moving base of
// the second dyad EF-FG (G on the frame). The second dyad's links are made a hair shorter than the
// farthest E gets from G, so it jams in a gap a fraction of a degree wide; the design pose is
// turned so that the gap lies midway between steps 30 and 31 of 90. The gap is found here from
// the closed-form poses of the first four-bar.
TEST(SolveTest, ChainedDyadEndsAtADeadPointBetweenTwoSteps) {
  const TPoint a{-0.4, -0.25}, b{-0.4, -0.115}, c{0.2, -0.1}, d{0.2, -0.4}, e{0.3, 0}, g{0.5, -0.5};
  const TFourBar first{a, b, c, d, c};
  const auto jointE = [&](double crank) {
    TPoint pb, pc, pe;
    EXPECT_TRUE(first.Pose(crank, pb, pc, pe));
    return Add(d, Turn(Sub(e, d), first.RockerTurn(pc)));
  };
  const auto reachOf = [&](double crank) { return Len(Sub(g, jointE(crank))); };
  // The farthest E gets from G, by a scan and golden-section refinement.
  double peak = 0;
  for (int32_t k = 0; k < 3600; ++k)
    if (reachOf(2 * kPi * k / 3600) > reachOf(peak)) peak = 2 * kPi * k / 3600;
  double lo = peak - 2 * kPi / 3600, hi = peak + 2 * kPi / 3600;
  const double golden = (std::sqrt(5.0) - 1) / 2;
  while (hi - lo > 1e-12) {
    const double p = hi - golden * (hi - lo), q = lo + golden * (hi - lo);
    if (reachOf(p) > reachOf(q))
      hi = q;
    else
      lo = p;
  }
  peak = (lo + hi) / 2;
  const double reach = reachOf(peak) * (1 - 2e-6);
  // Where the gap opens: bisection on the rising side of the peak.
  const auto firstBeyond = [&](double from, double to) {
    for (int32_t i = 0; i < 100; ++i) {
      const double mid = (from + to) / 2;
      if (reachOf(mid) >= reach)
        to = mid;
      else
        from = mid;
    }
    return to;
  };
  const double opens = firstBeyond(peak - 0.5, peak);
  const double closes = firstBeyond(peak + 0.5, peak);
  ASSERT_LT(closes - opens, 2 * kPi / 90 / 2);
  // The design pose: the crank turned so that the gap's middle lies at step 30.5 of 90.
  const double start = peak - 2 * kPi * 30.5 / 90;
  TPoint b0, c0, unused;
  ASSERT_TRUE(first.Pose(start, b0, c0, unused));
  const TPoint e0 = jointE(start);
  const double ef = 0.2;
  const TPoint f0 = LeftApex(e0, g, ef, reach - ef);
  double fraction = (opens - start) / (2 * kPi);
  fraction -= std::floor(fraction);
  ASSERT_EQ(LastStepBefore(fraction, 90), 30);
  for (const int32_t n : {90, 91, 360, 720}) {
    TAniMechanism m;
    m.NewMechanism(8);
    const std::pair<char, TPoint> joints[] = {{'A', a},  {'B', b0}, {'C', c0}, {'D', d},
                                              {'E', e0}, {'F', f0}, {'G', g}};
    for (const auto& [letter, at] : joints)
      m.AddJoint(letter, letter == 'F', at.X, at.Y, letter == 'F', false);
    m.AddInput('A');
    m.AddLink("ADG", "PPP", false, true);
    m.AddLink("AB", "PP", false, false);
    m.AddLink("BC", "PP", false, false);
    m.AddLink("CDE", "PPP", false, false);
    m.AddLink("EF", "PP", false, false);
    m.AddLink("FG", "PP", true, true);
    m.AddDyad("BC", "CDE");
    m.AddDyad("EF", "FG");
    m.RebuildTopology();
    m.SetPositionCount(n);
    m.Calculate();
    EXPECT_EQ(m.Len, LastStepBefore(fraction, n)) << n;
    EXPECT_EQ(m.FullCycle, 0) << n;
    for (int32_t k = 0; k <= m.Len; k += 3)
      ExpectNear(At(m, 'E', k), jointE(start + 2 * kPi * k / n), kTol, "E at " + std::to_string(k));
  }
}

TEST(SolveTest, EveryPresetLinkageSolvesItsFullCycleWithRigidLinks) {
  TAniMechanism m;
  for (const int32_t type : {0, 1, 2, 3, 5, 6, 7, 9, 10, 11, 12, 13}) {
    for (const int32_t n : {90, 91, 360, 720}) {
      m.NewMechanism(type);
      m.SetPositionCount(n);
      m.Calculate();
      const std::string what = m.PresetName + " N " + std::to_string(n);
      ASSERT_EQ(m.Len, n) << what;
      EXPECT_EQ(m.FullCycle, 1) << what;
      int32_t moving = 0;
      for (const auto& joint : m.Joints) {
        EXPECT_TRUE(joint->Placed) << what;
        moving += std::hypot(joint->Positions[n / 3].X - joint->Positions[0].X,
                             joint->Positions[n / 3].Y - joint->Positions[0].Y) > 1e-3;
      }
      EXPECT_GE(moving, 1) << what;
      // Every moving body keeps the distances between its joints (the frame may hold a slide block).
      for (int32_t l = 1; l < m.LinkCount(); ++l) {
        const TAniLink& link = m.Link(l);
        for (int32_t p = 0; p < link.JointCount; ++p) {
          for (int32_t q = p + 1; q < link.JointCount; ++q) {
            const TAniJoint& jp = m.Joint(link.JointIndex[p]);
            const TAniJoint& jq = m.Joint(link.JointIndex[q]);
            auto dist = [&](int32_t k) {
              return std::hypot(jp.Positions[k].X - jq.Positions[k].X, jp.Positions[k].Y - jq.Positions[k].Y);
            };
            for (int32_t k = 1; k <= n; k += 7)
              EXPECT_NEAR(dist(k), dist(0), 1e-9) << what << " " << link.Name;
          }
        }
      }
    }
  }
}

TEST(SolveTest, SliderBlockTranslatesAcrossItsLinkAndTheCouplerStaysRigid) {
  TAniMechanism m;
  m.NewMechanism(7);
  m.SetPositionCount(120);
  m.Calculate();
  ASSERT_EQ(m.Len, 120);
  const TPoint c0 = Design(m, 'C'), d0 = Design(m, 'D');
  const TPoint cd = Sub(d0, c0);
  double travel = 0;
  for (int32_t k = 0; k <= 120; ++k) {
    const TPoint c = At(m, 'C', k), d = At(m, 'D', k);
    // The second link keeps its direction; its slider moves on the line through its design
    // position across that direction.
    ExpectNear(Sub(d, c), cd, 1e-12, "CD at " + std::to_string(k));
    EXPECT_NEAR(Dot(Sub(d, d0), cd), 0, 1e-12) << k;
    EXPECT_NEAR(Len(Sub(At(m, 'C', k), At(m, 'B', k))), Len(Sub(c0, Design(m, 'B'))), 1e-12);
    EXPECT_NEAR(Len(Sub(At(m, 'B', k), At(m, 'A', k))), Len(Sub(Design(m, 'B'), Design(m, 'A'))), 1e-12);
    travel = std::max(travel, Len(Sub(d, d0)));
    EXPECT_EQ(m.GetLinkValue(k, 0, 4), 0);  // CD never turns
  }
  EXPECT_GT(travel, 0.01);
}

TEST(SolveTest, FrameToDesignStartsTheCycleAtTheShownStep) {
  TAniMechanism m;
  const TPoint b10 = At(m, 'B', 10), e25 = At(m, 'E', 25);
  m.SetFrame(10);
  m.FrameToDesign();
  EXPECT_EQ(m.CurrentStep, 0);
  ExpectNear(Design(m, 'B'), b10, 0, "design B");
  EXPECT_EQ(m.Len, 90);
  ExpectNear(At(m, 'E', 15), e25, 1e-9, "E a period later");
}

TEST(SolveTest, ObviousFaultsAreSkippedNotFollowed) {
  TAniMechanism plain;
  // F only on the frame and G on no link are both driven; X names no joint of the coupler, Z none
  // of the frame; a dyad names a link that does not exist.
  TAniMechanism m;
  m.NewMechanism(0);
  m.AddJoint('F', false, 1, 1, false, false);
  m.AddJoint('G', true, 2, 2, true, true);
  m.AddInput('F');
  m.AddInput('G');
  m.Link(0).SetName("ADFZ");
  m.Link(2).SetName("BCEX");
  m.Link(2).SetKinds("PPPP");
  m.AddDyad("QR", "CD");
  m.RebuildTopology();
  ASSERT_EQ(m.Joint(m.FindJoint('F')).Link1, 0);
  ASSERT_EQ(m.Joint(m.FindJoint('F')).Link2, -1);
  ASSERT_EQ(m.Joint(m.FindJoint('G')).Link1, -1);
  m.Calculate();
  ASSERT_EQ(m.Len, 90);
  for (const char letter : std::string("ABCDE")) {
    for (int32_t k = 0; k <= 90; k += 5) ExpectNear(At(m, letter, k), At(plain, letter, k), 1e-12, {letter});
  }
  // The joint on no link stays at its design position with trace and analysis switched off.
  const TAniJoint& g = m.Joint(m.FindJoint('G'));
  EXPECT_TRUE(g.Placed);
  EXPECT_EQ(g.Trace, 0);
  EXPECT_EQ(g.Analyse, 0);
  EXPECT_EQ(g.ShowVectors, 0);
  ExpectNear(At(m, 'G', 45), {2, 2}, 0, "G");
}

TEST(SolveTest, WithoutInputFunctionsNothingMovesAndTheTimeGettersAnswerZero) {
  TAniMechanism m;
  ASSERT_NE(m.Tracer->Velocity[5].X, 0);
  m.SetInputCount(0);
  m.Calculate();
  EXPECT_EQ(m.Len, 90);
  EXPECT_EQ(m.FullCycle, 0);
  ExpectNear(At(m, 'E', 30), Design(m, 'E'), 0, "E stays");
  // Nothing drives the crank, so every joint is static and carries no velocities.
  EXPECT_TRUE(m.Tracer->Velocity.empty());
  for (const int32_t step : {0, 1, 45, 90}) {
    EXPECT_EQ(m.GetTime(step), 0);
    EXPECT_EQ(m.GetInputValue(step), 0);
    EXPECT_EQ(m.GetLinkValue(step, 1, 2), 0);
    EXPECT_EQ(m.GetLinkValue(step, 2, 2), 0);
  }
}

TEST(SolveTest, PositionCountBelowOneIsRefused) {
  TAniMechanism m;
  for (const int32_t n : {0, -1, -90}) {
    m.SetPositionCount(n);
    EXPECT_EQ(m.N, 90);
    EXPECT_EQ(m.CentreAt.size(), 91u);
    EXPECT_EQ(m.Joint(0).Positions.size(), 91u);
  }
  m.SetPositionCount(1);
  m.Calculate();
  EXPECT_EQ(m.N, 1);
  EXPECT_EQ(m.Len, 1);
}

TEST(SolveTest, GettersAnswerZeroOutsideTheSolvedRangeAndForUnknownItems) {
  TAniMechanism m;
  for (const int32_t step : {-1, 91, 1000}) {
    EXPECT_EQ(m.GetDyadAngle(step, 0), 0);
    EXPECT_EQ(m.GetLinkValue(step, 0, 1), 0);
    EXPECT_EQ(m.GetJointValue(step, 0, 4), 0);
    EXPECT_EQ(m.GetTracerVector(step, 0).X, 0);
    EXPECT_EQ(m.GetPathError(step), 0);
    EXPECT_EQ(m.GetTime(step), 0);
    EXPECT_EQ(m.GetInputValue(step), 0);
  }
  EXPECT_EQ(m.GetDyadAngle(10, 1), 0);
  EXPECT_EQ(m.GetDyadAngle(10, -1), 0);
  EXPECT_EQ(m.GetLinkValue(10, 3, 1), 0);
  EXPECT_EQ(m.GetLinkValue(10, 0, 4), 0);
  EXPECT_EQ(m.GetJointValue(10, 0, 5), 0);
  EXPECT_EQ(m.GetJointValue(10, 1, 0), 0);  // A is not analysed
  EXPECT_EQ(m.GetJointValue(10, 3, 4), 0);
  EXPECT_GT(m.GetJointValue(10, 0, 4), 0);
  EXPECT_GT(m.GetJointValue(10, 2, 4), 0);
  const TPositionRecord e = m.GetTracerVector(10, 0);
  ExpectNear({e.X, e.Y}, At(m, 'E', 10), 0, "tracer position");
  EXPECT_EQ(m.GetTracerVector(10, 1).X, m.Tracer->Velocity[10].X);
  EXPECT_EQ(m.GetTracerVector(10, 2).Y, m.Tracer->Acceleration[10].Y);
  EXPECT_EQ(m.GetTracerVector(10, 3).X, 0);
  m.Tracer = nullptr;
  EXPECT_EQ(m.GetTracerVector(10, 0).X, 0);
  EXPECT_FALSE(m.CanFitCurve());
  EXPECT_FALSE(m.IsFeasible());
}

TEST(SolveTest, RotationErrorClampsTheArcsine) {
  // The cross product of these unit vectors rounds to 1.0000000000000002 in the C library; volatile
  // keeps a compiler from folding it with its own sine and cosine, which give exactly 1.
  volatile double start = 0.0002;
  const double u = start, w = start + kPi / 2;
  ASSERT_GT(std::cos(u) * std::sin(w) - std::sin(u) * std::cos(w), 1.0);
  EXPECT_DOUBLE_EQ(RotationError(u, w), kPi / 2);
  EXPECT_DOUBLE_EQ(RotationError(w, u), kPi / 2);
  EXPECT_NEAR(RotationError(0.3, 0.1), 0.2, 1e-15);
  EXPECT_NEAR(RotationError(0.1, 0.1 + kPi - 0.25), 0.25, 1e-14);
  EXPECT_NEAR(RotationDistance2(0, kPi), 4, 1e-15);
}

// The largest distance of a curve from a path: the curve's farthest point from its nearest piece
// of the path, wherever along the path that piece lies.
TEST(SolveTest, CurveToPathDistanceIsTheFarthestCurvePointFromThePath) {
  const auto line = [](double x0, double y0, double x1, double y1) {
    TSpline curve;
    curve.Point(curve.NewPoint()).SetXY(x0, y0);
    curve.Point(curve.NewPoint()).SetXY(x1, y1);
    curve.Rebuild();
    return curve;
  };
  const auto circle = [](int32_t pieces) {
    std::vector<TPositionRecord> path;
    for (int32_t k = 0; k <= pieces; ++k)
      path.push_back({std::cos(2 * kPi * k / pieces), std::sin(2 * kPi * k / pieces), 0});
    return path;
  };
  std::vector<TPositionRecord> shifted;
  for (int32_t k = 0; k <= 10; ++k) shifted.push_back({0.2 + 0.1 * k, 0.1, 0});
  std::vector<TPositionRecord> legs;
  for (int32_t k = 0; k < 10; ++k) legs.push_back({0.1 * k, 0, 0});
  for (int32_t k = 0; k < 10; ++k) legs.push_back({1, 0.1 * k, 0});
  for (int32_t k = 0; k <= 10; ++k) legs.push_back({1 - 0.1 * k, 1, 0});
  struct TCase {
    const char* what;
    TSpline curve;
    std::vector<TPositionRecord> path;
    double distance;
  };
  const TCase cases[] = {
      // Every point 0.1 above the path but the start, which lies before the path's start.
      {"shifted line", line(0, 0, 1, 0), shifted, std::sqrt(0.05)},
      // The middle of a chord across a circle of 360 pieces is farthest: the apothem away.
      {"chord of a circle", line(-0.5, 0, 0.5, 0), circle(360), std::cos(kPi / 360)},
      // A path that does not move: the curve's far end.
      {"one position", line(0, 0, 3, 4), {{0, 0, 0}}, 5},
      // 0.1 below the last of three legs: along y = 0, up x = 1 and back along y = 1.
      {"last leg", line(0, 0.9, 1, 0.9), legs, 0.1},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<shared::TComplex> points = DistancePoints(c.curve);
    const int32_t last = static_cast<int32_t>(c.path.size()) - 1;
    EXPECT_NEAR(CurveToPathDistance(points, c.path.data(), last), c.distance, 1e-12);
    EXPECT_TRUE(CurveWithin(points, c.path.data(), last, c.distance + 1e-9));
    EXPECT_FALSE(CurveWithin(points, c.path.data(), last, c.distance - 1e-9));
  }
  TSpline single;
  single.Point(single.NewPoint()).SetXY(1, 1);
  EXPECT_TRUE(DistancePoints(single).empty());
  EXPECT_EQ(CurveToPathDistance({}, shifted.data(), 10), 0);
}

// The crank joint B of the "Custom" preset (A = (0, -0.2), B = (0, 0)) leaves along -x; the target
// is the straight segment (0, 0) -> (-1, 0), whose output rotation grows to 1 rad and input
// rotation to 0.5 rad along it.
class SolveCurveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m.NewMechanism(13);
    m.SetTracer(m.FindJoint('B'));
    AddCurvePoint(0, 0, 0, 0);
    AddCurvePoint(-1, 0, 1.0, 0.5);
    m.Curve.OutEnabled = m.Curve.InEnabled = true;
    m.Curve.OutWeight = 2;
    m.Curve.InWeight = 3;
    m.Curve.Rebuild();
    m.Calculate();
  }
  void AddCurvePoint(double x, double y, double out, double in) {
    shared::TPrePoint& p = m.Curve.Point(m.Curve.NewPoint());
    p.SetXY(x, y);
    p.Out = out;
    p.In = in;
  }
  // Crank turn and tracer position at step k of 90.
  static double Turn(int32_t k) { return 2 * kPi * k / 90; }
  static TPoint Tracer(int32_t k) { return {-0.2 * std::sin(Turn(k)), -0.2 + 0.2 * std::cos(Turn(k))}; }

  TAniMechanism m;
};

TEST_F(SolveCurveTest, DeviationFiguresFollowTheTracerAlongTheCurve) {
  ASSERT_TRUE(m.CanFitCurve());
  const double length = m.Curve.Length;
  ASSERT_NEAR(length, 1, 1e-12);
  const double chord = 0.4 * std::sin(kPi / 90);
  double maxDeviation = 0, integral = 0, maxOut = 0, maxIn = 0, outProduct = 1, inProduct = 1;
  int32_t last = -1;
  for (int32_t k = 0; k <= 90; ++k) {
    const double s = k * chord;
    if (s > length) break;
    last = k;
    const double f = s / length;
    const TPoint q = {-f, 0};
    const double d = Len(Sub(q, Tracer(k)));
    EXPECT_NEAR(m.GetPathError(k), d, 1e-12) << k;
    const double outError = std::fabs(std::asin(std::sin(f * 1.0 - Turn(k))));
    const double inError = std::fabs(std::asin(std::sin(f * 0.5 - Turn(k))));
    EXPECT_NEAR(m.Deviation[k].OutputError, outError, 1e-9) << k;
    EXPECT_NEAR(m.GetRotationError(k), outError, 1e-9) << k;
    EXPECT_NEAR(m.Deviation[k].InputError, inError, 1e-9) << k;
    maxDeviation = std::max(maxDeviation, d);
    maxOut = std::max(maxOut, outError);
    maxIn = std::max(maxIn, inError);
    // Each factor counts for the 90 · chord / length steps' worth of curve it stands for.
    if (k > 0) {
      integral += chord * d;
      outProduct *= std::pow(3 - 2 * std::cos(f * 1.0 - Turn(k)), 90 * chord / length);
      inProduct *= std::pow(3 - 2 * std::cos(f * 0.5 - Turn(k)), 90 * chord / length);
    }
  }
  // The tracer's path (0.4π) is longer than the curve, so the deviation stops where the curve ends.
  ASSERT_EQ(last, static_cast<int32_t>(1 / chord));
  for (int32_t k = last + 1; k <= 90; ++k) {
    EXPECT_EQ(m.GetPathError(k), 0) << k;
    EXPECT_EQ(m.Deviation[k].OutputError, 0) << k;
  }
  // The rest of the curve, up to its end at (-1, 0) where the rotations reach 1 and 0.5, is
  // judged where the tracer passes it on the chord to the next step, the crank turned as far.
  const double rest = length - last * chord;
  ASSERT_GT(rest, 0);
  const TPoint from = Tracer(last), to = Tracer(last + 1);
  const double t = rest / chord;
  const double end = Len(Sub({-1, 0}, {from.X + t * (to.X - from.X), from.Y + t * (to.Y - from.Y)}));
  integral += rest * end;
  maxDeviation = std::max(maxDeviation, end);
  const double turn = Turn(last) + t * (Turn(last + 1) - Turn(last));
  maxOut = std::max(maxOut, std::fabs(std::asin(std::sin(1.0 - turn))));
  maxIn = std::max(maxIn, std::fabs(std::asin(std::sin(0.5 - turn))));
  outProduct *= std::pow(3 - 2 * std::cos(1.0 - turn), 90 * rest / length);
  inProduct *= std::pow(3 - 2 * std::cos(0.5 - turn), 90 * rest / length);
  EXPECT_NEAR(m.MaxDeviation, maxDeviation, 1e-12);
  EXPECT_NEAR(m.Integral, integral, 1e-12);
  EXPECT_NEAR(m.MaxOutputError, maxOut, 1e-9);
  EXPECT_NEAR(m.MaxInputError, maxIn, 1e-9);
  EXPECT_NEAR(m.OutputProduct, outProduct / 2, 1e-9 * outProduct);
  EXPECT_NEAR(m.InputProduct, inProduct / 2, 1e-9 * inProduct);
  EXPECT_NEAR(m.CombinedError(), integral * 2 * outProduct / 2 * 3 * inProduct / 2, 1e-9 * m.CombinedError());
}

// The crank turned twice in the same 90 steps runs the curve in half of them: the rotation
// products still count the curve's length, not the steps it took, so they stay as they were
// (up to the coarser steps), and so does the integral. A product over the steps taken would
// drop to about its square root.
TEST_F(SolveCurveTest, RotationProductsDoNotDependOnHowFastTheTracerRunsTheCurve) {
  const double slowOut = std::log(2 * m.OutputProduct), slowIn = std::log(2 * m.InputProduct);
  const double slowIntegral = m.Integral;
  ASSERT_GT(slowOut, 1);
  ASSERT_GT(slowIn, 1);
  m.Input(0).Clear();
  m.Input(0).AddSection(kLawConstantVelocity, 1, 4 * kPi);
  m.RetimeInputs();
  m.Calculate();
  ASSERT_NEAR(m.Tracer->PathLength[45], 0.4 * kPi, 0.01);
  EXPECT_NEAR(std::log(2 * m.OutputProduct), slowOut, 0.05 * slowOut);
  EXPECT_NEAR(std::log(2 * m.InputProduct), slowIn, 0.05 * slowIn);
  EXPECT_NEAR(m.Integral, slowIntegral, 0.05 * slowIntegral);
}

// Three steps a cycle: the tracer's first step (a chord of 0.2·√3) already runs past a curve of
// 0.3. Judged on step 0 alone, where it starts on the curve, the design would fit perfectly.
TEST_F(SolveCurveTest, CurvePassedInOneStepIsMeasuredToItsEnd) {
  m.Curve.Point(1).SetXY(-0.3, 0);
  m.Curve.Rebuild();
  m.SetPositionCount(3);
  m.Calculate();
  ASSERT_TRUE(m.IsFeasible());
  const double chord = 0.2 * std::sqrt(3.0);
  ASSERT_NEAR(m.Tracer->PathLength[1], chord, 1e-12);
  const double t = 0.3 / chord;
  const TPoint b1 = {-0.2 * std::sin(2 * kPi / 3), -0.2 + 0.2 * std::cos(2 * kPi / 3)};
  const double end = Len(Sub({-0.3, 0}, {t * b1.X, t * b1.Y}));
  EXPECT_NEAR(m.Integral, 0.3 * end, 1e-12);
  EXPECT_NEAR(m.MaxDeviation, end, 1e-12);
  EXPECT_EQ(m.GetPathError(0), 0);
  EXPECT_EQ(m.GetPathError(1), 0) << "step 1 lies past the curve";
  EXPECT_GT(m.CombinedError(), 0);
}

TEST_F(SolveCurveTest, OutputWeightZeroLeavesTheOutputErrorsOut) {
  const double inputPart = 3 * m.InputProduct;
  m.Curve.OutWeight = 0;
  m.Calculate();
  EXPECT_EQ(m.MaxOutputError, 0);
  for (int32_t k = 0; k <= 90; ++k) {
    EXPECT_EQ(m.Deviation[k].OutputError, 0);
    EXPECT_EQ(m.GetRotationError(k), 0);
  }
  EXPECT_EQ(m.OutputProduct, 0.5);
  EXPECT_NEAR(m.CombinedError(), m.Integral * inputPart, 1e-15);
  m.Curve.InWeight = 0;
  m.Curve.PosWeight = 0;
  m.Calculate();
  EXPECT_EQ(m.CombinedError(), 1.0);
}

TEST_F(SolveCurveTest, FeasibleWhileTheCurveFitsTheTracerPathAndTheAreasHoldTheJoints) {
  EXPECT_TRUE(m.IsFeasible());
  m.Areas.AddArea({-1, -1}, {1, 1});
  EXPECT_TRUE(m.IsFeasible());
  m.Areas.Item(0).SetLetters("A");
  EXPECT_FALSE(m.IsFeasible());
  m.Areas.AddArea({-0.1, -0.1}, {0.1, 0.1});
  m.Areas.Item(1).SetLetters("B");
  EXPECT_TRUE(m.IsFeasible());
  m.Areas.Clear();
  // A curve longer than the tracer's whole path is judged on what the path covers.
  m.Curve.Point(1).SetXY(-2, 0);
  m.Curve.Rebuild();
  m.Calculate();
  EXPECT_TRUE(m.IsFeasible());
  EXPECT_TRUE(m.CanFitCurve());
  m.Tracer = nullptr;
  EXPECT_FALSE(m.IsFeasible());
}

// The curve runs on to (-2, 0), beyond the whole turn of the crank (a path of 0.4π): every step
// is judged, and the part of the curve the path leaves out is judged against where the tracer
// stops, back at (0, 0), so it counts against the design in full.
TEST_F(SolveCurveTest, PathThatFallsShortOfTheCurvePaysForThePartItLeavesOut) {
  m.Curve.Point(1).SetXY(-2, 0);
  m.Curve.Rebuild();
  m.Calculate();
  const double length = m.Curve.Length;
  ASSERT_NEAR(length, 2, 1e-12);
  const double chord = 0.4 * std::sin(kPi / 90);
  const double path = 90 * chord;
  ASSERT_NEAR(m.Tracer->TotalPathLength(), path, 1e-12);
  double covered = 0, maxDeviation = 0, maxOut = 0;
  for (int32_t k = 0; k <= 90; ++k) {
    const double s = k * chord;
    const double d = Len(Sub({-s, 0}, Tracer(k)));
    EXPECT_NEAR(m.GetPathError(k), d, 1e-12) << k;
    maxDeviation = std::max(maxDeviation, d);
    maxOut = std::max(maxOut, std::fabs(std::asin(std::sin(s / length - Turn(k)))));
    if (k > 0) covered += chord * d;
  }
  // The curve from s = path to s = 2 lies at distance s from the tracer's last position: the
  // integral of s over it, up to the rule's pieces of at most a fiftieth of the curve.
  const double left = (4 - path * path) / 2;
  const double piece = 2.0 / 90;
  EXPECT_NEAR(m.Integral, covered + left, piece * (2 - path));
  EXPECT_GT(m.Integral, covered + left);
  EXPECT_NEAR(m.MaxDeviation, std::max(maxDeviation, 2.0), 1e-12);
  // The output rotation grows to 1 at the curve's end, while the crank stays at a whole turn.
  EXPECT_NEAR(m.MaxOutputError, std::max(maxOut, 1.0), 1e-9);
}

TEST_F(SolveCurveTest, DeviationIsClearedOnceTheCurveIsGone) {
  ASSERT_GT(m.MaxDeviation, 0);
  m.Curve.Clear();
  m.Calculate();
  EXPECT_FALSE(m.CanFitCurve());
  EXPECT_EQ(m.MaxDeviation, 0);
  EXPECT_EQ(m.Integral, 0);
  for (int32_t k = 0; k <= 90; ++k) EXPECT_EQ(m.GetPathError(k), 0);
}

// A type that builds nothing leaves no centre of the four-bar it replaced.
TEST(SolveTest, EmptyMechanismHasNoCentres) {
  TAniMechanism m;
  ASSERT_EQ(m.CentreAt[10].AtInfinity, 0);
  ASSERT_NE(m.CentreAt[10].X, 0);
  m.NewMechanism(99);
  m.Calculate();
  for (const TCentreRecord& centre : m.CentreAt)
    EXPECT_TRUE(centre.X == 0 && centre.Y == 0 && centre.AtInfinity == 1);
}

}  // namespace
}  // namespace quillon
