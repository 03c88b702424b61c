// The main menu: new game, load game, options and exit, with hover art and a hover sound.
#include "game/Game.h"
#include "gfx/SpriteRects.h"

namespace {

using sprites::menu::MainButton;
using sprites::menu::MainButtonHit;

// Buttons 1..4, top to bottom.
enum { NewGame = 1, LoadGame = 2, Options = 3, Exit = 4 };

bool OnButton(int number, int x, int y) {
  const TRect& r = MainButtonHit[static_cast<size_t>(number - 1)];
  return InRect(x, y, r.Left, r.Top, r.Right, r.Bottom);
}

}  // namespace

void TGame::MainMenu(int x, int y, TSurface** slot, bool click, bool* quit) {
  LevelNumber = 1;
  HoverSoundArmed = true;
  *quit = false;
  Draw(slot, 0, 0, sprites::menu::Background, 0);

  if (click) {
    if (OnButton(NewGame, x, y)) {
      Click2Sound.Play();
      LevelLoaded = false;
      LevelIntroOpen = true;
    }
    if (OnButton(Exit, x, y)) *quit = true;
    if (OnButton(Options, x, y)) {
      Click2Sound.Play();
      OptionsOpen = true;
    }
    if (OnButton(LoadGame, x, y)) LoadScreenOpen = true;
  }

  // The hover sound sounds once each time the pointer enters a button.
  for (int number = 1; number <= 4; ++number) {
    const TRect& at = MainButtonHit[static_cast<size_t>(number - 1)];
    const bool hovered = OnButton(number, x, y);
    if (hovered) {
      if (HoveredButton != number && HoverSoundArmed) ClickSound.Play();
      HoverSoundArmed = false;
      HoveredButton = static_cast<uint16_t>(number);
    }
    Draw(slot, at.Left, at.Top, MainButton(number, hovered), 1);
  }
  for (int number = 1; number <= 4; ++number) {
    if (HoveredButton == number && !OnButton(number, x, y)) HoveredButton = 0;
  }
}
