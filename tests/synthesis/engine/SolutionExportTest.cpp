// The export sequences of a solution: the animator's document with its sections and checksum,
// the workbook's sheets in the order the options add them, and the SAM deck or its refusal.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "shared/Convert.h"
#include "shared/FilePath.h"
#include "shared/ProjectInfo.h"
#include "shared/TabLine.h"
#include "shared/Workbook.h"
#include "synthesis/engine/FiveBar.h"
#include "synthesis/engine/Fourbar.h"
#include "synthesis/engine/PrePoint.h"
#include "synthesis/engine/ProgramInfo.h"
#include "synthesis/engine/Slider.h"
#include "synthesis/engine/SolutionExport.h"
#include "tests/shared/StoreSettings.h"
#include "tests/shared/TestFiles.h"
#include "tests/synthesis/engine/KnownFourbar.h"

namespace {

using namespace vesk;
namespace fs = std::filesystem;

class SolutionExportTest : public shared::test::TSettingsStoreTest {
 protected:
  void SetUp() override {
    TSettingsStoreTest::SetUp();
    CreateCMatrix();
    CreateDefaultInputFunction();
    shared::CreateConvert();
    shared::CreateTabLines();
    CreateProgramInfo();
    fourbar.emplace();
    vesktest::SetExactPrecision(*fourbar);
    ASSERT_TRUE(fourbar->Synthesize());
    fourbar->InputFunction.SetSteps(10);
    fourbar->SimulatePath(nullptr);
    ASSERT_TRUE(fourbar->Error.Valid);
    fourbar->ID = 12;
    info.Title = "Gear \xE9";
    info.Client = "Orvane";
    info.Date = "10-12-2026";
    for (const auto& p : {std::pair{0.1, 0.2}, std::pair{0.3, 0.25}, std::pair{0.5, 0.1}})
      curve.Add(std::make_unique<TPrePoint>(p.first, p.second));
    curve.Recalc();
    dir = fs::temp_directory_path() / ("solution_export_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override {
    fs::remove_all(dir);
    FreeProgramInfo();
    shared::FreeTabLines();
    TSettingsStoreTest::TearDown();
  }

  static std::vector<std::string> Names(const shared::TWorkbook& book) {
    std::vector<std::string> names;
    for (const auto& sheet : book.Sheets()) names.push_back(sheet->GetName());
    return names;
  }

  std::optional<TFourbar> fourbar;
  TSpline curve;
  shared::TProjectInfo info;
  fs::path dir;
};

// The chart names as the solution adds them; each goes in front of the one before.
const std::vector<std::string> kCharts = {"Path Error",          "Path",         "Path Velocity",
                                          "Path Acceleration",   "Output",       "Output Velocity",
                                          "Output Acceleration", "Input",        "Input Velocity",
                                          "Input Acceleration",  "Ratio Out In", "Transmission Angle"};

TEST_F(SolutionExportTest, WorkbookWithEveryOptionPutsChartsLeftOfPropertiesAndData) {
  shared::TWorkbook book;
  ExportWorkbook(*fourbar, info, TWorkbookOptions(), book);
  std::vector<std::string> expected(kCharts.rbegin(), kCharts.rend());
  for (const char* name : {"Properties", "Data", "Sheet1"}) expected.push_back(name);
  EXPECT_EQ(Names(book), expected);
  EXPECT_EQ(book.ActiveSheet().GetName(), "Properties");

  // The project block from row 1 in A1:D4, one row left free, the solution from row 6.
  const shared::TWorksheet& properties = *book.Worksheet("Properties");
  EXPECT_EQ(properties.Cell(1, 1)->Text, "Title: Gear \xE9");
  EXPECT_TRUE(properties.Format(1, 1).Bold);
  EXPECT_EQ(properties.Cell(2, 1)->Text, "Client: Orvane");
  EXPECT_EQ(properties.Cell(4, 1)->Text, "Date: 10-12-2026");
  EXPECT_EQ(properties.Format(4, 4).FillColorIndex, 36);
  EXPECT_EQ(properties.Cell(5, 1), nullptr);
  EXPECT_EQ(properties.Cell(6, 1)->Text, fourbar->Name);
  EXPECT_EQ(properties.Cell(6, 2)->Number, 12);
  EXPECT_EQ(properties.Cell(7, 1)->Text, "Joints");

  // Motion data: one row per path point from row 5; every chart draws from it.
  const shared::TWorksheet& data = *book.Worksheet("Data");
  EXPECT_EQ(data.Cell(1, 1)->Text, fourbar->Name);
  const int last = 4 + fourbar->PathPoints.Count();
  EXPECT_EQ(data.Cell(last, 1)->Number, fourbar->PathPoints.Count());
  EXPECT_EQ(data.Cell(last + 1, 1), nullptr);
  for (const auto& sheet : book.Sheets()) {
    const auto* chart = dynamic_cast<const shared::TChartSheet*>(sheet.get());
    if (!chart) continue;
    ASSERT_EQ(chart->Chart.Series.size(), 1u);
    EXPECT_EQ(chart->Chart.Series[0].Sheet, "Data");
    EXPECT_EQ(chart->Chart.Series[0].Y.LastRow, last);
  }
}

TEST_F(SolutionExportTest, OptionsChooseTheSheets) {
  struct TCase {
    TWorkbookOptions Options;
    std::vector<std::string> Sheets;
    std::string Active;
  };
  const std::vector<TCase> cases = {
      {{false, false, false}, {"Sheet1"}, "Sheet1"},
      {{true, false, false}, {"Properties", "Sheet1"}, "Properties"},
      {{false, false, true}, {"Data", "Sheet1"}, "Data"},
      {{true, false, true}, {"Properties", "Data", "Sheet1"}, "Properties"},
      // Graphs without the data they draw from add nothing.
      {{false, true, false}, {"Sheet1"}, "Sheet1"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Sheets.front() + " " + std::to_string(c.Sheets.size()));
    shared::TWorkbook book;
    ExportWorkbook(*fourbar, info, c.Options, book);
    EXPECT_EQ(Names(book), c.Sheets);
    EXPECT_EQ(book.ActiveSheet().GetName(), c.Active);
  }
  // Graphs with the data, without properties: the last chart added stays active.
  shared::TWorkbook book;
  ExportWorkbook(*fourbar, info, {false, true, true}, book);
  EXPECT_EQ(Names(book).size(), kCharts.size() + 2);
  EXPECT_EQ(book.ActiveSheet().GetName(), kCharts.back());
}

TEST_F(SolutionExportTest, AnimatorDocumentHoldsTheSectionsAndAKeyedChecksum) {
  const fs::path file = dir / "gear12.mech";
  shared::TabLines().Lines = {"left over"};
  ExportAnimatorDocument(*fourbar, curve, info, file.string());
  EXPECT_TRUE(shared::TabLines().Lines.empty());

  std::vector<std::string> lines;
  std::ifstream in(file, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    ASSERT_FALSE(line.empty());
    ASSERT_EQ(line.back(), '\r');
    line.pop_back();
    lines.push_back(line);
  }
  ASSERT_GT(lines.size(), 3u);
  std::vector<std::string> sections;
  for (const std::string& line : lines)
    if (line.front() == '[') sections.push_back(line);
  EXPECT_EQ(sections, (std::vector<std::string>{"[Quillon>", "[Joints>", "[Links>", "[Dyads>", "[Input A>",
                                                "[Curve>", "[Info>"}));
  EXPECT_EQ(lines[1], "0\tVesk");
  // Curve points, then the project information.
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Gear \xE9\tOrvane\t\t10-12-2026"), lines.end());
  const std::string stored = lines.back();
  lines.pop_back();
  EXPECT_EQ(lines.back(), "<Info]");
  EXPECT_EQ(stored, std::to_string(shared::TabLines().ComputeCrc(lines)));
}

TEST_F(SolutionExportTest, AnimatorDocumentThatCannotBeWrittenKeepsTheOldFile) {
  const fs::path file = dir / "old.mech";
  shared::test::WriteBytes(file, "old");
  shared::FailNextReplacement(shared::TReplaceStage::Write, ENOSPC);
  EXPECT_THROW(ExportAnimatorDocument(*fourbar, curve, info, file.string()), std::runtime_error);
  EXPECT_EQ(shared::test::ReadBytes(file), "old");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
  // The store is empty again, so the next export carries one checksum line.
  EXPECT_TRUE(shared::TabLines().Lines.empty());
}

TEST_F(SolutionExportTest, SamDeckOrItsRefusal) {
  ExportSamDeck(*fourbar, (dir / "four.dat").string());
  const std::string deck = shared::test::ReadBytes(dir / "four.dat");
  EXPECT_EQ(deck.rfind("TITLE Vesk 1.6.4 to SAM\r\n", 0), 0u);

  TSlider slider;
  TFiveBar fiveBar;
  for (const TMechanism* refused :
       {static_cast<const TMechanism*>(&slider), static_cast<const TMechanism*>(&fiveBar)}) {
    const fs::path file = dir / "refused.dat";
    try {
      ExportSamDeck(*refused, file.string());
      ADD_FAILURE() << "no refusal";
    } catch (const std::runtime_error& error) {
      EXPECT_STREQ(error.what(), "Not yet able to export this mechanism to SAM");
    }
    EXPECT_FALSE(fs::exists(file));
  }
}

}  // namespace
