// The garden's money: its one way to pay or earn, and how an amount is written.
#include "game/Money.h"

#include <limits>

#include "base/Translation.h"
#include "game/Game.h"
#include "game/GameDate.h"

namespace {

// TRANSLATORS: how your language writes an amount of money, shown by one million: its digits
// grouped as your players group them ("1,000,000", "1 000 000"), or not at all as in Czech.
constexpr const char* kMillion = TrLater("1000000");

}  // namespace

// A change that would make the money negative is refused whole. So is one that would carry it
// past what it can hold (only a damaged saved game gets near that).
bool TGame::ChangeMoney(int16_t delta) {
  const int64_t next = int64_t(Money) + delta;
  if (next < 0 || next > std::numeric_limits<int32_t>::max()) return false;
  Money = static_cast<int32_t>(next);
  return true;
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
