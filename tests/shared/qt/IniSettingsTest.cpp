// INI settings: where a key's file lives, values as text with the Windows-1252 edge, sections as
// groups, and the unit settings going through the installed factory.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstdlib>
#include <filesystem>

#include "shared/Convert.h"
#include "shared/qt/IniSettings.h"

namespace {

// Windows-1252 degree sign (byte 176) with the scale letter.
const std::string kDegC = std::string("\xB0") + "C";
const std::string kDegF = std::string("\xB0") + "F";

// The config folder is set before the first QSettings of the process reads it; it is made only
// when a test writes, so listing the tests leaves nothing behind.
const std::string kConfigDir = [] {
  const std::string path =
      (std::filesystem::temp_directory_path() / ("inisettings-" + std::to_string(getpid()))).string();
  setenv("XDG_CONFIG_HOME", path.c_str(), 1);
  return path;
}();

// Every test of this program may write there (Qt's file dialog and sound keep files of their own),
// and a test run alone ends without this suite's teardown: the folder goes when the process ends.
// Registered after kConfigDir is made, so it runs before the name is destroyed.
[[maybe_unused]] const bool kConfigDirRemovedAtExit = std::atexit([] {
  std::error_code ignored;
  std::filesystem::remove_all(kConfigDir, ignored);
}) == 0;

class IniSettingsTest : public testing::Test {
 protected:
  static void TearDownTestSuite() {
    std::error_code ignored;
    std::filesystem::remove_all(kConfigDir, ignored);
  }
  void TearDown() override { shared::SetSettingsFactory(nullptr); }

  static std::string FileText(const std::string& key) {
    QFile file(QString::fromStdString(shared::IniSettingsFileName(key)));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll().toStdString();
  }
  static void WriteFile(const std::string& key, const std::string& text) {
    const QString name = QString::fromStdString(shared::IniSettingsFileName(key));
    QDir().mkpath(QFileInfo(name).path());
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.data(), static_cast<qint64>(text.size()));
  }
};

TEST_F(IniSettingsTest, KeyNamesTheFile) {
  const struct {
    const char* Key;
    const char* Organisation;
    const char* Application;
  } cases[] = {
      {"Software\\Orvane\\Quillon", "Orvane", "Quillon"},
      {"Software\\Orvane\\Vesk1.6", "Orvane", "Vesk1.6"},
      {"SOFTWARE\\Orvane\\Convert\\", "Orvane", "Convert"},
      {"Software\\Orvane\\Quillon\\Frames", "Orvane", "Quillon/Frames"},
      {"Quillon", "Orvane", "Quillon"},
  };
  for (const auto& c : cases) {
    const auto location = shared::IniLocationOfKey(c.Key);
    EXPECT_EQ(location.Organisation, c.Organisation) << c.Key;
    EXPECT_EQ(location.Application, c.Application) << c.Key;
  }
  const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  EXPECT_EQ(config.toStdString(), kConfigDir);
  EXPECT_EQ(shared::IniSettingsFileName("Software\\Orvane\\Quillon"), kConfigDir + "/Orvane/Quillon.ini");
  EXPECT_EQ(shared::IniSettingsFileName("Software\\Orvane\\Vesk1.6"), kConfigDir + "/Orvane/Vesk1.6.ini");
}

TEST_F(IniSettingsTest, ValuesAreTextInSectionGroups) {
  const std::string key = "Software\\Orvane\\RoundTrip";
  {
    auto settings = shared::OpenIniSettings(key);
    settings->WriteInteger("Convert", "SystemOfUnits", 4);
    settings->WriteString("Main", "Unit", kDegC);
    settings->WriteString("Main", "List", "a, b,c");
    settings->WriteString("Main\\Window", "Left", "-12");
    settings->WriteBool("Options", "Grid", true);
  }
  const std::string text = FileText(key);
  EXPECT_NE(text.find("[Convert]"), std::string::npos) << text;
  EXPECT_NE(text.find("SystemOfUnits=4"), std::string::npos) << text;
  EXPECT_NE(text.find("Unit=\u00B0C"), std::string::npos) << text;  // UTF-8 in the file

  auto settings = shared::OpenIniSettings(key);
  EXPECT_EQ(settings->ReadInteger("Convert", "SystemOfUnits", 1), 4);
  EXPECT_EQ(settings->ReadString("Main", "Unit", ""), kDegC);
  EXPECT_EQ(settings->ReadString("Main", "List", ""), "a, b,c");
  EXPECT_EQ(settings->ReadInteger("Main\\Window", "Left", 0), -12);
  EXPECT_TRUE(settings->ReadBool("Options", "Grid", false));
  EXPECT_EQ(settings->ReadString("Main", "Missing", "fallback"), "fallback");
  EXPECT_EQ(settings->ReadInteger("Main", "Unit", 7), 7);  // not a number
  EXPECT_TRUE(settings->ValueExists("Main", "Unit"));
  EXPECT_FALSE(settings->ValueExists("Main", "Missing"));
  EXPECT_FALSE(settings->ValueExists("Convert", "Unit"));

  settings->EraseSection("Main");
  EXPECT_FALSE(settings->ValueExists("Main", "Unit"));
  EXPECT_TRUE(settings->ValueExists("Convert", "SystemOfUnits"));
}

TEST_F(IniSettingsTest, ReadsHandEditedFiles) {
  const std::string key = "Software\\Orvane\\HandEdited";
  WriteFile(key, "[Convert]\nPrecision = 9\nNames=a,b\nEmpty=\n");
  auto settings = shared::OpenIniSettings(key);
  EXPECT_EQ(settings->ReadInteger("Convert", "Precision", 7), 9);
  EXPECT_EQ(settings->ReadString("Convert", "Names", ""), "a,b");
  EXPECT_EQ(settings->ReadString("Convert", "Empty", "x"), "");
}

TEST_F(IniSettingsTest, InstalledFactoryCarriesTheUnitSettings) {
  shared::InstallIniSettings();
  const std::string key = "Software\\Orvane\\Convert";
  {
    shared::TConvert convert;
    convert.SetRegistryKey(key);
    convert.SetCurrentUnit(shared::cuTemp, 2);
    convert.SetSystem(shared::usCustom);
    ASSERT_TRUE(convert.SetPrecisionDigits(9, 2));
    convert.SaveSettings();
  }
  EXPECT_NE(FileText(key).find("cuTemp=2"), std::string::npos);
  shared::TConvert loaded;
  loaded.SetRegistryKey(key);
  EXPECT_EQ(loaded.UnitSystem(), shared::usCustom);
  EXPECT_EQ(loaded.UnitSymbol(shared::cuTemp), kDegF);
  EXPECT_EQ(loaded.Precision(), 9);
  EXPECT_EQ(loaded.Digits(), 2);
}

}  // namespace
