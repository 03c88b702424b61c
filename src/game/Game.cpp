#include "game/Game.h"

TGame::TGame() = default;

TGame::~TGame() = default;
