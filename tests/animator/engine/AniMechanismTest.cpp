// The mechanism model and its document: defaults, list management, the topology rebuild, the
// document's sections and version rules, reads that fail, drawings, undo states and the header check.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "LogCapture.h"
#include "MechanismText.h"
#include "animator/engine/AniMechanism.h"
#include "animator/engine/Presets.h"
#include "animator/engine/StdOut.h"

namespace {

namespace fs = std::filesystem;
using quillon::TAniMechanism;

const fs::path kFixtures = SUITE_FIXTURES;

using enginetest::Saved;
using enginetest::TLogCapture;

void LoadText(TAniMechanism& mechanism, const std::string& text) {
  shared::TTabLines lines;
  std::istringstream in(text);
  lines.LoadFromStream(in);
  mechanism.LoadFromTabLines(lines);
}

void LoadFile(TAniMechanism& mechanism, const fs::path& path) {
  shared::TTabLines lines;
  lines.LoadFromFile(path.string());
  ASSERT_FALSE(lines.Lines.empty()) << path;
  mechanism.LoadFromTabLines(lines);
}

std::string Header(const std::string& record) { return "[Quillon>\r\n" + record + "\r\n<Quillon]\r\n"; }

// A mechanism with something in every section: two inputs, several sections, a locked joint, a
// curve with both rotation channels, areas and a drawing.
void Furnish(TAniMechanism& mechanism) {
  mechanism.NewMechanism(2);
  mechanism.Joint(2).Locked = 1;
  mechanism.Input(0).AddSection(2, 0.5, -1.25);
  mechanism.Input(0).AddSection(3, 0.25, 0.125);
  mechanism.AddInput('G');
  mechanism.RetimeInputs();
  mechanism.Link(4).Drawing->FileName = "/nowhere/coupler.dxf";
  mechanism.Link(4).Drawing->Transform.SetAll(0.01, -0.02, 1.5, 1, 1);
  mechanism.Link(4).AnchorIndex = 2;
  mechanism.Curve.InWeight = 0.5;
  mechanism.Curve.OutWeight = 2;
  mechanism.Curve.InEnabled = mechanism.Curve.OutEnabled = true;
  mechanism.Curve.AddPoint(shared::TComplex(0.1, 0.2));
  mechanism.Curve.AddPoint(shared::TComplex(0.4, 0.3));
  mechanism.Curve.AddPoint(shared::TComplex(0.5, -0.1));
  mechanism.Areas.AddArea(shared::TComplex(-1, -1), shared::TComplex(0, 0));
  mechanism.Areas.Item(0).SetLetters("ad");
  mechanism.Areas.AddArea(shared::TComplex(0, 0), shared::TComplex(1, 1));
  mechanism.RebuildTopology();
}

TEST(AniMechanismTest, ConstructionGivesSolvedFourBarWithDefaults) {
  TAniMechanism mechanism;
  EXPECT_EQ(mechanism.PresetName, "Four Bar");
  EXPECT_EQ(mechanism.N, 90);
  EXPECT_EQ(mechanism.InputCount(), 1);
  EXPECT_EQ(mechanism.Input(0).Steps(), 90);
  EXPECT_FALSE(mechanism.GetModified());
  EXPECT_EQ(mechanism.CentreAt.size(), 91u);
  EXPECT_EQ(mechanism.Deviation.size(), 91u);
  EXPECT_EQ(mechanism.Curve.Name, "Curve");
  EXPECT_EQ(mechanism.Areas.Name, "Areas");
  const uint32_t colours[] = {mechanism.LinkColour,   mechanism.EdgeColour,     mechanism.JointColour,
                              mechanism.PathColour,   mechanism.VelocityColour, mechanism.AccelerationColour,
                              mechanism.CentreColour, mechanism.LabelColour};
  const uint32_t expected[] = {0xFFFF00, 0, 0xFFFFFF, 0xFF0000, 0xFF0000, 0x0000FF, 0x008000, 0};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(colours[i], expected[i]) << i;
  EXPECT_EQ(mechanism.Visible, 1);
  EXPECT_EQ(mechanism.Stick, 0);
  EXPECT_EQ(mechanism.ShowLabels, 1);
  EXPECT_EQ(mechanism.ShowCentres, 0);
  EXPECT_EQ(mechanism.ShowPaths, 1);
  EXPECT_EQ(mechanism.ShowVelocity, 1);
  EXPECT_EQ(mechanism.ShowAcceleration, 1);
  EXPECT_DOUBLE_EQ(mechanism.InputProduct, 1.0);
  EXPECT_DOUBLE_EQ(mechanism.OutputProduct, 1.0);
}

TEST(AniMechanismTest, CountSettersGrowAndShrinkAtTheEnd) {
  TAniMechanism mechanism;
  mechanism.SetPositionCount(30);
  mechanism.SetJointCount(7);
  ASSERT_EQ(mechanism.JointCount(), 7);
  EXPECT_EQ(mechanism.Joint(6).N, 30);
  EXPECT_EQ(mechanism.Joint(6).Positions.size(), 31u);
  EXPECT_EQ(mechanism.Joint(0).Letter, 'A');
  mechanism.SetJointCount(-1);
  EXPECT_EQ(mechanism.JointCount(), 7);
  // The tracer E (index 4) is freed with the surplus.
  mechanism.SetJointCount(3);
  EXPECT_EQ(mechanism.JointCount(), 3);
  EXPECT_EQ(mechanism.Tracer, nullptr);

  mechanism.SetLinkCount(6);
  EXPECT_EQ(mechanism.SharedJoint.size(), 6u);
  EXPECT_EQ(mechanism.SharedJoint[5].size(), 6u);
  EXPECT_EQ(mechanism.Link(5).N, 30);
  mechanism.SetDyadCount(3);
  EXPECT_EQ(mechanism.Dyad(2).Angle.size(), 31u);
  mechanism.SetInputCount(2);
  EXPECT_EQ(mechanism.Input(1).Steps(), 30);
}

TEST(AniMechanismTest, FindsByLetterAndByNameInAnyOrder) {
  TAniMechanism mechanism;
  EXPECT_EQ(mechanism.FindJoint('c'), 2);
  EXPECT_EQ(mechanism.FindJoint('Z'), -1);
  EXPECT_EQ(mechanism.FindLink("ecb"), 2);
  EXPECT_EQ(mechanism.FindLink("BC"), -1);
  EXPECT_EQ(mechanism.FindDyadWithLink(3), 0);
  EXPECT_EQ(mechanism.FindDyadWithLink(1), -1);
  mechanism.AddJoint('c', false, 1, 1, false, false);
  EXPECT_EQ(mechanism.FindJoint('C'), 5);
  EXPECT_EQ(mechanism.Joint(5).Letter, 'C');
}

TEST(AniMechanismTest, RebuildLetsThirdLinkOverwriteLink2AndMarksUnknownNames) {
  TAniMechanism mechanism;
  mechanism.AddLink("cx", "", false, false);  // C now sits on BCE, CD and CX
  mechanism.AddDyad("CD", "QR");
  mechanism.RebuildTopology();
  const quillon::TAniJoint& c = mechanism.Joint(2);
  EXPECT_EQ(c.Link1, 2);
  EXPECT_EQ(c.Link2, 4);
  EXPECT_EQ(mechanism.SharedJoint[2][4], 2);
  EXPECT_EQ(mechanism.SharedJoint[4][2], 2);
  // The pair BCE-CD keeps its joint: a joint joins every pair of the links that hold it.
  EXPECT_EQ(mechanism.SharedJoint[2][3], 2);
  EXPECT_EQ(mechanism.SharedJoint[3][4], 2);
  EXPECT_EQ(mechanism.Link(4).JointIndex[1], -1);
  EXPECT_EQ(mechanism.Dyad(1).Link1Index, 3);
  EXPECT_EQ(mechanism.Dyad(1).Link2Index, -1);
  EXPECT_EQ(mechanism.Dyad(1).Link2, nullptr);
}

TEST(AniMechanismTest, DeletingKeepsNoDanglingReferences) {
  TAniMechanism mechanism;
  mechanism.DeleteJoint(4);
  EXPECT_EQ(mechanism.Tracer, nullptr);
  EXPECT_EQ(mechanism.JointCount(), 4);
  mechanism.DeleteJoint(9);
  EXPECT_EQ(mechanism.JointCount(), 4);
  // The dyad BCE-CD loses its first link; the rebuild then finds no such link.
  mechanism.DeleteLink(2);
  EXPECT_EQ(mechanism.Dyad(0).Link1, nullptr);
  mechanism.RebuildTopology();
  EXPECT_EQ(mechanism.Dyad(0).Link1Index, -1);
  EXPECT_EQ(mechanism.Dyad(0).Link2Index, 2);
  EXPECT_EQ(mechanism.SharedJoint.size(), 3u);
  EXPECT_NO_THROW(Saved(mechanism));
  mechanism.DeleteDyad(0);
  mechanism.DeleteDyad(0);
  EXPECT_EQ(mechanism.DyadCount(), 0);
}

TEST(AniMechanismTest, LooseFrameJointsLeaveTheFrame) {
  TAniMechanism mechanism;
  mechanism.AddJoint('F', false, 1, 1, false, false);
  mechanism.Link(0).AddJoint('F', 'P');
  mechanism.RebuildTopology();
  mechanism.RemoveLooseFrameJoints();
  EXPECT_EQ(mechanism.Link(0).Name, "AD");
  EXPECT_EQ(mechanism.FindJoint('F'), -1);
  EXPECT_EQ(mechanism.JointCount(), 5);
}

TEST(AniMechanismTest, MergeJointMovesDropsLinkOntoKeep) {
  TAniMechanism mechanism;
  // A free link FG; F is merged into E, so the link becomes GE on the coupler point.
  mechanism.AddJoint('F', false, 0, 0, false, false);
  mechanism.AddJoint('G', false, 0.3, 0.3, false, false);
  mechanism.AddLink("FG", "PP", false, false);
  mechanism.RebuildTopology();
  mechanism.MergeJoint(4, 5);
  EXPECT_EQ(mechanism.Link(4).Name, "GE");
  EXPECT_EQ(mechanism.FindJoint('F'), -1);
  EXPECT_EQ(mechanism.Joint(4).Link2, 4);
  // B and C share the coupler already: nothing changes.
  mechanism.MergeJoint(1, 2);
  EXPECT_EQ(mechanism.JointCount(), 6);
}

// Links that already meet at a joint on three links are not joined a second time.
TEST(AniMechanismTest, MergeJointRefusesLinksThatMeetAtAJointOnThreeLinks) {
  TAniMechanism mechanism;
  mechanism.AddJoint('F', false, 0.1, 0.1, false, false);
  mechanism.AddJoint('G', false, 0.2, -0.2, false, false);
  mechanism.Link(3).AddJoint('G', 'P');         // rocker CDG
  mechanism.AddLink("CF", "PP", false, false);  // C on BCE, CDG and CF
  mechanism.RebuildTopology();
  ASSERT_EQ(mechanism.Joint(2).Link2, 4);
  mechanism.MergeJoint(mechanism.FindJoint('G'), mechanism.FindJoint('F'));
  EXPECT_EQ(mechanism.Link(4).Name, "CF");
  EXPECT_NE(mechanism.FindJoint('F'), -1);
}

// A joint that leaves a link must not carry the link's drawing over to the next joint.
TEST(AniMechanismTest, JointsLeavingALinkKeepItsDrawingAnchoredAtItsJoint) {
  TAniMechanism mechanism;
  mechanism.NewMechanism(12);  // frame ADG; A is left on the frame alone once AB-BCI goes
  mechanism.Link(0).SetAnchorLetter("D");
  mechanism.DeleteLink(mechanism.FindLink("AB"));
  mechanism.RebuildTopology();
  mechanism.RemoveLooseFrameJoints();
  ASSERT_EQ(mechanism.Link(0).Name, "DG");
  EXPECT_EQ(mechanism.Link(0).AnchorLetter(), "D");

  mechanism.NewMechanism(0);
  quillon::TAniLink& coupler = mechanism.Link(2);
  coupler.SetAnchorLetter("E");
  // C leaves the coupler BCE, and A, which shares no link with it, takes its place.
  mechanism.MergeJoint(mechanism.FindJoint('A'), mechanism.FindJoint('C'));
  ASSERT_EQ(coupler.Name, "BEA");
  EXPECT_EQ(coupler.AnchorLetter(), "E");
}

TEST(AniMechanismTest, PositionCountResizesEverything) {
  TAniMechanism mechanism;
  mechanism.SetPositionCount(40);
  EXPECT_EQ(mechanism.N, 40);
  EXPECT_EQ(mechanism.CentreAt.size(), 41u);
  EXPECT_EQ(mechanism.Deviation.size(), 41u);
  EXPECT_EQ(mechanism.Joint(0).Positions.size(), 41u);
  EXPECT_EQ(mechanism.Link(0).Angle.size(), 41u);
  EXPECT_EQ(mechanism.Dyad(0).Angle.size(), 41u);
  EXPECT_EQ(mechanism.Input(0).Steps(), 40);
  mechanism.SetPositionCount(0);
  EXPECT_EQ(mechanism.N, 40);
}

// The first input function holds at most kMaxSteps steps; a larger count (a corrupt setting) would
// leave the steps beyond it undriven, or ask for more memory than there is.
TEST(AniMechanismTest, PositionCountStopsAtTheInputFunctionsBound) {
  TAniMechanism mechanism;
  mechanism.NewMechanism(13);
  mechanism.SetPositionCount(std::numeric_limits<int32_t>::max());
  EXPECT_EQ(mechanism.N, quillon::TInputFunction::kMaxSteps);
  EXPECT_EQ(mechanism.Input(0).Steps(), mechanism.N);
  EXPECT_EQ(mechanism.Joint(1).Positions.size(), static_cast<size_t>(mechanism.N) + 1);
  mechanism.SetPositionCount(90);
  mechanism.Calculate();
  EXPECT_EQ(mechanism.Len, 90);
}

TEST(AniMechanismTest, TracerModifiedAndFrames) {
  TAniMechanism mechanism;
  mechanism.SetTracer(1);
  EXPECT_EQ(mechanism.TracerIndex(), 1);
  EXPECT_TRUE(mechanism.Joint(1).Analyse && mechanism.Joint(1).ShowVectors && mechanism.Joint(1).Trace);
  mechanism.SetTracer(17);
  EXPECT_EQ(mechanism.TracerIndex(), 1);

  mechanism.Curve.Modified = true;
  EXPECT_TRUE(mechanism.GetModified());
  mechanism.SetModified(false);
  mechanism.Areas.AddArea(shared::TComplex(0, 0), shared::TComplex(1, 1));
  EXPECT_TRUE(mechanism.GetModified());
  mechanism.SetModified(false);
  EXPECT_FALSE(mechanism.GetModified());

  mechanism.Len = 3;
  mechanism.FullCycle = 0;
  mechanism.SetFrame(-4);
  EXPECT_EQ(mechanism.CurrentStep, 0);
  mechanism.SetFrame(9);
  EXPECT_EQ(mechanism.CurrentStep, 3);
  // Without a full cycle the animation wraps to 0, with one to 1 (step N equals step 0).
  EXPECT_EQ(mechanism.NextFrame(), 1);
  EXPECT_EQ(mechanism.CurrentStep, 0);
  mechanism.SetFrame(3);
  mechanism.FullCycle = 1;
  EXPECT_EQ(mechanism.NextFrame(), 2);
  EXPECT_EQ(mechanism.CurrentStep, 1);
  mechanism.ResetFrame();
  EXPECT_EQ(mechanism.CurrentStep, 0);
  EXPECT_EQ(mechanism.CycleCount, 0);
}

TEST(AniMechanismTest, ExtentHoldsTheCurveBesideTheMechanism) {
  TAniMechanism mechanism;
  // The box of every joint over the solved cycle.
  double lowX = 1e9, lowY = 1e9, highX = -1e9, highY = -1e9;
  for (const auto& joint : mechanism.Joints) {
    for (int32_t k = 0; k <= mechanism.Len; ++k) {
      lowX = std::min(lowX, joint->Positions[k].X);
      lowY = std::min(lowY, joint->Positions[k].Y);
      highX = std::max(highX, joint->Positions[k].X);
      highY = std::max(highY, joint->Positions[k].Y);
    }
  }
  ASSERT_LT(lowX, -0.43);  // the crank joint swings beyond its design position
  shared::TComplex min, max;
  ASSERT_TRUE(mechanism.GetExtent(min, max));
  EXPECT_DOUBLE_EQ(min.X, lowX);
  EXPECT_DOUBLE_EQ(min.Y, lowY);
  EXPECT_DOUBLE_EQ(max.X, highX);
  EXPECT_DOUBLE_EQ(max.Y, highY);
  mechanism.Curve.AddPoint(shared::TComplex(2, 3));
  mechanism.Curve.AddPoint(shared::TComplex(2.5, 3));
  mechanism.Areas.AddArea(shared::TComplex(-5, 0), shared::TComplex(-4, 1));
  ASSERT_TRUE(mechanism.GetExtent(min, max));
  EXPECT_DOUBLE_EQ(min.X, -5);
  EXPECT_DOUBLE_EQ(min.Y, lowY);
  EXPECT_DOUBLE_EQ(max.X, 2.5);
  EXPECT_DOUBLE_EQ(max.Y, 3);
  mechanism.NewMechanism(4);
  EXPECT_FALSE(mechanism.GetExtent(min, max));
}

TEST(AniMechanismTest, DocumentSectionsInOrder) {
  TAniMechanism mechanism;
  Furnish(mechanism);
  shared::TTabLines lines;
  mechanism.SaveToTabLines(lines);
  std::vector<std::string> starts;
  for (const std::string& line : lines.Lines) {
    if (line.size() > 2 && line.front() == '[' && line.back() == '>') starts.push_back(line);
  }
  const std::vector<std::string> expected = {"[Quillon>", "[Joints>", "[Links>", "[Dyads>", "[Input A>",
                                             "[Input G>", "[DXF>",    "[Curve>", "[Areas>"};
  EXPECT_EQ(starts, expected);
  EXPECT_EQ(lines.Lines[1], "0");
  // Letter, x, y, trace, show vectors, analyse, locked, has input, is tracer.
  EXPECT_EQ(lines.Lines[4], "A\t-4.00000000000000E-0001\t-2.50000000000000E-0001\t0\t0\t0\t0\t1\t0");
  EXPECT_EQ(lines.Lines[5], "B\t-4.00000000000000E-0001\t-1.15000000000000E-0001\t1\t0\t0\t0\t0\t0");
  EXPECT_EQ(lines.Lines[6].substr(lines.Lines[6].size() - 12), "\t0\t0\t0\t1\t0\t0");
  EXPECT_EQ(lines.Lines[11], "H\t 4.00000000000000E-0001\t 1.00000000000000E-0001\t1\t1\t1\t0\t0\t1");
  EXPECT_EQ(lines.Lines[14], "ADG\tPPP\t0\t1");
}

// Save, load and save again of every preset, and of a mechanism that fills every section, give the
// same text; the load restores what the model holds.
TEST(AniMechanismTest, SaveLoadSaveIsByteIdentical) {
  TAniMechanism source, copy;
  for (const quillon::TPreset& preset : quillon::Presets()) {
    SCOPED_TRACE(preset.Type);
    source.NewMechanism(preset.Type);
    const std::string first = Saved(source);
    LoadText(copy, first);
    EXPECT_EQ(Saved(copy), first);
  }
  TLogCapture log;
  Furnish(source);
  const std::string first = Saved(source);
  LoadText(copy, first);
  EXPECT_EQ(Saved(copy), first);

  ASSERT_EQ(copy.JointCount(), source.JointCount());
  for (int32_t j = 0; j < copy.JointCount(); ++j) {
    const quillon::TAniJoint& a = source.Joint(j);
    const quillon::TAniJoint& b = copy.Joint(j);
    EXPECT_EQ(b.Letter, a.Letter);
    EXPECT_DOUBLE_EQ(b.Positions[0].X, a.Positions[0].X);
    EXPECT_DOUBLE_EQ(b.Positions[0].Y, a.Positions[0].Y);
    EXPECT_EQ(b.Trace, a.Trace);
    EXPECT_EQ(b.Analyse, a.Analyse);
    EXPECT_EQ(b.ShowVectors, a.ShowVectors);
    EXPECT_EQ(b.Locked, a.Locked);
    EXPECT_EQ(b.InputIndex, a.InputIndex);
  }
  EXPECT_EQ(copy.TracerIndex(), source.TracerIndex());
  ASSERT_EQ(copy.InputCount(), 2);
  EXPECT_EQ(copy.Input(1).Letter, "G");
  ASSERT_EQ(copy.Input(0).Count(), 3);
  EXPECT_EQ(copy.Input(0).Section(1)->Law(), 2);
  EXPECT_DOUBLE_EQ(copy.Input(0).Section(1)->Displacement(), -1.25);
  // The second input takes the first one's time step: 1 s at 1.75 s / 90 gives 51 steps.
  EXPECT_EQ(copy.Input(1).Steps(), 51);
  const quillon::TAniLink& coupler = copy.Link(4);
  EXPECT_EQ(coupler.Drawing->FileName, "/nowhere/coupler.dxf");
  EXPECT_EQ(coupler.AnchorIndex, 2);
  EXPECT_DOUBLE_EQ(coupler.Drawing->Transform.OffsetX, 0.01);
  EXPECT_DOUBLE_EQ(coupler.Drawing->Transform.Angle, 1.5);
  EXPECT_EQ(copy.Link(0).Drawing->FileName, "");
  EXPECT_EQ(copy.Curve.PointCount(), 3);
  EXPECT_TRUE(copy.Curve.OutEnabled);
  EXPECT_EQ(copy.Areas.Count(), 2);
  EXPECT_EQ(copy.Areas.Item(0).Letters, "AD");
  EXPECT_EQ(copy.Dyad(1).Link1->Name, "EFH");
}

// A document read into a mechanism that held another linkage brings the topology the read built:
// the shared joints, the centre plan and the shown pair are those the linkage rebuilds for itself,
// and so are the centres solved from them.
TEST(AniMechanismTest, ReadDocumentsBringTheirOwnCentrePlan) {
  TAniMechanism source, read, built;
  for (const quillon::TPreset& preset : quillon::Presets()) {
    SCOPED_TRACE(preset.Type);
    source.NewMechanism(preset.Type);
    const std::string text = Saved(source);
    LoadText(read, text);
    LoadText(built, text);
    built.RebuildTopology();
    EXPECT_EQ(read.SharedJoint, built.SharedJoint);
    EXPECT_EQ(read.Centres.ShownLow(), built.Centres.ShownLow());
    EXPECT_EQ(read.Centres.ShownHigh(), built.Centres.ShownHigh());
    ASSERT_EQ(read.Centres.DerivedCount(), built.Centres.DerivedCount());
    for (int r = 0; r < built.Centres.DerivedCount(); ++r) {
      const quillon::TDerivedCentre& a = read.Centres.DerivedAt(r);
      const quillon::TDerivedCentre& b = built.Centres.DerivedAt(r);
      ASSERT_EQ(std::vector<int>({a.Target, a.I, a.J, a.CI1, a.CJ1, a.CI2, a.CJ2}),
                std::vector<int>({b.Target, b.I, b.J, b.CI1, b.CJ1, b.CI2, b.CJ2}))
          << r;
    }
    built.Calculate();
    read.Calculate();
    ASSERT_EQ(read.CentreAt.size(), built.CentreAt.size());
    for (size_t k = 0; k < built.CentreAt.size(); ++k) {
      EXPECT_EQ(read.CentreAt[k].X, built.CentreAt[k].X) << k;
      EXPECT_EQ(read.CentreAt[k].Y, built.CentreAt[k].Y) << k;
    }
  }
}

// A curve drawn with the mouse or handed over holds coordinates with more digits than a document
// keeps. A document saved after such an edit and then read and saved with no edit comes out byte
// for byte, and so at every read and save after: the tangents and arc-length fractions it holds
// are those a reader solves from its coordinates as written.
TEST(AniMechanismTest, DocumentWithACurveReadAndSavedIsByteIdentical) {
  TAniMechanism source, copy;
  source.Calculate();
  quillon::TSpline& curve = source.Curve;
  curve.OutWeight = 1.5;
  curve.OutEnabled = true;
  for (int32_t k = 0; k <= 60; k += 6) {
    const quillon::TPositionRecord& p = source.Tracer->Positions[static_cast<size_t>(k)];
    shared::TPrePoint& point = curve.Point(curve.NewPoint());
    point.SetXY(p.X + 1.0 / 3000, p.Y - 1.0 / 7000);
    point.Out = k / 7.0;
  }
  curve.Rebuild();
  const std::string first = Saved(source);
  ASSERT_NE(first.find("[Curve>"), std::string::npos);
  LoadText(copy, first);
  const std::string second = Saved(copy);
  EXPECT_EQ(second, first);
  LoadText(copy, second);
  EXPECT_EQ(Saved(copy), second);
  // The curve read is the one drawn, to the digits a document keeps.
  ASSERT_EQ(copy.Curve.PointCount(), curve.PointCount());
  for (int32_t i = 0; i < curve.PointCount(); ++i) {
    EXPECT_NEAR(copy.Curve.Point(i).Direction.X, curve.Point(i).Direction.X, 1e-12) << i;
    EXPECT_NEAR(copy.Curve.Point(i).Direction.Y, curve.Point(i).Direction.Y, 1e-12) << i;
    EXPECT_NEAR(copy.Curve.Point(i).s, curve.Point(i).s, 1e-12) << i;
  }
}

TEST(AniMechanismTest, VersionMinusOneHoldsPinsOnly) {
  TAniMechanism mechanism;
  LoadFile(mechanism, kFixtures / "version-1.mech");
  ASSERT_EQ(mechanism.LinkCount(), 4);
  for (int32_t l = 0; l < 4; ++l)
    EXPECT_EQ(mechanism.Link(l).KindsText(), std::string(mechanism.Link(l).JointCount, 'P'));
  EXPECT_EQ(mechanism.Link(2).Name, "BCE");
  EXPECT_TRUE(mechanism.Link(2).Kinematics);
  EXPECT_TRUE(mechanism.Link(2).ICLink);
  EXPECT_TRUE(mechanism.Link(0).ICLink);
  EXPECT_EQ(mechanism.Joint(3).Locked, 1);
  EXPECT_EQ(mechanism.TracerIndex(), 4);
  EXPECT_EQ(mechanism.Dyad(0).Link2Index, 3);
  ASSERT_EQ(mechanism.InputCount(), 1);
  EXPECT_EQ(mechanism.Input(0).Count(), 1);
  // Written again, it is a current document with the kinds field.
  const std::string saved = Saved(mechanism);
  EXPECT_NE(saved.find("[Quillon>\r\n0\r\n"), std::string::npos);
  EXPECT_NE(saved.find("BCE\tPPP\t1\t1\r\n"), std::string::npos);
}

TEST(AniMechanismTest, VersionMinus96CarriesKindOfSecondJoint) {
  TLogCapture log;
  TAniMechanism mechanism;
  LoadFile(mechanism, kFixtures / "version-96.mech");
  ASSERT_EQ(mechanism.LinkCount(), 4);
  EXPECT_EQ(mechanism.Link(0).KindsText(), "PS");
  EXPECT_EQ(mechanism.Link(1).KindsText(), "PP");
  EXPECT_EQ(mechanism.Link(2).KindsText(), "PPP");
  EXPECT_EQ(mechanism.Link(3).KindsText(), "PS");
  EXPECT_TRUE(mechanism.Link(2).Kinematics);
  EXPECT_TRUE(mechanism.Link(2).ICLink);
  EXPECT_FALSE(mechanism.Link(3).ICLink);
  EXPECT_EQ(mechanism.Input(0).Count(), 2);
  // The drawing of the frame is missing: the document loads, the name stays, a warning is logged.
  const fs::path drawing = kFixtures / "frame.dxf";
  EXPECT_EQ(mechanism.Link(0).Drawing->FileName, drawing.lexically_normal().string());
  EXPECT_FALSE(mechanism.HasFrameDrawing());
  EXPECT_EQ(mechanism.Link(0).AnchorLetter(), "D");
  EXPECT_DOUBLE_EQ(mechanism.Link(0).Drawing->Transform.OffsetY, 0.2);
  ASSERT_EQ(log.sink.lines.size(), 1u);
  EXPECT_EQ(log.sink.lines[0], "[Warning] " + drawing.lexically_normal().string() + " does not exist!");
}

TEST(AniMechanismTest, UnreadableDocumentsAreRefusedAndChangeNothing) {
  struct TCase {
    std::string text;
    const char* error;
  };
  const TCase cases[] = {
      {Header("1"), quillon::kErrorNewText},
      {Header("-97"), quillon::kErrorNewText},
      {Header("2\tVesk"), quillon::kErrorNewText},
      {"[Joints>\r\nA\t0\t0\r\n<Joints]\r\n", quillon::kErrorInvalidText},
      {"", quillon::kErrorInvalidText},
  };
  TAniMechanism mechanism;
  mechanism.NewMechanism(6);
  const std::string before = Saved(mechanism);
  const quillon::TSpline* curve = &mechanism.Curve;
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      LoadText(mechanism, c.text + "[Joints>\r\nZ\t1\t1\r\n<Joints]\r\n");
      ADD_FAILURE() << "no exception";
    } catch (const quillon::EMechanismError& error) {
      EXPECT_STREQ(error.what(), c.error);
    }
    EXPECT_EQ(Saved(mechanism), before);
    EXPECT_EQ(mechanism.PresetName, "Eight Bar");
  }
  EXPECT_EQ(&mechanism.Curve, curve);
}

