#pragma once
// Puts the plug-in's globals back as they are at load: no settings store, no prompt, empty scope
// memory, PlayerPed 0, all key states zero. Only safe while no script is running (or the last one is
// parked in a wait for good).
#include "core/Settings.h"
#include "features/Prompt.h"
#include "features/ScopeToggle.h"
#include "host/Keyboard.h"
#include "host/Script.h"

inline void ResetPluginGlobals() {
  delete Settings;
  Settings = nullptr;
  delete ScopeTogglePrompt;
  ScopeTogglePrompt = nullptr;
  ScopeMemory.clear();
  PlayerPed = 0;
  for (KeyState& state : KeyStates) state = {};
}
