// A small seeded random generator with its own distributions, so that every build of the
// generator draws the same numbers (the standard distributions differ between libraries).
#pragma once

#include <cstdint>
#include <initializer_list>

namespace sounds {

class TRng {
 public:
  explicit TRng(uint64_t seed) : State(seed * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull) {}

  // SplitMix64: tiny, fast and well distributed.
  uint64_t Next() {
    uint64_t z = (State += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Uniform in [0, 1).
  double Uniform() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
  // Uniform in [-1, 1).
  double Signed() { return Uniform() * 2.0 - 1.0; }
  // Uniform integer in [0, n); n must be positive.
  int Below(int n) { return static_cast<int>(Uniform() * n); }
  bool Chance(double p) { return Uniform() < p; }
  // An index chosen with the given relative weights.
  int Weighted(std::initializer_list<double> weights) {
    double total = 0;
    for (double w : weights) total += w;
    double pick = Uniform() * total;
    int index = 0;
    for (double w : weights) {
      if (pick < w) return index;
      pick -= w;
      ++index;
    }
    return index - 1;
  }

 private:
  uint64_t State;
};

}  // namespace sounds
