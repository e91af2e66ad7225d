#pragma once
// What the stand-in host and its script bridge say to each other besides the eight operations that the
// plug-in uses. On Windows these are extra exports of ScriptBridge.dll with plain C names, found with
// GetProcAddress; natively the host links the bridge in and takes their addresses.
#include <cstddef>
#include <cstdint>

#include "host/Bridge.h"

// Things the bridge tells the host as they happen, with one detail value each.
enum BridgeNote : int {
  kNoteScriptRegistered,    // detail: the module handle given
  kNoteScriptUnregistered,  // detail: the module handle given
  kNoteUnregisterUnknown,   // scriptUnregister with a module that registered nothing
  kNoteKeyboardRegistered,
  kNoteKeyboardUnregistered,
  kNoteKeyboardUnknown,  // keyboardHandlerUnregister with a handler that is not the registered one
  kNoteScriptStarted,
  kNoteScriptWaits,      // detail: milliseconds; only waits longer than 0
  kNoteScriptResumed,    // after a wait longer than 0; detail: milliseconds
  kNoteScriptReturned,   // the script function returned
  kNoteNativeOffScript,  // detail: the native's hash
  kNoteWaitOffScript,
  kNoteCallWithoutInit,  // nativePush64 or nativeCall without nativeInit
};

inline constexpr std::size_t kResultSlots = 8;

// Answers one native: args as pushed, slots zeroed and kResultSlots long. May throw: the exception goes
// back through nativeCall into the script, as a failing native would.
using NativeAnswer = void (*)(UINT64 hash, const UINT64* args, std::size_t count, UINT64* slots);
using NoteSink = void (*)(int note, UINT64 detail);

enum FrameOutcome : int {
  kFrameNoScript,     // nothing registered
  kFrameWaiting,      // the script's wait is not over yet
  kFrameRan,          // the script ran until its next wait
  kFrameScriptEnded,  // the script function has returned
};

extern "C" {
void StandinSetHooks(NativeAnswer answer, NoteSink note);
// One host frame at the simulated time now: resumes the script if its wait is over.
int StandinRunFrame(std::uint32_t nowMs);
// A keyboard message as the game's window would pass it on; 1 when a handler took it.
int StandinDeliverKey(DWORD key, WORD repeats, BYTE scanCode, BOOL extended, BOOL withAlt, BOOL wasDownBefore,
                      BOOL isUpNow);
// Forgets any script left and undoes the bridge's own set-up; the last call.
void StandinShutdown();
}

struct BridgeControl {
  decltype(&StandinSetHooks) setHooks = nullptr;
  decltype(&StandinRunFrame) runFrame = nullptr;
  decltype(&StandinDeliverKey) deliverKey = nullptr;
  decltype(&StandinShutdown) shutdown = nullptr;
};
