// The program-wide options: defaults at start and after a reset, and the interval and budget of
// each speed and search level, including damaged levels.
#include <gtest/gtest.h>

#include "synthesis/engine/AppOptions.h"

namespace {

using vesk::AppOptions;

TEST(AppOptionsTest, HoldsTheDefaultsAtStartAndAfterAReset) {
  const auto check = [] {
    EXPECT_EQ(AppOptions.Speed, 1);
    EXPECT_EQ(AppOptions.AnimationInterval(), 88);
    EXPECT_FALSE(AppOptions.ShowInstantCenters);
    EXPECT_FALSE(AppOptions.CurvePointFlag);
    EXPECT_TRUE(AppOptions.ShowGraph);
    EXPECT_TRUE(AppOptions.ShowList);
    EXPECT_TRUE(AppOptions.ZoomAllOnSelect);
    EXPECT_FALSE(AppOptions.IsPolar);
    EXPECT_FALSE(AppOptions.ShowOutputLinkDrawing);
    EXPECT_FALSE(AppOptions.ShowGroundDrawing);
    EXPECT_TRUE(AppOptions.XIsTime);
    EXPECT_EQ(AppOptions.Search, 1);
    EXPECT_EQ(AppOptions.SearchBudget(), 200000);
  };
  check();
  AppOptions.Speed = 2;
  AppOptions.IsPolar = true;
  AppOptions.ShowGraph = false;
  AppOptions.Search = 0;
  AppOptions.SearchBudgets[1] = 5;
  vesk::ResetAppOptions();
  check();
}

TEST(AppOptionsTest, GivesTheIntervalAndBudgetOfEachLevel) {
  struct Case {
    int32_t level;
    int32_t interval;  // ms
    int32_t budget;    // candidates
  };
  const Case cases[] = {
      {0, 180, 80000},
      {1, 88, 200000},
      {2, 42, 600000},
      // A damaged setting counts as the middle level.
      {3, 88, 200000},
      {-1, 88, 200000},
      {1000000, 88, 200000},
  };
  vesk::TAppOptions options;
  for (const Case& c : cases) {
    options.Speed = c.level;
    options.Search = c.level;
    EXPECT_EQ(options.AnimationInterval(), c.interval) << c.level;
    EXPECT_EQ(options.SearchBudget(), c.budget) << c.level;
  }
}

}  // namespace
