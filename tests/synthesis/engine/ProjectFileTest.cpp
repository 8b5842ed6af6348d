// The project file: what a save writes and a read takes back for a project with every chain
// type, the checksum and framing refusals, the ground drawing's name and a save that fails, is
// stopped by a file size limit or ends the process.
#include "synthesis/engine/ProjectFile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "shared/FilePath.h"
#include "shared/ProjectInfo.h"
#include "shared/TabLine.h"
#include "shared/TextLine.h"
#include "shared/dxf/DXFDrawing.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/Area.h"
#include "synthesis/engine/CMatrix.h"
#include "synthesis/engine/Drawing.h"
#include "synthesis/engine/FileValidate.h"
#include "synthesis/engine/InputFunction.h"
#include "synthesis/engine/MechanismFactory.h"
#include "synthesis/engine/MechanismList.h"
#include "synthesis/engine/PrePoint.h"
#include "synthesis/engine/Random.h"
#include "synthesis/engine/Spline.h"
#include "synthesis/engine/SynthOptions.h"
#include "tests/shared/TestFiles.h"
#include "tests/synthesis/engine/SynthCanvas.h"

namespace vesk {
namespace {

using shared::test::ReadBytes;
using shared::test::WriteBytes;

// A project with every part owned here, as the main window holds one.
struct TProject {
  shared::TProjectInfo info;
  TSynthOptions options;
  TMechanismList list;
  TAreaList ground, coupler;
  TSpline curve;
  TDrawing drawing;
  vesktest::TSynthView views[3];
  shared::TDXFDrawing groundDrawing{shared::TDXFProfile::Synthesis()};
  TProjectFile file;

