// The process's own memory use, as the kernel reports it in /proc/self/status.
#pragma once

#include <cstdint>

struct TMemoryUse {
  int64_t PeakKb = -1;      // VmHWM: the most resident memory so far
  int64_t ResidentKb = -1;  // VmRSS: resident memory now
};

// Both figures, or -1 for a figure the system does not report.
TMemoryUse ReadMemoryUse();
