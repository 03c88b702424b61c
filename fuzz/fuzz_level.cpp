// Level and order reading from any bytes, as both data files of the campaign.
#include "FuzzSupport.h"
#include "app/Main.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  EnterFuzzFolder();
  WriteInput("Data/Level.dat", data, size);
  WriteInput("Data/Objednav.dat", data, size);
  for (int level : {1, 2, 0}) {
    Game.LoadLevel(level);
    Game.CheckLevelGoal();
    for (int order : {0, 3, 1000}) Game.ReadOrder(level, order);
  }
  return 0;
}
