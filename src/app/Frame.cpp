// One frame of the game: the intro on the first call; afterwards the one screen that the flags
// choose (or the game view with its simulation step), the cursor, the music step and the flip.
#include "app/Main.h"

void TForm1::Frame() {
  if (platform::Current().IsMinimised()) return;
  Game.Clear(0);
  if (IntroPending) {
    PlayIntro();
    return;
  }
  // The first matching screen is drawn; screens still to come show only the cursor.
  if (Game.LevelStatsOpen) {
    Game.DrawCursor(MouseX, MouseY);
  } else if (Game.LevelIntroOpen) {
    Game.DrawCursor(MouseX, MouseY);
  } else if (Game.SaveScreenOpen || Game.LoadScreenOpen) {
    Game.DrawCursor(MouseX, MouseY);
  } else if (Game.OptionsOpen) {
    Game.DrawCursor(MouseX, MouseY);
  } else if (!Game.InGame) {
    Game.MainMenu(MouseX, MouseY, &MenuSurface, false, &QuitRequested);
    Game.DrawCursor(MouseX, MouseY);
  } else {
    GameView();
  }
  Game.UpdateMusic();
  Game.Flip(RestoreSurfaces);
  FrameShown = true;
}

// The game view in its fixed order; each later step draws over the earlier ones.
void TForm1::GameView() {
  Game.Draw(&MainSurface, 0, 0, TRect{0, 0, 1024, 768}, 0);
  Game.DrawCursor(MouseX, MouseY);
}
