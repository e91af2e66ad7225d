#pragma once
// The scenes of the benchmark cases, and each case's floor: the two switch reads that every frame
// owes, and the natives its frames send, written out as straight-line calls with nothing of the plug-in's
// own logic.
#include "QuietBridge.h"
#include "standin/world/NameHash.h"

namespace scenes {
// Both features on, the player far from the horse and not in scope.
inline constexpr Scene idle{};
// Beside a calm horse with an admitted weapon: the prompt is shown, not completed.
inline constexpr Scene shown = [] {
  Scene s;
  s.distance = 1.0f;
  s.agitation = 0.1f;
  return s;
}();
// The prompt completed on a weapon that carries the second scope, then on one that carries none.
inline constexpr Scene removeScope = [] {
  Scene s = shown;
  s.completed = true;
  s.fittedScope = NameHash("COMPONENT_RIFLE_SCOPE03");
  return s;
}();
inline constexpr Scene restoreScope = [] {
  Scene s = shown;
  s.completed = true;
  return s;
}();
// Looking down the scope, far from the horse: the reticle is hidden.
inline constexpr Scene inScope = [] {
  Scene s;
  s.playerInScope = true;
  s.weaponInScope = true;
  return s;
}();
}  // namespace scenes

// The store the floors read the two switches from: the lines "name=value" of the case's settings file.
void SetFloorSettings(const char* file);

void FloorIdle();
void FloorShown();
// Four frames: remove the scope, release the prompt, restore the scope, release it again.
void FloorToggle();
void FloorInScope();
void FloorOff();
// The natives of a failing frame and two bare open-append-close cycles of the log file.
void FloorFailing();
