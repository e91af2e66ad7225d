#pragma once
// The benchmark's stand-in for the script bridge: every native answers from the scenario in force, a
// fixed record of what the host would say this frame. It keeps nothing from one call to the next beyond
// the call being marshalled, so a frame through it costs what the native sequence itself costs.
#include <cstdint>
#include <string>
#include <vector>

#include "host/Bridge.h"
#include "standin/world/NameHash.h"

struct Scenario {
  std::int32_t playerPed = 0x101;
  std::int32_t playerId = 0;
  std::int32_t horse = 0x202;
  std::int32_t promptGroup = 0x303;
  std::uint32_t weapon = 0x772C8DD6;
  std::int32_t weaponEntity = 0x404;
  float distance = 20.0f;
  float agitation = 0.0f;
  bool horseStateA = false;
  bool horseStateB = false;
  bool weaponTests[3] = {true, false, false};
  bool completed = false;
  std::uint32_t fittedScope = 0;  // hash of the scope component the weapon carries, 0 for none
  bool playerInScope = false;
  bool weaponInScope = false;
};

// The scenario that nativeCall answers from. Switching it between frames is the driver's business.
extern const Scenario* ActiveScenario;

// Verification only, never while timing: when set, every native is appended to it as one readable
// line, pointers to names shown as the names, output cells as "cell".
extern std::vector<std::string>* NativeTrace;

// Every nativeCall adds one: natives per frame are a count, the same on every machine.
extern std::uint64_t NativeCalls;
