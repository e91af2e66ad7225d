#pragma once
// The scenario engine: prepares the working folder, loads the bridge and the plug-in, plays the scenario
// frame by frame, unloads, and prints what a player would have seen.
#include <string>
#include <vector>

#include "world/Scenario.h"

struct RunOptions {
  std::string dir = "varnholt-run";  // the run's working folder
  std::string bridgePath;             // Windows: ScriptBridge.dll
  std::string pluginPath;             // Windows: Varnholt.dll
  std::string frontPath;              // Windows: a bridge front in place of the bridge, if any
  bool trace = false;
  bool holdLog = false;    // keep Quillfen/Log.log open with read and write sharing during the run
  bool keyThread = false;  // deliver keyboard messages from another thread while frames run
  bool binaryDefault = false;  // the process's C runtime opens files in binary unless told otherwise
  bool asIs = false;       // keep the folder's own Varnholt.ini and Quillfen (an unzipped release, say)
  int frames = 0;          // frames to run instead of the scenario's own number
  std::vector<int> memoryAt;  // frame counts after which memory is sampled
  int cycles = 1;          // plays of the scenario in one process, each loading and unloading the plug-in
  std::string svgPath;     // where to write the run's picture; none when empty
};

// Prints the report on stdout. Returns the process exit code: 0 when the run took place, 1 when it
// could not (folder, loading); errors go to stderr.
int RunScenario(const Scenario& scenario, const RunOptions& options);
