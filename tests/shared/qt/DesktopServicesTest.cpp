// The start-up step of both programs: while it lives the desktop's sound is the process's, the
// unit service writes the locale's decimal separator, and the build date is in the locale's short
// date form, whatever locale the program information was made under.
#include "shared/qt/DesktopServices.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QTemporaryDir>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "shared/Convert.h"
#include "shared/Sound.h"
#include "shared/qt/PathName.h"

namespace {

namespace fs = std::filesystem;

// A file written on 4 March 2026 at noon, local time.
fs::path FileOfTheFourthOfMarch(const QTemporaryDir& dir) {
  const fs::path file = fs::path(shared::ToPath(dir.path())) / "program";
  std::ofstream(file) << "x";
  std::tm noon{};
  noon.tm_year = 2026 - 1900;
  noon.tm_mon = 2;
  noon.tm_mday = 4;
  noon.tm_hour = 12;
  noon.tm_isdst = -1;
  const auto written = std::chrono::system_clock::from_time_t(std::mktime(&noon));
  fs::last_write_time(file, std::chrono::file_clock::from_sys(written));
  return file;
}

struct TLocaleCase {
  QLocale::Language Language;
  QLocale::Territory Territory;
  char Separator;
  const char* Date;
};

class DesktopServicesLocale : public ::testing::TestWithParam<TLocaleCase> {
 protected:
  void TearDown() override { QLocale::setDefault(Saved); }
  const QLocale Saved;
};

TEST_P(DesktopServicesLocale, SoundSeparatorAndDateFollowTheDesktop) {
  const TLocaleCase& c = GetParam();
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const fs::path program = FileOfTheFourthOfMarch(dir);
  QLocale::setDefault(QLocale(c.Language, c.Territory));
  shared::TConvert convert;
  std::string buildDate = "03/04/26";  // as made before the locale was set
  ASSERT_EQ(shared::Sound(), nullptr);
  {
    shared::TDesktopServices desktop(shared::ToPath(dir.path()) + "/", convert, buildDate, program);
    EXPECT_NE(shared::Sound(), nullptr);
    EXPECT_EQ(convert.DecimalSeparator, c.Separator);
    EXPECT_EQ(buildDate, c.Date);
    shared::PlayWave("About.wav", shared::kWaveNoStop | shared::kWaveNoDefault);  // absent: silent
  }
  EXPECT_EQ(shared::Sound(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Locales, DesktopServicesLocale,
                         ::testing::Values(TLocaleCase{QLocale::German, QLocale::Germany, ',', "04.03.26"},
                                           TLocaleCase{QLocale::English, QLocale::UnitedStates, '.', "3/4/26"},
                                           TLocaleCase{QLocale::Dutch, QLocale::Netherlands, ',', "04-03-2026"}));

TEST(DesktopServices, AFileThatCannotBeReadGivesNoDate) {
  EXPECT_EQ(shared::UserShortFileDate("/nowhere/program"), "");
}

}  // namespace
