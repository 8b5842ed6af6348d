// The preset linkages: every type's tables line by line and against the summary of the types, the
// kinds and flags that matter, the topology they build, and the types that build nothing.
#include <gtest/gtest.h>

#include <charconv>
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

struct TPresetText {
  int32_t type;
  const char* text;
};

// Every preset as its builder's tables give it, line by line: name, driven joint, tracer ("-" for
// none), the joints in order (letter, x, y, then the trace, show-vectors and analyse flags), the
// links in order (name, kinds, kinematics, IC link) and the dyads. Link EIK of the eight-bar is
// given the kinds "PP": its third joint is a pin.
const TPresetText kPresetTexts[] = {
    {0, R"(Four Bar
input A
tracer E
joint A -0.32 -0.25 000
joint B -0.43 -0.16 100
joint C -0.25 -0.05 100
joint D 0.2 -0.4 000
joint E 0 0 111
link AD PP 0 1
link AB PP 0 0
link BCE PPP 1 1
link CD PP 0 0
dyad BCE CD
)"},
    {1, R"(Watt 1 Six Bar
input A
tracer H
joint A -0.4 -0.25 000
joint B -0.4 -0.115 100
joint C 0.05 -0.115 000
joint D -0.252 -0.466 000
joint E -0.29 0.05 000
joint F 0.29 -0.115 000
joint G 0 0.2 000
joint H 0.175 0.15 111
link AD PP 0 1
link AB PP 0 0
link BCE PPP 0 0
link CDF PPP 0 0
link EG PP 0 0
link FGH PPP 1 1
dyad BCE CDF
dyad EG FGH
)"},
    {2, R"(Watt 2 Six Bar
input A
tracer H
joint A -0.4 -0.25 000
joint B -0.4 -0.115 100
joint C 0.2 -0.1 000
joint D 0.2 -0.4 000
joint E 0.3 0 000
joint F 0.5 0 100
joint G 0.5 -0.5 000
joint H 0.4 0.1 111
link ADG PPP 0 1
link AB PP 0 0
link BC PP 0 0
link CDE PPP 0 0
link EFH PPP 1 1
link FG PP 0 0
dyad BC CDE
dyad EFH FG
)"},
    {3, R"(Stephenson 1 Six Bar
input A
tracer H
joint A -0.33 -0.33 000
joint B -0.4 -0.12 100
joint C 0.15 -0.1 000
joint D 0.2 -0.4 000
joint E -0.04 -0.32 000
joint F 0.24 0.15 000
joint G -0.4 0.36 000
joint H -0.6 0.2 111
link AD PP 0 1
link ABE PPP 0 0
link BC PP 0 0
link CDF PPP 0 0
link FG PP 0 0
link EGH PPP 1 1
dyad BC CDF
dyad EGH FG
)"},
    {5, R"(Stephenson 3 Six Bar
input A
tracer H
joint A -0.4 -0.25 000
joint B -0.4 -0.115 100
joint C 0.2 -0.1 000
joint D 0.2 -0.4 000
joint E 0 0 000
joint F 0.5 0 100
joint G 0.5 -0.5 000
joint H 0.2 0.1 111
link ADG PPP 0 1
link AB PP 0 0
link BCE PPP 0 0
link CD PP 0 0
link EFH PPP 1 1
link FG PP 0 0
dyad BCE CD
dyad EFH FG
)"},
    {6, R"(Eight Bar
input A
tracer K
joint A -0.4 -0.25 000
joint B -0.4 -0.14 100
joint C -0.2 -0.1 000
joint D -0.1 -0.4 000
joint E -0.29 0.05 000
joint F 0.08 -0.32 000
joint G -0.07 0.07 000
joint H 0.25 -0.4 000
joint I -0.16 0.14 000
joint J -0.17 -0.23 000
joint K -0.44 0.12 111
link ADH PPP 0 1
link AB PP 0 0
link BCE PPP 0 0
link CDF PPP 0 0
link FGJ PPP 0 0
link GH PP 0 0
link IJ PP 0 0
link EIK PPP 1 1
dyad BCE CDF
dyad FGJ GH
dyad EIK IJ
)"},
    {7, R"(Four Bar Slider
input A
tracer E
joint A -0.32 -0.25 000
joint B -0.43 -0.16 100
joint C 0.2 0 100
joint D 0.24 -0.03 000
joint E -0.2 0 111
link AD PS 0 1
link AB PP 0 0
link BCE PPP 1 1
link CD PS 0 0
dyad BCE CD
)"},
    {9, R"(Four Bar
input A
tracer D
joint A -0.4 -0.25 000
joint B -0.4 -0.115 100
joint C 0.2 -0.1 100
joint D 0.2 -0.4 000
link AD PP 0 0
link AB PP 0 1
link BC PP 0 0
link CD PP 1 1
dyad BC CD
)"},
    {10, R"(Watt 2 Six Bar
input A
tracer G
joint A -0.4 -0.25 000
joint B -0.4 -0.115 100
joint C 0.2 -0.1 000
joint D 0.2 -0.4 000
joint E 0.3 0 000
joint F 0.5 0 100
joint G 0.5 -0.5 000
link ADG PPP 0 0
link AB PP 0 1
link BC PP 0 0
link CDE PPP 0 0
link EF PP 0 0
link FG PP 1 1
dyad BC CDE
dyad EF FG
)"},
    {11, R"(Stephenson 3 Six Bar
input A
tracer G
joint A -0.4 -0.25 000
joint B -0.4 -0.12 100
joint C 0.2 -0.1 000
joint D 0.2 -0.4 000
joint E 0 0 000
joint F 0.5 0 100
joint G 0.5 -0.5 000
link ADG PPP 0 0
link AB PP 0 1
link BCE PPP 0 0
link CD PP 0 0
link EF PP 0 0
link FG PP 1 1
dyad BCE CD
dyad EF FG
)"},
    {12, R"(Watt 2 Double 4-bar
input D
tracer H
joint A -0.25 -0.4 000
joint B -0.4 -0.115 000
joint C 0.1 -0.3 100
joint D 0.2 -0.4 000
joint E 0.3 -0.3 000
joint F 0.5 0 000
joint G 0.5 -0.5 000
joint H 0.4 0.1 111
joint I -0.3 0 111
link ADG PPP 0 1
link AB PP 0 0
link BCI PPP 0 0
link CDE PPP 0 0
link EFH PPP 1 1
link FG PP 0 0
dyad AB BCI
dyad EFH FG
)"},
    {13, R"(Custom
input A
tracer -
joint A 0 -0.2 000
joint B 0 0 100
link A P 0 0
link AB PP 1 0
)"},

};

