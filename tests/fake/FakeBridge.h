#pragma once
// A recording stand-in for the script bridge, for tests that link the plug-in natively.
//
// It defines the eight bridge operations. Every call made through them lands, in order, in one event
// list: registrations with their module and function pointers, every scriptWait with its milliseconds,
// and every native with its hash, its pushed 64-bit arguments and its line, written at call time while
// the plug-in's text pointers are alive. Natives are named by their entries in the native catalogue
// (standin/world/NativeCatalogue.h) and answered from a per-test script of handlers; anything unscripted
// answers all-zero slots, except GetHashKey, which answers a deterministic hash of its text.
//
// ScriptMain runs on a thread of its own that the test steps from one scriptWait to the next
// (common/ScriptThread.h); a finished test leaves it blocked for ever in scriptWait.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "host/Bridge.h"
#include "standin/world/NativeCatalogue.h"

namespace fake {

// What GetHashKey answers for a text by default: Jenkins' one-at-a-time hash of its bytes.
std::uint32_t HashOf(std::string_view text);

enum class EventKind { ScriptRegister, ScriptUnregister, KeyboardRegister, KeyboardUnregister, Wait, Native };

struct Event {
  EventKind kind = EventKind::Native;
  HMODULE module = nullptr;            // scriptRegister, scriptUnregister
  void (*script)() = nullptr;          // scriptRegister
  KeyboardHandler keyboard = nullptr;  // keyboard (un)register
  DWORD milliseconds = 0;              // scriptWait
  UINT64 hash = 0;                     // native
  std::vector<UINT64> args{};          // native, in push order
  std::string line{};                  // native: the call as Lines shows it
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

// Forgets everything: events, handlers, protocol errors, the result slots; leaves a running script behind.
void Reset();

// The standing answer for a native, replacing any earlier one.
void OnNative(const NativeEntry& native, Handler handler);
void Answer(const NativeEntry& native, Slots slots);
inline void Answer(const NativeEntry& native, UINT64 slot0) { Answer(native, Value(slot0)); }
// Answers used once each, in order, before the standing answer.
void Queue(const NativeEntry& native, std::initializer_list<UINT64> slot0s);
// A handler used once, before the queued and standing answers.
void Once(const NativeEntry& native, Handler handler);
// From now on nativeCall hands back no result slots at all (a null pointer) for this native; the call
// is recorded and its handler run as usual.
void AnswerWithoutSlots(const NativeEntry& native);

std::vector<Event> Events();
std::size_t EventCount();
// Misuse of the call protocol seen so far (a push outside a call, a call without init, ...), and a
// script function that ended.
std::vector<std::string> ProtocolErrors();

// The events from index `from` on, one line each: natives as tests/common/NativeLine.h writes them,
// "PromptSetVisible(0x50, 1)", with a hash that GetHashKey answered in this test as "#NAME"; waits as
// "scriptWait(0)".
std::vector<std::string> Lines(std::size_t from = 0);
// How many calls of this native were sent from index `from` on.
std::size_t CountNative(const NativeEntry& native, std::size_t from = 0);

}  // namespace fake
