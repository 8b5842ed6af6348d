// The synthesis program's information: values at creation, its "Files" and "Statistics"
// settings, language switch, help and shell opening, and the process-wide instance.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <stdexcept>

#include "shared/ShellOpen.h"
#include "synthesis/engine/ProgramInfo.h"
#include "tests/shared/StoreSettings.h"

namespace {

namespace fs = std::filesystem;
using vesk::TProgramInfo;

std::string ExeDir() { return fs::canonical("/proc/self/exe").parent_path().string() + "/"; }

class ProgramInfoTest : public shared::test::TSettingsStoreTest {
 protected:
  void SetUp() override {
    TSettingsStoreTest::SetUp();
    shared::SetShellOpen([this](const std::string& target) {
      opened.push_back(target);
      return true;
    });
  }
  void TearDown() override {
    shared::SetShellOpen({});
    if (!helpFile.empty()) fs::remove(helpFile);
    TSettingsStoreTest::TearDown();
  }
  std::vector<std::string> opened;
  fs::path helpFile;
};

TEST_F(ProgramInfoTest, HoldsTheProductDataOnAMachineWithoutSettings) {
  const TProgramInfo info;
  const std::string exeDir = ExeDir();
  EXPECT_EQ(fLastKey, "Software\\Orvane\\Vesk1.6");
  EXPECT_EQ(info.RegistryKey, "Software\\Orvane\\Vesk1.6");
  EXPECT_EQ(info.ExeDir, exeDir);
  EXPECT_EQ(info.DataDir, exeDir);
  EXPECT_EQ(info.LastOpened1, "");
  EXPECT_EQ(info.LastOpened2, "");
  EXPECT_EQ(info.Header, "[Vesk]");
  EXPECT_EQ(info.FileFormatVersion, 2);
  EXPECT_EQ(info.DefaultName, "Untitled");
  EXPECT_EQ(info.Extension, "vesk");
  EXPECT_EQ(info.Title, "Vesk Professional");
  EXPECT_EQ(info.Version, "1.6.4");
  EXPECT_EQ(info.DefaultIni, exeDir + "Default.ini");
  EXPECT_EQ(info.ManualPath, exeDir + "vesk_manual.pdf");
  EXPECT_EQ(info.HelpPath, exeDir + "veskhelp.hlp");
  EXPECT_EQ(info.LanguageCode, "en");
  EXPECT_EQ(info.LanguageIndex, 0);
  EXPECT_EQ(info.MailSubject, "Vesk Mechanism Vuzev 1.6.4");
  EXPECT_EQ(info.MailAddress.find("mailto:"), std::string::npos);
  EXPECT_NE(info.MailAddress.find('@'), std::string::npos);
  EXPECT_FALSE(info.ProductURL.empty());
  EXPECT_FALSE(info.FeedbackURL.empty());
  EXPECT_FALSE(info.Notice.empty());
  // The test runs in the C locale, whose short date is MM/DD/YY.
  EXPECT_TRUE(std::regex_match(info.BuildDate, std::regex(R"(\d\d/\d\d/\d\d)"))) << info.BuildDate;
}

TEST_F(ProgramInfoTest, ReadsItsFilesAtCreationAndSavesThemWithTheStatisticsAtExit) {
  fStore.WriteString("Files", "LastOpened1", "/home/a/crank.vesk");
  fStore.WriteString("Files", "LastOpened2", "/home/a/old.vsk");
  fStore.WriteString("Files", "DataPath", "/home/a/");
  std::string buildDate;
  {
    TProgramInfo info;
    EXPECT_EQ(info.LastOpened1, "/home/a/crank.vesk");
    EXPECT_EQ(info.LastOpened2, "/home/a/old.vsk");
    EXPECT_EQ(info.DataDir, "/home/a/");
    // The main window changes them while the program runs.
    info.LastOpened2 = info.LastOpened1;
    info.LastOpened1 = "/home/b/new.vesk";
    info.DataDir = "/home/b/";
    buildDate = info.BuildDate;
    // Nothing is written before the program closes.
    EXPECT_FALSE(fStore.ValueExists("Statistics", "Version"));
  }
  const std::map<std::string, std::map<std::string, std::string>> saved = {
      {"Files",
       {{"LastOpened1", "/home/b/new.vesk"},
        {"LastOpened2", "/home/a/crank.vesk"},
        {"DataPath", "/home/b/"},
        {"Version", "2"}}},
      {"Statistics", {{"Version", "1.6.4"}, {"Name", "Vesk Professional"}, {"Date", buildDate}}},
  };
  EXPECT_EQ(fStore.Values, saved);
  EXPECT_EQ(fLastKey, "Software\\Orvane\\Vesk1.6");

  const TProgramInfo next;
  EXPECT_EQ(next.LastOpened1, "/home/b/new.vesk");
  EXPECT_EQ(next.DataDir, "/home/b/");
}

TEST_F(ProgramInfoTest, SwitchesLanguageOnlyForKnownIndices) {
  TProgramInfo info;
  const std::string help = info.HelpPath;
  const std::string manual = info.ManualPath;
  const std::string feedback = info.FeedbackURL;
  for (const int bad : {2, -1, 7}) {
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
  EXPECT_NE(info.FeedbackURL.find("/nl/"), std::string::npos);
  EXPECT_EQ(info.HelpPath, help);
  EXPECT_EQ(info.ManualPath, manual);
  EXPECT_EQ(info.PickByLanguage({"Units", "Eenheden"}), "Eenheden");
  EXPECT_EQ(info.PickByLanguage({"Units"}), "Units");
  EXPECT_EQ(info.PickByLanguage({}), "");

  info.SetLanguage(0);
  EXPECT_EQ(info.FeedbackURL, feedback);
}

TEST_F(ProgramInfoTest, OpensAnExistingHelpFileAndHandsTargetsToTheDesktop) {
  TProgramInfo info;
  info.ShowHelpTopic("IDH_Units");                     // no help file beside the test program
  info.HelpPath = fs::temp_directory_path().string();  // a folder is no help file
  info.ShowHelpTopic("IDH_Units");
  EXPECT_TRUE(opened.empty());

  helpFile = fs::temp_directory_path() / ("veskhelp_" + std::to_string(::getpid()) + ".hlp");
  std::ofstream(helpFile) << "help";
  info.HelpPath = helpFile.string();
  info.ShowHelpTopic("IDH_SynthOptions");
  info.OpenWithShell(info.ManualPath);
  info.OpenWithShell(info.ProductURL);
  EXPECT_EQ(opened, (std::vector<std::string>{info.HelpPath, info.ManualPath, info.ProductURL}));

  shared::SetShellOpen({});
  EXPECT_NO_THROW(info.ShowHelpTopic("IDH_Tutorial"));
  EXPECT_NO_THROW(info.OpenWithShell(info.ProductURL));
}

TEST_F(ProgramInfoTest, ProcessWideInstanceSavesWhenFreed) {
  vesk::FreeProgramInfo();
  EXPECT_THROW(vesk::ProgramInfo(), std::logic_error);
  vesk::CreateProgramInfo();
  EXPECT_EQ(vesk::ProgramInfo().Extension, "vesk");
  vesk::ProgramInfo().LastOpened1 = "/p/one.vesk";
  EXPECT_FALSE(fStore.ValueExists("Files", "LastOpened1"));
  vesk::FreeProgramInfo();
  EXPECT_THROW(vesk::ProgramInfo(), std::logic_error);
  EXPECT_EQ(fStore.ReadString("Files", "LastOpened1", ""), "/p/one.vesk");
  EXPECT_EQ(fStore.ReadString("Files", "Version", ""), "2");
}

}  // namespace
