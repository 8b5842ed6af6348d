// Path points and the path list: instant centres against intersections and finite differences
// worked out here, the three-centres theorem for every mechanism type, accumulated rotations,
// the summary against a curve, accelerations, records, HTML table and drawing.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <numbers>
#include <set>
#include <sstream>

#include "shared/Convert.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/ErrorObject.h"
#include "synthesis/engine/GraphPaintBox.h"
#include "synthesis/engine/Joint.h"
#include "synthesis/engine/Link.h"
#include "synthesis/engine/PathPoint.h"
#include "synthesis/engine/Random.h"
#include "synthesis/engine/Spline.h"
#include "tests/synthesis/engine/RecordText.h"
#include "tests/synthesis/engine/SynthCanvas.h"

using namespace vesk;
using shared::TComplex;
using vesktest::Lines;
using vesktest::ReadError;

namespace {

constexpr double kPi = std::numbers::pi;

// The crossing of the line through p1, p2 with the line through q1, q2, by Cramer's rule on
// p1 + t (p2 - p1) = q1 + u (q2 - q1).
TComplex Crossing(const TComplex& p1, const TComplex& p2, const TComplex& q1, const TComplex& q2) {
  const double a = p2.X - p1.X, b = -(q2.X - q1.X), c = p2.Y - p1.Y, d = -(q2.Y - q1.Y);
  const double ex = q1.X - p1.X, ey = q1.Y - p1.Y;
  const double t = (ex * d - b * ey) / (a * d - b * c);
  return {p1.X + t * a, p1.Y + t * c};
}

// A linkage position: the joints J1..Jn, the output point (the last joint) and the output
// link's angle.
struct TPose {
  std::vector<TComplex> joints;
  std::vector<bool> atInfinity;
  double outAngle = 0;
  const TComplex& Point() const { return joints.back(); }
};

// Crank-rocker: ground pivots A0 (0, 0) and B0 (3.5, 0), crank 1, coupler 3, rocker 2.5;
// J1 = A0, J2 = A, J3 = B0, J4 = B, J5 the coupler point 1.2 from A at 0.4 rad off AB.
TPose FourBar(double theta) {
  const double a = 1, b = 3, c = 2.5;
  const TComplex a0(0, 0), b0(3.5, 0), A(a * std::cos(theta), a * std::sin(theta));
  const double dx = b0.X - A.X, dy = b0.Y - A.Y, dist = std::hypot(dx, dy);
  const double along = (b * b - c * c + dist * dist) / (2 * dist), h = std::sqrt(b * b - along * along);
  const TComplex B(A.X + (along * dx - h * dy) / dist, A.Y + (along * dy + h * dx) / dist);
  const double phi = std::atan2(B.Y - A.Y, B.X - A.X);
  const TComplex P(A.X + 1.2 * std::cos(phi + 0.4), A.Y + 1.2 * std::sin(phi + 0.4));
  return {{a0, A, b0, B, P}, {false, false, false, false, false}, phi};
}

// Slider-crank: crank 1 about (0, 0), rod 2.5 to a slider on the x axis; J1 crank pivot, J2
// crank pin A, J3 slider pin B, J4 the slider's centre with the ground, at infinity across the
// guide; J5 the rod's midpoint raised by 0.3.
TPose SliderCrank(double theta) {
  const double r = 1, l = 2.5;
  const TComplex A(r * std::cos(theta), r * std::sin(theta));
  const TComplex B(A.X + std::sqrt(l * l - A.Y * A.Y), 0);
  const double phi = std::atan2(B.Y - A.Y, B.X - A.X);
  const TComplex P((A.X + B.X) / 2 - 0.3 * std::sin(phi), (A.Y + B.Y) / 2 + 0.3 * std::cos(phi));
  return {{TComplex(0, 0), A, B, TComplex(0, 1), P}, {false, false, false, true, false}, phi};
}

void FillJoints(TJointList& joints, const TPose& pose) {
  joints.Clear();
  for (size_t k = 0; k < pose.joints.size(); ++k) {
    auto joint = std::make_unique<TJoint>(pose.joints[k].X, pose.joints[k].Y);
    joint->Inf = pose.atInfinity[k];
    joints.Add(std::move(joint));
  }
  joints.SetOrigin(joints.Count());
}

TComplex Sub(const TComplex& a, const TComplex& b) { return {a.X - b.X, a.Y - b.Y}; }

void ExpectNear(const TComplex& actual, const TComplex& expected, double tolerance, const std::string& what) {
  EXPECT_NEAR(actual.X, expected.X, tolerance) << what;
  EXPECT_NEAR(actual.Y, expected.Y, tolerance) << what;
}

TEST(PathPointTest, CentresAreNumberedByPairInEitherOrder) {
  const std::map<uint8_t, int32_t> links = {{0, 4}, {1, 6}, {2, 6}, {3, 6}, {4, 6},
                                            {5, 6}, {6, 8}, {7, 4}, {8, 6}};
  for (const auto& [type, n] : links) {
    TPathPoint p;
    p.SetMechType(type);
    EXPECT_EQ(p.LinkCount(), n);
    ASSERT_EQ(p.ICCount(), n * (n - 1) / 2);
    // Entries run (1,2), (1,3), ..., (1,n), (2,3), ...: counted here pair by pair.
    int32_t k = 0;
    for (int32_t a = 1; a <= n; ++a) {
      for (int32_t b = a + 1; b <= n; ++b, ++k) {
        EXPECT_EQ(p.ICIndex(a, b), k) << a << b;
        EXPECT_EQ(p.GetIC(b, a), p.GetICByNumber(k));
      }
    }
    for (const auto& [a, b] : std::vector<std::pair<int, int>>{{2, 2}, {0, 1}, {1, n + 1}, {-1, 2}})
      EXPECT_EQ(p.GetIC(a, b), nullptr) << a << b;
    EXPECT_EQ(p.GetICByNumber(-1), nullptr);
    EXPECT_EQ(p.GetICByNumber(p.ICCount()), nullptr);
  }
  TPathPoint p;
  p.SetMechType(6);
  p.SetMechType(9);  // names no mechanism: ignored
  EXPECT_EQ(p.MechType(), 6);
  EXPECT_EQ(p.ICCount(), 28);
}

TEST(PathPointTest, FourBarAndSliderCentresAreTheCrossingsOfTheirLines) {
  for (const double theta : {0.3, 1.2, 2.5, 4.0, 5.5}) {
    {
      const TPose pose = FourBar(theta);
      TJointList joints;
      FillJoints(joints, pose);
      TPathPoint p;
      p.SetMechType(0);
      p.ComputeICs(joints);
      const auto& j = pose.joints;
      ExpectNear(p, pose.Point(), 0, "position");
      ExpectNear(*p.GetIC(1, 2), j[0], 0, "12");
      ExpectNear(*p.GetIC(3, 4), j[3], 0, "34");
      // The pole of the coupler where crank and rocker lines meet; 24 on the ground line.
      ExpectNear(*p.GetIC(1, 3), Crossing(j[0], j[1], j[2], j[3]), 1e-9, "13");
      ExpectNear(*p.GetIC(2, 4), Crossing(j[0], j[2], j[1], j[3]), 1e-9, "24");
      EXPECT_EQ(p.GetPole(), p.GetIC(1, 3));
    }
    {
      const TPose pose = SliderCrank(theta);
      TJointList joints;
      FillJoints(joints, pose);
      TPathPoint p;
      p.SetMechType(7);
      p.ComputeICs(joints);
      const TComplex& A = pose.joints[1];
      const TComplex& B = pose.joints[2];
      EXPECT_TRUE(p.GetIC(1, 4)->Inf);
      // The rod's pole lies on the crank line straight above (or below) the slider pin.
      ExpectNear(*p.GetIC(1, 3), TComplex(B.X, B.X * std::tan(theta)), 1e-9, "13");
      // 24 is where the rod line meets the vertical through the crank pivot.
      ExpectNear(*p.GetIC(2, 4), TComplex(0, A.Y - A.X * (B.Y - A.Y) / (B.X - A.X)), 1e-9, "24");
    }
  }
}

// Ratio, path speed and tangent against finite differences of the closed-form positions.
TEST(PathPointTest, RatioSpeedAndTangentMatchFiniteDifferences) {
  const std::pair<uint8_t, std::function<TPose(double)>> mechanisms[] = {{0, FourBar}, {7, SliderCrank}};
  const double h = 1e-6, omega = -2.5;
  for (const auto& [type, pose] : mechanisms) {
    for (const double theta : {0.4, 1.9, 3.3, 5.0}) {
      TJointList joints;
      FillJoints(joints, pose(theta));
      TPathPoint p;
      p.SetMechType(type);
      const TComplex& tangent = p.ComputeICs(joints);
      const double ratio = (pose(theta + h).outAngle - pose(theta - h).outAngle) / (2 * h);
      const TComplex dP = Sub(pose(theta + h).Point(), pose(theta - h).Point());
      const TComplex velocity(dP.X / (2 * h), dP.Y / (2 * h));
      EXPECT_NEAR(p.OutputInputRatio(), ratio, 1e-6) << int(type) << " " << theta;
      EXPECT_NEAR(p.OutputVelocity(omega), ratio * omega, 1e-5);
      EXPECT_NEAR(p.PathVelocity(omega), velocity.Abs() * std::fabs(omega), 1e-5);
      EXPECT_NEAR(tangent.Abs(), 1, 1e-12);
      EXPECT_NEAR(tangent.Cross(velocity) / velocity.Abs(), 0, 1e-6) << "tangent along the path";
      EXPECT_EQ(&tangent, &p.Direction);
    }
  }
}

// Three centres of any three links lie on one line (Kennedy); with joints anywhere the built
// centres are those of an assembled mechanism, so a wrong line in any recipe shows.
TEST(PathPointTest, EveryTypesCentresObeyTheThreeCentresTheorem) {
  const std::map<uint8_t, int> jointsOfType = {{0, 4}, {1, 7}, {2, 7}, {3, 7},
                                               {5, 7}, {6, 9}, {7, 4}, {8, 7}};
  // The eight-bar's centres that are found; the others are left alone.
  const std::set<int> eightBar = {12, 23, 34, 35, 45, 14, 38, 78, 57, 56, 16, 13, 58, 36, 68, 18, 28};
  TRandom random(42);
  for (const auto& [type, count] : jointsOfType) {
    TJointList joints;
    for (int k = 0; k < count; ++k)
      joints.Add(std::make_unique<TJoint>(random.Uniform() * 2 - 1, random.Uniform() * 2 - 1));
    joints.SetOrigin(count);
    TPathPoint p;
    p.SetMechType(type);
    p.ComputeICs(joints);
    const int n = p.LinkCount();
    auto found = [&, type = type](int a, int b) { return type != 6 || eightBar.count(10 * a + b) > 0; };
    int triples = 0;
    for (int a = 1; a <= n; ++a) {
      for (int b = a + 1; b <= n; ++b) {
        for (int c = b + 1; c <= n; ++c) {
          if (!found(a, b) || !found(b, c) || !found(a, c)) continue;
          const TComplexPoint &ab = *p.GetIC(a, b), &bc = *p.GetIC(b, c), &ac = *p.GetIC(a, c);
          ASSERT_FALSE(ab.Inf || bc.Inf || ac.Inf);
          const TComplex u = Sub(bc, ab), v = Sub(ac, ab);
          EXPECT_LE(std::fabs(u.Cross(v)), 1e-9 * (1 + u.Abs() * v.Abs()))
              << "type " << int(type) << " links " << a << b << c;
          ++triples;
        }
      }
    }
    // Every triple of links; of the eight-bar's, the 13 whose centres are all found.
    EXPECT_EQ(triples, type == 6 ? 13 : n * (n - 1) * (n - 2) / 6) << int(type);
  }
}

TEST(PathPointTest, RatioAtInfinityCases) {
  struct TCase {
    const char* what;
    bool relative, groundOfInput, groundOfOutput;
    double ratio;
  };
  const TCase cases[] = {{"output and input turn alike", true, true, true, 1.0},
                         {"input does not turn", false, true, false, 1e10},
                         {"output does not turn", false, false, true, 0.0}};
  for (const TCase& c : cases) {
    TPathPoint p;
    p.SetMechType(0);
    p.GetIC(1, 2)->SetXY(0, 0);
    p.GetIC(1, 3)->SetXY(2, 0);
    p.GetIC(2, 3)->SetXY(1, 1);
    p.GetIC(2, 3)->Inf = c.relative;
    p.GetIC(1, 2)->Inf = c.groundOfInput;
    p.GetIC(1, 3)->Inf = c.groundOfOutput;
    EXPECT_EQ(p.OutputInputRatio(), c.ratio) << c.what;
  }
  // A point that was never given a type has the four-bar's centres, all at (0, 0).
  TPathPoint fresh;
  EXPECT_EQ(fresh.ICCount(), 6);
}

TEST(PathPointTest, PathSpeedOfATranslatingOutputComesFromTheInputsCentres) {
  TPathPoint p;
  p.SetMechType(0);
  p.GetIC(1, 3)->SetXY(0, 1);
  p.GetIC(1, 3)->Inf = true;
  p.GetIC(1, 2)->SetXY(1, 1);
  p.GetIC(2, 3)->SetXY(4, 5);
  EXPECT_DOUBLE_EQ(p.PathVelocity(-2), 10.0);  // |(3, 4)| x 2
  // Moving across the pole's direction: -(0, 1) turned by 90 degrees.
  const TComplex& t = p.PathTangent();
  EXPECT_DOUBLE_EQ(t.X, 1);
  EXPECT_NEAR(t.Y, 0, 1e-15);
}

TEST(PathPointTest, SetLinksTakesAnglesAndRoles) {
  const TPose pose = FourBar(0.7);
  TJointList joints;
  FillJoints(joints, pose);
  TLinkList links;
  links.Joints = &joints;
  const std::pair<uint8_t, std::vector<int>> made[] = {
      {kOtherLink, {3, 4}}, {kGroundLink, {1, 3}}, {kOutputLink, {2, 4, 5}}, {kInputLink, {1, 2}}};
  for (const auto& [type, js] : made) {
    auto link = std::make_unique<TLink>();
    link->SetType(type);
    for (const int j : js) link->AddJoint(joints.GetJoint(j));
    links.Add(std::move(link));
  }
  links.AssignRoles();
  TPathPoint p;
  p.SetLinks(links);
  EXPECT_NEAR(p.InAngle, 0.7, 1e-15);
  EXPECT_NEAR(p.OutAngle, pose.outAngle, 1e-15);
  EXPECT_EQ(p.GroundID, 2);
  EXPECT_EQ(p.OutputID, 3);
  EXPECT_EQ(p.InputID, 4);
}

// A path list of n + 1 points whose input turns by inStep and output by outStep per point, the
// point moving along x by dx.
void FillPath(TPathPointList& path, int n, double inStep, double outStep, double dx) {
  for (int k = 0; k <= n; ++k) {
    auto p = std::make_unique<TPathPoint>(k * dx, 0.0);
    // Angles as a link reports them, in (-pi, pi].
    p->InAngle = std::remainder(k * inStep, 2 * kPi);
    p->OutAngle = std::remainder(k * outStep, 2 * kPi);
    path.Add(std::move(p));
  }
}

TEST(PathPointListTest, RotationsCountWholeTurns) {
  TPathPointList path;
  EXPECT_EQ(path.Name, "PathPoints");
  EXPECT_EQ(path.Capacity(), 121);
  // 1.5 turns of the input in 60 steps, the output back by 0.7 turns.
  FillPath(path, 60, 3 * kPi / 60, -1.4 * kPi / 60, 0.01);
  const TPathPoint& last = *path.GetPathPoint(61);
  EXPECT_NEAR(last.In, 3 * kPi, 1e-12);
  EXPECT_NEAR(last.Out, -1.4 * kPi, 1e-12);
  EXPECT_NEAR(last.PathLength, 0.6, 1e-12);
  EXPECT_NEAR(path.TotalPathLength(), 0.6, 1e-12);
  EXPECT_EQ(path.Selected(), nullptr);  // path points are not selected as they come
}

TEST(PathPointListTest, OnePointAndAFullList) {
  TPathPointList path;
  auto first = std::make_unique<TPathPoint>(1.0, 2.0);
  first->InAngle = 1.0;
  first->PathLength = 5;
  first->In = first->Out = 3;
  path.Add(std::move(first));
  const TPathPoint& p = *path.GetPathPoint(1);
  EXPECT_EQ(p.PathLength, 0);
  EXPECT_EQ(p.In, 0);
  EXPECT_EQ(p.Out, 0);
  EXPECT_EQ(path.TotalPathLength(), 0);

  TPathPointList full;
  FillPath(full, 120, 0.01, 0.01, 0.01);
  ASSERT_EQ(full.Count(), 121);
  const double length = full.TotalPathLength();
  EXPECT_EQ(full.Add(std::make_unique<TPathPoint>(9.0, 9.0)), nullptr);
  EXPECT_EQ(full.Count(), 121);
  EXPECT_EQ(full.TotalPathLength(), length);

  // A plain point comes in as a path point.
  TPathPointList plain;
  plain.Add(std::make_unique<TComplexPoint>(3.0, 4.0));
  ASSERT_NE(plain.GetPathPoint(1), nullptr);
  EXPECT_EQ(plain.GetPathPoint(1)->ICCount(), 6);
}

TEST(PathPointListTest, MinTransmissionAngle) {
  TPathPointList path;
  EXPECT_EQ(path.MinTransmissionAngle(), kPi);
  for (const double angle : {1.2, 0.4, 4.0, 0.9}) {
    auto p = std::make_unique<TPathPoint>();
    p->TransAngle = angle;
    path.Add(std::move(p));
  }
  EXPECT_EQ(path.MinTransmissionAngle(), 0.4);
}

// The straight curve from (0, 0) to (1, 0) with output rotations 0 and 1 (both linear in s)
// and input rotations 0 and 2.
void StraightCurve(TSpline& curve, bool in, bool inTotal) {
  curve.Clear();
  curve.Out = true;
  curve.In = in;
  curve.InTotal = inTotal;
  auto a = std::make_unique<TPrePoint>(0.0, 0.0);
  auto b = std::make_unique<TPrePoint>(1.0, 0.0);
  b->Out = 1;
  b->In = 2;
  curve.Add(std::move(a));
  curve.Add(std::move(b));
  TRandom fixed(3);
  TRandomScope scope(fixed);
  curve.Recalc();
}

TEST(PathPointListTest, SummaryAgainstAStraightCurve) {
  TSpline curve;
  // Five points 0.1 above the curve at x = 0, 0.25, ... 1, turning the output by 0.3 and the
  // input by 0.45 per step.
  TPathPointList path;
  for (int k = 0; k <= 4; ++k) {
    auto p = std::make_unique<TPathPoint>(0.25 * k, 0.1);
    p->OutAngle = 0.3 * k;
    p->InAngle = 0.45 * k;
    path.Add(std::move(p));
  }
  struct TCase {
    bool in, inTotal;
  };
  for (const TCase c : {TCase{false, false}, TCase{true, false}, TCase{false, true}}) {
    StraightCurve(curve, c.in, c.inTotal);
    TErrorObject error;
    error.Area = 7;
    path.MakeSummary(curve, error);
    double outRot = 1, inRot = 1;
    for (int a = 2; a <= 5; ++a) {
      const TPathPoint& p = *path.GetPathPoint(a);
      const double s = 0.25 * (a - 1);
      EXPECT_NEAR(p.s, s, 1e-12);
      // The curve point right below lies 0.1 away; its rotations are s and 2 s.
      EXPECT_NEAR(p.Deviation, 0.1, 1e-9);
      outRot *= 1 + (2 - 2 * std::cos(s - 0.3 * (a - 1)));
      inRot *= 1 + (2 - 2 * std::cos(2 * s - 0.45 * (a - 1)));
    }
    EXPECT_EQ(path.GetPathPoint(1)->Deviation, 0);
    // Four strips of 0.25 x 0.1.
    EXPECT_NEAR(error.Area, 0.1, 1e-9);
    EXPECT_NEAR(error.OutRot, outRot, 1e-9);
    EXPECT_NEAR(error.InRot, c.in && !c.inTotal ? inRot : 1.0, 1e-9);
  }
}

// A path 5 points long, h above the straight curve and c of its length: the strip between them
// is the trapezoid h (1 + c) / 2, however short the path. Steps along the path alone would
// give c h.
TEST(PathPointListTest, SummaryAreaIsTheStripBetweenPathAndCurve) {
  TSpline curve;
  StraightCurve(curve, false, false);
  struct TCase {
    double c, h;
  };
  for (const TCase t : {TCase{1, 0.1}, TCase{0.1, 0.1}, TCase{0.5, -0.2}, TCase{0.3, 0}}) {
    TPathPointList path;
    for (int k = 0; k <= 4; ++k) path.Add(std::make_unique<TPathPoint>(0.25 * k * t.c, t.h));
    TErrorObject error;
    path.MakeSummary(curve, error);
    EXPECT_NEAR(error.Area, std::fabs(t.h) * (1 + t.c) / 2, 1e-12) << t.c << " " << t.h;
  }
}

TEST(PathPointListTest, DistanceFromThePolyline) {
  TPathPointList path;
  EXPECT_EQ(path.DistanceFrom(TComplex(0, 0)), 1e10);
  for (const auto& [x, y] : {std::pair{0.0, 0.0}, {1.0, 0.0}, {1.0, 1.0}}) path.Add(std::make_unique<TPathPoint>(x, y));
  struct TCase {
    TComplex point;
    double distance;
  };
  for (const TCase& c : {TCase{{0.5, 0.2}, 0.2}, TCase{{-0.3, -0.4}, 0.5}, TCase{{1.3, 0.5}, 0.3},
                         TCase{{2, 2}, std::sqrt(2.0)}, TCase{{0.9, 0.6}, 0.1}, TCase{{1, 0}, 0}})
    EXPECT_NEAR(path.DistanceFrom(c.point), c.distance, 1e-12) << c.point.X << " " << c.point.Y;
}

TEST(PathPointListTest, SummaryOfOnePointOrAPathOfNoLength) {
  TSpline curve;
  StraightCurve(curve, true, false);
  TPathPointList path;
  TErrorObject error;
  path.MakeSummary(curve, error);
  EXPECT_EQ(error.Area, 1e10);
  path.Add(std::make_unique<TPathPoint>(0.5, 0.5));
  error.OutRot = error.InRot = 3;
  path.MakeSummary(curve, error);
  EXPECT_EQ(error.Area, 1e10);
  EXPECT_EQ(error.OutRot, 1.0);
  EXPECT_EQ(error.InRot, 1.0);
  EXPECT_EQ(path.GetPathPoint(1)->s, 1.0);
  // The output point stood still: no length to divide by.
  path.Add(std::make_unique<TPathPoint>(0.5, 0.5));
  path.Add(std::make_unique<TPathPoint>(0.5, 0.5));
  path.MakeSummary(curve, error);
  EXPECT_EQ(path.GetPathPoint(1)->s, 0);
  EXPECT_EQ(path.GetPathPoint(2)->s, 0);
  EXPECT_EQ(path.GetPathPoint(3)->s, 1.0);
  EXPECT_TRUE(std::isfinite(error.Area));
}

// The four-bar driven at a steady omega: accelerations by differences along the path against
// second differences of the closed-form angles and points.
TEST(PathPointListTest, AccelerationsByDifferencesAlongThePath) {
  const double omega = 3.0, dt = 0.002;
  TPathPointList path;
  for (int k = 0; k <= 100; ++k) {
    TJointList joints;
    FillJoints(joints, FourBar(omega * dt * k));
    auto p = std::make_unique<TPathPoint>();
    p->SetMechType(0);
    p->ComputeICs(joints);
    path.Add(std::move(p));
  }
  const double h = 1e-4;
  for (const int i : {10, 37, 64, 90}) {
    const double t = dt * (i - 1);
    auto angle = [&](double time) { return FourBar(omega * time).outAngle; };
    auto speed = [&](double time) {
      const TComplex d = Sub(FourBar(omega * (time + h)).Point(), FourBar(omega * (time - h)).Point());
      return d.Abs() / (2 * h);
    };
    const double alpha = (angle(t + h) - 2 * angle(t) + angle(t - h)) / (h * h);
    const double dSpeed = (speed(t + h) - speed(t - h)) / (2 * h);
    EXPECT_NEAR(path.OutputAcceleration(i, dt, omega), alpha, 1e-3 * (1 + std::fabs(alpha))) << i;
    EXPECT_NEAR(path.PathAcceleration(i, dt, omega), dSpeed, 1e-3 * (1 + std::fabs(dSpeed))) << i;
  }
  // One-sided at the ends; nothing outside the list or without a time step.
  const auto v = [&](int i) { return path.GetPathPoint(i)->OutputVelocity(omega); };
  EXPECT_DOUBLE_EQ(path.OutputAcceleration(1, dt, omega), (v(2) - v(1)) / dt);
  EXPECT_DOUBLE_EQ(path.OutputAcceleration(101, dt, omega), (v(101) - v(100)) / dt);
  EXPECT_EQ(path.OutputAcceleration(0, dt, omega), 0);
  EXPECT_EQ(path.OutputAcceleration(102, dt, omega), 0);
  EXPECT_EQ(path.PathAcceleration(5, 0, omega), 0);
}

// A Watt 1 point with values and centres, one centre at infinity.
std::unique_ptr<TPathPoint> SamplePoint() {
  auto p = std::make_unique<TPathPoint>(0.25, -0.5);
  p->Direction.SetXY(0, 1);
  p->In = 1.5;
  p->Out = -0.25;
  p->s = 0.5;
  p->Time = 0.125;
  p->InAngle = 2;
  p->OutAngle = -3;
  p->TransAngle = 0.75;
  p->PathLength = 1.25;
  p->Deviation = 0.001;
  p->GroundID = 1;
  p->InputID = 4;
  p->OutputID = 5;
  p->SetMechType(1);
  for (int32_t k = 0; k < p->ICCount(); ++k) p->GetICByNumber(k)->SetXY(k, -k * 0.5);
  p->GetICByNumber(3)->Inf = true;
  return p;
}

std::string Written(const TComplex& point) {
  std::ostringstream out;
  point.WriteToText(out);
  return out.str();
}

TEST(PathPointTest, RecordLinesAndRoundTrip) {
  TPathPoint fresh;
  fresh.Time = 0.5;
  const std::string text = Written(fresh);
  const auto lines = shared::SplitTextLines(text);
  // "[PathPoint]", the curve point record (11 lines), then the path point's own lines, then six
  // centre records of five lines.
  ASSERT_EQ(lines.size(), 1 + 11 + 11 + 6 * 5u);
  EXPECT_EQ(lines[0], "[PathPoint]");
  const std::vector<std::string> own(lines.begin() + 12, lines.begin() + 23);
  EXPECT_EQ(own, (std::vector<std::string>{"0", " 5.00000000000000E-0001 Time", " 0.00000000000000E+0000 In",
                                           " 0.00000000000000E+0000 Out", " 0.00000000000000E+0000 Trans",
                                           " 0.00000000000000E+0000 L", " 0.00000000000000E+0000 E", "1", "2",
                                           "3", "0 MT"}));

  const auto source = SamplePoint();
  const std::string record = Written(*source);
  TPathPoint read;
  std::istringstream in(record);
  read.ReadFromText(in);
  EXPECT_EQ(read.MechType(), 1);
  EXPECT_EQ(read.InputID, 4);
  EXPECT_TRUE(read.GetICByNumber(3)->Inf);
  EXPECT_EQ(Written(read), record);
  // Clone and Assign carry the same.
  std::unique_ptr<TPathPoint> clone(source->Clone());
  EXPECT_EQ(Written(*clone), record);
}

TEST(PathPointTest, DamagedRecordsRaiseTheReadError) {
  const std::string record = Written(*SamplePoint());
  const auto read = [](std::istream& in) {
    TPathPoint p;
    p.ReadFromText(in);
  };
  vesktest::ExpectDamageRefused(record, read);
  auto lines = shared::SplitTextLines(record);
  for (const std::string type : {"9 MT", "-1 MT", "255 MT"}) {
    lines[22] = type;
    EXPECT_EQ(ReadError(Lines(lines), read), "File read error in TPathPoint!") << type;
  }
}

TEST(PathPointListTest, ListRecordRoundTripsByteForByte) {
  TPathPointList path;
  path.Add(SamplePoint());
  auto second = SamplePoint();
  second->SetMechType(6);
  path.Add(std::move(second));
  path.GetPathPoint(1)->In = 1.5;  // Add had set it to 0
  std::ostringstream out;
  path.Write(out);
  const std::string record = out.str();
  // The last centre's Inf line, then the list's own line.
  EXPECT_EQ(record.substr(record.size() - 9), " Inf\r\n0\r\n");

  TPathPointList read;
  std::istringstream in(record);
  read.Read(in);
  ASSERT_EQ(read.Count(), 2);
  EXPECT_EQ(read.GetPathPoint(2)->ICCount(), 28);
  EXPECT_FALSE(read.IsModified());
  // The stored values stand, not those the list works out as points are added.
  EXPECT_EQ(read.GetPathPoint(1)->In, 1.5);
  std::ostringstream again;
  read.Write(again);
  EXPECT_EQ(again.str(), record);
  // The name line takes any text; the list's last line is skipped unread.
  const size_t last = shared::SplitTextLines(record).size() - 1;
  vesktest::ExpectDamageRefused(record, [](std::istream& s) { TPathPointList(121).Read(s); }, {2, last});
}

TEST(PathPointListTest, HtmlTableNamesTheGraphShown) {
  shared::CreateConvert();
  enginetest::TRecordingPaintBox box{300, 200};
  TGraphPaintBox graph(box, shared::Convert());
  graph.YTitle = "Path <Velocity>";
  graph.YUnit = shared::cuVel;
  graph.AddPoint(0, 0.002);

  TPathPointList path;
  auto a = std::make_unique<TPathPoint>(0.003, 0.004);
  a->Time = 0.5;
  a->GetPole()->SetXY(0.001, -0.002);
  path.Add(std::move(a));
  auto b = std::make_unique<TPathPoint>(0.006, 0.008);
  b->InAngle = kPi / 2;
  b->GetPole()->SetXY(0, 1);
  b->GetPole()->Inf = true;
  path.Add(std::move(b));
  std::ostringstream out;
  path.WriteHtml(out, graph);
  const std::string vel = shared::Convert().UnitLabel(shared::cuVel);
  const std::string time = shared::Convert().UnitLabel(shared::cuTime);
  const std::string v1 = shared::Convert().FormatSI(shared::cuVel, 0.002);
  const std::string v0 = shared::Convert().FormatSI(shared::cuVel, 0);
  const std::string t1 = shared::Convert().FormatSI(shared::cuTime, 0.5);
  const std::string t0 = shared::Convert().FormatSI(shared::cuTime, 0);
  EXPECT_EQ(out.str(),
            "<table border=\"2\" bordercolor=\"#000000\" width=\"100%\">\r\n"
            "<tr><td colspan=\"8\" bgcolor=\"#FFFFCC\"><font face=\"Arial\" size=\"4\">Path "
            "points</font></td></tr>\r\n"
            "<tr>\r\n<td width=\"9%\">Nr.</td>\r\n<td width=\"13%\">Time" +
                time +
                "</td>\r\n"
                "<td width=\"13%\">Input Rotation[\xB0]</td>\r\n<td width=\"13%\">Path x [mm]</td>\r\n"
                "<td width=\"13%\">Path y [mm]</td>\r\n<td width=\"13%\">Path &lt;Velocity&gt; " +
                vel +
                "</td>\r\n"
                "<td width=\"13%\">IC x [mm]</td>\r\n<td width=\"13%\">IC y [mm]</td>\r\n</tr>\r\n"
                "<tr>\r\n<td>1</td>\r\n<td>" +
                t1 + "</td>\r\n<td>0.000</td>\r\n<td>3.000</td>\r\n<td>4.000</td>\r\n<td>" + v1 +
                "</td>\r\n<td>1.000</td>\r\n<td>-2.000</td>\r\n</tr>\r\n"
                "<tr>\r\n<td>2</td>\r\n<td>" +
                t0 + "</td>\r\n<td>90.000</td>\r\n<td>6.000</td>\r\n<td>8.000</td>\r\n<td>" + v0 +
                "</td>\r\n<td>infinity</td>\r\n<td>infinity</td>\r\n</tr>\r\n"
                "</table>\r\n<p></p>\r\n");
  shared::FreeConvert();
}

TEST(PathPointTest, DrawsThePoleOnlyWhenCentresAreShownAndItIsFinite) {
  vesktest::TSynthView view;
  TPathPointList path;
  path.Add(std::make_unique<TPathPoint>(0.5, 0.5));
  TPathPoint& p = *path.GetPathPoint(1);
  p.GetPole()->SetXY(1, 0);
  p.Draw(view.canvas);
  EXPECT_TRUE(view.log.empty()) << "centres not shown";

  AppOptions.ShowInstantCenters = true;
  p.Draw(view.canvas);
  EXPECT_TRUE(view.box.Screen.Logged({"Pen 8080 1 0"}));
  const size_t unselected = view.log.size();
  view.log.clear();
  path.Select(1);
  p.Draw(view.canvas);
  EXPECT_TRUE(view.box.Screen.Logged({"Pen FF00 1 0"}));
  EXPECT_GT(view.log.size(), unselected) << "the point itself as well";
  view.log.clear();
  p.GetPole()->Inf = true;
  p.Draw(view.canvas);
  EXPECT_TRUE(view.log.empty()) << "pole at infinity";
  ResetAppOptions();
}

}  // namespace
