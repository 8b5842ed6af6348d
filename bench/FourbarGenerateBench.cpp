// Candidate generation of the four-bar and every other chain type on one core (default options,
// the test curve, a fixed seed): candidates per second, the share of valid ones, and heap allocations per candidate;
// and the cost and allocations of one sweep of the user's optimiser.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

#include "synthesis/engine/CMatrix.h"
#include "synthesis/engine/Eightbar.h"
#include "synthesis/engine/FiveBar.h"
#include "synthesis/engine/Fourbar.h"
#include "synthesis/engine/InputFunction.h"
#include "synthesis/engine/MechOptimize.h"
#include "synthesis/engine/Random.h"
#include "synthesis/engine/SixBar.h"
#include "synthesis/engine/Slider.h"
#include "synthesis/engine/Spline.h"

namespace {
std::atomic<long long> gAllocations{0};
}  // namespace

// Every heap allocation of the process is counted. The replacements pair malloc with free, which
// GCC cannot see through the replaced operators.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
  ++gAllocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

// The coupler path of a crank-rocker (ground 1, crank 0.3, coupler 0.9, rocker 0.8), as the
// tests use it.
void FillCurve(vesk::TSpline& curve) {
  const double xy[13][2] = {{0.863768221, 0.005722727}, {0.845262319, 0.010239643}, {0.821343882, 0.014989800},
                            {0.792727415, 0.019956131}, {0.760172590, 0.024885999}, {0.724433964, 0.029370520},
                            {0.686238478, 0.032924822}, {0.646281243, 0.035054604}, {0.605230085, 0.035304690},
                            {0.563732185, 0.033291115}, {0.522419187, 0.028720371}, {0.481909334, 0.021399548},
                            {0.442806413, 0.011240277}};
  for (const auto& p : xy) curve.Add(std::make_unique<vesk::TPrePoint>(p[0], p[1]));
  curve.Recalc();
}

void Setup() {
  vesk::CreateCMatrix();
  vesk::CreateDefaultInputFunction();
}

template <typename TChain>
void BM_Generate(benchmark::State& state) {
  Setup();
  vesk::TSpline curve;
  FillCurve(curve);
  vesk::TRandom random(12345);
  vesk::TRandomScope scope(random);
  TChain m;
  // The first candidates fill the reused lists once.
  for (int i = 0; i < 2000; ++i) m.Generate(curve, nullptr, nullptr);
  long long valid = 0;
  const long long before = gAllocations;
  for (auto _ : state) {
    m.Generate(curve, nullptr, nullptr);
    valid += m.Error.Valid;
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["candidates/s"] = benchmark::Counter(n, benchmark::Counter::kIsRate);
  state.counters["valid%"] = 100.0 * static_cast<double>(valid) / n;
  state.counters["allocs/candidate"] = static_cast<double>(gAllocations - before) / n;
}
// The four-bar's name stays for comparison with earlier runs.
void BM_FourbarGenerate(benchmark::State& state) { BM_Generate<vesk::TFourbar>(state); }
BENCHMARK(BM_FourbarGenerate);
BENCHMARK(BM_Generate<vesk::TEightbar>)->Name("BM_EightbarGenerate");
BENCHMARK(BM_Generate<vesk::TSlider>)->Name("BM_SliderGenerate");
BENCHMARK(BM_Generate<vesk::TFiveBar>)->Name("BM_FiveBarGenerate");
BENCHMARK(BM_Generate<vesk::TSixBarW1>)->Name("Watt1Generate");
BENCHMARK(BM_Generate<vesk::TSixBarW2>)->Name("Watt2Generate");
BENCHMARK(BM_Generate<vesk::TSixBarS1>)->Name("Stephenson1Generate");
BENCHMARK(BM_Generate<vesk::TSixBarS3>)->Name("Stephenson3Generate");

void BM_MechOptimizeSweep(benchmark::State& state) {
  Setup();
  vesk::TSpline curve;
  FillCurve(curve);
  vesk::TRandom random(12345);
  vesk::TRandomScope scope(random);
  vesk::TFourbar m;
  do m.Generate(curve, nullptr, nullptr);
  while (!m.Error.Valid);
  vesk::TMechOptimize o;
  o.Mechanism = &m;
  o.Curve = &curve;
  o.Start();
  // A search that has ended keeps sweeping over the same rotations: the cost stays a sweep's.
  o.Iterate();
  const long long before = gAllocations;
  for (auto _ : state) o.Iterate();
  const double n = static_cast<double>(state.iterations());
  state.counters["sweeps/s"] = benchmark::Counter(n, benchmark::Counter::kIsRate);
  state.counters["allocs/sweep"] = static_cast<double>(gAllocations - before) / n;
}
BENCHMARK(BM_MechOptimizeSweep);

}  // namespace