std::string Real(double value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

// The same description of the mechanism NewMechanism built.
std::string Describe(TAniMechanism& m) {
  std::string text = m.PresetName + "\n";
  text += "input";
  for (int32_t i = 0; i < m.InputCount(); ++i) text += " " + m.Input(i).Letter;
  text += "\ntracer ";
  text += m.Tracer ? std::string(1, LetterOf(*m.Tracer)) : "-";
  text += "\n";
  for (int32_t j = 0; j < m.JointCount(); ++j) {
    const quillon::TAniJoint& joint = m.Joint(j);
    text += std::string("joint ") + LetterOf(joint) + " " + Real(joint.Positions[0].X) + " " +
            Real(joint.Positions[0].Y) + " " + (joint.Trace ? "1" : "0") + (joint.ShowVectors ? "1" : "0") +
            (joint.Analyse ? "1" : "0") + "\n";
  }
  for (int32_t l = 0; l < m.LinkCount(); ++l) {
    const quillon::TAniLink& link = m.Link(l);
    text += "link " + link.Name + " " + link.KindsText() + " " + (link.Kinematics ? "1" : "0") + " " +
            (link.ICLink ? "1" : "0") + "\n";
  }
  for (int32_t d = 0; d < m.DyadCount(); ++d) {
    const quillon::TAniDyad& dyad = m.Dyad(d);
    text +=
        "dyad " + (dyad.Link1 ? dyad.Link1->Name : "?") + " " + (dyad.Link2 ? dyad.Link2->Name : "?") + "\n";
  }
  return text;
}

TEST(PresetsTest, EveryPresetBuildsItsTableLineByLine) {
  TAniMechanism mechanism;
  std::set<int32_t> described;
  for (const TPresetText& preset : kPresetTexts) {
    SCOPED_TRACE(preset.type);
    mechanism.NewMechanism(preset.type);
    EXPECT_EQ(Describe(mechanism), preset.text);
    described.insert(preset.type);
  }
  // No preset goes without its description.
  for (const quillon::TPreset& preset : quillon::Presets())
    EXPECT_EQ(described.count(preset.Type), 1u) << preset.Type;
}

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
