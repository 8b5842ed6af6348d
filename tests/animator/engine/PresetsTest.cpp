// The preset linkages: each type's size, driven joint and tracer against the summary of the types,
// the kinds and flags that matter, the topology they build, and the types that build nothing.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "animator/engine/AniMechanism.h"
#include "animator/engine/Presets.h"
#include "animator/engine/StdOut.h"

namespace {

using quillon::TAniMechanism;

struct TSummary {
  int32_t type;
  const char* name;
  int joints, links, dyads;
  char input;
  char tracer;  // 0: none
};

// The overview of the types, kept apart from the tables so the two check each other.
const TSummary kSummaries[] = {
    {0, "Four Bar", 5, 4, 1, 'A', 'E'},
    {1, "Watt 1 Six Bar", 8, 6, 2, 'A', 'H'},
    {2, "Watt 2 Six Bar", 8, 6, 2, 'A', 'H'},
    {3, "Stephenson 1 Six Bar", 8, 6, 2, 'A', 'H'},
    {5, "Stephenson 3 Six Bar", 8, 6, 2, 'A', 'H'},
    {6, "Eight Bar", 11, 8, 3, 'A', 'K'},
    {7, "Four Bar Slider", 5, 4, 1, 'A', 'E'},
    {9, "Four Bar", 4, 4, 1, 'A', 'D'},
    {10, "Watt 2 Six Bar", 7, 6, 2, 'A', 'G'},
    {11, "Stephenson 3 Six Bar", 7, 6, 2, 'A', 'G'},
    {12, "Watt 2 Double 4-bar", 9, 6, 2, 'D', 'H'},
    {13, "Custom", 2, 2, 0, 'A', 0},
};

char LetterOf(const quillon::TAniJoint& joint) { return static_cast<char>(joint.Letter); }

TEST(PresetsTest, EveryTypeBuildsWhatItsSummarySays) {
  TAniMechanism mechanism;
  for (const TSummary& s : kSummaries) {
    SCOPED_TRACE(s.type);
    mechanism.NewMechanism(s.type);
    EXPECT_EQ(mechanism.PresetType, s.type);
    EXPECT_EQ(mechanism.PresetName, s.name);
    EXPECT_EQ(mechanism.JointCount(), s.joints);
    EXPECT_EQ(mechanism.LinkCount(), s.links);
    EXPECT_EQ(mechanism.DyadCount(), s.dyads);
    ASSERT_EQ(mechanism.InputCount(), 1);
    EXPECT_EQ(mechanism.Input(0).Letter, std::string(1, s.input));
    // One full turn in one second, in one constant-velocity section.
    ASSERT_EQ(mechanism.Input(0).Count(), 1);
    EXPECT_EQ(mechanism.Input(0).Section(0)->Law(), 0);
    EXPECT_DOUBLE_EQ(mechanism.Input(0).Section(0)->Displacement(), 2 * 3.14159265358979323846);
    for (int32_t j = 0; j < mechanism.JointCount(); ++j) {
      EXPECT_EQ(mechanism.Joint(j).InputIndex, LetterOf(mechanism.Joint(j)) == s.input ? 0 : -1);
      // Joints are lettered A, B, C, ... in table order.
      EXPECT_EQ(LetterOf(mechanism.Joint(j)), 'A' + j);
    }
    if (s.tracer == 0) {
      EXPECT_EQ(mechanism.Tracer, nullptr);
    } else {
      ASSERT_NE(mechanism.Tracer, nullptr);
      EXPECT_EQ(LetterOf(*mechanism.Tracer), s.tracer);
    }
    EXPECT_FALSE(mechanism.GetModified());
    EXPECT_EQ(mechanism.CurrentStep, 0);
  }
}

// What the solution needs of every preset: every letter names a joint, the dyads bind, and the
// shared joints agree with the joints' links.
TEST(PresetsTest, TopologyOfEveryPresetIsComplete) {
  TAniMechanism mechanism;
  for (const quillon::TPreset& preset : quillon::Presets()) {
    SCOPED_TRACE(preset.Type);
    mechanism.NewMechanism(preset.Type);
    std::set<char> used;
    for (int32_t l = 0; l < mechanism.LinkCount(); ++l) {
      const quillon::TAniLink& link = mechanism.Link(l);
      for (int32_t k = 0; k < link.JointCount; ++k) {
        ASSERT_GE(link.JointIndex[k], 0) << link.Name;
        EXPECT_EQ(LetterOf(mechanism.Joint(link.JointIndex[k])), link.Name[k]);
        used.insert(link.Name[k]);
      }
    }
    EXPECT_EQ(static_cast<int32_t>(used.size()), mechanism.JointCount()) << "a joint on no link";
    for (int32_t d = 0; d < mechanism.DyadCount(); ++d) {
      const quillon::TAniDyad& dyad = mechanism.Dyad(d);
      ASSERT_GE(dyad.Link1Index, 1);
      ASSERT_GE(dyad.Link2Index, 1);
      EXPECT_EQ(dyad.Link1, &mechanism.Link(dyad.Link1Index));
      EXPECT_EQ(dyad.Link2, &mechanism.Link(dyad.Link2Index));
      EXPECT_EQ(dyad.Link1->Name, preset.Dyads[d].First);
      EXPECT_EQ(dyad.Link2->Name, preset.Dyads[d].Second);
      // Two links of a dyad meet at a joint.
      EXPECT_GE(mechanism.SharedJoint[dyad.Link1Index][dyad.Link2Index], 0);
    }
    for (int32_t j = 0; j < mechanism.JointCount(); ++j) {
      const quillon::TAniJoint& joint = mechanism.Joint(j);
      ASSERT_GE(joint.Link1, 0);
      if (joint.Link2 >= 0) {
        EXPECT_EQ(mechanism.SharedJoint[joint.Link1][joint.Link2], j);
        EXPECT_EQ(mechanism.SharedJoint[joint.Link2][joint.Link1], j);
      }
    }
  }
}

TEST(PresetsTest, FourBarJointsLinksAndShownCentre) {
  TAniMechanism mechanism;
  mechanism.NewMechanism(0);
  const quillon::TAniJoint& b = mechanism.Joint(1);
  EXPECT_DOUBLE_EQ(b.Positions[0].X, -0.43);
  EXPECT_DOUBLE_EQ(b.Positions[0].Y, -0.16);
  EXPECT_TRUE(b.Trace);
  EXPECT_FALSE(b.Analyse);
  const quillon::TAniJoint& e = mechanism.Joint(4);
  EXPECT_TRUE(e.Trace && e.ShowVectors && e.Analyse);
  EXPECT_EQ(mechanism.Link(0).Name, "AD");
  EXPECT_EQ(mechanism.Link(2).Name, "BCE");
  EXPECT_TRUE(mechanism.Link(2).Kinematics);
  EXPECT_FALSE(mechanism.Link(1).Kinematics);
  // Frame AD and coupler BCE carry the IC flag: the centre of the coupler against the ground.
  EXPECT_EQ(mechanism.Centres.ShownLow(), 0);
  EXPECT_EQ(mechanism.Centres.ShownHigh(), 2);
  // Joint A joins frame and crank, C coupler and rocker, D rocker and frame.
  EXPECT_EQ(mechanism.SharedJoint[0][1], 0);
  EXPECT_EQ(mechanism.SharedJoint[2][3], 2);
  EXPECT_EQ(mechanism.SharedJoint[3][0], 3);
  EXPECT_EQ(mechanism.SharedJoint[0][2], -1);
  // E sits on the coupler alone.
  EXPECT_EQ(e.Link1, 2);
  EXPECT_EQ(e.Link2, -1);
}

TEST(PresetsTest, VariantsWithoutCouplerPointShowCrankAgainstLastLink) {
  TAniMechanism mechanism;
  for (const int32_t type : {9, 10, 11}) {
    SCOPED_TRACE(type);
    mechanism.NewMechanism(type);
    EXPECT_EQ(mechanism.Centres.ShownLow(), 1);
    EXPECT_EQ(mechanism.Centres.ShownHigh(), mechanism.LinkCount() - 1);
    // The tracer is a joint of the frame.
    EXPECT_NE(mechanism.Link(0).Name.find(static_cast<char>(mechanism.Tracer->Letter)), std::string::npos);
  }
}

TEST(PresetsTest, KindsOfSliderAndShortKindsText) {
  TAniMechanism mechanism;
  mechanism.NewMechanism(7);
  for (int32_t l = 0; l < mechanism.LinkCount(); ++l) {
    const quillon::TAniLink& link = mechanism.Link(l);
    const bool slider = link.Name == "AD" || link.Name == "CD";
    EXPECT_EQ(link.KindsText(), slider ? std::string("PS") : std::string(link.JointCount, 'P')) << link.Name;
  }
  mechanism.NewMechanism(6);
  const quillon::TAniLink& eik = mechanism.Link(7);
  ASSERT_EQ(eik.Name, "EIK");
  EXPECT_EQ(eik.KindsText(), "PPP");
  EXPECT_TRUE(eik.Kinematics && eik.ICLink);
}

TEST(PresetsTest, CustomHasOneJointFrameAndNoTracer) {
  TAniMechanism mechanism;
  mechanism.NewMechanism(13);
  EXPECT_EQ(mechanism.Link(0).Name, "A");
  EXPECT_EQ(mechanism.Link(0).KindsText(), "P");
  EXPECT_TRUE(mechanism.Link(1).Kinematics);
  EXPECT_TRUE(mechanism.Joint(1).Trace);
  EXPECT_EQ(mechanism.DyadCount(), 0);
  EXPECT_EQ(mechanism.Tracer, nullptr);
  // No link carries the IC flag: no pair is shown.
  EXPECT_EQ(mechanism.Centres.ShownLow(), 0);
  EXPECT_EQ(mechanism.Centres.ShownHigh(), 0);
}

TEST(PresetsTest, TypesWithoutBuilderLeaveMechanismEmpty) {
  TAniMechanism mechanism;
  mechanism.NewMechanism(12);
  for (const int32_t type : {4, 8, 14, -1, 256}) {
    SCOPED_TRACE(type);
    EXPECT_EQ(quillon::FindPreset(type), nullptr);
    mechanism.NewMechanism(type);
    EXPECT_EQ(mechanism.PresetType, type);
    EXPECT_EQ(mechanism.JointCount(), 0);
    EXPECT_EQ(mechanism.LinkCount(), 0);
    EXPECT_EQ(mechanism.DyadCount(), 0);
    EXPECT_EQ(mechanism.InputCount(), 0);
    EXPECT_EQ(mechanism.Tracer, nullptr);
    EXPECT_EQ(mechanism.PresetName, "Watt 2 Double 4-bar");
    // Nothing can fail to close, so the empty mechanism covers the whole cycle without moving.
    mechanism.Calculate();
    EXPECT_EQ(mechanism.Len, mechanism.N);
    EXPECT_EQ(mechanism.FullCycle, 0);
  }
}

struct TClearCounter : quillon::TMessageSink {
  int clears = 0;
  void AppendLine(const std::string&, quillon::TMessageKind) override {}
  void ClearLines() override { ++clears; }
};

TEST(PresetsTest, NewMechanismClearsLogCurveAndAreas) {
  TAniMechanism mechanism;
  mechanism.Curve.AddPoint(shared::TComplex(0, 0));
  mechanism.Curve.AddPoint(shared::TComplex(1, 0));
  mechanism.Areas.AddArea(shared::TComplex(0, 0), shared::TComplex(1, 1));
  mechanism.Modified = 1;
  TClearCounter sink;
  quillon::StdOut().SetSink(&sink);
  mechanism.NewMechanism(1);
  quillon::StdOut().SetSink(nullptr);
  EXPECT_EQ(sink.clears, 1);
  EXPECT_EQ(mechanism.Curve.PointCount(), 0);
  EXPECT_EQ(mechanism.Areas.Count(), 0);
  EXPECT_FALSE(mechanism.GetModified());
}

}  // namespace
