// Tests of the DXF drawings of links: read with the document, drawn at the anchor joint turned
// with the link, the frame's as background, and files that cannot be read.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "LogCapture.h"
#include "RecordingCanvas.h"
#include "animator/engine/AniLink.h"
#include "animator/engine/AniMechanism.h"
#include "shared/TabLine.h"
#include "tests/shared/TestFiles.h"
#include "tests/shared/dxf/DXFFixtures.h"

namespace {

namespace fs = std::filesystem;
using quillon::TAniMechanism;
using shared::TComplex;

// A drawing of one line from (0, 0) to (x, y) millimetres.
std::string LineDrawing(int x, int y) {
  return dxftest::EntitiesOnly(dxftest::Pairs(
      {{0, "LINE"}, {8, "0"}, {10, "0"}, {20, "0"}, {11, std::to_string(x)}, {21, std::to_string(y)}}));
}

TComplex Position(TAniMechanism& m, char letter, int step) {
  const auto& p = m.Joint(m.FindJoint(letter)).Positions[static_cast<size_t>(step)];
  return TComplex(p.X, p.Y);
}

double Direction(const TComplex& from, const TComplex& to) { return std::atan2(to.Y - from.Y, to.X - from.X); }

// Local point p placed: turned by a, moved by (ox, oy), then turned by t and moved to origin.
TComplex Placed(const TComplex& origin, double t, double a, double ox, double oy, const TComplex& p) {
  const double lx = std::cos(a) * p.X - std::sin(a) * p.Y + ox;
  const double ly = std::sin(a) * p.X + std::cos(a) * p.Y + oy;
  return TComplex(origin.X + std::cos(t) * lx - std::sin(t) * ly, origin.Y + std::sin(t) * lx + std::cos(t) * ly);
}

std::string Pixel(const TComplex& p) { return dxftest::Px(p.X, p.Y); }

void Load(TAniMechanism& mechanism, const fs::path& document) {
  shared::TTabLines lines;
  lines.LoadFromFile(document.string());
  mechanism.LoadFromTabLines(lines);
}

void Save(const TAniMechanism& mechanism, const fs::path& document) {
  shared::TTabLines lines;
  lines.SetFileName(document.string());
  mechanism.SaveToTabLines(lines);
  lines.SaveToFile();
}

class LinkDrawingTest : public shared::test::TTempFolderTest {
 protected:
  LinkDrawingTest() : TTempFolderTest("linkdrawing") {}
};

// The four-bar with a drawing on the coupler BCE anchored at C and one on the frame at A: saved,
// read back, drawn at several steps where the coupler's turn, found from its joints, places it.
TEST_F(LinkDrawingTest, DrawingsFollowTheirLinksThroughASaveAndARead) {
  fs::create_directories(dir / "parts");
  shared::test::WriteBytes(dir / "parts" / "coupler.dxf", LineDrawing(100, 0));
  shared::test::WriteBytes(dir / "frame.dxf", LineDrawing(0, 50));
  TAniMechanism source;
  source.NewMechanism(0);
  quillon::TAniLink& coupler = source.Link(source.FindLink("BCE"));
  coupler.SetAnchorLetter("C");
  coupler.Drawing->FileName = (dir / "parts" / "coupler.dxf").string();
  coupler.Drawing->Transform.SetAll(0.02, -0.01, 0.3, 1, 1);
  source.Link(0).SetAnchorLetter(std::string(1, source.Link(0).Name[0]));
  source.Link(0).Drawing->FileName = (dir / "frame.dxf").string();
  source.Link(0).Drawing->Transform.SetAll(0.05, 0, 0, 1, 1);
  Save(source, dir / "doc.mech");
  const std::string saved = shared::test::ReadBytes(dir / "doc.mech");
  EXPECT_NE(saved.find("parts/coupler.dxf\tC\t"), std::string::npos) << "relative to the document";

  enginetest::TLogCapture log;
  TAniMechanism m;
  Load(m, dir / "doc.mech");
  EXPECT_TRUE(log.sink.lines.empty());
  ASSERT_TRUE(m.HasFrameDrawing());
  const quillon::TAniLink& read = m.Link(m.FindLink("BCE"));
  EXPECT_EQ(read.Drawing->Count(), 1);
  EXPECT_EQ(read.AnchorLetter(), "C");
  EXPECT_EQ(read.Drawing->Transform.OffsetX, 0.02);
  EXPECT_EQ(read.Drawing->Transform.OffsetY, -0.01);
  EXPECT_EQ(read.Drawing->Transform.Angle, 0.3);

  m.Calculate();
  ASSERT_GT(m.Len, 30);
  const double designTurn = Direction(Position(m, 'B', 0), Position(m, 'C', 0));
  for (const int step : {0, 11, 30}) {
    SCOPED_TRACE(step);
    m.SetFrame(step);
    const double turn = Direction(Position(m, 'B', step), Position(m, 'C', step)) - designTurn;
    const TComplex c = Position(m, 'C', step);
    enginetest::TRecordingView view;
    view.log.clear();
    m.Paint(view.canvas);
    EXPECT_TRUE(view.box.Screen.Logged({"M " + Pixel(Placed(c, turn, 0.3, 0.02, -0.01, TComplex(0, 0))),
                                        "L " + Pixel(Placed(c, turn, 0.3, 0.02, -0.01, TComplex(0.1, 0)))}));
  }

  // The frame's drawing is the background, not part of the mechanism's own drawing.
  enginetest::TRecordingView view;
  const TComplex a = Position(m, m.Link(0).Name[0], 0);
  const std::string frameLine = "L " + Pixel(TComplex(a.X + 0.05, a.Y + 0.05));
  m.SetFrame(20);
  view.log.clear();
  m.Paint(view.canvas);
  EXPECT_EQ(std::count(view.log.begin(), view.log.end(), frameLine), 0);
  view.log.clear();
  m.PaintFrameDrawing(view.canvas);
  EXPECT_TRUE(view.box.Screen.Logged({"M " + Pixel(TComplex(a.X + 0.05, a.Y)), frameLine}));

  // Saved again beside the first, the record is the same.
  Save(m, dir / "again.mech");
  EXPECT_EQ(shared::test::ReadBytes(dir / "again.mech"), saved);
}

// Files that cannot be drawn, or not all of them: the document opens with one warning, the
// drawing holds what could be read, the name stays, and a save writes the document back byte
// for byte.
TEST_F(LinkDrawingTest, FilesThatCannotBeReadWarnAndSaveBackUnchanged) {
  struct TCase {
    const char* name;
    std::function<void(const fs::path&)> make;
    // What follows the path in the warning; nullptr: no warning.
    const char* warning;
    int entities;
  };
  const std::string line = LineDrawing(10, 10);
  const TCase cases[] = {
      {"missing.dxf", [](const fs::path&) {}, " does not exist!", 0},
      {"folder.dxf", [](const fs::path& p) { fs::create_directories(p); }, ": not a file", 0},
      {"pipe.dxf", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }, ": not a file", 0},
      {"huge.dxf",
       [&](const fs::path& p) {
         shared::test::WriteBytes(p, line);
         fs::resize_file(p, quillon::kMaxDrawingFileSize + 1);
       },
       ": the file is larger than 64 MB", 0},
      {"words.dxf", [](const fs::path& p) { shared::test::WriteBytes(p, "Dear reader,\nthis is a letter, not a drawing.\n"); },
       ": ", 0},
      {"binary.dxf", [](const fs::path& p) { shared::test::WriteBytes(p, std::string("\x89PNG\r\n\x1a\n\0\0", 10)); },
       ": ", 0},
      // Read whole, but the outline of a newer CAD program is not drawn: it is named.
      {"lwpolyline.dxf",
       [](const fs::path& p) {
         shared::test::WriteBytes(p, dxftest::EntitiesOnly(dxftest::Pairs(
                                         {{0, "LINE"}, {10, "0"}, {20, "0"}, {11, "5"}, {21, "5"}, {0, "LWPOLYLINE"},
                                          {90, "2"}, {10, "0"}, {20, "0"}, {10, "9"}, {20, "0"}})));
       },
       " holds entities that are not drawn: 1 LWPOLYLINE.", 2},
      // Cut inside its second entity: what was read stays, the second line as far as it goes,
      // and no error is raised.
      {"truncated.dxf",
       [&](const fs::path& p) {
         const std::string two = dxftest::Section(
             "ENTITIES", dxftest::Pairs({{0, "LINE"}, {8, "0"}, {10, "0"}, {20, "0"}, {11, "5"}, {21, "5"},
                                         {0, "LINE"}, {8, "0"}, {10, "1"}}));
         shared::test::WriteBytes(p, two.substr(0, two.size() - 8));
       },
       nullptr, 2},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path file = dir / c.name;
    c.make(file);
    TAniMechanism source;
    source.NewMechanism(0);
    quillon::TAniLink& coupler = source.Link(source.FindLink("BCE"));
    coupler.SetAnchorLetter("E");
    coupler.Drawing->FileName = file.string();
    coupler.Drawing->Transform.SetAll(0.01, 0.02, -0.5, 1, 1);
    Save(source, dir / "doc.mech");

    enginetest::TLogCapture log;
    TAniMechanism m;
    Load(m, dir / "doc.mech");
    const quillon::TAniLink& read = m.Link(m.FindLink("BCE"));
    if (c.warning) {
      ASSERT_EQ(log.sink.lines.size(), 1u);
      const std::string expected = "[Warning] " + file.string() + c.warning;
      EXPECT_EQ(log.sink.lines[0].substr(0, expected.size()), expected);
      EXPECT_GT(log.sink.lines[0].size(), std::string("[Warning] " + file.string() + ": ").size())
          << "the reason follows";
    } else {
      EXPECT_TRUE(log.sink.lines.empty());
    }
    EXPECT_EQ(read.Drawing->Count(), c.entities);
    EXPECT_EQ(read.Drawing->FileName, file.string());
    EXPECT_EQ(read.AnchorLetter(), "E");
    m.Calculate();
    enginetest::TRecordingView view;
    m.Paint(view.canvas);

    Save(m, dir / "again.mech");
    EXPECT_EQ(shared::test::ReadBytes(dir / "again.mech"), shared::test::ReadBytes(dir / "doc.mech"));
    fs::remove_all(file);
  }
}

