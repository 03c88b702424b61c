// Bitmap loading into a slot from any bytes, and drawing from whatever it loaded. A bitmap that
// loads has the size its header gives (width, and height whatever the order of its rows); bytes
// that are no bitmap file do not load.
#include <cstdlib>

#include "FuzzSupport.h"
#include "game/Game.h"

namespace {

uint32_t Le(const uint8_t* p, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | p[i];
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  EnterFuzzFolder();
  static TGame game;
  [[maybe_unused]] static bool display = game.InitDisplay(nullptr, 1024, 768, 16);
  static TSurface* slot = nullptr;
  WriteInput("fuzz.bmp", data, size);
  game.LoadSurface("fuzz.bmp", &slot, 0xFF00FF);
  if (!slot) return 0;
  // The file header (14 bytes: "BM", file size, reserved, pixel offset) and the size of the
  // information header after it: 12 for the OS/2 core header, whose sides are unsigned 16-bit,
  // larger for the others, whose sides are signed 32-bit (a negative height: rows top-down).
  if (size < 26 || data[0] != 'B' || data[1] != 'M') std::abort();
  int64_t width = 0, height = 0;
  if (Le(data + 14, 4) == 12) {
    width = Le(data + 18, 2);
    height = Le(data + 20, 2);
  } else {
    width = static_cast<int32_t>(Le(data + 18, 4));
    height = static_cast<int32_t>(Le(data + 22, 4));
  }
  if (height < 0) height = -height;
  if (slot->Width() != width || slot->Height() != height || width <= 0 || height <= 0) {
    std::abort();
  }
  game.Draw(&slot, 0, 0, TRect{0, 0, slot->Width(), slot->Height()}, 1);
  return 0;
}
