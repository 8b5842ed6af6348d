// The mechanism base: default layout, position analysis against the test's own loop closure,
// the block synthesis, stepping, the record and the list row.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <sstream>

#include "shared/Convert.h"
#include "shared/TextLine.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/Fourbar.h"
#include "synthesis/engine/Mechanism.h"
#include "synthesis/engine/Random.h"
#include "synthesis/engine/SixBar.h"
#include "synthesis/engine/Spline.h"
#include "tests/synthesis/engine/KnownFourbar.h"
#include "tests/synthesis/engine/RecordText.h"
#include "tests/synthesis/engine/SynthCanvas.h"

namespace {

using namespace vesk;
using vesktest::Cx;
using vesktest::TLoop;
using vesktest::ToCx;

class MechanismTest : public vesktest::TMechanismTest {};

TEST_F(MechanismTest, NewMechanismIsTheDefaultFourBar) {
  TMechanism m;
  EXPECT_EQ(m.Name, "Four bar*");
  EXPECT_TRUE(m.Visible);
  EXPECT_EQ(m.ID, 0);
  EXPECT_FALSE(m.IsModified());
  const double xy[5][2] = {{-0.4, -0.25}, {-0.4, -0.115}, {0.2, -0.4}, {0.2, -0.1}, {0, 0}};
  ASSERT_EQ(m.Joints.Count(), 5);
  for (int i = 1; i <= 5; ++i) {
    EXPECT_EQ(m.Joints.GetJoint(i)->X, xy[i - 1][0]) << i;
    EXPECT_EQ(m.Joints.GetJoint(i)->Y, xy[i - 1][1]) << i;
  }
  EXPECT_EQ(m.Joints.Origin(), m.Joints.GetJoint(5));
  EXPECT_EQ(m.Joints.Selected(), nullptr);
  struct {
    uint8_t type, mode;
    std::vector<int> joints;
  } links[] = {{kGroundLink, 0, {1, 3}}, {kInputLink, 1, {1, 2}}, {kOutputLink, 2, {2, 4, 5}}, {kOtherLink, 2, {3, 4}}};
  ASSERT_EQ(m.Links.Count(), 4);
  for (int i = 1; i <= 4; ++i) {
    const TLink& l = *m.Links.GetLink(i);
    EXPECT_EQ(l.Type(), links[i - 1].type) << i;
    EXPECT_EQ(l.Mode(), links[i - 1].mode) << i;
    ASSERT_EQ(l.JointCount(), int(links[i - 1].joints.size())) << i;
    for (int k = 1; k <= l.JointCount(); ++k) EXPECT_EQ(l.Joint(k), m.Joints.GetJoint(links[i - 1].joints[k - 1]));
  }
  EXPECT_NEAR(m.Links.GetLink(2)->MaxAngle, 1.9 * std::numbers::pi, 1e-15);
  EXPECT_EQ(m.Links.GroundLink, m.Links.GetLink(1));
  EXPECT_EQ(m.Links.InputLink, m.Links.GetLink(2));
  EXPECT_EQ(m.Links.OutputLink, m.Links.GetLink(3));

  TFourbar f;
  EXPECT_EQ(f.Name, "Fourbar");
  EXPECT_EQ(f.MechanismType, kFourbarType);
}

TEST_F(MechanismTest, ImageIndexByTypeMarkAndOptimisation) {
  struct {
    uint8_t type;
    bool marked, optimized;
    int32_t index;
  } cases[] = {{0, false, false, 16}, {1, false, true, 20}, {2, true, true, 24}, {3, true, false, 27},
               {4, false, false, 16}, {5, false, false, 60}, {6, false, true, 55}, {7, false, false, 57},
               {8, true, false, 65}, {9, false, false, 16}};
  TMechanism m;
  for (const auto& c : cases) {
    m.MechanismType = c.type;
    m.Marked = c.marked;
    m.Optimized = c.optimized;
    EXPECT_EQ(m.GetImageIndex(), c.index) << int(c.type) << c.marked << c.optimized;
  }
}

TEST_F(MechanismTest, StepInputFollowsTheLoopClosure) {
  TMechanism m;
  const TLoop start = TLoop::Of(m);
  double turned = 0;
  for (const double angle : {0.2, 0.5, -1.1, 0.05}) {
    ASSERT_TRUE(m.StepInput(angle)) << angle;
    turned += angle;
    const auto pose = start.Pose(turned);
    ASSERT_TRUE(pose);
    EXPECT_LT(std::abs(ToCx(*m.Joints.GetJoint(2)) - pose->J2), 1e-12);
    EXPECT_LT(std::abs(ToCx(*m.Joints.GetJoint(4)) - pose->J4), 1e-12);
    EXPECT_LT(std::abs(ToCx(*m.Joints.GetJoint(5)) - pose->J5), 1e-12);
    EXPECT_EQ(ToCx(*m.Joints.GetJoint(1)), start.J1);
    EXPECT_EQ(ToCx(*m.Joints.GetJoint(3)), start.J3);
  }
}

TEST_F(MechanismTest, StepInputThatCannotCloseOrWithoutFiveJointsMovesNothing) {
  TMechanism m;
  // A coupler and rocker too short to reach: the loop cannot close.
  m.Joints.GetJoint(4)->SetXY(-0.35, -0.12);
  m.Joints.GetJoint(3)->SetXY(-0.3, -0.12);
  const TLoop before = TLoop::Of(m);
  EXPECT_FALSE(m.StepInput(std::numbers::pi));
  EXPECT_EQ(TLoop::Of(m).J2, before.J2);
  EXPECT_EQ(TLoop::Of(m).J4, before.J4);

  TMechanism four;
  four.Links.Clear();
  four.Joints.Delete(5);
  const Cx j2 = ToCx(*four.Joints.GetJoint(2));
  EXPECT_FALSE(four.StepInput(0.1));
  EXPECT_EQ(ToCx(*four.Joints.GetJoint(2)), j2);
}

TEST_F(MechanismTest, MoveAddsAPathPointPerStepAndStopsAtTheFirstFailure) {
  TMechanism m;
  const TLoop start = TLoop::Of(m);
  m.PathPoints.Clear();
  ASSERT_TRUE(m.Move(8, 0.8));
  ASSERT_EQ(m.PathPoints.Count(), 8);
  for (int k = 1; k <= 8; ++k) {
    const TPathPoint& p = *m.PathPoints.GetPathPoint(k);
    EXPECT_LT(std::abs(ToCx(p) - start.Pose(0.1 * k)->J5), 1e-12) << k;
    const Cx j2 = start.Pose(0.1 * k)->J2, j4 = start.Pose(0.1 * k)->J4;
    // The angle at joint 4 between the coupler and the rocker, folded to at most 90 degrees.
    double t = std::acos(std::real(std::conj(j2 - j4) * (start.J3 - j4)) / std::abs(j2 - j4) / std::abs(start.J3 - j4));
    if (t > std::numbers::pi / 2) t = std::numbers::pi - t;
    EXPECT_NEAR(p.TransAngle, t, 1e-12) << k;
  }

  // The default crank cannot turn a full circle: the move stops where the loop breaks.
  TMechanism n;
  n.Joints.GetJoint(2)->SetXY(-0.4, 0.2);
  const TLoop nStart = TLoop::Of(n);
  n.PathPoints.Clear();
  EXPECT_FALSE(n.Move(100, 2 * std::numbers::pi));
  const int made = n.PathPoints.Count();
  EXPECT_LT(made, 100);
  EXPECT_TRUE(nStart.Pose(2 * std::numbers::pi * made / 100));
  EXPECT_FALSE(nStart.Pose(2 * std::numbers::pi * (made + 1) / 100));
}

TEST_F(MechanismTest, BlockSynthesisRebuildsTheKnownLinkage) {
  TMechanism m;
  vesktest::SetExactPrecision(m);
  ASSERT_TRUE(m.Synthesize());
  const TLoop known = vesktest::KnownLoop();
  const TLoop got = TLoop::Of(m);
  EXPECT_LT(std::abs(got.J1 - known.J1), 1e-9);
  EXPECT_LT(std::abs(got.J2 - known.J2), 1e-9);
  EXPECT_LT(std::abs(got.J3 - known.J3), 1e-9);
  EXPECT_LT(std::abs(got.J4 - known.J4), 1e-9);
  EXPECT_EQ(got.J5, ToCx(*m.PrecisionPoints.GetPoint(1)));
  EXPECT_EQ(m.InputFunction.Xmax(), m.Links.GetLink(2)->Rot[9]);
  EXPECT_EQ(m.SynthesisCount, 1);

  // All rotations zero: every coefficient vanishes.
  for (int i = 2; i <= 4; ++i) m.Links.GetLink(i)->Rot.fill(0);
  EXPECT_FALSE(m.Synthesize());
}

TEST_F(MechanismTest, StepForwardAndBackReturnToTheStoredPose) {
  // Every law steps unevenly but the first; 12 steps is the whole cycle, 5 a part of it.
  for (const uint8_t law : {kLawConstantVelocity, kLawConstantAcceleration, kLawPolynomial345, kLawCycloidal}) {
    for (const int32_t out : {5, 12}) {
      SCOPED_TRACE(testing::Message() << "law " << int(law) << ", " << out << " steps");
      TMechanism m;
      const TLoop start = TLoop::Of(m);
      m.InputFunction.SetFunctionType(law);
      m.InputFunction.SetXmax(1.2);
      m.InputFunction.SetSteps(12);
      for (int32_t k = 1; k <= out; ++k) {
        ASSERT_TRUE(m.StepForward());
        EXPECT_LT(std::abs(ToCx(*m.Joints.GetJoint(5)) - start.Pose(m.InputFunction.PositionOfStep(k))->J5), 1e-12);
      }
      EXPECT_EQ(m.InputFunction.CurrentStep, out);
      EXPECT_TRUE(m.HasStoredJoints);
      // Each step back stands where the step forward stood.
      for (int32_t k = out - 1; k >= 0; --k) {
        ASSERT_TRUE(m.StepBack());
        EXPECT_EQ(m.InputFunction.CurrentStep, k);
        EXPECT_LT(std::abs(ToCx(*m.Joints.GetJoint(5)) - start.Pose(m.InputFunction.PositionOfStep(k))->J5), 1e-12)
            << k;
      }
      EXPECT_FALSE(m.StepBack());
      const TLoop back = TLoop::Of(m);
      for (const auto& [got, was] : {std::pair{back.J1, start.J1}, {back.J2, start.J2}, {back.J3, start.J3},
                                     {back.J4, start.J4}, {back.J5, start.J5}})
        EXPECT_LT(std::abs(got - was), 1e-12);
      // The pose that the next cycle keeps as the design is the start.
      ASSERT_TRUE(m.StepForward());
      EXPECT_LT(std::abs(ToCx(*m.StoredJoints.Items(2)) - start.J2), 1e-12);
      m.RestoreJoints();
    }
  }

  TMechanism m;
  const TLoop start = TLoop::Of(m);

  m.StepForward();
  m.RestoreJoints();
  EXPECT_LT(std::abs(ToCx(*m.Joints.GetJoint(2)) - start.J2), 1e-12);
  EXPECT_FALSE(m.HasStoredJoints);
  EXPECT_EQ(m.InputFunction.CurrentStep, 0);
  // The links still hold the mechanism's own joints.
  EXPECT_EQ(m.Links.GetLink(3)->Joint(3), m.Joints.GetJoint(5));
}

TEST_F(MechanismTest, UndoOptimizeDoesNothingUnlessOptimised) {
  TMechanism m;
  m.Error.Total = 3.5;
  m.Links.GetLink(2)->SavedRot.fill(1.0);
  m.UndoOptimize(nullptr, nullptr, nullptr);
  EXPECT_EQ(m.Error.Total, 3.5);
  EXPECT_EQ(m.Links.GetLink(2)->Rot[9], 0.0);
  EXPECT_EQ(m.SynthesisCount, 0);
}

std::string Written(TMechanism& m) {
  std::ostringstream out;
  m.Write(out);
  return out.str();
}

TEST_F(MechanismTest, RecordRoundTripsEveryPart) {
  TFourbar m;
  vesktest::SetExactPrecision(m);
  ASSERT_TRUE(m.Synthesize());
  m.SimulatePath(nullptr);
  m.ID = 17;
  m.Optimized = true;
  m.Name = "Fourbar seventeen";
  m.Error.Total = 0.25;
  const std::string text = Written(m);
  EXPECT_FALSE(m.IsModified());
  EXPECT_EQ(text.substr(0, text.find("\r\n")), "0 Mechanism Type");

  TFourbar copy;
  copy.Visible = false;
  std::istringstream in(text);
  copy.Read(in);
  EXPECT_EQ(Written(copy), text);
  EXPECT_TRUE(copy.Visible);
  EXPECT_FALSE(copy.IsModified());
  EXPECT_EQ(copy.ID, 17);
  EXPECT_EQ(copy.PathPoints.Count(), m.PathPoints.Count());
  EXPECT_EQ(copy.Links.GetLink(3)->Joint(3), copy.Joints.GetJoint(5));
  EXPECT_EQ(copy.Links.InputLink, copy.Links.GetLink(2));
}

TEST_F(MechanismTest, DamagedRecordIsAReadErrorNeverACrash) {
  TFourbar m;
  m.PathPoints.Clear();
  m.Move(2, 0.2);
  const std::string text = Written(m);
  auto lines = shared::SplitTextLines(text);
  {
    auto wrong = lines;
    wrong[1] = "[Mechanisms]";
    EXPECT_EQ(vesktest::ReadError(vesktest::Lines(wrong), [](std::istream& in) { TFourbar().Read(in); }),
              "File read error in TMechanism!");
  }
  for (size_t cut = 0; cut < lines.size(); ++cut) {
    const std::vector<std::string> head(lines.begin(), lines.begin() + cut);
    const std::string error = vesktest::ReadError(vesktest::Lines(head), [](std::istream& in) { TFourbar().Read(in); });
    EXPECT_EQ(error.rfind("File read error in ", 0), 0u) << "cut after " << cut;
  }
}

TEST_F(MechanismTest, AssignAndCloneCopyIntoTheirOwnJoints) {
  TFourbar m;
  vesktest::SetExactPrecision(m);
  ASSERT_TRUE(m.Synthesize());
  m.SimulatePath(nullptr);
  m.ID = 4;
  m.Marked = true;
  auto copy = m.Clone();
  ASSERT_NE(dynamic_cast<TFourbar*>(copy.get()), nullptr);
  EXPECT_EQ(Written(*copy), Written(m));
  for (int i = 1; i <= 4; ++i)
    for (int k = 1; k <= copy->Links.GetLink(i)->JointCount(); ++k)
      EXPECT_EQ(copy->Links.GetLink(i)->Joint(k)->Owner(), &copy->Joints) << i << k;
  EXPECT_EQ(copy->Joints.Origin(), copy->Joints.GetJoint(5));
}

struct TFakeRow : TListRow {
  std::string caption;
  int32_t image = -1;
  std::vector<std::string> items;
  void SetCaption(const std::string& c) override { caption = c; }
  void SetImageIndex(int32_t i) override { image = i; }
  void SetSubItems(const std::vector<std::string>& s) override { items = s; }
};

TEST_F(MechanismTest, ListRowShowsNameImageIdAndTotal) {
  shared::CreateConvert();
  TFourbar m;
  m.UpdateListItem();  // no row bound: nothing to do
  TFakeRow row;
  m.ListItem = &row;
  m.ID = 12;
  m.Optimized = true;
  m.Error.Total = 0.125;
  m.UpdateListItem();
  EXPECT_EQ(row.caption, "Fourbar");
  EXPECT_EQ(row.image, 17);
  ASSERT_EQ(row.items.size(), 2u);
  EXPECT_EQ(row.items[0], "12");
  EXPECT_EQ(row.items[1], shared::Convert().FormatSI(0, 0.125));
}

}  // namespace

