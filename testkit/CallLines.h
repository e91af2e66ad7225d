#pragma once
// The natives of a stretch of work as lines (testkit/NativeLine.h), for the programs that watch the
// plug-in's heap: noted into a fixed room, so that noting allocates nothing, and taken afterwards.
#include <string>
#include <vector>

#include "testkit/BridgeCore.h"

// A call hook for BridgeSetHooks. A line longer than the room is cut short.
void NoteCallLine(const NativeCall& call, bool threw);
// The lines noted since the last take, with a last line saying so when some did not fit.
std::vector<std::string> TakeCallLines();
