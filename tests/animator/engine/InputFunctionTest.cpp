// Motion laws and input functions: the laws against their closed forms, chaining, the per-step
// table, the step count and time step, refused and unusable sections, file records and reports.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "LogCapture.h"
#include "animator/engine/InputFunction.h"
#include "shared/Convert.h"
#include "shared/RealText.h"
#include "shared/TabLine.h"

namespace {

using quillon::TFunctionSection;
using quillon::TInputFunction;

constexpr double kPi = std::numbers::pi;
constexpr double kTol = 1e-12;

using LogCapture = enginetest::TLogCapture;

struct LawCase {
  int law;
  double t;
  double position, velocity, acceleration;
};

// T = 2 s, S = 3 throughout; expected values by hand from the normalised forms with u = t/T:
// law 2 S(10u³ − 15u⁴ + 6u⁵), (S/T)·30u²(1−u)², (S/T²)·60u(1−u)(1−2u);
// law 3 S(u − sin(2πu)/2π), (S/T)(1 − cos 2πu), (2πS/T²) sin 2πu.
const LawCase kLawCases[] = {
    {0, 0.5, 0.75, 1.5, 0.0},
    {0, 2.0, 3.0, 1.5, 0.0},
    {1, 0.5, 0.1875, 0.75, 1.5},
    {1, 2.0, 3.0, 3.0, 1.5},  // no deceleration: ends at 2S/T
    {2, 0.5, 0.310546875, 1.58203125, 4.21875},
    {2, 1.0, 1.5, 2.8125, 0.0},
    {2, 2.0, 3.0, 0.0, 0.0},
    {3, 0.5, 3.0 * (0.25 - 1.0 / (2.0 * kPi)), 1.5, 1.5 * kPi},
    {3, 1.0, 1.5, 3.0, 0.0},
    {3, 2.0, 3.0, 0.0, 0.0},
    {7, 0.5, 3.0 * (0.25 - 1.0 / (2.0 * kPi)), 1.5, 1.5 * kPi},  // unknown laws run as law 3
    {-1, 1.5, 3.0 * (0.75 + 1.0 / (2.0 * kPi)), 1.5, -1.5 * kPi},
};

TEST(FunctionSectionTest, LawsMatchClosedForms) {
  for (const LawCase& c : kLawCases) {
    SCOPED_TRACE("law " + std::to_string(c.law) + " t " + std::to_string(c.t));
    const TFunctionSection section(c.law, 2.0, 3.0);
    EXPECT_NEAR(section.Position(c.t), c.position, kTol);
    EXPECT_NEAR(section.Velocity(c.t), c.velocity, kTol);
    EXPECT_NEAR(section.Acceleration(c.t), c.acceleration, kTol);
    // A one-section function evaluates the same law at global time.
    TInputFunction function;
    function.Clear();
    ASSERT_TRUE(function.AddSection(c.law, 2.0, 3.0));
    EXPECT_NEAR(function.Position(c.t), c.position, kTol);
    EXPECT_NEAR(function.Velocity(c.t), c.velocity, kTol);
    EXPECT_NEAR(function.Acceleration(c.t), c.acceleration, kTol);
  }
}

TEST(FunctionSectionTest, DerivedValuesNamesAndCopies) {
  const TFunctionSection fresh;
  EXPECT_EQ(fresh.Law(), 0);
  EXPECT_EQ(fresh.Duration(), 1.0);
  EXPECT_EQ(fresh.Displacement(), 1.0);
  EXPECT_EQ(fresh.Rate(), 1.0);
  EXPECT_EQ(fresh.LawName(), "Constant Velocity");

  TFunctionSection section;
  section.SetValues(1, 2.0, 3.0);
  EXPECT_DOUBLE_EQ(section.Rate(), 3.0);
  EXPECT_DOUBLE_EQ(section.Accel(), 1.5);
  EXPECT_EQ(section.LawName(), "Constant Acceleration");
  section.SetValues(2, 2.0, 3.0);
  EXPECT_EQ(section.Coeff()[0], 0.0);
  EXPECT_EQ(section.Coeff()[2], 0.0);
  EXPECT_DOUBLE_EQ(section.Coeff()[3], 30.0 / 8.0);
  EXPECT_DOUBLE_EQ(section.Coeff()[4], -45.0 / 16.0);
  EXPECT_DOUBLE_EQ(section.Coeff()[5], 18.0 / 32.0);
  EXPECT_EQ(section.LawName(), "3-4-5 polynomial");
  section.SetValues(3, 2.0, 3.0);
  EXPECT_DOUBLE_EQ(section.Rate(), 3.0);
  EXPECT_DOUBLE_EQ(section.Accel(), 1.5 * kPi);
  EXPECT_EQ(section.LawName(), "Sinusoidal");
  section.SetValues(9, 2.0, 3.0);
  EXPECT_EQ(section.LawName(), "");
  EXPECT_DOUBLE_EQ(section.Accel(), 1.5 * kPi);

  TFunctionSection copy;
  copy.CopyFrom(section);
  auto clone = section.Clone();
  for (const TFunctionSection* s : {&copy, clone.get()}) {
    EXPECT_EQ(s->Law(), 9);
    EXPECT_EQ(s->Duration(), 2.0);
    EXPECT_EQ(s->Displacement(), 3.0);
    EXPECT_DOUBLE_EQ(s->Accel(), 1.5 * kPi);
  }
}

TEST(InputFunctionTest, NewFunctionTurnsOnceInOneSecond) {
  const TInputFunction function;
  EXPECT_EQ(function.Count(), 1);
  EXPECT_EQ(function.Steps(), 90);
  EXPECT_EQ(function.Table().size(), 91u);
  EXPECT_DOUBLE_EQ(function.TotalTime(), 1.0);
  EXPECT_DOUBLE_EQ(function.TimeStep(), 1.0 / 90.0);
  EXPECT_FALSE(function.Changed);
  EXPECT_EQ(function.Letter, "");
  EXPECT_EQ(function.UnitCategory, 8);
  EXPECT_EQ(function.JointIndex, -1);
  EXPECT_NEAR(function.ValueOfStep(45), kPi, kTol);
  EXPECT_NEAR(function.ValueOfStep(90), 2.0 * kPi, kTol);
  EXPECT_NEAR(function.StepIncrement(1), 2.0 * kPi / 90.0, kTol);
  EXPECT_TRUE(function.IsPeriodic());
  EXPECT_EQ(TInputFunction(0).Steps(), 90);
  EXPECT_EQ(TInputFunction(-4).Steps(), 90);
  EXPECT_EQ(TInputFunction(36).Steps(), 36);

  TInputFunction named;
  named.Letter = "A";
  EXPECT_EQ(named.SectionName(), "Input A");
}

TEST(InputFunctionTest, ChainedSectionsMeetAtTheBoundary) {
  TInputFunction function;
  function.Clear();
  function.AddSection(0, 1.0, kPi);
  function.AddSection(2, 1.0, kPi);
  EXPECT_TRUE(function.Changed);
  EXPECT_DOUBLE_EQ(function.EndTime(1), 2.0);
  EXPECT_DOUBLE_EQ(function.EndDisp(1), 2.0 * kPi);
  EXPECT_DOUBLE_EQ(function.TotalTime(), 2.0);
  EXPECT_DOUBLE_EQ(function.TimeStep(), 2.0 / 90.0);
  EXPECT_NEAR(function.Position(1.5), kPi * 1.5, kTol);
  // t = 1 is the end of the first section: its constant velocity, not the polynomial's 0.
  EXPECT_NEAR(function.Position(1.0), kPi, kTol);
  EXPECT_NEAR(function.Velocity(1.0), kPi, kTol);
  EXPECT_NEAR(function.Acceleration(1.0), 0.0, kTol);
  EXPECT_NEAR(function.Acceleration(1.0 + 1e-9), 0.0, 1e-6);
  // 3-4-5 ends at rest.
  EXPECT_NEAR(function.Velocity(2.0), 0.0, kTol);
  EXPECT_NEAR(function.Acceleration(2.0), 0.0, 1e-9);
  for (int j = 0; j <= 90; ++j) EXPECT_NEAR(function.ValueOfStep(j), function.Position(j * 2.0 / 90.0), kTol);
  EXPECT_NEAR(function.ValueOfStep(90), 2.0 * kPi, kTol);
  // One full turn, but it starts at speed π and ends at rest.
  EXPECT_FALSE(function.IsPeriodic());
}

TEST(InputFunctionTest, ConstantAccelerationChainIsPeriodicOnlyWhenSpeedsMatch) {
  TInputFunction function;
  function.Clear();
  function.AddSection(1, 1.0, kPi);  // ends at 2π/s
  function.AddSection(0, 1.0, kPi);  // goes on at π/s
  EXPECT_FALSE(function.IsPeriodic());
  function.Clear();
  function.AddSection(0, 0.5, kPi);  // 2π/s
  function.AddSection(3, 0.5, 0.0);  // a dwell that starts and ends at rest
  function.AddSection(1, 0.5, kPi);  // ends at 4π/s
  EXPECT_NEAR(function.VelocityOfStep(90), 4.0 * kPi, 1e-9);
  EXPECT_NEAR(function.ValueOfStep(90), 2.0 * kPi, kTol);
  EXPECT_FALSE(function.IsPeriodic());
  function.DeleteSection(2);
  function.AddSection(1, 1.0, kPi);  // ends at 2π/s, the starting speed
  EXPECT_NEAR(function.ValueOfStep(90), 2.0 * kPi, kTol);
  EXPECT_TRUE(function.IsPeriodic());
}

// One full turn either way round closes the cycle; anything short of it or beyond does not.
TEST(InputFunctionTest, OneFullTurnEitherWayIsPeriodic) {
  struct TCase {
    const char* what;
    double displacement;
    bool periodic;
  };
  const TCase cases[] = {
      {"counter-clockwise turn", 2 * kPi, true},
      {"clockwise turn", -2 * kPi, true},
      {"half a turn", kPi, false},
      {"half a turn clockwise", -kPi, false},
      {"two turns clockwise", -4 * kPi, false},
      {"no turn", 0.0, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    TInputFunction function;
    function.Clear();
    function.AddSection(0, 1.0, c.displacement);
    EXPECT_NEAR(function.ValueOfStep(90), c.displacement, kTol);
    EXPECT_EQ(function.IsPeriodic(), c.periodic);
  }
  // Clockwise with a 3-4-5 start and a constant-speed end: a full turn, but at rest only at the
  // start.
  TInputFunction function;
  function.Clear();
  function.AddSection(2, 0.5, -kPi);
  function.AddSection(0, 0.5, -kPi);
  EXPECT_NEAR(function.ValueOfStep(90), -2 * kPi, kTol);
  EXPECT_FALSE(function.IsPeriodic());
}

TEST(InputFunctionTest, TimesAndStepsOutsideTheCycle) {
  TInputFunction function;
  function.Clear();
  function.AddSection(3, 2.0, 3.0);
  EXPECT_EQ(function.ClampTime(-1.0), 0.0);
  EXPECT_EQ(function.ClampTime(std::numeric_limits<double>::quiet_NaN()), 0.0);
  EXPECT_EQ(function.ClampTime(5.0), 2.0);
  EXPECT_EQ(function.Position(-1.0), function.Position(0.0));
  EXPECT_DOUBLE_EQ(function.Position(5.0), 3.0);
  EXPECT_EQ(function.TimeOfStep(-3), 0.0);
  EXPECT_DOUBLE_EQ(function.TimeOfStep(45), 1.0);
  const double last = function.Table()[90];
  EXPECT_EQ(function.ValueOfStep(-1), last);
  EXPECT_EQ(function.ValueOfStep(91), last);
  EXPECT_EQ(function.StepIncrement(0), 0.0);
  EXPECT_EQ(function.StepIncrement(91), 0.0);
  double sum = 0.0;
  for (int i = 0; i <= 91; ++i) sum += function.StepIncrement(i);
  EXPECT_NEAR(sum, 3.0, kTol);
}

TEST(InputFunctionTest, TimeStepRoundsHalvesToEvenAndKeepsOneStep) {
  TInputFunction function;
  function.Clear();
  function.AddSection(0, 2.0, 1.0);
  function.SetTimeStep(0.3);
  EXPECT_EQ(function.Steps(), 7);
  EXPECT_DOUBLE_EQ(function.TimeStep(), 2.0 / 7.0);
  EXPECT_EQ(function.Table().size(), 8u);
  EXPECT_NEAR(function.ValueOfStep(7), 1.0, kTol);

  struct Case {
    double total, dt;
    int steps;
  };
  const Case cases[] = {
      {5.0, 2.0, 2},  // 2.5 → 2
      {7.0, 2.0, 4},  // 3.5 → 4
      {2.0, 5.0, 1},  // 0.4 would round to no steps at all
      {2.0, 1e300, 1}, {2.0, 1e-300, TInputFunction::kMaxSteps},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.total) + " / " + std::to_string(c.dt));
    function.Clear();
    function.AddSection(0, c.total, 1.0);
    function.SetTimeStep(c.dt);
    EXPECT_EQ(function.Steps(), c.steps);
    EXPECT_DOUBLE_EQ(function.TimeStep(), c.total / c.steps);
    EXPECT_TRUE(std::isfinite(function.Velocity(c.total)));
    EXPECT_NEAR(function.ValueOfStep(c.steps), 1.0, kTol);
  }

