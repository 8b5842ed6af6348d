// The eight-bar, slider four-bar and five-bar: default layouts, generated candidates stepped
// through their cycle as rigid linkages, the five-bar's wheels and belt, the eight-bar's drag,
// and the records each exports to the animator.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "shared/TabLine.h"
#include "synthesis/engine/CMatrix.h"
#include "synthesis/engine/ComplexLine.h"
#include "synthesis/engine/Eightbar.h"
#include "synthesis/engine/FiveBar.h"
#include "synthesis/engine/InputFunction.h"
#include "synthesis/engine/Random.h"
#include "synthesis/engine/Slider.h"
#include "synthesis/engine/Spline.h"
#include "tests/synthesis/engine/SynthCanvas.h"

namespace {

using namespace vesk;
using shared::TComplex;
constexpr double kPi = std::numbers::pi;

// Samples of the coupler path of a crank-rocker (ground 1, crank 0.3, coupler 0.9, rocker 0.8).
const double kCurve[][2] = {{0.863768221, 0.005722727}, {0.821343882, 0.014989800}, {0.760172590, 0.024885999},
                            {0.686238478, 0.032924822}, {0.605230085, 0.035304690}, {0.522419187, 0.028720371},
                            {0.442806413, 0.011240277}};

double Distance(const TMechanism& m, int32_t a, int32_t b) {
  const TJoint* p = m.Joints.GetJoint(a);
  const TJoint* q = m.Joints.GetJoint(b);
  return std::hypot(p->X - q->X, p->Y - q->Y);
}

TComplex At(const TMechanism& m, int32_t i) { return TComplex(m.Joints.GetJoint(i)->X, m.Joints.GetJoint(i)->Y); }

class ChainTypesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDefaultInputFunction();
    CreateCMatrix();
    shared::CreateTabLines();
    for (const auto& p : kCurve) curve.Add(std::make_unique<TPrePoint>(p[0], p[1]));
    curve.Recalc();
  }
  void TearDown() override { shared::FreeTabLines(); }

  // The first valid candidate from the seed.
  bool Generated(TMechanism& m, uint64_t seed = 5) {
    SeedRandom(seed);
    for (int attempt = 0; attempt < 20000; ++attempt) {
      m.Generate(curve, nullptr, nullptr);
      if (m.Error.Valid) return true;
    }
    return false;
  }

  static std::vector<std::vector<std::string>> Section(const std::string& name) {
    std::vector<std::vector<std::string>> records;
    const std::vector<std::string>& lines = shared::TabLines().Lines;
    size_t i = 0;
    while (i < lines.size() && lines[i] != "[" + name + ">") ++i;
    for (++i; i < lines.size() && lines[i] != "<" + name + "]"; ++i) {
      std::vector<std::string> fields;
      std::string field;
      std::istringstream in(lines[i]);
      while (std::getline(in, field, '\t')) fields.push_back(field);
      records.push_back(fields);
    }
    return records;
  }
  static void Export(TMechanism& m) {
    shared::TabLines().Clear();
    m.ExportToAnimator();
  }

  TSpline curve;
};

struct TTypeCase {
  const char* Name;
  std::function<std::unique_ptr<TMechanism>()> Make;
  uint8_t Type;
  int32_t Joints;
  // Joint pairs of one link whose distance may change (the belt's tangent points stay put).
  std::vector<std::pair<int32_t, int32_t>> Exempt;
};

const std::vector<TTypeCase>& TypeCases() {
  static const std::vector<TTypeCase> cases = {
      {"eight-bar", [] { return std::make_unique<TEightbar>(); }, kEightbarType, 10, {}},
      {"slider", [] { return std::make_unique<TSlider>(); }, kSliderType, 5, {}},
      {"five-bar", [] { return std::make_unique<TFiveBar>(); }, kFiveBarType, 8, {{3, 2}, {2, 3}, {6, 5}, {5, 6}}},
  };
  return cases;
}

