// tabdoc dxf and tabdoc draw run as a user runs them: the entity listing with its extents, the
// picture fitted to them, and the refusals that write nothing.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <numbers>
#include <sstream>
#include <string>

#include "tests/shared/TestFiles.h"

namespace {

namespace fs = std::filesystem;

const fs::path kDxfFixtures = fs::path(SUITE_FIXTURES) / ".." / ".." / "shared" / "dxf" / "fixtures";

struct TRun {
  int status;
  std::string out;
  std::string err;
};

class TabdocDxfTest : public shared::test::TTempFolderTest {
 protected:
  TabdocDxfTest() : TTempFolderTest("tabdoc_dxf") {}

  TRun Run(const std::string& args) {
    const fs::path out = dir / "stdout.txt";
    const fs::path err = dir / "stderr.txt";
    const std::string command = Quote(TABDOC_PATH) + " " + args + " >" + Quote(out) + " 2>" + Quote(err);
    const int raw = std::system(command.c_str());
    TRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, shared::test::ReadBytes(out), shared::test::ReadBytes(err)};
    fs::remove(out);
    fs::remove(err);
    return run;
  }
  static std::string Quote(const fs::path& path) { return "'" + path.string() + "'"; }

  fs::path Write(const std::string& name, const std::string& text) {
    shared::test::WriteBytes(dir / name, text);
    return dir / name;
  }
};

std::string EntitiesOnly(const std::string& pairs) {
  return "  0\nSECTION\n  2\nENTITIES\n" + pairs + "  0\nENDSEC\n  0\nEOF\n";
}

TEST_F(TabdocDxfTest, ListsEveryEntityAndTheExtents) {
  const TRun run = Run("dxf " + Quote(kDxfFixtures / "every_entity.dxf"));
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string listing = run.out.substr(0, run.out.find("EXTENTS"));
  EXPECT_EQ(listing,
            "LINE 255 Outline\n"
            "POINT 65280 Caf\xC3\xA9\n"
            "CIRCLE 16711680 0\n"
            "ARC 0 0\n"
            "TRACE 65535 0\n"
            "SOLID 16776960 0\n"
            "TEXT 0 0\n"
            "MTEXT 8421376 0\n"
            "POLYLINE 16711935 0\n"
            "DIMENSION 8388608 0\n"
            "INSERT 128 0\n"
            "3DFACE 32768 0\n");
  // The arc of radius 1 m from 80° to 100° reaches x = ±sin 10° and its top y = 1; the point
  // is lowest; the insert's block reaches x = 2.
  std::istringstream extents(run.out.substr(run.out.find("EXTENTS")));
  std::string word;
  double x0, y0, x1, y1;
  extents >> word >> x0 >> y0 >> x1 >> y1;
  EXPECT_NEAR(x0, -std::sin(std::numbers::pi / 18), 1e-15);
  EXPECT_EQ(y0, -300 * 0.001);
  EXPECT_EQ(x1, 2);
  EXPECT_EQ(y1, 1);
  // Seventeen significant digits.
  EXPECT_NE(run.out.find("EXTENTS -0.1736481776669303 -0.29999999999999999 2 1\n"), std::string::npos) << run.out;
}

TEST_F(TabdocDxfTest, ListingCases) {
  struct TCase {
    std::string entities;
    std::string expected;
  };
  const TCase cases[] = {
      {"", "EXTENTS 0 0 0 0\n"},
      {"  0\nHATCH\n  8\nL\n 10\n5\n 20\n5\n", "HATCH 0 L\nEXTENTS 0 0 0 0\n"},
      // Vertices and the end of the sequence belong to their polyline; extents not seeded at 0.
      {"  0\nPOLYLINE\n  8\nP\n  0\nVERTEX\n 10\n1000\n 20\n2000\n  0\nVERTEX\n 10\n3000\n 20\n2500\n"
       "  0\nSEQEND\n",
       "POLYLINE 0 P\nEXTENTS 1 2 3 2.5\n"},
      {"  0\nLINE\n 62\n1\n  0\nCIRCLE\n 62\n256\n", "LINE 255 \nCIRCLE 0 \nEXTENTS 0 0 0 0\n"},
  };
  for (const TCase& c : cases) {
    const TRun run = Run("dxf " + Quote(Write("case.dxf", EntitiesOnly(c.entities))));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, c.expected) << c.entities;
  }
}

