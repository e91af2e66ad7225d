#pragma once
// What a scenario's events do to the world. Each is told as the scenario's own line ("> ..."); what only
// the host can do (a keyboard message, unloading the plug-in) the world asks of it (WorldAskHostWith).
#include "world/Scenario.h"

void ApplyEvent(const ScenarioEvent& event);
