#include "core/Platform.h"
#include "host/Bridge.h"
#include "host/Keyboard.h"
#include "host/Script.h"

// The loader finds the entry by its C name. No native may be called from here.
extern "C" BOOL DllMain(HINSTANCE module, DWORD reason, void*) {
  if (reason == 1) {  // process attach
    scriptRegister(module, ScriptMain);
    keyboardHandlerRegister(OnKeyboardMessage);
  } else if (reason == 0) {  // process detach
    scriptUnregister(module);
    keyboardHandlerUnregister(OnKeyboardMessage);
    ReleaseRuntimeMemory();  // last: nothing of the plug-in runs after this
  }
  return 1;
}
