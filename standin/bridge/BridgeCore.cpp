// The bridge's eight operations and its controls for the host; the same on every platform. Only the
// script runner underneath differs.
#include <mutex>
#include <vector>

#include "bridge/BridgeControl.h"
#include "bridge/ScriptRunner.h"

namespace {
NativeAnswer answerHook = nullptr;
NoteSink noteHook = nullptr;

HMODULE scriptModule = nullptr;
void (*scriptEntry)() = nullptr;
bool scriptStarted = false;

std::mutex keyboardMutex;  // delivery comes from any thread, (un)registration from the loader's
KeyboardHandler keyboardHandler = nullptr;

bool callOpen = false;
UINT64 callHash = 0;
std::vector<UINT64> callArgs;
UINT64 resultSlots[kResultSlots] = {};

std::uint32_t now = 0;
std::uint32_t wakeAt = 0;

UINT64 Detail(const void* pointer) { return reinterpret_cast<std::uintptr_t>(pointer); }
void Note(int note, UINT64 detail = 0) {
  if (noteHook != nullptr) noteHook(note, detail);
}
}  // namespace

void scriptRegister(HMODULE module, void (*entry)()) {
  if (scriptEntry != nullptr) DiscardScript();  // one script at a time: the newer registration wins
  scriptModule = module;
  scriptEntry = entry;
  scriptStarted = false;
  Note(kNoteScriptRegistered, Detail(module));
}

void scriptUnregister(HMODULE module) {
  if (scriptEntry == nullptr || module != scriptModule) {
    Note(kNoteUnregisterUnknown, Detail(module));
    return;
  }
  scriptEntry = nullptr;
  scriptModule = nullptr;
  if (scriptStarted) DiscardScript();
  scriptStarted = false;
  Note(kNoteScriptUnregistered, Detail(module));
}

void scriptWait(DWORD milliseconds) {
  if (!OnScript()) {
    Note(kNoteWaitOffScript, milliseconds);
    return;
  }
  if (milliseconds > 0) Note(kNoteScriptWaits, milliseconds);
  wakeAt = now + static_cast<std::uint32_t>(milliseconds);
  SuspendToHost();
  if (milliseconds > 0) Note(kNoteScriptResumed, milliseconds);
}

void keyboardHandlerRegister(KeyboardHandler handler) {
  {
    const std::lock_guard<std::mutex> lock(keyboardMutex);
    keyboardHandler = handler;
  }
  Note(kNoteKeyboardRegistered);
}

void keyboardHandlerUnregister(KeyboardHandler handler) {
  bool known = false;
  {
    const std::lock_guard<std::mutex> lock(keyboardMutex);
    known = handler == keyboardHandler && handler != nullptr;
    if (known) keyboardHandler = nullptr;
  }
  Note(known ? kNoteKeyboardUnregistered : kNoteKeyboardUnknown);
}

void nativeInit(UINT64 hash) {
  if (!OnScript()) Note(kNoteNativeOffScript, hash);
  callOpen = true;
  callHash = hash;
  callArgs.clear();
}

void nativePush64(UINT64 value) {
  if (!callOpen) Note(kNoteCallWithoutInit);
  callArgs.push_back(value);
}

PUINT64 nativeCall() {
  if (!callOpen) Note(kNoteCallWithoutInit);
  callOpen = false;
  for (UINT64& slot : resultSlots) slot = 0;
  if (answerHook != nullptr) answerHook(callHash, callArgs.data(), callArgs.size(), resultSlots);
  return resultSlots;
}

extern "C" void StandinSetHooks(NativeAnswer answer, NoteSink note) {
  answerHook = answer;
  noteHook = note;
  callArgs.reserve(16);  // more than any native takes: marshalling never allocates on the script's side
}

extern "C" int StandinRunFrame(std::uint32_t nowMs) {
  now = nowMs;
  if (scriptEntry == nullptr) return kFrameNoScript;
  if (scriptStarted && ScriptEnded()) return kFrameScriptEnded;
  if (!scriptStarted) {
    scriptStarted = true;
    Note(kNoteScriptStarted);
    StartScript(scriptEntry);
  } else {
    if (now < wakeAt) return kFrameWaiting;
    ResumeScript();
  }
  if (ScriptEnded()) {
    Note(kNoteScriptReturned);
    return kFrameScriptEnded;
  }
  return kFrameRan;
}

extern "C" int StandinDeliverKey(DWORD key, WORD repeats, BYTE scanCode, BOOL extended, BOOL withAlt,
                                 BOOL wasDownBefore, BOOL isUpNow) {
  // Held while the handler runs, so that unregistering waits for a delivery in progress: after
  // keyboardHandlerUnregister returns the plug-in's code is never entered again.
  const std::lock_guard<std::mutex> lock(keyboardMutex);
  if (keyboardHandler == nullptr) return 0;
  keyboardHandler(key, repeats, scanCode, extended, withAlt, wasDownBefore, isUpNow);
  return 1;
}

extern "C" void StandinShutdown() {
  if (scriptStarted) DiscardScript();
  scriptEntry = nullptr;
  scriptStarted = false;
  ShutdownRunner();
  answerHook = nullptr;
  noteHook = nullptr;
}
