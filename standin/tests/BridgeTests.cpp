// The stand-in bridge with its script thread, driven as the host drives it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bridge/BridgeControl.h"

namespace {
std::vector<std::string> calls;
std::uint32_t frameTime = 0;

void Record(UINT64 hash, const UINT64* args, std::size_t count, UINT64* slots) {
  calls.push_back(std::to_string(hash) + "/" + std::to_string(count) + "@" + std::to_string(frameTime));
  if (count > 0) slots[0] = args[0] + 1;
}
std::vector<int> notes;
void Noted(int note, UINT64) { notes.push_back(note); }

UINT64 lastAnswer = 0;
void TestScript() {
  scriptWait(100);
  for (UINT64 i = 0;; ++i) {
    nativeInit(7);
    nativePush64(i);
    lastAnswer = nativeCall()[0];
    scriptWait(0);
  }
}

TEST(Bridge, RunsTheScriptOneStepPerFrameAfterItsFirstWait) {
  calls.clear();
  notes.clear();
  StandinSetHooks(Record, Noted);
  char module = 0;
  scriptRegister(reinterpret_cast<HMODULE>(&module), TestScript);
  std::vector<int> outcomes;
  for (frameTime = 0; frameTime <= 150; frameTime += 30) outcomes.push_back(StandinRunFrame(frameTime));
  // Waiting until 100 ms have passed, then one native per frame.
  EXPECT_EQ(outcomes, (std::vector<int>{kFrameRan, kFrameWaiting, kFrameWaiting, kFrameWaiting, kFrameRan, kFrameRan}));
  EXPECT_EQ(calls, (std::vector<std::string>{"7/1@120", "7/1@150"}));
  EXPECT_EQ(lastAnswer, 2u);
  EXPECT_EQ(notes, (std::vector<int>{kNoteScriptRegistered, kNoteScriptStarted, kNoteScriptWaits, kNoteScriptResumed}));

  // A native from outside the script is told, and an unregistered script is never run again.
  nativeInit(9);
  EXPECT_EQ(notes.back(), kNoteNativeOffScript);
  scriptUnregister(reinterpret_cast<HMODULE>(&module));
  EXPECT_EQ(StandinRunFrame(180), kFrameNoScript);
  EXPECT_EQ(calls.size(), 2u);
  StandinShutdown();
}

int keyCount = 0;
void CountKey(DWORD, WORD, BYTE, BOOL, BOOL, BOOL, BOOL) { ++keyCount; }

TEST(Bridge, DeliversKeysOnlyToTheRegisteredHandler) {
  keyCount = 0;
  EXPECT_EQ(StandinDeliverKey(1, 1, 0, 0, 0, 0, 0), 0);
  keyboardHandlerRegister(CountKey);
  EXPECT_EQ(StandinDeliverKey(1, 1, 0, 0, 0, 0, 0), 1);
  keyboardHandlerUnregister(CountKey);
  EXPECT_EQ(StandinDeliverKey(1, 1, 0, 0, 0, 0, 0), 0);
  EXPECT_EQ(keyCount, 1);
}
}  // namespace
