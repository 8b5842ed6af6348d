// TScriptedRandom: a random source that hands out scripted uniform draws in order and logs what
// each draw was asked for, for tests of the synthesis code's random choices.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

#include "synthesis/engine/Random.h"

namespace vesk::test {

class TScriptedRandom : public TRandomSource {
 public:
  // What a draw was for in Requests: a uniform double, or an integer below n (n > 0).
  static constexpr int32_t kUniform = 0;

  TScriptedRandom() = default;
  TScriptedRandom(std::initializer_list<double> draws) {
    for (const double u : draws) Add(u);
  }

  // A draw outside [0, 1) is a fault of the test's script.
  void Add(double u) {
    if (!(u >= 0 && u < 1))
      throw std::invalid_argument("A scripted draw must lie in [0, 1): " + std::to_string(u));
    fDraws.push_back(u);
  }

  // A draw that Below(n) maps to k (0 <= k < n).
  void AddInteger(int32_t k, int32_t n) { Add((k + 0.5) / n); }

  double Uniform() override {
    const double u = Next();
    Requests.push_back(kUniform);
    return u;
  }

  int32_t Below(int32_t n) override {
    if (n <= 0) return TRandomSource::Below(n);
    const double u = Next();
    Requests.push_back(n);
    return IntegerOf(u, n);
  }

  size_t Taken() const { return fNext; }
  size_t Left() const { return fDraws.size() - fNext; }

  // One entry per draw taken, in order: kUniform or the n of Below(n).
  std::vector<int32_t> Requests;

 private:
  double Next() {
    if (fNext == fDraws.size())
      throw std::logic_error("The code drew more than the " + std::to_string(fDraws.size()) +
                             " scripted draws.");
    return fDraws[fNext++];
  }

  std::vector<double> fDraws;
  size_t fNext = 0;
};

}  // namespace vesk::test