  TProject() {
    file.Info = &info;
    file.Options = &options;
    file.List = &list;
    file.GroundAreas = &ground;
    file.CouplerAreas = &coupler;
    file.Curve = &curve;
    file.OutputDrawing = &drawing;
    for (int i = 0; i < 3; ++i) file.Views[size_t(i)] = &views[i].canvas;
    file.GroundDrawing = &groundDrawing;
  }
};

// Samples of a crank-rocker's coupler path.
const double kCurve[][2] = {{0.863768221, 0.005722727}, {0.821343882, 0.014989800}, {0.760172590, 0.024885999},
                            {0.686238478, 0.032924822}, {0.605230085, 0.035304690}, {0.522419187, 0.028720371},
                            {0.442806413, 0.011240277}};

std::vector<std::string> LinesOf(const std::string& bytes) {
  std::vector<std::string> lines;
  std::istringstream in(bytes);
  std::string line;
  while (shared::ReadTextLine(in, line)) lines.push_back(line);
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// The lines followed by their checksum, computed by the tab-line store's own CRC.
std::string Signed(const std::vector<std::string>& lines) {
  shared::TTabLines store;
  store.Key = "quintabole";
  return JoinLines(lines) + std::to_string(store.ComputeCrc(lines)) + "\r\n";
}

class ProjectFileTest : public shared::test::TTempFolderTest {
 protected:
  ProjectFileTest() : TTempFolderTest("projectfile") {}

  void SetUp() override {
    TTempFolderTest::SetUp();
    CreateDefaultInputFunction();
    CreateCMatrix();
    ResetAppOptions();
    CreateFileValidate();
  }
  void TearDown() override {
    FreeFileValidate();
    TTempFolderTest::TearDown();
  }

  // A project with a valid candidate of every chain type, areas, information and both drawings'
  // names in a folder of their own.
  void Fill(TProject& p) {
    for (const auto& xy : kCurve) p.curve.Add(std::make_unique<TPrePoint>(xy[0], xy[1]));
    p.curve.Recalc();
    SeedRandom(7);
    for (uint8_t type : {kFourbarType, kWatt1Type, kWatt2Type, kStephenson1Type, kStephenson3Type, kEightbarType,
                         kSliderType, kFiveBarType}) {
      const std::unique_ptr<TMechanism> m = NewMechanism(type);
      bool found = false;
      for (int attempt = 0; attempt < 20000 && !found; ++attempt) {
        m->Generate(p.curve, nullptr, nullptr);
        found = m->Error.Valid;
      }
      ASSERT_TRUE(found) << int(type);
      p.list.Append(m->Clone());
    }
    p.ground.Add(std::make_unique<TArea>(-0.5, -0.5, 0.1, 0.2));
    p.coupler.Add(std::make_unique<TArea>(0.2, 0.3, 0.6, 0.9));
    p.info.Title = "Gripper";
    p.info.Author = "J. Doe";
    p.info.Comments = {"first", "second"};
    p.options.MaxLinkLengthOn = true;
    p.file.GroundDrawingName = (dir / "dxf" / "ground.dxf").string();
  }

  std::string Path(const std::string& name) const { return (dir / name).string(); }
};

TEST_F(ProjectFileTest, WriteReadWriteKeepsTheTextAndTheFraming) {
  TProject first;
  Fill(first);
  ASSERT_EQ(first.list.Count(), 8);
  first.file.Save(Path("a.vesk"));

  TProject second;
  second.file.Open(Path("a.vesk"));
  EXPECT_EQ(second.file.StatusCode, TFileValidate::kValid);
  ASSERT_EQ(second.list.Count(), 8);
  for (int32_t k = 1; k <= 8; ++k) EXPECT_EQ(second.list.Items(k)->MechanismType, first.list.Items(k)->MechanismType);
  EXPECT_EQ(second.info.Comments, first.info.Comments);
  EXPECT_EQ(second.curve.Count(), 7);
  // The drawing does not exist: the project is read, the drawing empty, its name kept.
  EXPECT_EQ(second.file.GroundDrawingName, (dir / "dxf" / "ground.dxf").string());
  EXPECT_EQ(second.groundDrawing.Count(), 0);
  EXPECT_FALSE(AppOptions.ShowGroundDrawing);
  second.file.Save(Path("b.vesk"));

  TProject third;
  third.file.Open(Path("b.vesk"));
  third.file.Save(Path("c.vesk"));
  const std::string b = ReadBytes(dir / "b.vesk");
  EXPECT_EQ(ReadBytes(dir / "c.vesk"), b);

  // Every line ends with CR LF; header, versions and the tail as the program writes them; the
  // drawing name relative to the project; the checksum of the lines before it.
  size_t crlf = 0, lf = 0;
  for (size_t i = 0; i < b.size(); ++i)
    if (b[i] == '\n') ++lf, crlf += i > 0 && b[i - 1] == '\r';
  EXPECT_EQ(crlf, lf);
  std::vector<std::string> lines = LinesOf(b);
  ASSERT_GT(lines.size(), 7u);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 5),
            (std::vector<std::string>{"[Vesk]", "1.6.4", "2", "0", "[Info]"}));
  EXPECT_EQ(lines[lines.size() - 3], "dxf/ground.dxf");
  EXPECT_EQ(lines[lines.size() - 2], "[end]");
  const std::vector<std::string> body(lines.begin(), lines.end() - 1);
  EXPECT_EQ(Signed(body), b);
}

// The area lists draw the line up to which a pivot may lie outside them at the project's
// option: with 4, an area's own width and height beyond each side.
TEST_F(ProjectFileTest, ReadingAProjectGivesItsAreaListsTheOutsideAreaOption) {
  TProject first;
  Fill(first);
  first.options.MaxDistToArea = 4;
  first.file.Save(Path("areas.vesk"));

  TProject second;
  ASSERT_EQ(second.ground.MaxDistToArea, 1.0);
  second.file.Open(Path("areas.vesk"));
  EXPECT_EQ(second.options.MaxDistToArea, 4.0);
  EXPECT_EQ(second.ground.MaxDistToArea, 4.0);
  EXPECT_EQ(second.coupler.MaxDistToArea, 4.0);
  vesktest::TSynthView view;
  second.ground.Draw(view.canvas);
  // The area (-0.5, -0.5)..(0.1, 0.2) at 100 pixels a unit about (200, 200), y up, widened by
  // 0.6 and 0.7.
  EXPECT_TRUE(view.box.Screen.Logged({"Pen FF00FF 1 2", "M 90,320", "L 270,320", "L 270,110", "L 90,110", "L 90,320"}));
}

TEST_F(ProjectFileTest, RefusesTamperedTruncatedAndForeignFiles) {
  TProject p;
  Fill(p);
  p.file.Save(Path("good.vesk"));
  const std::vector<std::string> lines = LinesOf(ReadBytes(dir / "good.vesk"));
  const std::vector<std::string> body(lines.begin(), lines.end() - 1);
  auto with = [&](size_t i, const std::string& text) {
    std::vector<std::string> changed = body;
    changed[i] = text;
    return changed;
  };
  const std::string list = "File read error in ";
  struct TCase {
    const char* name;
    std::string bytes;
    std::string message;  // the start of the error text
    int status;
  };
  std::vector<TCase> cases = {
      {"a changed value", JoinLines(with(10, body[10] + "1")) + lines.back() + "\r\n", kNotVeskFile, 1},
      {"a changed end line", JoinLines(with(body.size() - 1, "[end ]")) + lines.back() + "\r\n", kNotVeskFile, 1},
      {"the checksum cut off", JoinLines(body), "", 3},
      {"a record cut short", "", "File read error in TCanvas2D!", 3},
      {"a header of another program", Signed(with(0, "[Quillon]")), kNotVeskFile, 0},
      {"format version 3", Signed(with(2, "3")), kNewerFormat, 0},
      {"format version 1", Signed(with(2, "1")), kBetaFormat, 0},
      {"no format version", Signed(with(2, "x")), kNotVeskFile, 0},
      {"a huge solution count", "", list, 0},
      {"empty", "", kNotVeskFile, 1},  // no number: the key's checksum is not 0
  };
  // The solution list's count line follows its section and version lines.
  for (size_t i = 0; i + 2 < body.size(); ++i)
    if (body[i] == "[MechanismList]") cases[8].bytes = Signed(with(i + 2, "2000000000"));
  ASSERT_FALSE(cases[8].bytes.empty());
  // Cut after a view's section line: no number last, so the check lets it through.
  const auto view = std::find(body.begin(), body.end(), "[Canvas2D]");
  ASSERT_NE(view, body.end());
  cases[3].bytes = JoinLines(std::vector<std::string>(body.begin(), view + 1));
  for (const TCase& c : cases) {
    WriteBytes(dir / "case.vesk", c.bytes);
    TProject read;
    std::string message;
    try {
      read.file.Open(Path("case.vesk"));
    } catch (const std::exception& error) {
      message = error.what();
    }
    if (c.message.empty()) {
      EXPECT_EQ(message, "") << c.name;
      EXPECT_EQ(read.list.Count(), 8) << c.name;
    } else {
      EXPECT_EQ(message.rfind(c.message, 0), 0u) << c.name << ": " << message;
    }
    EXPECT_EQ(read.file.StatusCode, c.status) << c.name;
  }

  TProject missing;
  EXPECT_THROW(
      {
        try {
          missing.file.Open(Path("none.vesk"));
        } catch (const std::exception& error) {
          EXPECT_STREQ(error.what(), kNotVeskFile);
          throw;
        }
      },
      std::exception);
  EXPECT_EQ(missing.file.StatusCode, TFileValidate::kMissing);
}

TEST_F(ProjectFileTest, AnEmptyDrawingNameIsNoDrawing) {
  TProject p;
  p.file.Save(Path("empty.vesk"));
  const std::vector<std::string> lines = LinesOf(ReadBytes(dir / "empty.vesk"));
  EXPECT_EQ(lines[lines.size() - 3], "");
  AppOptions.ShowGroundDrawing = true;
  TProject read;
  read.file.Open(Path("empty.vesk"));
  EXPECT_EQ(read.file.GroundDrawingName, "");
  EXPECT_FALSE(AppOptions.ShowGroundDrawing);

  // A drawing that is there: loaded from the project's folder and shown.
  std::filesystem::create_directories(dir / "dxf");
  WriteBytes(dir / "dxf" / "g.dxf",
             "0\r\nSECTION\r\n2\r\nENTITIES\r\n0\r\nLINE\r\n8\r\n0\r\n10\r\n0\r\n20\r\n0\r\n11\r\n1\r\n21\r\n1\r\n"
             "0\r\nENDSEC\r\n0\r\nEOF\r\n");
  std::vector<std::string> named = lines;
  named.pop_back();
  named[named.size() - 2] = "dxf\\g.dxf";  // as written on Windows
  WriteBytes(dir / "named.vesk", Signed(named));
  TProject shown;
  shown.file.Open(Path("named.vesk"));
  EXPECT_EQ(shown.file.GroundDrawingName, (dir / "dxf" / "g.dxf").string());
  EXPECT_EQ(shown.groundDrawing.Count(), 1);
  EXPECT_TRUE(AppOptions.ShowGroundDrawing);
}

TEST_F(ProjectFileTest, AFailedSaveKeepsTheOldFile) {
  TProject p;
  Fill(p);
  p.file.Save(Path("keep.vesk"));
  const std::string before = ReadBytes(dir / "keep.vesk");
  p.info.Title = "Changed";
  for (shared::TReplaceStage stage : {shared::TReplaceStage::Write, shared::TReplaceStage::Rename}) {
    shared::FailNextReplacement(stage, ENOSPC);
    EXPECT_THROW(p.file.Save(Path("keep.vesk")), std::exception);
    EXPECT_EQ(ReadBytes(dir / "keep.vesk"), before);
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir)) ++files;
    EXPECT_EQ(files, 1u);  // nothing left beside it
  }
  // A folder that does not exist: refused, nothing made.
  EXPECT_THROW(p.file.Save(Path("no/such.vesk")), std::exception);
  EXPECT_FALSE(std::filesystem::exists(dir / "no"));
}

