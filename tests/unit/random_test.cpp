#include "game/Random.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "platform/Platform.h"

namespace {

std::vector<int32_t> Draws(int count, int32_t n) {
  std::vector<int32_t> draws;
  for (int i = 0; i < count; ++i) draws.push_back(Random(n));
  return draws;
}

// Draws stay in range and cover it; Randomize seeds from the clock, so the same clock repeats
// them. (Unit tests run on the headless platform, whose clock moves only when something sleeps.)
TEST(Random, StaysInRangeCoversItAndRepeatsOnTheSameClock) {
  SeedRandom(12345);
  EXPECT_EQ(Random(0), 0);
  EXPECT_EQ(Random(-7), 0);
  const std::vector<int32_t> sevens = Draws(2000, 7);
  EXPECT_EQ(std::set<int32_t>(sevens.begin(), sevens.end()),
            (std::set<int32_t>{0, 1, 2, 3, 4, 5, 6}));
  // The order timer draws until it reaches 6000 of 12000: about half the draws must qualify.
  int upperHalf = 0;
  for (int32_t value : Draws(2000, 12000)) upperHalf += value >= 6000;
  EXPECT_GT(upperHalf, 850);
  EXPECT_LT(upperHalf, 1150);
  platform::TPlatform& clock = platform::Current();
  clock.Sleep(5000);
  Randomize();
  const std::vector<int32_t> firstRun = Draws(20, 1000000);
  Randomize();
  EXPECT_EQ(Draws(20, 1000000), firstRun);
  clock.Sleep(1);
  Randomize();
  const std::vector<int32_t> laterRun = Draws(20, 1000000);
  EXPECT_NE(firstRun, laterRun);
  SeedRandom(clock.NowNanoseconds());
  EXPECT_EQ(Draws(20, 1000000), laterRun);
}

}  // namespace
