// How the game writes an amount of money. (The garden's money itself is TGame::Money, changed by
// TGame::ChangeMoney.)
#pragma once

#include <cstdint>
#include <string>

// An amount of money as the language in use writes it (digits grouped or not; in Czech "2000").
std::string MoneyToText(int64_t amount);
