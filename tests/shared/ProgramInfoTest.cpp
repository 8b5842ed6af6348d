// The animator's program information: values at creation, language switch, help opening.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <stdexcept>

#include "shared/ProgramInfo.h"
#include "shared/ShellOpen.h"

namespace {

namespace fs = std::filesystem;
using shared::TProgramInfo;

TEST(ProgramInfoTest, HoldsTheProductDataAtCreation) {
  const TProgramInfo info;
  const std::string exeDir = fs::canonical("/proc/self/exe").parent_path().string() + "/";
  EXPECT_EQ(info.ExeDir, exeDir);
  EXPECT_EQ(info.DataDir, exeDir);
  EXPECT_EQ(info.LastFile, "");
  EXPECT_EQ(info.DefaultIni, exeDir + "Default.ini");
  EXPECT_EQ(info.ManualPath, exeDir + "vesk_manual.pdf");
  EXPECT_EQ(info.HelpPath, exeDir + "quillon_help.chm");
  EXPECT_EQ(info.ProductWord, "Quillon");
  EXPECT_EQ(info.FileFormatVersion, 0);
  EXPECT_EQ(info.DefaultName, "Untitled");
  EXPECT_EQ(info.Extension, "mech");
  EXPECT_EQ(info.Title, "Quillon Animator");
  EXPECT_EQ(info.Version, "2.1.4");
  EXPECT_EQ(info.LanguageCode, "en");
  EXPECT_EQ(info.LanguageIndex, 0);
  EXPECT_EQ(info.Mail.rfind("mailto:", 0), 0u);
  EXPECT_EQ(info.MailWithSubject, info.Mail + "?subject=Quillon Animator 2.1.4");
  EXPECT_FALSE(info.ProductURL.empty());
  EXPECT_FALSE(info.FeedbackURL.empty());
  EXPECT_FALSE(info.Notice.empty());
  // The test runs in the C locale, whose short date is MM/DD/YY.
  EXPECT_TRUE(std::regex_match(info.BuildDate, std::regex(R"(\d\d/\d\d/\d\d)"))) << info.BuildDate;
}

TEST(ProgramInfoTest, SwitchesLanguageOnlyForKnownIndices) {
  TProgramInfo info;
  const std::string help = info.HelpPath;
  const std::string manual = info.ManualPath;
  const std::string feedback = info.FeedbackURL;
  for (const int bad : {5, -1, 2}) {
    info.SetLanguage(bad);
    EXPECT_EQ(info.LanguageIndex, 0);
    EXPECT_EQ(info.LanguageCode, "en");
    EXPECT_EQ(info.HelpPath, help);
    EXPECT_EQ(info.ManualPath, manual);
    EXPECT_EQ(info.FeedbackURL, feedback);
  }
  EXPECT_EQ(info.PickByLanguage({"Units", "Eenheden"}), "Units");

  info.SetLanguage(1);
  EXPECT_EQ(info.LanguageIndex, 1);
  EXPECT_EQ(info.LanguageCode, "nl");
  EXPECT_NE(info.FeedbackURL, feedback);
  EXPECT_EQ(info.HelpPath, help);
  EXPECT_EQ(info.PickByLanguage({"Units", "Eenheden"}), "Eenheden");
  EXPECT_EQ(info.PickByLanguage({"Units"}), "Units");  // no Dutch entry: the English one
  EXPECT_EQ(info.PickByLanguage({}), "");

  info.SetLanguage(0);
  EXPECT_EQ(info.FeedbackURL, feedback);
}

class ProgramInfoHelpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shared::SetShellOpen([this](const std::string& target) {
      opened.push_back(target);
      return true;
    });
  }
  void TearDown() override {
    shared::SetShellOpen({});
    if (!helpFile.empty()) fs::remove(helpFile);
  }
  std::vector<std::string> opened;
  fs::path helpFile;
};

TEST_F(ProgramInfoHelpTest, OpensAnExistingHelpFileThroughTheDesktop) {
  TProgramInfo info;
  helpFile = fs::temp_directory_path() / ("quillon_help_" + std::to_string(::getpid()) + ".chm");
  std::ofstream(helpFile) << "help";
  info.HelpPath = helpFile.string();
  info.ShowHelp();
  info.ShowHelpTopic("units.html");
  EXPECT_EQ(opened, (std::vector<std::string>{info.HelpPath, info.HelpPath}));
}

TEST_F(ProgramInfoHelpTest, DoesNothingWithoutHelpFileOrDesktop) {
  TProgramInfo info;
  info.HelpPath = (fs::temp_directory_path() / "no_such_quillon_help.chm").string();
  info.ShowHelpTopic("units.html");
  info.ShowHelp();
  info.HelpPath = fs::temp_directory_path().string();  // a folder is no help file
  info.ShowHelp();
  EXPECT_TRUE(opened.empty());

  helpFile = fs::temp_directory_path() / ("quillon_help_" + std::to_string(::getpid()) + "b.chm");
  std::ofstream(helpFile) << "help";
  info.HelpPath = helpFile.string();
  shared::SetShellOpen({});
  EXPECT_NO_THROW(info.ShowHelpTopic("projectinfo.html"));
}

TEST(ProgramInfoInstanceTest, ExistsBetweenCreateAndFree) {
  shared::FreeProgramInfo();
  EXPECT_THROW(shared::ProgramInfo(), std::logic_error);
  shared::CreateProgramInfo();
  EXPECT_EQ(shared::ProgramInfo().Extension, "mech");
  shared::FreeProgramInfo();
  EXPECT_THROW(shared::ProgramInfo(), std::logic_error);
}

}  // namespace
