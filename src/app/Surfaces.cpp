// The form's bitmap surface slots: the one table of which bitmap each holds, the eleven game
// bitmaps loaded into them, the logo's and the splash's loaded where they are shown, and the
// restore step of ordinary flips, which brings them back after the display lost its surfaces.
#include "app/Main.h"
#include "base/Files.h"
#include "game/DataFiles.h"
#include "game/WordedBitmaps.h"
#include "gfx/Blitter.h"
#include "gfx/SpriteRects.h"

namespace {

constexpr uint32_t kMagenta = 0xFF00FF;

// The file a slot holds.
const char* FileOf(TSurface** slot) {
  for (const TBitmapSlot& s : BitmapSlots()) {
    if (s.Slot == slot) return s.File;
  }
  return nullptr;
}

// The eleven game bitmaps, in the order they are extracted, and the ten loaded by LoadSurface,
// in the order they are loaded; the cursor comes last.
TSurface** const kExtracted[] = {&PlantsSurface, &CloudsSurface,      &MainSurface,  &MenuSurface,
                                 &FieldSurface,  &Game.CursorSurface, &WaterSurface, &OrdersSurface,
                                 &ShedsSurface,  &SymbolsSurface,     &LevelSurface};
TSurface** const kLoaded[] = {&CloudsSurface,  &MainSurface,  &MenuSurface,   &FieldSurface,
                              &PlantsSurface,  &WaterSurface, &OrdersSurface, &ShedsSurface,
                              &SymbolsSurface, &LevelSurface};

}  // namespace

const std::array<TBitmapSlot, 13>& BitmapSlots() {
  namespace sp = sprites;
  static const std::array<TBitmapSlot, 13> slots{{
      {sp::main_sheet::File, &MainSurface, "MainSurface"},
      {sp::menu::File, &MenuSurface, "MenuSurface"},
      {sp::field::File, &FieldSurface, "FieldSurface"},
      {sp::plants::File, &PlantsSurface, "PlantsSurface"},
      {sp::clouds::File, &CloudsSurface, "CloudsSurface"},
      {sp::water::File, &WaterSurface, "WaterSurface"},
      {sp::orders::File, &OrdersSurface, "OrdersSurface"},
      {sp::sheds::File, &ShedsSurface, "ShedsSurface"},
      {sp::symbols::File, &SymbolsSurface, "SymbolsSurface"},
      {sp::logo::File, &LogoSurface, "LogoSurface"},
      {sp::level::File, &LevelSurface, "LevelSurface"},
      {sp::splash::File, &SplashSurface, "SplashSurface"},
      {sp::cursor::File, &Game.CursorSurface, "CursorSurface"},
  }};
  return slots;
}

void LoadBitmap(TSurface** slot) {
  const char* file = FileOf(slot);
  ExtractBitmap(file);
  Game.LoadSurface(file, slot, kMagenta);
  DeleteGameFile(file);
}

void LoadAllBitmaps() {
  for (TSurface** slot : kExtracted) {
    ExtractBitmap(FileOf(slot));
  }
  for (TSurface** slot : kLoaded) Game.LoadSurface(FileOf(slot), slot, kMagenta);
  Game.LoadCursorSurface(FileOf(&Game.CursorSurface));
  for (TSurface** slot : kExtracted) DeleteGameFile(FileOf(slot));
}

int32_t RestoreSurfaces() {
  if (!Game.DirectDraw) return DDERR_NOTINITIALIZED;
  int32_t result = Game.DirectDraw->RestorePrimary();
  if (result != DD_OK) return result;
  LoadAllBitmaps();
  return DD_OK;
}
