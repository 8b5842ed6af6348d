// Saves under a file size limit (prlimit --fsize, as `ulimit -f` sets one): every host tool that
// writes a file reports the write error and keeps the old file, with nothing left beside it, where
// the limit's signal ended it in the middle before; and both programs ignore that signal from the
// start, so their saves take the same way.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/shared/TestFiles.h"

namespace {

namespace fs = std::filesystem;
using shared::test::ReadBytes;
using shared::test::WriteBytes;

const char* kCurve =
    "0.863768221 0.005722727\n0.821343882 0.014989800\n0.760172590 0.024885999\n0.686238478 0.032924822\n"
    "0.605230085 0.035304690\n0.522419187 0.028720371\n0.442806413 0.011240277\n";

std::string Quote(const fs::path& path) { return "'" + path.string() + "'"; }

struct TRun {
  int status;  // -1: ended by a signal
  std::string err;
};

class FileSizeLimitTest : public shared::test::TTempFolderTest {
 protected:
  FileSizeLimitTest() : TTempFolderTest("file_size_limit") {}

  void SetUp() override {
    TTempFolderTest::SetUp();
    // The programs inherit what this process does with the signal: its default, ending them.
    ::signal(SIGXFSZ, SIG_DFL);
    fs::create_directories(dir / "work");
    fs::create_directories(dir / "tmp");
    fs::create_directories(dir / "runtime");
    fs::permissions(dir / "runtime", fs::perms::owner_all);
  }

  // The tool's run in dir/work, its temporary files in dir/tmp, under the limit when one is given.
  TRun Run(const std::string& tool, const std::string& args, long limit = 0) {
    const fs::path err = dir / "stderr.txt";
    const std::string command = "TMPDIR=" + Quote(dir / "tmp") + " XDG_RUNTIME_DIR=" + Quote(dir / "runtime") +
                                " QT_QPA_PLATFORM=offscreen " +
                                (limit > 0 ? "prlimit --fsize=" + std::to_string(limit) + " " : "") +
                                Quote(tool) + " " + args + " >/dev/null 2>" + Quote(err);
    const int raw = std::system(command.c_str());
    TRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadBytes(err)};
    fs::remove(err);
    return run;
  }

  std::vector<std::string> Entries(const fs::path& folder) const {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(FileSizeLimitTest, EveryToolThatSavesReportsTheLimitAndKeepsTheOldFile) {
  const fs::path in = dir / "in";
  fs::create_directories(in);
  ASSERT_EQ(Run(MECHTOOL_PATH, "new 0 " + Quote(in / "four.mech")).status, 0);
  WriteBytes(in / "curve.txt", kCurve);
  ASSERT_EQ(Run(SYNTHTOOL_PATH, "generate " + Quote(in / "curve.txt") + " --type 0 --budget 300 --seed 3 --list " +
                                    Quote(in / "list.txt") + " --project " + Quote(in / "p.vesk"))
                .status,
            0);
  WriteBytes(in / "line.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n1000\n21\n500\n0\nENDSEC\n0\nEOF\n");
  const std::string mech = Quote(in / "four.mech"), vesk = Quote(in / "p.vesk");
  const auto out = [&](const char* name) { return Quote(dir / "work" / name); };
  const std::string limitWords = "the file would pass the limit on file size";
  struct TCase {
    std::string tool, args, target, message;
    long limit = 600;
  };
  const TCase cases[] = {
      {TABDOC_PATH, "save " + mech + " " + out("a.mech"), "a.mech", limitWords},
      {TABDOC_PATH, "draw " + Quote(in / "line.dxf") + " " + out("a.png"), "a.png", limitWords},
      {MECHTOOL_PATH, "new 0 " + out("a.mech"), "a.mech", limitWords},
      {MECHTOOL_PATH, "roundtrip " + mech + " " + out("a.mech"), "a.mech", limitWords},
      {MECHTOOL_PATH, "export xlsx " + mech + " " + out("a.xlsx"), "a.xlsx", limitWords},
      // Room for each frame's picture of 154 kB, not for the film of six.
      {MECHTOOL_PATH, "export avi " + mech + " " + out("a.avi") + " --steps 12", "a.avi",
       "Failed to add frame to AVI. Err=0000001B", 400000},
      {SYNTHTOOL_PATH, "resave " + vesk + " " + out("a.vesk"), "a.vesk", limitWords},
      {SYNTHTOOL_PATH, "list " + Quote(in / "list.txt") + " " + out("a.txt"), "a.txt", limitWords},
      {SYNTHTOOL_PATH, "export mech " + vesk + " 1 " + out("a.mech"), "a.mech", limitWords},
      {SYNTHTOOL_PATH, "export sam " + vesk + " 1 " + out("a.dat"), "a.dat", limitWords},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(fs::path(c.tool).filename().string() + " " + c.args);
    const fs::path target = dir / "work" / c.target;
    WriteBytes(target, "old");
    const TRun run = Run(c.tool, c.args, c.limit);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(target), "old");
    EXPECT_EQ(Entries(dir / "work"), std::vector<std::string>{c.target});
    EXPECT_EQ(Entries(dir / "tmp"), std::vector<std::string>{});
    // Without the limit the same command writes the file.
    EXPECT_EQ(Run(c.tool, c.args).status, 0);
    EXPECT_NE(ReadBytes(target), "old");
    fs::remove_all(dir / "work");
    fs::create_directories(dir / "work");
  }
}

// Read from the process's status: the signals it ignores.
bool IgnoresFileSizeSignal(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("SigIgn:", 0) != 0) continue;
    const unsigned long long mask = std::stoull(line.substr(7), nullptr, 16);
    return (mask >> (SIGXFSZ - 1)) & 1;
  }
  return false;
}

TEST_F(FileSizeLimitTest, BothProgramsIgnoreTheSignalFromTheStart) {
  for (const char* program : {"animator/app/quillon", "synthesis/app/vesk"}) {
    SCOPED_TRACE(program);
    const fs::path path = fs::path(SUITE_BINARY_DIR) / program;
    const std::string home = (dir / "home").string();
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
      ::setenv("HOME", home.c_str(), 1);
      ::setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
      ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
      ::execl(path.c_str(), path.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    bool ignored = false;
    for (int tries = 0; tries < 200 && !ignored; ++tries) {
      ignored = IgnoresFileSizeSignal(child);
      if (!ignored) ::usleep(25 * 1000);
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_TRUE(ignored);
  }
}

}  // namespace