// A drawing on a link without joints or anchored outside its link is read and kept, but has no
// place to be drawn.
TEST_F(LinkDrawingTest, DrawingsWithoutAnAnchorJointAreKeptButNotDrawn) {
  shared::test::WriteBytes(dir / "part.dxf", LineDrawing(37, -71));
  const std::string document =
      "[Quillon>\r\n0\r\n<Quillon]\r\n"
      "[Joints>\r\nA\t0\t0\r\nB\t0.1\t0\r\n<Joints]\r\n"
      "[Links>\r\nAB\tPP\t0\t0\r\n\t\t0\t0\r\nAB\tPP\t0\t0\r\n<Links]\r\n"
      "[DXF>\r\npart.dxf\tA\t0\t0\t0\r\npart.dxf\t\t0\t0\t0\r\npart.dxf\tZ\t0\t0\t0\r\n<DXF]\r\n";
  shared::test::WriteBytes(dir / "doc.mech", document);
  enginetest::TLogCapture log;
  TAniMechanism m;
  Load(m, dir / "doc.mech");
  EXPECT_TRUE(log.sink.lines.empty());
  ASSERT_EQ(m.LinkCount(), 3);
  EXPECT_EQ(m.Link(1).JointCount, 0);
  EXPECT_EQ(m.Link(1).Drawing->Count(), 1);
  EXPECT_EQ(m.Link(2).AnchorIndex, -1);
  EXPECT_EQ(m.Link(2).Drawing->Count(), 1);
  m.Calculate();
  enginetest::TRecordingView view;
  view.log.clear();
  m.Paint(view.canvas);
  const std::string end = "L " + dxftest::Px(0.037, -0.071);
  EXPECT_EQ(std::count(view.log.begin(), view.log.end(), end), 0);
  // The frame's, anchored at A, is drawn.
  view.log.clear();
  m.PaintFrameDrawing(view.canvas);
  EXPECT_EQ(std::count(view.log.begin(), view.log.end(), end), 1);
}

}  // namespace
