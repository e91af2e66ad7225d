#pragma once
// A recording stand-in for the script bridge, for tests that link the plug-in natively.
//
// It defines the eight bridge operations. Every call made through them lands, in order, in one event
// list: registrations with their module and function pointers, every scriptWait with its milliseconds,
// and every native with its hash and its pushed 64-bit arguments. Text arguments are copied at call time
// (the plug-in's pointers are only alive during the call). Natives are answered from a per-test script
// of handlers; anything unscripted answers all-zero slots, except GetHashKey, which answers a
// deterministic hash of its text.
//
// ScriptMain runs on a thread of its own that the test steps from one scriptWait to the next. Since it
// never returns and swallows every exception, a finished test leaves its thread blocked for ever in
// scriptWait, on state that is never destroyed; such a script never runs again.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/Bridge.h"

namespace fake {

inline constexpr UINT64 kGetHashKey = 0xFD340785ADF8CFB7;

// What GetHashKey answers for a text by default: Jenkins' one-at-a-time hash of its bytes.
std::uint32_t HashOf(std::string_view text);

enum class EventKind { ScriptRegister, ScriptUnregister, KeyboardRegister, KeyboardUnregister, Wait, Native };

struct Event {
  EventKind kind = EventKind::Native;
  HMODULE module = nullptr;                         // scriptRegister, scriptUnregister
  void (*script)() = nullptr;                       // scriptRegister
  KeyboardHandler keyboard = nullptr;               // keyboard (un)register
  DWORD milliseconds = 0;                           // scriptWait
  UINT64 hash = 0;                                  // native
  std::vector<UINT64> args{};                       // native, in push order
  std::vector<std::optional<std::string>> texts{};  // per argument: its text, for text arguments
};

using Slots = std::array<UINT64, 3>;

// What a native handler is given. Valid only during the call.
struct NativeCall {
  UINT64 hash;
  const std::vector<UINT64>& args;
  // The text behind argument i (the plug-in's pointer, alive during the call).
  std::string Text(std::size_t i) const;
  // Writes the 8-byte output cell that argument i points to.
  void WriteCell(std::size_t i, UINT64 value) const;
  std::uint32_t Low(std::size_t i) const { return static_cast<std::uint32_t>(args.at(i)); }
};

// Answers a native call with its result slots; may write output cells or throw.
using Handler = std::function<Slots(const NativeCall&)>;

Slots Value(UINT64 slot0);
Slots Float(float value);  // bit pattern in the low half of slot 0
Slots Vector(float x, float y, float z);

// Forgets everything: events, handlers, protocol errors, the result slots; abandons a running script.
void Reset();

// The standing answer for a hash, replacing any earlier one.
void OnNative(UINT64 hash, Handler handler);
void Answer(UINT64 hash, Slots slots);
inline void Answer(UINT64 hash, UINT64 slot0) { Answer(hash, Value(slot0)); }
// Answers used once each, in order, before the standing answer.
void Queue(UINT64 hash, std::vector<Slots> answers);
void Queue(UINT64 hash, std::initializer_list<UINT64> slot0s);
// A handler used once, before the queued and standing answers.
void Once(UINT64 hash, Handler handler);
// From now on nativeCall hands back no result slots at all (a null pointer) for this hash; the call is
// recorded and its handler run as usual.
void AnswerWithoutSlots(UINT64 hash);

// Arguments that are pointers to text (captured as strings) or to output cells (rendered as "&cell").
// The natives of the plug-in that take them are known already; these add others.
void DeclareTextArgument(UINT64 hash, std::size_t index);
void DeclareCellArgument(UINT64 hash, std::size_t index);

std::vector<Event> Events();
std::size_t EventCount();
// Misuse of the call protocol seen so far (a push outside a call, a call without init, ...).
std::vector<std::string> ProtocolErrors();

// One event as a line: natives as "0xB48050D326E9A2F3(0x5)" with upper-case hex arguments, texts in
// single quotes, output cells as "&cell", and a value that GetHashKey answered in this test for a name
// (0x10000 or above) as "#NAME"; waits as "scriptWait(0)".
std::string Render(const Event& event);
// The events from index `from` on, rendered.
std::vector<std::string> Lines(std::size_t from = 0);
// Only the natives among them.
std::vector<std::string> NativeLines(std::size_t from = 0);
// How many natives with this hash were sent from index `from` on.
std::size_t CountNative(UINT64 hash, std::size_t from = 0);

// Runs entry (normally ScriptMain) on a thread of its own until its first scriptWait.
void StartScript(void (*entry)());
// Lets the script run from the wait it is in to the next one. Aborts the process when the script does
// not reach a wait within a few seconds: its thread would then be loose among the next tests.
void ResumeScript();
bool ScriptStarted();

}  // namespace fake
