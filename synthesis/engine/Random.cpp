// The mapping of the generator's output to doubles and integers, and the process-wide source.
#include "synthesis/engine/Random.h"

#include <chrono>
#include <cmath>

namespace vesk {

int32_t TRandomSource::Below(int32_t n) { return n <= 0 ? 0 : IntegerOf(Uniform(), n); }

int32_t TRandomSource::IntegerOf(double u, int32_t n) {
  // u < 1 keeps u * n below n after rounding for every int32 n; the bounds only guard a source
  // that breaks its [0, 1) promise (NaN included).
  const double k = std::floor(u * n);
  if (!(k > 0)) return 0;
  return k < n - 1 ? static_cast<int32_t>(k) : n - 1;
}

double TRandom::Uniform() { return static_cast<double>(fEngine() >> 11) * 0x1.0p-53; }

namespace {

TRandom& ProgramGenerator() {
  static TRandom generator;
  return generator;
}

TRandomSource*& Current() {
  static TRandomSource* current = &ProgramGenerator();
  return current;
}

}  // namespace

TRandomSource& Random() { return *Current(); }

void SeedRandom(uint64_t seed) { ProgramGenerator().Seed(seed); }

void SeedRandomFromClock() {
  SeedRandom(static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
}

TRandomScope::TRandomScope(TRandomSource& source) : fPrevious(Current()) { Current() = &source; }

TRandomScope::~TRandomScope() { Current() = fPrevious; }

}  // namespace vesk
