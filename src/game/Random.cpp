#include "game/Random.h"

#include "platform/Platform.h"

namespace {

// SplitMix64: a small generator with a full 2^64 period whose output is the same on every
// machine. Before any seeding it starts from zero, so even that sequence repeats.
uint64_t RandomState = 0;

uint64_t NextRandom() {
  RandomState += 0x9E3779B97F4A7C15ull;
  uint64_t z = RandomState;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

}  // namespace

void Randomize() { SeedRandom(platform::Current().NowNanoseconds()); }

void SeedRandom(uint64_t seed) { RandomState = seed; }

int32_t Random(int32_t n) {
  const uint64_t value = NextRandom() >> 33;  // 31 bits, never negative
  if (n <= 0) return 0;
  return static_cast<int32_t>(value % static_cast<uint64_t>(n));
}
