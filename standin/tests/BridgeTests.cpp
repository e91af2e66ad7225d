// The test kit's bridge with its script thread, driven as the stand-in host drives it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bridge/BridgeControl.h"
#include "testkit/Catalogue.h"

namespace {
std::vector<std::string> calls;
std::uint32_t frameTime = 0;

bool Record(const NativeCall& call) {
  calls.push_back(std::to_string(call.hash) + "/" + std::to_string(call.count) + "@" + std::to_string(frameTime));
  if (call.count > 0) call.Answer(call.args[0] + 1);
  return true;
}
std::vector<int> notes;
void Noted(int note, UINT64, const char*) {
  if (note != kNoteProblem) notes.push_back(note);  // hash 7 is no native of the catalogue's
}

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
  BridgeSetHooks(Record, Noted, nullptr);
  char module = 0;
  scriptRegister(reinterpret_cast<HMODULE>(&module), TestScript);
  std::vector<int> outcomes;
  for (frameTime = 0; frameTime <= 150; frameTime += 30) outcomes.push_back(BridgeRunFrame(frameTime));
  // Waiting until 100 ms have passed, then one native per frame.
  EXPECT_EQ(outcomes, (std::vector<int>{kFrameRan, kFrameWaiting, kFrameWaiting, kFrameWaiting, kFrameRan, kFrameRan}));
  EXPECT_EQ(calls, (std::vector<std::string>{"7/1@120", "7/1@150"}));
  EXPECT_EQ(lastAnswer, 2u);
  EXPECT_EQ(notes, (std::vector<int>{kNoteScriptRegistered, kNoteScriptStarted, kNoteScriptWaits, kNoteScriptResumed,
                                     kNoteScriptWaits, kNoteScriptResumed, kNoteScriptWaits}));

  // A native from outside the script is told, and an unregistered script is never run again.
  nativeInit(9);
  EXPECT_EQ(notes.back(), kNoteNativeOffScript);
  scriptUnregister(reinterpret_cast<HMODULE>(&module));
  EXPECT_EQ(BridgeRunFrame(180), kFrameNoScript);
  EXPECT_EQ(calls.size(), 2u);
  BridgeShutdown();
}

int keyCount = 0;
void CountKey(DWORD, WORD, BYTE, BOOL, BOOL, BOOL, BOOL) { ++keyCount; }

TEST(Bridge, DeliversKeysOnlyToTheRegisteredHandler) {
  keyCount = 0;
  EXPECT_EQ(BridgeDeliverKey(1, 1, 0, 0, 0, 0, 0), 0);
  keyboardHandlerRegister(CountKey);
  EXPECT_EQ(BridgeDeliverKey(1, 1, 0, 0, 0, 0, 0), 1);
  keyboardHandlerUnregister(CountKey);
  EXPECT_EQ(BridgeDeliverKey(1, 1, 0, 0, 0, 0, 0), 0);
  EXPECT_EQ(keyCount, 1);
}
std::vector<std::string> problems;
void Problem(int note, UINT64, const char* text) {
  if (note == kNoteProblem) problems.emplace_back(text);
}

void Send(UINT64 hash, std::vector<UINT64> args, UINT64* slot0 = nullptr) {
  nativeInit(hash);
  for (const UINT64 arg : args) nativePush64(arg);
  const UINT64* slots = nativeCall();
  if (slot0 != nullptr) *slot0 = slots[0];
}

// Every slot is checked against its native's kind in the catalogue, and so is the call protocol.
TEST(Bridge, TellsEverySlotThatDoesNotFitItsKindAndEveryMisuseOfTheProtocol) {
  problems.clear();
  BridgeSetHooks(nullptr, Problem, nullptr);
  UINT64 answer = 99;
  Send(natives::PromptSetControl.hash, {0x50, 0x1'0000'0001});
  Send(natives::PromptSetVisible.hash, {0x50});
  Send(natives::PromptSetGroup.hash, {0x50, 0xFFFFFFFF, 0});  // a group of -1 sent zero-extended
  Send(natives::GetHashKey.hash, {0});
  Send(0x1234, {1, 2}, &answer);
  nativePush64(1);
  nativeInit(natives::PlaceScreenText.hash);
  nativeInit(natives::PlaceScreenText.hash);
  nativeCall();
  EXPECT_EQ(answer, 0u) << "an unknown native answers zeros";
  EXPECT_EQ(problems, (std::vector<std::string>{
                          "PromptSetControl argument 2 (0x0000000100000001) has bits in its high half",
                          "PromptSetVisible sent with 1 arguments instead of 2",
                          "PromptSetGroup argument 2 (0x00000000FFFFFFFF) is not a sign-widened 32-bit value",
                          "GetHashKey argument 1 (0x0000000000000000) is a null pointer",
                          "unknown native 0x0000000000001234 with 2 arguments, answered with zeros",
                          "nativePush64 outside a native call",
                          "nativeInit(PlaceScreenText) while PlaceScreenText was not called",
                      }));
  BridgeShutdown();
}
}  // namespace
