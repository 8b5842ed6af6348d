// synthtool run as a user runs it: the output lines of a generation, their repeatability by seed,
// and the errors of arguments and curve files.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/tools/SynthtoolRun.h"

namespace {

using namespace synthtool_test;

class SynthtoolTest : public TSynthtoolFixture {
 protected:
  SynthtoolTest() : TSynthtoolFixture("synthtool") {}

  std::string Curve(const std::string& text, const std::string& name = "curve.txt") { return File(name, text); }
};

TEST_F(SynthtoolTest, GenerateReportsCountsTimeAndTheRankedTotals) {
  const TRun run = Run("generate " + Curve(kCurve) + " --type 0 --budget 6000 --seed 11");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const auto lines = run.Lines();
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[0], "MADE 6001");
  std::smatch match;
  ASSERT_TRUE(std::regex_match(lines[1], match, std::regex("VALID ([0-9]+)")));
  const size_t valid = std::stoul(match[1]);
  // More valid candidates than the list holds: only the 50 best are printed.
  EXPECT_GT(valid, 50u);
  EXPECT_TRUE(std::regex_match(lines[2], std::regex("TIME [0-9]+\\.[0-9]{3}"))) << lines[2];
  ASSERT_EQ(lines.size(), 3 + std::min<size_t>(valid, 50));
  double last = 0;
  for (size_t k = 3; k < lines.size(); ++k) {
    ASSERT_TRUE(std::regex_match(lines[k], match, std::regex("RANK ([0-9]+) ([-+.eE0-9]+)"))) << lines[k];
    EXPECT_EQ(std::stoul(match[1]), k - 2);
    const double total = std::stod(match[2]);
    EXPECT_GE(total, last);
    last = total;
    // %.17g gives the total back exactly.
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", total);
    EXPECT_EQ(match[2].str(), text);
  }
}

TEST_F(SynthtoolTest, OneSeedGivesTheSameLinesButTime) {
  const std::string args = "generate " + Curve(kCurve) + " --type 0 --budget 4000 --seed 18446744073709551615";
  auto withoutTime = [](const TRun& run) {
    auto lines = run.Lines();
    if (lines.size() > 2) lines.erase(lines.begin() + 2);
    return lines;
  };
  const TRun first = Run(args);
  const TRun second = Run(args);
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(withoutTime(first), withoutTime(second));
  const TRun other = Run("generate " + Curve(kCurve) + " --type 0 --budget 4000 --seed 1");
  EXPECT_NE(withoutTime(first), withoutTime(other));
}

TEST_F(SynthtoolTest, BudgetZeroMakesOneCandidateAndBlankLinesAreSkipped) {
  const TRun run = Run("generate " + Curve("\n0 0\r\n\n  1 0.5  \n\n") + " --budget 0 --seed 3 --type 0");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.Lines().at(0), "MADE 1");
}

// A chain type that cannot follow the curve makes nothing valid; stdout keeps its lines and
// stderr says why.
TEST_F(SynthtoolTest, AChainTypeThatCannotRunTheCurveSaysWhyOnStderr) {
  const std::string loop = Curve("0.2 0\n0 0.2\n-0.2 0\n0 -0.2\n0.2 0\n", "loop.txt");
  const TRun watt1 = Run("generate " + loop + " --type 1 --budget 200 --seed 3");
  EXPECT_EQ(watt1.status, 0) << watt1.err;
  const std::vector<std::string> lines = watt1.Lines();
  ASSERT_EQ(lines.size(), 3u) << watt1.out;
  EXPECT_EQ(lines[0], "MADE 201");
  EXPECT_EQ(lines[1], "VALID 0");
  EXPECT_EQ(
      watt1.err,
      "A Watt 1 cannot run a closed curve unless output rotations turn its output body: its link 5 turns "
      "with the input crank, once round, and lines up with the body, a dead point.\n");
  // A four-bar may run a loop: nothing on stderr.
  const TRun fourbar = Run("generate " + loop + " --type 0 --budget 200 --seed 3");
  EXPECT_EQ(fourbar.status, 0);
  EXPECT_EQ(fourbar.err, "");
}

