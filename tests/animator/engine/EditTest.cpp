// Editing the mechanism: preset edits that must leave a topology that solves and undoes, picking,
// moves and shapes against closed forms, refusals with their texts, letters, and deleted inputs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "LogCapture.h"
#include "MechanismText.h"
#include "animator/engine/AniMechanism.h"
#include "animator/engine/Presets.h"
#include "animator/engine/StdOut.h"
#include "tests/shared/dxf/DXFFixtures.h"

namespace {

using quillon::TAniJoint;
using quillon::TAniMechanism;
using quillon::TScreenPoint;
using quillon::TSelectionKind;
using shared::TComplex;

constexpr double kTolerance = 1e-9;

using enginetest::Saved;
using enginetest::TLogCapture;

TAniJoint& J(TAniMechanism& m, char letter) {
  const int32_t j = m.FindJoint(letter);
  EXPECT_GE(j, 0) << letter;
  return m.Joint(j);
}

TComplex At(const TAniJoint& joint, int32_t step) {
  return TComplex(joint.Positions[step].X, joint.Positions[step].Y);
}

void SelectJoint(TAniMechanism& m, char letter) { J(m, letter).Selected = 1; }
void SelectLink(TAniMechanism& m, const std::string& name) { m.Link(m.FindLink(name)).Selected = 1; }

std::vector<std::string> LinkNames(const TAniMechanism& m) {
  std::vector<std::string> names;
  for (const auto& link : m.Links) names.push_back(link->Name);
  return names;
}

std::string Letters(const TAniMechanism& m) {
  std::string letters;
  for (const auto& joint : m.Joints) letters += static_cast<char>(joint->Letter);
  return letters;
}

// Every name resolves, every link reference agrees with its index, every joint sits on a link,
// every input drives exactly one joint of its letter, and the document reads back as written.
void ExpectConsistent(TAniMechanism& m) {
  std::set<char> letters;
  for (const auto& joint : m.Joints) {
    EXPECT_TRUE(joint->Letter >= 'A' && joint->Letter <= 'Z');
    EXPECT_TRUE(letters.insert(static_cast<char>(joint->Letter)).second) << "twice: " << joint->Letter;
    EXPECT_GE(joint->Link1, 0) << "on no link: " << joint->Letter;
  }
  for (int32_t l = 0; l < m.LinkCount(); ++l) {
    const auto& link = m.Link(l);
    EXPECT_GE(link.JointCount, l == 0 ? 1 : 2) << link.Name;
    for (int32_t k = 0; k < link.JointCount; ++k) {
      const int32_t j = link.JointIndex[k];
      ASSERT_GE(j, 0) << link.Name;
      EXPECT_EQ(m.Joint(j).Letter, link.Name[k]);
      EXPECT_TRUE(m.Joint(j).HasLink(l) || m.Joint(j).Link1 < l) << link.Name;
    }
  }
  for (const auto& dyad : m.Dyads) {
    ASSERT_GE(dyad->Link1Index, 1);
    ASSERT_GE(dyad->Link2Index, 1);
    EXPECT_EQ(dyad->Link1, &m.Link(dyad->Link1Index));
    EXPECT_EQ(dyad->Link2, &m.Link(dyad->Link2Index));
    EXPECT_GE(m.SharedJoint[dyad->Link1Index][dyad->Link2Index], 0) << dyad->Caption();
  }
  for (int32_t i = 0; i < m.InputCount(); ++i) {
    int32_t driven = 0;
    for (int32_t j = 0; j < m.JointCount(); ++j) {
      if (m.Joint(j).InputIndex != i) continue;
      ++driven;
      EXPECT_EQ(std::string(1, static_cast<char>(m.Joint(j).Letter)), m.Input(i).Letter);
      EXPECT_EQ(m.Input(i).JointIndex, j);
    }
    EXPECT_EQ(driven, 1) << m.Input(i).Letter;
  }
  for (const auto& joint : m.Joints) EXPECT_LT(joint->InputIndex, m.InputCount());
  if (m.Tracer) {
    EXPECT_GE(m.TracerIndex(), 0);
  }

  TAniMechanism reread;
  shared::TTabLines lines;
  m.SaveToTabLines(lines);
  reread.LoadFromTabLines(lines);
  EXPECT_EQ(Saved(reread), Saved(m));
}

// After a solution every joint off the frame moves, and every link without a slider keeps its
// shape at every solved step: no dyad was skipped and none was assembled wrongly.
void ExpectMovesRigidly(TAniMechanism& m) {
  ASSERT_GT(m.LinkCount(), 0);
  for (const auto& joint : m.Joints) {
    if (m.Link(0).Name.find(static_cast<char>(joint->Letter)) != std::string::npos) continue;
    double travel = 0;
    for (int32_t k = 1; k <= m.Len; ++k) {
      travel = std::max(travel, std::hypot(joint->Positions[k].X - joint->Positions[0].X,
                                           joint->Positions[k].Y - joint->Positions[0].Y));
    }
    EXPECT_GT(travel, 1e-3) << "joint " << joint->Letter << " stands still";
  }
  for (int32_t l = 1; l < m.LinkCount(); ++l) {
    const auto& link = m.Link(l);
    if (link.KindsText().find('S') != std::string::npos) continue;
    for (int32_t a = 0; a < link.JointCount; ++a) {
      for (int32_t b = a + 1; b < link.JointCount; ++b) {
        const TAniJoint& p = m.Joint(link.JointIndex[a]);
        const TAniJoint& q = m.Joint(link.JointIndex[b]);
        const double design =
            std::hypot(p.Positions[0].X - q.Positions[0].X, p.Positions[0].Y - q.Positions[0].Y);
        for (int32_t k = 1; k <= m.Len; ++k) {
          const double d =
              std::hypot(p.Positions[k].X - q.Positions[k].X, p.Positions[k].Y - q.Positions[k].Y);
          ASSERT_NEAR(d, design, 1e-7) << link.Name << " step " << k;
        }
      }
    }
  }
}

// Identity scale of 1000 pixels per unit, y downwards as on the screen.
TScreenPoint ToScreen(const TComplex& p) {
  return {static_cast<int32_t>(std::lround(p.X * 1000)), static_cast<int32_t>(std::lround(-p.Y * 1000))};
}

void BuildOutlines(TAniMechanism& m) {
  for (auto& link : m.Links) {
    link->LoadPoints(m.Joints, m.CurrentStep);
    link->BuildOutline(ToScreen, false);
  }
}

// ---------------------------------------------------------------------------------------------
// Edits on the presets

struct TEditCase {
  const char* name;
  int32_t preset;
  std::function<void(TAniMechanism&)> edit;
  const char* letters;  // joints afterwards, in list order
  std::vector<std::string> links;
  int32_t dyads;
  int32_t inputs;
};

// Clicks of an add tool as the view gives them: the first click, a preview move, the last click.
void Clicks(TAniMechanism& m, int32_t clicks, const std::function<void(const TComplex&, bool)>& tool,
            const TComplex& first, const TComplex& last) {
  m.AddClicks = clicks;
  tool(first, false);
  EXPECT_EQ(m.AddClicks, clicks - 1);
  m.DeselectAll();
  tool(TComplex((first.X + last.X) / 2, (first.Y + last.Y) / 2), true);
  EXPECT_EQ(m.AddClicks, clicks - 1);
  tool(last, false);
  EXPECT_EQ(m.AddClicks, 0);
}

const std::vector<TEditCase>& EditCases() {
  static const std::vector<TEditCase> cases = {
      {"move a coupler joint",
       0,
       [](TAniMechanism& m) {
         SelectJoint(m, 'C');
         m.MoveSelection(0.01, -0.02);
       },
       "ABCDE",
       {"AD", "AB", "BCE", "CD"},
       1,
       1},
      {"delete the joint of a three-joint link",
       0,
       [](TAniMechanism& m) {
         SelectJoint(m, 'E');
         m.DeleteSelected();
       },
       "ABCD",
       {"AD", "AB", "BC", "CD"},
       1,
       1},
      {"a joint of a two-joint link stays",
       13,
       [](TAniMechanism& m) {
         SelectJoint(m, 'B');
         m.DeleteSelected();
       },
       "AB",
       {"A", "AB"},
       0,
       1},
      {"a joint of two links stays",
       0,
       [](TAniMechanism& m) {
         SelectJoint(m, 'C');
         m.DeleteSelected();
       },
       "ABCDE",
       {"AD", "AB", "BCE", "CD"},
       1,
       1},
      {"delete the coupler of a four-bar",
       0,
       [](TAniMechanism& m) {
         SelectLink(m, "BCE");
         m.DeleteSelected();
       },
       "AB",
       {"A", "AB"},
       0,
       1},
      {"delete the output dyad of a Watt six-bar",
       1,
       [](TAniMechanism& m) {
         SelectLink(m, "FGH");
         m.DeleteSelected();
       },
       "ABCDEF",
       {"AD", "AB", "BCE", "CDF"},
       1,
       1},
      {"a link in no dyad stays",
       0,
       [](TAniMechanism& m) {
         SelectLink(m, "AB");
         m.DeleteSelected();
       },
       "ABCDE",
       {"AD", "AB", "BCE", "CD"},
       1,
       1},
      {"add a pin dyad from a joint to the frame",
       9,
       [](TAniMechanism& m) {
         SelectJoint(m, 'C');
         Clicks(
             m, 2, [&](const TComplex& p, bool moving) { m.AddPinDyadByClicks(p, moving, 0.3); },
             TComplex(0.4, 0.1), TComplex(0.5, -0.5));
       },
       "ABCDEF",
       {"ADF", "AB", "BC", "CD", "CE", "EF"},
       2,
       1},
      {"add a pin dyad from a new joint on a link to a joint",
       9,
       [](TAniMechanism& m) {
         SelectLink(m, "BC");
         m.AddClicks = 2;
         m.AddPinDyadByClicks(TComplex(-0.1, -0.1), false, 0.3);
         m.DeselectAll();
         SelectJoint(m, 'D');
         m.AddPinDyadByClicks(TComplex(0.2, -0.4), false, 0.3);
       },
       "ABCDEF",
       {"AD", "AB", "BCE", "CD", "EF", "FD"},
       2,
       1},
      {"add a slider dyad",
       9,
       [](TAniMechanism& m) {
         SelectJoint(m, 'C');
         Clicks(
             m, 2, [&](const TComplex& p, bool moving) { m.AddSliderDyadByClicks(p, moving, 0.2); },
             TComplex(0.4, 0.1), TComplex(0.6, -0.4));
       },
       "ABCDEF",
       {"ADF", "AB", "BC", "CD", "CE", "EF"},
       2,
       1},
      {"add a driven crank",
       0,
       [](TAniMechanism& m) {
         Clicks(
             m, 2, [&](const TComplex& p, bool moving) { m.AddCrankByClicks(p, moving); }, TComplex(0.5, 0.5),
             TComplex(0.6, 0.5));
       },
       "ABCDEFG",
       {"ADF", "AB", "BCE", "CD", "FG"},
       1,
       2},
      {"add a joint to the coupler",
       0,
       [](TAniMechanism& m) {
         SelectLink(m, "BCE");
         m.AddClicks = 1;
         m.AddJointToLinkByClick(TComplex(-0.3, 0.1));
       },
       "ABCDEF",
       {"AD", "AB", "BCEF", "CD"},
       1,
       1},
      {"rotate about the crank pivot",
       0,
       [](TAniMechanism& m) {
         SelectJoint(m, 'A');
         m.ResizeMoveRotate(1, 0, 0, 0.5);
       },
       "ABCDE",
       {"AD", "AB", "BCE", "CD"},
       1,
       1},
      {"resize, move and rotate everything",
       1,
       [](TAniMechanism& m) { m.ResizeMoveRotate(1.5, 0.2, -0.1, -1.0); },
       "ABCDEFGH",
       {"AD", "AB", "BCE", "CDF", "EG", "FGH"},
       2,
       1},
  };
  return cases;
}

TEST(EditTest, EditsOnPresetsLeaveATopologyThatSolvesAndUndoes) {
  for (const TEditCase& c : EditCases()) {
    SCOPED_TRACE(c.name);
    TAniMechanism m;
    m.NewMechanism(c.preset);
    m.Calculate();
    const int32_t solved = m.Len;
    ASSERT_GT(solved, 0);
    const std::string before = Saved(m);

    shared::TTabLines lines;
    m.SaveUndoState(lines);
    c.edit(m);
    EXPECT_EQ(Letters(m), c.letters);
    EXPECT_EQ(LinkNames(m), c.links);
    EXPECT_EQ(m.DyadCount(), c.dyads);
    EXPECT_EQ(m.InputCount(), c.inputs);
    ExpectConsistent(m);
    m.Calculate();
    // Every edit here keeps the linkage movable over the range it had.
    EXPECT_EQ(m.Len, solved);
    ExpectMovesRigidly(m);

    ASSERT_TRUE(lines.Undo());
    m.LoadFromTabLines(lines);
    EXPECT_EQ(Saved(m), before);
  }
}

// The solution is relative to the design position, so a rigid transform or a scaling of the
// design carries over to every solved step; a closed form of each step follows from the old one.
TEST(EditTest, ResizeMoveRotateCarriesOverToEverySolvedStep) {
  struct TCase {
    const char* name;
    int32_t preset;
    char centre;  // 0: no joint selected, joint 0 is the centre
    double factor, dx, dy, angle;
  } const cases[] = {
      {"rotate about A", 0, 'A', 1, 0, 0, 0.5},
      {"resize about C", 0, 'C', 2, 0, 0, 0},
      {"move", 1, 0, 1, 0.3, -0.2, 0},
      {"all three about joint 0", 2, 0, 0.5, -0.1, 0.4, 2.0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    TAniMechanism m;
    m.NewMechanism(c.preset);
    m.Calculate();
    const int32_t solved = m.Len;
    std::vector<std::vector<TComplex>> old;
    for (const auto& joint : m.Joints) {
      old.emplace_back();
      for (int32_t k = 0; k <= solved; ++k) old.back().push_back(At(*joint, k));
    }
    const int32_t centre = c.centre ? m.FindJoint(c.centre) : 0;
    if (c.centre) SelectJoint(m, c.centre);
    m.Joint(centre == 0 ? 1 : 0).Locked = 1;  // locks are not consulted
    m.ResizeMoveRotate(c.factor, c.dx, c.dy, c.angle);
    m.Calculate();
    ASSERT_EQ(m.Len, solved);
    const TComplex pivot(old[centre][0].X + c.dx, old[centre][0].Y + c.dy);
    for (int32_t j = 0; j < m.JointCount(); ++j) {
      for (int32_t k = 0; k <= solved; k += 15) {
        // p' = pivot + R(angle) * factor * (p - centre).
        TComplex expected = old[j][k];
        expected.SubFrom(old[centre][0]);
        expected.Scale(c.factor);
        expected.Rotate(c.angle);
        expected.AddTo(pivot);
        const TComplex got = At(m.Joint(j), k);
        EXPECT_NEAR(got.X, expected.X, 1e-7) << "joint " << j << " step " << k;
        EXPECT_NEAR(got.Y, expected.Y, 1e-7) << "joint " << j << " step " << k;
      }
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Picking and selection

TEST(EditTest, HitJointTogglesTheLastJointInReachAndCanSkipTheOneBeingPlaced) {
  TAniMechanism m;
  m.NewMechanism(0);
  // A second joint on top of E: the later one in the list is picked.
  m.AddNewJoint(0, 0);
  SelectLink(m, "AB");
  EXPECT_TRUE(m.HitJoint(TComplex(0.001, 0), false, false, 0.01));
  EXPECT_EQ(m.NextSelectedJoint(0), 5);
  EXPECT_EQ(m.NextSelectedLink(0), -1) << "a plain hit deselects links";
  EXPECT_TRUE(m.HitJoint(TComplex(0.001, 0), false, true, 0.01));
  EXPECT_EQ(m.NextSelectedJoint(0), 4);
  EXPECT_EQ(m.NextSelectedJoint(5), -1);
  // With extend a second hit toggles the joint off and keeps the others.
  SelectJoint(m, 'A');
  EXPECT_TRUE(m.HitJoint(TComplex(0.001, 0), true, true, 0.01));
  EXPECT_EQ(m.NextSelectedJoint(0), 0);
  EXPECT_EQ(m.NextSelectedJoint(1), -1);
  EXPECT_FALSE(m.HitJoint(TComplex(5, 5), false, false, 0.01));
  EXPECT_EQ(m.SelectionKind(), TSelectionKind::None);
}

TEST(EditTest, HitLinkPicksFromLinkOneUpwardsAndNeverTheFrame) {
  TAniMechanism m;
  m.NewMechanism(0);
  BuildOutlines(m);
  // Inside the coupler triangle BCE.
  const TComplex inside((-0.43 - 0.25 + 0) / 3, (-0.16 - 0.05 + 0) / 3);
  EXPECT_TRUE(m.HitLink(ToScreen(inside), false, false));
  EXPECT_EQ(m.NextSelectedLink(0), 2);
  EXPECT_EQ(m.SelectionKind(), TSelectionKind::Link);
  // The frame's own outline is never tested, and a plain miss deselects.
  const TComplex onFrame((-0.32 + 0.2) / 2, (-0.25 - 0.4) / 2);
  EXPECT_FALSE(m.HitLink(ToScreen(onFrame), false, false));
  EXPECT_EQ(m.NextSelectedLink(0), -1);
  // skipLast passes over the last link (CD).
  const TComplex onCD((-0.25 + 0.2) / 2, (-0.05 - 0.4) / 2);
  EXPECT_FALSE(m.HitLink(ToScreen(onCD), false, true));
  EXPECT_TRUE(m.HitLink(ToScreen(onCD), true, false));
  EXPECT_EQ(m.NextSelectedLink(0), 3);
}

TEST(EditTest, SelectionKindFollowsJointsLinksCurvePointsAndAreas) {
  TAniMechanism m;
  m.NewMechanism(0);
  m.Curve.AddPoint(TComplex(0, 0));
  m.Curve.AddPoint(TComplex(1, 0));
  m.Areas.AddArea(TComplex(0, 0), TComplex(1, 1));
  m.Curve.DeselectAll();
  m.Areas.DeselectAll();
  EXPECT_EQ(m.SelectionKind(), TSelectionKind::None);
  m.Areas.Item(0).Selected = true;
  EXPECT_EQ(m.SelectionKind(), TSelectionKind::Area);
  m.Curve.Point(1).Selected = true;
  EXPECT_EQ(m.SelectionKind(), TSelectionKind::CurvePoint);
  m.SelectAll();
  EXPECT_EQ(m.SelectionKind(), TSelectionKind::Joint);
  for (auto& joint : m.Joints) joint->Selected = 0;
  EXPECT_EQ(m.SelectionKind(), TSelectionKind::Link);
  m.DeselectAll();
  EXPECT_EQ(m.SelectionKind(), TSelectionKind::CurvePoint) << "the curve keeps its own selection";
}

// ---------------------------------------------------------------------------------------------
// Moving and shaping

TEST(EditTest, MoveSelectionMovesEachJointOnceAndLeavesLockedJoints) {
  TAniMechanism m;
  m.NewMechanism(0);
  const std::string letters = Letters(m);
  std::vector<TComplex> old;
  for (const auto& joint : m.Joints) old.push_back(At(*joint, 0));
  // C is selected and on both selected links BCE and CD; D is locked.
  SelectJoint(m, 'C');
  SelectLink(m, "BCE");
  SelectLink(m, "CD");
  J(m, 'D').Locked = 1;
  m.MoveSelection(0.1, -0.05);
  const std::string moved = "BCE";
  for (int32_t j = 0; j < m.JointCount(); ++j) {
    const bool moves = moved.find(letters[j]) != std::string::npos;
    EXPECT_NEAR(At(m.Joint(j), 0).X, old[j].X + (moves ? 0.1 : 0), kTolerance) << letters[j];
    EXPECT_NEAR(At(m.Joint(j), 0).Y, old[j].Y - (moves ? 0.05 : 0), kTolerance) << letters[j];
  }
}

TEST(EditTest, SnapGivesTheSelectedJointTheDesignPositionOfANearJoint) {
  TAniMechanism m;
  m.NewMechanism(9);
  SelectJoint(m, 'B');
  // B at (-0.4, -0.115) lies within 0.2 of A (-0.4, -0.25) only.
  m.SnapSelectedJoint(0.2);
  EXPECT_NEAR(At(J(m, 'B'), 0).Y, -0.25, kTolerance);
  EXPECT_NEAR(At(J(m, 'B'), 0).X, -0.4, kTolerance);
  // Nothing near, nothing selected: nothing moves.
  SelectJoint(m, 'C');
  J(m, 'B').Selected = 0;
  m.SnapSelectedJoint(0.01);
  EXPECT_NEAR(At(J(m, 'C'), 0).X, 0.2, kTolerance);
  m.DeselectAll();
  m.SnapSelectedJoint(10);
  EXPECT_NEAR(At(J(m, 'C'), 0).X, 0.2, kTolerance);
}

TEST(EditTest, JointPositionsInCartesianAndPolarForm) {
  TAniMechanism m;
  m.NewMechanism(0);
  m.SetJointPosition('c', true, 2, M_PI / 6);
  EXPECT_NEAR(At(J(m, 'C'), 0).X, std::sqrt(3.0), kTolerance);
  EXPECT_NEAR(At(J(m, 'C'), 0).Y, 1, kTolerance);
  const TComplex polar = m.GetJointPosition('C', true);
  EXPECT_NEAR(polar.X, 2, kTolerance);
  EXPECT_NEAR(polar.Y, M_PI / 6, kTolerance);
  m.SetJointPosition('B', false, 0.25, -0.5);
  EXPECT_NEAR(m.GetJointPosition('B', false).X, 0.25, kTolerance);
  EXPECT_NEAR(m.GetJointPosition('B', false).Y, -0.5, kTolerance);
  const std::string before = Saved(m);
  m.SetJointPosition('Q', false, 1, 1);
  EXPECT_EQ(Saved(m), before);
  EXPECT_EQ(m.GetJointPosition('Q', true).X, 0);
  EXPECT_EQ(m.GetJointPosition('Q', true).Y, 0);
}

TEST(EditTest, SetLinkLengthMovesTheFreeJointOrRefusesWithItsText) {
  struct TCase {
    const char* name;
    std::string pair;
    double length;
    const char* locked;   // letters locked first
    bool coincide;        // B placed on A first
    const char* warning;  // nullptr: no message
    char moved;           // joint that moves, 0: none
  } const cases[] = {
      {"second joint moves", "AB", 0.5, "", false, nullptr, 'B'},
      {"first joint moves when the second is locked", "AB", 0.5, "B", false, nullptr, 'A'},
      {"letters of a longer name", "abce", 0.2, "A", false, nullptr, 'B'},
      {"both locked", "AB", 0.5, "AB", false, "[Warning] Both Joints are locked! Operation cancelled.", 0},
      {"single letter", "A", 0.5, "", false, "[Warning] Length must be > 0 Operation cancelled!", 0},
      {"zero length", "AB", 0, "", false, "[Warning] Length must be > 0 Operation cancelled!", 0},
      {"negative length", "AB", -1, "", false, "[Warning] Length must be > 0 Operation cancelled!", 0},
      {"not a number", "AB", NAN, "", false, "[Warning] Length must be > 0 Operation cancelled!", 0},
      {"coinciding joints", "AB", 0.5, "", true,
       "[Warning] Joints Coincide, direction unclear. Operation cancelled!", 0},
      {"unknown letter", "AQ", 0.5, "", false, nullptr, 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    TLogCapture log;
    TAniMechanism m;
    m.NewMechanism(0);
    for (const char* l = c.locked; *l; ++l) J(m, *l).Locked = 1;
    if (c.coincide) J(m, 'B').Positions[0] = J(m, 'A').Positions[0];
    const TComplex a = At(J(m, 'A'), 0), b = At(J(m, 'B'), 0);
    const std::string before = Saved(m);
    EXPECT_EQ(m.SetLinkLength(c.pair, c.length), c.moved != 0);
    if (c.warning) {
      ASSERT_EQ(log.sink.lines.size(), 1u);
      EXPECT_EQ(log.sink.lines[0], c.warning);
    } else {
      EXPECT_TRUE(log.sink.lines.empty());
    }
    if (!c.moved) {
      EXPECT_EQ(Saved(m), before);
      continue;
    }
    const TComplex a2 = At(J(m, 'A'), 0), b2 = At(J(m, 'B'), 0);
    TComplex d(b2.X - a2.X, b2.Y - a2.Y);
    EXPECT_NEAR(d.Abs(), c.length, kTolerance);
    // Same direction as before, and the other joint stayed.
    EXPECT_NEAR(d.Arg(), TComplex(b.X - a.X, b.Y - a.Y).Arg(), kTolerance);
    const TComplex fixed = c.moved == 'A' ? b : a, fixed2 = c.moved == 'A' ? b2 : a2;
    EXPECT_EQ(fixed.X, fixed2.X);
    EXPECT_EQ(fixed.Y, fixed2.Y);
  }
}

// ---------------------------------------------------------------------------------------------
// Flags and link order

TEST(EditTest, TogglesActOnTheSelectedElementsOnly) {
  TAniMechanism m;
  m.NewMechanism(9);
  SelectJoint(m, 'B');
  SelectLink(m, "BC");
  m.ToggleTraceSelected();
  m.ToggleVectorsSelected();
  m.ToggleLockSelected();
  m.ToggleAnalysisSelected();
  const TAniJoint& b = J(m, 'B');
  EXPECT_EQ(b.Trace, 0) << "B starts traced";
  EXPECT_EQ(b.ShowVectors, 1);
  EXPECT_EQ(b.Locked, 1);
  EXPECT_EQ(b.Analyse, 1);
  EXPECT_EQ(b.Velocity.size(), static_cast<size_t>(m.N) + 1);
  EXPECT_EQ(m.Link(m.FindLink("BC")).Kinematics, 1);
  EXPECT_EQ(m.Link(m.FindLink("CD")).Kinematics, 1) << "not selected: unchanged";
  EXPECT_EQ(J(m, 'C').Locked, 0);
}

TEST(EditTest, InstantCentreLinksLinkOrderAndFrameDrawing) {
  TAniMechanism m;
  m.NewMechanism(0);
  m.SetICLinks(1, 3);
  for (int32_t l = 0; l < m.LinkCount(); ++l) EXPECT_EQ(m.Link(l).ICLink, l == 1 || l == 3) << l;

  SelectLink(m, "AB");
  m.BringLinkToFront();
  EXPECT_EQ(LinkNames(m), (std::vector<std::string>{"AD", "BCE", "CD", "AB"}));
  m.BringLinkToFront();  // already there
  EXPECT_EQ(m.LinkCount(), 4);
  EXPECT_EQ(m.Link(3).Name, "AB");
  m.SendLinkToBack();
  EXPECT_EQ(LinkNames(m), (std::vector<std::string>{"AD", "AB", "BCE", "CD"}));
  m.DeselectAll();
  SelectLink(m, "CD");
  m.SendLinkToBack();
  EXPECT_EQ(LinkNames(m), (std::vector<std::string>{"AD", "CD", "AB", "BCE"}));
  // The dyad follows its links, and the joints their first links.
  EXPECT_EQ(m.Dyad(0).Link1Index, 3);
  EXPECT_EQ(m.Dyad(0).Link2Index, 1);
  EXPECT_EQ(J(m, 'C').Link1, 1);
  ExpectConsistent(m);
  m.Calculate();
  EXPECT_GT(m.Len, 0);
  // The frame is never moved.
  m.DeselectAll();
  m.Link(0).Selected = 1;
  m.BringLinkToFront();
  EXPECT_EQ(m.Link(0).Name, "AD");

  EXPECT_FALSE(m.HasFrameDrawing());
  // A name whose file could not be read is no drawing; an entity is.
  m.Link(0).Drawing->FileName = "/somewhere/ground.dxf";
  EXPECT_FALSE(m.HasFrameDrawing());
  m.Link(0).Drawing->LoadFromString(dxftest::EntitiesOnly(
      dxftest::Pairs({{0, "POINT"}, {8, "0"}, {10, "1"}, {20, "2"}})));
  EXPECT_TRUE(m.HasFrameDrawing());
}

// ---------------------------------------------------------------------------------------------
// Deleting

// Everything selected: every dyad goes with its links, the driven cranks stay, and what is left
// still solves.
TEST(EditTest, DeletingEverythingSelectedLeavesTheCranksOfEveryPreset) {
  for (const auto& preset : quillon::Presets()) {
    SCOPED_TRACE(preset.Name);
    TAniMechanism m;
    m.NewMechanism(preset.Type);
    m.SelectAll();
    m.DeleteSelected();
    EXPECT_EQ(m.DyadCount(), 0);
    EXPECT_EQ(m.InputCount(), 1);
    EXPECT_GE(m.FindJoint(preset.Input), 0);
    ExpectConsistent(m);
    m.Calculate();
    EXPECT_EQ(m.Len, m.N);
    ExpectMovesRigidly(m);
  }
}

TEST(EditTest, DeletingKeepsADrawingAnchoredAtItsJoint) {
  TAniMechanism m;
  m.NewMechanism(0);
  SelectLink(m, "BCE");
  m.AddClicks = 1;
  m.AddJointToLinkByClick(TComplex(0.1, 0.1));  // F
  auto& coupler = m.Link(m.FindLink("BCEF"));
  coupler.AnchorIndex = 3;
  m.DeselectAll();
  SelectJoint(m, 'E');
  m.DeleteSelected();
  EXPECT_EQ(coupler.Name, "BCF");
  EXPECT_EQ(coupler.AnchorLetter(), "F");
  // When the anchor joint itself goes, the drawing falls back to the first joint.
  SelectJoint(m, 'F');
  m.DeleteSelected();
  EXPECT_EQ(coupler.Name, "BC");
  EXPECT_EQ(coupler.AnchorLetter(), "B");
  ExpectConsistent(m);
}

TEST(EditTest, DeletingADrivenJointRemovesItsInputFunction) {
  TLogCapture log;
  // A second input on E, which only the coupler holds.
  {
    TAniMechanism m;
    m.NewMechanism(0);
    m.AddInput('E');
    m.RetimeInputs();
    SelectJoint(m, 'E');
    m.DeleteSelected();
    EXPECT_EQ(m.InputCount(), 1);
    EXPECT_EQ(m.Input(0).Letter, "A");
    ExpectConsistent(m);
    shared::TTabLines lines;
    m.SaveToTabLines(lines);
    EXPECT_FALSE(lines.FindSection("Input E"));
  }
  // The time base itself: the input of E comes first with a slower law, A's becomes the first.
  {
    TAniMechanism m;
    m.NewMechanism(0);
    m.Inputs.clear();
    for (auto& joint : m.Joints) joint->InputIndex = -1;
    m.AddInput('E');
    m.AddInput('A');
    m.Input(0).Clear();
    m.Input(0).AddSection(0, 2.0, 2 * M_PI);
    m.RetimeInputs();
    ASSERT_NEAR(m.Input(1).TimeStep(), 2.0 / 90, kTolerance);
    SelectJoint(m, 'E');
    m.DeleteSelected();
    ASSERT_EQ(m.InputCount(), 1);
    EXPECT_EQ(m.Input(0).Letter, "A");
    EXPECT_EQ(J(m, 'A').InputIndex, 0);
    EXPECT_EQ(m.Input(0).JointIndex, m.FindJoint('A'));
    m.Calculate();
    EXPECT_EQ(m.Len, 90);
    EXPECT_NEAR(m.GetTime(90), 1.0, kTolerance) << "A's own second per turn is the time base";
    ExpectConsistent(m);
  }
  // A driven frame joint that loses its last other link with a dyad goes with its input.
  {
    TAniMechanism m;
    m.NewMechanism(12);  // dyad AB-BCI, A on the frame only besides AB; input on D
    m.AddInput('A');
    m.RetimeInputs();
    SelectLink(m, "BCI");
    m.DeleteSelected();
    EXPECT_EQ(m.FindJoint('A'), -1);
    ASSERT_EQ(m.InputCount(), 1);
    EXPECT_EQ(m.Input(0).Letter, "D");
    ExpectConsistent(m);
  }
}

// ---------------------------------------------------------------------------------------------
// Joint letters and the add tools

TEST(EditTest, NextLetterFollowsTheHighestLetterInUse) {
  struct TCase {
    const char* letters;
    char next;
  } const cases[] = {
      {"", 'A'}, {"ABD", 'E'}, {"ACB", 'D'}, {"Y", 'Z'}, {"ZA", 0}, {"AZB", 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.letters);
    TAniMechanism m;
    m.NewMechanism(4);  // empty
    for (const char* l = c.letters; *l; ++l) m.AddJoint(*l, false, 0, 0, false, false);
    EXPECT_EQ(m.NextJointLetter(), c.next);
    EXPECT_EQ(m.AddNewJoint(1, 2), c.next);
    EXPECT_EQ(m.JointCount(), static_cast<int32_t>(std::string(c.letters).size()) + (c.next ? 1 : 0));
  }
}

// With C listed after D, a letter taken from the last joint would name D twice and bind the new
// link to the old D.
TEST(EditTest, AddToolsNeverReuseALetter) {
  TAniMechanism m;
  m.NewMechanism(13);  // A, B
  m.AddJoint('D', false, 0.3, 0, false, false);
  m.AddJoint('C', false, 0.3, 0.1, false, false);
  m.AddLink("CD", "PP", false, false);
  m.Link(0).AddJoint('D', 'P');
  m.RebuildTopology();
  m.AddClicks = 2;
  ASSERT_TRUE(m.AddCrankByClicks(TComplex(1, 1), false));
  EXPECT_EQ(m.Links.back()->Name, "EF");
  EXPECT_EQ(Letters(m), "ABDCEF");
  ExpectConsistent(m);
}

TEST(EditTest, AddToolsRefuseWhenNoLetterIsFree) {
  struct TCase {
    const char* name;
    const char* letters;  // after A, B of the custom preset
    std::function<bool(TAniMechanism&)> tool;
  } const cases[] = {
      {"crank after Z", "Z",
       [](TAniMechanism& m) {
         m.AddClicks = 2;
         return m.AddCrankByClicks(TComplex(0, 0), false);
       }},
      {"crank needs two letters", "Y",
       [](TAniMechanism& m) {
         m.AddClicks = 2;
         return m.AddCrankByClicks(TComplex(0, 0), false);
       }},
      {"joint on a link", "Z",
       [](TAniMechanism& m) {
         m.AddClicks = 1;
         return m.AddJointToLinkByClick(TComplex(0, 0));
       }},
      {"pin dyad from the frame needs three", "X",
       [](TAniMechanism& m) {
         m.AddClicks = 2;
         return m.AddPinDyadByClicks(TComplex(0, 0), false, 0.1);
       }},
      {"slider dyad from a joint needs two", "Y",
       [](TAniMechanism& m) {
         SelectJoint(m, 'B');
         m.AddClicks = 2;
         return m.AddSliderDyadByClicks(TComplex(0, 0), false, 0.1);
       }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    TAniMechanism m;
    m.NewMechanism(13);
    for (const char* l = c.letters; *l; ++l) {
      m.AddJoint(*l, false, 0, 0, false, false);
      m.Link(1).AddJoint(*l, 'P');
    }
    m.RebuildTopology();
    const std::string before = Saved(m);
    EXPECT_FALSE(c.tool(m));
    EXPECT_EQ(m.AddClicks, 0) << "the tool ends";
    EXPECT_EQ(Saved(m), before);
  }
  // One letter short of the pin dyad's three, the same dyad from a joint fits.
  TAniMechanism m;
  m.NewMechanism(13);
  m.AddJoint('X', false, 0, 0, false, false);
  m.Link(1).AddJoint('X', 'P');
  m.RebuildTopology();
  SelectJoint(m, 'B');
  m.AddClicks = 2;
  EXPECT_TRUE(m.AddPinDyadByClicks(TComplex(0.1, 0.1), false, 0.1));
  EXPECT_EQ(m.Links.back()->Name, "YZ");
}

TEST(EditTest, AddToolPlacesItsJointsFromTheClicksAndTheOffset) {
  TAniMechanism m;
  m.NewMechanism(9);
  SelectJoint(m, 'C');
  m.AddClicks = 2;
  // Moves before the first click add nothing.
  m.AddPinDyadByClicks(TComplex(9, 9), true, 0.1);
  EXPECT_EQ(m.JointCount(), 4);
  EXPECT_EQ(m.AddClicks, 2);
  m.AddPinDyadByClicks(TComplex(0.4, 0.1), false, 0.1);
  EXPECT_NEAR(At(J(m, 'E'), 0).X, 0.5, kTolerance);
  EXPECT_NEAR(At(J(m, 'E'), 0).Y, 0.2, kTolerance);
  EXPECT_NEAR(At(J(m, 'F'), 0).X, 0.4, kTolerance);
  EXPECT_EQ(m.Dyads.back()->Caption(), "CE-EF");
  m.AddPinDyadByClicks(TComplex(0.7, 0.3), true, 0.1);
  EXPECT_NEAR(At(J(m, 'F'), 0).X, 0.7, kTolerance);
  EXPECT_NEAR(At(J(m, 'E'), 0).X, 0.7, kTolerance);
  EXPECT_NEAR(At(J(m, 'E'), 0).Y, 0.4, kTolerance);
  EXPECT_EQ(m.AddClicks, 1);

  TAniMechanism s;
  s.NewMechanism(9);
  s.AddClicks = 2;
  s.AddSliderDyadByClicks(TComplex(0.4, 0.1), false, 0.2);
  // Without a selection the base is a new joint on the frame.
  EXPECT_EQ(s.Link(0).Name, "ADE");
  s.AddSliderDyadByClicks(TComplex(0.5, 0.0), false, 0.2);
  EXPECT_NEAR(At(J(s, 'F'), 0).Y, 0.05, kTolerance);
  EXPECT_EQ(s.Link(0).Name, "ADEG");
  EXPECT_EQ(s.Link(0).KindsText(), "PPPS");
  EXPECT_EQ(s.Links.back()->KindsText(), "PS");
  ExpectConsistent(s);
}

}  // namespace
