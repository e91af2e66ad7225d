#pragma once
// The cost floor of a frame, taken from what the plug-in's own frame did: its natives, replayed straight-line
// through the same bridge and game with the same arguments; its look-ups of the switches in the settings store;
// and the lines it appended to the log, as bare open-append-close cycles. So the floor follows any change to
// what a frame sends, reads or logs, and a frame is judged by what its own logic adds.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "host/Bridge.h"

struct RecordedCall {
  UINT64 hash = 0;
  std::vector<UINT64> args;  // as pushed, but texts and output cells are the floor's own
};

struct RecordedFrame {
  std::vector<RecordedCall> calls;
  std::vector<std::string> logLines;  // as appended, line end included
};

// Plays run, which plays frames and calls EndRecordedFrame after each, and records what they did.
std::vector<RecordedFrame> RecordFrames(const std::function<void()>& run);
void EndRecordedFrame();
// Plays a recorded frame as its floor. Allocates nothing.
void PlayFloor(const RecordedFrame& frame);
