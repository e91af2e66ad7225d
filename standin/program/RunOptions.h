#pragma once
// How the host was asked to play a scenario: the command line's options, read by the scenario engine
// and the long runs alike.
#include <string>
#include <vector>

struct RunOptions {
  std::string dir;         // the run's working folder; varnholt-run in the temporary folder if empty
  std::string bridgePath;  // Windows: ScriptBridge.dll
  std::string pluginPath;  // Windows: Varnholt.dll
  std::string frontPath;   // Windows: a bridge front in place of the bridge, if any
  bool trace = false;
  bool holdLog = false;        // keep Quillfen/Log.log open with read and write sharing during the run
  bool keyThread = false;      // deliver keyboard messages from another thread while frames run
  bool binaryDefault = false;  // the process's C runtime opens files in binary unless told otherwise
  bool asIs = false;           // keep the folder's own Varnholt.ini and Quillfen (an unzipped release, say)
  bool exitLoaded = false;     // end the process with the plug-in still loaded, as a game that quits does
  int frames = 0;              // frames to run instead of the scenario's own number
  std::vector<int> memoryAt;   // frame counts after which memory is sampled
  int cycles = 1;              // plays of the scenario in one process, each loading and unloading the plug-in
  std::string svgPath;         // where to write the run's picture; none when empty
};
