// Links of the animated linkage: names and kinds, angle differences, outlines and hit tests,
// anchor letters; and the dyad that pairs two links.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <utility>
#include <vector>

#include "LogCapture.h"
#include "RecordingCanvas.h"
#include "animator/engine/AniDyad.h"
#include "animator/engine/AniJoint.h"
#include "animator/engine/AniLink.h"
#include "tests/shared/dxf/DXFFixtures.h"

namespace {

using quillon::TAniLink;
using quillon::TScreenPoint;

// The canvas mapping with 10 pixels per unit and the world origin at pixel (100, 100), y up.
TScreenPoint ToScreen(const shared::TComplex& p) {
  return {static_cast<int32_t>(std::nearbyint(p.X * 10)) + 100,
          100 - static_cast<int32_t>(std::nearbyint(p.Y * 10))};
}

// A link whose joints exist (indices 0, 1, ...) at the given world points.
TAniLink MakeLink(const std::string& name, const std::string& kinds,
                  const std::vector<shared::TComplex>& points) {
  TAniLink link;
  link.SetName(name);
  link.SetKinds(kinds);
  for (int32_t k = 0; k < link.JointCount; ++k) link.JointIndex[k] = k;
  link.Points = points;
  return link;
}

TEST(AniLinkTest, NamesAndKinds) {
  TAniLink link;
  EXPECT_EQ(link.Visible, 1);
  EXPECT_EQ(link.N, 90);
  EXPECT_EQ(link.Angle.size(), 91u);
  link.SetName("abc");
  EXPECT_EQ(link.Name, "ABC");
  EXPECT_EQ(link.JointCount, 3);
  EXPECT_EQ(link.Caption(), "Link ABC");
  EXPECT_TRUE(link.SameName("CAB"));
  EXPECT_TRUE(link.SameName("bca"));
  EXPECT_FALSE(link.SameName("AB"));
  EXPECT_FALSE(link.SameName("ABD"));

  EXPECT_EQ(TAniLink::KindOf('P'), 0);
  EXPECT_EQ(TAniLink::KindOf('S'), 1);
  EXPECT_EQ(TAniLink::KindOf('X'), 0);
  link.SetKinds("S");
  EXPECT_EQ(link.KindsText(), "SPP");
  link.SetKinds("psSX");
  EXPECT_EQ(link.KindsText(), "PSS");
  EXPECT_EQ(link.Kind[3], 0) << "kinds beyond the name are cut";
  link.Kind[0] = 7;
  EXPECT_EQ(link.KindsText(), "PSS");

  link.AddJoint('d', 's');
  EXPECT_EQ(link.Name, "ABCD");
  EXPECT_EQ(link.KindsText(), "PSSS");
  EXPECT_EQ(link.JointIndex[3], -1);
}

TEST(AniLinkTest, RemoveJointShiftsLettersKindsAndIndices) {
  TAniLink link = MakeLink("BCBE", "PSPS", {});
  link.JointIndex = {4, 5, 6, 7, 0, 0, 0, 0, 0, 0, 0};
  link.RemoveJoint('x');
  EXPECT_EQ(link.Name, "BCBE");
  link.RemoveJoint('b');  // the last B
  EXPECT_EQ(link.Name, "BCE");
  EXPECT_EQ(link.JointCount, 3);
  EXPECT_EQ(link.KindsText(), "PSS");
  EXPECT_EQ(link.JointIndex[0], 4);
  EXPECT_EQ(link.JointIndex[1], 5);
  EXPECT_EQ(link.JointIndex[2], 7);
  EXPECT_EQ(link.JointIndex[3], -1);
  EXPECT_EQ(link.Kind[3], 0);
}

// A link holds at most 11 joints: a longer name read from a file is cut with a warning, and
// neither kinds nor added joints run past the arrays.
TEST(AniLinkTest, OverlongNameIsCutWithAWarning) {
  enginetest::TLogCapture log;
  const auto& sink = log.sink;
  TAniLink link;
  link.SetName("abcdefghijklm");
  link.SetKinds("SSSSSSSSSSSSSSS");
  link.AddJoint('Z', 'S');

  EXPECT_EQ(link.Name, "ABCDEFGHIJK");
  EXPECT_EQ(link.JointCount, 11);
  EXPECT_EQ(link.KindsText(), "SSSSSSSSSSS");
  ASSERT_EQ(sink.lines.size(), 1u);
  EXPECT_EQ(sink.lines[0].rfind("[Warning] ", 0), 0u);
  EXPECT_NE(sink.lines[0].find("ABCDEFGHIJKLM"), std::string::npos);

  link.SetName("ABCDEFGHIJK");
  EXPECT_EQ(link.JointCount, 11);
  EXPECT_EQ(sink.lines.size(), 1u) << "eleven joints are allowed";
}

TEST(AniLinkTest, AnglesTakeIncrements) {
  TAniLink link;
  link.SetN(4);
  link.SetAngle(0, 0.5);
  link.SetAngle(1, 0.25);
  link.SetAngle(2, 0.25);
  link.SetAngle(5, 9);
  link.SetAngle(-1, 9);
  EXPECT_EQ(link.GetAngle(0), 0.5);
  EXPECT_EQ(link.GetAngle(1), 0.75);
  EXPECT_EQ(link.GetAngle(2), 1.0);
  EXPECT_EQ(link.GetAngle(5), 0);
  EXPECT_EQ(link.GetAngle(-1), 0);
}

// Angle = alpha t^2 / 2: the central difference gives alpha t exactly, the ends are one-sided.
TEST(AniLinkTest, AngularVelocityAndAccelerationByDifferences) {
  const int n = 12;
  const double dt = 0.02, alpha = 5.0;
  TAniLink link;
  link.SetN(n);
  for (int i = 0; i <= n; ++i) link.Angle[i] = 0.5 * alpha * (i * dt) * (i * dt);
  EXPECT_EQ(link.AngularVelocity(3, dt), 0) << "kinematics off";
  EXPECT_EQ(link.AngularAcceleration(3, dt), 0) << "kinematics off";
  link.SetKinematics(true);

  const double tol = 1e-9;
  EXPECT_NEAR(link.AngularVelocity(0, dt), (link.Angle[1] - link.Angle[0]) / dt, tol);
  EXPECT_NEAR(link.AngularVelocity(n, dt), (link.Angle[n] - link.Angle[n - 1]) / dt, tol);
  for (int i = 1; i < n; ++i) EXPECT_NEAR(link.AngularVelocity(i, dt), alpha * i * dt, tol) << i;
  for (int i = 2; i <= n - 2; ++i) EXPECT_NEAR(link.AngularAcceleration(i, dt), alpha, 1e-7) << i;
  EXPECT_NEAR(link.AngularAcceleration(0, dt),
              (link.AngularVelocity(1, dt) - link.AngularVelocity(0, dt)) / dt, tol);
  EXPECT_EQ(link.AngularVelocity(n + 1, dt), 0);
  EXPECT_EQ(link.AngularVelocity(-1, dt), 0);
  EXPECT_EQ(link.AngularAcceleration(n + 1, dt), 0);
}

// A link that turns once round a full cycle with a swing on top: Angle = 2 pi i / n + 0.3 sin(2 pi i / n)
// for every step i, before 0 and past n alike. Over a full cycle the differences at 0 and n are
// the central ones of that function; a range cut short keeps its ends one-sided.
TEST(AniLinkTest, FullCycleRatesReachAcrossTheSeam) {
  const int n = 24;
  const double dt = 0.05, turn = 2 * std::numbers::pi / n;
  const auto angle = [&](int i) { return turn * i + 0.3 * std::sin(turn * i); };
  const auto omega = [&](int i) { return (angle(i + 1) - angle(i - 1)) / (2 * dt); };
  const auto alpha = [&](int i) { return (omega(i + 1) - omega(i - 1)) / (2 * dt); };
  TAniLink link;
  link.SetN(n);
  link.SetKinematics(true);
  for (int i = 0; i <= n; ++i) link.Angle[i] = angle(i);
  link.FullCycle = 1;
  for (int i = 0; i <= n; ++i) {
    EXPECT_NEAR(link.AngularVelocity(i, dt), omega(i), 1e-12) << i;
    EXPECT_NEAR(link.AngularAcceleration(i, dt), alpha(i), 1e-10) << i;
  }
  link.Len = n - 1;
  EXPECT_NEAR(link.AngularVelocity(0, dt), (angle(1) - angle(0)) / dt, 1e-12);
  EXPECT_NEAR(link.AngularVelocity(n - 1, dt), (angle(n - 1) - angle(n - 2)) / dt, 1e-12);
  EXPECT_EQ(link.AngularVelocity(n, dt), 0);
  link.SetN(n);
  EXPECT_EQ(link.FullCycle, 0) << "a new step count waits for its own solution";
}

// A solution that stopped at step 5 of 10 leaves angles of an earlier, longer solution beyond
// it; the differences at step 5 are one-sided and read none of them.
TEST(AniLinkTest, ShortSolutionReadsNoStaleAngles) {
  const double dt = 0.5;
  TAniLink link;
  link.SetN(10);
  link.SetKinematics(true);
  for (int i = 0; i <= 10; ++i) link.Angle[i] = i <= 5 ? 0.1 * i : 100.0;
  link.Len = 5;
  EXPECT_NEAR(link.AngularVelocity(5, dt), 0.1 / dt, 1e-12);
  EXPECT_NEAR(link.AngularVelocity(4, dt), 0.1 / dt, 1e-12);
  EXPECT_NEAR(link.AngularAcceleration(5, dt), 0, 1e-12);
  EXPECT_NEAR(link.AngularAcceleration(4, dt), 0, 1e-12);
  EXPECT_EQ(link.AngularVelocity(6, dt), 0);
  EXPECT_EQ(link.AngularAcceleration(6, dt), 0);

  link.SetN(0);
  EXPECT_EQ(link.AngularVelocity(0, dt), 0) << "a single step has no difference";
}

TEST(AniLinkTest, OutlineOfABarIsThreePixelsEachSide) {
  TAniLink link = MakeLink("AB", "PP", {{0, 0}, {10, 0}});
  link.BuildOutline(ToScreen, false);
  EXPECT_EQ(link.Outline, (std::vector<TScreenPoint>{{100, 103}, {100, 97}, {200, 97}, {200, 103}}));
  EXPECT_TRUE(link.HitTest({150, 101}, false));
  EXPECT_TRUE(link.Selected);
  EXPECT_FALSE(link.HitTest({150, 110}, false));
  EXPECT_FALSE(link.Selected);

  // A vertical bar: theta = 90 degrees gives (3, 0).
  link.Points = {{0, 0}, {0, 5}};
  link.BuildOutline(ToScreen, false);
  EXPECT_EQ(link.Outline, (std::vector<TScreenPoint>{{103, 100}, {97, 100}, {97, 50}, {103, 50}}));
}

TEST(AniLinkTest, OutlineOfATriangleIsWidenedOutwardInBothTurns) {
  // Counter-clockwise in the world.
  TAniLink ccw = MakeLink("ABC", "PPP", {{0, 0}, {10, 0}, {0, 10}});
  ccw.BuildOutline(ToScreen, false);
  EXPECT_EQ(ccw.Outline,
            (std::vector<TScreenPoint>{{100, 103}, {200, 103}, {202, 98}, {102, -2}, {97, 0}, {97, 100}}));

  TAniLink cw = MakeLink("ACB", "PPP", {{0, 0}, {0, 10}, {10, 0}});
  cw.BuildOutline(ToScreen, false);
  // Just outside every side is inside the widened outline, further out is not.
  for (TAniLink* link : {&ccw, &cw}) {
    EXPECT_TRUE(link->HitTest({150, 102}, false));
    EXPECT_TRUE(link->HitTest({98, 50}, false));
    EXPECT_TRUE(link->HitTest({131, 29}, false));
    EXPECT_FALSE(link->HitTest({150, 106}, false));
    EXPECT_FALSE(link->HitTest({94, 50}, false));
    EXPECT_FALSE(link->HitTest({160, 30}, false));
  }

  // Stick mode: the bare polygon through the joints.
  ccw.BuildOutline(ToScreen, true);
  EXPECT_EQ(ccw.Outline.size(), 3u);
  EXPECT_FALSE(ccw.HitTest({150, 102}, false));
}

TEST(AniLinkTest, OutlineOfManyJointsIsOrderedAroundTheCentre) {
  // Given in crossing order; the passes turn the bow tie into the square.
  TAniLink link = MakeLink("ABCD", "PPPP", {{0, 0}, {10, 10}, {10, 0}, {0, 10}});
  link.BuildOutline(ToScreen, false);
  EXPECT_EQ(link.Outline, (std::vector<TScreenPoint>{{100, 100}, {200, 100}, {200, 0}, {100, 0}}));
  EXPECT_TRUE(link.HitTest({150, 50}, false));
  EXPECT_TRUE(link.HitTest({110, 90}, false));
  EXPECT_FALSE(link.HitTest({210, 50}, false));
}

TEST(AniLinkTest, OutlineOfASliderBlock) {
  TAniLink link = MakeLink("AB", "PS", {{0, 0}, {1, 0}});
  for (bool stick : {false, true}) {
    link.BuildOutline(ToScreen, stick);
    // Corners (1, 1), (-1, 1), (-1, -1), (1, -1) in the world.
    EXPECT_EQ(link.Outline, (std::vector<TScreenPoint>{{110, 90}, {90, 90}, {90, 110}, {110, 110}}));
  }
  EXPECT_TRUE(link.HitTest({95, 105}, false));
}

// Joints that name no joint are left out, and a slider kind needs two usable joints.
TEST(AniLinkTest, MissingJointsAndLoneSliderAreSkipped) {
  TAniLink link = MakeLink("ABC", "PPP", {{0, 0}, {5, 8}, {10, 0}});
  link.JointIndex[1] = -1;
  link.BuildOutline(ToScreen, false);
  EXPECT_EQ(link.Outline, (std::vector<TScreenPoint>{{100, 103}, {100, 97}, {200, 97}, {200, 103}}));
  EXPECT_FALSE(link.HitTest({150, 60}, false)) << "the missing joint spans nothing";

  TAniLink slider = MakeLink("AB", "PS", {{0, 0}, {1, 0}});
  slider.JointIndex[0] = -1;
  slider.BuildOutline(ToScreen, false);
  EXPECT_EQ(slider.Outline, (std::vector<TScreenPoint>{{110, 100}}));

  TAniLink lone = MakeLink("A", "P", {{2, 2}});
  lone.Kind[1] = TAniLink::kSlider;
  lone.BuildOutline(ToScreen, false);
  EXPECT_EQ(lone.Outline, (std::vector<TScreenPoint>{{120, 80}}));
  EXPECT_FALSE(lone.HitTest({120, 80}, false));

  TAniLink none = MakeLink("AB", "PP", {{0, 0}, {1, 0}});
  none.JointIndex = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
  none.BuildOutline(ToScreen, false);
  EXPECT_TRUE(none.Outline.empty());
  EXPECT_FALSE(none.HitTest({100, 100}, false));
}

TEST(AniLinkTest, HitTestWithExtendKeepsASelection) {
  TAniLink link = MakeLink("AB", "PP", {{0, 0}, {10, 0}});
  link.BuildOutline(ToScreen, false);
  link.Selected = 1;
  EXPECT_FALSE(link.HitTest({150, 150}, true));
  EXPECT_TRUE(link.Selected);
  EXPECT_FALSE(link.HitTest({150, 150}, false));
  EXPECT_FALSE(link.Selected);
  EXPECT_TRUE(link.HitTest({150, 100}, true));
  EXPECT_TRUE(link.Selected);
}

TEST(AniLinkTest, LoadPointsCopiesTheStepOfEachJoint) {
  std::vector<std::unique_ptr<quillon::TAniJoint>> joints;
  for (int j = 0; j < 3; ++j) {
    joints.push_back(std::make_unique<quillon::TAniJoint>(4));
    joints.back()->Positions[2] = {double(j), double(10 * j), 0};
  }
  TAniLink link;
  link.SetName("CA");
  link.JointIndex[0] = 2;
  link.JointIndex[1] = 0;
  link.LoadPoints(joints, 2);
  ASSERT_EQ(link.Points.size(), 2u);
  EXPECT_EQ(link.DrawStep, 2);
  EXPECT_EQ(link.Points[0].X, 2);
  EXPECT_EQ(link.Points[0].Y, 20);
  EXPECT_EQ(link.Points[1].X, 0);
}

TEST(AniLinkTest, AnchorLetters) {
  TAniLink link;
  link.SetName("BCE");
  EXPECT_EQ(link.AnchorLetter(), "B");
  link.SetAnchorLetter(" e ");
  EXPECT_EQ(link.AnchorIndex, 2);
  EXPECT_EQ(link.AnchorLetter(), "E");
  link.SetAnchorLetter("X");
  EXPECT_EQ(link.AnchorIndex, -1);
  EXPECT_EQ(link.AnchorLetter(), "");
  link.SetAnchorLetter("  ");
  EXPECT_EQ(link.AnchorIndex, 0);
  // Trimmed like an area's letters: every control character at the ends goes.
  link.SetAnchorLetter("\vc\x01");
  EXPECT_EQ(link.AnchorIndex, 1);

  link.Drawing->FileName = "body.dxf";
  link.Drawing->Transform.SetAll(0.5, -0.25, 1.5, 1, 1);
  link.Clear();
  EXPECT_EQ(link.Drawing->FileName, "");
  EXPECT_EQ(link.Drawing->Transform.OffsetX, 0);
  EXPECT_EQ(link.Drawing->Transform.Angle, 0);
  EXPECT_EQ(link.Name, "");
  EXPECT_EQ(link.AnchorIndex, 0);
}

TEST(AniDyadTest, LinksAndCaption) {
  quillon::TAniDyad dyad(20);
  EXPECT_EQ(dyad.Angle.size(), 21u);
  EXPECT_EQ(dyad.Link1Index, -1);
  EXPECT_EQ(dyad.Link2Index, -1);
  EXPECT_EQ(dyad.Link1, nullptr);
  EXPECT_FALSE(dyad.HasLink(-2));
  TAniLink a, b;
  a.SetName("bce");
  b.SetName("CD");
  dyad.Link1 = &a;
  dyad.Link2 = &b;
  dyad.Link1Index = 2;
  dyad.Link2Index = 3;
  EXPECT_EQ(dyad.Caption(), "BCE-CD");
  EXPECT_TRUE(dyad.HasLink(3));
  EXPECT_FALSE(dyad.HasLink(1));
  dyad.SetN(5);
  EXPECT_EQ(dyad.Angle.size(), 6u);
}

}  // namespace

