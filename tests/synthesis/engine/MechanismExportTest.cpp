// A mechanism's animator sections and SAM deck: the default four-bar against golden files, the
// per-type records that differ from the plain ones, and the refusals and failures of the deck.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "shared/TabLine.h"
#include "synthesis/engine/Fourbar.h"
#include "synthesis/engine/ProgramInfo.h"
#include "tests/shared/StoreSettings.h"
#include "tests/shared/TestFiles.h"

namespace {

using namespace vesk;
namespace fs = std::filesystem;
const fs::path kFixtures = SUITE_FIXTURES;

class MechanismExportTest : public shared::test::TSettingsStoreTest {
 protected:
  void SetUp() override {
    TSettingsStoreTest::SetUp();
    CreateDefaultInputFunction();
    CreateProgramInfo();
    shared::CreateTabLines();
    folder = fs::temp_directory_path() / ("vesk-export-" + std::to_string(::getpid()));
    fs::create_directories(folder);
  }
  void TearDown() override {
    fs::remove_all(folder);
    shared::FreeTabLines();
    FreeProgramInfo();
    TSettingsStoreTest::TearDown();
  }
  // The store's lines of one export, without the checksum a save adds.
  static std::string Exported(TMechanism& m) {
    shared::TabLines().Clear();
    m.ExportToAnimator();
    return shared::TabLines().Text();
  }
  // The records of one section, fields split at tabs.
  static std::vector<std::vector<std::string>> Section(const std::string& name) {
    std::vector<std::vector<std::string>> records;
    const std::vector<std::string>& lines = shared::TabLines().Lines;
    size_t i = 0;
    while (i < lines.size() && lines[i] != "[" + name + ">") ++i;
    for (++i; i < lines.size() && lines[i] != "<" + name + "]"; ++i) {
      std::vector<std::string> fields;
      std::string field;
      std::istringstream in(lines[i]);
      while (std::getline(in, field, '\t')) fields.push_back(field);
      records.push_back(fields);
    }
    return records;
  }
  fs::path folder;
};

TEST_F(MechanismExportTest, DefaultFourbarMatchesTheGoldenSectionsAndDeck) {
  TMechanism m;
  EXPECT_EQ(Exported(m), shared::test::ReadBytes(kFixtures / "default-fourbar-animator.txt"));

  const fs::path deck = folder / "four.sam";
  ASSERT_TRUE(m.ExportSam(deck.string()));
  const std::string text = shared::test::ReadBytes(deck);
  EXPECT_EQ(text, shared::test::ReadBytes(kFixtures / "default-fourbar.sam"));
  // Counted apart from the golden text: 5 joints, 1 + 1 + 3 beams, two ground pivots.
  auto count = [&text](const std::string& head) {
    size_t n = 0;
    for (size_t at = text.find(head); at != std::string::npos; at = text.find(head, at + 1))
      if (at == 0 || text[at - 1] == '\n') ++n;
    return n;
  };
  EXPECT_EQ(count("NODE "), 5u);
  EXPECT_EQ(count("ANGLE "), 10u);
  EXPECT_EQ(count("BEAM "), 5u);
  EXPECT_EQ(count("FIX "), 4u);
}

TEST_F(MechanismExportTest, DefaultFourbarRecordsCarryTheOutputFlagsAndDyad) {
  TMechanism m;
  Exported(m);
  const auto joints = Section("Joints");
  ASSERT_EQ(joints.size(), 5u);
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(joints[i][0], std::string(1, char('A' + i)));
    ASSERT_EQ(joints[i].size(), 9u);
    const std::string out = i == 4 ? "1" : "0";
    for (size_t f : {3u, 4u, 5u, 6u, 8u}) EXPECT_EQ(joints[i][f], out) << i << ' ' << f;
    EXPECT_EQ(joints[i][7], i == 0 ? "1" : "0");
  }
  const auto links = Section("Links");
  const std::vector<std::vector<std::string>> expected = {
      {"AC", "PP", "0", "0"}, {"AB", "PP", "0", "0"}, {"BDE", "PPP", "1", "1"}, {"CD", "PP", "0", "0"}};
  EXPECT_EQ(links, expected);
  EXPECT_EQ(Section("Dyads"), (std::vector<std::vector<std::string>>{{"BDE", "CD"}}));
  EXPECT_EQ(Section("Quillon"), (std::vector<std::vector<std::string>>{{"0", "Vesk"}}));
}

