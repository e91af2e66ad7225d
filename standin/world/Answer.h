#pragma once
// What the host asks of the world while the plug-in runs: the answer to every native, as the bridge
// passes it on, and at the end of every frame what the natives left for a player to see.
#include <cstddef>

#include "host/Bridge.h"

// The bridge's answer hook: checks the arguments against the native's entry, throws what the scenario
// planned, answers from the native's table and traces the call.
void AnswerNative(UINT64 hash, const UINT64* args, std::size_t count, UINT64* slots);
// Turns this frame's state into timeline entries and gets ready for the next frame.
void WorldEndFrame();
