// Loading bitmap files into the surface slots, each with the magenta colour key.
#include <SDL.h>

#include <cstring>

#include "app/Main.h"
#include "archive/Archive.h"
#include "game/Game.h"

namespace {

constexpr uint32_t kMagenta = 0xFF00FF;
constexpr const char* kGraphics = "Data\\Grafika.dat";

// The bitmaps of the game, in the order they are extracted.
constexpr const char* kGameBitmaps[] = {
    "Rostliny.bmp", "Mraky.bmp", "Main.bmp",     "Menu.bmp",    "Pole.bmp", "Mys.bmp",
    "Voda.bmp",     "Objednav.bmp", "Kulny.bmp", "Symboly.bmp", "Level.bmp",
};

// Decodes a bitmap file into a new RGB565 surface of its own size; null when it cannot be read.
TSurface* DecodeBitmap(const char* file) {
  SDL_Surface* loaded = SDL_LoadBMP(PortablePath(file).c_str());
  if (!loaded) return nullptr;
  SDL_Surface* rgb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB565, 0);
  SDL_FreeSurface(loaded);
  if (!rgb) return nullptr;
  auto* surface = new TSurface(rgb->w, rgb->h);
  for (int y = 0; y < rgb->h; ++y) {
    std::memcpy(surface->Row(y), static_cast<const uint8_t*>(rgb->pixels) + y * rgb->pitch,
                static_cast<size_t>(rgb->w) * sizeof(uint16_t));
  }
  SDL_FreeSurface(rgb);
  return surface;
}

}  // namespace

void TGame::LoadSurface(const char* file, TSurface** slot, uint32_t key) {
  if (*slot) {
    delete *slot;
    *slot = nullptr;
  }
  TSurface* surface = DecodeBitmap(file);
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

void LoadAllBitmaps() {
  for (const char* name : kGameBitmaps) Archive.ExtractMember(name, name, kGraphics);
  Game.LoadSurface("Mraky.bmp", &CloudsSurface, kMagenta);
  Game.LoadSurface("Main.bmp", &MainSurface, kMagenta);
  Game.LoadSurface("Menu.bmp", &MenuSurface, kMagenta);
  Game.LoadSurface("Pole.bmp", &FieldSurface, kMagenta);
  Game.LoadSurface("Rostliny.bmp", &PlantsSurface, kMagenta);
  Game.LoadSurface("Voda.bmp", &WaterSurface, kMagenta);
  Game.LoadSurface("Objednav.bmp", &OrdersSurface, kMagenta);
  Game.LoadSurface("Kulny.bmp", &ShedsSurface, kMagenta);
  Game.LoadSurface("Symboly.bmp", &SymbolsSurface, kMagenta);
  Game.LoadSurface("Level.bmp", &LevelSurface, kMagenta);
  Game.LoadCursorSurface("Mys.bmp");
  for (const char* name : kGameBitmaps) DeleteFileA(name);
}
