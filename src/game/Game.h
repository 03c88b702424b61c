// TGame: the one game object. It holds all state of the running game that is not a window or a
// file: the display, the screen and panel flags, and (as the subsystems arrive) the garden, the
// calendar, money, orders, the level and the sounds. Its member functions live in the files of
// their subsystems (the display in gfx/Display.cpp, bitmap loading in gfx/Bitmaps.cpp, ...).
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "gfx/DisplayDevice.h"
#include "gfx/Rect.h"
#include "gfx/Surface.h"

class TFont;

// A restore step for Flip: recreates lost surfaces and returns a display result code.
using TRestoreStep = int32_t (*)();

class TGame {
 public:
  TGame();
  ~TGame();
  TGame(const TGame&) = delete;
  TGame& operator=(const TGame&) = delete;

  // --- Screen flags ---
  bool InGame = false;
  bool OptionsOpen = false;
  bool LoadScreenOpen = false;
  bool SaveScreenOpen = false;
  bool LevelIntroOpen = false;
  bool PickNewOrder = true;
  bool LevelStatsOpen = false;

  // --- Display ---
  TRect ScreenRect;
  int32_t LastResult = 0;
  TDisplayDevice* DirectDraw = nullptr;
  TSurface* BackBuffer = nullptr;
  TSurface* PrimarySurface = nullptr;
  TGammaControl* GammaControl = nullptr;
  uint16_t GammaRamp[3 * 256] = {};
  uint16_t SavedGammaRamp[3 * 256] = {};

  TSurface* CursorSurface = nullptr;
  TRect CursorRect;

  // --- Panel and tool flags ---
  bool ProgressPanelOpen = false;
  bool PlotMenuOpen = false;
  bool OrdersPanelOpen = false;
  bool ToolPlant = false;
  bool ToolHarvest = false;
  bool ToolBuy = false;
  bool ToolPipe = false;
  bool ToolWater = false;
  bool ToolFertilise = false;
  bool PlotInfoOpen = false;

  // Display (gfx/Display.cpp).
  bool InitDisplay(void* window, int width, int height, int bitsPerPixel);
  void Flip(TRestoreStep restore);
  void Draw(TSurface** slot, int x, int y, const TRect& source, uint8_t keyed);
  void Clear(uint32_t colour);
  void SaveGamma();
  void Fade(bool toBlack);
  void DrawCursor(int x, int y);

  // Bitmaps (gfx/Bitmaps.cpp).
  void LoadSurface(const char* file, TSurface** slot, uint32_t key);
  void LoadCursorSurface(const char* file);
  uint32_t MatchColour(TSurface* surface, uint32_t colour);

  // Text (gfx/Text.cpp). Texts are code page 1250 bytes; colours are Windows colour references.
  void DrawText(std::string_view text, int x, int y, uint32_t colour, TSurface* surface,
                TFont* font);
  void DrawTextN(std::string_view text, int x, int y, uint32_t colour, TSurface* surface,
                 TFont* font, int count);
  int WrapText(std::string_view text, int width, int x, int y0, int step, uint32_t colour,
               TFont* font);

 private:
  // Owners of what the display pointers above point to; they live as long as the game object.
  std::unique_ptr<TDisplayDevice> displayDevice_;
};
