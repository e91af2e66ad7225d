#include "fake/FakeBridge.h"

#include <bit>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <set>

#include "common/NativeLine.h"
#include "common/ScriptThread.h"
#include "standin/world/NameHash.h"

namespace fake {
namespace {

struct State {
  std::mutex mutex;
  std::vector<Event> events;
  std::map<UINT64, Handler> standing;
  std::map<UINT64, std::deque<Handler>> queued;
  std::map<std::uint32_t, std::string> names;  // what GetHashKey answered (low 32 bits) for which text
  std::set<UINT64> withoutSlots;               // hashes whose calls hand back null
  std::vector<std::string> errors;
  bool callOpen = false;
  UINT64 callHash = 0;
  std::vector<UINT64> callArgs;
  std::unique_ptr<UINT64[]> slots;  // freed at the next nativeInit, so a late read trips the sanitizer
};

// Never destroyed, so nothing depends on the order of static destruction at exit.
State& S() {
  static State* state = new State;
  return *state;
}

// Notes a call of one of the registration operations.
void Record(Event event) {
  std::lock_guard lock(S().mutex);
  S().events.push_back(std::move(event));
}

std::string NativeName(UINT64 hash) {
  if (const NativeEntry* native = natives::Find(hash)) return native->name;
  char text[24];
  std::snprintf(text, sizeof text, "0x%016llX", static_cast<unsigned long long>(hash));
  return text;
}

// The call as one line, with the names GetHashKey gave so far.
std::string LineOf(UINT64 hash, const std::vector<UINT64>& args, const std::map<std::uint32_t, std::string>& names) {
  const auto nameOf = [](const void* known, std::uint32_t h) -> const char* {
    const auto& map = *static_cast<const std::map<std::uint32_t, std::string>*>(known);
    const auto found = map.find(h);
    return found != map.end() ? found->second.c_str() : nullptr;
  };
  const NativeLineCall call{hash, args.data(), args.size(), nameOf, &names};
  std::string line(FormatNativeLine(call, nullptr, 0), '\0');
  FormatNativeLine(call, line.data(), line.size() + 1);
  return line;
}

Slots DefaultAnswer(const NativeCall& call) {
  if (call.hash == natives::GetHashKey.hash) {
    // High half set on purpose: the hash is only the low 32 bits of the slot.
    return Value(0xA5A5A5A500000000ULL | HashOf(call.Text(0)));
  }
  return Slots{};
}

}  // namespace

std::uint32_t HashOf(std::string_view text) { return OneAtATime(text, false); }

std::string NativeCall::Text(std::size_t i) const {
  const auto* text = reinterpret_cast<const char*>(static_cast<std::uintptr_t>(args.at(i)));
  return text == nullptr ? std::string() : std::string(text);
}

void NativeCall::WriteCell(std::size_t i, UINT64 value) const {
  auto* cell = reinterpret_cast<UINT64*>(static_cast<std::uintptr_t>(args.at(i)));
  std::memcpy(cell, &value, sizeof value);
}

Slots Value(UINT64 slot0) { return Slots{slot0, 0, 0}; }
Slots Float(float value) { return Slots{std::bit_cast<std::uint32_t>(value), 0, 0}; }
Slots Vector(float x, float y, float z) {
  return Slots{std::bit_cast<std::uint32_t>(x), std::bit_cast<std::uint32_t>(y), std::bit_cast<std::uint32_t>(z)};
}

void Reset() {
  State& s = S();
  AbandonScriptThread();  // blocked in scriptWait, and nobody will ever resume it
  std::lock_guard lock(s.mutex);
  s.events.clear();
  s.standing.clear();
  s.queued.clear();
  s.names.clear();
  s.withoutSlots.clear();
  s.errors.clear();
  s.callOpen = false;
  s.callArgs.clear();
  s.slots.reset();
}

void OnNative(const NativeEntry& native, Handler handler) {
  std::lock_guard lock(S().mutex);
  S().standing[native.hash] = std::move(handler);
}

void AnswerWithoutSlots(const NativeEntry& native) {
  std::lock_guard lock(S().mutex);
  S().withoutSlots.insert(native.hash);
}

void Answer(const NativeEntry& native, Slots slots) {
  OnNative(native, [slots](const NativeCall&) { return slots; });
}

void Queue(const NativeEntry& native, std::initializer_list<UINT64> slot0s) {
  std::lock_guard lock(S().mutex);
  for (const UINT64 v : slot0s) S().queued[native.hash].push_back([v](const NativeCall&) { return Value(v); });
}

void Once(const NativeEntry& native, Handler handler) {
  std::lock_guard lock(S().mutex);
  S().queued[native.hash].push_front(std::move(handler));
}

std::vector<Event> Events() {
  std::lock_guard lock(S().mutex);
  return S().events;
}

std::size_t EventCount() {
  std::lock_guard lock(S().mutex);
  return S().events.size();
}

std::vector<std::string> ProtocolErrors() {
  std::lock_guard lock(S().mutex);
  std::vector<std::string> errors = S().errors;
  if (const ScriptEnd end = EndOfScript(); end != ScriptEnd::kNotYet)
    errors.push_back(end == ScriptEnd::kThrew ? "an exception left the script function"
                                              : "the script function returned");
  return errors;
}

std::vector<std::string> Lines(std::size_t from) {
  std::lock_guard lock(S().mutex);
  std::vector<std::string> lines;
  for (std::size_t i = from; i < S().events.size(); ++i) {
    const Event& e = S().events[i];
    switch (e.kind) {
      case EventKind::ScriptRegister: lines.push_back("scriptRegister"); break;
      case EventKind::ScriptUnregister: lines.push_back("scriptUnregister"); break;
      case EventKind::KeyboardRegister: lines.push_back("keyboardHandlerRegister"); break;
      case EventKind::KeyboardUnregister: lines.push_back("keyboardHandlerUnregister"); break;
      case EventKind::Wait: lines.push_back("scriptWait(" + std::to_string(e.milliseconds) + ")"); break;
      case EventKind::Native: lines.push_back(e.line); break;
    }
  }
  return lines;
}

std::size_t CountNative(const NativeEntry& native, std::size_t from) {
  const std::vector<Event> events = Events();
  std::size_t count = 0;
  for (std::size_t i = from; i < events.size(); ++i)
    count += events[i].kind == EventKind::Native && events[i].hash == native.hash ? 1 : 0;
  return count;
}

}  // namespace fake

