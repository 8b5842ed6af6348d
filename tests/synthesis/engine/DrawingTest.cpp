// The output-link drawing: the default house, extent, placement, and its record with the DXF
// file name stored relative to the project's folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>

#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/Drawing.h"
#include "tests/synthesis/engine/RecordText.h"
#include "tests/synthesis/engine/SynthCanvas.h"

using namespace vesk;
using shared::TComplex;
using vesktest::Lines;
using vesktest::ReadError;
namespace fs = std::filesystem;

namespace {

// A DXF drawing that has entities when its file exists, and logs what it is asked to do.
struct TFakeDXF : TDXFUnderlay {
  std::vector<std::string>* log;
  bool loaded = false;
  explicit TFakeDXF(std::vector<std::string>* l) : log(l) {}
  void Load(const std::string& path) override {
    log->push_back("Load " + path);
    loaded = fs::exists(path);
  }
  void Clear() override {
    log->push_back("Clear");
    loaded = false;
  }
  bool HasEntities() const override { return loaded; }
  void DrawTransformed(shared::TCanvas2D&, const shared::TDXFTransForm& t) override {
    const TComplex at = t.Applied(TComplex(0, 0));
    log->push_back("Draw origin at " + std::to_string(at.X) + "," + std::to_string(at.Y));
  }
  void UpdateExtent(TComplex& min, TComplex& max) const override {
    if (!loaded) return;
    min.X = std::min(min.X, -3.0);
    max.Y = std::max(max.Y, 2.0);
  }
};

std::string Written(TDrawing& d) {
  std::ostringstream out;
  d.WriteToText(out);
  return out.str();
}

// A folder of its own under the temporary folder, removed at the end.
struct TTempFolder {
  fs::path root = fs::temp_directory_path() / ("drawingtest-" + std::to_string(::getpid()));
  TTempFolder() { fs::create_directories(root); }
  ~TTempFolder() { fs::remove_all(root); }
  std::string Touch(const fs::path& relative) const {
    const fs::path p = root / relative;
    fs::create_directories(p.parent_path());
    std::ofstream(p) << "0\nEOF\n";
    return p.string();
  }
};

TEST(DrawingTest, DefaultIsTheSevenLineHouse) {
  TDrawing d;
  ASSERT_EQ(d.Count(), 7);
  const double ends[7][4] = {{0, 0, -0.1, 0},  {-0.1, 0, -0.1, 0.1},  {-0.1, 0.1, 0, 0.1},
                             {0, 0.1, 0, 0},   {0, 0.1, -0.05, 0.15}, {-0.05, 0.15, -0.1, 0.1},
                             {0, 0, -0.1, 0.1}};
  for (int32_t i = 0; i < 7; ++i) {
    const TComplexLine* line = d.GetLine(i);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->Id, i + 1);
    EXPECT_EQ(line->Name, "Line " + std::to_string(i + 1));
    EXPECT_EQ(line->Point1.X, ends[i][0]);
    EXPECT_EQ(line->Point1.Y, ends[i][1]);
    EXPECT_EQ(line->Point2.X, ends[i][2]);
    EXPECT_EQ(line->Point2.Y, ends[i][3]);
  }
  EXPECT_EQ(d.GetLine(7), nullptr);
  EXPECT_EQ(d.Current(), nullptr);
  EXPECT_FALSE(d.GetModified());
  EXPECT_TRUE(d.ShowOrigin);
  EXPECT_EQ(d.Origin.X, 0);

  TComplex min(5, 5), max(-5, -5);
  d.UpdateExtent(min, max);
  EXPECT_EQ(min.X, -0.1);
  EXPECT_EQ(min.Y, 0);
  EXPECT_EQ(max.X, 0);
  EXPECT_EQ(max.Y, 0.15);
}

