// The garden's one way to pay or earn.
#include <limits>

#include "game/Game.h"

// A change that would make the money negative is refused whole. So is one that would carry it
// past what it can hold (only a damaged saved game gets near that).
bool TGame::ChangeMoney(int16_t delta) {
  const int64_t next = int64_t(Money) + delta;
  if (next < 0 || next > std::numeric_limits<int32_t>::max()) return false;
  Money = static_cast<int32_t>(next);
  return true;
}
