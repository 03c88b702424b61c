// Whether the player in a web page points with a mouse or plays by touch. The page's touch
// script (touch.js) keeps Module.pointerShown: false from the moment a finger touches the game,
// true again when a mouse moves; a page that never saw a touch has a mouse.
#include <emscripten.h>

#include "platform/System.h"

namespace {

// The JavaScript of EM_JS is not C++: clang-format would break it.
// clang-format off
EM_JS(int, PagePointerShown, (), {
  return Module['pointerShown'] === false ? 0 : 1;
});
// clang-format on

}  // namespace

namespace platform {

bool PointerShown() { return PagePointerShown() != 0; }

}  // namespace platform
