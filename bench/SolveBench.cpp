// Cost of one full solution (positions, centres, kinematics) of the default four-bar and of the
// largest preset, the eight-bar, at a coarse and a fine step count.
#include <benchmark/benchmark.h>

#include "animator/engine/AniMechanism.h"

namespace {

// Eight-bar: eleven joints, eight links, three dyads.
constexpr int kEightBar = 6;

void Solve(benchmark::State& state, int type) {
  quillon::TAniMechanism mechanism;
  mechanism.NewMechanism(type);
  mechanism.SetPositionCount(static_cast<int32_t>(state.range(0)));
  for (auto _ : state) {
    mechanism.Calculate();
    benchmark::DoNotOptimize(mechanism.Len);
    benchmark::ClobberMemory();
  }
  if (mechanism.Len != mechanism.N) state.SkipWithError("the preset did not solve its whole cycle");
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.counters["solves/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_SolveFourBar(benchmark::State& state) { Solve(state, 0); }
void BM_SolveEightBar(benchmark::State& state) { Solve(state, kEightBar); }

BENCHMARK(BM_SolveFourBar)->Arg(120)->Arg(3600)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SolveEightBar)->Arg(120)->Arg(3600)->Unit(benchmark::kMicrosecond);

}  // namespace
