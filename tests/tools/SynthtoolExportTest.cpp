// synthtool export: a generated project's solution of every chain type as the animator's
// document that mechtool reads and solves, as a workbook read back by openpyxl and as a SAM deck
// checked against the document's joints; the errors that write nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/Python.h"
#include "tests/tools/SynthtoolRun.h"

namespace {

using namespace synthtool_test;

std::vector<std::string> SplitText(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::istringstream in(text);
  for (std::string part; std::getline(in, part, separator);) {
    if (!part.empty() && part.back() == '\r') part.pop_back();
    parts.push_back(part);
  }
  return parts;
}

class SynthtoolExportTest : public TSynthtoolFixture {
 protected:
  SynthtoolExportTest() : TSynthtoolFixture("synthtool_export") {}

  // A project of the type's generated solutions; its path.
  fs::path Project(const std::string& type) {
    const fs::path project = dir / ("p" + type + ".vesk");
    const TRun run = Run("generate " + File("curve.txt", kCurve) + " --type " + type +
                         " --budget 3000 --seed 5 --project " + Quote(project));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("RANK 1 "), std::string::npos) << "no valid candidate";
    return project;
  }

  std::set<std::string> Files() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename().string());
    return names;
  }

  // The records of a document's section, fields split.
  static std::vector<std::vector<std::string>> Records(const std::string& document,
                                                       const std::string& section) {
    std::vector<std::vector<std::string>> records;
    bool inside = false;
    for (const std::string& line : SplitText(document, '\n')) {
      if (line == "[" + section + ">")
        inside = true;
      else if (line == "<" + section + "]")
        inside = false;
      else if (inside)
        records.push_back(SplitText(line, '\t'));
    }
    return records;
  }
};

TEST_F(SynthtoolExportTest, EveryTypesDocumentIsVeskMadeAndSolvesInTheAnimator) {
  for (const char* type : {"0", "1", "2", "3", "5", "6", "7", "8"}) {
    SCOPED_TRACE(type);
    const fs::path project = Project(type);
    const fs::path document = dir / (std::string("m") + type + ".mech");
    const TRun run = Run("export mech " + Quote(project) + " 1 " + Quote(document));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(RunProgram(MECHTOOL_PATH, "header " + Quote(document)).out, "2\n");
    const TRun solved = RunProgram(MECHTOOL_PATH, "solve " + Quote(document) + " --steps 12");
    ASSERT_EQ(solved.status, 0) << solved.err;
    EXPECT_EQ(solved.out.rfind("LEN\t", 0), 0u) << solved.out.substr(0, 40);
    // The project's curve and its (empty) project information come along.
    const std::string text = ReadBytes(document);
    EXPECT_NE(text.find("[Curve>\r\n"), std::string::npos);
    EXPECT_NE(text.find("[Info>\r\n"), std::string::npos);
  }
}

TEST_F(SynthtoolExportTest, SamDeckNodesAreTheDocumentsJoints) {
  const fs::path project = Project("1");
  ASSERT_EQ(Run("export mech " + Quote(project) + " 2 " + Quote(dir / "w.mech")).status, 0);
  const TRun run = Run("export sam " + Quote(project) + " 2 " + Quote(dir / "w.dat"));
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string document = ReadBytes(dir / "w.mech");
  const auto joints = Records(document, "Joints");
  const auto links = Records(document, "Links");
  ASSERT_EQ(joints.size(), 8u);
  ASSERT_EQ(links.size(), 6u);
  const std::vector<std::string> deck = SplitText(ReadBytes(dir / "w.dat"), '\n');
  ASSERT_FALSE(deck.empty());
  EXPECT_EQ(deck[0], "TITLE Vesk 1.6.4 to SAM");
  std::map<std::string, int> counts;
  for (const std::string& line : deck) ++counts[line.substr(0, line.find(' '))];
  // A Watt 1 exports every link in its own order, named by its joints' letters: the ground first,
  // then each moving link of m joints with m - 1 beams from its first joint and m - 2 more along it.
  int beams = 0;
  for (size_t l = 1; l < links.size(); ++l) {
    const int m = int(links[l][0].size());
    beams += m - 1 + std::max(0, m - 2);
  }
  EXPECT_EQ(counts["NODE"], 8);
  EXPECT_EQ(counts["BEAM"], beams);
  EXPECT_EQ(counts["ANGLE"], 2 * beams);
  EXPECT_EQ(counts["FIX"], 2 * int(links[0][0].size()));
  for (size_t i = 0; i < joints.size(); ++i) {
    SCOPED_TRACE(joints[i][0]);
    std::istringstream node(deck[1 + i]);
    std::string word;
    int index = 0;
    double x = 0, y = 0;
    node >> word >> index >> x >> y;
    EXPECT_EQ(word, "NODE");
    EXPECT_EQ(index, int(i + 1));
    // Eight decimals of the document's coordinates.
    EXPECT_NEAR(x, std::stod(joints[i][1]), 0.5e-8);
    EXPECT_NEAR(y, std::stod(joints[i][2]), 0.5e-8);
  }
}

const char* kBookScript = R"PY(
import sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
print("SHEETS|" + "|".join(wb.sheetnames))
print("ACTIVE|" + wb.active.title)
for cs in wb.chartsheets:
    for chart in cs._charts:
        for s in chart.series:
            print("CHART|%s|%s|%s" % (cs.title, s.xVal.numRef.f, s.yVal.numRef.f))
