// What the platform asks of the operating system itself: the clock, a precise sleep, and whether
// a graphics driver is there to draw with. Each system has its own implementation (linux/,
// windows/).
#pragma once

#include <cstdint>

namespace platform {

// The monotonic clock in nanoseconds, and a precise sleep until a moment of it.
uint64_t MonotonicNanoseconds();
void SleepUntil(uint64_t momentNs);

// True where a graphics driver can draw for this user. Without one, OpenGL can only be drawn by
// the processor, and even trying it loads tens of megabytes.
bool HasGraphicsDevice();

}  // namespace platform
