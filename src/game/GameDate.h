// The game calendar: a date record that advances one frame at a time (100 frames a day, no leap
// years), and the texts the screens show for dates, numbers and levels. (Amounts of money are
// written by Money.h.)
#pragma once

#include <cstdint>
#include <string>

// A calendar date plus the frame within the day. Saved games store it byte for byte, so its
// layout is fixed: Day, Month (16 bits each), Year, Tick (32 bits each).
struct TGameDate {
  uint16_t Day = 0;    // 1-based day of the month
  uint16_t Month = 0;  // 1..12
  int32_t Year = 0;
  int32_t Tick = 0;  // frames elapsed in the current day, 0..99

  TGameDate() = default;
  TGameDate(int day, int month, int year)
      : Day(static_cast<uint16_t>(day)), Month(static_cast<uint16_t>(month)), Year(year) {}
};
static_assert(sizeof(TGameDate) == 12, "saved games store TGameDate as 12 bytes");

constexpr int FramesPerDay = 100;

// Days of month 1..12 (no leap years). A month outside 1..12, found only in damaged saved
// games, counts as 31 days so that no day of it is skipped before the calendar moves on.
int MonthLength(int month);

// The same day number `months` whole months later (earlier for negative counts). The day is not
// fitted to the target month: 31.1 plus one month is 31.2, which the comparisons still order.
TGameDate AddMonths(const TGameDate& date, int months);

// Calendar order of (Year, Month, Day); the tick plays no part. Years compare unsigned.
bool IsOnOrBefore(const TGameDate& a, const TGameDate& b);
bool IsAfter(const TGameDate& a, const TGameDate& b);

// One frame of the game calendar: the tick, and at its end the day, month and year.
void AdvanceTick(TGameDate& date);

// A date as the language in use writes it, without leading zeros: in Czech "D.M.YYYY", e.g.
// "1.1.2002". UTF-8, like every text the game shows.
std::string DateToText(const TGameDate& date);
// Decimal text of a signed integer, with a minus sign for negatives.
std::string IntToText(int64_t n);
// A level's title as the progress panel and the save slots show it ("Level 3" in Czech).
std::string LevelTitle(int level);
