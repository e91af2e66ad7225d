// The long runs' own checks: the native count of the plug-in's heap, the load-unload cycle check and the
// options.
#include <gtest/gtest.h>

#include <string>

#include "bridge/BridgeControl.h"
#include "program/HostPlatform.h"
#include "program/LongRun.h"
#include "testkit/Heap.h"

namespace {
char* scriptBlocks[2] = {};  // a fixed array: a growing container would itself allocate on the script
int scriptFrames = 0;
char* hostBlock = nullptr;

bool AnswerAllocating(const NativeCall&) {
  const HostWork host;
  hostBlock = new char[1000];
  return true;
}

void AllocatingScript() {
  for (;;) {
    scriptBlocks[scriptFrames++ % 2] = new char[40];
    nativeInit(1);
    nativeCall();        // the host allocates while it answers, on this thread
    delete[] hostBlock;  // and the script frees that block: it was never the plug-in's
    scriptWait(0);
  }
}

TEST(PluginHeap, CountsWhatTheScriptSideAllocatesUntilItIsFreedAnywhere) {
  if (!kHeapWatched) GTEST_SKIP() << kMemoryWhat;
  BridgeSetHooks(AnswerAllocating, nullptr, nullptr);
  char module = 0;
  scriptRegister(reinterpret_cast<HMODULE>(&module), AllocatingScript);
  const MemorySample before = TakeMemorySample();
  BridgeRunFrame(0);
  BridgeRunFrame(1);
  const MemorySample during = TakeMemorySample();
  EXPECT_EQ(during.blocks - before.blocks, 2);
  EXPECT_EQ(during.bytes - before.bytes, 80);
  for (char* block : scriptBlocks) delete[] block;  // on the host's thread
  const MemorySample after = TakeMemorySample();
  EXPECT_EQ(after.blocks, before.blocks);
  EXPECT_EQ(after.bytes, before.bytes);
  scriptUnregister(reinterpret_cast<HMODULE>(&module));
  BridgeShutdown();
}

char* leaked[8] = {};
int leakedCount = 0;
bool leaking = false;

void LeakingScript() {
  for (;;) {
    if (leaking && leakedCount < 8) leaked[leakedCount++] = new char[40];
    scriptWait(0);
  }
}

// Frames 1 to 3 with memory taken after the first and the last; what the report says about them.
std::string ReportOfThreeFrames(bool leak) {
  BridgeSetHooks(nullptr, nullptr, nullptr);
  char module = 0;
  scriptRegister(reinterpret_cast<HMODULE>(&module), LeakingScript);
  RunOptions options;
  EXPECT_TRUE(SetLongRunOption("--memory-at", "1,3", options));
  LongRunStart(options);
  leaking = leak;
  for (int frame = 1; frame <= 3; ++frame) {
    BridgeRunFrame(static_cast<std::uint32_t>(frame));
    LongRunAfterFrame(frame);
  }
  leaking = false;
  scriptUnregister(reinterpret_cast<HMODULE>(&module));
  BridgeShutdown();
  for (int i = 0; i < leakedCount; ++i) delete[] leaked[i];
  leakedCount = 0;
  return LongRunReport();
}

TEST(LongRun, TellsAHeapThatGrowsBetweenTheFramesFromOneThatStays) {
  if (!kHeapWatched) GTEST_SKIP() << kMemoryWhat;
  const std::string steady = ReportOfThreeFrames(false);
  EXPECT_NE(steady.find("from frame 1 to frame 3: memory stays the same"), std::string::npos) << steady;
  const std::string growing = ReportOfThreeFrames(true);
  EXPECT_NE(growing.find("from frame 1 to frame 3: memory grows: heap +2 blocks, +80 bytes"), std::string::npos)
      << growing;
}

void PlayCycle(int number, bool keyboardWithdrawn, bool unmapped) {
  for (int note : {kNoteScriptRegistered, kNoteKeyboardRegistered, kNoteScriptStarted, kNoteScriptUnregistered})
    LongRunNote(note);
  if (keyboardWithdrawn) LongRunNote(kNoteKeyboardUnregistered);
  LongRunUnloaded(unmapped);
  LongRunAfterCycle(number);
}

TEST(LongRun, ReportsEveryCycleThatKeepsAHandlerOrLeavesTheModuleMapped) {
  RunOptions options;
  ASSERT_TRUE(SetLongRunOption("--cycles", "3", options));
  LongRunStart(options);
  PlayCycle(1, true, true);
  PlayCycle(2, false, true);
  PlayCycle(3, true, false);
  const std::string report = LongRunReport();
  EXPECT_NE(report.find("! cycle 2: the keyboard handler withdrawn 0 times\n"), std::string::npos) << report;
  EXPECT_NE(report.find("! cycle 3: the plug-in's module still mapped after unloading\n"), std::string::npos) << report;
  EXPECT_EQ(report.find("! cycle 1"), std::string::npos) << report;
  EXPECT_EQ(report.find("every cycle registered"), std::string::npos) << report;

  LongRunStart(options);  // a new run forgets the old one's problems
  for (int n = 1; n <= 3; ++n) PlayCycle(n, true, true);
  EXPECT_NE(LongRunReport().find("every cycle registered and withdrew"), std::string::npos);
}

TEST(LongRun, OptionsTakeWholePositiveNumbersAndRisingFrameCounts) {
  RunOptions o;
  for (const char* bad : {"0", "-5", "1e3", "", "12x", "1234567890"})
    EXPECT_FALSE(SetLongRunOption("--frames", bad, o)) << bad;
  for (const char* bad : {"1000,1000", "2000,1000", "1000,", ",1000"})
    EXPECT_FALSE(SetLongRunOption("--memory-at", bad, o)) << bad;
  ASSERT_TRUE(SetLongRunOption("--memory-at", "1000,100000", o));
  EXPECT_EQ(o.memoryAt, (std::vector<int>{1000, 100000}));
  ASSERT_TRUE(SetLongRunOption("--frames", "100000", o));
  EXPECT_EQ(o.frames, 100000);
}
}  // namespace
