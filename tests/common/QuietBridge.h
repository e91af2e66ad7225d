#pragma once
// A quiet stand-in for the script bridge, for the programs that watch the plug-in's heap: the fault
// tests and the benchmark. Every native answers from the scene in force, one fixed record of what the
// host says, and the bridge keeps nothing from one call to the next beyond the call being marshalled, so
// it allocates nothing and a frame through it costs what the natives themselves cost. The registrations
// do nothing; scriptWait is the program's own (the fault tests step a script thread through it).
#include <cstdint>
#include <string>
#include <vector>

#include "host/Bridge.h"

struct Scene {
  std::int32_t playerPed = 0x101;
  std::int32_t playerId = 0;
  std::int32_t horse = 0x202;
  std::int32_t promptGroup = 0x303;
  std::uint32_t weapon = 0x772C8DD6;
  std::int32_t weaponEntity = 0x404;
  float distance = 20.0f;  // far from the horse: the prompt stays hidden
  float agitation = 0.0f;
  bool horseStates[2] = {false, false};
  bool weaponTests[3] = {true, false, false};
  bool completed = false;
  std::uint32_t fittedScope = 0;  // hash of the scope component the weapon carries, 0 for none
  bool playerInScope = false;
  bool weaponInScope = false;
};

// What nativeCall answers from (a default Scene until set). Changed only between frames.
extern const Scene* ActiveScene;

// Every nativeCall adds one: natives per frame are a count, the same on every machine.
extern std::uint64_t NativeCalls;

// While set, every native is noted as a line (tests/common/NativeLine.h) in a fixed buffer. Not while
// timing.
extern bool NotingNatives;
// The lines noted since the last call.
std::vector<std::string> TakeNatives();
