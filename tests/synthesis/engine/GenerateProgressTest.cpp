// Generation progress under a hand-driven clock: when the bar and label move, what the label
// says, the end of a run and a paused run.
#include "synthesis/engine/GenerateProgress.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vesk {
namespace {

struct TFakePanel : TProgressPanel {
  void Show() override { Visible = true; }
  void Hide() override { Visible = false; }
  void SetBarPosition(int position) override { Bar.push_back(position); }
  void SetRemainingText(const std::string& text) override { Label = text; }

  bool Visible = false;
  std::vector<int> Bar;  // every position set
  std::string Label = "Not Active";
};

struct TProgressFixture {
  explicit TProgressFixture(int32_t budget) : Budget(budget) {}

  void Steps(int n) {
    for (int i = 0; i < n; ++i) progress.Step();
  }

  int32_t Budget;
  double Now = 1000;
  TFakePanel panel;
  TGenerateProgress progress{panel, [this] { return Budget; }, [this] { return Now; }};
};

TEST(GenerateProgress, ResetEstimatesWithoutComputingATime) {
  TProgressFixture f(80000);
  f.Now = 5000;
  f.progress.Reset();
  EXPECT_EQ(f.panel.Label, "Estimating Time...");
  EXPECT_EQ(f.panel.Bar, std::vector<int>{0});
  EXPECT_EQ(f.progress.Remaining, 0);
  EXPECT_EQ(f.progress.StartTime, 5000);
}

TEST(GenerateProgress, BarMovesOnlyAfterMoreThanATenthOfAPercent) {
  // 80000 candidates: a tenth of a percent is 80 of them.
  TProgressFixture f(80000);
  f.progress.Reset();
  f.progress.Start();
  f.panel.Bar.clear();
  f.Steps(80);
  EXPECT_TRUE(f.panel.Bar.empty());
  f.Steps(1);
  EXPECT_EQ(f.panel.Bar.size(), 1u);
  EXPECT_EQ(f.progress.LastPercent, 81 * 100.0 / 80000);
  f.Steps(80);
  EXPECT_EQ(f.panel.Bar.size(), 1u);
  f.Steps(1);
  EXPECT_EQ(f.panel.Bar.size(), 2u);

  // Half-way the bar reads 50, rounded from the percentage at its last move.
  f.Steps(40000 - 162);
  ASSERT_FALSE(f.panel.Bar.empty());
  EXPECT_EQ(f.panel.Bar.back(), 50);

  // The label waits for the same move: time passing alone changes nothing.
  const std::string label = f.panel.Label;
  f.Now += 600;
  f.Steps(1);
  EXPECT_EQ(f.panel.Label, label);
  f.Steps(80);
  EXPECT_NE(f.panel.Label, label);
}

struct TRemainingCase {
  double remaining;  // seconds the estimate should come to
  const char* label;
};

class RemainingLabel : public ::testing::TestWithParam<TRemainingCase> {};

// 500 candidates: every one moves the bar by 0.2 %. With 100 made, the remaining 400 take
// 400 / 100 x 1.05 = 4.2 times the elapsed time.
TEST_P(RemainingLabel, ShowsAllMinutesAndWholeSeconds) {
  TProgressFixture f(500);
  f.progress.Reset();
  f.progress.Start();
  f.Steps(99);
  f.Now += GetParam().remaining / 4.2;
  f.Steps(1);
  EXPECT_NEAR(f.progress.Remaining, GetParam().remaining, 1e-6);
  EXPECT_EQ(f.panel.Label, GetParam().label);
}

INSTANTIATE_TEST_SUITE_P(Cases, RemainingLabel,
                         ::testing::Values(TRemainingCase{567, "Time Remaining 9:27 min "},
                                           TRemainingCase{59.4, "Time Remaining 0:59 min "},
                                           TRemainingCase{3599.9999, "Time Remaining 60:00 min "},
                                           TRemainingCase{4500, "Time Remaining 75:00 min "},
                                           TRemainingCase{2 * 3600 + 3 * 60 + 4, "Time Remaining 123:04 min "}));

TEST(GenerateProgress, EstimatesUpToFourPercent) {
  TProgressFixture f(500);
  f.progress.Reset();
  f.progress.Start();
  for (int count = 1; count <= 30; ++count) {
    f.Now += 1;
    f.progress.Step();
    const bool estimating = count * 100.0 / 500 <= 4;
    EXPECT_EQ(f.panel.Label.rfind(estimating ? "Estimating Time..." : "Time Remaining ", 0), 0u)
        << count << " " << f.panel.Label;
  }
}

TEST(GenerateProgress, DoneAfterBudgetPlusOneCandidates) {
  TProgressFixture f(1000);
  f.progress.Reset();
  f.progress.Start();
  f.Steps(1000);
  EXPECT_FALSE(f.progress.IsDone());
  f.Steps(1);
  EXPECT_TRUE(f.progress.IsDone());
  EXPECT_EQ(f.panel.Bar.back(), 100);
  EXPECT_EQ(f.panel.Label, "Time Remaining 0:00 min ");
}

TEST(GenerateProgress, PausedRunKeepsCountBudgetAndLeavesOutThePause) {
  TProgressFixture f(500);
  f.progress.Reset();
  f.progress.Start();
  EXPECT_TRUE(f.panel.Visible);
  f.Steps(99);
  f.Now += 50;
  f.Steps(1);  // 100 made in 50 s

  f.progress.Hide();
  EXPECT_FALSE(f.panel.Visible);
  f.Budget = 600000;  // changed in the options while paused
  f.Now += 3600;

  f.progress.Start();
  EXPECT_TRUE(f.panel.Visible);
  EXPECT_EQ(f.progress.Count, 100);
  EXPECT_EQ(f.progress.Total, 500);
  f.Steps(99);
  f.Now += 50;
  f.Steps(1);
  // 200 made in 100 s of work: 300 left take 300 x 0.5 s x 1.05 = 157.5 s.
  EXPECT_DOUBLE_EQ(f.progress.Elapsed, 100);
  EXPECT_EQ(f.panel.Label, "Time Remaining 2:37 min ");

  f.progress.Hide();
  f.progress.Reset();
  EXPECT_EQ(f.progress.Total, 600000);
  EXPECT_EQ(f.progress.Count, 0);
  EXPECT_EQ(f.progress.Elapsed, 0);
}

}  // namespace
}  // namespace vesk
