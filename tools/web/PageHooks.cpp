// What the page itself asks of the game running in it (page.js): whether a level is being
// played, so that closing the tab then asks the player first.
#include <emscripten.h>

#include "app/Main.h"

extern "C" EMSCRIPTEN_KEEPALIVE int kelvora_level_running() { return Game.InGame ? 1 : 0; }