TEST_F(TabdocDxfTest, DrawsFittedOnWhite) {
  // A lone horizontal red line far from the origin.
  const fs::path dxf =
      Write("line.dxf", EntitiesOnly("  0\nLINE\n 62\n1\n 10\n0\n 20\n5000\n 11\n1000\n 21\n5000\n"));
  const TRun run = Run("draw " + Quote(dxf) + " " + Quote(dir / "line.png") + " 400 300");
  ASSERT_EQ(run.status, 0) << run.err;
  QImage image;
  ASSERT_TRUE(image.load(QString::fromStdString((dir / "line.png").string())));
  ASSERT_EQ(image.width(), 400);
  ASSERT_EQ(image.height(), 300);
  // The line crosses the middle row at the centre, with a margin on both sides.
  int red = 0, first = -1, last = -1;
  for (int y = 145; y <= 155; ++y)
    for (int x = 0; x < 400; ++x)
      if (image.pixel(x, y) == qRgb(255, 0, 0)) {
        ++red;
        if (first < 0 || x < first) first = x;
        last = std::max(last, x);
      }
  EXPECT_GT(red, 300);
  EXPECT_GT(first, 10);
  EXPECT_LT(last, 390);
  EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(200, 20), qRgb(255, 255, 255));

  const TRun every = Run("draw " + Quote(kDxfFixtures / "every_entity.dxf") + " " + Quote(dir / "every.png"));
  ASSERT_EQ(every.status, 0) << every.err;
  ASSERT_TRUE(image.load(QString::fromStdString((dir / "every.png").string())));
  EXPECT_EQ(image.width(), 800);
  EXPECT_EQ(image.height(), 600);
  int blue = 0;
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) blue += image.pixel(x, y) == qRgb(0, 0, 255);
  EXPECT_GT(blue, 100) << "the circle";
}

TEST_F(TabdocDxfTest, TextOfATurnedBlockIsDrawnTurned) {
  // Block B: a red line along its x axis and a blue "HELLO" above it, inserted turned a quarter.
  const fs::path dxf = Write(
      "turned.dxf",
      "  0\nSECTION\n  2\nBLOCKS\n  0\nBLOCK\n  2\nB\n 10\n0\n 20\n0\n"
      "  0\nLINE\n 62\n1\n 10\n0\n 20\n0\n 11\n100\n 21\n0\n"
      "  0\nTEXT\n 62\n5\n 10\n0\n 20\n5\n 40\n15\n  1\nHELLO\n  0\nENDBLK\n  0\nENDSEC\n" +
          EntitiesOnly("  0\nINSERT\n  2\nB\n 10\n0\n 20\n0\n 50\n90\n"));
  const TRun run = Run("draw " + Quote(dxf) + " " + Quote(dir / "turned.png"));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err.find("[Warning]"), std::string::npos) << "every kind is drawn";
  QImage image;
  ASSERT_TRUE(image.load(QString::fromStdString((dir / "turned.png").string())));
  // The box of the text's pixels, and of the line's.
  struct TBox {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;
    void Add(int x, int y) {
      x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
    }
  } text, line;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb c = image.pixel(x, y);
      if (qBlue(c) > 200 && qRed(c) < 100 && qGreen(c) < 100) text.Add(x, y);
      if (c == qRgb(255, 0, 0)) line.Add(x, y);
    }
  ASSERT_GE(text.x1, 0) << "the text is drawn";
  EXPECT_LE(line.x1 - line.x0, 2) << "the line stands upright";
  EXPECT_GT(text.y1 - text.y0, 2 * (text.x1 - text.x0)) << "the text reads upwards, along the line";
  EXPECT_LT(text.x1, line.x0) << "the block's +y, above its line, turns to the left";
}