TEST_F(ChainTypesTest, GeneratedCandidatesStayRigidAndTraceTheirPath) {
  for (const TTypeCase& c : TypeCases()) {
    SCOPED_TRACE(c.Name);
    std::unique_ptr<TMechanism> m = c.Make();
    EXPECT_EQ(m->MechanismType, c.Type);
    ASSERT_EQ(m->Joints.Count(), c.Joints);
    ASSERT_TRUE(Generated(*m));
    // The coupler point starts on the curve's first precision point.
    const TJoint* point = m->Joints.Origin();
    ASSERT_NE(point, nullptr);
    EXPECT_NEAR(point->X, m->PrecisionPoints.GetPoint(1)->X, 1e-12);
    EXPECT_NEAR(point->Y, m->PrecisionPoints.GetPoint(1)->Y, 1e-12);

    // Every pair of joints on one link, with its length at the start.
    struct TPair {
      int32_t a, b;
      double length;
    };
    std::vector<TPair> pairs;
    for (int32_t l = 1; l <= m->Links.Count(); ++l) {
      const TLink& link = *m->Links.GetLink(l);
      for (int32_t i = 1; i <= link.JointCount(); ++i)
        for (int32_t j = i + 1; j <= link.JointCount(); ++j) {
          const int32_t a = link.Joint(i)->Index(), b = link.Joint(j)->Index();
          bool exempt = false;
          for (const auto& e : c.Exempt) exempt = exempt || (e.first == a && e.second == b);
          if (!exempt) pairs.push_back({a, b, Distance(*m, a, b)});
        }
    }
    const int32_t steps = m->InputFunction.Steps();
    ASSERT_GT(m->PathPoints.Count(), steps);
    const double increment = m->Links.GetLink(2)->Rot[9] / steps;
    const TComplex start1 = At(*m, 1);
    for (int32_t k = 1; k <= steps; ++k) {
      ASSERT_TRUE(m->StepInput(increment)) << k;
      for (const TPair& p : pairs) ASSERT_NEAR(Distance(*m, p.a, p.b), p.length, 1e-9) << k << ' ' << p.a << '-' << p.b;
      const TPathPoint* expected = m->PathPoints.GetPathPoint(k + 1);
      ASSERT_NEAR(m->Joints.Origin()->X, expected->X, 1e-9) << k;
      ASSERT_NEAR(m->Joints.Origin()->Y, expected->Y, 1e-9) << k;
      // The ground pivot never moves.
      ASSERT_EQ(At(*m, 1).X, start1.X);
      ASSERT_EQ(At(*m, 1).Y, start1.Y);
    }
    // A copy is of the same chain: it moves as the original does.
    std::unique_ptr<TMechanism> copy = m->Clone();
    EXPECT_EQ(copy->MechanismType, c.Type);
    EXPECT_EQ(copy->Name, m->Name);
    ASSERT_TRUE(copy->StepInput(-increment));
    ASSERT_TRUE(m->StepInput(-increment));
    for (int32_t i = 1; i <= c.Joints; ++i) {
      EXPECT_EQ(At(*copy, i).X, At(*m, i).X) << i;
      EXPECT_EQ(At(*copy, i).Y, At(*m, i).Y) << i;
    }
    // Transmission angles are folded into [0, pi/2].
    const double t = m->TransmissionAngle();
    EXPECT_GE(t, 0);
    EXPECT_LE(t, kPi / 2);
  }
}

TEST_F(ChainTypesTest, DefaultLayouts) {
  TEightbar eight;
  EXPECT_EQ(eight.Name, "Eight Bar");
  EXPECT_EQ(eight.Joints.Count(), 10);
  EXPECT_EQ(eight.Links.Count(), 8);
  EXPECT_EQ(eight.Links.OutputLink, eight.Links.GetLink(8));
  EXPECT_FALSE(eight.Links.GetLink(8)->Free());
  EXPECT_EQ(eight.Joints.Origin(), eight.Joints.GetJoint(10));
  EXPECT_DOUBLE_EQ(eight.Links.GetLink(2)->MaxAngle, 1.9 * kPi);

  TSlider slider;
  EXPECT_EQ(slider.Name, "Slider Four Bar");
  const TJoint* j3 = slider.Joints.GetJoint(3);
  EXPECT_TRUE(j3->Inf);
  EXPECT_EQ(j3->X, 0);
  EXPECT_EQ(j3->Y, 1);
  EXPECT_EQ(slider.Links.GetLink(4)->Mode(), 4);
  EXPECT_NE(slider.Links.GetLink(4)->GuideLine(), nullptr);
  EXPECT_DOUBLE_EQ(slider.Links.GetLink(4)->MaxAngle, 0.001);

  TFiveBar five;
  EXPECT_EQ(five.Name, "Five Bar");
  EXPECT_EQ(five.Joints.Count(), 8);
  EXPECT_EQ(five.Links.Count(), 6);
  EXPECT_EQ(five.Links.OutputLink, five.Links.GetLink(6));
  EXPECT_EQ(five.Links.GetLink(2)->GetName(), "ACB");
  EXPECT_FALSE(five.Links.GetLink(3)->Free());
  EXPECT_FALSE(five.Links.GetLink(4)->Free());
}

