// The form's bitmap surface slots: the eleven game bitmaps loaded into them, and the restore step
// of ordinary flips, which brings them back after the display lost its surfaces.
#include "app/Main.h"
#include "base/Files.h"
#include "game/DataFiles.h"
#include "gfx/Blitter.h"

namespace {

constexpr uint32_t kMagenta = 0xFF00FF;

// The bitmaps of the game, in the order they are extracted.
constexpr const char* kGameBitmaps[] = {
    "Rostliny.bmp", "Mraky.bmp",    "Main.bmp",  "Menu.bmp",    "Pole.bmp",  "Mys.bmp",
    "Voda.bmp",     "Objednav.bmp", "Kulny.bmp", "Symboly.bmp", "Level.bmp",
};

}  // namespace

void LoadAllBitmaps() {
  for (const char* name : kGameBitmaps) Archive.ExtractMember(name, name, data_files::Graphics);
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

int32_t RestoreSurfaces() {
  if (!Game.DirectDraw) return DDERR_NOTINITIALIZED;
  int32_t result = Game.DirectDraw->RestorePrimary();
  if (result != DD_OK) return result;
  LoadAllBitmaps();
  return DD_OK;
}
