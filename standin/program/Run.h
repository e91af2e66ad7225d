#pragma once
// The scenario engine: prepares the working folder, loads the bridge and the plug-in, plays the scenario
// frame by frame, unloads, and prints what a player would have seen.
#include "program/RunOptions.h"
#include "world/Scenario.h"

// Prints the report on stdout. Returns the process exit code: 0 when the run took place, 1 when it
// could not (folder, loading); errors go to stderr.
int RunScenario(const Scenario& scenario, const RunOptions& options);