TEST_F(ChainTypesTest, EightBarBodyTranslatesOverItsPath) {
  TEightbar m;
  ASSERT_TRUE(Generated(m));
  auto bodyAngle = [&m] {
    const TComplex a = At(m, 5), b = At(m, 6);
    return std::atan2(b.Y - a.Y, b.X - a.X);
  };
  const double start = bodyAngle();
  const double increment = m.Links.GetLink(2)->Rot[9] / m.InputFunction.Steps();
  for (int32_t k = 1; k <= m.InputFunction.Steps(); ++k) {
    ASSERT_TRUE(m.StepInput(increment));
    ASSERT_NEAR(bodyAngle(), start, 1e-9) << k;
  }
}

TEST_F(ChainTypesTest, EightBarDragMovesTheJointsOfItsGroup) {
  struct TCase {
    int32_t joint;
    std::vector<int32_t> moved;
    bool offset;
  };
  const std::vector<TCase> cases = {
      {1, {1, 2, 3, 4, 5, 6, 7, 8, 9}, true}, {4, {1, 2, 3, 4, 5, 6, 7, 8, 9}, true}, {6, {6, 7}, false},
      {7, {6, 7}, false}, {9, {8, 9}, false}, {5, {}, false}, {10, {}, false},
  };
  const TComplex d(0.03, -0.02);
  for (const TCase& c : cases) {
    TEightbar m;
    std::vector<TComplex> before;
    for (int32_t i = 1; i <= 10; ++i) before.push_back(At(m, i));
    m.Joints.Select(c.joint);
    TComplex target = At(m, c.joint);
    target.AddTo(d);
    m.DragJoint(target);
    for (int32_t i = 1; i <= 10; ++i) {
      const bool moves = std::find(c.moved.begin(), c.moved.end(), i) != c.moved.end();
      EXPECT_NEAR(At(m, i).X, before[size_t(i - 1)].X + (moves ? d.X : 0), 1e-15) << c.joint << ' ' << i;
      EXPECT_NEAR(At(m, i).Y, before[size_t(i - 1)].Y + (moves ? d.Y : 0), 1e-15) << c.joint << ' ' << i;
    }
    EXPECT_NEAR(m.Links.Offset.X, c.offset ? -d.X : 0, 1e-15) << c.joint;
    EXPECT_NEAR(m.Links.Offset.Y, c.offset ? -d.Y : 0, 1e-15) << c.joint;
  }
}

TEST_F(ChainTypesTest, SliderGuideRunsAcrossTheRockerAtItsPivot) {
  TSlider m;
  ASSERT_TRUE(Generated(m));
  const TComplexLine* guide = m.Links.GetLink(4)->GuideLine();
  ASSERT_NE(guide, nullptr);
  const TComplex j3 = At(m, 3), j4 = At(m, 4);
  const TComplex w(j4.X - j3.X, j4.Y - j3.Y);
  const double theta9 = m.Links.GetLink(4)->Rot[9];
  EXPECT_NEAR(guide->Point1.X, j4.X, 1e-15);
  EXPECT_NEAR(guide->Point1.Y, j4.Y, 1e-15);
  // Perpendicular to the rocker, as long as the rocker's end sweeps.
  const TComplex g(guide->Point2.X - j4.X, guide->Point2.Y - j4.Y);
  EXPECT_NEAR(g.X * w.X + g.Y * w.Y, 0, 1e-12);
  EXPECT_NEAR(std::hypot(g.X, g.Y), std::hypot(w.X, w.Y) * std::fabs(theta9), 1e-12);
}

