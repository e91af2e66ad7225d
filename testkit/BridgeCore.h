#pragma once
// The test side's script bridge: the eight operations the plug-in calls, and the controls of whoever
// drives it (the unit tests, the fault tests, the benchmark, the stand-in host). It runs the script on
// the script runner (testkit/ScriptRunner.h), checks the call protocol and every argument slot against
// the native's kinds in the catalogue, and hands each native to the answer hook. What happens it tells
// to the note hook; each native, once answered, to the call hook. It allocates nothing.
#include <bit>
#include <cstddef>
#include <cstdint>

#include "host/Bridge.h"
#include "testkit/Catalogue.h"

inline constexpr std::size_t kResultSlots = 3;    // a position fills three
inline constexpr std::size_t kMaxArguments = 16;  // more than any native takes

// One native call as the bridge received it. Argument i is read as a kind; one that was not pushed
// reads as 0. Text and cell pointers are the plug-in's, alive only during the call.
struct NativeCall {
  UINT64 hash;
  const UINT64* args;
  std::size_t count;
  UINT64* slots;                               // kResultSlots of them, zeroed before the answer
  std::size_t place = natives::IndexOf(hash);  // in the catalogue, looked up once for every hook

  UINT64 Slot(std::size_t i) const { return i < count ? args[i] : 0; }
  std::int32_t Int(std::size_t i) const { return static_cast<std::int32_t>(Hash(i)); }
  std::uint32_t Hash(std::size_t i) const { return static_cast<std::uint32_t>(Slot(i)); }
  std::int64_t Wide(std::size_t i) const { return static_cast<std::int64_t>(Slot(i)); }
  float Float(std::size_t i) const { return std::bit_cast<float>(Hash(i)); }
  const char* Text(std::size_t i) const { return reinterpret_cast<const char*>(static_cast<std::uintptr_t>(Slot(i))); }
  UINT64* Cell(std::size_t i) const { return reinterpret_cast<UINT64*>(static_cast<std::uintptr_t>(Slot(i))); }

  void Answer(UINT64 slot0) const { slots[0] = slot0; }
  void AnswerInt(std::int32_t value) const { slots[0] = static_cast<std::uint32_t>(value); }
  void AnswerFloat(float value) const { slots[0] = std::bit_cast<std::uint32_t>(value); }
  void AnswerVector(const float (&xyz)[3]) const {
    for (int i = 0; i < 3; ++i) slots[i] = std::bit_cast<std::uint32_t>(xyz[i]);
  }
};

// What is wrong with a slot's value for its kind (testkit/Catalogue.h), or null when it fits.
inline const char* SlotMisfit(char kind, UINT64 v) {
  if ((kind == 'i' || kind == 'h' || kind == 'f') && (v >> 32) != 0) return "has bits in its high half";
  if (kind == 'w' && static_cast<UINT64>(static_cast<std::int64_t>(static_cast<std::int32_t>(v))) != v)
    return "is not a sign-widened 32-bit value";
  if ((kind == 's' || kind == 'c') && v == 0) return "is a null pointer";
  return nullptr;
}

// What the bridge tells as it happens, with one detail value each, and for a problem its text.
enum BridgeNote : int {
  kNoteScriptRegistered,    // detail: the module handle given
  kNoteScriptUnregistered,  // detail: the module handle given
  kNoteKeyboardRegistered,
  kNoteKeyboardUnregistered,
  kNoteScriptStarted,
  kNoteScriptWaits,      // detail: milliseconds
  kNoteScriptResumed,    // detail: milliseconds of the wait that ended
  kNoteScriptReturned,   // the script function ended
  kNoteNativeOffScript,  // a native from outside the script (a test may do that on purpose); detail: its hash
  kNoteWaitOffScript,    // scriptWait from outside the script
  kNoteProblem,          // the plug-in misused the bridge; detail: the native's hash, if any
};

// Answers a native into call.slots; false hands the plug-in no result slots at all (a null pointer).
// May throw: the exception goes back through nativeCall into the script, as a failing native would.
using NativeAnswer = bool (*)(const NativeCall& call);
using NoteSink = void (*)(int note, UINT64 detail, const char* problem);
// Each native after its answer; threw when the answer threw. The plug-in's pointers are still alive.
using CallSink = void (*)(const NativeCall& call, bool threw);

enum FrameOutcome : int {
  kFrameNoScript,     // nothing registered
  kFrameWaiting,      // the script's wait is not over yet
  kFrameRan,          // the script ran until its next wait
  kFrameScriptEnded,  // the script function has ended
};

// The host's controls. Plain C names: the stand-in's bridge DLL exports them.
extern "C" {
// Null hooks: natives answer zeros, nothing is told.
void BridgeSetHooks(NativeAnswer answer, NoteSink note, CallSink call);
// One host frame at the simulated time now: starts the registered script, or resumes it once its wait is over.
int BridgeRunFrame(std::uint32_t nowMs);
// A keyboard message as the game's window would pass it on; 1 when a handler took it. Unregistering
// waits for a delivery in progress, so that the plug-in's handler is never entered afterwards.
int BridgeDeliverKey(DWORD key, WORD repeats, BYTE scanCode, BOOL extended, BOOL withAlt, BOOL wasDownBefore,
                     BOOL isUpNow);
// Forgets the script (left where it is, never resumed), the registrations, the hooks and any call under way.
void BridgeShutdown();
}

// What the plug-in registered, for the tests of its entry.
HMODULE RegisteredModule();
void (*RegisteredScript())();
KeyboardHandler RegisteredKeyboardHandler();
