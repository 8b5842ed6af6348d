// Cost of one use of the complex linear solver as dyad synthesis makes it millions of times per
// generation run: set the order, clear, fill, solve; orders 2 (a dyad), 3, 4 (two dyads) and 6.
#include <benchmark/benchmark.h>

#include <cmath>

#include "synthesis/engine/CMatrix.h"

namespace {

void BM_CMatrixSolve(benchmark::State& state) {
  const auto order = static_cast<int32_t>(state.range(0));
  vesk::TCMatrix m(6);
  double shift = 0;
  for (auto _ : state) {
    m.SetOrder(order);
    m.Clear();
    for (int32_t i = 1; i <= order; ++i) {
      m.B(i).SetXY(i, -shift);
      for (int32_t j = 1; j <= order; ++j) m.A(i, j).SetXY(std::cos(i * j + shift), std::sin(i + j * shift));
    }
    if (!m.Solve()) state.SkipWithError("singular system");
    benchmark::DoNotOptimize(m.B(1).X);
    shift += 1e-3;
  }
  state.counters["solves/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_CMatrixSolve)->Arg(2)->Arg(3)->Arg(4)->Arg(6);

}  // namespace
