// The display members of TGame: start-up of the display, the page flip with its restore step,
// blits from the surface slots, the clear, the gamma fades and the mouse cursor.
#include <algorithm>

#include "game/Game.h"
#include "gfx/Blitter.h"
#include "platform/Platform.h"
#include "platform/Pointer.h"

bool TGame::InitDisplay(void* /*window*/, int width, int height, int bitsPerPixel) {
  platform::Current().ShowSystemCursor(false);
  ScreenRect = {0, 0, width, height};
  displayDevice_ = std::make_unique<TDisplayDevice>();
  DirectDraw = displayDevice_.get();
  if (DirectDraw->SetDisplayMode(width, height, bitsPerPixel) != DD_OK) return false;
  PrimarySurface = DirectDraw->PrimarySurface();
  BackBuffer = DirectDraw->BackBuffer();
  return BackBuffer != nullptr;
}

// Presenting paces the frames itself, so the device never reports that it is still drawing and
// a flip needs no retry loop.
void TGame::Flip(TRestoreStep restore) {
  if (!DirectDraw) {
    LastResult = DDERR_NOTINITIALIZED;
    return;
  }
  LastResult = DirectDraw->Flip();
  if (LastResult == DDERR_SURFACELOST && restore) LastResult = restore();
}

void TGame::Draw(TSurface** slot, int x, int y, const TRect& source, uint8_t keyed) {
  if (!BackBuffer) {
    LastResult = DDERR_NOTINITIALIZED;
  } else if (!slot || !*slot) {
    LastResult = DDERR_INVALIDOBJECT;
  } else if (DirectDraw->Lost()) {
    LastResult = DDERR_SURFACELOST;
  } else {
    LastResult = Blit(*BackBuffer, x, y, **slot, source, keyed == 1);
  }
}

void TGame::Clear(uint32_t colour) {
  if (!BackBuffer) {
    LastResult = DDERR_NOTINITIALIZED;
  } else if (DirectDraw->Lost()) {
    LastResult = DDERR_SURFACELOST;
  } else {
    LastResult = Fill(*BackBuffer, ScreenRect, static_cast<uint16_t>(colour));
  }
}

void TGame::SaveGamma() {
  if (!DirectDraw) return;
  GammaControl = DirectDraw->GammaControl();
  if (GammaControl) GammaControl->GetGammaRamp(0, SavedGammaRamp);
}

// Entries close in from both ends of each channel, one pair per step.
void TGame::Fade(bool toBlack) {
  if (!DirectDraw) return;
  GammaControl = DirectDraw->GammaControl();
  if (!GammaControl) return;
  GammaControl->GetGammaRamp(0, GammaRamp);
  platform::TPlatform& p = platform::Current();
  for (int step = 0; step < 256; ++step) {
    const int k = toBlack ? 255 - step : step;
    for (int c = 0; c < 3; ++c) {
      uint16_t* ramp = GammaRamp + c * 256;
      const uint16_t* saved = SavedGammaRamp + c * 256;
      ramp[k] = toBlack ? 0 : saved[k];
      if (256 - k <= 255) ramp[256 - k] = toBlack ? 0 : saved[256 - k];
    }
    p.Sleep(toBlack ? 1 : 2);
    GammaControl->SetGammaRamp(0, GammaRamp);
  }
}

// The cursor is cut at the right and bottom screen edges, since a blit that reaches past the
// back buffer would be refused whole. It is not drawn while the player plays by touch: the
// finger is the pointer there, and an arrow left where it last touched would only hide the
// picture. Either way the system learns that the frame's pointer has been drawn, so that the
// player's next touch reaches the game.
void TGame::DrawCursor(int x, int y) {
  platform::ReadyForNextPointerEvent();
  if (!platform::PointerShown()) return;
  TRect r = CursorRect;
  if (x > 992) r.Right = 1024 - x;
  if (y > 736) r.Bottom = 768 - y;
  Draw(&CursorSurface, x, y, r, 1);
}
