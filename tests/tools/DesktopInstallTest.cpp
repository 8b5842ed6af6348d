// The install step of the hand-over to the animator, run as the README tells a user to run it
// (into a fresh home): afterwards the desktop's opener types a *.mech document as the animator's
// and names the installed quillon to open it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/shared/TestFiles.h"

namespace {

namespace fs = std::filesystem;

std::string Quote(const std::string& text) { return "'" + text + "'"; }

class DesktopInstallTest : public shared::test::TTempFolderTest {
 protected:
  DesktopInstallTest() : TTempFolderTest("desktop_install") {}

  // The command's stdout and stderr, and its exit status; in a home of its own without a
  // desktop environment, as on a plain X display.
  int Run(const std::string& command, std::string& out) {
    const std::string line =
        "env -u XDG_DATA_HOME -u XDG_CONFIG_HOME -u XDG_DATA_DIRS -u XDG_CURRENT_DESKTOP "
        "-u DESKTOP_SESSION -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID HOME=" +
        Quote((dir / "home").string()) + " SUITE_BUILD_DIR=" + Quote(SUITE_BINARY_DIR) + " " + command +
        " 2>&1";
    out.clear();
    std::FILE* pipe = popen(line.c_str(), "r");
    if (!pipe) return -1;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
};

TEST_F(DesktopInstallTest, MechDocumentsOpenWithTheInstalledAnimator) {
  fs::create_directories(dir / "home");
  const fs::path root = fs::path(__FILE__).parent_path() / "../..";
  std::string out;
  ASSERT_EQ(Run("bash " + Quote((root / "tools/install-desktop.sh").string()), out), 0) << out;

  const fs::path local = dir / "home/.local";
  const fs::path quillon = local / "bin/quillon";
  EXPECT_EQ(fs::file_size(quillon), fs::file_size(fs::path(SUITE_BINARY_DIR) / "animator/app/quillon"));
  EXPECT_TRUE(fs::is_regular_file(local / "bin/English.ini"));
  EXPECT_TRUE(fs::is_regular_file(local / "bin/vesk"));
  EXPECT_TRUE((fs::status(quillon).permissions() & fs::perms::owner_exec) != fs::perms::none);
  // The entry names the installed program; the databases are refreshed.
  const std::string entry = shared::test::ReadBytes(local / "share/applications/quillon.desktop");
  EXPECT_NE(entry.find("\nExec=" + fs::weakly_canonical(quillon).string() + " %f\n"), std::string::npos)
      << entry;
  EXPECT_TRUE(fs::is_regular_file(local / "share/mime/mime.cache"));
  EXPECT_TRUE(fs::is_regular_file(local / "share/applications/mimeinfo.cache"));

  // What xdg-open asks on a display without a desktop environment.
  shared::test::WriteBytes(dir / "gear.mech", "[Quillon>\r\n0\tVesk\r\n<Quillon]\r\n");
  const std::string document = Quote((dir / "gear.mech").string());
  ASSERT_EQ(Run("mimetype --brief --dereference " + document, out), 0) << out;
  EXPECT_EQ(out, "application/x-quillon-mech\n");
  ASSERT_EQ(Run("xdg-mime query filetype " + document, out), 0) << out;
  EXPECT_EQ(out, "application/x-quillon-mech\n");
  ASSERT_EQ(Run("xdg-mime query default application/x-quillon-mech", out), 0) << out;
  EXPECT_EQ(out, "quillon.desktop\n");
}

TEST_F(DesktopInstallTest, APrefixWithBlanksIsRefused) {
  const fs::path root = fs::path(__FILE__).parent_path() / "../..";
  std::string out;
  EXPECT_EQ(
      Run("bash " + Quote((root / "tools/install-desktop.sh").string()) + " " + Quote((dir / "a b").string()),
          out),
      2);
  EXPECT_NE(out.find("no blanks"), std::string::npos) << out;
  EXPECT_FALSE(fs::exists(dir / "a b"));
}

}  // namespace
