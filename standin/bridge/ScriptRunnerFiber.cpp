// The script on a Windows fiber, as the game's bridge runs it: the host thread becomes a fiber itself and
// the two switch back and forth, so the script runs on the host's thread between frames.
// GetCurrentFiber reads the thread block through an inline intrinsic that GCC 12 takes for an
// out-of-bounds array access.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
#include <windows.h>
#pragma GCC diagnostic pop

#include "testkit/ScriptRunner.h"

namespace {
void* hostFiber = nullptr;
bool threadConverted = false;  // whether we made the host thread a fiber (and so must undo it)
void* scriptFiber = nullptr;
void (*scriptEntry)() = nullptr;
bool scriptEnded = false;
bool discardPending = false;

VOID WINAPI ScriptFiberMain(LPVOID) {
  scriptEntry();
  scriptEnded = true;
  // A fiber function must not return (that would end the thread): park here for good.
  for (;;) SwitchToFiber(hostFiber);
}

void SwitchToScript() {
  SwitchToFiber(scriptFiber);
  if (discardPending) {
    discardPending = false;
    DiscardScript();
  }
}
}  // namespace

void StartScript(void (*entry)()) {
  DiscardScript();
  if (hostFiber == nullptr && IsThreadAFiber()) hostFiber = GetCurrentFiber();
  if (hostFiber == nullptr) {
    hostFiber = ConvertThreadToFiber(nullptr);
    threadConverted = hostFiber != nullptr;
  }
  scriptEntry = entry;
  scriptEnded = false;
  scriptFiber = CreateFiber(0, ScriptFiberMain, nullptr);
  if (scriptFiber == nullptr || hostFiber == nullptr) {
    scriptEnded = true;  // no fiber to run on: the script counts as ended
    return;
  }
  SwitchToScript();
}

void ResumeScript() {
  if (scriptFiber != nullptr && !scriptEnded) SwitchToScript();
}

void SuspendToHost() { SwitchToFiber(hostFiber); }

bool OnScript() { return scriptFiber != nullptr && IsThreadAFiber() && GetCurrentFiber() == scriptFiber; }

// An exception that leaves the script ends the process, as in the game: only a return ends it here.
ScriptEnd EndOfScript() { return scriptEnded ? ScriptEnd::kReturned : ScriptEnd::kNotYet; }

void DiscardScript() {
  if (scriptFiber == nullptr) return;
  if (OnScript()) {  // a fiber cannot delete itself
    discardPending = true;
    return;
  }
  // The fiber's stack goes without unwinding, as when the game drops a script: nothing on it runs again.
  DeleteFiber(scriptFiber);
  scriptFiber = nullptr;
  scriptEnded = false;
}

void ShutdownRunner() {
  DiscardScript();
  if (threadConverted) ConvertFiberToThread();
  threadConverted = false;
  hostFiber = nullptr;
}