// R1 + R2 is 0.33 of the pivots' distance and F the belt's angle at the wheels.
TEST_F(ChainTypesTest, FiveBarWheelGeometry) {
  struct TCase {
    double ratio, r1, r2, f;
  };
  const std::vector<TCase> cases = {
      {1, 0.165, 0.165, kPi / 2},
      {-2, 0.22, 0.11, kPi / 2 - std::asin(0.33)},
      {2, 0.22, 0.11, kPi / 2 - std::asin(0.5 * 0.22)},
  };
  for (const TCase& c : cases) {
    double r1 = 0, r2 = 0, f = 0;
    ASSERT_TRUE(TFiveBar::WheelGeometry(c.ratio, 1.0, r1, r2, f)) << c.ratio;
    EXPECT_NEAR(r1, c.r1, 1e-15) << c.ratio;
    EXPECT_NEAR(r2, c.r2, 1e-15) << c.ratio;
    EXPECT_NEAR(f, c.f, 1e-15) << c.ratio;
  }
  // Any usable ratio keeps the arcsin within reach: a finite angle.
  for (double ratio : {1e-12, 0.2, 4.8, 5.0, -0.2, -1e12}) {
    double r1 = 0, r2 = 0, f = 0;
    ASSERT_TRUE(TFiveBar::WheelGeometry(ratio, 0.7, r1, r2, f)) << ratio;
    EXPECT_TRUE(std::isfinite(f)) << ratio;
    EXPECT_NEAR(r1 + r2, 0.33 * 0.7, 1e-12) << ratio;
  }
  // No wheels for a ratio of 0 or no number, nor for coincident ground pivots.
  for (auto [ratio, distance] : std::vector<std::pair<double, double>>{
           {0, 1}, {std::nan(""), 1}, {HUGE_VAL, 1}, {1, 0}, {1, std::nan("")}}) {
    double r1 = 0, r2 = 0, f = 0;
    EXPECT_FALSE(TFiveBar::WheelGeometry(ratio, distance, r1, r2, f)) << ratio << ' ' << distance;
  }
}

TEST_F(ChainTypesTest, FiveBarBuildsItsWheelsOnTheSynthesisedPivots) {
  TFiveBar m;
  ASSERT_TRUE(Generated(m));
  const double r = m.Links.Ratio;
  // The coupler point hangs 0.05 below the joint of the dyads.
  EXPECT_NEAR(At(m, 7).X - At(m, 8).X, 0, 1e-15);
  EXPECT_NEAR(At(m, 7).Y - At(m, 8).Y, 0.05, 1e-15);
  const TComplex j1 = At(m, 1), j4 = At(m, 4);
  const double d = std::hypot(j4.X - j1.X, j4.Y - j1.Y);
  const TComplex t1(At(m, 2).X - j1.X, At(m, 2).Y - j1.Y), t2(At(m, 5).X - j4.X, At(m, 5).Y - j4.Y);
  EXPECT_NEAR(std::hypot(t1.X, t1.Y) + std::hypot(t2.X, t2.Y), 0.33 * d, 1e-12);
  EXPECT_NEAR(std::hypot(t1.X, t1.Y), std::fabs(r) * std::hypot(t2.X, t2.Y), 1e-12);
  // Parallel tangent radii for an open belt, opposite for a crossed one.
  const double cross = t1.X * t2.Y - t1.Y * t2.X, dot = t1.X * t2.X + t1.Y * t2.Y;
  EXPECT_NEAR(cross, 0, 1e-12);
  EXPECT_EQ(dot > 0, r > 0);

  // Wheel 2 turns r times as far as wheel 1.
  const TComplex c1(At(m, 3).X - j1.X, At(m, 3).Y - j1.Y), c2(At(m, 6).X - j4.X, At(m, 6).Y - j4.Y);
  // A tenth of the synthesised input range, which the linkage passes.
  const double x = m.Links.GetLink(2)->Rot[9] / 10;
  ASSERT_TRUE(m.StepInput(x));
  const TComplex e1(At(m, 3).X - j1.X, At(m, 3).Y - j1.Y), e2(At(m, 6).X - j4.X, At(m, 6).Y - j4.Y);
  const double turn1 = std::atan2(c1.X * e1.Y - c1.Y * e1.X, c1.X * e1.X + c1.Y * e1.Y);
  const double turn2 = std::atan2(c2.X * e2.Y - c2.Y * e2.X, c2.X * e2.X + c2.Y * e2.Y);
  EXPECT_NEAR(turn1, x, 1e-12);
  EXPECT_NEAR(std::remainder(turn2 - r * x, 2 * kPi), 0, 1e-12);
}

