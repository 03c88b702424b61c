// The window's event handlers: they run only inside the process-messages call between two
// frames, and turn keys and mouse events into calls of the screens (with the click flag set)
// and into changes of the screen and panel flags.
#include "app/Main.h"

namespace {
constexpr int kKeyEscape = 27;
constexpr int kKeyDigit1 = 49;
constexpr int kKeyDigit2 = 50;
constexpr int kKeyDigit3 = 51;
constexpr int kKeyDigit4 = 52;
constexpr int kKeyDigit6 = 54;
}  // namespace

void TForm1::FormKeyDown(int key) {
  if (key == kKeyEscape && IntroPending && !IntroNoSkip) IntroPending = false;
  if (key == kKeyDigit1) IntroPending = false;
  if (key == kKeyDigit2) {
    // Loading "Save.dat" arrives with the saved games.
  }
  if (key == kKeyDigit3) {
    // Writing the sample order arrives with the orders.
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
}

void TForm1::FormMouseDown(platform::MouseButton button, int x, int y) {
  if (!DisplayReady) return;
  const bool left = button == platform::MouseButton::Left;
  if (Game.PlotMenuOpen && left) {
    Game.PlotMenuOpen = false;
    return;
  }
  if (!Game.PlotMenuOpen) {
    if (left && InRect(x, y, 120, 90, 290, 180)) Game.PlotMenuOpen = true;
    if (button == platform::MouseButton::Right) Game.PlotInfoOpen = true;
  }
  if (Game.LevelStatsOpen) {
  } else if (Game.LevelIntroOpen) {
  } else if (Game.SaveScreenOpen) {
    Game.SaveScreenOpen = false;
  } else if (Game.LoadScreenOpen) {
    Game.LoadScreenOpen = false;
  } else if (Game.OptionsOpen) {
  } else if (!Game.InGame && FrameShown) {
    Game.MainMenu(MouseX, MouseY, &MenuSurface, true, &QuitRequested);
  }
}

void TForm1::FormMouseUp(platform::MouseButton, int, int) {
  if (!DisplayReady) return;
  if (Game.PlotInfoOpen) Game.PlotInfoOpen = false;
}
