// The bridge's eight operations and its controls; the same for every driver and platform. Only the
// script runner underneath differs.
#include "testkit/BridgeCore.h"

#include <cstdio>
#include <mutex>

#include "testkit/Catalogue.h"
#include "testkit/Names.h"
#include "testkit/ScriptRunner.h"

namespace {
NativeAnswer answerHook = nullptr;
NoteSink noteHook = nullptr;
CallSink callHook = nullptr;

struct Registration {
  HMODULE module = nullptr;
  void (*entry)() = nullptr;
  bool started = false;
} script;

std::mutex keyboardMutex;  // delivery comes from any thread, (un)registration from the loader's
KeyboardHandler keyboardHandler = nullptr;

bool callOpen = false;
UINT64 callHash = 0;
UINT64 callArgs[kMaxArguments] = {};
std::size_t callCount = 0;
// What slots the plug-in reads after the next nativeInit holds, so that a late read shows.
constexpr UINT64 kStale = 0x5A1E5A1E5A1E5A1EULL;
UINT64 resultSlots[kResultSlots] = {};

std::uint32_t now = 0, wakeAt = 0;

UINT64 Detail(const void* pointer) { return reinterpret_cast<std::uintptr_t>(pointer); }
void Note(int note, UINT64 detail = 0, const char* problem = nullptr) {
  if (noteHook != nullptr) noteHook(note, detail, problem);
}

const char* NameOf(UINT64 hash, char (&buffer)[24]) {
  if (const NativeEntry* native = natives::Find(hash)) return native->name;
  std::snprintf(buffer, sizeof buffer, "0x%016llX", static_cast<unsigned long long>(hash));
  return buffer;
}

void Problem(UINT64 hash, const char* text) { Note(kNoteProblem, hash, text); }
template <class A, class... More>
void Problem(UINT64 hash, const char* format, A value, More... more) {
  if (noteHook == nullptr) return;
  char text[256];
  std::snprintf(text, sizeof text, format, value, more...);
  Note(kNoteProblem, hash, text);
}

void CheckSlots(const NativeCall& c) {
  if (c.place == natives::kCount)
    return Problem(c.hash, "unknown native 0x%016llX with %zu arguments, answered with zeros",
                   static_cast<unsigned long long>(c.hash), c.count);
  const NativeEntry* native = natives::kAll[c.place];
  if (c.count != native->argCount)
    return Problem(c.hash, "%s sent with %zu arguments instead of %zu", native->name, c.count, native->argCount);
  for (std::size_t i = 0; i < c.count; ++i)
    if (const char* wrong = SlotMisfit(native->args[i], c.args[i]))
      Problem(c.hash, "%s argument %zu (0x%016llX) %s", native->name, i + 1, static_cast<unsigned long long>(c.args[i]),
              wrong);
}

// The name a GetHashKey answer stands for, so that lines and reports can print hashes as names.
void RememberHashedName(const NativeCall& c) {
  if (c.hash == natives::GetHashKey.hash && c.count == 1 && c.Text(0) != nullptr)
    RememberName(static_cast<std::uint32_t>(c.slots[0]), c.Text(0));
}
}  // namespace

void scriptRegister(HMODULE module, void (*entry)()) {
  if (script.entry != nullptr) DiscardScript();  // one script at a time: the newer registration wins
  script = {module, entry, false};
  Note(kNoteScriptRegistered, Detail(module));
}

void scriptUnregister(HMODULE module) {
  if (script.entry == nullptr || module != script.module)
    return Problem(0, "scriptUnregister with a module that has no script registered");
  if (script.started) DiscardScript();
  script = {};
  Note(kNoteScriptUnregistered, Detail(module));
}

void scriptWait(DWORD milliseconds) {
  if (callOpen) Problem(callHash, "scriptWait inside an open native call");
  if (!OnScript()) return Note(kNoteWaitOffScript, milliseconds);
  Note(kNoteScriptWaits, milliseconds);
  wakeAt = now + static_cast<std::uint32_t>(milliseconds);
  SuspendToHost();
  Note(kNoteScriptResumed, milliseconds);
}