// The bridge operations themselves.

void scriptRegister(HMODULE module, void (*scriptMain)()) {
  fake::Record({.kind = fake::EventKind::ScriptRegister, .module = module, .script = scriptMain});
}

void scriptUnregister(HMODULE module) { fake::Record({.kind = fake::EventKind::ScriptUnregister, .module = module}); }

void keyboardHandlerRegister(KeyboardHandler handler) {
  fake::Record({.kind = fake::EventKind::KeyboardRegister, .keyboard = handler});
}

void keyboardHandlerUnregister(KeyboardHandler handler) {
  fake::Record({.kind = fake::EventKind::KeyboardUnregister, .keyboard = handler});
}

void scriptWait(DWORD milliseconds) {
  fake::State& s = fake::S();
  {
    fake::Event event;
    event.kind = fake::EventKind::Wait;
    event.milliseconds = milliseconds;
    std::lock_guard lock(s.mutex);
    if (s.callOpen) s.errors.push_back("scriptWait inside an open native call");
    s.events.push_back(std::move(event));
  }
  YieldToTest();
}

void nativeInit(UINT64 hash) {
  fake::State& s = fake::S();
  std::lock_guard lock(s.mutex);
  if (s.callOpen)
    s.errors.push_back("nativeInit(" + fake::NativeName(hash) + ") while " + fake::NativeName(s.callHash) +
                       " was not called");
  s.slots.reset();
  s.callOpen = true;
  s.callHash = hash;
  s.callArgs.clear();
}

void nativePush64(UINT64 value) {
  fake::State& s = fake::S();
  std::lock_guard lock(s.mutex);
  if (!s.callOpen) s.errors.push_back("nativePush64 outside a native call");
  s.callArgs.push_back(value);
}

PUINT64 nativeCall() {
  fake::State& s = fake::S();
  fake::Handler handler;
  UINT64 hash = 0;
  std::vector<UINT64> args;
  {
    std::lock_guard lock(s.mutex);
    if (!s.callOpen) {
      s.errors.push_back("nativeCall without nativeInit");
      s.slots = std::make_unique<UINT64[]>(3);
      return s.slots.get();
    }
    s.callOpen = false;
    hash = s.callHash;
    args = s.callArgs;
    fake::Event event;
    event.kind = fake::EventKind::Native;
    event.hash = hash;
    event.args = args;
    event.line = fake::LineOf(hash, args, s.names);
    s.events.push_back(std::move(event));
    if (auto queued = s.queued.find(hash); queued != s.queued.end() && !queued->second.empty()) {
      handler = std::move(queued->second.front());
      queued->second.pop_front();
    } else if (const auto standing = s.standing.find(hash); standing != s.standing.end()) {
      handler = standing->second;
    }
  }
  // Outside the lock: a handler may look at the events, and may throw into the plug-in.
  const fake::NativeCall call{hash, args};
  const fake::Slots answer = handler ? handler(call) : fake::DefaultAnswer(call);
  std::lock_guard lock(s.mutex);
  if (hash == natives::GetHashKey.hash && !args.empty() && args[0] != 0)
    s.names[static_cast<std::uint32_t>(answer[0])] = call.Text(0);
  if (s.withoutSlots.count(hash) != 0) return nullptr;
  s.slots = std::make_unique<UINT64[]>(answer.size());
  std::copy(answer.begin(), answer.end(), s.slots.get());
  return s.slots.get();
}
