// Seeded Quick Searches of every chain type on open, looped and closed curves, run as synthtool
// generate runs them; the best solutions exported to Quillon as Vesk exports them and solved
// there by mechtool over 720 steps run paths that pass their precision points and follow the
// whole curve, measured on the solved path.
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
  // Steps at which some joint could not be placed.
  int Jammed = 0;
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
  // With a total input rotation in degrees (0 for none) prescribed as the options dialog does.
  void Generate(const std::string& file, int type, double totalInDegrees = 0) {
    // Seeded before the curve, whose identifier is the first draw.
    vesk::SeedRandom(7);
    for (const Cx& p : ReadCurve(kFixtures / file)) curve.Add(std::make_unique<vesk::TPrePoint>(p.real(), p.imag()));
    if (totalInDegrees != 0) {
      curve.InTotal = true;
      curve.TotalIn = totalInDegrees * std::numbers::pi / 180;
    }
    curve.Recalc();
    const std::unique_ptr<vesk::TMechanism> candidate = vesk::NewMechanism(uint8_t(type));
    for (int made = 0; made <= kBudget; ++made) {
      candidate->Generate(curve, nullptr, nullptr);
      if (!candidate->Error.Valid) continue;
      ++valid;
      list.AddCandidate(candidate->Clone());
    }
  }

  // Listed solution k exported as Vesk hands it to Quillon, then solved by mechtool.
  TSolved Solve(int k, int steps = 720) {
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
    const TRun solved =
        RunProgram(MECHTOOL_PATH, "solve " + Quote(mech) + " --steps " + std::to_string(steps));
    EXPECT_EQ(solved.status, 0) << solved.err;
    int length = 0;
    for (const std::string& line : solved.Lines()) {
      const auto f = Fields(line);
      if (f.size() == 2 && f[0] == "LEN") length = std::stoi(f[1]);
      if (f.size() == 10 && f[0] == "P" && f[2] == tracer && std::stoi(f[1]) <= length) {
        result.Path.emplace_back(std::stod(f[3]), std::stod(f[4]));
        if (f[9] != "0") ++result.Jammed;
      }
    }
    return result;
  }

  vesk::TSpline curve;
  vesk::TMechanismList list;
  int valid = 0;
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

// The bounds a listed solution keeps along the whole curve, measured here on the control polygon
// and the path Quillon solves, independently of the engine's own reckoning.
double SignedArea(const std::vector<Cx>& loop) {
  double twice = 0;
  for (size_t k = 1; k < loop.size(); ++k) twice += std::imag(std::conj(loop[k - 1]) * loop[k]);
  return twice / 2;
}

// Per control point, how near the path must pass it: a tenth of the curve's length, or where a
// loop of the curve is smaller, twice the loop's area over its perimeter (a circle's radius).
// The loops are the closed curve itself and every stretch between two crossing sides.
std::vector<double> Tolerances(const std::vector<Cx>& points, bool closed) {
  const double length = PolylineLength(points);
  std::vector<double> tolerance(points.size(), length / 10);
  auto narrow = [&](const std::vector<Cx>& loop, size_t first, size_t last) {
    const double scale = 2 * std::fabs(SignedArea(loop)) / PolylineLength(loop);
    for (size_t k = first; k <= last; ++k) tolerance[k] = std::min(tolerance[k], scale);
  };
  if (closed) narrow(points, 0, points.size() - 1);
  for (size_t i = 1; i < points.size(); ++i) {
    for (size_t j = i + 2; j < points.size(); ++j) {
      if (closed && i == 1 && j == points.size() - 1) continue;
      const Cx a = points[i - 1], b = points[i], c = points[j - 1], d = points[j];
      const double den = std::imag(std::conj(b - a) * (d - c));
      if (den == 0) continue;
      const double t = std::imag(std::conj(c - a) * (d - c)) / den;
      const double u = std::imag(std::conj(c - a) * (b - a)) / den;
      if (t < 0 || t > 1 || u < 0 || u > 1) continue;
      const Cx cross = a + t * (b - a);
      std::vector<Cx> loop{cross};
      for (size_t k = i; k < j; ++k) loop.push_back(points[k]);
      loop.push_back(cross);
      narrow(loop, i, j - 1);
    }
  }
  return tolerance;
}

struct TTraceCase {
  const char* curve;
  int type;
  // Prescribed total input rotation in degrees, 0 for none.
  double totalIn;
};

void PrintTo(const TTraceCase& c, std::ostream* out) { *out << c.curve << ", type " << c.type; }

class SynthtoolTraceTest : public SynthtoolPathTest, public testing::WithParamInterface<TTraceCase> {};

