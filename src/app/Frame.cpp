// One frame of the game: the intro on the first call, then the screen of the moment, the cursor
// and the page flip.
#include "app/Main.h"

void TForm1::Frame() {
  if (platform::Current().IsMinimised()) return;
  Game.Clear(0);
  if (IntroPending) {
    // The game bitmaps are loaded when the intro ends.
    LoadAllBitmaps();
    IntroPending = false;
    return;
  }
  Game.DrawCursor(MouseX, MouseY);
  Game.Flip(RestoreSurfaces);
  FrameShown = true;
}
