// The native host's memory: the plug-in's live heap, counted by the kit's replaced operator new
// (testkit/Heap.h). The plug-in's blocks are those made on the script's thread outside the host's own
// work there, wherever they are freed.
#include "program/Memory.h"
#include "testkit/Heap.h"
#include "testkit/ScriptRunner.h"

const bool kProcessMemory = false;
const bool kHeapCounted = kHeapWatched;
const char* const kMemoryWhat = kHeapWatched ? "the plug-in's live heap, through operator new"
                                             : "not counted: this build keeps its sanitizer's operator new";

namespace {
thread_local int hostWork = 0;

bool PluginAllocates() { return hostWork == 0 && OnScript(); }
const bool counting = (HeapCounts = PluginAllocates, true);
}  // namespace

MemorySample TakeMemorySample() {
  const HeapFigures heap = HeapNow();
  MemorySample m;
  m.blocks = heap.liveBlocks;
  m.bytes = heap.liveBytes;
  return m;
}

HostWork::HostWork() { ++hostWork; }
HostWork::~HostWork() { --hostWork; }
