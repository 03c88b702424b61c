// Bitmap loading into a slot from any bytes, and drawing from whatever it loaded.
#include "FuzzSupport.h"
#include "game/Game.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  EnterFuzzFolder();
  static TGame game;
  static bool display = game.InitDisplay(nullptr, 1024, 768, 16);
  (void)display;
  static TSurface* slot = nullptr;
  WriteInput("fuzz.bmp", data, size);
  game.LoadSurface("fuzz.bmp", &slot, 0xFF00FF);
  if (slot) game.Draw(&slot, 0, 0, TRect{0, 0, slot->Width(), slot->Height()}, 1);
  return 0;
}
