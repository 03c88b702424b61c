// The calendar, and the random draws.
#include "TestSupport.h"
#include "game/GameDate.h"
#include "game/Random.h"

namespace {

TGameDate At(int day, int month, int year, int tick = 0) {
  TGameDate date(day, month, year);
  date.Tick = tick;
  return date;
}

auto Fields(const TGameDate& d) { return std::tuple(d.Day, d.Month, d.Year, d.Tick); }

// A date, a number of frames or months to go on by, and where that leads.
struct StepCase {
  TGameDate start;
  int by;
  TGameDate expected;
};

// AdvanceTick rolls days, months and years; AddMonths keeps the day and carries into years. (The
// deadlines' own cases, 31.1 plus a month being 31.2, which lies after every day of February and
// before March, are checked where orders use them.)
TEST(GameDate, StepsRollIntoMonthsAndYearsAndComparisonsFollowTheCalendar) {
  const std::vector<StepCase> ticks = {
      {At(15, 6, 2002, 50), 1, At(15, 6, 2002, 51)},
      {At(28, 2, 2002, 99), 1, At(1, 3, 2002, 0)},
      {At(30, 4, 2002, 99), 1, At(1, 5, 2002, 0)},
      {At(30, 1, 2002, 99), 1, At(31, 1, 2002, 0)},
      {At(31, 12, 2002, 99), 1, At(1, 1, 2003, 0)},
      {At(1, 1, 2002, 0), 365 * 100, At(1, 1, 2003, 0)},  // no leap years
      // Damaged saved games: the calendar must neither crash nor stall.
      {At(31, 0, 2002, 99), 1, At(1, 1, 2002, 0)},
      {At(5, 13, 2002, 99), 1, At(6, 13, 2002, 0)},
      {At(31, 13, 2002, 99), 1, At(1, 1, 2003, 0)},
      {At(65535, 7, 2002, 99), 1, At(1, 8, 2002, 0)},
      {At(3, 3, 2002, INT_MAX), 1, At(4, 3, 2002, 0)},
  };
  for (const StepCase& c : ticks) {
    TGameDate date = c.start;
    for (int i = 0; i < c.by; ++i) AdvanceTick(date);
    SCOPED_TRACE(DateToText(c.start) + " tick " + IntToText(c.start.Tick) + " + " +
                 IntToText(c.by));
    EXPECT_EQ(Fields(date), Fields(c.expected));
  }
  // The start's frame 42: a deadline carries no frame of its own.
  const std::vector<StepCase> months = {
      {At(15, 11, 2002, 42), 14, At(15, 1, 2004)}, {At(15, 12, 2002, 42), 24, At(15, 12, 2004)},
      {At(15, 1, 2002, 42), -1, At(15, 12, 2001)}, {At(15, 1, 2002, 42), -13, At(15, 12, 2000)},
      {At(10, 0, 2002, 42), 1, At(10, 1, 2002)},
  };
  for (const StepCase& c : months) {
    SCOPED_TRACE(DateToText(c.start) + " + " + IntToText(c.by) + " months");
    EXPECT_EQ(Fields(AddMonths(c.start, c.by)), Fields(c.expected));
  }
  // Comparisons follow the calendar: two dates, and whether the first is on or before the second.
  const std::tuple<TGameDate, TGameDate, bool> cases[] = {
      {At(5, 2, 2002, 99), At(5, 2, 2002, 0), true},  // ticks do not count
      {At(31, 12, 2002), At(1, 1, 2003), true},
      {At(1, 1, 2003), At(31, 12, 2002), false},
      {At(1, 1, -1), At(1, 1, 2002), false},  // years compare unsigned
  };
  for (const auto& [a, b, onOrBefore] : cases) {
    SCOPED_TRACE(DateToText(a) + " vs " + DateToText(b));
    EXPECT_EQ(IsOnOrBefore(a, b), onOrBefore);
    EXPECT_EQ(IsAfter(a, b), !onOrBefore);
  }
  // Dates and numbers as the panels write them.
  EXPECT_EQ(DateToText(At(15, 10, 2003)), "15.10.2003");
  EXPECT_EQ(IntToText(0), "0");
  EXPECT_EQ(IntToText(INT_MIN), "-2147483648");
}

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
