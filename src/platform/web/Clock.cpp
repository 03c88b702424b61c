// The clock in a web page. The game's loop blocks as it does on the desktop; every sleep, as
// every frame shown (Screen.cpp), hands control back to the page (Asyncify unwinds the game's
// stack and resumes it later), so the page stays responsive.
#include "platform/Clock.h"

#include <emscripten.h>

namespace platform {

uint64_t MonotonicNanoseconds() { return uint64_t(emscripten_get_now() * 1e6); }

// The page's timers count whole milliseconds; a sleep always yields, even a short one.
void SleepUntil(uint64_t momentNs) {
  const uint64_t now = MonotonicNanoseconds();
  emscripten_sleep(momentNs > now ? unsigned((momentNs - now + 999'999) / 1'000'000) : 0);
}

}  // namespace platform
