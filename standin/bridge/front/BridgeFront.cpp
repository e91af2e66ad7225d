// A script bridge front made by a Microsoft-ABI compiler. It defines the eight operations from the
// plug-in's own declarations, so that the compiler itself decorates the names it exports, as the
// game's bridge (built with MSVC) does; a wrong hand-written decoration on the plug-in's side then fails
// to load here, as it would in the game. Each operation passes straight on to the stand-in bridge,
// loaded beside it as StandinBridge.dll. No C runtime: the front has no state and calls nothing else.
#define VARNHOLT_BRIDGE_EXPORTS
#include "host/Bridge.h"

extern "C" {
__declspec(dllimport) void StandinScriptRegister(HMODULE module, void (*scriptMain)());
__declspec(dllimport) void StandinScriptUnregister(HMODULE module);
__declspec(dllimport) void StandinScriptWait(DWORD milliseconds);
__declspec(dllimport) void StandinKeyboardHandlerRegister(KeyboardHandler handler);
__declspec(dllimport) void StandinKeyboardHandlerUnregister(KeyboardHandler handler);
__declspec(dllimport) void StandinNativeInit(UINT64 hash);
__declspec(dllimport) void StandinNativePush64(UINT64 value);
__declspec(dllimport) PUINT64 StandinNativeCall();
}

void scriptRegister(HMODULE module, void (*scriptMain)()) { StandinScriptRegister(module, scriptMain); }
void scriptUnregister(HMODULE module) { StandinScriptUnregister(module); }
void scriptWait(DWORD milliseconds) { StandinScriptWait(milliseconds); }
void keyboardHandlerRegister(KeyboardHandler handler) { StandinKeyboardHandlerRegister(handler); }
void keyboardHandlerUnregister(KeyboardHandler handler) { StandinKeyboardHandlerUnregister(handler); }
void nativeInit(UINT64 hash) { StandinNativeInit(hash); }
void nativePush64(UINT64 value) { StandinNativePush64(value); }
PUINT64 nativeCall() { return StandinNativeCall(); }
