// Loading a saved game from any bytes; what loads must survive a frame of the game view's steps.
#include <cstdlib>

#include "FuzzSupport.h"
#include "game/Game.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  EnterFuzzFolder();
  static TGame game;
  [[maybe_unused]] static bool display = game.InitDisplay(nullptr, 1024, 768, 16);
  TSurface* noBitmap = nullptr;  // the steps run; drawing from an empty slot is refused
  WriteInput("fuzz.sav", data, size);
  if (game.LoadGameFile("fuzz.sav")) {
    game.CalendarStep();
    game.DrawPlots(&noBitmap);
    game.DrawPipes(&noBitmap);
    game.DrawPlants(&noBitmap);
    game.CheckLevelGoal();
    // What loaded saves again and loads again.
    if (!game.SaveGameFile("again.sav") || !game.LoadGameFile("again.sav")) std::abort();
  }
  return 0;
}