// A sink that fails on the first line, so a read can be broken off halfway, after the joints and
// links were read.
struct TThrowingSink : quillon::TMessageSink {
  void AppendLine(const std::string& line, quillon::TMessageKind) override { throw std::runtime_error(line); }
  void ClearLines() override {}
};

TEST(AniMechanismTest, ReadBrokenOffHalfwayLeavesPreviousDocument) {
  TAniMechanism mechanism;
  mechanism.NewMechanism(1);
  mechanism.Curve.AddPoint(shared::TComplex(0, 0));
  mechanism.Curve.AddPoint(shared::TComplex(1, 1));
  const std::string before = Saved(mechanism);
  TThrowingSink sink;
  quillon::StdOut().SetSink(&sink);
  // The missing drawing's warning comes after joints, links, dyads and inputs were read.
  EXPECT_THROW(LoadText(mechanism, Header("0") + "[Joints>\r\nA\t0\t0\r\nB\t1\t0\r\n<Joints]\r\n"
                                                 "[Links>\r\nAB\tPP\t0\t0\r\n<Links]\r\n"
                                                 "[DXF>\r\n/nowhere/x.dxf\tA\t0\t0\t0\r\n<DXF]\r\n"),
               std::runtime_error);
  quillon::StdOut().SetSink(nullptr);
  EXPECT_EQ(Saved(mechanism), before);
  EXPECT_EQ(mechanism.JointCount(), 8);
  EXPECT_EQ(mechanism.Link(5).Name, "FGH");
  EXPECT_EQ(mechanism.Dyad(1).Link2, &mechanism.Link(5));
}

