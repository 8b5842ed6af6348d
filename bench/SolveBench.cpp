// Cost of one full solution (positions, centres, kinematics) of the default four-bar and of the
// largest preset, the eight-bar, at a coarse and a fine step count, with the heap allocations a
// solution makes; and of one pass of the curve-fitting optimiser on the default four-bar.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <new>

#include "animator/engine/AniMechanism.h"
#include "animator/engine/MechOptimize.h"

namespace {

// Every allocation of the process is counted; the benchmarks read the count around their loops.
long long gAllocations = 0;

}  // namespace

namespace {

// Out of line, so that the compiler does not pair the free with an inlined new.
[[gnu::noinline]] void* Allocate(std::size_t size) {
  ++gAllocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
[[gnu::noinline]] void Release(void* p) noexcept { std::free(p); }

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }

namespace {

// Eight-bar: eleven joints, eight links, three dyads.
constexpr int kEightBar = 6;

void Solve(benchmark::State& state, int type) {
  quillon::TAniMechanism mechanism;
  mechanism.NewMechanism(type);
  mechanism.SetPositionCount(static_cast<int32_t>(state.range(0)));
  // The first solution may size what later ones reuse.
  mechanism.Calculate();
  const long long before = gAllocations;
  for (auto _ : state) {
    mechanism.Calculate();
    benchmark::DoNotOptimize(mechanism.Len);
    benchmark::ClobberMemory();
  }
  const long long allocations = gAllocations - before;
  if (mechanism.Len != mechanism.N) state.SkipWithError("the preset did not solve its whole cycle");
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.counters["solves/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["allocs/solve"] =
      benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
}

void BM_SolveFourBar(benchmark::State& state) { Solve(state, 0); }
void BM_SolveEightBar(benchmark::State& state) { Solve(state, kEightBar); }

BENCHMARK(BM_SolveFourBar)->Arg(120)->Arg(3600)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SolveEightBar)->Arg(120)->Arg(3600)->Unit(benchmark::kMicrosecond);

// The default four-bar, a target curve through its tracer's positions at every sixth step of the
// first two thirds of the cycle, and the tracer moved 14 mm off it with every joint free.
void Displace(quillon::TAniMechanism& m) {
  m.NewMechanism(0);
  m.Calculate();
  const int32_t last = 2 * m.N / 3;
  for (int32_t k = 0; k <= last; k += 6)
    m.Curve.Point(m.Curve.NewPoint()).SetXY(m.Tracer->Positions[k].X, m.Tracer->Positions[k].Y);
  m.Curve.Rebuild();
  m.Tracer->Positions[0].X += 0.01;
  m.Tracer->Positions[0].Y -= 0.01;
}

// One pass at a time of runs started afresh whenever one is done.
void BM_OptimizePass(benchmark::State& state) {
  quillon::TAniMechanism mechanism;
  Displace(mechanism);
  mechanism.SetPositionCount(static_cast<int32_t>(state.range(0)));
  quillon::TMechOptimize optimizer;
  optimizer.Start(mechanism);
  long long passes = 0, solves = 0, runs = 1, allocations = 0;
  for (auto _ : state) {
    if (optimizer.Done) {
      state.PauseTiming();
      Displace(mechanism);
      mechanism.SetPositionCount(static_cast<int32_t>(state.range(0)));
      optimizer.Start(mechanism);
      ++runs;
      state.ResumeTiming();
    }
    const int64_t start = optimizer.Solves;
    const long long heap = gAllocations;
    optimizer.Iterate();
    allocations += gAllocations - heap;
    solves += optimizer.Solves - start;
    ++passes;
  }
  state.counters["solves/pass"] = static_cast<double>(solves) / static_cast<double>(passes);
  state.counters["passes/run"] = static_cast<double>(passes) / static_cast<double>(runs);
  state.counters["allocs/pass"] =
      benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
}

BENCHMARK(BM_OptimizePass)->Arg(90)->Arg(120)->Unit(benchmark::kMicrosecond);

}  // namespace