  function.SetSteps(12);
  for (double dt : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN()}) {
    function.Changed = false;
    function.SetTimeStep(dt);
    EXPECT_EQ(function.Steps(), 12);
    EXPECT_FALSE(function.Changed);
  }
}

TEST(InputFunctionTest, StepCountChangesTheTable) {
  TInputFunction function;
  function.SetSteps(0);
  function.SetSteps(-3);
  EXPECT_EQ(function.Steps(), 90);
  EXPECT_FALSE(function.Changed);
  function.SetSteps(4);
  EXPECT_TRUE(function.Changed);
  EXPECT_EQ(function.Table().size(), 5u);
  EXPECT_DOUBLE_EQ(function.TimeStep(), 0.25);
  EXPECT_NEAR(function.ValueOfStep(2), kPi, kTol);
  function.SetSteps(std::numeric_limits<int32_t>::max());
  EXPECT_EQ(function.Steps(), TInputFunction::kMaxSteps);

  // Without sections a resize keeps the old entries and the new ones hold 0.
  function.SetSteps(4);
  const std::vector<double> old = function.Table();
  function.Clear();
  function.SetSteps(8);
  ASSERT_EQ(function.Table().size(), 9u);
  for (int j = 0; j <= 4; ++j) EXPECT_EQ(function.Table()[j], old[j]);
  for (int j = 5; j <= 8; ++j) EXPECT_EQ(function.Table()[j], 0.0);
  EXPECT_DOUBLE_EQ(function.TimeStep(), 1.0 / 8.0);
  function.SetTimeStep(0.5);
  EXPECT_EQ(function.Steps(), 2);
  EXPECT_DOUBLE_EQ(function.TimeStep(), 0.5);
}

