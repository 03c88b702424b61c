#include "game/GameDate.h"

#include "base/Translation.h"
#include "platform/Platform.h"

namespace {

// TRANSLATORS: how your language writes a date in the game, {d} being the day, {m} the month and
// {y} the year, all without leading zeros (the Czech gives 1.1.2002).
constexpr const char* kDateForm = TrLater("{d}.{m}.{y}");
// TRANSLATORS: how your language writes an amount of money, shown by one million: its digits
// grouped as your players group them ("1,000,000", "1 000 000"), or not at all as in Czech.
constexpr const char* kMillion = TrLater("1000000");

constexpr int MonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

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

int MonthLength(int month) {
  if (month < 1 || month > 12) return 31;
  return MonthDays[month - 1];
}

TGameDate AddMonths(const TGameDate& date, int months) {
  // Counted in 64 bits so that no month count or year of a damaged date can overflow. Months
  // past December carry into the year; going back (negative counts) borrows from it. A month
  // that is already out of range is carried the same way, never read as an index.
  int64_t month = int64_t{date.Month} + months;
  int64_t years = 0;
  if (month > 12) {
    years = (month - 1) / 12;
  } else if (months < 0 && month < 1) {
    years = -((12 - month) / 12);
  }
  month -= 12 * years;
  return TGameDate(
      date.Day, static_cast<int>(month),
      static_cast<int32_t>(static_cast<uint32_t>(date.Year) + static_cast<uint32_t>(years)));
}

bool IsOnOrBefore(const TGameDate& a, const TGameDate& b) {
  const uint32_t yearA = static_cast<uint32_t>(a.Year), yearB = static_cast<uint32_t>(b.Year);
  if (yearA != yearB) return yearA < yearB;
  if (a.Month != b.Month) return a.Month < b.Month;
  return a.Day <= b.Day;
}

bool IsAfter(const TGameDate& a, const TGameDate& b) { return !IsOnOrBefore(a, b); }

void AdvanceTick(TGameDate& date) {
  // Compared before adding, so a damaged tick near the int32 limit cannot overflow.
  if (date.Tick < FramesPerDay - 1) {
    date.Tick += 1;
    return;
  }
  date.Tick = 0;
  const int nextDay = int{date.Day} + 1;
  if (nextDay <= MonthLength(date.Month)) {
    date.Day = static_cast<uint16_t>(nextDay);
    return;
  }
  date.Day = 1;
  if (date.Month >= 12) {
    date.Month = 1;
    date.Year = static_cast<int32_t>(static_cast<uint32_t>(date.Year) + 1u);
  } else {
    date.Month = static_cast<uint16_t>(date.Month + 1);
  }
}

std::string DateToText(const TGameDate& date) {
  return FillForm(Tr(kDateForm), {{"{d}", IntToText(date.Day)},
                                  {"{m}", IntToText(date.Month)},
                                  {"{y}", IntToText(date.Year)}});
}

std::string MoneyToText(int64_t amount) {
  // The grouping mark is what the translation puts between its "1" and the next digit.
  const std::string& million = Tr(kMillion);
  const size_t next = million.find_first_of("0123456789", 1);
  const std::string mark = next == std::string::npos ? "" : million.substr(1, next - 1);
  std::string digits = IntToText(amount);
  const size_t first = amount < 0 ? 1 : 0;  // after the minus sign
  if (!mark.empty()) {
    for (size_t at = digits.size(); at > first + 3; at -= 3) digits.insert(at - 3, mark);
  }
  return digits;
}

std::string IntToText(int64_t n) { return std::to_string(n); }

std::string LevelTitle(int level) {
  // TRANSLATORS: a level's title on the progress panel and the save slots; {n} is its number.
  return FillForm(Tr("Level {n}"), {{"{n}", IntToText(level)}});
}

void Randomize() { SeedRandom(platform::Current().NowNanoseconds()); }

void SeedRandom(uint64_t seed) { RandomState = seed; }

int32_t Random(int32_t n) {
  const uint64_t value = NextRandom() >> 33;  // 31 bits, never negative
  if (n <= 0) return 0;
  return static_cast<int32_t>(value % static_cast<uint64_t>(n));
}