TEST_F(SynthtoolTest, ErrorsGoToStderrWithNothingOnStdout) {
  std::string eighty, eightyOne;
  for (int i = 0; i < 81; ++i) (i < 80 ? eighty : eightyOne) += std::to_string(i * 0.01) + " " + std::to_string(i * i * 1e-4) + "\n";
  eightyOne = eighty + eightyOne;
  const std::string good = Curve(kCurve);
  const std::string opts = " --type 0 --budget 10 --seed 1";
  struct {
    std::string args;
    int status;
    std::string err;  // part of stderr
  } cases[] = {
      {"", 2, "usage:"},
      {"generate " + good, 2, "usage:"},
      {"generate " + good + " --type 0 --budget 10", 2, "usage:"},
      {"generate " + good + " --type 4 --budget 10 --seed 1", 2, "usage:"},
      {"generate " + good + " --type 9 --budget 10 --seed 1", 2, "usage:"},
      {"generate " + good + opts + " --export 0 " + Quote(dir / "x.mech"), 2, "usage:"},
      {"generate " + good + opts + " --export 1", 2, "usage:"},
      {"generate " + good + opts + " --export 1 " + Quote(dir / "x.mech") + " --export 1 " +
           Quote(dir / "x.mech"),
       2, "usage:"},
      {"generate " + good + opts + " --export 51 " + Quote(dir / "x.mech"), 1, "There is no candidate 51"},
      {"generate " + good + " --type 0 --budget 2000 --seed 1 --export 1 " +
           Quote(dir / "no-folder" / "x.mech"),
       1, "x.mech"},
      {"generate " + good + " --type 0 --budget -1 --seed 1", 2, "usage:"},
      {"generate " + good + " --type 0 --budget 10 --seed +1", 2, "usage:"},
      {"generate " + good + " --type 0 --budget 10 --seed 18446744073709551616", 2, "usage:"},
      {"generate " + good + " --type 0 --budget 1x --seed 1", 2, "usage:"},
      {"generate " + good + " --type 0 --budget 10 --budget 10 --seed 1", 2, "usage:"},
      {"generate " + good + " " + good + opts, 2, "usage:"},
      {"generate " + Quote(dir / "missing.txt") + opts, 1, "missing.txt"},
      {"generate " + Curve("0 0\n1 2 3\n", "three.txt") + opts, 1, "line 2 is not two numbers"},
      {"generate " + Curve("0 0\n1 x\n", "word.txt") + opts, 1, "line 2 is not two numbers"},
      {"generate " + Curve("0,5 0\n1 1\n", "comma.txt") + opts, 1, "line 1 is not two numbers"},
      {"generate " + Curve(eightyOne, "81.txt") + opts, 1, "more than 80 points"},
      {"generate " + Curve("0.5 0.5\n", "one.txt") + opts, 1,
       "A Curve has to be defined ! It needs two points at least."},
      {"generate " + Curve("", "empty.txt") + opts, 1,
       "A Curve has to be defined ! It needs two points at least."},
      {"generate " + Curve("0.5 0.5\n0.5 0.5\n0.5 0.5\n", "still.txt") + opts, 1,
       "A Curve has to be defined ! Its points all lie on one spot: it has no length."},
  };
  for (const auto& c : cases) {
    const TRun run = Run(c.args);
    EXPECT_EQ(run.status, c.status) << c.args;
    EXPECT_EQ(run.out, "") << c.args;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << c.args << "\n" << run.err;
  }
  EXPECT_FALSE(fs::exists(dir / "x.mech"));
  EXPECT_EQ(Run("generate " + Curve(eighty, "80.txt") + opts).status, 0);
}

// The exported candidate is the one ranked K: its coupler point starts at the curve's first
// point, its input record holds that candidate's rotation, and the document ends with the
// checksum line that the animator checks.
TEST_F(SynthtoolTest, ExportWritesTheRankedCandidateAsAnAnimatorDocument) {
  const fs::path file = dir / "out.mech";
  const TRun run = Run("generate " + Curve(kCurve) + " --type 0 --budget 3000 --seed 11 --export 2 " + Quote(file));
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string text = ReadBytes(file);
  for (const char* section : {"[Quillon>\r\n0\tVesk\r\n<Quillon]\r\n", "[Joints>\r\n", "[Links>\r\n",
                              "[Dyads>\r\nBDE\tCD\r\n<Dyads]", "[Input A>\r\n", "[Curve>\r\n",
                              "[Info>\r\n\t\t\t\r\n<Info]\r\n"})
    EXPECT_NE(text.find(section), std::string::npos) << section;
  // The coupler point E stands on the curve's first point.
  EXPECT_NE(text.find("\r\nE\t 8.63768221000000E-0001\t 5.72272700000000E-0003\t1\t1\t1\t1\t0\t1\r\n"),
            std::string::npos);
  // A different rank is a different mechanism.
  const fs::path first = dir / "first.mech";
  ASSERT_EQ(Run("generate " + Curve(kCurve) + " --type 0 --budget 3000 --seed 11 --export 1 " + Quote(first)).status, 0);
  EXPECT_NE(ReadBytes(first), text);
  const std::string header = std::string(MECHTOOL_PATH);
  EXPECT_EQ(std::system(("'" + header + "' header " + Quote(file) + " | grep -qx 2").c_str()), 0);
}

TEST_F(SynthtoolTest, EveryBuiltTypeGenerates) {
  for (const char* type : {"0", "1", "2", "3", "5", "6", "7", "8"}) {
    const TRun run = Run("generate " + Curve(kCurve) + " --type " + type + " --budget 2000 --seed 3");
    EXPECT_EQ(run.status, 0) << type << run.err;
    EXPECT_NE(run.out.find("RANK 1 "), std::string::npos) << type;
  }
}

}  // namespace