// The table of a long law read out of order, and kept as the law stood when it was prepared
// whatever happens to the sections before an entry is first read: 3 turns in 2 s at constant
// velocity, so step i of 100,000 is 3i / 100,000.
TEST(InputFunctionTest, LongTableFollowsThePreparedLaw) {
  struct Change {
    const char* name;
    void (*apply)(TInputFunction&);
  };
  const Change changes[] = {
      {"none", [](TInputFunction&) {}},
      {"section changed without Prepare", [](TInputFunction& f) { f.Section(0)->SetValues(1, 1.0, 10.0); }},
      {"last section deleted", [](TInputFunction& f) { f.DeleteSection(0); }},
      {"cleared", [](TInputFunction& f) { f.Clear(); }},
  };
  const int32_t steps = TInputFunction::kMaxSteps;
  const auto expected = [&](int32_t i) { return 3.0 * i / steps; };
  for (const Change& change : changes) {
    SCOPED_TRACE(change.name);
    TInputFunction function;
    function.Clear();
    function.AddSection(0, 2.0, 3.0);
    function.SetSteps(steps);
    change.apply(function);
    for (const int32_t i : {steps, 7, 0, steps / 2, steps - 1})
      EXPECT_NEAR(function.ValueOfStep(i), expected(i), kTol) << i;
    EXPECT_NEAR(function.StepIncrement(steps / 3), 3.0 / steps, kTol);
    const std::vector<double>& table = function.Table();
    ASSERT_EQ(table.size(), static_cast<size_t>(steps) + 1);
    for (int32_t i = 0; i <= steps; i += 997) ASSERT_NEAR(table[i], expected(i), kTol) << i;
    EXPECT_NEAR(table[steps], 3.0, kTol);
  }
}

