// The synthesis program's random numbers: uniform doubles in [0, 1) and integers 0..n-1 from one
// process-wide generator, which tests replace by their own source.
#pragma once

#include <cstdint>
#include <random>

namespace vesk {

class TRandomSource {
 public:
  virtual ~TRandomSource() = default;
  // Uniform in [0, 1).
  virtual double Uniform() = 0;
  // IntegerOf(one uniform draw, n): uniform in 0..n-1. 0 for n <= 0, without a draw.
  virtual int32_t Below(int32_t n);

  // floor(u * n) for a draw u in [0, 1) and n > 0, kept within 0..n-1.
  static int32_t IntegerOf(double u, int32_t n);
};

// std::mt19937_64 with a mapping of our own (the library's distributions differ between
// libraries, and a seed must give the same candidates everywhere): the top 53 bits of one
// output times 2^-53.
class TRandom final : public TRandomSource {
 public:
  explicit TRandom(uint64_t seed = std::mt19937_64::default_seed) : fEngine(seed) {}
  void Seed(uint64_t seed) { fEngine.seed(seed); }
  double Uniform() override;

 private:
  std::mt19937_64 fEngine;
};

// The source that all synthesis code draws from: the program's own TRandom unless a
// TRandomScope has put another in its place.
TRandomSource& Random();
// Seed the program's own generator; the main window seeds it from the clock when it is created.
void SeedRandom(uint64_t seed);
void SeedRandomFromClock();

// Puts a source in place of the current one for its lifetime; scopes nest.
class TRandomScope {
 public:
  explicit TRandomScope(TRandomSource& source);
  ~TRandomScope();
  TRandomScope(const TRandomScope&) = delete;
  TRandomScope& operator=(const TRandomScope&) = delete;

 private:
  TRandomSource* fPrevious;
};

}  // namespace vesk