namespace {

using DrawingView = enginetest::TRecordingView;

TEST(AniLinkDrawTest, OutlineWithEdgeOrSelectionColour) {
  DrawingView view;
  TAniLink link = MakeLink("AB", "PP", {{0, 0}, {0.4, 0}});
  view.log.clear();
  link.Draw(view.canvas, 0x123456, false);
  EXPECT_EQ(view.log,
            (std::vector<std::string>{"Pen 123456 1 0", "Polygon 200,153 200,147 300,147 300,153"}));
  EXPECT_TRUE(link.HitTest({250, 151}, false));

  view.log.clear();
  link.Draw(view.canvas, 0x123456, true);
  EXPECT_EQ(view.log, (std::vector<std::string>{"Pen FF00 1 0", "Polygon 200,150 300,150"}))
      << "selected, stick";

  link.Visible = 0;
  view.log.clear();
  link.Draw(view.canvas, 0, false);
  EXPECT_TRUE(view.log.empty());
  EXPECT_FALSE(link.HitTest({250, 150}, false)) << "an invisible link cannot be picked";
}

TEST(AniLinkDrawTest, DrawingPlacementNeedsADrawingAndAUsableAnchor) {
  TAniLink link = MakeLink("ABC", "PPP", {{0, 0}, {1, 2}, {3, 4}});
  link.SetN(4);
  link.Angle = {0, 0.1, 0.3, 0.6, 1.0};
  link.DrawStep = 3;
  shared::TComplex origin;
  double rotation = -1;
  link.Drawing->FileName = "arm.dxf";
  EXPECT_FALSE(link.DrawingPlacement(origin, rotation)) << "a name alone is no drawing";
  link.Drawing->LoadFromString(dxftest::EntitiesOnly(
      dxftest::Pairs({{0, "LINE"}, {8, "0"}, {10, "0"}, {20, "0"}, {11, "10"}, {21, "0"}})));
  link.AnchorIndex = 1;
  ASSERT_TRUE(link.DrawingPlacement(origin, rotation));
  EXPECT_EQ(origin.X, 1);
  EXPECT_EQ(origin.Y, 2);
  EXPECT_EQ(rotation, 0.6);
  link.JointIndex[1] = -1;
  EXPECT_FALSE(link.DrawingPlacement(origin, rotation));
  link.AnchorIndex = -1;
  EXPECT_FALSE(link.DrawingPlacement(origin, rotation));
}

TEST(AniJointDrawTest, PathOverTheSolvedSteps) {
  DrawingView view;
  quillon::TAniJoint joint(4);
  for (int i = 0; i <= 4; ++i) joint.Positions[i] = {0.1 * i, 0.0, 0};
  joint.Len = 2;
  view.log.clear();
  joint.DrawPath(view.canvas);
  EXPECT_TRUE(view.log.empty()) << "not traced";
  joint.Trace = 1;
  joint.DrawPath(view.canvas);
  EXPECT_EQ(view.log, (std::vector<std::string>{"M 200,150", "L 225,150", "L 250,150"}));
}

}  // namespace
