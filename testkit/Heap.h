#pragma once
// Every global operator new and delete of a program replaced over malloc and free, for the programs that
// watch the plug-in's heap: the benchmark counts allocations, the fault tests refuse them, the native stand-in
// host counts the plug-in's live blocks. A program gets it by linking testkit/Heap.cpp. ThreadSanitizer's
// runtime brings its own operator new: built with VARNHOLT_KEEP_OPERATOR_NEW, nothing is replaced or watched.
#include <atomic>

extern const bool kHeapWatched;

// Asked before each allocation, on the allocating thread; it must not allocate. False refuses it:
// operator new throws std::bad_alloc, the nothrow forms return null. Null admits everything.
extern std::atomic<bool (*)()> HeapAdmits;
// Asked for each block made: whether it is the plug-in's, to be counted among the live blocks until it
// is freed, on whatever thread that happens. Null counts none.
extern std::atomic<bool (*)()> HeapCounts;

struct HeapFigures {
  long long made = 0;        // blocks made since the start, counted or not
  long long liveBlocks = 0;  // counted blocks not yet freed
  long long liveBytes = 0;
};
HeapFigures HeapNow();
