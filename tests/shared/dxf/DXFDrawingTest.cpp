// Whole drawings: unit scale from the header and its reset between loads, filters, placement,
// the synthesis program's profile, and files that are cut off or malformed.
#include <gtest/gtest.h>

#include <numbers>
#include <sstream>
#include <stdexcept>
#include <string>

#include "DXFFixtures.h"
#include "shared/dxf/DXFDrawing.h"
#include "tests/shared/CommaLocale.h"
#include "tests/shared/TestFiles.h"

namespace {

using namespace shared;
using namespace dxftest;
using enginetest::TRecordingView;

const std::string kLine = Pairs({{0, "LINE"}, {10, "0"}, {20, "0"}, {11, "1000"}, {21, "0"}});

double LineLength(const TDXFDrawing& drawing, int i = 0) {
  const auto& line = static_cast<const TDXFLine&>(*drawing.Items(i));
  TComplex d;
  d.Sub(line.Points[1], line.Points[0]);
  return d.Abs();
}

TEST(DXFDrawingTest, UnitScaleComesFromEachFilesHeader) {
  TDXFDrawing drawing;
  drawing.LoadFromString(EntitiesOnly(kLine));
  EXPECT_DOUBLE_EQ(LineLength(drawing), 1) << "millimetres without a header";
  drawing.LoadFromString(InchHeader() + EntitiesOnly(kLine));
  EXPECT_DOUBLE_EQ(LineLength(drawing), 25.4);
  EXPECT_DOUBLE_EQ(drawing.Header.DimGlobals.DimAltF, 25.4);
  drawing.LoadFromString(EntitiesOnly(kLine));
  EXPECT_DOUBLE_EQ(LineLength(drawing), 1) << "an inch drawing does not scale the next one";
  EXPECT_DOUBLE_EQ(drawing.Header.DimGlobals.DimAltF, 1 / 25.4);
  drawing.LoadFromString(
      Section("HEADER", Pairs({{9, "$ACADVER"}, {1, "AC1015"}, {9, "$DIMALTF"}, {40, "0.5"}, {9, "$ANGDIR"},
                               {70, "1"}, {9, "$DIMALTD"}, {70, "4"}, {9, "$dimaltf"}, {40, "25.4"}})) +
      EntitiesOnly(kLine));
  EXPECT_DOUBLE_EQ(LineLength(drawing), 1) << "a factor below 1 is millimetres; names are case-sensitive";
  EXPECT_EQ(drawing.Header.Version, "AC1015");
  EXPECT_EQ(drawing.Header.AngleDirection, 1);
  EXPECT_EQ(drawing.Header.DimGlobals.DimAltD, 4);
}

// Under a desktop locale with a decimal comma the load log still writes numbers as the file does.
TEST(DXFDrawingTest, TheLogWritesDecimalPointsWhateverTheLocale) {
  const testsupport::TCommaLocale comma;
  ASSERT_TRUE(comma.Active()) << "no German locale could be made (localedef, package locales)";
  TDXFDrawing drawing;
  std::vector<std::string> log;
  drawing.Log = &log;
  drawing.LoadFromString(
      Section("HEADER", Pairs({{9, "$ANGBASE"}, {50, "22.5"}, {9, "$DIMALTF"}, {40, "0.5"}})) +
      EntitiesOnly(kLine));
  EXPECT_NE(std::find(log.begin(), log.end(), "$ANGBASE = 22.5"), log.end());
  EXPECT_NE(std::find(log.begin(), log.end(), "$DIMALTF = 0.5"), log.end());
}

TEST(DXFDrawingTest, LoadingAgainReplacesAndLeavesNothingCurrent) {
  TDXFDrawing drawing;
  std::vector<std::string> log;
  drawing.Log = &log;
  const std::string text = Section("BLOCKS", Pairs({{0, "BLOCK"}, {2, "B"}}) + kLine + Pairs({{0, "ENDBLK"}})) +
                           EntitiesOnly(kLine + kLine + Pairs({{0, "HATCH"}}));
  drawing.LoadFromString(text);
  drawing.LoadFromString(text);
  EXPECT_EQ(drawing.Count(), 3);
  EXPECT_EQ(drawing.Blocks.Count(), 1);
  EXPECT_EQ(drawing.Items(2)->Name, "HATCH");
  EXPECT_EQ(drawing.Current(), nullptr);
  EXPECT_EQ(drawing.Blocks.Current(), nullptr);
  EXPECT_EQ(static_cast<TGeneralList*>(drawing.Blocks.Items(0))->Current(), nullptr);
  EXPECT_EQ(drawing.Items(0)->Id, 1) << "ids start again";
  // Nothing current: every entity draws in its own colour, never lime.
  TRecordingView view;
  drawing.Draw(view.canvas);
  EXPECT_EQ(view.box.Screen.CountOf("Pen FF00 "), 0);
  EXPECT_NE(std::find(log.begin(), log.end(), "Nr of Entities = 3"), log.end());
  EXPECT_NE(std::find(log.begin(), log.end(), "Nr of Blocks = 1"), log.end());
  EXPECT_NE(std::find(log.begin(), log.end(), "$DIMALTF = 0.0393700787401575"), log.end());
}

TEST(DXFDrawingTest, FiltersPlacementAndPose) {
  const std::string text = EntitiesOnly(
      Pairs({{0, "POINT"}, {10, "1000"}, {20, "0"}, {0, "DIMENSION"}, {10, "0"}, {20, "0"}, {70, "1"},
             {0, "TEXT"}, {1, "T"}, {0, "MTEXT"}, {1, "M"}}));
  TDXFDrawing drawing;
  EXPECT_FALSE(drawing.ShowDimensions);
  EXPECT_TRUE(drawing.ShowText);
  drawing.LoadFromString(text);
  EXPECT_EQ(drawing.Count(), 4);
  TRecordingView view;
  view.log.clear();
  drawing.Draw(view.canvas);
  EXPECT_EQ(view.box.Screen.CountOf("Text "), 2) << "dimensions are left out, text shown";
  drawing.ShowText = false;
  drawing.ShowDimensions = true;
  view.log.clear();
  drawing.Draw(view.canvas);
  EXPECT_EQ(view.box.Screen.CountOf("Text "), 7) << "the dimension's seven point labels";

  // The point (1, 0): its own placement first, then the pose.
  drawing.ShowDimensions = false;
  view.log.clear();
  drawing.DrawAt(view.canvas, 1, 0, std::numbers::pi / 2);
  // Marker 5 of half-size 1 around the pixel of (1, 1).
  EXPECT_TRUE(view.box.Screen.Logged({"M 449,-101"})) << view.log[1];
  drawing.Transform.SetAll(0, 0.5, 0, 1, 1);
  view.log.clear();
  drawing.DrawPlaced(view.canvas);
  EXPECT_TRUE(view.box.Screen.Logged({"M 449,24"}));
  view.log.clear();
  drawing.DrawAt(view.canvas, 0, 0, std::numbers::pi / 2);
  EXPECT_TRUE(view.box.Screen.Logged({"M 74,-101"})) << "(1, 0.5) turned a quarter: (-0.5, 1)";
}

TEST(DXFDrawingTest, SynthesisProfile) {
  const std::string text =
      Section("BLOCKS", Pairs({{0, "BLOCK"}, {2, "B"}}) + kLine + Pairs({{0, "ENDBLK"}})) +
      EntitiesOnly(Pairs({{0, "LINE"}, {62, "1"}, {10, "0"}, {20, "0"}, {11, "400"}, {21, "0"}, {0, "TEXT"},
                          {1, "T"}, {72, "1"}, {11, "100"}, {21, "100"}, {0, "DIMENSION"}}) +
                   Pairs({{0, "INSERT"}, {2, "B"}, {10, "0"}, {20, "400"}}));
  TDXFDrawing drawing(TDXFProfile::Synthesis());
  EXPECT_FALSE(drawing.ShowDimensions);
  EXPECT_FALSE(drawing.ShowText);
  drawing.LoadFromString(text);
  TRecordingView view;
  view.log.clear();
  drawing.Draw(view.canvas);
  EXPECT_EQ(view.box.Screen.CountOf("Pen FF "), 0);
  EXPECT_GT(view.box.Screen.CountOf("Pen C0C0C0 "), 0);
  EXPECT_EQ(view.box.Screen.CountOf("Text "), 1 + 7) << "Draw does not filter";
  // Horizontal text at the alignment point, centred.
  EXPECT_TRUE(view.box.Screen.Logged({"Text 221,115 T"})) << "centred on (0.1, 0.1), above it";
  view.log.clear();
  drawing.DrawTransformed(view.canvas, TDXFTransForm());
  EXPECT_EQ(view.box.Screen.CountOf("Text "), 0) << "DrawTransformed filters";
  drawing.InsertsOnly = true;
  view.log.clear();
  drawing.Draw(view.canvas);
  EXPECT_EQ(view.box.Screen.CountOf("L "), 1);
  EXPECT_TRUE(view.box.Screen.Logged({"M " + Px(0, 0.4), "L " + Px(1, 0.4)}));
  // No own placement: the transform is not used.
  drawing.InsertsOnly = false;
  drawing.Transform.SetAll(5, 5, 0, 1, 1);
  view.log.clear();
  drawing.DrawPlaced(view.canvas);
  EXPECT_TRUE(view.box.Screen.Logged({"M " + Px(0, 0), "L " + Px(0.4, 0)}));
  drawing.Clear();
  EXPECT_EQ(drawing.FileName, "Untitled");
}

class DXFDrawingFileTest : public shared::test::TTempFolderTest {
 protected:
  DXFDrawingFileTest() : TTempFolderTest("dxf_drawing") {}
};

TEST_F(DXFDrawingFileTest, FileNamesMissingFilesAndNoWriting) {
  TDXFDrawing drawing;
  EXPECT_EQ(drawing.FileName, "Untitled");
  const auto path = (dir / "a.dxf").string();
  shared::test::WriteBytes(path, EntitiesOnly(kLine));
  drawing.LoadFromFile(path);
  EXPECT_EQ(drawing.FileName, path);
  EXPECT_EQ(drawing.Count(), 1);
  drawing.LoadFromFile((dir / "missing.dxf").string());
  EXPECT_EQ(drawing.Count(), 0);
  EXPECT_EQ(drawing.FileName, "");
  EXPECT_THROW(drawing.SaveToFile((dir / "out.dxf").string()), std::logic_error);
  EXPECT_FALSE(std::filesystem::exists(dir / "out.dxf"));
}

// A device would never end and a folder holds no drawing: both are refused before reading, and
// what the drawing held before is gone.
TEST_F(DXFDrawingFileTest, ADeviceOrAFolderIsNoFile) {
  const auto path = (dir / "a.dxf").string();
  shared::test::WriteBytes(path, EntitiesOnly(kLine));
  for (const std::string& other : {std::string("/dev/zero"), dir.string()}) {
    TDXFDrawing drawing;
    drawing.LoadFromFile(path);
    ASSERT_EQ(drawing.Count(), 1);
    try {
      drawing.LoadFromFile(other);
      ADD_FAILURE() << other;
    } catch (const EFileReadError& error) {
      EXPECT_EQ(std::string(error.what()), "\"" + other + "\" is no file.");
    }
    EXPECT_EQ(drawing.Count(), 0);
  }
}

TEST(DXFDrawingTest, CutOffFilesKeepWhatWasRead) {
  const std::string whole =
      Section("BLOCKS", Pairs({{0, "BLOCK"}, {2, "B"}}) + kLine + Pairs({{0, "ENDBLK"}})) +
      EntitiesOnly(kLine + Pairs({{0, "INSERT"}, {2, "B"}, {10, "0"}, {20, "0"}}) +
                   Pairs({{0, "POLYLINE"}, {0, "VERTEX"}, {10, "1"}, {20, "2"}}));
  // Every cut of the text loads without an error and without a hang.
  for (size_t cut = 0; cut <= whole.size(); cut += 3) {
    TDXFDrawing drawing;
    EXPECT_NO_THROW(drawing.LoadFromString(whole.substr(0, cut))) << cut;
    EXPECT_LE(drawing.Count(), 4) << "a keyword cut short is an entity of its own";
  }
  TDXFDrawing drawing;
  // Cut off inside the last vertex.
  drawing.LoadFromString(whole.substr(0, whole.rfind(" 20")));
  ASSERT_EQ(drawing.Count(), 3);
  EXPECT_NE(static_cast<TDXFInsert*>(drawing.Items(1))->Block, nullptr) << "references are still bound";
}

TEST(DXFDrawingTest, MalformedGroupsRaiseAndKeepWhatWasRead) {
  struct TCase {
    std::string text;
    std::string message;
  };
  const std::string head = Pairs({{0, "SECTION"}, {2, "ENTITIES"}}) + kLine;  // 14 lines
  const TCase cases[] = {
      {head + " 10\nabc\n", "DXF line 16: real number expected, found \"abc\""},
      {head + " 62\n1.5e10\n", "DXF line 16: integer expected, found \"1.5e10\""},
      {head + "ten\n0\n", "DXF line 15: group code expected, found \"ten\""},
      {head + " 40\nNaN\n", "DXF line 16: real number expected, found \"NaN\""},
  };
  for (const TCase& c : cases) {
    TDXFDrawing drawing;
    try {
      drawing.LoadFromString(c.text);
      ADD_FAILURE() << "no error";
    } catch (const EFileReadError& e) {
      EXPECT_EQ(std::string(e.what()), c.message);
    }
    EXPECT_EQ(drawing.Count(), 1);
    EXPECT_EQ(drawing.Current(), nullptr);
  }
}

}  // namespace

