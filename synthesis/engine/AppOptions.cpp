// The program-wide options record and its defaults.
#include "synthesis/engine/AppOptions.h"

#include <cstddef>

namespace vesk {

namespace {
std::size_t LevelIndex(int32_t level) {
  return level >= 0 && level <= 2 ? static_cast<std::size_t>(level) : 1;
}
}  // namespace

int32_t TAppOptions::AnimationInterval() const { return AnimationIntervals[LevelIndex(Speed)]; }

int32_t TAppOptions::SearchBudget() const { return SearchBudgets[LevelIndex(Search)]; }

TAppOptions AppOptions;

void ResetAppOptions() { AppOptions = TAppOptions{}; }

}  // namespace vesk
