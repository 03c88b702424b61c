// TGame: the one game object. It holds all state of the running game that is not a window or a
// file: the display, the screen and panel flags, the garden and its layers, the sounds, the
// calendar, money, the shed, the orders and the level. The members keep the order in which the
// saved games list them. Its member functions live in the files of their subsystems (the display
// in gfx/Display.cpp, bitmap loading in gfx/Bitmaps.cpp, ...).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "audio/SoundClip.h"
#include "game/GameDate.h"
#include "game/Records.h"
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

  // --- Per-plot layers, [column][row]; saved together with the two spare fields before them ---
  uint8_t PipeSpareByte = 0;   // zeroed wherever Pipe is cleared, never read
  uint16_t PipeSpareWord = 0;
  bool Pipe[FieldColumns][FieldRows] = {};
  bool SprinklerOn[FieldColumns][FieldRows] = {};
  uint8_t SprinklerFrame[FieldColumns][FieldRows] = {};
  uint8_t SprinklerCycles[FieldColumns][FieldRows] = {};
  uint8_t SprinklerTick[FieldColumns][FieldRows] = {};

  // --- Effects and music bookkeeping ---
  TSoundClip ClickSound;
  TSoundClip Click2Sound;
  TSoundClip WaterSound;
  TSoundClip BuySound;
  int32_t CurrentSong = 0;
  std::string SongFile;
  bool LevelLoaded = false;
  TSaveSlotInfo SaveSlots[5];

  // --- The garden ---
  TPlot Field[FieldColumns][FieldRows];
  int32_t HoverX = 0;
  int32_t HoverY = 0;
  int32_t SelectedCrop = 0;
  TSurface* CursorSurface = nullptr;
  TRect CursorRect;
  int32_t CloudScroll = 0;
  int32_t CloudTail = 0;
  int32_t CloudEntry = 985;
  int32_t CloudTick = 0;
  bool CloudRow = false;
  bool ReturnToGame = false;

  // --- Volumes and menu hover state ---
  uint16_t EffectsVolume = 254;
  uint16_t EffectsGrabVolume = 0;
  uint16_t EffectsGrabX = 0;
  uint16_t MusicVolume = 254;
  uint16_t MusicGrabVolume = 0;
  uint16_t MusicGrabX = 0;
  bool HoverSoundArmed = true;
  uint16_t HoveredButton = 0;
  uint16_t MenuHoverPrev = 0;
  uint16_t MenuHover = 0;
  uint16_t MenuHoverX = 0;
  uint16_t MenuHoverY = 0;

  // --- The running level (saved from OrderActive to OrderOfferTimer) ---
  bool OrderActive = false;
  TGameDate Date{1, 1, 2002};
  TGameDate OrderDeadline;
  TOrder CurrentOrder;
  int32_t ShedStock[4] = {};
  int32_t OrdersDone = 0;
  int32_t Money = 2000;
  bool WellBuilt = false;
  TLevel Levl;
  int32_t LevelNumber = 1;
  int32_t OrderIndex = 0;
  uint32_t OrderOfferTimer = 6500;

  TSoundClip Music;

  // --- Panel and tool flags ---
  bool StatsBannerShown = false;
  bool ProgressPanelOpen = false;
  bool PlotMenuOpen = false;
  bool OrdersPanelOpen = false;
  bool OrderFulfilled = false;
  bool OrderFailed = false;
  bool ToolPlant = false;
  bool ToolHarvest = false;
  bool ToolBuy = false;
  bool ToolPipe = false;
  bool ToolWater = false;
  bool ToolFertilise = false;
  bool PlotInfoOpen = false;

  // Puts the game into the state in which a level starts (game/Game.cpp).
  void ResetForLevel();

  // Screens (ui/). Each draws when click is false and acts on a click at (x, y) when it is true.
  void MainMenu(int x, int y, TSurface** slot, bool click, bool* quit);

  // Effects, music and volumes (audio/Music.cpp).
  void LoadSounds();
  void ApplyVolumes();
  void UpdateMusic();
  // Extracts a piece from the sound archive, loads it into Music, deletes its file and plays it.
  void PlayMusicFromArchive(const char* file, bool loop);
  void StartNextSong();

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
