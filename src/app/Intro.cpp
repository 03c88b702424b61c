// The intro: the logo slides together in pieces to the intro tune, then the title is shown
// between gamma fades; it ends with the game bitmaps loaded and the menu tune playing.
#include "app/Main.h"
#include "game/DataFiles.h"
#include "gfx/SpriteRects.h"
#include "platform/Application.h"

namespace {

void Draw(const TRect& r, int x, int y) { Game.Draw(&LogoSurface, x, y, r, 0); }

void IntroFrame() { Game.Flip(RestoreSurfaces); }

}  // namespace

void TForm1::PlayIntro() {
  const int32_t volume = Game.Music.Volume;
  Game.Music.SetVolume(254);
  Archive.ExtractMember("uvod.mp3", "uvod.mp3", data_files::Sounds);
  Game.Music.Load("uvod.mp3", true, TSoundClip::KindByExtension);
  DeleteGameFile("uvod.mp3");
  Game.Music.Play();
  IntroFrame();

  // The two halves of the upper logo slide in from the sides.
  for (int k = 0; k <= 121; ++k) {
    platform::Application.ProcessMessages();
    Game.Clear(0);
    Draw(sprites::logo::UpperLeft, 3 * k, 234);
    Draw(sprites::logo::UpperRight, 873 - 3 * k, 234);
    IntroFrame();
    if (!IntroPending) break;
  }
  if (!IntroPending) return FinishIntro(volume);

  // The joined upper logo sinks out through the bottom edge, cut where it meets it.
  int h = 298;
  for (int m = 0; m <= 266; ++m) {
    platform::Application.ProcessMessages();
    Game.Clear(0);
    Draw({0, 0, 149, h}, 364, 234 + 2 * m);
    Draw({149, 0, 297, h}, 509, 234 + 2 * m);
    IntroFrame();
    if (2 * m + 534 > 768) h = 532 - 2 * m;
    if (!IntroPending) break;
  }
  if (!IntroPending) return FinishIntro(volume);

  // The lower logo's halves slide in; from here on Escape no longer skips.
  IntroNoSkip = true;
  for (int n = 0; n <= 106; ++n) {
    Game.Clear(0);
    Draw(sprites::logo::LowerLeft, 3 * n, 316);
    Draw(sprites::logo::LowerRight, 833 - 3 * n, 316);
    IntroFrame();
  }

  // The joined lower logo rises out through the top edge, cut where it meets it.
  int c = 0;
  for (int q = 0; q <= 229; ++q) {
    platform::Application.ProcessMessages();
    Game.Clear(0);
    Draw({0, 300 + c, 191, 436}, 321, 316 - 2 * q + c);
    Draw({191, 300 + c, 382, 436}, 512, 316 - 2 * q + c);
    IntroFrame();
    if (316 - 2 * q <= 0) c = 2 * q - 314;
  }

  // The title between fades, then the small line at the bottom. Both buffers hold black
  // frames of the last phase, so nothing is cleared.
  Game.SaveGamma();
  Game.Fade(true);
  Draw(sprites::logo::Title, 220, 316);
  IntroFrame();
  Game.Fade(false);
  platform::Current().Sleep(2500);
  Game.Fade(true);
  Draw(sprites::logo::SmallLine, sprites::logo::SmallLineAt.X, sprites::logo::SmallLineAt.Y);
  IntroFrame();
  Game.Fade(false);
  FinishIntro(volume);
  IntroPending = false;
}

void TForm1::FinishIntro(int32_t volume) {
  LoadAllBitmaps();
  Game.Music.SetVolume(volume);
  Game.Music.Stop();
  Game.PlayMusicFromArchive("Menu.mp3", true);
}
