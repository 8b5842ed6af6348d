// TGenerateProgress: counts the candidates of a generation run against the search budget, drives
// the progress panel's bar and remaining-time label and tells when the run is complete.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace vesk {

// The main window's progress panel: a bar of 0..100 and the remaining-time label.
class TProgressPanel {
 public:
  virtual ~TProgressPanel() = default;
  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual void SetBarPosition(int position) = 0;
  // Windows-1252.
  virtual void SetRemainingText(const std::string& text) = 0;
};

class TGenerateProgress {
 public:
  // Seconds on a clock that never goes back (time of day would jump at midnight).
  using TClock = std::function<double()>;
  // The budget of the chosen search level, read when a run begins.
  using TBudget = std::function<int32_t()>;

  static TClock SteadyClock();

  TGenerateProgress(TProgressPanel& panel, TBudget budget, TClock clock = SteadyClock());

  // Times in seconds.
  double StartTime = 0;
  double Elapsed = 0;
  double Remaining = 0;
  double LastPercent = 0;
  int32_t Count = 0;
  int32_t Total = 0;

  // A fresh run: count 0, budget re-read, bar 0, times 0.
  void Reset();
  // Shows the panel and times from now; a paused run continues with its count and budget.
  void Start();
  // One more candidate.
  void Step();
  // The run made budget + 1 candidates.
  bool IsDone() const { return Count > Total; }
  // Pauses: the count and the time so far stay for the next Start.
  void Hide();

  // "n:ss": all minutes, hours included, and the whole seconds.
  static std::string RemainingText(double seconds);

 private:
  void UpdateDisplay();

  TProgressPanel& FPanel;
  TBudget FBudget;
  TClock FClock;
};

}  // namespace vesk
