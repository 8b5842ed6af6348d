// A generated mechanism of each chain type, for a curve with and without prescribed input
// rotations, exported as the synthesis program exports it to the animator, opens and solves in
// mechtool over its whole range, and its tracer follows the synthesis program's own simulated
// path.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "shared/ProjectInfo.h"
#include "shared/TabLine.h"
#include "synthesis/engine/CMatrix.h"
#include "synthesis/engine/Eightbar.h"
#include "synthesis/engine/FiveBar.h"
#include "synthesis/engine/Fourbar.h"
#include "synthesis/engine/Slider.h"
#include "synthesis/engine/InputFunction.h"
#include "synthesis/engine/Random.h"
#include "synthesis/engine/SixBar.h"
#include "synthesis/engine/SolutionExport.h"
#include "synthesis/engine/Spline.h"
#include "tests/tools/MechtoolRun.h"

namespace {

using namespace mechtool_test;

// Samples of the coupler path of a crank-rocker (ground 1, crank 0.3, coupler 0.9, rocker 0.8).
const double kCurve[][2] = {{0.863768221, 0.005722727}, {0.821343882, 0.014989800}, {0.760172590, 0.024885999},
                            {0.686238478, 0.032924822}, {0.605230085, 0.035304690}, {0.522419187, 0.028720371},
                            {0.442806413, 0.011240277}};

struct TTypeCase {
  const char* Name;
  std::unique_ptr<vesk::TMechanism> (*Make)();
  // The letter of the coupler point in the exported document.
  const char* Tracer;
  // How far the animator's tracer may stand from the synthesised path; for the slider, in units
  // of its rocker's departure from a straight guide, which the coupler's lever enlarges.
  double Tolerance;
  bool Slider = false;
  // Watt 2 exports the input law of its half-turn input loop doubled: the animator runs twice
  // the steps, and its first half is the synthesised path.
  bool Watt2 = false;
};

class AnimatorExportTest : public TMechtoolFixture {
 protected:
  AnimatorExportTest() : TMechtoolFixture("animexport") {}
  void SetUp() override {
    TMechtoolFixture::SetUp();
    vesk::CreateDefaultInputFunction();
    vesk::CreateCMatrix();
    shared::CreateTabLines();
  }
  // What the curve prescribes of the input's rotation.
  enum TInput { kFree, kEveryPoint, kTotal };
  // The samples, with the input rotations prescribed as asked.
  void MakeCurve(TInput input) {
    curve.Clear();
    double in = 0;
    for (const auto& p : kCurve) {
      auto point = std::make_unique<vesk::TPrePoint>(p[0], p[1]);
      point->In = in;
      in += 0.2;
      curve.Add(std::move(point));
    }
    curve.In = input == kEveryPoint;
    curve.InTotal = input == kTotal;
    curve.TotalIn = 1.2;
    curve.Recalc();
  }
  void TearDown() override {
    shared::FreeTabLines();
    TMechtoolFixture::TearDown();
  }

  // The first valid candidate of the seed, simulated in the given number of steps.
  bool Generated(vesk::TMechanism& m, int32_t steps) {
    vesk::SeedRandom(5);
    for (int attempt = 0; attempt < 20000; ++attempt) {
      m.Generate(curve, nullptr, nullptr);
      if (m.Error.Valid) {
        m.InputFunction.SetSteps(steps);
        m.SimulatePath(nullptr);
        if (m.Error.Valid) return true;
      }
    }
    return false;
  }

  fs::path Export(vesk::TMechanism& m) {
    vesk::ExportAnimatorDocument(m, curve, shared::TProjectInfo(), (dir / "export.mech").string());
    return dir / "export.mech";
  }

  // L (1 - cos phi) of the rocker J3-J4 (length L) over its largest swing phi in the cycle.
  static double Departure(vesk::TMechanism& m) {
    auto angle = [&m] {
      const auto* a = m.Joints.GetJoint(3);
      const auto* b = m.Joints.GetJoint(4);
      return std::atan2(b->Y - a->Y, b->X - a->X);
    };
    const auto* a = m.Joints.GetJoint(3);
    const auto* b = m.Joints.GetJoint(4);
    const double length = std::hypot(b->X - a->X, b->Y - a->Y);
    m.StoreJoints();
    const double start = angle();
    double swing = 0;
    const int32_t steps = m.InputFunction.Steps();
    for (int32_t k = 1; k <= steps; ++k) {
      EXPECT_TRUE(m.StepInput(m.Links.GetLink(2)->Rot[9] / steps));
      swing = std::max(swing, std::fabs(angle() - start));
    }
    m.RestoreJoints();
    return length * (1 - std::cos(swing));
  }

  vesk::TSpline curve;
};

template <typename T>
std::unique_ptr<vesk::TMechanism> Make() {
  return std::make_unique<T>();
}

TEST_F(AnimatorExportTest, EveryTypeSolvesInTheAnimatorAlongItsSynthesisedPath) {
  const std::vector<TTypeCase> cases = {
      {"four-bar", &Make<vesk::TFourbar>, "E", 1e-9},
      {"eight-bar", &Make<vesk::TEightbar>, "J", 1e-9},
      {"five-bar", &Make<vesk::TFiveBar>, "H", 1e-9},
      {"slider", &Make<vesk::TSlider>, "E", 5, true},
      {"Watt 1", &Make<vesk::TSixBarW1>, "H", 1e-9},
      {"Watt 2", &Make<vesk::TSixBarW2>, "H", 1e-9, false, true},
      {"Stephenson 1", &Make<vesk::TSixBarS1>, "H", 1e-9},
      {"Stephenson 3", &Make<vesk::TSixBarS3>, "H", 1e-9},
  };
  constexpr int32_t kSteps = 24;
  for (const TInput input : {kFree, kEveryPoint, kTotal}) {
  MakeCurve(input);
  for (const TTypeCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Name << ", input prescribed " << int(input));
    std::unique_ptr<vesk::TMechanism> m = c.Make();
    ASSERT_TRUE(Generated(*m, kSteps));
    ASSERT_EQ(m->PathPoints.Count(), kSteps + 1);
    double tolerance = c.Tolerance;
    if (c.Slider) tolerance *= Departure(*m);
    const fs::path file = Export(*m);
    EXPECT_EQ(Run("header " + Quote(file)).out.substr(0, 1), "2");
    const int32_t animatorSteps = c.Watt2 && input != kEveryPoint ? 2 * kSteps : kSteps;
    const TRun run = Run("solve " + Quote(file) + " --steps " + std::to_string(animatorSteps));
    ASSERT_EQ(run.status, 0) << run.err;
    const auto lines = run.Lines();
    ASSERT_EQ(lines.at("LEN").at(0).at(1), std::to_string(animatorSteps));
    int32_t seen = 0, solved = 0;
    for (const auto& p : lines.at("P")) {
      if (p.at(2) != c.Tracer) continue;
      const int32_t k = std::stoi(p.at(1));
      // The animator solves the whole exported range.
      EXPECT_EQ(p.at(9), "0") << k;
      ++solved;
      if (k > kSteps) continue;
      const vesk::TPathPoint* expected = m->PathPoints.GetPathPoint(k + 1);
      ASSERT_NE(expected, nullptr);
      EXPECT_NEAR(std::stod(p.at(3)), expected->X, tolerance) << k;
      EXPECT_NEAR(std::stod(p.at(4)), expected->Y, tolerance) << k;
      ++seen;
    }
    EXPECT_EQ(seen, kSteps + 1);
    EXPECT_EQ(solved, animatorSteps + 1);
  }
  }
}

}  // namespace
