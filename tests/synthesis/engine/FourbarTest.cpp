// Four-bar synthesis and candidate generation: the exact linkage, the failure cases, and seeded
// candidates checked by the test's own loop closure.
#include "synthesis/engine/Fourbar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "synthesis/engine/Area.h"
#include "synthesis/engine/Random.h"
#include "synthesis/engine/SynthOptions.h"
#include "tests/synthesis/engine/KnownFourbar.h"

namespace {

using namespace vesk;
using vesktest::Cx;
using vesktest::TLoop;
using vesktest::ToCx;

class FourbarTest : public vesktest::TMechanismTest {};

TEST_F(FourbarTest, ExactRotationsRebuildTheKnownLinkage) {
  TFourbar m;
  vesktest::SetExactPrecision(m);
  ASSERT_TRUE(m.Synthesize());
  const TLoop known = vesktest::KnownLoop();
  const TLoop got = TLoop::Of(m);
  EXPECT_EQ(got.J5, ToCx(*m.PrecisionPoints.GetPoint(1)));
  for (const auto& [a, b] : {std::pair{got.J1, known.J1}, {got.J2, known.J2}, {got.J3, known.J3}, {got.J4, known.J4}})
    EXPECT_LT(std::abs(a - b), 1e-9);
  EXPECT_NEAR(m.Error.Dyad, 1.0, 1e-9);
  EXPECT_NEAR(m.Error.PP, 1.0, 1e-9);
  EXPECT_EQ(m.InputFunction.Xmax(), m.Links.GetLink(2)->Rot[9]);
  // CheckPrecisionPositions gives the joints of position 1 back.
  EXPECT_FALSE(m.HasStoredJoints);
}

TEST_F(FourbarTest, FailedSynthesisMovesNoJoint) {
  struct {
    const char* what;
    void (*spoil)(TMechanism&);
    double dyad;
  } cases[] = {
      // Every rotation 0: each coefficient e^{i0} - 1 vanishes.
      {"singular", [](TMechanism& m) { for (int i = 2; i <= 4; ++i) m.Links.GetLink(i)->Rot.fill(0); }, 1.0},
      // Precision point 3 out of the input dyad's reach.
      {"unreachable 3", [](TMechanism& m) { m.PrecisionPoints.GetPoint(3)->SetXY(100, 100); }, 7.0},
  };
  for (const auto& c : cases) {
    TFourbar m;
    vesktest::SetExactPrecision(m);
    c.spoil(m);
    const TLoop before = TLoop::Of(m);
    EXPECT_FALSE(m.Synthesize()) << c.what;
    EXPECT_EQ(m.Error.Dyad, c.dyad) << c.what;
    const TLoop after = TLoop::Of(m);
    EXPECT_TRUE(after.J1 == before.J1 && after.J2 == before.J2 && after.J3 == before.J3 && after.J4 == before.J4 &&
                after.J5 == before.J5)
        << c.what;
  }
}

TEST_F(FourbarTest, PrecisionErrorRatesTheCouplerPointAtEachPosition) {
  TFourbar m;
  vesktest::SetExactPrecision(m);
  ASSERT_TRUE(m.Synthesize());
  // Precision point 6 moved off the path by 0.01: the positions still close, PP takes 1.01.
  m.PrecisionPoints.GetPoint(6)->Y += 0.01;
  EXPECT_TRUE(m.CheckPrecisionPositions());
  EXPECT_NEAR(m.Error.PP, 1.01, 1e-9);
}

TEST_F(FourbarTest, PathThatBreaksOffIsInvalidEvenWhenItEndsOnPointNine) {
  TFourbar m;
  vesktest::SetExactPrecision(m);
  ASSERT_TRUE(m.Synthesize());
  // A long crank of this linkage cannot turn through a full circle.
  m.Joints.GetJoint(2)->SetXY(0.2, 0.6);
  m.Links.GetLink(2)->Rot[9] = 2 * std::numbers::pi;
  m.InputFunction.SetSteps(60);
  m.SimulatePath(nullptr);
  EXPECT_FALSE(m.Error.Valid);
  // Run again with point 9 where the path broke off.
  m.StoreJoints();
  m.PathPoints.Clear();
  m.AddPathPoint();
  ASSERT_FALSE(m.Move(60, 2 * std::numbers::pi));
  const int made = m.PathPoints.Count();
  ASSERT_LT(made, 61);
  m.PrecisionPoints.GetPoint(9)->Assign(*m.PathPoints.GetPathPoint(made));
  m.RestoreJoints();
  m.Error.Valid = true;
  m.SimulatePath(nullptr);
  EXPECT_FALSE(m.Error.Valid);
  EXPECT_EQ(m.PathPoints.Count(), made);
}

// A precision point moved off the path, across it, by shares of the tolerance: a tenth of the
// curve's length (the link list's reference length), or of the precision points' own polygon
// when a project holds no length.
TEST_F(FourbarTest, PathThatMissesAPrecisionPointIsInvalid) {
  TFourbar m;
  vesktest::SetExactPrecision(m);
  auto point = [&](int i) { return ToCx(*m.PrecisionPoints.GetPoint(i)); };
  double polygon = 0;
  for (int i = 2; i <= 9; ++i) polygon += std::abs(point(i) - point(i - 1));
  const Cx across = Cx(0, 1) * (point(7) - point(5)) / std::abs(point(7) - point(5));
  const Cx p6 = point(6);
  struct {
    double refLength, reach, share;
    bool valid;
  } cases[] = {{1.0, 0.1, 0.5, true}, {1.0, 0.1, 2, false}, {0.2, 0.02, 0.5, true}, {0.2, 0.02, 2, false},
               {0, 0.1 * polygon, 0.5, true}, {0, 0.1 * polygon, 2, false}};
  for (const auto& c : cases) {
    m.Links.RefLength = c.refLength;
    const Cx moved = p6 + c.share * c.reach * across;
    m.PrecisionPoints.GetPoint(6)->SetXY(moved.real(), moved.imag());
    ASSERT_TRUE(m.Synthesize());
    m.Error.Valid = true;
    m.SimulatePath(nullptr);
    EXPECT_EQ(m.Error.Valid, c.valid) << c.refLength << " " << c.share;
    m.PrecisionPoints.GetPoint(6)->SetXY(p6.real(), p6.imag());
  }
}

TEST_F(FourbarTest, TransmissionAngleAtTheBoundIsInvalid) {
  TFourbar m;
  vesktest::SetExactPrecision(m);
  ASSERT_TRUE(m.Synthesize());
  m.Error.Valid = true;
  m.SimulatePath(nullptr);
  ASSERT_TRUE(m.Error.Valid);
  const double smallest = m.PathPoints.MinTransmissionAngle();
  const double saved = SynthOptions.MinTransAngle;
  SynthOptions.MinTransAngle = smallest;
  m.SimulatePath(nullptr);
  EXPECT_FALSE(m.Error.Valid);
  SynthOptions.MinTransAngle = saved;
}

// Seeded generation on the curve of the known four-bar: every valid candidate is checked from
// its own joints and rotations by the test's loop closure.
TEST_F(FourbarTest, GeneratedCandidatesHitTheirPrecisionPointsAndRateTheirPath) {
  TSpline curve;
  vesktest::FillCurve(curve);
  TRandom random(20261210);
  TRandomScope scope(random);
  TFourbar m;
  int valid = 0;
  for (int n = 0; n < 20000 && valid < 6; ++n) {
    m.Generate(curve, nullptr, nullptr);
    if (!m.Error.Valid) continue;
    ++valid;
    const TLoop loop = TLoop::Of(m);
    const TLink& input = *m.Links.GetLink(2);
    auto point = [&](int i) { return ToCx(*m.PrecisionPoints.GetPoint(i)); };
    EXPECT_EQ(loop.J5, point(1));
    for (int i : {5, 9}) {
      const auto pose = loop.Pose(input.Rot[i]);
      ASSERT_TRUE(pose);
      EXPECT_LT(std::abs(pose->J5 - point(i)), 1e-5) << i;
    }
    double pp = 1;
    for (int i = 2; i <= 9; ++i) pp *= 1 + std::abs(point(i) - loop.Pose(input.Rot[i])->J5);
    EXPECT_NEAR(m.Error.PP, pp, 1e-12 * pp);

    const int steps = m.InputFunction.Steps();
    ASSERT_EQ(m.PathPoints.Count(), steps + 1);
    std::vector<Cx> path;
    for (int k = 0; k <= steps; ++k) {
      const auto pose = loop.Pose(k * input.Rot[9] / steps);
      ASSERT_TRUE(pose);
      path.push_back(pose->J5);
      EXPECT_LT(std::abs(ToCx(*m.PathPoints.GetPathPoint(k + 1)) - pose->J5), 1e-9) << k;
    }
    // Area between path and curve at equal length fractions: the quadrilaterals of path and
    // curve steps, each as two triangles.
    std::vector<double> length{0};
    for (size_t k = 1; k < path.size(); ++k) length.push_back(length.back() + std::abs(path[k] - path[k - 1]));
    auto triangle = [](Cx a, Cx b, Cx c) { return 0.5 * std::abs(std::imag(std::conj(b - a) * (c - a))); };
    double area = 0;
    TPrePoint q;
    curve.PointAt(q, 0);
    Cx before = ToCx(q);
    for (size_t k = 1; k < path.size(); ++k) {
      curve.PointAt(q, k + 1 == path.size() ? 1.0 : length[k] / length.back());
      area += triangle(path[k - 1], path[k], ToCx(q)) + triangle(path[k - 1], ToCx(q), before);
      before = ToCx(q);
    }
    EXPECT_NEAR(m.Error.Area, area, 1e-9 * area + 1e-15);
    // No areas and no prescribed rotations: only the link-length penalty joins the area.
    double longest = std::max({std::abs(loop.J3 - loop.J1), std::abs(loop.J2 - loop.J1), std::abs(loop.J4 - loop.J2),
                               std::abs(loop.J5 - loop.J2), std::abs(loop.J5 - loop.J4), std::abs(loop.J4 - loop.J3)});
    const double link = std::max(1.0, longest / curve.CurveLength);
    EXPECT_NEAR(m.Error.Link, link, 1e-12 * link);
    EXPECT_NEAR(m.Error.Total, area * link, 1e-9 * area * link + 1e-15);
    EXPECT_GT(m.PathPoints.MinTransmissionAngle(), SynthOptions.MinTransAngle);
  }
  EXPECT_GE(valid, 6);
}

TEST_F(FourbarTest, StepsBeyondThePathCapacityAreRefused) {
  // A path holds the start and 120 steps; the input function never takes more.
  TFourbar m;
  m.InputFunction.SetSteps(121);
  EXPECT_EQ(m.InputFunction.Steps(), 120);
  EXPECT_EQ(m.PathPoints.Capacity(), 121);
}

}  // namespace

