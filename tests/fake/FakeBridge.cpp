#include "fake/FakeBridge.h"

#include <bit>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

#include "standin/world/NameHash.h"

namespace fake {
namespace {

// One run of a script function. Never destroyed: a run abandoned by its test stays blocked on it.
struct ScriptRun {
  std::mutex mutex;
  std::condition_variable changed;
  bool atWait = false;
  bool returned = false;
  std::uint64_t resumes = 0;
};

thread_local ScriptRun* currentRun = nullptr;

struct State {
  std::mutex mutex;
  std::vector<Event> events;
  std::map<UINT64, Handler> standing;
  std::map<UINT64, std::deque<Handler>> queued;
  std::map<UINT64, std::set<std::size_t>> textArgs;
  std::map<UINT64, std::set<std::size_t>> cellArgs;
  std::map<UINT64, std::string> names;  // what GetHashKey answered (low 32 bits) for which text
  std::set<UINT64> withoutSlots;        // hashes whose calls hand back null
  std::vector<std::string> errors;
  bool callOpen = false;
  UINT64 callHash = 0;
  std::vector<UINT64> callArgs;
  std::unique_ptr<UINT64[]> slots;  // freed at the next nativeInit, so a late read trips the sanitizer
  ScriptRun* run = nullptr;
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

// Keeps abandoned runs reachable for the leak checker.
std::vector<ScriptRun*>& Abandoned() {
  static auto* runs = new std::vector<ScriptRun*>;
  return *runs;
}

constexpr auto kScriptTimeout = std::chrono::seconds(10);

std::string Hex(UINT64 value) {
  char digits[17];
  const auto end = std::to_chars(digits, digits + sizeof digits, value, 16).ptr;
  std::string text = "0x";
  for (const char* p = digits; p != end; ++p) text += static_cast<char>(*p >= 'a' ? *p - 'a' + 'A' : *p);
  return text;
}

std::string NativeName(UINT64 hash) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%016llX", static_cast<unsigned long long>(hash));
  return text;
}

std::string Quoted(const std::string& text) {
  std::string out = "'";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\'' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20 || byte >= 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "'";
}

void SetDefaultArgumentKinds(State& s) {
  s.textArgs = {{kGetHashKey, {0}}, {0xFA925AC00EB830B9, {1, 2}}, {0x56E58D4D118FB45E, {1}}};
  s.cellArgs = {{0x3A87E44BB9A01D54, {1}}};
}

Slots DefaultAnswer(const NativeCall& call) {
  if (call.hash == kGetHashKey) {
    // High half set on purpose: the hash is only the low 32 bits of the slot.
    return Value(0xA5A5A5A500000000ULL | HashOf(call.Text(0)));
  }
  return Slots{};
}

[[noreturn]] void Abort(const char* what) {
  std::fprintf(stderr, "fake bridge: %s\n", what);
  std::fflush(stderr);
  std::abort();
}

// Blocks until the run is at a wait (or has returned). Called with the run's lock held.
void AwaitWait(ScriptRun& run, std::unique_lock<std::mutex>& lock) {
  if (!run.changed.wait_for(lock, kScriptTimeout, [&run] { return run.atWait || run.returned; }))
    Abort("the script did not reach scriptWait in time; stopping so it cannot leak into other tests");
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
  std::lock_guard lock(s.mutex);
  if (s.run != nullptr) {
    Abandoned().push_back(s.run);  // blocked in scriptWait, and nobody will ever resume it
    s.run = nullptr;
  }
  s.events.clear();
  s.standing.clear();
  s.queued.clear();
  s.names.clear();
  s.withoutSlots.clear();
  s.errors.clear();
  s.callOpen = false;
  s.callArgs.clear();
  s.slots.reset();
  SetDefaultArgumentKinds(s);
}

void OnNative(UINT64 hash, Handler handler) {
  std::lock_guard lock(S().mutex);
  S().standing[hash] = std::move(handler);
}

void AnswerWithoutSlots(UINT64 hash) {
  std::lock_guard lock(S().mutex);
  S().withoutSlots.insert(hash);
}

void Answer(UINT64 hash, Slots slots) {
  OnNative(hash, [slots](const NativeCall&) { return slots; });
}

void Queue(UINT64 hash, std::vector<Slots> answers) {
  std::lock_guard lock(S().mutex);
  for (const Slots& slots : answers) S().queued[hash].push_back([slots](const NativeCall&) { return slots; });
}

void Queue(UINT64 hash, std::initializer_list<UINT64> slot0s) {
  std::vector<Slots> answers;
  for (const UINT64 v : slot0s) answers.push_back(Value(v));
  Queue(hash, std::move(answers));
}

void Once(UINT64 hash, Handler handler) {
  std::lock_guard lock(S().mutex);
  S().queued[hash].push_front(std::move(handler));
}

void DeclareTextArgument(UINT64 hash, std::size_t index) {
  std::lock_guard lock(S().mutex);
  S().textArgs[hash].insert(index);
}

void DeclareCellArgument(UINT64 hash, std::size_t index) {
  std::lock_guard lock(S().mutex);
  S().cellArgs[hash].insert(index);
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
  return S().errors;
}

std::string Render(const Event& event) {
  switch (event.kind) {
    case EventKind::ScriptRegister: return "scriptRegister";
    case EventKind::ScriptUnregister: return "scriptUnregister";
    case EventKind::KeyboardRegister: return "keyboardHandlerRegister";
    case EventKind::KeyboardUnregister: return "keyboardHandlerUnregister";
    case EventKind::Wait: return "scriptWait(" + std::to_string(event.milliseconds) + ")";
    case EventKind::Native: break;
  }
  std::map<UINT64, std::string> names;
  std::set<std::size_t> cells;
  {
    std::lock_guard lock(S().mutex);
    names = S().names;
    if (const auto found = S().cellArgs.find(event.hash); found != S().cellArgs.end()) cells = found->second;
  }
  std::string line = NativeName(event.hash) + "(";
  for (std::size_t i = 0; i < event.args.size(); ++i) {
    if (i > 0) line += ", ";
    const UINT64 arg = event.args[i];
    if (i < event.texts.size() && event.texts[i]) {
      line += Quoted(*event.texts[i]);
    } else if (cells.count(i) != 0) {
      line += "&cell";
    } else if (const auto name = names.find(arg); arg >= 0x10000 && name != names.end()) {
      line += "#" + name->second;
    } else {
      line += Hex(arg);
    }
  }
  return line + ")";
}

std::vector<std::string> Lines(std::size_t from) {
  const std::vector<Event> events = Events();
  std::vector<std::string> lines;
  for (std::size_t i = from; i < events.size(); ++i) lines.push_back(Render(events[i]));
  return lines;
}

std::vector<std::string> NativeLines(std::size_t from) {
  const std::vector<Event> events = Events();
  std::vector<std::string> lines;
  for (std::size_t i = from; i < events.size(); ++i)
    if (events[i].kind == EventKind::Native) lines.push_back(Render(events[i]));
  return lines;
}

std::size_t CountNative(UINT64 hash, std::size_t from) {
  const std::vector<Event> events = Events();
  std::size_t count = 0;
  for (std::size_t i = from; i < events.size(); ++i)
    count += events[i].kind == EventKind::Native && events[i].hash == hash ? 1 : 0;
  return count;
}

void StartScript(void (*entry)()) {
  auto* run = new ScriptRun;
  {
    std::lock_guard lock(S().mutex);
    if (S().run != nullptr) Abort("StartScript while a script is running; call Reset first");
    S().run = run;
  }
  std::thread([run, entry] {
    currentRun = run;
    entry();
    {
      std::lock_guard lock(S().mutex);
      S().errors.push_back("the script function returned");
    }
    std::lock_guard lock(run->mutex);
    run->returned = true;
    run->changed.notify_all();
  }).detach();
  std::unique_lock lock(run->mutex);
  AwaitWait(*run, lock);
}

void ResumeScript() {
  ScriptRun* run = nullptr;
  {
    std::lock_guard lock(S().mutex);
    run = S().run;
  }
  if (run == nullptr) Abort("ResumeScript without a script");
  std::unique_lock lock(run->mutex);
  if (run->returned) return;
  run->atWait = false;
  ++run->resumes;
  run->changed.notify_all();
  AwaitWait(*run, lock);
}

bool ScriptStarted() {
  std::lock_guard lock(S().mutex);
  return S().run != nullptr;
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
  fake::ScriptRun* run = fake::currentRun;
  if (run == nullptr) return;  // called from a test thread directly: nothing to yield to
  std::unique_lock lock(run->mutex);
  const std::uint64_t ticket = run->resumes;
  run->atWait = true;
  run->changed.notify_all();
  run->changed.wait(lock, [run, ticket] { return run->resumes != ticket; });
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
    event.texts.resize(args.size());
    if (const auto found = s.textArgs.find(hash); found != s.textArgs.end())
      for (const std::size_t i : found->second)
        if (i < args.size() && args[i] != 0) event.texts[i] = fake::NativeCall{hash, args}.Text(i);
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
  if (hash == fake::kGetHashKey && !args.empty() && args[0] != 0)
    s.names[static_cast<std::uint32_t>(answer[0])] = call.Text(0);
  if (s.withoutSlots.count(hash) != 0) return nullptr;
  s.slots = std::make_unique<UINT64[]>(answer.size());
  std::copy(answer.begin(), answer.end(), s.slots.get());
  return s.slots.get();
}
