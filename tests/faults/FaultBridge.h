#pragma once
// A bridge for fault injection: it allocates nothing itself, so that every allocation counted on the
// script's thread is the plug-in's. Natives answer from `scene`; each one is noted as a line of text in a
// fixed buffer. ScriptMain runs on a thread of its own, stepped by the test from one scriptWait to the
// next; a finished test leaves it blocked for ever in its last wait.
#include <cstdint>
#include <string>
#include <vector>

#include "host/Bridge.h"
#include "standin/world/NameHash.h"

namespace faults {

// What the host answers. The test changes it only while the script waits.
struct Scene {
  std::int32_t playerPed = 0x101;
  std::int32_t horse = 0x202;
  std::int32_t promptGroup = 0x303;
  std::uint32_t weapon = 0x772C8DD6;
  std::int32_t weaponEntity = 0x404;
  float distance = 20.0f;
  bool weaponAdmitted = true;
  bool completed = false;
  std::uint32_t fittedScope = 0;  // hash of the scope component on the weapon, 0 for none
  bool inScope = false;
};
extern Scene scene;

// What GetHashKey answers: the one-at-a-time hash of the name as given, not lower-cased.
inline std::uint32_t NameHash(const char* name) { return OneAtATime(name, false); }

// Starts ScriptMain on a new thread and returns once it waits for the first time.
void StartScript();
// Lets the script run to its next wait; returns that wait's milliseconds. Aborts the process when the
// script does not wait again within a few seconds.
DWORD Step();
// Whether an exception left ScriptMain (and so would have reached the host).
bool ScriptEscaped();

// The natives sent since the last call, as "0x<HASH>(args)" with texts quoted, output cells as "cell".
std::vector<std::string> TakeNatives();

}  // namespace faults
