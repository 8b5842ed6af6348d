// The install step of the hand-over to the animator, run as the README tells a user to run it
// (into a fresh home): afterwards the desktop's opener types a *.mech document as the animator's
// and starts the installed quillon with it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/shared/TestFiles.h"

namespace {

namespace fs = std::filesystem;

std::string Quote(const std::string& text) { return "'" + text + "'"; }

// Whether a process runs the program with the one argument.
bool Running(const fs::path& program, const fs::path& argument) {
  std::error_code error;
  for (const auto& entry : fs::directory_iterator("/proc", error)) {
    std::string command;
    // A process may end between the listing and the read: it is not the one looked for.
    try {
      command = shared::test::ReadBytes(entry.path() / "cmdline");
    } catch (const std::exception&) {
      continue;
    }
    std::vector<std::string> words;
    for (std::size_t start = 0, end; start < command.size(); start = end + 1) {
      end = command.find('\0', start);
      if (end == std::string::npos) end = command.size();
      words.push_back(command.substr(start, end - start));
    }
    if (words.size() == 2 && words[0] == program.string() && words[1] == argument.string()) return true;
  }
  return false;
}

class DesktopInstallTest : public shared::test::TTempFolderTest {
 protected:
  DesktopInstallTest() : TTempFolderTest("desktop_install") {}

  // In a home of its own without a desktop environment, as on a plain X display.
  std::string Environment() const {
    return "env -u XDG_DATA_HOME -u XDG_CONFIG_HOME -u XDG_DATA_DIRS -u XDG_CURRENT_DESKTOP "
           "-u DESKTOP_SESSION -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID HOME=" +
           Quote((dir / "home").string()) + " SUITE_BUILD_DIR=" + Quote(SUITE_BINARY_DIR) + " ";
  }

  // The command's stdout and stderr, and its exit status.
  int Run(const std::string& command, std::string& out) {
    const std::string line = Environment() + command + " 2>&1";
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
  const fs::path root = fs::path(SUITE_SOURCE_DIR);
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

  // xdg-open itself, as the shell-open of Vesk calls it, starts the installed quillon with the
  // document; quillon draws off-screen here, so the display only has to be named.
  const std::string open = "exec " + Environment() + "DISPLAY=:99 QT_QPA_PLATFORM=offscreen xdg-open " +
                           document + " >/dev/null 2>&1";
  const pid_t opener = fork();
  ASSERT_NE(opener, -1);
  if (opener == 0) {
    setpgid(0, 0);
    execl("/bin/sh", "sh", "-c", open.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  setpgid(opener, opener);
  const fs::path program = fs::weakly_canonical(quillon);
  bool started = false;
  for (int tries = 0; tries < 400 && !started; ++tries) {
    started = Running(program, dir / "gear.mech");
    if (!started) usleep(50 * 1000);
  }
  // The opener waits for the program it started: both end together.
  kill(-opener, SIGTERM);
  waitpid(opener, nullptr, 0);
  EXPECT_TRUE(started);
}

TEST_F(DesktopInstallTest, APrefixWithBlanksIsRefused) {
  const fs::path root = fs::path(SUITE_SOURCE_DIR);
  std::string out;
  EXPECT_EQ(
      Run("bash " + Quote((root / "tools/install-desktop.sh").string()) + " " + Quote((dir / "a b").string()),
          out),
      2);
  EXPECT_NE(out.find("no blanks"), std::string::npos) << out;
  EXPECT_FALSE(fs::exists(dir / "a b"));
}

}  // namespace
