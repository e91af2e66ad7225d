#include "FaultScript.h"

#include "FailingAllocator.h"
#include "ScriptThread.h"
#include "host/Script.h"

namespace {
DWORD lastWait = 0;  // written by the script before it hands over, read by the test after

void Script() {
  faults::MarkScriptThread();
  ScriptMain();
}
}  // namespace

void scriptWait(DWORD milliseconds) {
  lastWait = milliseconds;
  YieldToTest();
}

namespace faults {
Scene scene;

void StartScript() {
  ActiveScene = &scene;
  NotingNatives = true;
  StartScriptThread(Script);
}

DWORD Step() {
  ResumeScriptThread();
  return lastWait;
}

bool ScriptEscaped() { return EndOfScript() == ScriptEnd::kThrew; }

}  // namespace faults
