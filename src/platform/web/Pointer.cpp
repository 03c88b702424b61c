// Whether the player in a web page points with a mouse or plays by touch. The page's touch
// script (touch.js) keeps Module.pointerShown: false from the moment a finger touches the game,
// true again when a mouse moves; a page that never saw a touch has a mouse.
//
// The game draws the pointer's place once a frame, after it has taken the input given before
// that frame. The page is told then (Module.onPointerDrawn): touch.js gives the game a finger's
// next mouse event only then, so that a tap's move, press and release each reach the game in a
// frame of its own, and a release acts where the game has drawn the pointer.
#include <emscripten.h>

#include "platform/Pointer.h"

namespace {

// The JavaScript of EM_JS is not C++: clang-format would break it.
// clang-format off
EM_JS(int, PagePointerShown, (), {
  return Module['pointerShown'] === false ? 0 : 1;
});

EM_JS(void, TellPageThePointerIsDrawn, (), {
  if (Module['onPointerDrawn']) Module['onPointerDrawn']();
});
// clang-format on

}  // namespace

namespace platform {

bool PointerShown() { return PagePointerShown() != 0; }

void ReadyForNextPointerEvent() { TellPageThePointerIsDrawn(); }

}  // namespace platform
