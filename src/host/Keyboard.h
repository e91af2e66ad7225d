#pragma once
#include <cstdint>

#include "host/Bridge.h"

// What the last keyboard message said about one key.
struct KeyState {
  std::uint32_t time;  // tick count when it arrived
  std::int32_t withAlt;
  std::int32_t wasDownBefore;
  std::int32_t isUpNow;
};

// Key codes 0 to 254. Written only by OnKeyboardMessage, on whatever thread the bridge delivers from.
inline constexpr int kKeyStateCount = 255;
extern KeyState KeyStates[kKeyStateCount];

void OnKeyboardMessage(DWORD key, WORD repeats, BYTE scanCode, BOOL extended, BOOL withAlt, BOOL wasDownBefore,
                       BOOL isUpNow);