namespace {

using namespace vesk;
using vesktest::ToCx;

class GenerateTest : public vesktest::TMechanismTest {
 protected:
  GenerateTest() { vesktest::FillCurve(curve); }
  TSpline curve;
};

// The plain mechanism's own generation: the path reaches precision points 5 and 9 after its
// two moves.
TEST_F(GenerateTest, PlainMechanismPathPassesPointsFiveAndNine) {
  TRandom random(77);
  TRandomScope scope(random);
  TMechanism m;
  int valid = 0;
  for (int n = 0; n < 3000 && valid < 3; ++n) {
    m.Generate(curve, nullptr, nullptr);
    if (!m.Error.Valid) continue;
    ++valid;
    const int steps = m.InputFunction.Steps();
    const int at5 = int(std::lround(m.PrecisionPoints.GetPoint(5)->s * steps));
    ASSERT_EQ(m.PathPoints.Count(), steps + 1);
    EXPECT_LT(std::abs(ToCx(*m.PathPoints.GetPathPoint(at5 + 1)) - ToCx(*m.PrecisionPoints.GetPoint(5))), 1e-10);
    EXPECT_LT(std::abs(ToCx(*m.PathPoints.GetPathPoint(steps + 1)) - ToCx(*m.PrecisionPoints.GetPoint(9))), 1e-10);
    EXPECT_EQ(ToCx(*m.Joints.GetJoint(5)), ToCx(*m.PrecisionPoints.GetPoint(1)));
    EXPECT_DOUBLE_EQ(m.Error.Total, m.Error.Area * m.Error.Link);
  }
  EXPECT_EQ(valid, 3);
}

TEST_F(GenerateTest, PivotsOfValidCandidatesLieInTheirAreas) {
  TRandom random(31);
  TRandomScope scope(random);
  TAreaList ground, none, farAway;
  ground.Add(std::make_unique<TArea>(-1, -1, 2, 0.5));
  farAway.Add(std::make_unique<TArea>(2, 3, 2.5, 3.5));
  TFourbar m;
  int valid = 0, outside = 0;
  for (int n = 0; n < 20000 && valid < 4; ++n) {
    m.Generate(curve, &ground, &none);
    if (!m.Error.Valid) continue;
    ++valid;
    for (int j : {1, 3}) {
      const TJoint& p = *m.Joints.GetJoint(j);
      if (!(p.X >= -1 && p.X <= 2 && p.Y >= -1 && p.Y <= 0.5)) ++outside;
    }
    EXPECT_EQ(m.Error.MinDistGround, 1.0);
  }
  EXPECT_EQ(valid, 4);
  EXPECT_EQ(outside, 0);

  // Coupler pivots far from the only coupler-pivot area: no candidate passes. The coupler offset
  // is drawn from that area, relative to the drawing's origin.
  valid = 0;
  for (int n = 0; n < 3000; ++n) {
    m.Generate(curve, nullptr, &farAway);
    const shared::TComplex& o = m.Links.Offset;
    ASSERT_TRUE(o.X >= 2 && o.X <= 2.5 && o.Y >= 3 && o.Y <= 3.5) << o.X << " " << o.Y;
    valid += m.Error.Valid;
  }
  EXPECT_EQ(valid, 0);
}

}  // namespace

