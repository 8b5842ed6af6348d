// synthtool's solution-list record: written by a generation, read and written again by "list",
// and the errors of both.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/tools/SynthtoolRun.h"

namespace {

using namespace synthtool_test;

class SynthtoolListTest : public TSynthtoolFixture {
 protected:
  SynthtoolListTest() : TSynthtoolFixture("synthtool_list") {}

  // Generates with the record written to list.txt; the run's lines.
  std::vector<std::string> Generate() {
    const TRun run = Run("generate " + File("curve.txt", kCurve) + " --type 0 --budget 1500 --seed 5 --list " +
                         Quote(dir / "list.txt"));
    EXPECT_EQ(run.status, 0) << run.err;
    return run.Lines();
  }
};

TEST_F(SynthtoolListTest, TheGeneratedListReadsBackAsRankedAndWritesTheSameRecord) {
  const auto generated = Generate();
  ASSERT_GE(generated.size(), 4u);
  std::smatch match;
  ASSERT_TRUE(std::regex_match(generated[1], match, std::regex("VALID ([0-9]+)")));
  const long valid = std::stol(match[1]);
  std::vector<std::string> totals;
  for (size_t k = 3; k < generated.size(); ++k) totals.push_back(generated[k].substr(generated[k].rfind(' ') + 1));
  ASSERT_FALSE(totals.empty());

  const std::string record = ReadBytes(dir / "list.txt");
  EXPECT_EQ(record.rfind("[MechanismList]\r\n0\r\n" + std::to_string(totals.size()) + "\r\n0\r\n", 0), 0u);
  size_t bare = 0;
  for (size_t i = 0; i < record.size(); ++i) bare += record[i] == '\n' && (i == 0 || record[i - 1] != '\r');
  EXPECT_EQ(bare, 0u);

  const TRun list = Run("list " + Quote(dir / "list.txt") + " " + Quote(dir / "again.txt"));
  ASSERT_EQ(list.status, 0) << list.err;
  EXPECT_EQ(list.err, "");
  const auto lines = list.Lines();
  ASSERT_EQ(lines.size(), totals.size() + 1);
  EXPECT_EQ(lines[0], "COUNT " + std::to_string(totals.size()));
  std::set<long> ids;
  for (size_t k = 1; k < lines.size(); ++k) {
    ASSERT_TRUE(std::regex_match(lines[k], match, std::regex("MECH ([0-9]+) 0 ([0-9]+) (\\S+)"))) << lines[k];
    EXPECT_EQ(std::stoul(match[1]), k);
    // Each kept mechanism's ID is the count of valid candidates when it came.
    const long id = std::stol(match[2]);
    EXPECT_GE(id, 1);
    EXPECT_LE(id, valid);
    ids.insert(id);
    // The record keeps a real in its 23-character notation, not every bit of it.
    const double printed = std::stod(totals[k - 1]);
    EXPECT_NEAR(std::stod(match[3].str()), printed, 1e-14 * printed) << k;
  }
  EXPECT_EQ(ids.size(), totals.size());
  EXPECT_EQ(ReadBytes(dir / "again.txt"), record);

  // Without OUT only the lines are printed.
  const TRun plain = Run("list " + Quote(dir / "again.txt"));
  EXPECT_EQ(plain.out, list.out);
}

// The record of every chain type reads back and writes the same bytes again.
TEST_F(SynthtoolListTest, EveryTypesRecordWritesTheSameAgain) {
  const std::string curve = File("curve.txt", kCurve);
  for (const char* type : {"0", "1", "2", "3", "5", "6", "7", "8"}) {
    SCOPED_TRACE(type);
    const fs::path first = dir / (std::string("list") + type + ".txt");
    const fs::path again = dir / (std::string("again") + type + ".txt");
    const TRun run = Run("generate " + curve + " --type " + type + " --budget 3000 --seed 5 --list " + Quote(first));
    ASSERT_EQ(run.status, 0) << run.err;
    const TRun list = Run("list " + Quote(first) + " " + Quote(again));
    ASSERT_EQ(list.status, 0) << list.err;
    const auto lines = list.Lines();
    ASSERT_GE(lines.size(), 2u) << "no valid candidate to write";
    EXPECT_EQ(lines[1].substr(0, 7 + std::string(type).size()), std::string("MECH 1 ") + type);
    EXPECT_EQ(ReadBytes(again), ReadBytes(first));
  }
}

TEST_F(SynthtoolListTest, AnEmptyListAndItsRecord) {
  const TRun run = Run("list " + File("empty.txt", "[MechanismList]\r\n0\r\n0\r\n") + " " + Quote(dir / "out.txt"));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "COUNT 0\n");
  EXPECT_EQ(ReadBytes(dir / "out.txt"), "[MechanismList]\r\n0\r\n0\r\n");
}

TEST_F(SynthtoolListTest, ErrorsWriteNothing) {
  Generate();
  std::string record = ReadBytes(dir / "list.txt");
  const std::string good = Quote(dir / "list.txt");
  const std::string out = Quote(dir / "out.txt");
  const std::string curve = File("curve.txt", kCurve);
  std::string otherType = record;
  otherType.replace(otherType.find("\r\n0\r\n0 "), 5, "\r\n3\r\n");
  struct {
    std::string args;
    int status;
    std::string err;
  } cases[] = {
      {"list", 2, "usage:"},
      {"list " + good + " " + out + " " + out, 2, "usage:"},
      {"list ''", 2, "usage:"},
      {"generate " + curve + " --type 0 --budget 10 --seed 1 --list", 2, "usage:"},
      {"generate " + curve + " --type 0 --budget 10 --seed 1 --list " + out + " --list " + out, 2, "usage:"},
      {"list " + Quote(dir / "missing.txt") + " " + out, 1, "missing.txt"},
      {"list " + File("wrong.txt", "[Mechanisms]\r\n0\r\n0\r\n") + " " + out, 1, "File read error in TMechanismList!"},
      {"list " + File("many.txt", "[MechanismList]\r\n0\r\n51\r\n") + " " + out, 1, "File read error in TMechanismList!"},
      {"list " + File("type.txt", otherType) + " " + out, 1, "File read error in TMechanism!"},
      {"list " + File("cut.txt", record.substr(0, record.size() / 2)) + " " + out, 1, "File read error in "},
      {"list " + good + " " + Quote(dir / "no" / "out.txt"), 1, "out.txt"},
      {"generate " + curve + " --type 0 --budget 10 --seed 1 --list " + Quote(dir / "no" / "out.txt"), 1, "out.txt"},
  };
  for (const auto& c : cases) {
    const TRun run = Run(c.args);
    EXPECT_EQ(run.status, c.status) << c.args;
    EXPECT_EQ(run.out, "") << c.args;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << c.args << "\n" << run.err;
    EXPECT_FALSE(fs::exists(dir / "out.txt")) << c.args;
  }

  // A refused read keeps the file already there.
  WriteBytes(dir / "out.txt", "kept");
  EXPECT_EQ(Run("list " + File("wrong2.txt", "[Mechanisms]\r\n") + " " + out).status, 1);
  EXPECT_EQ(ReadBytes(dir / "out.txt"), "kept");
  for (const auto& entry : fs::directory_iterator(dir))
    EXPECT_EQ(entry.path().filename().string().find(".synthtool"), std::string::npos) << entry.path();
}

}  // namespace
