#pragma once
// The fault tests' script: ScriptMain on the kit's script runner and bridge, answered by the kit's game
// and with every native noted as a line into a fixed room, so that nothing on the script's side but the
// plug-in allocates.
#include "host/Bridge.h"

namespace faults {

// A new game as the fault tests' world: the player far from the calm horse, holding an admitted rifle.
// The test changes it only while the script waits.
void NewFaultGame();
// The player beside the horse (the prompt is shown), or far from it.
void StandBesideHorse(bool beside);
// The player holds the prompt's control down, or lets go of it.
void HoldToggle(bool held);
// The rifle carries that scope (again).
void FitScope(const char* component);
// Both in-scope tests answer yes (the reticle is hidden), or no.
void Aim(bool aiming);

// Starts ScriptMain and returns once it waits for the first time.
void StartScript();
// Lets the script run to its next wait; returns that wait's milliseconds.
DWORD Step();
// Whether an exception left ScriptMain (and so would have reached the host).
bool ScriptEscaped();

}  // namespace faults