TEST(InputFunctionTest, TwelfthSectionIsRefused) {
  TInputFunction function;
  for (int i = 1; i < 11; ++i) EXPECT_TRUE(function.AddSection(i % 4, 0.5, 1.0));
  ASSERT_EQ(function.Count(), 11);
  const std::vector<double> table = function.Table();
  const double total = function.TotalTime();
  function.Changed = false;
  EXPECT_FALSE(function.AddSection(0, 1.0, 1.0));
  EXPECT_FALSE(function.AddSectionObject(nullptr));
  EXPECT_EQ(function.Count(), 11);
  EXPECT_EQ(function.Table(), table);
  EXPECT_EQ(function.TotalTime(), total);
  EXPECT_FALSE(function.Changed);
}

TEST(InputFunctionTest, DeletingTheLastSectionKeepsTheTable) {
  TInputFunction function;
  function.AddSection(2, 1.0, 1.0);
  function.DeleteSection(-1);
  function.DeleteSection(2);
  EXPECT_EQ(function.Count(), 2);
  function.DeleteSection(0);
  ASSERT_EQ(function.Count(), 1);
  EXPECT_EQ(function.Section(0)->Law(), 2);
  EXPECT_DOUBLE_EQ(function.TotalTime(), 1.0);
  EXPECT_NEAR(function.ValueOfStep(90), 1.0, kTol);
  const std::vector<double> table = function.Table();
  function.DeleteSection(0);
  EXPECT_EQ(function.Count(), 0);
  EXPECT_EQ(function.Section(0), nullptr);
  EXPECT_EQ(function.Table(), table);
  EXPECT_EQ(function.Position(0.5), 0.0);
  EXPECT_EQ(function.Velocity(0.5), 0.0);
  EXPECT_EQ(function.Acceleration(0.5), 0.0);
}

