// The mechanism base: default layout, position analysis against the test's own loop closure,
// the block synthesis, stepping, the record and the list row.
#include "synthesis/engine/Mechanism.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <sstream>

#include "shared/Convert.h"
#include "synthesis/engine/Fourbar.h"
#include "shared/TextLine.h"
#include "tests/synthesis/engine/KnownFourbar.h"
#include "tests/synthesis/engine/RecordText.h"
#include "tests/synthesis/engine/SynthCanvas.h"
#include "synthesis/engine/AppOptions.h"

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

}  // namespace
