// The form unit: the main window TForm1, the globals that the screens share with it (the run-loop
// and intro flags, the last mouse position, the archive reader, the game object and the bitmap
// surface slots), and the program entry.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "archive/Archive.h"
#include "game/Game.h"
#include "gfx/Surface.h"
#include "platform/Platform.h"

class TForm1 : public platform::TFormBase {
 public:
  explicit TForm1(void* owner);
  ~TForm1() override;

  // Handlers of the window's events (app/Input.cpp).
  void FormKeyDown(int key);
  void FormMouseDown(platform::MouseButton button, int x, int y);
  void FormMouseMove(int x, int y);
  void FormMouseUp(platform::MouseButton button, int x, int y);

  // One frame of the game (app/Frame.cpp).
  void Frame();

  void Close();

 private:
  void FormCreate();
  void RunLoop();
  void PlayIntro();
  void FinishIntro(int32_t volume);
  void GameView();
  void ShowExitSplash();

  void OnUserMessage() override { RunLoop(); }
  void OnKeyDown(int key) override { FormKeyDown(key); }
  void OnMouseDown(platform::MouseButton b, int x, int y) override { FormMouseDown(b, x, y); }
  void OnMouseMove(int x, int y) override { FormMouseMove(x, y); }
  void OnMouseUp(platform::MouseButton b, int x, int y) override { FormMouseUp(b, x, y); }
  void OnCloseRequest() override;

  bool runLoopActive_ = false;
  // The last press went to a full-screen screen, so its release must not reach the garden.
  bool pressTakenByScreen_ = false;
};

extern bool Running;
extern bool QuitRequested;
extern bool DisplayReady;
extern bool IntroPending;
extern bool FrameShown;
extern bool IntroNoSkip;
// Set when the window system closes the window (not the menu's exit): the run ends through the
// same shut-down, without the exit splash.
extern bool WindowCloseRequested;
extern TForm1* Form1;
extern int32_t MouseX;
extern int32_t MouseY;
extern TGame Game;

extern TSurface* MainSurface;
extern TSurface* MenuSurface;
extern TSurface* FieldSurface;
extern TSurface* PlantsSurface;
extern TSurface* CloudsSurface;
extern TSurface* WaterSurface;
extern TSurface* OrdersSurface;
extern TSurface* ShedsSurface;
extern TSurface* SymbolsSurface;
extern TSurface* LogoSurface;
extern TSurface* LevelSurface;
extern TSurface* SplashSurface;

// One bitmap slot: the bitmap file it holds (as the picture generator names it, in
// gfx/SpriteRects.h), the slot, and the slot's name.
struct TBitmapSlot {
  const char* File;
  TSurface** Slot;
  const char* Name;
};
// The twelve slots of the form and the game object's cursor slot, in that order
// (app/Surfaces.cpp): bitmap loading, the runner's state dump and its surface loss go by it.
const std::array<TBitmapSlot, 13>& BitmapSlots();

// The restore step of ordinary flips (app/Surfaces.cpp).
int32_t RestoreSurfaces();
// Extracts, loads and deletes the eleven game bitmaps (app/Surfaces.cpp).
void LoadAllBitmaps();
// Extracts, loads and deletes the bitmap of one slot (the logo, the splash).
void LoadBitmap(TSurface** slot);
// Full screen or window, and the window's size, read before the display opens and written at the
// end of the run (app/WindowSettings.cpp); false when the settings file could not take them.
void LoadWindowSettings();
bool SaveWindowSettings();

// The program entry, shared by the game and the headless runner: runs the game on the
// platform set with platform::SetCurrent and returns the process status. It speaks `language`
// where one is given (Czech where the Data folder holds no catalogue of it, which the player is
// told); otherwise the language the player chose on the options screen, or where there is no
// such choice (or its data is gone) the first of `system` (the system's languages, most wanted
// first) that the game has, and Czech where it has none of them.
int KelvoraMain(const std::string& language = "", const std::vector<std::string>& system = {});

// The language a command line asks for with `--language CODE` (the option taken out of it),
// empty where it asks for none; false where the option has no code after it.
bool TakeLanguageOption(std::vector<std::string>& args, std::string& language);