TEST(AniMechanismTest, OldestAndCurrentVersionsAreRead) {
  for (const char* version : {"0", "-96", "-50", "", "0\tVesk"}) {
    SCOPED_TRACE(version);
    TAniMechanism mechanism;
    EXPECT_NO_THROW(LoadText(mechanism, Header(version) + "[Joints>\r\nA\t1\t2\r\n<Joints]\r\n"));
    ASSERT_EQ(mechanism.JointCount(), 1);
    EXPECT_DOUBLE_EQ(mechanism.Joint(0).Positions[0].Y, 2);
  }
}

TEST(AniMechanismTest, MissingSectionsAndFieldsReadEmpty) {
  TAniMechanism mechanism;
  mechanism.Curve.AddPoint(shared::TComplex(0, 0));
  mechanism.Curve.AddPoint(shared::TComplex(1, 0));
  const quillon::TSpline* curve = &mechanism.Curve;
  const quillon::TAreaList* areas = &mechanism.Areas;
  // Joint A is driven but its "Input A" section is missing; B has only its letter.
  LoadText(mechanism, Header("0") + "[Joints>\r\nA\t0\t0\t0\t0\t0\t0\t1\r\nB\r\n<Joints]\r\n");
  EXPECT_EQ(&mechanism.Curve, curve);
  EXPECT_EQ(&mechanism.Areas, areas);
  EXPECT_EQ(mechanism.Curve.PointCount(), 0);
  EXPECT_EQ(mechanism.LinkCount(), 0);
  EXPECT_EQ(mechanism.DyadCount(), 0);
  ASSERT_EQ(mechanism.InputCount(), 1);
  EXPECT_EQ(mechanism.Input(0).Count(), 0);
  EXPECT_EQ(mechanism.Joint(0).InputIndex, 0);
  EXPECT_EQ(mechanism.Joint(1).Letter, 'B');
  EXPECT_EQ(mechanism.Joint(1).Trace, 0);
  EXPECT_EQ(mechanism.Joint(1).Positions[0].X, 0);
  EXPECT_EQ(mechanism.Tracer, nullptr);
  EXPECT_EQ(mechanism.Joint(0).Positions.size(), 91u);
}