// The six-bar types export from the base data alone: a mechanism of the default layout stands in
// for them, since only the type decides the dyads and the input record.
TEST_F(MechanismExportTest, TypeDecidesDyadsAndInputRecord) {
  struct TCase {
    uint8_t type;
    std::vector<std::vector<std::string>> dyads;
    double inputScale;
    // The curve prescribes the input rotations.
    bool in = false;
    // The points were taken from a closed curve, whose loop the input runs round once.
    bool closed = false;
  };
  const std::vector<TCase> cases = {
      {kFourbarType, {{"BDE", "CD"}}, 1},
      {kWatt1Type, {{"BCE", "CDF"}, {"FG", "EGH"}}, 1},
      {kWatt2Type, {{"BC", "CDE"}, {"EFH", "FG"}}, 2},
      {kWatt2Type, {{"BC", "CDE"}, {"EFH", "FG"}}, 1, true},
      {kWatt2Type, {{"BC", "CDE"}, {"EFH", "FG"}}, 1, false, true},
      {kStephenson1Type, {{"BE", "DEF"}, {"CG", "FGH"}}, 1},
      {kStephenson3Type, {{"BDE", "DC"}, {"EGH", "FG"}}, 1},
  };
  for (const TCase& c : cases) {
    TMechanism m;
    m.MechanismType = c.type;
    m.PrecisionPoints.In = c.in;
    m.PrecisionPoints.Closed = c.closed;
    m.InputFunction.SetTmax(2);
    m.InputFunction.SetXmax(M_PI);
    Exported(m);
    EXPECT_EQ(Section("Dyads"), c.dyads) << int(c.type);
    const auto input = Section("Input A");
    ASSERT_EQ(input.size(), 1u);
    EXPECT_EQ(input[0][0], "0");
    EXPECT_NEAR(std::stod(input[0][1]), 2 * c.inputScale, 1e-13) << int(c.type);
    EXPECT_NEAR(std::stod(input[0][2]), M_PI * c.inputScale, 1e-13) << int(c.type);
    EXPECT_TRUE(Section("Input D").empty());
  }
}

TEST_F(MechanismExportTest, SamRefusesSliderAndFiveBarWithoutAFile) {
  for (uint8_t type : {kSliderType, kFiveBarType}) {
    TMechanism m;
    m.MechanismType = type;
    const fs::path deck = folder / "refused.sam";
    EXPECT_FALSE(m.ExportSam(deck.string()));
    EXPECT_FALSE(fs::exists(deck));
  }
  EXPECT_STREQ(TMechanism::kSamRefusal, "Not yet able to export this mechanism to SAM");
}

TEST_F(MechanismExportTest, SamIntoAMissingFolderIsAnError) {
  TMechanism m;
  const fs::path deck = folder / "no-such-folder" / "x.sam";
  EXPECT_THROW(m.ExportSam(deck.string()), std::runtime_error);
  EXPECT_FALSE(fs::exists(deck));
}

// A ternary link gives three beams: both from its first joint, then second to third.
TEST_F(MechanismExportTest, SamBeamsRunFromTheFirstJointThenAlongTheLink) {
  TMechanism m;
  const fs::path deck = folder / "beams.sam";
  ASSERT_TRUE(m.ExportSam(deck.string()));
  const std::string text = shared::test::ReadBytes(deck);
  // Link 2 (A-B) is beam 1, the output body B, D, E beams 2 to 4, the rocker C-D beam 5.
  for (const char* beam : {"BEAM 1 1 1001 2 1002 ", "BEAM 2 2 1003 4 1004 ", "BEAM 3 2 1005 5 1006 ",
                           "BEAM 4 4 1007 5 1008 ", "BEAM 5 3 1009 4 1010 "})
    EXPECT_NE(text.find(std::string("\n") + beam), std::string::npos) << beam;
}

}  // namespace
