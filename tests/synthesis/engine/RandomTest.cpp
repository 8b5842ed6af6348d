// The random generator: the engine's stream and our mapping to doubles and integers, seeding,
// the process-wide source and its replacement by scripted draws.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <stdexcept>
#include <vector>

#include "synthesis/engine/Random.h"
#include "tests/synthesis/engine/ScriptedRandom.h"

namespace {

using vesk::TRandom;
using vesk::TRandomSource;
using vesk::test::TScriptedRandom;

// 2^-53: the spacing of the doubles the generator gives.
constexpr double kStep = 1.0 / 9007199254740992.0;

TEST(RandomTest, GivesTheSameDoublesForASeedOnEveryLibrary) {
  // The C++ standard fixes the 10000th output of a default-seeded mt19937_64; with our mapping
  // the 10000th double is its top 53 bits over 2^53.
  TRandom generator;
  for (int i = 1; i < 10000; ++i) generator.Uniform();
  EXPECT_EQ(generator.Uniform(), static_cast<double>(9981545732273789042ull >> 11) * kStep);

  // Reseeding repeats the stream; another seed gives another one.
  TRandom a(2024), b(7);
  std::vector<double> first;
  for (int i = 0; i < 5; ++i) first.push_back(a.Uniform());
  a.Seed(2024);
  b.Seed(2024);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(a.Uniform(), first[i]);
    EXPECT_EQ(b.Uniform(), first[i]);
  }
  TRandom c(2025);
  EXPECT_NE(c.Uniform(), first[0]);
}

TEST(RandomTest, DoublesStayInTheHalfOpenUnitInterval) {
  TRandom generator(99);
  double low = 1, high = 0, sum = 0;
  const int count = 100000;
  for (int i = 0; i < count; ++i) {
    const double u = generator.Uniform();
    ASSERT_GE(u, 0);
    ASSERT_LT(u, 1);
    // A multiple of 2^-53: nothing below the 53 bits is made up.
    ASSERT_EQ(std::fmod(u / kStep, 1.0), 0);
    low = std::min(low, u);
    high = std::max(high, u);
    sum += u;
  }
  EXPECT_LT(low, 1e-3);
  EXPECT_GT(high, 1 - 1e-3);
  // The mean of 100000 uniform draws lies within 0.5 +- 5 standard errors (0.0009 each).
  EXPECT_NEAR(sum / count, 0.5, 0.005);
}

TEST(RandomTest, IntegersAreTheFloorOfTheDrawTimesTheRange) {
  struct Case {
    double u;
    int32_t n;
    int32_t k;
  };
  const double lastBelowOne = 1 - kStep;
  const Case cases[] = {
      {0, 1, 0},
      {lastBelowOne, 1, 0},
      {0, 12345678, 0},
      {lastBelowOne, 12345678, 12345677},
      {lastBelowOne, 2147483647, 2147483646},
      {0.5, 2, 1},
      {0.5 - kStep, 2, 0},
      {0.2, 5, 1},  // 0.2 is stored a little above 1/5
      {0.39, 10, 3},
      {0.999, 9, 8},
  };
  for (const Case& c : cases) {
    TScriptedRandom source{c.u};
    EXPECT_EQ(source.Below(c.n), c.k) << c.u << " of " << c.n;
    EXPECT_EQ(TRandomSource::IntegerOf(c.u, c.n), c.k) << c.u << " of " << c.n;
    EXPECT_EQ(source.Taken(), 1u);
  }
  // An empty or negative range gives 0 and takes no draw.
  TScriptedRandom source{0.75};
  EXPECT_EQ(source.Below(0), 0);
  EXPECT_EQ(source.Below(-3), 0);
  EXPECT_EQ(source.Taken(), 0u);
  // A source that breaks its promise still gives an integer in range.
  EXPECT_EQ(TRandomSource::IntegerOf(1.0, 4), 3);
  EXPECT_EQ(TRandomSource::IntegerOf(-0.1, 4), 0);
  EXPECT_EQ(TRandomSource::IntegerOf(std::nan(""), 4), 0);
}

TEST(RandomTest, IntegersOfTheGeneratorCoverTheRangeEvenly) {
  TRandom generator(5);
  std::vector<int> counts(7, 0);
  for (int i = 0; i < 70000; ++i) {
    const int32_t k = generator.Below(7);
    ASSERT_GE(k, 0);
    ASSERT_LT(k, 7);
    ++counts[k];
  }
  // 10000 expected each, standard deviation about 93.
  for (const int count : counts) EXPECT_NEAR(count, 10000, 500);
}

TEST(RandomTest, ScriptedSourceHandsOutItsDrawsInOrderAndLogsThem) {
  TScriptedRandom source{0.25, 0.5};
  source.AddInteger(3, 8);
  EXPECT_EQ(source.Uniform(), 0.25);
  EXPECT_EQ(source.Below(4), 2);
  EXPECT_EQ(source.Below(8), 3);
  EXPECT_EQ(source.Requests, (std::vector<int32_t>{TScriptedRandom::kUniform, 4, 8}));
  EXPECT_EQ(source.Left(), 0u);
  EXPECT_THROW(source.Uniform(), std::logic_error);
  EXPECT_THROW(source.Below(2), std::logic_error);
  EXPECT_EQ(source.Requests.size(), 3u);
  EXPECT_THROW(source.Add(1.0), std::invalid_argument);
  EXPECT_THROW(source.Add(-0.5), std::invalid_argument);
}

TEST(RandomTest, AScopePutsAnotherSourceInPlaceOfTheProgramsGenerator) {
  vesk::SeedRandom(11);
  TRandom reference(11);
  EXPECT_EQ(vesk::Random().Uniform(), reference.Uniform());
  {
    TScriptedRandom outer{0.125};
    const vesk::TRandomScope outerScope(outer);
    {
      TScriptedRandom inner{0.875};
      const vesk::TRandomScope innerScope(inner);
      EXPECT_EQ(vesk::Random().Uniform(), 0.875);
    }
    EXPECT_EQ(vesk::Random().Uniform(), 0.125);
  }
  // The program's generator goes on where it stood.
  EXPECT_EQ(vesk::Random().Uniform(), reference.Uniform());
  EXPECT_EQ(vesk::Random().Below(1000), reference.Below(1000));

  // The clock gives another start than the fixed seed.
  vesk::SeedRandomFromClock();
  TRandom fixed(11);
  std::vector<double> fromClock, fromSeed;
  for (int i = 0; i < 4; ++i) {
    fromClock.push_back(vesk::Random().Uniform());
    fromSeed.push_back(fixed.Uniform());
  }
  EXPECT_NE(fromClock, fromSeed);
}

}  // namespace
