// Loading a saved game from any bytes; what loads must survive a frame of the game view's steps.
#include <cstdlib>

#include "FuzzSupport.h"
#include "app/Main.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  EnterFuzzFolder();
  static bool display = Game.InitDisplay(nullptr, 1024, 768, 16);
  (void)display;
  WriteInput("fuzz.sav", data, size);
  if (Game.LoadGameFile("fuzz.sav")) {
    Game.CalendarStep();
    Game.DrawPlots(&FieldSurface);
    Game.DrawPipes(&WaterSurface);
    Game.DrawPlants(&PlantsSurface);
    Game.CheckLevelGoal();
    // What loaded saves again and loads again.
    Game.SaveGameFile("again.sav");
    if (!Game.LoadGameFile("again.sav")) std::abort();
  }
  return 0;
}
