#include "core/Platform.h"
#include "host/Bridge.h"
#include "host/Keyboard.h"
#include "host/Script.h"

// The loader finds the entry by its C name. No native may be called from here.
extern "C" BOOL DllMain(HINSTANCE module, DWORD reason, void* reserved) {
  if (reason == 1) {  // process attach
    scriptRegister(module, ScriptMain);
    keyboardHandlerRegister(OnKeyboardMessage);
  } else if (reason == 0) {  // process detach
    scriptUnregister(module);
    keyboardHandlerUnregister(OnKeyboardMessage);
    // Freed only on FreeLibrary, whose reserved argument is null, and last: nothing of the plug-in runs
    // after it. When the process ends, the system has stopped every other thread wherever it stood and
    // the heap may be in any state; it takes the memory back itself.
    if (reserved == nullptr) ReleaseRuntimeMemory();
  }
  return 1;
}
