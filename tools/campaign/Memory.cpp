#include "Memory.h"

#include <malloc.h>

#include <cstddef>
#include <cstdio>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KELVORA_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define KELVORA_ASAN 1
#endif

#ifdef KELVORA_ASAN
// The sanitizer runtime's public interface; declared here because gcc ships the runtime without
// its header.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

int64_t LiveHeapKb() {
#ifdef KELVORA_ASAN
  return static_cast<int64_t>(__sanitizer_get_current_allocated_bytes() / 1024);
#else
  const struct mallinfo2 info = mallinfo2();
  // Small blocks and the blocks mapped on their own are counted apart.
  return static_cast<int64_t>((info.uordblks + info.hblkhd) / 1024);
#endif
}

}  // namespace

TMemoryUse ReadMemoryUse() {
  TMemoryUse use;
  use.HeapKb = LiveHeapKb();
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (!status) return use;
  char line[256];
  while (std::fgets(line, sizeof line, status)) {
    long long kb = 0;
    if (std::sscanf(line, "VmHWM: %lld kB", &kb) == 1) use.PeakKb = kb;
    if (std::sscanf(line, "VmRSS: %lld kB", &kb) == 1) use.ResidentKb = kb;
  }
  std::fclose(status);
  return use;
}