p = wb["Properties"]
for r in range(1, 8):
    print("P|%d|%s|%s" % (r, p.cell(r, 1).value, p.cell(r, 2).value))
d = wb["Data"]
rows = [r for r in range(5, d.max_row + 1) if d.cell(r, 1).value is not None]
print("DATA|%s|%d|%d|%s" % (d["A1"].value, rows[0], rows[-1],
      all(isinstance(d.cell(r, c).value, (int, float)) for r in rows for c in range(1, 17))))
)PY";

TEST_F(SynthtoolExportTest, WorkbookWithEveryOptionReadsBack) {
  const fs::path project = Project("0");
  const fs::path book = dir / "four.xlsx";
  const TRun run = Run("export xlsx " + Quote(project) + " 1 " + Quote(book));
  ASSERT_EQ(run.status, 0) << run.err;
  const auto read = test_support::RunPython(kBookScript, {book.string()});
  ASSERT_EQ(read.Status, 0) << read.Out;
  std::map<std::string, std::vector<std::vector<std::string>>> lines;
  for (const std::string& line : SplitText(read.Out, '\n')) {
    const auto fields = SplitText(line, '|');
    if (!fields.empty()) lines[fields[0]].push_back(fields);
  }
  // Each sheet went in front of the active one: the charts in reverse, then Properties and Data;
  // the new book's empty sheet is left out.
  EXPECT_EQ(lines["SHEETS"].at(0),
            (std::vector<std::string>{"SHEETS", "Transmission Angle", "Ratio Out In", "Input Acceleration",
                                      "Input Velocity", "Input", "Output Acceleration", "Output Velocity",
                                      "Output", "Path Acceleration", "Path Velocity", "Path", "Path Error",
                                      "Properties", "Data"}));
  EXPECT_EQ(lines["ACTIVE"].at(0).at(1), "Properties");
  // The project block from row 1, a free row, the solution's name and ID from row 6.
  const auto& p = lines["P"];
  ASSERT_EQ(p.size(), 7u);
  EXPECT_EQ(p[0][2], "Title: ");
  EXPECT_EQ(p[3][2], "Date: ");
  EXPECT_EQ(p[4][2], "None");
  EXPECT_EQ(p[5][2], "Fourbar");
  EXPECT_EQ(p[6][2], "Joints");
  const auto& data = lines["DATA"].at(0);
  EXPECT_EQ(data[1], "Fourbar");
  EXPECT_EQ(data[2], "5");
  EXPECT_EQ(data[4], "True");
  const std::string last = data[3];
  ASSERT_EQ(lines["CHART"].size(), 12u);
  for (const auto& chart : lines["CHART"]) {
    SCOPED_TRACE(chart[1]);
    EXPECT_EQ(chart[2], "Data!$B$5:$B$" + last);
    EXPECT_TRUE(std::regex_match(chart[3], std::regex("Data!\\$[E-P]\\$5:\\$[E-P]\\$" + last))) << chart[3];
  }
}

TEST_F(SynthtoolExportTest, ErrorsWriteNothing) {
  const fs::path four = Project("0");
  const fs::path slider = Project("7");
  std::string tampered = ReadBytes(four);
  tampered[tampered.find("[Info]") + 7] ^= 1;
  WriteBytes(dir / "tampered.vesk", tampered);
  const std::string count = std::to_string(std::stoi(Run("project " + Quote(four)).Lines().at(1).substr(6)));
  const std::string out = Quote(dir / "out.x");
  const std::set<std::string> before = Files();
  struct TCase {
    std::string args;
    int status;
    std::string err;
  };
  const std::string usage = "usage:";
  const std::vector<TCase> cases = {
      {"export mech " + Quote(four) + " 0 " + out, 1, "There is no solution 0"},
      {"export sam " + Quote(four) + " 51 " + out, 1, "There is no solution 51"},
      {"export xlsx " + Quote(four) + " 50 " + out, 1, "There is no solution 50"},
      {"export mech " + Quote(dir / "tampered.vesk") + " 1 " + out, 1, "This is not a valid Vesk file !\n"},
      {"export mech " + Quote(dir / "none.vesk") + " 1 " + out, 1, "This is not a valid Vesk file !\n"},
      {"export sam " + Quote(slider) + " 1 " + out, 1, "Not yet able to export this mechanism to SAM\n"},
      {"export mech " + Quote(four) + " 1 " + Quote(dir / "no" / "out.mech"), 1, "out.mech"},
      {"export mech " + Quote(four) + " 1", 2, usage},
      {"export pdf " + Quote(four) + " 1 " + out, 2, usage},
      {"export mech " + Quote(four) + " one " + out, 2, usage},
      {"export mech " + Quote(four) + " -1 " + out, 2, usage},
      {"export sam " + Quote(four) + " 1 " + out + " --print", 2, usage},
      {"export mech " + Quote(four) + " 1 " + out + " --verbose", 2, usage},
      {"export mech '' 1 " + out, 2, usage},
      {"export mech " + Quote(four) + " 1 ''", 2, usage},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.args);
    const TRun run = Run(c.args);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    EXPECT_EQ(Files(), before);
  }
  // The last listed solution is there.
  EXPECT_EQ(Run("export mech " + Quote(four) + " " + count + " " + out).status, 0);
}

}  // namespace