TEST(DrawingTest, ExtentStartsAtTheOriginAndTakesTheDXFDrawing) {
  std::vector<std::string> log;
  TTempFolder folder;
  TDrawing d(std::make_unique<TFakeDXF>(&log));
  d.Clear();
  d.Origin.SetXY(0.5, -0.25);
  TComplex min(-9, -9), max(9, 9);
  d.UpdateExtent(min, max);
  EXPECT_EQ(min.X, 0.5);
  EXPECT_EQ(max.X, 0.5);
  EXPECT_EQ(min.Y, -0.25);
  EXPECT_EQ(max.Y, -0.25);

  d.LoadDXF(folder.Touch("a.dxf"));
  d.UpdateExtent(min, max);
  EXPECT_EQ(min.X, -3);
  EXPECT_EQ(max.Y, 2);
  // Clearing drops lines and the DXF drawing, not the origin.
  d.Clear();
  EXPECT_FALSE(d.DXFDrawing().HasEntities());
  EXPECT_EQ(d.DXFFileName(), "");
  EXPECT_EQ(d.Origin.X, 0.5);
}

TEST(DrawingTest, PlacementPutsTheOriginWhereItSays) {
  std::vector<std::string> log;
  TDrawing d(std::make_unique<TFakeDXF>(&log));
  d.Clear();
  d.Add(std::make_unique<TComplexLine>(0.1, 0, 0.2, 0));
  d.Origin.SetXY(0.1, 0);
  log.clear();
  vesktest::TSynthView view;
  // The origin goes to (1, 0) and the picture turns by 90 degrees: (0.2, 0) lands on (1, 0.1).
  shared::TDXFTransForm placement;
  placement.SetAll(1, 0, std::numbers::pi / 2, 1, 1);
  d.DrawTransformed(view.canvas, placement);
  EXPECT_EQ(log, std::vector<std::string>{"Draw origin at 1.000000,-0.100000"});
  EXPECT_TRUE(view.box.Screen.Logged({"M 300,200", "L 300,190", "Pen FF 1 0"}));
  EXPECT_EQ(view.box.Screen.CountOf("Ellipse"), 1);  // the origin's circle, at the placement
  EXPECT_TRUE(view.box.Screen.Logged({"Ellipse 296,196 304,204"}));

  // Without a placement the picture stands in its own co-ordinates.
  log.clear();
  view.log.clear();
  d.ShowOrigin = false;
  d.DrawPlaced(view.canvas, nullptr);
  EXPECT_EQ(log, std::vector<std::string>{"Draw origin at 0.000000,0.000000"});
  EXPECT_TRUE(view.box.Screen.Logged({"M 210,200", "L 220,200"}));
  EXPECT_EQ(view.box.Screen.CountOf("Ellipse"), 0);
}

TEST(DrawingTest, RecordRoundTripsByteForByte) {
  TDrawing d;
  d.Origin.SetXY(-0.05, 0.125);
  d.Select(2);
  const std::string text = Written(d);
  const auto lines = shared::SplitTextLines(text);
  // The list's own lines, the seven lines, "0", the origin, and an empty file-name line.
  ASSERT_GE(lines.size(), 16u);
  EXPECT_EQ(lines[8], "3 Selected ID");
  EXPECT_EQ(lines[9], "7 Count");
  EXPECT_EQ(lines[lines.size() - 7], "0");
  EXPECT_EQ(lines[lines.size() - 3], "2 -5.00000000000000E-0002  1.25000000000000E-0001");
  EXPECT_EQ(lines.back(), "");
  EXPECT_FALSE(d.GetModified());

  AppOptions.ShowOutputLinkDrawing = true;
  TDrawing back;
  back.Clear();
  std::istringstream in(text);
  back.ReadFromText(in);
  EXPECT_EQ(back.Count(), 7);
  EXPECT_EQ(back.Origin.Y, 0.125);
  EXPECT_EQ(back.Current(), back.Items(2));
  EXPECT_FALSE(AppOptions.ShowOutputLinkDrawing);  // no DXF drawing
  EXPECT_EQ(Written(back), text);
  EXPECT_FALSE(back.GetModified());
  ResetAppOptions();

  // Moving the origin, taking a DXF drawing and editing a line are changes to save.
  back.Origin.Assign(TComplex(1, 1));
  EXPECT_TRUE(back.GetModified());
  back.SetModified(false);
  EXPECT_FALSE(back.Origin.Modified);
  back.LoadDXF("/x.dxf");
  EXPECT_TRUE(back.GetModified());
  back.SetModified(false);
  back.GetLine(1)->Assign(back.GetLine(0));
  EXPECT_TRUE(back.GetModified());
}

