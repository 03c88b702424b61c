// The window's event handlers: they run only inside the process-messages call between two
// frames, and turn keys and mouse events into calls of the screens (with the click flag set)
// and into changes of the screen and panel flags.
#include <string>

#include "app/Main.h"
#include "game/DataFiles.h"
#include "game/Language.h"

namespace {
constexpr int kKeyEscape = 27;
constexpr int kKeyDigit1 = 49;
constexpr int kKeyDigit2 = 50;
constexpr int kKeyDigit3 = 51;
constexpr int kKeyDigit4 = 52;
constexpr int kKeyDigit6 = 54;
// An empty slot: a screen called with it acts on the click and draws nothing.
TSurface* NoSurface = nullptr;
}  // namespace

void TForm1::FormKeyDown(int key) {
  if (key == kKeyEscape && IntroPending && !IntroNoSkip) IntroPending = false;
  if (key == kKeyDigit1) IntroPending = false;
  if (key == kKeyDigit2) {
    Game.LoadGameFile(data_files::QuickSave);
  }
  if (key == kKeyDigit3) {
    Game.WriteSampleOrder(1);
  }
  if (key == kKeyDigit4) {
    Game.LoadScreenOpen = false;
    Game.SaveScreenOpen = true;
  }
  if (key == kKeyDigit6) Game.OrdersPanelOpen = true;
}

void TForm1::FormMouseMove(int x, int y) {
  MouseX = x;
  MouseY = y;
  if (Game.OptionsOpen) {
    Game.OptionsScreen(x, y, &MenuSurface, false, true, false);
  }
}

namespace {
// A screen that covers the whole garden: a press on it is meant for it alone. Passed on to the
// main panel, the side panel or the shed underneath, a press on the save screen where the
// main-menu button lies would leave the level unsaved, and its release would use the tool in
// hand on the plot under the mouse.
bool FullScreenOpen() {
  return Game.LevelStatsOpen || Game.LevelIntroOpen || Game.SaveScreenOpen || Game.LoadScreenOpen ||
         Game.OptionsOpen;
}
}  // namespace

void TForm1::FormMouseDown(platform::MouseButton button, int x, int y) {
  if (!DisplayReady) return;
  const bool left = button == platform::MouseButton::Left;
  // A plot menu still open when its level ended (the game over, the goal reached) is not shown
  // any more; it must not take the next screen's press.
  if (!Game.InGame) Game.PlotMenuOpen = false;
  // Under a full-screen screen the menu is not shown, so the press belongs to that screen.
  if (Game.PlotMenuOpen && left && !FullScreenOpen()) {
    Game.PlotMenuOpen = false;
    Game.DrawPlotMenu(x, y, &MainSurface, true);
    return;
  }
  const bool garden = !FullScreenOpen();
  pressTakenByScreen_ = !garden;
  if (left && garden) {
    Game.DrawSidePanel(x, y, &NoSurface, true);
  }
  if (left && garden && Game.ProgressPanelOpen) {
    Game.ProgressPanel(x, y, &NoSurface, true);
  }
  if (garden && !Game.PlotMenuOpen) {
    // The shed opens the plot actions menu only in a level: elsewhere the open menu would take
    // the next click from the screen the player sees.
    if (left && Game.InGame && InRect(x, y, 120, 90, 290, 180)) Game.PlotMenuOpen = true;
    if (button == platform::MouseButton::Right) Game.PlotInfoOpen = true;
  }
  if (Game.LevelStatsOpen) {
    Game.LevelStatsScreen(MouseX, MouseY, &MenuSurface, &SymbolsSurface, true);
  } else if (Game.LevelIntroOpen) {
    Game.LevelIntroScreen(MouseX, MouseY, &MenuSurface, true);
  } else if (Game.SaveScreenOpen) {
    Game.SaveLoadScreen(x, y, &MenuSurface, true, true);
    // A save that failed keeps the screen open, saying so: the player may try another slot, or
    // leave with a press beside the slots.
    if (!Game.SaveFailed) Game.SaveScreenOpen = false;
  } else if (Game.LoadScreenOpen) {
    Game.SaveLoadScreen(x, y, &MenuSurface, false, true);
    Game.LoadScreenOpen = false;
  } else if (Game.OptionsOpen) {
    // A press on the row of languages may speak another: its pictures come with it.
    const std::string spoken = SpokenLanguage();
    Game.OptionsScreen(MouseX, MouseY, &MenuSurface, true, false, false);
    if (SpokenLanguage() != spoken) LoadAllBitmaps();
  } else if (!Game.InGame && FrameShown) {
    Game.MainMenu(MouseX, MouseY, &MenuSurface, true, &QuitRequested);
  }
  if (left && garden) {
    Game.DrawMainPanel(MouseX, MouseY, &MainSurface, true);
  }
}

void TForm1::FormMouseUp(platform::MouseButton button, int x, int y) {
  if (!DisplayReady) return;
  if (Game.OptionsOpen) {
    Game.OptionsScreen(x, y, &MenuSurface, false, false, true);
  }
  if (!Game.PlotMenuOpen && button == platform::MouseButton::Left && !pressTakenByScreen_) {
    Game.HarvestAction();
    Game.PlantAction();
    Game.BuyAction();
    Game.PipeAction();
    Game.WaterAction();
    Game.FertiliseAction();
  }
  if (Game.PlotInfoOpen) Game.PlotInfoOpen = false;
  if (Game.OrdersPanelOpen) {
    Game.OrdersPanel(MouseX, MouseY, &NoSurface, true);
  }
}
