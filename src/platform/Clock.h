// The system's clock and a precise sleep, which the presenter paces its frames by. Each system
// has its own implementation (linux/, windows/, web/).
#pragma once

#include <cstdint>

namespace platform {

// The monotonic clock in nanoseconds, and a precise sleep until a moment of it.
uint64_t MonotonicNanoseconds();
void SleepUntil(uint64_t momentNs);

}  // namespace platform