namespace {

using namespace vesk;

class MechanismDrawTest : public vesktest::TMechanismTest {};

TEST_F(MechanismDrawTest, DrawShowsPathAndPointsOutsideModeOneAndNothingWhenHidden) {
  TFourbar m;
  vesktest::SetExactPrecision(m);
  ASSERT_TRUE(m.Synthesize());
  m.SimulatePath(nullptr);
  vesktest::TSynthView plain;
  m.Links.Draw(plain.canvas);
  m.Joints.Draw(plain.canvas);

  vesktest::TSynthView modeOne;
  modeOne.canvas.SetMode(1);
  modeOne.log.clear();
  m.Draw(modeOne.canvas);
  EXPECT_EQ(modeOne.log, plain.log);

  vesktest::TSynthView full;
  m.Draw(full.canvas);
  EXPECT_GT(full.log.size(), plain.log.size() + size_t(m.PathPoints.Count()));

  AppOptions.ShowOutputLinkDrawing = true;
  vesktest::TSynthView withDrawing;
  m.Draw(withDrawing.canvas);
  AppOptions.ShowOutputLinkDrawing = false;
  EXPECT_GT(withDrawing.log.size(), full.log.size());

  m.Visible = false;
  vesktest::TSynthView hidden;
  m.Draw(hidden.canvas);
  EXPECT_TRUE(hidden.log.empty());
}

TEST_F(MechanismDrawTest, ExtentsWidenByEveryFiniteJoint) {
  TMechanism m;
  m.Joints.GetJoint(3)->Inf = true;
  shared::TComplex min(0, 0), max(0, 0);
  m.GetExtents(min, max);
  EXPECT_EQ(min.X, -0.4);
  EXPECT_EQ(min.Y, -0.25);
  EXPECT_EQ(max.X, 0.2);
  EXPECT_EQ(max.Y, 0.0);
}

// The guard on the whole curve, on paths laid by hand: a straight stroke of length 1 through 11
// control points and a circle of radius 0.2 run counter-clockwise. Each case breaks one rule
// (or keeps just inside it); the coarse path is held to 0.98 of each bound.
void FillCurve(TSpline& curve, const std::vector<Cx>& points) {
  curve.Clear();
  for (const Cx& p : points) curve.Add(std::make_unique<TPrePoint>(p.real(), p.imag()));
  curve.Recalc();
}

void LayPath(TMechanism& m, const std::vector<Cx>& path) {
  m.PathPoints.Clear();
  for (const Cx& p : path) m.PathPoints.Add(std::make_unique<TPathPoint>(p.real(), p.imag()));
}

std::vector<Cx> Stroke(double from, double to, int steps) {
  std::vector<Cx> points;
  for (int k = 0; k <= steps; ++k) points.emplace_back(from + (to - from) * k / steps, 0);
  return points;
}

std::vector<Cx> Circle(double radius, int steps, double way) {
  std::vector<Cx> points;
  for (int k = 0; k <= steps; ++k)
    points.push_back(std::polar(radius, way * 2 * std::numbers::pi * k / steps));
  points.back() = points.front();
  return points;
}

TEST_F(MechanismTest, FollowsCurveHoldsThePathToTheWholeCurve) {
  TSpline line;
  FillCurve(line, Stroke(0, 1, 10));
  ASSERT_NEAR(line.CurveLength, 1.0, 1e-12);
  // A spike between the control points at 0.5 and 0.6: it strays, and adds twice its height.
  auto spike = [](double height) {
    std::vector<Cx> path = Stroke(0, 1, 100);
    path.insert(path.begin() + 56, Cx(0.555, height));
    return path;
  };
  // Across the stroke and back between samples: length grows, stray stays at the amplitude.
  auto zigzag = [](double amplitude) {
    std::vector<Cx> path;
    for (int k = 0; k <= 100; ++k) path.emplace_back(k / 100.0, k % 2 ? amplitude : 0.0);
    return path;
  };
  const struct {
    const char* what;
    std::vector<Cx> path;
    double inputTurn;
    bool follows;
  } cases[] = {
      {"the stroke", Stroke(0, 1, 100), 1.0, true},
      {"stops 0.08 short", Stroke(0, 0.92, 100), 1.0, true},
      {"stops 0.12 short", Stroke(0, 0.88, 100), 1.0, false},
      {"strays 0.2", spike(0.2), 1.0, true},
      {"strays 0.26", spike(0.26), 1.0, false},
      {"1.48 long", zigzag(0.01091), 1.0, true},
      {"1.64 long", zigzag(0.0130), 1.0, false},
      // Past one turn an input runs its path again.
      {"input turns once", Stroke(0, 1, 100), 2 * std::numbers::pi, true},
      {"input turns more than once", Stroke(0, 1, 100), 7.0, false},
  };
  TMechanism m;
  for (const auto& c : cases) {
    LayPath(m, c.path);
    m.Links.GetLink(2)->Rot[9] = c.inputTurn;
    EXPECT_EQ(m.FollowsCurve(line), c.follows) << c.what << ", path " << m.PathPoints.TotalPathLength();
  }

  // A Watt 2's rated path is run out and back by the animator: its cap is 2.4 lengths, run twice.
  TSixBarW2 watt2;
  ASSERT_TRUE(watt2.RunsOutAndBack());
  for (const auto& [amplitude, follows] : {std::pair{0.00568, true}, {0.00663, false}}) {
    LayPath(watt2, zigzag(amplitude));
    EXPECT_EQ(watt2.FollowsCurve(line), follows) << watt2.PathPoints.TotalPathLength();
  }

  // Round a loop: the curve's way, enclosing its area; the other way round encloses it negatively.
  TSpline circle;
  FillCurve(circle, Circle(0.2, 12, 1));
  ASSERT_TRUE(circle.IsClosed());
  EXPECT_NEAR(circle.LoopArea(), std::numbers::pi * 0.04, 0.002);
  m.PrecisionPoints.Closed = true;
  m.Links.GetLink(2)->Rot[9] = 5.0;
  LayPath(m, Circle(0.2, 120, 1));
  EXPECT_TRUE(m.FollowsCurve(circle));
  LayPath(m, Circle(0.2, 120, -1));
  EXPECT_FALSE(m.FollowsCurve(circle));
  // Out along the upper half and back: no area, and the lower control points missed.
  std::vector<Cx> half = Circle(0.2, 120, 1);
  for (Cx& p : half) p = Cx(p.real(), std::fabs(p.imag()));
  LayPath(m, half);
  EXPECT_FALSE(m.FollowsCurve(circle));
}

// The curves on which the engine knows beforehand that no candidate can follow them: it says why,
// and generation makes no valid candidate there.
TEST_F(MechanismTest, CurveRefusalSaysWhyNothingCanBeFound) {
  TSpline one, spot, stroke, turns, loop;
  FillCurve(one, {Cx(0.1, 0.1)});
  FillCurve(spot, std::vector<Cx>(6, Cx(0.3, 0.2)));
  FillCurve(stroke, Stroke(0, 0.5, 6));
  FillCurve(turns, Stroke(0, 0.5, 6));
  turns.InTotal = true;
  turns.TotalIn = 1000 * std::numbers::pi / 180;
  FillCurve(loop, Circle(0.2, 12, 1));
  TSpline loopTwice;
  FillCurve(loopTwice, Circle(0.2, 12, 1));
  loopTwice.InTotal = true;
  loopTwice.TotalIn = -4 * std::numbers::pi;
  const struct {
    const char* what;
    const TSpline& curve;
    std::string fourbar, watt1;
  } cases[] = {
      {"one point", one, TMechanism::kCurveTooShort, TMechanism::kCurveTooShort},
      {"six points on one spot", spot, TMechanism::kCurveWithoutLength, TMechanism::kCurveWithoutLength},
      {"a stroke", stroke, "", ""},
      {"1000 degrees on an open curve", turns, TMechanism::kTotalInputAboveTurn,
       TMechanism::kTotalInputAboveTurn},
      {"a loop", loop, "", TSixBarW1::kClosedCurveRefusal},
      {"a loop turned twice", loopTwice, TMechanism::kClosedTotalNotATurn, TMechanism::kClosedTotalNotATurn},
  };
  for (const auto& c : cases) {
    TFourbar fourbar;
    TSixBarW1 watt1;
    EXPECT_EQ(fourbar.CurveRefusal(c.curve), c.fourbar) << c.what;
    EXPECT_EQ(watt1.CurveRefusal(c.curve), c.watt1) << c.what;
    if (c.curve.Count() < 2) continue;
    TRandom random(3);
    TRandomScope scope(random);
    for (TMechanism* m : {static_cast<TMechanism*>(&fourbar), static_cast<TMechanism*>(&watt1)}) {
      if (m->CurveRefusal(c.curve).empty()) continue;
      for (int n = 0; n < 200; ++n) {
        m->Generate(c.curve, nullptr, nullptr);
        EXPECT_FALSE(m->Error.Valid) << c.what;
      }
    }
  }
  // One turn exactly is a turn, either way round.
  turns.TotalIn = 2 * std::numbers::pi;
  EXPECT_EQ(TFourbar().CurveRefusal(turns), "");
  loopTwice.TotalIn = -2 * std::numbers::pi;
  EXPECT_EQ(TFourbar().CurveRefusal(loopTwice), "");
  loopTwice.TotalIn = 300 * std::numbers::pi / 180;
  EXPECT_EQ(TFourbar().CurveRefusal(loopTwice), TMechanism::kClosedTotalNotATurn);
}

}  // namespace
