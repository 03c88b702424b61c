// Level and order reading from any bytes, as both data files of the campaign.
#include "FuzzSupport.h"
#include "game/Game.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  EnterFuzzFolder();
  static TGame game;
  WriteInput("Data/Level.dat", data, size);
  WriteInput("Data/Objednav.dat", data, size);
  for (int level : {1, 2, 0}) {
    game.LoadLevel(level);
    game.CheckLevelGoal();
    for (int order : {0, 3, 1000}) game.ReadOrder(level, order);
  }
  return 0;
}
