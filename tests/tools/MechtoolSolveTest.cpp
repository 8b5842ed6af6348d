// mechtool solve run as a user runs it: the solution listing of presets and documents, the
// shortened range of a linkage that cannot close, and its refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

#include "MechtoolRun.h"
#include "animator/engine/AniMechanism.h"
#include "shared/TabLine.h"

namespace {

using namespace mechtool_test;

class MechtoolSolveTest : public TMechtoolFixture {
 protected:
  MechtoolSolveTest() : TMechtoolFixture("mechtool_solve") {}

  // Writes the mechanism as the animator saves it.
  fs::path Save(const quillon::TAniMechanism& mechanism, const std::string& name) {
    const fs::path path = dir / name;
    shared::TTabLines lines;
    lines.SetFileName(path.string());
    mechanism.SaveToTabLines(lines);
    lines.SaveToFile();
    return path;
  }
};

TEST_F(MechtoolSolveTest, PresetListingHasLengthPositionsVectorsAndCentres) {
  const TRun run = Run("solve --preset 0 --steps 12");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.substr(0, run.out.find('\n', run.out.find('\n') + 1) + 1), "LEN\t12\nFULLCYCLE\t1\n");
  auto lines = run.Lines();
  ASSERT_EQ(lines["P"].size(), 13u * 5);
  ASSERT_EQ(lines["IC"].size(), 13u);
  EXPECT_EQ(lines.count("DEV"), 0u);
  // Steps in order, joints in list order; reals in %.17g.
  EXPECT_EQ(lines["P"][0], (std::vector<std::string>{"P", "0", "A", "-0.32000000000000001", "-0.25", "0", "0",
                                                     "0", "0", "0"}));
  const std::string letters = "ABCDE";
  for (size_t i = 0; i < lines["P"].size(); ++i) {
    const auto& p = lines["P"][i];
    ASSERT_EQ(p.size(), 10u);
    EXPECT_EQ(p[1], std::to_string(i / 5));
    EXPECT_EQ(p[2], std::string(1, letters[i % 5]));
    EXPECT_EQ(p[9], "0");
  }
  // The crank joint B a quarter turn on: A + (B - A) turned by π/2.
  const auto& b3 = lines["P"][3 * 5 + 1];
  EXPECT_NEAR(std::stod(b3[3]), -0.32 - 0.09, 1e-12);
  EXPECT_NEAR(std::stod(b3[4]), -0.25 - 0.11, 1e-12);
  // The tracer E carries velocity and acceleration.
  EXPECT_NE(std::stod(lines["P"][4][5]), 0);
  EXPECT_NE(std::stod(lines["P"][4][7]), 0);
  for (const auto& ic : lines["IC"]) {
    ASSERT_EQ(ic.size(), 5u);
    EXPECT_EQ(ic[4], "0");
  }
}

TEST_F(MechtoolSolveTest, DocumentWithACurveListsItsDeviation) {
  quillon::TAniMechanism m;
  m.NewMechanism(13);
  m.SetTracer(m.FindJoint('B'));
  for (const double x : {0.0, -0.5}) {
    shared::TPrePoint& p = m.Curve.Point(m.Curve.NewPoint());
    p.SetXY(x, 0);
  }
  m.Curve.Rebuild();
  const TRun run = Run("solve " + Quote(Save(m, "custom.mech")) + " --steps 36");
  ASSERT_EQ(run.status, 0) << run.err;
  auto lines = run.Lines();
  EXPECT_EQ(lines["LEN"][0][1], "36");
  EXPECT_EQ(lines["P"].size(), 37u * 2);
  ASSERT_EQ(lines["DEV"].size(), 37u);
  EXPECT_EQ(lines["DEV"][0], (std::vector<std::string>{"DEV", "0", "0", "0", "0"}));
  // Past the end of the curve (0.5 of a path of 0.4π) the deviation stays 0.
  EXPECT_GT(std::stod(lines["DEV"][10][2]), 0);
  EXPECT_EQ(lines["DEV"][30][2], "0");
}