// A file size limit smaller than the project: with the signal ignored, as the program ignores it,
// the save fails with the write error and the parts stay unsaved; a process that the signal ends
// in the save leaves nothing either (it left "keep.vesk.sign<number>", the whole text, before).
// Files already at names a save once wrote beside the project stay as they are. The old file
// stays whole. Each case runs in a child process.
TEST_F(ProjectFileTest, AFileSizeLimitKeepsTheOldFileAndLeavesNothingBesideIt) {
  TProject p;
  Fill(p);
  p.file.Save(Path("keep.vesk"));
  const std::string before = ReadBytes(dir / "keep.vesk");
  WriteBytes(dir / "notes.txt", "someone else's");
  WriteBytes(dir / "keep.vesk.sign147559", "left by a crash");
  std::filesystem::create_symlink(dir / "notes.txt", dir / "keep.vesk.sign0");
  const auto entries = [&] {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  };
  const std::vector<std::string> planted = entries();
  p.info.Title = "Changed";
  p.curve.SetModified(true);
  const auto save = [&](bool ignore) {
    if (ignore) shared::IgnoreFileSizeSignal();
    rlimit limit{};
    limit.rlim_cur = limit.rlim_max = rlim_t(before.size() / 2);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    try {
      p.file.Save(Path("keep.vesk"));
    } catch (const std::exception& error) {
      std::fprintf(stderr, "%s\n", error.what());
      std::exit(p.curve.IsModified() ? 3 : 4);
    }
    std::exit(0);
  };
  EXPECT_EXIT(save(true), ::testing::ExitedWithCode(3), "Cannot write \".*keep.vesk\": the file would pass the limit on file size");
  EXPECT_EQ(ReadBytes(dir / "keep.vesk"), before);
  EXPECT_EQ(entries(), planted);
  EXPECT_EXIT(save(false), ::testing::KilledBySignal(SIGXFSZ), "");
  EXPECT_EQ(ReadBytes(dir / "keep.vesk"), before);
  EXPECT_EQ(entries(), planted);
  EXPECT_EQ(ReadBytes(dir / "notes.txt"), "someone else's");
  EXPECT_EQ(ReadBytes(dir / "keep.vesk.sign147559"), "left by a crash");

  // Without a limit the save goes through, with nothing beside it either.
  p.file.Save(Path("keep.vesk"));
  EXPECT_NE(ReadBytes(dir / "keep.vesk"), before);
  EXPECT_EQ(entries(), planted);
  TProject read;
  read.file.Open(Path("keep.vesk"));
  EXPECT_EQ(read.file.StatusCode, TFileValidate::kValid);
  EXPECT_EQ(read.info.Title, "Changed");
}

}  // namespace
}  // namespace vesk
