// Progress of a generation run: percentage, bar position and the remaining-time estimate.
#include "synthesis/engine/GenerateProgress.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

namespace vesk {

TGenerateProgress::TClock TGenerateProgress::SteadyClock() {
  return [] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
  };
}

TGenerateProgress::TGenerateProgress(TProgressPanel& panel, TBudget budget, TClock clock)
    : FPanel(panel), FBudget(std::move(budget)), FClock(std::move(clock)) {
  Total = FBudget();
}

void TGenerateProgress::Reset() {
  Count = 0;
  Total = FBudget();
  FPanel.SetBarPosition(0);
  LastPercent = 0;
  Elapsed = 0;
  Remaining = 0;
  StartTime = FClock();
  UpdateDisplay();
}

void TGenerateProgress::Start() {
  if (Count == 0) Total = FBudget();
  UpdateDisplay();
  StartTime = FClock();
  FPanel.Show();
}

void TGenerateProgress::Step() {
  ++Count;
  UpdateDisplay();
}

void TGenerateProgress::Hide() { FPanel.Hide(); }

std::string TGenerateProgress::RemainingText(double seconds) {
  // Whole milliseconds first, so that 59.9999 s reads as a minute.
  const long long ms = std::isfinite(seconds) && seconds > 0 ? std::llround(std::min(seconds, 1e12) * 1000) : 0;
  const long long whole = ms / 1000;
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
  return text;
}

void TGenerateProgress::UpdateDisplay() {
  const double percent = Total > 0 ? Count * 100.0 / Total : 100.0;
  if (std::fabs(percent - LastPercent) > 0.1 && Count > 0) {
    LastPercent = percent;
    FPanel.SetBarPosition(int(std::lround(std::min(percent, 100.0))));
    const double now = FClock();
    Elapsed += now - StartTime;
    StartTime = now;
    Remaining = std::max(0, Total - Count) * Elapsed * 1.05 / Count;
    FPanel.SetRemainingText("Time Remaining " + RemainingText(Remaining) + " min ");
  }
  if (percent <= 4) FPanel.SetRemainingText("Estimating Time...");
}

}  // namespace vesk
