#pragma once
// The unit tests' view of the test kit's bridge: every call the plug-in makes through it lands, in
// order, in one list of lines, written at call time while the plug-in's text pointers are alive:
// natives as testkit/NativeLine.h writes them, "PromptSetVisible(0x50, 1)", registrations by their
// names and waits as "scriptWait(0)". Natives are answered by the game (testkit/Game.h) unless a test
// scripts an answer of its own; misuse of the bridge is kept as protocol errors.
//
// ScriptMain runs on the kit's script runner, stepped by the test from one scriptWait to the next; a
// finished test leaves it blocked for ever.
#include <array>
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "testkit/BridgeCore.h"
#include "testkit/Catalogue.h"

namespace fake {

using Slots = std::array<UINT64, 3>;
// Answers a native call with its result slots; may write output cells or throw.
using Handler = std::function<Slots(const NativeCall&)>;

Slots Value(UINT64 slot0);
Slots Float(float value);  // bit pattern in the low half of slot 0

// Forgets everything (lines, scripted answers, protocol errors) and starts a new game; leaves a running
// script behind.
void Reset();

// The standing answer for a native, in place of the game's.
void OnNative(const NativeEntry& native, Handler handler);
void Answer(const NativeEntry& native, UINT64 slot0);
// Answers used once each, in order, before the standing answer.
void Queue(const NativeEntry& native, std::initializer_list<UINT64> slot0s);
// A handler used once, before the queued and standing answers.
void Once(const NativeEntry& native, Handler handler);
// From now on nativeCall hands back no result slots at all (a null pointer) for this native; the call is
// answered and its line written as usual.
void AnswerWithoutSlots(const NativeEntry& native);

std::vector<std::string> Lines(std::size_t from = 0);
std::size_t LineCount();
// How many calls of this native were sent from line `from` on.
std::size_t CountNative(const NativeEntry& native, std::size_t from = 0);
// Misuse of the bridge seen so far (a push outside a call, a slot that does not fit its kind, ...), and
// a script function that ended.
std::vector<std::string> ProtocolErrors();

}  // namespace fake
