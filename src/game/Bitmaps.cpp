// Loading bitmap files into the surface slots, each with its colour key.
#include "base/Files.h"
#include "game/Game.h"
#include "gfx/BitmapFile.h"

namespace {
constexpr uint32_t kMagenta = 0xFF00FF;
}  // namespace

void TGame::LoadSurface(const char* file, TSurface** slot, uint32_t key) {
  if (!slot) return;
  delete *slot;
  *slot = nullptr;
  if (!file) return;
  TSurface* surface = DecodeBitmapFile(ReadPath(file)).release();
  if (!surface) return;
  *slot = surface;
  surface->SetColourKey(MatchColour(surface, key));
}

void TGame::LoadCursorSurface(const char* file) {
  LoadSurface(file, &CursorSurface, kMagenta);
  CursorRect = {0, 0, 32, 32};
}

// The pixel value of a Windows colour in the surface's own format, found the way a display
// driver would: write the colour into the first pixel, read it back, and put the pixel back.
uint32_t TGame::MatchColour(TSurface* surface, uint32_t colour) {
  if (!surface || colour == 0xFFFFFFFF || surface->Width() == 0 || surface->Height() == 0) {
    return 0xFFFFFFFF;
  }
  uint16_t* first = surface->Pixels();
  const uint16_t kept = *first;
  *first = Rgb565FromColorRef(colour);
  const uint32_t result = *first;
  *first = kept;
  return result;
}
