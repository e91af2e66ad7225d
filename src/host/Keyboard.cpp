#include "host/Keyboard.h"

#include "core/Platform.h"

KeyState KeyStates[kKeyStateCount] = {};

void OnKeyboardMessage(DWORD key, WORD, BYTE, BOOL, BOOL withAlt, BOOL wasDownBefore, BOOL isUpNow) {
  if (key >= static_cast<DWORD>(kKeyStateCount)) return;
  KeyStates[key] = KeyState{TickCount(), withAlt, wasDownBefore, isUpNow};
}