TEST(InputFunctionTest, UnusableSectionsAreDroppedWithAWarning) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInf = std::numeric_limits<double>::infinity();
  struct Case {
    int law;
    double duration, displacement;
  };
  const Case cases[] = {
      {0, 0.0, 1.0},  {3, -1.0, 1.0},  {1, kNaN, 1.0},  {0, kInf, 1.0},
      {2, 1.0, kNaN}, {0, 1.0, -kInf}, {2, 1e-70, 1.0},  // c5 = 6S/T⁵ overflows
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.duration) + " " + std::to_string(c.displacement));
    LogCapture log;
    TInputFunction function;
    function.Letter = "B";
    const std::vector<double> table = function.Table();
    EXPECT_FALSE(function.AddSection(c.law, c.duration, c.displacement));
    EXPECT_EQ(function.Count(), 1);
    EXPECT_EQ(function.Table(), table);
    ASSERT_EQ(log.sink.lines.size(), 1u);
    EXPECT_EQ(log.sink.lines[0].rfind("[Warning] Input B: section 1 ", 0), 0u) << log.sink.lines[0];
  }

  LogCapture log;
  TInputFunction function;
  // A section edited in place to a zero duration goes at the next Prepare.
  function.AddSection(0, 1.0, 1.0);
  function.Section(0)->SetValues(0, 0.0, 1.0);
  function.Prepare();
  ASSERT_EQ(function.Count(), 1);
  EXPECT_DOUBLE_EQ(function.TotalTime(), 1.0);
  EXPECT_NEAR(function.ValueOfStep(90), 1.0, kTol);
  // Finite sections whose sum is not.
  function.Clear();
  function.AddSection(0, 1.0, 1e308);
  EXPECT_FALSE(function.AddSection(0, 1.0, 1e308));
  EXPECT_EQ(function.Count(), 1);
  EXPECT_EQ(log.sink.lines.size(), 2u);
  for (double v : function.Table()) EXPECT_TRUE(std::isfinite(v));
}

