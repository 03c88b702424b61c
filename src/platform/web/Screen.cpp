// The picture in a web page. The game's loop blocks as it does on the desktop; every frame shown,
// as every sleep (Clock.cpp), hands control back to the page (Asyncify unwinds the game's stack
// and resumes it later), so the page stays responsive and draws what the game presented.
#include "platform/Screen.h"

#include <emscripten.h>

#include <utility>

#include "platform/web/Page.h"

namespace {

// A function given to the page to call, named by a type: EM_JS reads each parameter's last word.
using TShow = void (*)(void*);

// The JavaScript of EM_JS is not C++: clang-format would break it.
// clang-format off

// Calls `show(context)` in the page's next animation frame, where what it draws goes into the
// frame the browser presents next, and resolves in a task after that frame's rendering: the game
// works on its next frame between the browser's frames, not inside one, which would make the
// browser wait for it before presenting. The page keeps the times of the last frames, for its
// frame-time report: each frame's own time, which the browser gives its animation callbacks,
// not the moment this one ran, which a busy or slowed page reaches later by a varying amount.
EM_ASYNC_JS(void, ShowAtNextAnimationFrame, (TShow show, void* context), {
  // A tab whose game another tab took over stays still at its next frame (page.js).
  if (Module['kelvoraHalted']) await new Promise(function() {});
  const starts = Module.frameStarts || (Module.frameStarts = []);
  if (starts.length >= 3600) starts.splice(0, 1800);
  if (!Module.afterFrame) {
    Module.afterFrame = new MessageChannel();
    Module.afterFrame.port1.onmessage = function() { Module.afterFrame.resume(); };
  }
  await new Promise(function(resolve) {
    Module.afterFrame.resume = resolve;
    requestAnimationFrame(function(time) {
      starts.push(time);
      wasmTable.get(show)(context);
      Module.afterFrame.port2.postMessage(0);
    });
  });
});

// clang-format on

// What the page asked to run after the next frame (AfterNextFrame), or null.
void (*afterFrame)() = nullptr;

}  // namespace

namespace platform {

bool HasGraphicsDevice() { return true; }

bool SystemOwnsFullScreen() { return true; }

bool ShowAtDisplayFrame(void (*show)(void*), void* context) {
  ShowAtNextAnimationFrame(show, context);
  if (void (*work)() = std::exchange(afterFrame, nullptr)) work();
  return true;
}

void AfterNextFrame(void (*work)()) { afterFrame = work; }

}  // namespace platform
