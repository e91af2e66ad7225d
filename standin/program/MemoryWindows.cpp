// The Windows host's memory: the live blocks of every heap of the process, which the plug-in's C
// runtime shares with the host, Wine's own libraries and the bridge, and the process counters.
#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include "program/Memory.h"

const bool kProcessMemory = true;
const bool kHeapCounted = true;
const char* const kMemoryWhat =
    "the host process: the live blocks of all its heaps, its private memory and working set";

MemorySample TakeMemorySample() {
  MemorySample m;
  HANDLE heaps[256];  // on the stack: nothing may be allocated while the heaps are walked
  const DWORD count = GetProcessHeaps(256, heaps);
  for (DWORD i = 0; i < count && i < 256; ++i) {
    if (!HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heaps[i], &entry)) {
      if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) == 0) continue;
      ++m.blocks;
      m.bytes += static_cast<long long>(entry.cbData);
    }
    HeapUnlock(heaps[i]);
  }
  // The page-file figures are the committed private memory; Wine leaves PrivateUsage at 0.
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) {
    m.privateBytes = static_cast<long long>(counters.PagefileUsage);
    m.peakPrivateBytes = static_cast<long long>(counters.PeakPagefileUsage);
    m.workingSet = static_cast<long long>(counters.WorkingSetSize);
    m.peakWorkingSet = static_cast<long long>(counters.PeakWorkingSetSize);
  }
  return m;
}

HostWork::HostWork() {}
HostWork::~HostWork() {}