// A ratio of 0 or not a number (a project file may hold one) and coincident ground pivots
// cannot give wheels: the candidate fails instead of carrying undefined joints.
TEST_F(ChainTypesTest, FiveBarWithoutUsableWheelsFails) {
  TFiveBar m;
  ASSERT_TRUE(Generated(m));
  for (double ratio : {0.0, std::nan(""), HUGE_VAL}) {
    TFiveBar copy;
    copy.Assign(m);
    copy.Links.Ratio = ratio;
    EXPECT_FALSE(copy.Synthesize()) << ratio;
    for (int32_t i = 1; i <= 8; ++i) EXPECT_TRUE(std::isfinite(At(copy, i).X) && std::isfinite(At(copy, i).Y)) << i;
    // Stepping one with a ratio of no number (as read from a file) moves nothing; with 0 the
    // second wheel merely stands still.
    if (ratio == 0) continue;
    TFiveBar read;
    read.Assign(m);
    read.Links.Ratio = ratio;
    EXPECT_FALSE(read.StepInput(0.1)) << ratio;
    for (int32_t i = 1; i <= 8; ++i) EXPECT_EQ(At(read, i).X, At(m, i).X) << i;
  }

}

// Round a loop wheel 2 must come back with wheel 1 after one turn: the belt ratio drawn for a
// closed curve is a whole number, within the open curve's range; an open curve's is not held to it.
TEST_F(ChainTypesTest, FiveBarOnALoopTurnsItsSecondWheelWholeTurns) {
  auto fill = [](TSpline& curve, int points, double sweep) {
    for (int k = 0; k < points; ++k) {
      const double t = sweep * k / (points - 1);
      curve.Add(std::make_unique<TPrePoint>(0.2 * std::cos(t), 0.15 * std::sin(t)));
    }
    if (sweep == 2 * std::numbers::pi) curve.GetPoint(points)->Assign(*curve.GetPoint(1));
    curve.Recalc();
  };
  TSpline loop, arc;
  fill(loop, 13, 2 * std::numbers::pi);
  fill(arc, 7, 2.0);
  ASSERT_TRUE(loop.IsClosed());
  ASSERT_FALSE(arc.IsClosed());
  TRandom random(29);
  TRandomScope scope(random);
  TFiveBar m;
  int fractions = 0;
  for (int n = 0; n < 300; ++n) {
    m.Generate(loop, nullptr, nullptr);
    const double ratio = m.Links.Ratio;
    EXPECT_EQ(ratio, std::round(ratio)) << n;
    EXPECT_NE(ratio, 0.0) << n;
    EXPECT_LE(std::fabs(ratio), 5.0) << n;
    m.Generate(arc, nullptr, nullptr);
    if (m.Links.Ratio != std::round(m.Links.Ratio)) ++fractions;
  }
  EXPECT_GT(fractions, 250);
}

