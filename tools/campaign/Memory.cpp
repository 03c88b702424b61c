#include "Memory.h"

#include <cstdio>
#include <cstring>

TMemoryUse ReadMemoryUse() {
  TMemoryUse use;
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
