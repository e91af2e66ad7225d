#pragma once
// The fault tests' script: ScriptMain stepped on a thread of its own (tests/common/ScriptThread.h)
// against the quiet bridge (tests/common/QuietBridge.h), which answers from `scene` and notes every
// native.
#include <string>
#include <vector>

#include "QuietBridge.h"

namespace faults {

// What the host answers. The test changes it only while the script waits.
extern Scene scene;

// Starts ScriptMain and returns once it waits for the first time.
void StartScript();
// Lets the script run to its next wait; returns that wait's milliseconds.
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
