#include "fake/FakeBridge.h"

#include <bit>
#include <deque>
#include <map>
#include <set>

#include "testkit/Game.h"
#include "testkit/NativeLine.h"
#include "testkit/ScriptRunner.h"

namespace fake {
namespace {

// The script and the test take turns (testkit/ScriptRunner.h), so the two never touch this at once.
struct State {
  std::vector<std::string> lines;
  std::vector<UINT64> hashes;  // per line: the native's hash, 0 for the bridge's own operations
  std::map<UINT64, Handler> standing;
  std::map<UINT64, std::deque<Handler>> queued;
  std::set<UINT64> withoutSlots;
  std::vector<std::string> errors;
};

// Never destroyed, so nothing depends on the order of static destruction at exit.
State& S() {
  static State* state = new State;
  return *state;
}

void Add(std::string line, UINT64 hash = 0) {
  S().lines.push_back(std::move(line));
  S().hashes.push_back(hash);
}

bool AnswerCall(const NativeCall& call) {
  State& s = S();
  Handler handler;
  if (auto queued = s.queued.find(call.hash); queued != s.queued.end() && !queued->second.empty()) {
    handler = std::move(queued->second.front());
    queued->second.pop_front();
  } else if (const auto standing = s.standing.find(call.hash); standing != s.standing.end()) {
    handler = standing->second;
  }
  if (handler) {
    const Slots answer = handler(call);
    std::copy(answer.begin(), answer.end(), call.slots);
  } else {
    AnswerFromGame(call);
  }
  return s.withoutSlots.count(call.hash) == 0;
}

void NoteCall(const NativeCall& call, bool) {
  std::string line(FormatNativeLine(call, false, nullptr, 0), '\0');
  FormatNativeLine(call, false, line.data(), line.size() + 1);
  Add(std::move(line), call.hash);
}

// A test may call a feature straight from its own thread: natives from outside the script are fine.
void Note(int note, UINT64 detail, const char* problem) {
  switch (note) {
    case kNoteScriptRegistered: Add("scriptRegister"); break;
    case kNoteScriptUnregistered: Add("scriptUnregister"); break;
    case kNoteKeyboardRegistered: Add("keyboardHandlerRegister"); break;
    case kNoteKeyboardUnregistered: Add("keyboardHandlerUnregister"); break;
    case kNoteScriptWaits: Add("scriptWait(" + std::to_string(detail) + ")"); break;
    case kNoteWaitOffScript: S().errors.push_back("scriptWait called from outside the script"); break;
    case kNoteProblem: S().errors.push_back(problem); break;
    default: break;
  }
}

}  // namespace

Slots Value(UINT64 slot0) { return Slots{slot0, 0, 0}; }
Slots Float(float value) { return Slots{std::bit_cast<std::uint32_t>(value), 0, 0}; }

void Reset() {
  BridgeShutdown();  // the script blocked in scriptWait is left there: nobody will ever resume it
  NewGame();
  S() = State{};
  BridgeSetHooks(AnswerCall, Note, NoteCall);
}

void OnNative(const NativeEntry& native, Handler handler) { S().standing[native.hash] = std::move(handler); }
void Answer(const NativeEntry& native, UINT64 slot0) {
  OnNative(native, [slot0](const NativeCall&) { return Value(slot0); });
}
void AnswerWithoutSlots(const NativeEntry& native) { S().withoutSlots.insert(native.hash); }

void Queue(const NativeEntry& native, std::initializer_list<UINT64> slot0s) {
  for (const UINT64 v : slot0s) S().queued[native.hash].push_back([v](const NativeCall&) { return Value(v); });
}

void Once(const NativeEntry& native, Handler handler) { S().queued[native.hash].push_front(std::move(handler)); }

std::vector<std::string> Lines(std::size_t from) {
  const std::vector<std::string>& lines = S().lines;
  return std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(std::min(from, lines.size())),
                                  lines.end());
}

std::size_t LineCount() { return S().lines.size(); }

std::size_t CountNative(const NativeEntry& native, std::size_t from) {
  std::size_t count = 0;
  for (std::size_t i = from; i < S().hashes.size(); ++i) count += S().hashes[i] == native.hash ? 1 : 0;
  return count;
}

std::vector<std::string> ProtocolErrors() {
  std::vector<std::string> errors = S().errors;
  if (const ScriptEnd end = EndOfScript(); end != ScriptEnd::kNotYet)
    errors.push_back(end == ScriptEnd::kThrew ? "an exception left the script function"
                                              : "the script function returned");
  return errors;
}

}  // namespace fake

// The platform's, in its place (it is the only function of its file in the plug-in's library): the
// tests see DllMain call it among the lines.
void ReleaseRuntimeMemory() { fake::Add("ReleaseRuntimeMemory"); }