// The three best of a seeded Quick Search, exported as Vesk exports them and solved by Quillon
// over 720 and 250 steps, follow the whole curve: every control point passed within its
// tolerance, no stray farther than a quarter of the curve's length, a path no longer than 1.6 curve lengths
// (2.4 for a Watt 2 on an open curve, which runs out and back), on a closed curve round the loop
// in its direction enclosing at least half its area, and every step solved.
TEST_P(SynthtoolTraceTest, ThreeBestFollowTheWholeCurve) {
  const TTraceCase c = GetParam();
  Generate(c.curve, c.type, c.totalIn);
  const std::vector<Cx> points = ReadCurve(kFixtures / c.curve);
  const bool closed = points.front() == points.back();
  const double length = PolylineLength(points);
  const std::vector<double> tolerance = Tolerances(points, closed);
  const bool outAndBack = c.type == vesk::kWatt2Type && !closed;
  // Four-bars are found on every curve whose input turns no more than once.
  if (c.type == vesk::kFourbarType && c.totalIn <= 360) {
    EXPECT_GE(list.Count(), 1);
  }
  // The largest control-point miss, in curve lengths and in shares of its tolerance.
  double worst = 0, worstShare = 0;
  int kept = 0;
  // Solved at two step counts: what the linkage runs must not depend on how finely it is stepped.
  for (int k = 1; k <= std::min(3, list.Count()); ++k) {
    for (int steps : {720, 250}) {
      SCOPED_TRACE("rank " + std::to_string(k) + " at " + std::to_string(steps) + " steps");
      const TSolved solved = Solve(k, steps);
      EXPECT_EQ(solved.Path.size(), size_t(steps + 1));
      EXPECT_EQ(solved.Jammed, 0);
      if (solved.Path.size() < 2) continue;
      bool inBounds = solved.Path.size() == size_t(steps + 1) && solved.Jammed == 0;
      for (size_t i = 0; i < points.size(); ++i) {
        const double miss = DistanceFromPolyline(points[i], solved.Path);
        worst = std::max(worst, miss / length);
        worstShare = std::max(worstShare, miss / tolerance[i]);
        inBounds = inBounds && miss <= tolerance[i];
        EXPECT_LE(miss, tolerance[i]) << "control point " << i + 1;
      }
      double stray = 0;
      for (const Cx& p : solved.Path) stray = std::max(stray, DistanceFromPolyline(p, points));
      inBounds = inBounds && stray <= length / 4;
      EXPECT_LE(stray, length / 4);
      const double pathLength = PolylineLength(solved.Path);
      const double cap = (outAndBack ? 2.4 : 1.6) * length;
      inBounds = inBounds && pathLength <= cap;
      EXPECT_LE(pathLength, cap);
      if (closed) {
        const double area = SignedArea(points);
        const double ran = SignedArea(solved.Path);
        inBounds = inBounds && ran / area >= 0.5;
        EXPECT_GE(ran / area, 0.5);
      }
      // Counted once per rank, at the finer step count.
      if (steps == 720) kept += inBounds ? 1 : 0;
    }
  }
  std::cout << "TRACE " << c.curve << " type " << c.type << " valid " << valid << " listed " << list.Count()
            << " bounded " << kept << " worst " << worst << " of tolerance " << worstShare << std::endl;
}

std::vector<TTraceCase> TraceCases() {
  std::vector<TTraceCase> cases;
  // The triangle, the S-curve, the stadium, the hook and the looped curve of the tests above
  // were left out while the bounds and the engine's checks were worked out. A total input
  // rotation above a turn on the open arc lists nothing.
  const std::pair<const char*, double> curves[] = {
      {"trace-ellipse.txt", 0},       {"trace-d-shape.txt", 0},  {"trace-kidney.txt", 0},
      {"trace-crossing.txt", 0},      {"trace-bean.txt", 0},     {"trace-arc.txt", 1000},
      {"trace-small-ellipse.txt", 0}, {"trace-triangle.txt", 0}, {"trace-s-curve.txt", 0},
      {"trace-stadium.txt", 0},       {"trace-hook.txt", 0},     {"looped-curve.txt", 0}};
  for (const auto& [curve, totalIn] : curves)
    for (int type : {0, 1, 2, 3, 5, 6, 7, 8}) cases.push_back({curve, type, totalIn});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryType, SynthtoolTraceTest, testing::ValuesIn(TraceCases()),
                         [](const testing::TestParamInfo<TTraceCase>& info) {
                           std::string curve = info.param.curve;
                           curve = curve.substr(0, curve.find('.'));
                           std::string name;
                           for (const char ch : curve)
                             if (ch != '-') name += ch;
                           return name + "Type" + std::to_string(info.param.type);
                         });

}  // namespace
