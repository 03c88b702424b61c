// Bitmap loading into a slot from any bytes, and drawing from whatever it loaded.
#include "FuzzSupport.h"
#include "app/Main.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  EnterFuzzFolder();
  static bool display = Game.InitDisplay(nullptr, 1024, 768, 16);
  (void)display;
  WriteInput("fuzz.bmp", data, size);
  Game.LoadSurface("fuzz.bmp", &MainSurface, 0xFF00FF);
  if (MainSurface) {
    Game.Draw(&MainSurface, 0, 0, TRect{0, 0, MainSurface->Width(), MainSurface->Height()}, 1);
  }
  return 0;
}