namespace {

TEST(DXFDrawingTest, EntitiesThatAreNotDrawnAreCountedPerKind) {
  const std::string drawn =
      kLine + Pairs({{0, "POINT"}, {0, "CIRCLE"}, {0, "ARC"}, {0, "TRACE"}, {0, "SOLID"}, {0, "TEXT"}, {0, "MTEXT"},
                     {0, "POLYLINE"}, {0, "VERTEX"}, {0, "VERTEX"}, {0, "SEQEND"}, {0, "DIMENSION"}, {0, "INSERT"},
                     {2, "NONE"}, {0, "VERTEX"}});
  const std::string lw = Pairs({{0, "LWPOLYLINE"}, {90, "2"}, {10, "0"}, {20, "0"}, {10, "5"}, {20, "5"}});
  std::string many;
  for (int i = 0; i < 12; ++i) many += Pairs({{0, "KIND" + std::to_string(i)}});
  struct TCase {
    const char* name;
    std::string text;
    std::string warning;
  };
  const TCase cases[] = {
      {"drawn kinds only", Section("BLOCKS", Pairs({{0, "BLOCK"}, {2, "B"}}) + drawn + Pairs({{0, "ENDBLK"}})) +
                               EntitiesOnly(drawn),
       ""},
      {"in the entities and a block",
       Section("BLOCKS", Pairs({{0, "BLOCK"}, {2, "B"}}) + lw + Pairs({{0, "ENDBLK"}})) +
           EntitiesOnly(lw + kLine + lw + Pairs({{0, "HATCH"}, {8, "0"}}) + lw),
       "part.dxf holds entities that are not drawn: 4 LWPOLYLINE, 1 HATCH."},
      {"many kinds", EntitiesOnly(many + Pairs({{0, "KIND0"}})),
       "part.dxf holds entities that are not drawn: 2 KIND0, 1 KIND1, 1 KIND2, 1 KIND3, 1 KIND4, 1 KIND5, 1 KIND6, "
       "1 KIND7, 1 KIND8, 1 KIND9 and 2 kinds more."},
      {"odd keywords", EntitiesOnly(Pairs({{0, std::string(100, 'X')}, {0, ""}, {0, "CAF\xC9\tX"}})),
       "part.dxf holds entities that are not drawn: 1 " + std::string(40, 'X') + ", 1 \"\", 1 CAF??X."},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    TDXFDrawing drawing;
    drawing.FileName = "part.dxf";
    drawing.LoadFromString(c.text);
    EXPECT_EQ(drawing.UndrawnWarning(), c.warning);
    EXPECT_EQ(drawing.UndrawnKinds().empty(), c.warning.empty());
  }
}

TEST(DXFDrawingTest, ListRecordsAndAssignKeepEveryItemAnEntity) {
  std::istringstream in(
      "[List]\n0\n0\nD\n0 Color\n4 Mode\n0 Style\n1 Width\n0\n2 Selected ID\n2 Count\n2 IDCount\n"
      "0\n1\nA\n255 Color\n4 Mode\n0 Style\n1 Width\n0\n2\nB\n0 Color\n4 Mode\n0 Style\n1 Width\n1\n\n");
  shared::TDXFDrawing drawing;
  drawing.LoadFromStream(in);
  shared::TDXFDrawing copy;
  copy.Assign(&drawing);
  shared::TDXFBlockList blocks;
  blocks.Assign(&drawing);
  for (const shared::TGeneralList* list : {static_cast<shared::TGeneralList*>(&drawing),
                                           static_cast<shared::TGeneralList*>(&copy)}) {
    ASSERT_EQ(list->Count(), 2);
    for (int i = 0; i < 2; ++i) EXPECT_NE(dynamic_cast<shared::TDXFEntity*>(list->Items(i)), nullptr);
  }
  EXPECT_NE(dynamic_cast<shared::TDXFBlock*>(blocks.Items(1)), nullptr);
  enginetest::TRecordingView view;
  copy.Draw(view.canvas);
  copy.ResolveReferences();
}

}  // namespace