TEST(InputFunctionTest, AssignCopiesSectionsAndSettings) {
  TInputFunction source(36);
  source.Letter = "C";
  source.JointIndex = 2;
  source.UnitCategory = 1;
  source.Clear();
  source.AddSection(1, 0.5, 1.0);
  source.AddSection(7, 1.5, -2.0);

  TInputFunction target;
  target.Assign(source);
  EXPECT_EQ(target.Letter, "C");
  EXPECT_EQ(target.JointIndex, 2);
  EXPECT_EQ(target.UnitCategory, 1);
  EXPECT_EQ(target.Steps(), 36);
  ASSERT_EQ(target.Count(), 2);
  EXPECT_EQ(target.Section(1)->Law(), 7);
  EXPECT_EQ(target.Table(), source.Table());
  EXPECT_NE(target.Section(0), source.Section(0));

  target.Assign(target);
  EXPECT_EQ(target.Count(), 2);
  EXPECT_EQ(target.Table(), source.Table());
}

// ---- Mechanism-file records ----

TEST(InputFunctionRecordTest, RecordsRoundTrip) {
  TInputFunction function;
  function.Letter = "A";
  function.Clear();
  function.AddSection(0, 1.0, kPi);
  function.AddSection(2, 0.5, -1.25);
  function.AddSection(7, 2.0, 3.3e-5);  // an unknown law is kept as it is
  shared::TTabLines store;
  function.WriteTabLines(store);
  const std::vector<std::string> expected = {
      "[Input A>",
      "0\t" + shared::FormatReal(1.0) + "\t" + shared::FormatReal(kPi),
      "2\t" + shared::FormatReal(0.5) + "\t" + shared::FormatReal(-1.25),
      "7\t" + shared::FormatReal(2.0) + "\t" + shared::FormatReal(3.3e-5),
      "<Input A]",
  };
  EXPECT_EQ(store.Lines, expected);

  // Another joint's section beside it is not read.
  TInputFunction other;
  other.Letter = "B";
  other.WriteTabLines(store);

  TInputFunction read(36);
  read.Letter = "A";
  read.ReadTabLines(store);
  ASSERT_EQ(read.Count(), 3);
  EXPECT_EQ(read.Section(2)->Law(), 7);
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(read.Section(i)->Duration(), function.Section(i)->Duration(), 1e-14);
    EXPECT_NEAR(read.Section(i)->Displacement(), function.Section(i)->Displacement(), 1e-14);
  }
  EXPECT_NEAR(read.Position(3.5), function.Position(3.5), 1e-13);
  shared::TTabLines again;
  read.WriteTabLines(again);
  EXPECT_EQ(again.Lines, expected);
}

TEST(InputFunctionRecordTest, MissingOrEmptySectionLeavesNoSections) {
  for (const std::vector<std::string>& lines :
       {std::vector<std::string>{}, std::vector<std::string>{"[Input B>", "1\t1\t1", "<Input B]"},
        std::vector<std::string>{"[INPUT A>", "<input a]"}}) {
    TInputFunction function;
    function.Letter = "A";
    const std::vector<double> table = function.Table();
    shared::TTabLines store;
    store.Lines = lines;
    function.ReadTabLines(store);
    EXPECT_EQ(function.Count(), 0);
    EXPECT_EQ(function.Table(), table);
  }
}

