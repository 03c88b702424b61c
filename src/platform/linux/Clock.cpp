#include "platform/Clock.h"

#include <ctime>

namespace platform {

uint64_t MonotonicNanoseconds() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return uint64_t(ts.tv_sec) * 1'000'000'000 + uint64_t(ts.tv_nsec);
}

void SleepUntil(uint64_t momentNs) {
  timespec ts;
  ts.tv_sec = static_cast<time_t>(momentNs / 1'000'000'000);
  ts.tv_nsec = static_cast<long>(momentNs % 1'000'000'000);
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) != 0) {
  }
}

}  // namespace platform
