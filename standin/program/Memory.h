#pragma once
// Memory figures for the long runs. Natively they are the plug-in's own live heap, counted by the host's
// replaced operator new; on Windows the plug-in shares the process heap with everything else, so they
// are the host process's: its heaps' live blocks, its committed private memory and its working set.

struct MemorySample {
  long long blocks = 0;  // live heap blocks
  long long bytes = 0;   // their bytes
  // The process figures, on Windows only.
  long long privateBytes = 0;
  long long peakPrivateBytes = 0;
  long long workingSet = 0;
  long long peakWorkingSet = 0;
};

// Whether the samples hold the process figures, whether the heap is counted at all (natively not
// under ThreadSanitizer, whose runtime keeps operator new), and what the heap figures count.
extern const bool kProcessMemory;
extern const bool kHeapCounted;
extern const char* const kMemoryWhat;

// Allocates nothing on the heap it measures.
MemorySample TakeMemorySample();

// Host work on the script's thread (answering a native, taking a bridge note): what it allocates is the
// host's, not the plug-in's. Natively only; nothing on Windows.
struct HostWork {
  HostWork();
  ~HostWork();
  HostWork(const HostWork&) = delete;
  HostWork& operator=(const HostWork&) = delete;
};