void keyboardHandlerRegister(KeyboardHandler handler) {
  std::unique_lock<std::mutex> lock(keyboardMutex);
  keyboardHandler = handler;
  lock.unlock();
  Note(kNoteKeyboardRegistered, Detail(reinterpret_cast<const void*>(handler)));
}

void keyboardHandlerUnregister(KeyboardHandler handler) {
  std::unique_lock<std::mutex> lock(keyboardMutex);
  const bool known = handler == keyboardHandler && handler != nullptr;
  if (known) keyboardHandler = nullptr;
  lock.unlock();
  if (!known) return Problem(0, "keyboardHandlerUnregister with a handler that is not the registered one");
  Note(kNoteKeyboardUnregistered, Detail(reinterpret_cast<const void*>(handler)));
}

void nativeInit(UINT64 hash) {
  char hex[24], open[24];
  if (callOpen) Problem(hash, "nativeInit(%s) while %s was not called", NameOf(hash, hex), NameOf(callHash, open));
  if (!OnScript()) Note(kNoteNativeOffScript, hash);
  for (UINT64& slot : resultSlots) slot = kStale;
  callOpen = true;
  callHash = hash;
  callCount = 0;
}

void nativePush64(UINT64 value) {
  if (!callOpen) Problem(0, "nativePush64 outside a native call");
  if (callCount == kMaxArguments) return Problem(callHash, "more than %zu arguments pushed", kMaxArguments);
  callArgs[callCount++] = value;
}

PUINT64 nativeCall() {
  if (!callOpen) Problem(0, "nativeCall without nativeInit");
  callOpen = false;
  for (UINT64& slot : resultSlots) slot = 0;
  const NativeCall call{callHash, callArgs, callCount, resultSlots};
  CheckSlots(call);
  bool slots = true;
  try {
    if (answerHook != nullptr) slots = answerHook(call);
  } catch (...) {
    if (callHook != nullptr) callHook(call, true);
    throw;
  }
  RememberHashedName(call);
  if (callHook != nullptr) callHook(call, false);
  return slots ? resultSlots : nullptr;
}

extern "C" void BridgeSetHooks(NativeAnswer answer, NoteSink note, CallSink call) {
  answerHook = answer;
  noteHook = note;
  callHook = call;
}

extern "C" int BridgeRunFrame(std::uint32_t nowMs) {
  now = nowMs;
  if (script.entry == nullptr) return kFrameNoScript;
  if (script.started && EndOfScript() != ScriptEnd::kNotYet) return kFrameScriptEnded;
  if (script.started && now < wakeAt) return kFrameWaiting;
  if (script.started) {
    ResumeScript();
  } else {
    script.started = true;
    Note(kNoteScriptStarted);
    StartScript(script.entry);
  }
  if (EndOfScript() == ScriptEnd::kNotYet) return kFrameRan;
  Note(kNoteScriptReturned);
  return kFrameScriptEnded;
}

extern "C" int BridgeDeliverKey(DWORD key, WORD repeats, BYTE scanCode, BOOL extended, BOOL withAlt, BOOL wasDownBefore,
                                BOOL isUpNow) {
  // Held while the handler runs, so that unregistering waits for a delivery in progress.
  const std::lock_guard<std::mutex> lock(keyboardMutex);
  if (keyboardHandler == nullptr) return 0;
  keyboardHandler(key, repeats, scanCode, extended, withAlt, wasDownBefore, isUpNow);
  return 1;
}

extern "C" void BridgeShutdown() {
  DiscardScript();
  ShutdownRunner();
  script = {};
  callOpen = false;
  callCount = 0;
  now = wakeAt = 0;
  BridgeSetHooks(nullptr, nullptr, nullptr);
  const std::lock_guard<std::mutex> lock(keyboardMutex);
  keyboardHandler = nullptr;
}

HMODULE RegisteredModule() { return script.module; }
void (*RegisteredScript())() { return script.entry; }
KeyboardHandler RegisteredKeyboardHandler() {
  const std::lock_guard<std::mutex> lock(keyboardMutex);
  return keyboardHandler;
}
