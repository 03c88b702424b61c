#include "platform/Clock.h"

#include <windows.h>

namespace platform {

uint64_t MonotonicNanoseconds() {
  static const int64_t frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f.QuadPart;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  const int64_t seconds = now.QuadPart / frequency;
  const int64_t rest = now.QuadPart % frequency;
  return uint64_t(seconds) * 1'000'000'000 + uint64_t(rest * 1'000'000'000 / frequency);
}

// Windows sleeps in whole milliseconds (SDL sets the timer to 1 ms while it runs): sleep to
// within a millisecond of the moment, then yield until it comes.
void SleepUntil(uint64_t momentNs) {
  for (;;) {
    const uint64_t now = MonotonicNanoseconds();
    if (now >= momentNs) return;
    const uint64_t left = momentNs - now;
    if (left > 2'000'000) {
      Sleep(static_cast<DWORD>(left / 1'000'000 - 1));
    } else {
      Sleep(0);
    }
  }
}

}  // namespace platform
