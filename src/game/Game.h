// TGame: the one game object. It holds all state of the running game that is not a window or a
// file: the display, the screen and panel flags, the garden and its layers, the sounds, the
// calendar, money, the shed, the orders and the level. The members keep the order in which the
// saved games list them. Its member functions live in the files of their subsystems; those that
// drive the engines (display, bitmaps, text, music) are thin layers over them in game/.
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "archive/Archive.h"
#include "audio/SoundClip.h"
#include "game/GameDate.h"
#include "game/Language.h"
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
  uint8_t PipeSpareByte = 0;  // zeroed wherever Pipe is cleared, never read
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
  // The last press on the save screen could not save into its slot: the screen stays open and
  // says so (ui/SaveLoad.cpp).
  bool SaveFailed = false;
  // The music's regime (1 the menu tune, 2 the playlist) whose piece could not be started, so
  // that it is not tried again every frame; 0 when none failed.
  int32_t MusicFailedRegime = 0;
  // What the playlist found it cannot play, kept until the regime changes (a level started or
  // left): the regime of the last music step, whether the sound archive could not be read or
  // written out of (so no packed song is tried), and the songs that could not start.
  int32_t MusicRegime = 0;
  bool MusicArchiveFailed = false;
  std::set<int32_t> UnplayableSongs;

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
  // The languages the options screen offers, read as it is first drawn (ui/Options.cpp).
  std::vector<TOfferedLanguage> OfferedLanguageList;

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
  // The volumes of the settings file, read at start and written back at the end of a run; and
  // the sounds released, so that the sound library is closed before the platform goes.
  void ReadVolumes();
  // False when the settings file could not take them; the player is then told
  // SettingsNotSavedMessage.
  bool WriteVolumes();
  void ReleaseSounds();

  // Screens and panels draw when click is false and act on a click at (x, y) when it is true.

  // Main menu (ui/MainMenu.cpp).
  void MainMenu(int x, int y, TSurface** slot, bool click, bool* quit);

  // Field grid and rendering (game/Field.cpp).
  void DrawShed(TSurface** slot);
  void DrawPlots(TSurface** slot);
  void DrawWell(TSurface** slot);
  void DrawPipes(TSurface** slot);
  void DrawPlants(TSurface** slot);
  void DrawHover(TSurface** slot, int x, int y);
  void DrawClouds(TSurface** slot);

  // Plot actions (game/PlotActions.cpp; ChangeMoney in game/Money.cpp).
  bool ChangeMoney(int16_t delta);
  void DrawPlotMenu(int x, int y, TSurface** slot, bool click);
  void HarvestAction();
  void PlantAction();
  void BuyAction();
  void PipeAction();
  void WaterAction();
  void FertiliseAction();
  void DrawPriceHint(int x, int y);

  // Growth, water and time (game/Growth.cpp).
  void CheckOutOfMoney(TSurface** menuSlot, TSurface** symbolsSlot);
  void CalendarStep();
  void AutoWater(int col, int row);
  void PlantStep(int col, int row);

  // In-game panels (game/Panels.cpp).
  void DrawMainPanel(int x, int y, TSurface** slot, bool click);
  void DrawSidePanel(int x, int y, TSurface** slot, bool click);
  void DrawStatus(TSurface** slot);
  void DrawPlotInfo(int x, int y);

  // Levels (game/Level.cpp).
  void LoadLevel(int32_t level);
  void CheckLevelGoal();

  // Orders (game/Orders.cpp).
  void ReadOrder(int32_t level, int32_t selector);
  void CheckOrder();
  void OrdersPanel(int x, int y, TSurface** slot, bool click);
  void WriteSampleOrder(int32_t level);

  // Level intro and statistics screens (game/LevelScreens.cpp), progress panel
  // (game/ProgressPanel.cpp).
  void LevelIntroScreen(int x, int y, TSurface** slot, bool click);
  void LevelStatsScreen(int x, int y, TSurface** slot, TSurface** symbolsSlot, bool click);
  void ProgressPanel(int x, int y, TSurface** slot, bool click);

  // Options (ui/Options.cpp), save and load (ui/SaveLoad.cpp, game/SaveGame.cpp).
  void OptionsScreen(int x, int y, TSurface** slot, bool press, bool drag, bool release);
  void LanguageRow(int x, int y, TSurface* surface, bool press);
  void SaveLoadScreen(int x, int y, TSurface** slot, bool saveMode, bool click);
  // Writes the running level to `path` (a game path) whole or not at all; false when nothing was
  // written, the old file left as it was. A load changes nothing unless the file is valid.
  bool SaveGameFile(const std::string& path) const;
  bool LoadGameFile(const std::string& path);

  // Effects, music and volumes (game/Music.cpp).
  void LoadSounds();
  void ApplyVolumes();
  void UpdateMusic();
  // Extracts a piece from the sound archive, loads it into Music, deletes its file and plays it.
  void PlayMusicFromArchive(const char* file, bool loop);
  void StartNextSong();

  // Display (game/Display.cpp).
  bool InitDisplay(void* window, int width, int height, int bitsPerPixel);
  void Flip(TRestoreStep restore);
  void Draw(TSurface** slot, int x, int y, const TRect& source, uint8_t keyed);
  void Clear(uint32_t colour);
  void SaveGamma();
  void Fade(bool toBlack);
  void DrawCursor(int x, int y);

  // Bitmaps (game/Bitmaps.cpp).
  void LoadSurface(const char* file, TSurface** slot, uint32_t key);
  void LoadCursorSurface(const char* file);
  uint32_t MatchColour(TSurface* surface, uint32_t colour);

  // Text (game/Text.cpp). Texts are UTF-8; colours are Windows colour references.
  void DrawText(std::string_view text, int x, int y, uint32_t colour, TSurface* surface,
                TFont* font);
  void DrawTextN(std::string_view text, int x, int y, uint32_t colour, TSurface* surface,
                 TFont* font, int count);
  // Draws `text` in lines of at most `width` characters whose ink ends left of `right`
  // (SplitTextLines), the first at (x, y0), each `step` lower; returns the last line's number.
  int WrapText(std::string_view text, int width, int right, int x, int y0, int step,
               uint32_t colour, TFont* font);

 private:
  // Owners of what the display pointers above point to; they live as long as the game object.
  std::unique_ptr<TDisplayDevice> displayDevice_;
};

// Beside the game object: the archive reader that copies members out of the Data archives, and
// the order last read from the order file (the one on offer, or the running one while the
// orders panel shows it).
extern TArchive Archive;
extern TOrder OfferedOrder;

// What the player is told when the settings could not be written (UTF-8).
inline constexpr const char* SettingsNotSavedMessage = TrLater(
    "Nastavení hry se nepodařilo uložit: do složky Data nelze zapisovat, nebo je disk plný.");
