// The desktop entry and the MIME type hand *.mech documents to quillon.
#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "animator/app/Pictures.h"

namespace {

std::string Source(const std::string& name) {
  const std::filesystem::path root = SUITE_SOURCE_DIR;
  std::ifstream in(root / "animator/app/desktop" / name);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Match(const std::string& text, const std::string& pattern) {
  std::smatch found;
  return std::regex_search(text, found, std::regex(pattern)) ? found[1].str() : std::string();
}

TEST(DesktopEntry, OpensMechanismFilesWithTheAnimator) {
  const std::string entry = Source("quillon.desktop");
  const std::string mime = Source("quillon-mech.xml");
  ASSERT_FALSE(entry.empty());
  ASSERT_FALSE(mime.empty());
  EXPECT_NE(entry.find("[Desktop Entry]"), std::string::npos);
  EXPECT_EQ(Match(entry, "\nExec=([^\n]*)"), "quillon %f");
  EXPECT_EQ(Match(entry, "\nType=([^\n]*)"), "Application");
  const std::string type = Match(mime, "<mime-type type=\"([^\"]+)\"");
  EXPECT_EQ(type, "application/x-quillon-mech");
  EXPECT_EQ(Match(entry, "\nMimeType=([^\n]*)"), type + ";");
  EXPECT_EQ(Match(mime, "<glob pattern=\"([^\"]+)\""), "*.mech");
}

// The desktop entry and the MIME type name the program's icon, which the install puts under that
// name and the program carries for its own windows.
TEST(DesktopEntry, NamesTheProgramsIcon) {
  const std::string entry = Source("quillon.desktop");
  const std::string mime = Source("quillon-mech.xml");
  const std::string icon = Match(entry, "\nIcon=([^\n]*)");
  EXPECT_EQ(icon, "quillon");
  EXPECT_EQ(Match(mime, "<icon name=\"([^\"]+)\""), icon);
  const std::filesystem::path root = SUITE_SOURCE_DIR;
  EXPECT_TRUE(std::filesystem::is_regular_file(root / "animator/app/icons" / (icon + ".svg")));
  const QImage shown = quillon::ProgramIcon().pixmap(QSize(48, 48)).toImage();
  ASSERT_FALSE(shown.isNull());
  // Drawn, not blank: the corner is transparent, the middle is not.
  EXPECT_GT(qAlpha(shown.pixel(24, 24)), 0);
  EXPECT_EQ(qAlpha(shown.pixel(0, 0)), 0);
}

}  // namespace
