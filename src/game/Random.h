// The game's random numbers: the same on every machine for the same seed, so that scripted runs
// of the headless runner repeat.
#pragma once

#include <cstdint>

// Seeds the random generator from the platform clock (virtual in the headless runner, so
// scripted runs draw the same numbers every time).
void Randomize();
// Seeds the random generator with a given value; Randomize uses the clock reading.
void SeedRandom(uint64_t seed);
// A non-negative 31-bit pseudo-random value modulo n; 0 when n is 0 or negative.
int32_t Random(int32_t n);
