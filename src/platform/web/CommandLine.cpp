// The program in a web page: what it writes goes to the page's console, and its end is told to
// the page.
#include "platform/CommandLine.h"

#include <emscripten.h>

namespace {

// The JavaScript of EM_JS is not C++: clang-format would break it.
// clang-format off

// The page's handler of the game's end (page.js shows "Hrát znovu").
EM_JS(void, TellPageTheGameEnded, (int status), {
  if (Module.onGameEnded) Module.onGameEnded(status);
});

// clang-format on

}  // namespace

namespace platform {

bool HasConsole() { return true; }

void EndProgram(int status) { TellPageTheGameEnded(status); }

}  // namespace platform
