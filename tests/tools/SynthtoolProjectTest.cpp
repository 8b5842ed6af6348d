// synthtool's project file: a generated project opened, resaved twice to the same bytes, and
// the STATUS of damaged files.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "tests/shared/TestFiles.h"

namespace {

namespace fs = std::filesystem;
using shared::test::ReadBytes;
using shared::test::WriteBytes;

// Points of the coupler path of a crank-rocker (ground 1, crank 0.3, coupler 0.9, rocker 0.8).
const char* kCurve =
    "0.863768221 0.005722727\n0.821343882 0.014989800\n0.760172590 0.024885999\n0.686238478 0.032924822\n"
    "0.605230085 0.035304690\n0.522419187 0.028720371\n0.442806413 0.011240277\n";

struct TRun {
  int status;
  std::string out;
  std::string err;
};

class SynthtoolProjectTest : public shared::test::TTempFolderTest {
 protected:
  SynthtoolProjectTest() : TTempFolderTest("synthtool_project") {}

  static std::string Quote(const fs::path& p) { return "'" + p.string() + "'"; }

  TRun Run(const std::string& args) {
    const fs::path out = dir / "stdout.txt";
    const fs::path err = dir / "stderr.txt";
    const std::string command = Quote(SYNTHTOOL_PATH) + " " + args + " >" + Quote(out) + " 2>" + Quote(err);
    const int raw = std::system(command.c_str());
    TRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadBytes(out), ReadBytes(err)};
    fs::remove(out);
    fs::remove(err);
    return run;
  }
};

TEST_F(SynthtoolProjectTest, GeneratedProjectOpensAndResavesToTheSameBytes) {
  WriteBytes(dir / "curve.txt", kCurve);
  const TRun generated = Run("generate " + Quote(dir / "curve.txt") + " --type 7 --budget 3000 --seed 3 --list " +
                             Quote(dir / "list.txt") + " --project " + Quote(dir / "p.vesk"));
  ASSERT_EQ(generated.status, 0) << generated.err;

  // The project's list is the generated list, as "list" prints it.
  const TRun listed = Run("list " + Quote(dir / "list.txt"));
  ASSERT_EQ(listed.status, 0) << listed.err;
  const TRun opened = Run("project " + Quote(dir / "p.vesk"));
  ASSERT_EQ(opened.status, 0) << opened.err;
  EXPECT_EQ(opened.out, "STATUS 0\n" + listed.out);
  EXPECT_NE(listed.out, "COUNT 0\n");

  ASSERT_EQ(Run("resave " + Quote(dir / "p.vesk") + " " + Quote(dir / "q.vesk")).status, 0);
  ASSERT_EQ(Run("resave " + Quote(dir / "q.vesk") + " " + Quote(dir / "r.vesk")).status, 0);
  EXPECT_EQ(ReadBytes(dir / "r.vesk"), ReadBytes(dir / "q.vesk"));
  EXPECT_EQ(Run("project " + Quote(dir / "r.vesk")).out, opened.out);

  // Tampered, truncated before the checksum, missing: the status, and no list after a refusal.
  const std::string bytes = ReadBytes(dir / "q.vesk");
  std::string tampered = bytes;
  tampered[tampered.find("[Info]") + 7] ^= 1;
  WriteBytes(dir / "tampered.vesk", tampered);
  WriteBytes(dir / "truncated.vesk", bytes.substr(0, bytes.find("[Canvas2D]") + 12));
  struct TCase {
    const char* file;
    const char* out;
    const char* err;
  };
  for (const TCase& c : {TCase{"tampered.vesk", "STATUS 1\n", "This is not a valid Vesk file !\n"},
                         TCase{"truncated.vesk", "STATUS 3\n", "File read error in TCanvas2D!\n"},
                         TCase{"none.vesk", "STATUS 2\n", "This is not a valid Vesk file !\n"}}) {
    const TRun run = Run(std::string("project ") + Quote(dir / c.file));
    EXPECT_EQ(run.status, 1) << c.file;
    EXPECT_EQ(run.out, c.out) << c.file;
    EXPECT_EQ(run.err, c.err) << c.file;
  }
  // A refused project writes nothing.
  EXPECT_EQ(Run("resave " + Quote(dir / "tampered.vesk") + " " + Quote(dir / "s.vesk")).status, 1);
  EXPECT_FALSE(fs::exists(dir / "s.vesk"));
  EXPECT_EQ(Run("project").status, 2);
  EXPECT_EQ(Run("resave " + Quote(dir / "q.vesk")).status, 2);
}

}  // namespace
