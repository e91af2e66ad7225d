#pragma once
// What a player would see, frame by frame: one-off events at their frame, and states that hold over
// several frames (the reticle hidden, a text on screen) as one span each. The frame is the world's.
#include <string>

// A one-off event at the current frame.
void TimelineAdd(const std::string& text);
// The state described by text holds on the current frame; consecutive frames make one span.
void TimelineHold(const std::string& text);
// The whole timeline, in frame order, one line per entry.
std::string TimelineText();
void TimelineClear();
