// Seeded Quick Searches of every chain type on a looped open curve, a crank-rocker's coupler arc
// and a closed ellipse, run as synthtool generate runs them; the best solutions exported to
// Quillon as Vesk exports them and solved there by mechtool over 720 steps run paths that pass
// their precision points and the curve, measured on the solved path.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <fstream>
#include <memory>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "shared/ProjectInfo.h"
#include "shared/TabLine.h"
#include "synthesis/engine/CMatrix.h"
#include "synthesis/engine/InputFunction.h"
#include "synthesis/engine/MechanismFactory.h"
#include "synthesis/engine/MechanismList.h"
#include "synthesis/engine/Random.h"
#include "synthesis/engine/SolutionExport.h"
#include "synthesis/engine/Spline.h"
#include "tests/tools/SynthtoolRun.h"

namespace {

using namespace synthtool_test;
using Cx = std::complex<double>;

const fs::path kFixtures(SUITE_FIXTURES);

// Quick Search: 80 001 candidates.
constexpr int kBudget = 80000;
constexpr int kBest = 5;

std::vector<Cx> ReadCurve(const fs::path& file) {
  std::vector<Cx> points;
  std::ifstream in(file);
  for (double x, y; in >> x >> y;) points.emplace_back(x, y);
  return points;
}

double PolylineLength(const std::vector<Cx>& points) {
  double length = 0;
  for (size_t k = 1; k < points.size(); ++k) length += std::abs(points[k] - points[k - 1]);
  return length;
}

double DistanceFromPolyline(Cx p, const std::vector<Cx>& line) {
  double nearest = std::abs(p - line.front());
  for (size_t k = 1; k < line.size(); ++k) {
    const Cx step = line[k] - line[k - 1];
    const double t = std::clamp(std::real((p - line[k - 1]) * std::conj(step)) / std::norm(step), 0.0, 1.0);
    nearest = std::min(nearest, std::abs(p - (line[k - 1] + t * step)));
  }
  return nearest;
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
  return fields;
}

// What Quillon solved of a document: its tracer's path over the solved steps, and how far the
// document turns the input.
struct TSolved {
  std::vector<Cx> Path;
  double InputTurn = 0;
};

class SynthtoolPathTest : public TSynthtoolFixture {
 protected:
  SynthtoolPathTest() : TSynthtoolFixture("synthtool_path") {
    vesk::CreateDefaultInputFunction();
    vesk::CreateCMatrix();
    shared::CreateTabLines();
  }
  ~SynthtoolPathTest() override { shared::FreeTabLines(); }

  // As synthtool generate --seed 7 --budget 80000 fills its list, without the files.
  void Generate(const std::string& file, int type) {
    // Seeded before the curve, whose identifier is the first draw.
    vesk::SeedRandom(7);
    for (const Cx& p : ReadCurve(kFixtures / file)) curve.Add(std::make_unique<vesk::TPrePoint>(p.real(), p.imag()));
    curve.Recalc();
    const std::unique_ptr<vesk::TMechanism> candidate = vesk::NewMechanism(uint8_t(type));
    for (int made = 0; made <= kBudget; ++made) {
      candidate->Generate(curve, nullptr, nullptr);
      if (candidate->Error.Valid) list.AddCandidate(candidate->Clone());
    }
  }

  // Listed solution k exported as Vesk hands it to Quillon, then solved by mechtool.
  TSolved Solve(int k) {
    const fs::path mech = dir / ("k" + std::to_string(k) + ".mech");
    vesk::ExportAnimatorDocument(*list.Items(k), curve, shared::TProjectInfo(), mech.string());
    TSolved result;
    std::string tracer, section;
    std::istringstream document(ReadBytes(mech));
    for (std::string line; std::getline(document, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.size() > 2 && line.front() == '[' && line.back() == '>') section = line.substr(1, line.size() - 2);
      const auto f = Fields(line);
      if (section == "Joints" && f.size() == 9 && f[8] == "1") tracer = f[0];
      if (section == "Input A" && f.size() == 3) result.InputTurn = std::stod(f[2]);
    }
    EXPECT_FALSE(tracer.empty());
    const TRun solved = RunProgram(MECHTOOL_PATH, "solve " + Quote(mech) + " --steps 720");
    EXPECT_EQ(solved.status, 0) << solved.err;
    int length = 0;
    for (const std::string& line : solved.Lines()) {
      const auto f = Fields(line);
      if (f.size() == 2 && f[0] == "LEN") length = std::stoi(f[1]);
      if (f.size() == 10 && f[0] == "P" && f[2] == tracer && std::stoi(f[1]) <= length)
        result.Path.emplace_back(std::stod(f[3]), std::stod(f[4]));
    }
    return result;
  }

