// The process's memory use on Windows: the working set and its peak. The live heap is not
// reported (-1).
#include <windows.h>
// psapi.h needs the types of windows.h first.
#include <psapi.h>

#include "Memory.h"

TMemoryUse ReadMemoryUse() {
  TMemoryUse use;
  PROCESS_MEMORY_COUNTERS counters{};
  if (GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) {
    use.PeakKb = static_cast<int64_t>(counters.PeakWorkingSetSize / 1024);
    use.ResidentKb = static_cast<int64_t>(counters.WorkingSetSize / 1024);
  }
  return use;
}
