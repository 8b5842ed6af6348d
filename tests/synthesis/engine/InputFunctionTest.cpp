// The synthesis input function: the four laws at every step against their normalised forms,
// inversion, stepping, the "[InputFunction]" record and the refusal of unusable records.
#include "synthesis/engine/InputFunction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <sstream>
#include <stdexcept>

#include "tests/synthesis/engine/RecordText.h"

using namespace vesk;
using vesktest::Lines;
using vesktest::ReadError;

namespace {

constexpr double kPi = std::numbers::pi;

std::string Written(TInputFunction& f) {
  std::ostringstream out;
  f.Write(out);
  return out.str();
}

struct Law {
  double x, v, a;
};

// The laws in the normalised time tau = t / T: S times a shape of tau, its derivatives divided by
// T and T squared.
Law Expected(int type, double t, double T, double S) {
  const double u = t / T;
  switch (type) {
    case 0:
      return {S * u, S / T, 0};
    case 1:
      return {S * u * u, 2 * S * u / T, 2 * S / (T * T)};
    case 2:
      return {S * (10 * u * u * u - 15 * std::pow(u, 4) + 6 * std::pow(u, 5)),
              S / T * (30 * u * u - 60 * u * u * u + 30 * std::pow(u, 4)),
              S / (T * T) * (60 * u - 180 * u * u + 120 * u * u * u)};
    default:
      return {S * (u - std::sin(2 * kPi * u) / (2 * kPi)), S / T * (1 - std::cos(2 * kPi * u)),
              2 * kPi * S / (T * T) * std::sin(2 * kPi * u)};
  }
}

TEST(SynthInputFunctionTest, DefaultsAndTheirRecord) {
  TInputFunction f;
  EXPECT_FALSE(f.Changed);
  EXPECT_EQ(f.Position(0.5), 0.5);
  EXPECT_DOUBLE_EQ(f.TimeOfStep(120), 1.0);
  EXPECT_EQ(Written(f), Lines({"[InputFunction]", " 1.00000000000000E+0000 Tmax",
                               " 1.00000000000000E+0000 Xmax", "120 Steps", "0 Function Type"}));
}

TEST(SynthInputFunctionTest, EveryLawAtEveryStepMatchesItsFormula) {
  const struct {
    double T, S;
    int steps;
  } setups[] = {{1, 1, 120}, {2.5, 3, 50}, {0.4, -2 * kPi, 7}};
  for (const auto& s : setups) {
    for (int type : {0, 1, 2, 3}) {
      TInputFunction f;
      f.SetTmax(s.T);
      f.SetXmax(s.S);
      f.SetSteps(s.steps);
      f.SetFunctionType(uint8_t(type));
      EXPECT_TRUE(f.Changed);
      const double tol = 1e-12 * std::fabs(s.S) / (s.T * s.T) * 100;
      for (int i = 0; i <= s.steps; ++i) {
        const double t = i * s.T / s.steps;
        const Law e = Expected(type, t, s.T, s.S);
        EXPECT_NEAR(f.PositionOfStep(i), e.x, tol) << type << " step " << i;
        EXPECT_NEAR(f.VelocityOfStep(i), e.v, tol) << type << " step " << i;
        EXPECT_NEAR(f.AccelerationOfStep(i), e.a, tol) << type << " step " << i;
      }
      EXPECT_NEAR(f.PositionOfStep(s.steps), s.S, tol);  // every law ends at Xmax
      // Times outside the motion are clamped to it.
      EXPECT_EQ(f.Position(-1), f.Position(0));
      EXPECT_EQ(f.Velocity(s.T * 2), f.Velocity(s.T));
      EXPECT_EQ(f.Acceleration(NAN), f.Acceleration(0));
    }
  }
}

TEST(SynthInputFunctionTest, LawsBeyondThreeAreComputedAsCycloidalAndKeptAsWritten) {
  TInputFunction f, cycloidal;
  f.SetFunctionType(7);
  cycloidal.SetFunctionType(kLawCycloidal);
  for (int i = 0; i <= 120; i += 13) EXPECT_EQ(f.PositionOfStep(i), cycloidal.PositionOfStep(i));
  EXPECT_EQ(f.FunctionType(), 7);
  const std::string text = Written(f);
  TInputFunction back;
  std::istringstream in(text);
  back.Read(in);
  EXPECT_EQ(back.FunctionType(), 7);
  EXPECT_EQ(Written(back), text);
}

TEST(SynthInputFunctionTest, TimeOfPositionInvertsEveryLaw) {
  for (int type : {0, 1, 2, 3}) {
    for (const double S : {1.0, 2 * kPi, -0.5}) {
      TInputFunction f;
      f.SetTmax(1.7);
      f.SetXmax(S);
      f.SetFunctionType(uint8_t(type));
      for (int i = 0; i <= 120; ++i) {
        const double t = f.TimeOfStep(i), x = f.Position(t);
        // Where the law comes to rest (the end of laws 2 and 3) Newton converges only linearly and
        // stops on its 1e-6 step a few steps short; the position is reached all the same.
        const double tol = type >= 2 && i == 120 ? 1e-5 : 1e-6;
        EXPECT_NEAR(f.TimeOfPosition(x), t, tol) << type << " " << S << " step " << i;
        EXPECT_NEAR(f.Position(f.TimeOfPosition(x)), x, 1e-10) << type << " " << S << " step " << i;
      }
    }
  }
  TInputFunction f;
  f.SetFunctionType(kLawPolynomial345);
  EXPECT_NEAR(f.TimeOfPosition(0.5), 0.5, 1e-12);  // the law is symmetric
  EXPECT_EQ(f.TimeOfPosition(1), 1.0);
  EXPECT_EQ(f.TimeOfPosition(0), 0.0);
  // Beyond Xmax the first step leaves the motion: it is taken back and the search ends there.
  EXPECT_EQ(f.TimeOfPosition(2), 0.5);
  f.SetFunctionType(kLawCycloidal);
  EXPECT_NEAR(f.Position(f.TimeOfPosition(1e-9)), 1e-9, 1e-12);
}

TEST(SynthInputFunctionTest, StandingInputGivesTimeZero) {
  for (int type : {0, 1, 2, 3}) {
    TInputFunction f;
    f.SetXmax(0);
    f.SetFunctionType(uint8_t(type));
    EXPECT_EQ(f.TimeOfPosition(0), 0.0) << type;
    EXPECT_EQ(f.PositionOfStep(60), 0.0) << type;
  }
}

TEST(SynthInputFunctionTest, SteppingAndIncrements) {
  TInputFunction f;
  f.SetSteps(4);
  f.SetTmax(2);
  f.SetXmax(8);
  f.SetFunctionType(kLawConstantAcceleration);  // positions 0, 0.5, 2, 4.5, 8
  EXPECT_FALSE(f.CanStepBack());
  double sum = 0;
  while (f.CanStepForward()) {
    EXPECT_TRUE(f.StepForward());
    sum += f.CurrentIncrement();
  }
  EXPECT_EQ(f.CurrentStep, 4);
  EXPECT_DOUBLE_EQ(sum, 8);
  EXPECT_DOUBLE_EQ(f.CurrentTime(), 2);
  EXPECT_DOUBLE_EQ(f.CurrentPosition(), 8);
  EXPECT_EQ(f.BackIncrement(), 0);  // beyond the last step the law stands
  f.CurrentStep = 3;
  EXPECT_TRUE(f.StepForward());
  EXPECT_FALSE(f.StepForward());
  EXPECT_EQ(f.CurrentStep, 5);
  f.CurrentStep = 2;
  EXPECT_DOUBLE_EQ(f.StepIncrement(2), 1.5);
  EXPECT_DOUBLE_EQ(f.BackIncrement(), -2.5);
  EXPECT_EQ(f.StepIncrement(0), 0);
  EXPECT_EQ(f.TimeOfStep(-3), 0);
  f.Rewind();
  EXPECT_EQ(f.CurrentStep, 0);
  EXPECT_FALSE(f.StepBack());
  EXPECT_EQ(f.CurrentStep, -1);
  EXPECT_EQ(f.BackIncrement(), 0);
  f.SetSteps(0);
  f.SetSteps(121);
  EXPECT_EQ(f.Steps(), 4);
}

TEST(SynthInputFunctionTest, RecordRoundTripsAndReadResets) {
  TInputFunction f;
  f.SetTmax(0.75);
  f.SetXmax(-2 * kPi);
  f.SetSteps(90);
  f.SetFunctionType(kLawPolynomial345);
  const std::string text = Written(f);
  EXPECT_FALSE(f.Changed);
  TInputFunction back;
  back.CurrentStep = 17;
  std::istringstream in(text);
  back.Read(in);
  EXPECT_EQ(back.CurrentStep, 0);
  EXPECT_FALSE(back.Changed);
  EXPECT_EQ(back.Tmax(), 0.75);
  EXPECT_EQ(back.Steps(), 90);
  EXPECT_DOUBLE_EQ(back.TimeStep(), 0.75 / 90);
  EXPECT_EQ(Written(back), text);
  // Any decimal notation, keys ignored.
  std::istringstream plain(Lines({"[InputFunction]", "2", "0.5 anything", "1", "3"}));
  back.Read(plain);
  EXPECT_EQ(back.Tmax(), 2);
  EXPECT_EQ(back.Steps(), 1);
  EXPECT_EQ(back.FunctionType(), 3);

  TInputFunction copy;
  copy.CurrentStep = 5;
  copy.Assign(f);
  EXPECT_EQ(copy.CurrentStep, 5);
  EXPECT_EQ(Written(copy), text);
}

TEST(SynthInputFunctionTest, UnusableRecordsAreRefusedAndChangeNothing) {
  const std::vector<std::string> bad[] = {
      {"[Mechanism]", "1", "1", "120", "0"},
      {"[InputFunction]", " 0.00000000000000E+0000 Tmax", "1", "120", "0"},
      {"[InputFunction]", "-1", "1", "120", "0"},
      {"[InputFunction]", " NAN", "1", "120", "0"},
      {"[InputFunction]", " INF", "1", "120", "0"},
      {"[InputFunction]", "1", "-INF", "120", "0"},
      {"[InputFunction]", "1", "1", "0 Steps", "0"},
      {"[InputFunction]", "1", "1", "121", "0"},
      {"[InputFunction]", "1", "1", "-120", "0"},
      {"[InputFunction]", "1", "1", "2000000000", "0"},
      {"[InputFunction]", "1", "1", "120", "256"},
      {"[InputFunction]", "1", "1", "120", "-1"},
  };
  for (const auto& lines : bad) {
    TInputFunction f;
    f.SetTmax(3);
    const std::string before = Written(f);
    EXPECT_EQ(ReadError(Lines(lines), [&](std::istream& in) { f.Read(in); }),
              "File read error in TInputFunction!")
        << lines[1] << " " << lines[3];
    EXPECT_EQ(Written(f), before);
  }
  TInputFunction f;
  vesktest::ExpectDamageRefused(
      Written(f), [](std::istream& in) { TInputFunction().Read(in); }, {},
      "File read error in TInputFunction!");
}

TEST(SynthInputFunctionTest, DefaultInstanceLivesBetweenCreateAndFree) {
  CreateDefaultInputFunction();
  DefaultInputFunction().SetTmax(4);
  EXPECT_EQ(DefaultInputFunction().Tmax(), 4);
  FreeDefaultInputFunction();
  EXPECT_THROW(DefaultInputFunction(), std::logic_error);
}

}  // namespace