TEST(AniMechanismTest, DrawingRecordsEmptyNamesRelativeNamesAndExtraRecords) {
  const fs::path dir = fs::temp_directory_path() / ("animechanism_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "parts");
  std::ofstream(dir / "parts" / "crank.dxf") << "0\nEOF\n";
  const std::string document =
      Header("0") +
      "[Joints>\r\nA\t0\t0\r\nB\t1\t0\r\n<Joints]\r\n"
      "[Links>\r\nA\tP\t0\t0\r\nAB\tPP\t0\t0\r\n<Links]\r\n"
      "[DXF>\r\n\t\t0\t0\t0\r\nparts/crank.dxf\tB\t0.5\t0\t0.25\r\nextra.dxf\tA\t1\t1\t1\r\n<DXF]\r\n";
  const fs::path path = dir / "doc.mech";
  std::ofstream(path, std::ios::binary) << document;

  TLogCapture log;
  TAniMechanism mechanism;
  LoadFile(mechanism, path);
  EXPECT_TRUE(log.sink.lines.empty()) << log.sink.lines[0];
  EXPECT_EQ(mechanism.Link(0).Drawing->FileName, "");
  EXPECT_EQ(mechanism.Link(0).AnchorIndex, 0);
  EXPECT_EQ(mechanism.Link(1).Drawing->FileName, (dir / "parts" / "crank.dxf").string());
  EXPECT_EQ(mechanism.Link(1).AnchorIndex, 1);
  EXPECT_DOUBLE_EQ(mechanism.Link(1).Drawing->Transform.OffsetX, 0.5);

  // Saved beside the first, the name is relative again and the empty name stays empty.
  shared::TTabLines lines;
  lines.SetFileName((dir / "copy.mech").string());
  mechanism.SaveToTabLines(lines);
  const std::string saved = lines.Text();
  EXPECT_NE(saved.find("[DXF>\r\n\tA\t 0.00000000000000E+0000"), std::string::npos);
  EXPECT_NE(saved.find("\r\nparts/crank.dxf\tB\t 5.00000000000000E-0001\t"), std::string::npos);
  EXPECT_EQ(saved.find("extra"), std::string::npos);
  fs::remove_all(dir);
}

TEST(AniMechanismTest, UndoStatesRestoreTheMechanism) {
  shared::TTabLines lines;
  TAniMechanism mechanism;
  mechanism.SaveUndoState(lines);
  EXPECT_TRUE(lines.Lines.empty());
  mechanism.NewMechanism(3);
  mechanism.PrepareUndoState(lines);
  EXPECT_FALSE(lines.Lines.empty());
  EXPECT_TRUE(lines.History[1].empty());
  ASSERT_TRUE(lines.Undo());
  mechanism.LoadFromTabLines(lines);
  EXPECT_EQ(mechanism.JointCount(), 5);
  EXPECT_EQ(mechanism.FindLink("BCE"), 2);
  EXPECT_FALSE(lines.Undo());
}

// A document read from a file or the clipboard is no preset and not fitted, whatever the
// mechanism was before; an undo entry brings back the name and the mark it was taken with. The
// document text itself does not change.
TEST(AniMechanismTest, DocumentsReadAreCustomAndUndoEntriesKeepNameAndMark) {
  TAniMechanism eightBar;
  eightBar.NewMechanism(6);
  const std::string document = Saved(eightBar);
  EXPECT_EQ(document.find("Eight Bar"), std::string::npos);

  TAniMechanism mechanism;
  ASSERT_EQ(mechanism.PresetName, "Four Bar");
  mechanism.Optimized = 1;
  LoadText(mechanism, document);
  EXPECT_EQ(mechanism.JointCount(), eightBar.JointCount());
  EXPECT_EQ(mechanism.PresetName, "Custom");
  EXPECT_EQ(mechanism.Optimized, 0);

  shared::TTabLines history;
  mechanism.NewMechanism(5);
  mechanism.Optimized = 1;
  mechanism.SaveUndoState(history);
  mechanism.NewMechanism(0);
  mechanism.Optimized = 0;
  ASSERT_TRUE(history.Undo());
  mechanism.LoadFromTabLines(history);
  EXPECT_EQ(mechanism.PresetName, "Stephenson 3 Six Bar");
  EXPECT_EQ(mechanism.Optimized, 1);
  EXPECT_EQ(Saved(mechanism).find("Stephenson"), std::string::npos);

  // A hand-made entry's name is taken as a record can hold it: a lone CR is a blank.
  LoadText(mechanism, document + "[Undo>\n\rWatt\t1\r\n<Undo]\r\n");
  EXPECT_EQ(mechanism.PresetName, " Watt");
}

// The header check of clipboard documents: one answer per case, whatever the text holds.
TEST(AniMechanismTest, HeaderCheckAnswers) {
  struct TCase {
    std::string text;
    int32_t result;
    const char* status;
  };
  const std::string okay = quillon::kHeaderOkayText;
  const TCase cases[] = {
      {"", -2, quillon::kErrorInvalidText},
      {"[Joints>\r\n<Joints]\r\n", -2, quillon::kErrorInvalidText},
      {"[Quillon>\r\n<Quillon]\r\n", 0, quillon::kHeaderOkayText},
      {"[Quillon>\r\n", 0, quillon::kHeaderOkayText},
      {Header("0"), 1, quillon::kHeaderOkayText},
      {Header("0\tSomeone"), 1, quillon::kHeaderOkayText},
      {Header("0\tVesk"), 2, quillon::kHeaderOkayText},
      {Header("0\tvesk"), 2, quillon::kHeaderOkayText},
      {Header("0\tVESK\textra"), 2, quillon::kHeaderOkayText},
      {Header("0\tVeskk"), 1, quillon::kHeaderOkayText},
      {Header("-96"), -3, quillon::kErrorNewText},
      {Header("-1\tVesk"), -3, quillon::kErrorNewText},
      {Header("1"), -3, quillon::kErrorNewText},
      {"[quillon>\r\n0\tVesk\r\n<quillon]\r\n", 2, quillon::kHeaderOkayText},
      {std::string("[Quillon>\r\n\0\xff\t\t\t\r\n", 18), 1, quillon::kHeaderOkayText},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.text);
    shared::TTabLines lines;
    std::istringstream in(c.text);
    lines.LoadFromStream(in);
    const quillon::THeaderCheck check = quillon::CheckMechanismHeader(lines);
    EXPECT_EQ(check.Result, c.result);
    EXPECT_EQ(check.StatusText, c.status);
  }
}

}  // namespace
