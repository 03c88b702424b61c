#include "game/GameDate.h"

#include "base/Translation.h"

namespace {

// TRANSLATORS: how your language writes a date in the game, {d} being the day, {m} the month and
// {y} the year, all without leading zeros (the Czech gives 1.1.2002).
constexpr const char* kDateForm = TrLater("{d}.{m}.{y}");

constexpr int MonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

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

std::string IntToText(int64_t n) { return std::to_string(n); }

std::string LevelTitle(int level) {
  // TRANSLATORS: a level's title on the progress panel and the save slots; {n} is its number.
  return FillForm(Tr("Level {n}"), {{"{n}", IntToText(level)}});
}