TEST(DrawingTest, DXFNameIsStoredRelativeToTheProjectFolder) {
  TTempFolder folder;
  const std::string project = (folder.root / "projects" / "p1").string();
  fs::create_directories(project);
  struct Case {
    const char* file;    // under the temporary folder
    const char* stored;  // relative to the project folder
  };
  const Case cases[] = {
      {"projects/p1/house.dxf", "house.dxf"},
      {"projects/p1/parts/arm.dxf", "parts/arm.dxf"},
      {"drawings/arm.dxf", "../../drawings/arm.dxf"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> log;
    TDrawing d(std::make_unique<TFakeDXF>(&log));
    d.ProjectDirectory = project + "/";
    const std::string path = folder.Touch(c.file);
    d.LoadDXF(path);
    const std::string text = Written(d);
    EXPECT_EQ(shared::SplitTextLines(text).back(), c.stored);

    // Opened again, the drawing is found where it is, and the option follows it.
    AppOptions.ShowOutputLinkDrawing = false;
    std::vector<std::string> backLog;
    TDrawing back(std::make_unique<TFakeDXF>(&backLog));
    back.ProjectDirectory = project;
    std::istringstream in(text);
    back.ReadFromText(in);
    EXPECT_EQ(fs::path(back.DXFFileName()), fs::path(path).lexically_normal()) << c.file;
    EXPECT_TRUE(back.DXFDrawing().HasEntities()) << c.file;
    EXPECT_TRUE(AppOptions.ShowOutputLinkDrawing) << c.file;
    EXPECT_EQ(Written(back), text);

    // Gone when reopened: the drawing is empty and the option off, but the name is kept.
    fs::remove(path);
    std::istringstream again(text);
    back.ReadFromText(again);
    EXPECT_FALSE(back.DXFDrawing().HasEntities());
    EXPECT_FALSE(AppOptions.ShowOutputLinkDrawing);
    EXPECT_EQ(shared::SplitTextLines(Written(back)).back(), c.stored);
  }
  // A name written on Windows, with "\" between folders.
  TDrawing d;
  d.ProjectDirectory = project;
  EXPECT_EQ(fs::path(d.DXFPathOf("parts\\arm.dxf")), fs::path(project) / "parts" / "arm.dxf");
  EXPECT_EQ(d.DXFPathOf("/abs/x.dxf"), "/abs/x.dxf");
  EXPECT_EQ(d.DXFPathOf(""), "");
  // Without a project folder the full path is kept.
  d.ProjectDirectory.clear();
  d.LoadDXF("/somewhere/x.dxf");
  EXPECT_EQ(d.StoredDXFName(), "/somewhere/x.dxf");
  ResetAppOptions();
}

TEST(DrawingTest, ADXFFileThatFailsToLoadLeavesTheDrawingEmpty) {
  struct TThrowingDXF : TFakeDXF {
    using TFakeDXF::TFakeDXF;
    void Load(const std::string& path) override {
      TFakeDXF::Load(path);
      throw shared::EFileReadError("bad group code");
    }
  };
  TTempFolder folder;
  std::vector<std::string> log;
  TDrawing d(std::make_unique<TThrowingDXF>(&log));
  d.ProjectDirectory = folder.root.string();
  d.LoadDXF(folder.Touch("broken.dxf"));
  const std::string text = Written(d);
  AppOptions.ShowOutputLinkDrawing = true;
  std::istringstream in(text);
  EXPECT_NO_THROW(d.ReadFromText(in));
  EXPECT_FALSE(d.DXFDrawing().HasEntities());
  EXPECT_FALSE(AppOptions.ShowOutputLinkDrawing);
  EXPECT_EQ(d.StoredDXFName(), "broken.dxf");
  ResetAppOptions();
}

TEST(DrawingTest, DamagedRecordsAreRefused) {
  TDrawing d;
  d.Clear();
  d.Add(std::make_unique<TComplexLine>(0, 0, 1, 1));
  const std::string text = Written(d);
  const auto lines = shared::SplitTextLines(text);
  auto read = [](std::istream& s) { TDrawing().ReadFromText(s); };
  ASSERT_EQ(ReadError(text, read), "");
  // The file-name line may be empty; every shorter text is refused.
  for (size_t cut = 0; cut + 1 < lines.size(); ++cut)
    EXPECT_NE(ReadError(Lines({lines.begin(), lines.begin() + cut}), read), "") << cut;
  // A count that the lines do not hold, and garbled numbers.
  for (const size_t k : {9, 10, 12, 20, 22, 27, 29, 30}) {
    auto garbled = lines;
    garbled[k] = k == 9 ? "5 Count" : "x";
    EXPECT_NE(ReadError(Lines(garbled), read), "") << k << ": " << lines[k];
  }
}

}  // namespace