TEST(InputFunctionRecordTest, BadRecordsAreDroppedOrRefused) {
  LogCapture log;
  shared::TTabLines store;
  store.Lines = {"[Input A>", "2\t1.5", "3", "", "9\t0.5\t2"};
  for (int i = 0; i < 11; ++i) store.Lines.push_back("0\t0.25\t1");
  store.Lines.push_back("<Input A]");
  TInputFunction function;
  function.Letter = "A";
  function.ReadTabLines(store);
  // "2 1.5": a dwell of 1.5 s; "3" and the empty line have no duration; the twelfth usable line
  // finds the function full, and the rest is passed over with one warning.
  ASSERT_EQ(function.Count(), 11);
  EXPECT_EQ(function.Section(0)->Law(), 2);
  EXPECT_EQ(function.Section(0)->Displacement(), 0.0);
  EXPECT_EQ(function.Section(1)->Law(), 9);
  EXPECT_DOUBLE_EQ(function.TotalTime(), 1.5 + 0.5 + 9 * 0.25);
  EXPECT_NEAR(function.ValueOfStep(90), 2.0 + 9.0, 1e-12);
  ASSERT_EQ(log.sink.lines.size(), 3u);
  EXPECT_EQ(log.sink.lines[2], "[Warning] Input A holds more than 11 sections; the rest was not read.");
  for (double v : function.Table()) EXPECT_TRUE(std::isfinite(v));

  // Bad records stop being tried after as many as a law holds: a long run of them gives eleven
  // warnings and the one for the rest, not one per line.
  log.sink.lines.clear();
  store.Lines = {"[Input A>"};
  for (int i = 0; i < 5000; ++i) store.Lines.push_back("0\t0");
  store.Lines.push_back("1\t2\t3");
  store.Lines.push_back("<Input A]");
  function.ReadTabLines(store);
  EXPECT_EQ(function.Count(), 0);
  ASSERT_EQ(log.sink.lines.size(), 12u);
  EXPECT_EQ(log.sink.lines[11], "[Warning] Input A has more bad records than 11 sections; the rest was not read.");
}

TEST(InputFunctionReportTest, TextsAndHtmlTableInDisplayUnits) {
  shared::CreateConvert();  // metric engineering: degrees and seconds, three decimals
  TInputFunction function;
  function.Letter = "A";
  function.AddSection(9, 0.25, -kPi / 2.0);
  EXPECT_EQ(function.DisplacementText(0), "360.000");
  EXPECT_EQ(function.DurationText(1), "0.250");
  EXPECT_EQ(function.DisplacementText(1), "-90.000");
  EXPECT_EQ(function.DisplacementText(2), "");
  EXPECT_EQ(function.DurationText(-1), "");
  std::ostringstream html;
  function.WriteHTML(html);
  EXPECT_EQ(html.str(),
            "<table border=\"2\" bordercolor=\"#000000\" width=\"100%\">\r\n"
            "<tr><td colspan=\"4\" bgcolor=\"#FFFFCC\" width=\"100%\">"
            "<font face=\"Arial\" size=\"4\">Input A</font></td></tr>\r\n"
            "<tr><td width=\"10%\">Nr</td>\r\n"
            "<td width=\"30%\">Function</td>\r\n"
            "<td width=\"30%\">Time [s]</td>\r\n"
            "<td width=\"30%\">Displacement [\xB0]</td></tr>\r\n"
            "<tr><td>0</td>\r\n<td>Constant Velocity</td>\r\n<td>1.000</td>\r\n<td>360.000</td></tr>\r\n"
            "<tr><td>1</td>\r\n<td></td>\r\n<td>0.250</td>\r\n<td>-90.000</td></tr>\r\n"
            "</table>\r\n<p></p>\r\n");
  shared::FreeConvert();
}

}  // namespace
