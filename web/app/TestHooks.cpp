// What the page's tests read of the game running in it, as the runner reads it on the desktop:
// the state dump (the runner's `state` command), the last frame the game presented and how long
// it worked on it; and the heaviest game-view scene, which the page's frame-time report sets
// before each frame.
#include <emscripten.h>

#include <string>

#include "HeaviestScene.h"
#include "app/StateDump.h"
#include "platform/sdl/SdlPlatform.h"

namespace {

const platform::TSdlPresenter* GamePresenter() {
  auto* sdl = dynamic_cast<platform::TSdlPlatform*>(&platform::Current());
  return sdl ? sdl->Presenter() : nullptr;
}

}  // namespace

// The state as JSON (UTF-8), valid until the next call.
extern "C" EMSCRIPTEN_KEEPALIVE const char* kelvora_state() {
  static std::string json;
  const platform::TSdlPresenter* presenter = GamePresenter();
  json = StateDumpJson(presenter ? presenter->FramesPresented() : 0, {});
  return json.c_str();
}

// The last frame presented, 1024 x 768 pixels in RGB565, row by row; null before the first.
extern "C" EMSCRIPTEN_KEEPALIVE const uint16_t* kelvora_frame() {
  const platform::TSdlPresenter* presenter = GamePresenter();
  return presenter ? presenter->LastFrame() : nullptr;
}

// Sets the heaviest game-view scene for the next frame (the orders panel open or closed).
extern "C" EMSCRIPTEN_KEEPALIVE void kelvora_fill_field(int ordersPanelOpen) {
  bench::FillTheField(ordersPanelOpen != 0);
}

// How long the game worked on its last frame, in milliseconds.
extern "C" EMSCRIPTEN_KEEPALIVE double kelvora_frame_work_ms() {
  const platform::TSdlPresenter* presenter = GamePresenter();
  return presenter ? presenter->LastFrameWorkNs() / 1e6 : 0;
}