TEST_F(MechtoolSolveTest, LinkageThatCannotCloseMarksTheStepsBeyondItsRange) {
  // Crank 1 about the origin, D = (2, 0), coupler + rocker = |BD| halfway between steps 39 and 40.
  const double reach = std::sqrt(5 - 4 * std::cos(2 * std::numbers::pi * 39.5 / 90));
  const double a = 1.6, r = reach - a, cx = (a * a - r * r + 1) / 2;
  quillon::TAniMechanism m;
  m.NewMechanism(8);
  m.AddJoint('A', false, 0, 0, false, false);
  m.AddJoint('B', false, 1, 0, false, false);
  m.AddJoint('C', true, 1 + cx, std::sqrt(a * a - cx * cx), true, false);
  m.AddJoint('D', false, 2, 0, false, false);
  m.AddInput('A');
  m.AddLink("AD", "PP", false, false);
  m.AddLink("AB", "PP", false, false);
  m.AddLink("BC", "PP", false, false);
  m.AddLink("CD", "PP", false, false);
  m.AddDyad("BC", "CD");
  m.RebuildTopology();
  const TRun run = Run("solve " + Quote(Save(m, "open.mech")));
  ASSERT_EQ(run.status, 0) << run.err;
  auto lines = run.Lines();
  EXPECT_EQ(lines["LEN"][0][1], "39");
  EXPECT_EQ(lines["FULLCYCLE"][0][1], "0");
  ASSERT_EQ(lines["P"].size(), 91u * 4);
  for (const auto& p : lines["P"]) EXPECT_EQ(p[9], std::stoi(p[1]) > 39 ? "1" : "0") << p[1];
}

// The four-bar's crank turned clockwise once: a closed cycle like the other way round. The
// listed velocities at the seam are the central differences of the listed positions across it,
// and the steps run 0..N with step N at step 0.
TEST_F(MechtoolSolveTest, CrankTurnedClockwiseOnceIsAFullCycle) {
  quillon::TAniMechanism m;
  m.Input(0).Clear();
  m.Input(0).AddSection(0, 1.0, -2 * std::numbers::pi);
  m.RetimeInputs();
  const TRun run = Run("solve " + Quote(Save(m, "clockwise.mech")) + " --steps 36");
  ASSERT_EQ(run.status, 0) << run.err;
  auto lines = run.Lines();
  EXPECT_EQ(lines["LEN"][0][1], "36");
  EXPECT_EQ(lines["FULLCYCLE"][0][1], "1");
  const auto& p = lines["P"];
  ASSERT_EQ(p.size(), 37u * 5);
  const size_t e = 4;  // the tracer, the last of ABCDE
  const auto at = [&](int k, int field) { return std::stod(p[k * 5 + e][field]); };
  ASSERT_EQ(p[e][2], "E");
  // Clockwise: the crank joint B a quarter turn on is A + (B - A) turned by -π/2.
  EXPECT_NEAR(std::stod(p[9 * 5 + 1][3]), -0.32 + 0.09, 1e-12);
  EXPECT_NEAR(std::stod(p[9 * 5 + 1][4]), -0.25 + 0.11, 1e-12);
  EXPECT_NEAR(at(36, 3), at(0, 3), 1e-12);
  EXPECT_NEAR(at(36, 4), at(0, 4), 1e-12);
  const double dt = 1.0 / 36;
  for (const int k : {0, 36}) {
    SCOPED_TRACE(k);
    EXPECT_NEAR(at(k, 5), (at(1, 3) - at(35, 3)) / (2 * dt), 1e-9);
    EXPECT_NEAR(at(k, 6), (at(1, 4) - at(35, 4)) / (2 * dt), 1e-9);
  }
}

TEST_F(MechtoolSolveTest, RefusesWrongArgumentsAndUnreadableDocuments) {
  const fs::path notMech = dir / "plain.txt";
  std::ofstream(notMech) << "hello\r\n";
  struct TCase {
    std::string args;
    int status;
  };
  const std::vector<TCase> cases = {
      {"solve", 2},
      {"solve --preset", 2},
      {"solve --preset x", 2},
      {"solve --preset 0 --steps 0", 2},
      {"solve --preset 0 --steps -3", 2},
      {"solve --preset 0 --steps many", 2},
      {"solve --preset 0 --steps", 2},
      {"solve --preset 0 --preset 1", 2},
      {"solve --preset 0 " + Quote(notMech), 2},
      {"solve " + Quote(dir / "missing.mech"), 1},
      {"solve " + Quote(notMech), 1},
  };
  for (const TCase& c : cases) {
    const TRun run = Run(c.args);
    EXPECT_EQ(run.status, c.status) << c.args;
    EXPECT_EQ(run.out, "") << c.args;
    EXPECT_NE(run.err, "") << c.args;
  }
}

}  // namespace