TEST_F(TabdocDxfTest, DrawNamesTheKindsItDoesNotDraw) {
  const fs::path modern = Write(
      "modern.dxf", EntitiesOnly("  0\nLINE\n 11\n10\n  0\nLWPOLYLINE\n 90\n0\n  0\nHATCH\n  0\nLWPOLYLINE\n 90\n0\n"));
  struct TCase {
    fs::path dxf;
    std::string warning;  // empty: none
  };
  const TCase cases[] = {
      {modern, "[Warning] " + modern.string() + " holds entities that are not drawn: 2 LWPOLYLINE, 1 HATCH.\n"},
      {kDxfFixtures / "every_entity.dxf",
       "[Warning] " + (kDxfFixtures / "every_entity.dxf").string() + " holds entities that are not drawn: 1 3DFACE.\n"},
      {Write("line.dxf", EntitiesOnly("  0\nLINE\n 11\n10\n")), ""},
  };
  for (const TCase& c : cases) {
    const TRun run = Run("draw " + Quote(c.dxf) + " " + Quote(dir / "out.png"));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::exists(dir / "out.png")) << "drawn all the same";
    if (c.warning.empty())
      EXPECT_EQ(run.err.find("[Warning]"), std::string::npos) << run.err;
    else
      EXPECT_NE(run.err.find(c.warning), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("[Warning]"), run.err.rfind("[Warning]")) << "one line";
    fs::remove(dir / "out.png");
  }
  // The listing keeps its form: every entity, no warning.
  const TRun list = Run("dxf " + Quote(modern));
  EXPECT_EQ(list.out, "LINE 0 \nLWPOLYLINE 0 \nHATCH 0 \nLWPOLYLINE 0 \nEXTENTS 0 0 0.01 0\n");
  EXPECT_EQ(list.err.find("[Warning]"), std::string::npos);
}

// A link or a file at the name a picture was once written under first is neither written nor
// followed nor moved into the picture's place.
TEST_F(TabdocDxfTest, DrawLeavesWhatLiesBesideThePictureAlone) {
  const fs::path good = Write("good.dxf", EntitiesOnly("  0\nLINE\n 10\n0\n 20\n0\n 11\n100\n 21\n50\n"));
  const fs::path notes = Write("notes.txt", "someone else's");
  const fs::path png = dir / "out.png";
  fs::create_symlink(notes, dir / "out.png.partial");
  const TRun run = Run("draw " + Quote(good) + " " + Quote(png));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(png)));
  EXPECT_FALSE(QImage(QString::fromStdString(png.string())).isNull());
  EXPECT_TRUE(fs::is_symlink(dir / "out.png.partial"));
  EXPECT_EQ(shared::test::ReadBytes(notes), "someone else's");
}

TEST_F(TabdocDxfTest, RefusalsWriteNothing) {
  const fs::path good = Write("good.dxf", EntitiesOnly("  0\nLINE\n"));
  const fs::path bad = Write("bad.dxf", EntitiesOnly("  0\nLINE\n 10\nwide\n"));
  fs::create_directory(dir / "folder.dxf");
  const fs::path png = dir / "out.png";
  struct TCase {
    std::string args;
    int status;
    std::string err;
  };
  const TCase cases[] = {
      {"dxf " + Quote(dir / "missing.dxf"), 1, "missing.dxf"},
      {"dxf " + Quote(dir / "folder.dxf"), 1, "folder.dxf"},
      {"dxf " + Quote(bad), 1, "DXF line 8: real number expected"},
      {"draw " + Quote(dir / "missing.dxf") + " " + Quote(png), 1, "missing.dxf"},
      {"draw " + Quote(bad) + " " + Quote(png), 1, "DXF line 8"},
      {"draw " + Quote(good) + " " + Quote(dir / "no" / "out.png"), 1, "Cannot write"},
      {"dxf", 2, "usage"},
      {"dxf " + Quote(good) + " extra", 2, "usage"},
      {"draw " + Quote(good), 2, "usage"},
      {"draw " + Quote(good) + " " + Quote(png) + " 400", 2, "usage"},
      {"draw " + Quote(good) + " " + Quote(png) + " 400 0", 2, "\"0\""},
      {"draw " + Quote(good) + " " + Quote(png) + " wide 300", 2, "\"wide\""},
      {"draw " + Quote(good) + " " + Quote(png) + " 400 300.5", 2, "\"300.5\""},
  };
  for (const TCase& c : cases) {
    const TRun run = Run(c.args);
    EXPECT_EQ(run.status, c.status) << c.args;
    EXPECT_EQ(run.out, "") << c.args;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << c.args << ": " << run.err;
    EXPECT_FALSE(fs::exists(png)) << c.args;
    EXPECT_FALSE(fs::exists(dir / "out.png.partial")) << c.args;
  }
}

}  // namespace