// The DXF library stands behind a new drawing: a real file's entities show, its extent counts
// through the placement, and a damaged file leaves the drawing empty without failing the read.
TEST(DrawingTest, NewDrawingReadsRealDXFFiles) {
  TTempFolder folder;
  const fs::path good = folder.root / "part.dxf";
  // One LINE from (0, 0) to (2000, 1000) in millimetres: 2 m by 1 m.
  std::ofstream(good) << "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n2000\n21\n1000\n"
                         "0\nENDSEC\n0\nEOF\n";
  const fs::path bad = folder.root / "bad.dxf";
  std::ofstream(bad) << "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nnot a number\n0\nENDSEC\n0\nEOF\n";

  TDrawing d;
  d.ProjectDirectory = folder.root.string();
  d.LoadDXF(good.string());
  ASSERT_TRUE(d.DXFDrawing().HasEntities());
  TComplex min(0, 0), max(0, 0);
  d.DXFDrawing().UpdateExtent(min, max);
  EXPECT_NEAR(max.X, 2.0, 1e-12);
  EXPECT_NEAR(max.Y, 1.0, 1e-12);

  AppOptions.ShowOutputLinkDrawing = false;
  std::istringstream in(Written(d));
  d.ReadFromText(in);
  EXPECT_TRUE(AppOptions.ShowOutputLinkDrawing);
  EXPECT_EQ(d.StoredDXFName(), "part.dxf");

  d.LoadDXF(bad.string());
  EXPECT_FALSE(d.DXFDrawing().HasEntities());
  EXPECT_EQ(d.StoredDXFName(), "bad.dxf");
  ResetAppOptions();
}

// A name that is no regular file is not read: a project naming a device (which never ends) or a
// folder reads at once with the drawing empty and the name kept; the import command is told why.
TEST(DrawingTest, ADeviceOrFolderIsNotReadAsADXFFile) {
  TTempFolder folder;
  TDrawing d;
  d.ProjectDirectory = "/dev";
  d.LoadDXF("/dev/zero");
  const std::string text = Written(d);
  ASSERT_NE(text.find("\r\nzero\r\n"), std::string::npos);
  AppOptions.ShowOutputLinkDrawing = true;
  std::istringstream in(text);
  d.ReadFromText(in);
  EXPECT_FALSE(d.DXFDrawing().HasEntities());
  EXPECT_FALSE(AppOptions.ShowOutputLinkDrawing);
  EXPECT_EQ(d.DXFFileName(), "/dev/zero");

  for (const std::string& path : {std::string("/dev/zero"), folder.root.string()}) {
    try {
      d.ImportDXF(path);
      ADD_FAILURE() << path;
    } catch (const shared::EFileReadError& error) {
      EXPECT_EQ(std::string(error.what()), "\"" + path + "\" is no file.");
    }
    EXPECT_FALSE(d.DXFDrawing().HasEntities());
    EXPECT_EQ(d.DXFFileName(), path);
  }
  // A missing file is no fault: the drawing is empty.
  EXPECT_NO_THROW(d.ImportDXF((folder.root / "none.dxf").string()));
  EXPECT_FALSE(d.DXFDrawing().HasEntities());
  ResetAppOptions();
}