namespace {

using namespace vesk;
using vesktest::Cx;
using vesktest::ToCx;

// A 10-point ellipse whose last point repeats its first.
class ClosedCurveTest : public vesktest::TMechanismTest {
 protected:
  ClosedCurveTest() {
    for (int k = 0; k <= 9; ++k) {
      const double t = 2 * std::numbers::pi * (k % 9) / 9;
      curve.Add(std::make_unique<TPrePoint>(0.3 * std::cos(t), 0.2 * std::sin(t)));
    }
    curve.Recalc();
  }

  // Seeded four-bar candidates until `wanted` are valid; each is checked by `check`.
  template <class Check>
  int Generate(uint64_t seed, int wanted, Check check) {
    TRandom random(seed);
    TRandomScope scope(random);
    TFourbar m;
    int valid = 0;
    for (int n = 0; n < 200000 && valid < wanted; ++n) {
      m.Generate(curve, nullptr, nullptr);
      if (!m.Error.Valid) continue;
      ++valid;
      check(m);
    }
    return valid;
  }

  TSpline curve;
};

// The input turns once round, through precision point 9 (short of the curve's end) on the way,
// and the path comes back to its start.
TEST_F(ClosedCurveTest, FourbarsTurnOnceRoundAndComeBack) {
  ASSERT_TRUE(curve.IsClosed());
  const int valid = Generate(41, 2, [&](TFourbar& m) {
    EXPECT_TRUE(m.PrecisionPoints.Closed);
    EXPECT_NEAR(m.PrecisionPoints.GetPoint(9)->s, 8.0 / 9, 1e-12);
    const double turn = m.Links.GetLink(2)->Rot[9];
    EXPECT_EQ(m.InputFunction.Xmax(), std::copysign(2 * std::numbers::pi, turn));
    const int steps = m.InputFunction.Steps();
    ASSERT_EQ(m.PathPoints.Count(), steps + 1);
    const Cx start = ToCx(*m.PathPoints.GetPathPoint(1));
    EXPECT_EQ(start, ToCx(*m.PrecisionPoints.GetPoint(1)));
    EXPECT_LT(std::abs(ToCx(*m.PathPoints.GetPathPoint(steps + 1)) - start), 1e-5);
    EXPECT_NEAR(m.PathPoints.GetPathPoint(steps + 1)->In, m.InputFunction.Xmax(), 1e-9);
    // Precision point 9 is a path point: where the input has turned as far as its rotation there.
    double nearest = 1e10;
    for (int k = 1; k <= m.PathPoints.Count(); ++k)
      nearest = std::min(nearest, std::abs(ToCx(*m.PathPoints.GetPathPoint(k)) - ToCx(*m.PrecisionPoints.GetPoint(9))));
    EXPECT_LT(nearest, 1e-5);
  });
  EXPECT_EQ(valid, 2);
}

// A whole input turn prescribed for the loop: point 9, 8/9 of the way round, takes 8/9 of it.
TEST_F(ClosedCurveTest, PrescribedTotalInputRotationBelongsToTheWholeLoop) {
  curve.InTotal = true;
  curve.TotalIn = -2 * std::numbers::pi;
  const int valid = Generate(43, 1, [&](TFourbar& m) {
    EXPECT_NEAR(m.Links.GetLink(2)->Rot[9], -16 * std::numbers::pi / 9, 1e-12);
    EXPECT_EQ(m.InputFunction.Xmax(), -2 * std::numbers::pi);
    const int steps = m.InputFunction.Steps();
    ASSERT_EQ(m.PathPoints.Count(), steps + 1);
    EXPECT_LT(std::abs(ToCx(*m.PathPoints.GetPathPoint(steps + 1)) - ToCx(*m.PathPoints.GetPathPoint(1))), 1e-5);
  });
  EXPECT_EQ(valid, 1);
}

}  // namespace
