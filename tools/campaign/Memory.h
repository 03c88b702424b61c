// The process's own memory use: what the kernel reports in /proc/self/status, and the bytes the
// allocator holds for live allocations.
#pragma once

#include <cstdint>

struct TMemoryUse {
  int64_t PeakKb = -1;      // VmHWM: the most resident memory so far
  int64_t ResidentKb = -1;  // VmRSS: resident memory now
  int64_t HeapKb = -1;      // memory allocated and not yet freed
};

// The figures, or -1 for a figure the system does not report. The live heap comes from the
// sanitizer's allocator in a sanitizer build and from the C library's otherwise: it counts only
// what the program still holds, where the resident figures also count the sanitizer's
// quarantine of freed blocks and the allocators' caches, which wander by tens of megabytes.
TMemoryUse ReadMemoryUse();
