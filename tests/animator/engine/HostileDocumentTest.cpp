// Documents built to hurt the reader: records far past every bound, values that are no numbers
// or the largest doubles, a file cut off inside a record, anchors outside their links. Each is
// read up to the bounds with its warnings, solves, and saves to a text that stays the same from
// the second save on.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "LogCapture.h"
#include "animator/engine/AniMechanism.h"
#include "shared/TabLine.h"

namespace {

namespace fs = std::filesystem;
using quillon::TAniMechanism;

const fs::path kHostile = fs::path(SUITE_FIXTURES) / "hostile";

std::string SavedText(const TAniMechanism& mechanism) {
  shared::TTabLines lines;
  lines.SetFileName((kHostile / "saved.mech").string());
  mechanism.SaveToTabLines(lines);
  return lines.Text();
}

void LoadText(TAniMechanism& mechanism, const std::string& text) {
  shared::TTabLines lines;
  std::istringstream in(text);
  lines.LoadFromStream(in);
  lines.SetFileName((kHostile / "saved.mech").string());
  mechanism.LoadFromTabLines(lines);
}

struct THostileCase {
  const char* file;
  std::vector<std::string> warnings;
  int joints, links, dyads, inputs, curvePoints, areas;
};

// How the reader's warnings name a fixture.
std::string Named(const char* file) { return "\"" + (kHostile / file).string() + "\""; }

TEST(HostileDocumentTest, ReadUpToTheBoundsWithWarningsSolveAndSaveStably) {
  const std::string noDrawing = (kHostile / "a:b.dxf").string() + " does not exist!";
  const THostileCase cases[] = {
      // 48 of the links read are blank lines.
      {"blank-links.mech",
       {"[Warning] The document holds more than 52 links; only the first 52 were read.",
        "[Warning] 48 records of " + Named("blank-links.mech") + " are cut short; what is missing was taken as 0."},
       5, 52, 1, 1, 0, 0},
      {"input-joints.mech", {"[Warning] The document holds more than 26 joints; only the first 26 were read."}, 26, 4, 1, 26, 0, 0},
      {"curve-points.mech", {}, 5, 4, 1, 1, 3000, 0},
      {"many-records.mech",
       {"[Warning] The document holds more than 26 dyads; only the first 26 were read.",
        "[Warning] Input A holds more than 11 sections; the rest was not read.",
        "[Warning] The document holds more than 1000 areas; only the first 1000 were read."},
       5, 4, 26, 1, 0, 1000},
      // 10 joint co-ordinates, 3 law fields, 12 drawing placements, 27 curve and 4 area values;
      // the law's section is left with a duration of 0.
      {"non-finite.mech",
       {"[Warning] Input A: section 0 dropped, its duration must be above 0 and its values finite",
        "[Warning] 56 values of " + Named("non-finite.mech") + " could not be read as numbers and were taken as 0."},
       5, 4, 1, 1, 3, 1},
      {"huge-values.mech", {}, 5, 4, 1, 1, 3, 1},
      {"cut-off.mech",
       {"[Warning] " + Named("cut-off.mech") + " is cut short: the section \"Links\" has no end mark.",
        "[Warning] 1 record of " + Named("cut-off.mech") + " is cut short; what is missing was taken as 0."},
       5, 3, 0, 1, 0, 0},
      {"anchors.mech", {"[Warning] " + noDrawing}, 5, 4, 1, 1, 0, 0},
  };
  for (const THostileCase& c : cases) {
    SCOPED_TRACE(c.file);
    shared::TTabLines lines;
    lines.LoadFromFile((kHostile / c.file).string());
    ASSERT_FALSE(lines.Lines.empty());
    TAniMechanism mechanism;
    enginetest::TLogCapture log;
    ASSERT_NO_THROW(mechanism.LoadFromTabLines(lines));
    EXPECT_EQ(log.sink.lines, c.warnings);
    EXPECT_EQ(mechanism.JointCount(), c.joints);
    EXPECT_EQ(mechanism.LinkCount(), c.links);
    EXPECT_EQ(mechanism.DyadCount(), c.dyads);
    EXPECT_EQ(mechanism.InputCount(), c.inputs);
    EXPECT_EQ(mechanism.Curve.PointCount(), c.curvePoints);
    EXPECT_EQ(mechanism.Areas.Count(), c.areas);
    for (int i = 0; i < mechanism.InputCount(); ++i)
      EXPECT_LE(mechanism.Input(i).Steps(), quillon::TInputFunction::kMaxSteps);

    mechanism.Calculate();
    EXPECT_GE(mechanism.Len, 0);
    EXPECT_LE(mechanism.Len, mechanism.N);

    // Save, read, save, read, save: the second and third saves are the same text.
    const std::string first = SavedText(mechanism);
    TAniMechanism second;
    LoadText(second, first);
    const std::string again = SavedText(second);
    TAniMechanism third;
    LoadText(third, again);
    EXPECT_EQ(SavedText(third), again);
    EXPECT_EQ(again, first);
  }
}

// Blank lines count as curve points; past the bound the curve keeps the first ones and says so.
TEST(HostileDocumentTest, CurvePointsPastTheBoundAreNotRead) {
  const int bound = quillon::TSpline::kMaxPoints;
  std::string text = "[Quillon>\r\n0\r\n<Quillon]\r\n[Curve>\r\n0\t0\t0\t0\t0\t0\r\n";
  for (int i = 0; i < bound + 50; ++i) text += std::to_string(i) + "\t" + std::to_string(i % 3) + "\r\n";
  text += "<Curve]\r\n";
  TAniMechanism mechanism;
  enginetest::TLogCapture log;
  LoadText(mechanism, text);
  ASSERT_EQ(mechanism.Curve.PointCount(), bound);
  EXPECT_EQ(mechanism.Curve.Point(bound - 1).X, bound - 1);
  EXPECT_EQ(log.sink.lines,
            std::vector<std::string>{"[Warning] The curve holds more than 10000 points; only the first 10000 were read."});
  TAniMechanism copy;
  LoadText(copy, SavedText(mechanism));
  EXPECT_EQ(SavedText(copy), SavedText(mechanism));
}

// The anchors: a letter outside the link is no anchor and stays no anchor through a save (an
// empty field would read as the first joint); a lower-case letter is the joint of that letter.
TEST(HostileDocumentTest, AnchorsOutsideTheirLinksStayWithoutAnchor) {
  shared::TTabLines lines;
  lines.LoadFromFile((kHostile / "anchors.mech").string());
  TAniMechanism mechanism;
  mechanism.LoadFromTabLines(lines);
  EXPECT_EQ(mechanism.Link(0).AnchorIndex, -1);  // "Q" in AD
  EXPECT_EQ(mechanism.Link(1).AnchorIndex, -1);  // "Z" in AB
  EXPECT_EQ(mechanism.Link(2).AnchorIndex, 2);   // "e" in BCE
  TAniMechanism copy;
  LoadText(copy, SavedText(mechanism));
  for (int l = 0; l < 3; ++l) EXPECT_EQ(copy.Link(l).AnchorIndex, mechanism.Link(l).AnchorIndex) << l;
  EXPECT_EQ(copy.Link(0).Drawing->FileName, (kHostile / "a:b.dxf").string());
}

}  // namespace
