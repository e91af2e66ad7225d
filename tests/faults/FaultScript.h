#pragma once
// The fault tests' script: ScriptMain on a thread of its own, stepped by the test from one scriptWait to
// the next, against the quiet bridge (tests/common/QuietBridge.h), which answers from `scene` and notes
// every native. A finished test leaves the thread blocked for ever in its last wait.
#include <string>
#include <vector>

#include "QuietBridge.h"

namespace faults {

// What the host answers. The test changes it only while the script waits.
extern Scene scene;

// Starts ScriptMain and returns once it waits for the first time.
void StartScript();
// Lets the script run to its next wait; returns that wait's milliseconds. Aborts the process when the
// script does not wait again within a few seconds.
DWORD Step();
// Whether an exception left ScriptMain (and so would have reached the host).
bool ScriptEscaped();

// The failure path's message for an exception's description, and the natives that show it on screen.
inline std::string Fatal(const std::string& what) { return "Fatal: " + what + ", check the logs for more info."; }
inline std::vector<std::string> ShownOnScreen(const std::string& message) {
  return {"CreateLiteralText(0xA, 'LITERAL_STRING', '" + message + "')", "SetScreenText(0x5EC7)", "PlaceScreenText()",
          "DrawScreenText()"};
}

}  // namespace faults