TEST_F(ChainTypesTest, ExportRecordsPerType) {
  TEightbar eight;
  Export(eight);
  auto joints = Section("Joints");
  ASSERT_EQ(joints.size(), 11u);
  EXPECT_EQ(joints[10], (std::vector<std::string>{"K", joints[2][1], joints[2][2], "0", "0", "0", "0", "0", "0"}));
  const auto links = Section("Links");
  ASSERT_EQ(links.size(), 8u);
  EXPECT_EQ(links[3], (std::vector<std::string>{"CDK", "PPP", "0", "0"}));
  EXPECT_EQ(links[4], (std::vector<std::string>{"GHK", "PPP", "0", "0"}));
  EXPECT_EQ(links[7], (std::vector<std::string>{"EFJ", "PPP", "1", "1"}));
  EXPECT_EQ(Section("Dyads"), (std::vector<std::vector<std::string>>{{"BCE", "CDK"}, {"GHK", "HI"}, {"EFJ", "FG"}}));

  TSlider slider;
  slider.Joints.GetJoint(3)->Inf = false;
  slider.Joints.GetJoint(3)->X = 0.2;
  slider.Joints.GetJoint(3)->Y = 4.9;  // 5 above J4
  Export(slider);
  joints = Section("Joints");
  ASSERT_EQ(joints.size(), 5u);
  std::string letters;
  for (const auto& j : joints) letters += j[0];
  EXPECT_EQ(letters, "ABDCE");
  // 0.1 |J2 - J4| towards J3 from J4: |J2 - J4| = hypot(0.6, 0.015).
  EXPECT_NEAR(std::stod(joints[2][1]), 0.2, 1e-14);
  EXPECT_NEAR(std::stod(joints[2][2]), -0.1 + 0.1 * std::hypot(0.6, 0.015), 1e-14);
  EXPECT_EQ(joints[3][3], "1");  // joint 4's trace
  EXPECT_EQ(Section("Links"), (std::vector<std::vector<std::string>>{
                                  {"AD", "PS", "0", "1"}, {"AB", "PP", "0", "0"}, {"BCE", "PPP", "1", "1"}, {"CD", "PS", "0", "0"}}));
  EXPECT_EQ(Section("Dyads"), (std::vector<std::vector<std::string>>{{"BCE", "CD"}}));

  TFiveBar five;
  five.Links.Ratio = -1.5;
  five.InputFunction.SetXmax(2.0);
  Export(five);
  joints = Section("Joints");
  letters.clear();
  std::string inputs;
  for (const auto& j : joints) {
    letters += j[0];
    inputs += j[7];
  }
  EXPECT_EQ(letters, "ACDFGH");
  EXPECT_EQ(inputs, "101000");
  EXPECT_EQ(Section("Links"), (std::vector<std::vector<std::string>>{
                                  {"AD", "PP", "0", "0"}, {"AC", "PP", "0", "0"}, {"DF", "PP", "0", "0"}, {"CG", "PP", "0", "0"},
                                  {"FGH", "PPP", "1", "1"}}));
  EXPECT_EQ(Section("Dyads"), (std::vector<std::vector<std::string>>{{"CG", "FGH"}}));
  const auto inputD = Section("Input D");
  ASSERT_EQ(inputD.size(), 1u);
  EXPECT_NEAR(std::stod(inputD[0][2]), -3.0, 1e-13);
  EXPECT_NEAR(std::stod(Section("Input A").at(0).at(2)), 2.0, 1e-13);
}

}  // namespace

namespace {

// The default five-bar at 100 pixels a unit, origin at pixel (200, 200), y up: wheel 1 about
// J1 (190, 230) through J2, radius 0.1 sqrt 2; wheel 2 about J4 (250, 250) through J5.
TEST(FiveBarDrawing, WheelsShowCircleCrankAndItsOppositeWithAMarkerOnWheelOne) {
  vesk::CreateDefaultInputFunction();
  vesk::TFiveBar m;
  vesktest::TSynthView view;
  m.DrawLinks(view.canvas);
  // Wheel 2: radius |J5 - J4| = 0.6096, crank to J6 (250, 200), the opposite point below the
  // centre (250, 311). Wheel 1: radius 0.1414, crank to J3 (200, 220), its opposite at
  // J1 - (J3 - J1) = (180, 240), then the red marker about the centre.
  EXPECT_TRUE(view.box.Screen.Logged({"Ellipse 189,189 311,311", "M 250,250", "L 250,200", "M 250,250", "L 250,311",
                                      "Ellipse 176,216 204,244", "M 190,230", "L 200,220", "M 190,230", "L 180,240",
                                      "Pen FF 1 0", "M 195,240"}));
  // Only the two wheels are circles.
  EXPECT_EQ(view.box.Screen.CountOf("Ellipse"), 2);
}

}  // namespace