  vesk::TSpline curve;
  vesk::TMechanismList list;
};

struct TCase {
  const char* curve;
  int type;
};

void PrintTo(const TCase& c, std::ostream* out) { *out << c.curve << ", type " << c.type; }

class SynthtoolFiveBestTest : public SynthtoolPathTest, public testing::WithParamInterface<TCase> {};

// The precision points are the nine the list stores with each solution, where the engine placed
// them on the curve. The curve's length is that of the polyline through its control points, a
// little short of the spline's.
TEST_P(SynthtoolFiveBestTest, PassTheirPrecisionPointsOnTheSolvedPath) {
  const TCase c = GetParam();
  Generate(c.curve, c.type);
  const double length = PolylineLength(ReadCurve(kFixtures / c.curve));
  // Generation goes on finding four-bars on either curve.
  if (c.type == 0) {
    EXPECT_GE(list.Count(), 1);
  }
  for (int k = 1; k <= std::min(kBest, list.Count()); ++k) {
    const TSolved solved = Solve(k);
    ASSERT_EQ(solved.Path.size(), 721u) << "rank " << k << " does not run its whole input range";
    const vesk::TPrePointList& points = list.Items(k)->PrecisionPoints;
    ASSERT_EQ(points.Count(), 9);
    for (int i = 1; i <= 9; ++i) {
      const Cx p(points.GetPoint(i)->X, points.GetPoint(i)->Y);
      EXPECT_LE(DistanceFromPolyline(p, solved.Path), length / 4) << "rank " << k << ", precision point " << i;
    }
    EXPECT_GE(PolylineLength(solved.Path), length / 2) << "rank " << k;
  }
}

std::vector<TCase> Cases() {
  std::vector<TCase> cases;
  for (const char* curve : {"looped-curve.txt", "crank-rocker-arc.txt"})
    for (int type : {0, 1, 2, 3, 5, 6, 7, 8}) cases.push_back({curve, type});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryType, SynthtoolFiveBestTest, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<TCase>& info) {
                           const std::string curve = info.param.curve;
                           return curve.substr(0, curve.find('-')) + "Type" + std::to_string(info.param.type);
                         });

// A curve whose last point repeats its first: four-bars whose cranks turn once round, passing
// every precision point and every control point, and come back to where they began.
TEST_F(SynthtoolPathTest, ClosedCurveGivesFourbarsThatRunTheLoop) {
  Generate("closed-ellipse.txt", 0);
  ASSERT_GE(list.Count(), 1);
  const std::vector<Cx> curve = ReadCurve(kFixtures / "closed-ellipse.txt");
  ASSERT_EQ(curve.front(), curve.back());
  const double length = PolylineLength(curve);
  for (int k = 1; k <= std::min(kBest, list.Count()); ++k) {
    const TSolved solved = Solve(k);
    ASSERT_EQ(solved.Path.size(), 721u);
    EXPECT_NEAR(std::fabs(solved.InputTurn), 2 * std::numbers::pi, 1e-12) << "rank " << k;
    EXPECT_LT(std::abs(solved.Path.back() - solved.Path.front()), 1e-9) << "rank " << k;
    const vesk::TPrePointList& points = list.Items(k)->PrecisionPoints;
    for (int i = 1; i <= points.Count(); ++i) {
      const Cx p(points.GetPoint(i)->X, points.GetPoint(i)->Y);
      EXPECT_LE(DistanceFromPolyline(p, solved.Path), length / 4) << "rank " << k << ", precision point " << i;
    }
    for (const Cx& p : curve) EXPECT_LE(DistanceFromPolyline(p, solved.Path), length / 4) << "rank " << k;
    EXPECT_GE(PolylineLength(solved.Path), length / 2) << "rank " << k;
  }
}

}  // namespace
