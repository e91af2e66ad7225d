#pragma once
// The script bridge's eight operations, declared the way the bridge's own C++ SDK declares them, so that
// an MSVC build links against the bridge's import library unchanged. The mingw build reaches the same
// exports under their Microsoft-decorated names through cmake/ScriptBridge.mingw.def.in. Natively (tests, the
// stand-in host) whoever links the plug-in supplies them. A bridge built from these declarations
// (VARNHOLT_BRIDGE_EXPORTS) exports them instead.
//
// The Windows types are spelled out here instead of pulling in <windows.h>: they are the same typedefs,
// so a file that includes both still compiles, and portable code stays free of Windows macros. On
// Windows nothing else is included, so the declarations build even without a C++ library.
struct HINSTANCE__;  // NOLINT(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp): the system's own name
typedef HINSTANCE__* HINSTANCE;
typedef HINSTANCE HMODULE;
#ifdef _WIN32
typedef unsigned long DWORD;  // 32 bits on Windows
typedef unsigned long long UINT64;
#else
#include <cstdint>
typedef std::uint32_t DWORD;  // unsigned long is 64 bits here
typedef std::uint64_t UINT64;
#endif
typedef unsigned short WORD;
typedef unsigned char BYTE;
typedef int BOOL;
typedef UINT64* PUINT64;

#if defined(VARNHOLT_BRIDGE_EXPORTS)
#define VARNHOLT_BRIDGE_API __declspec(dllexport)
#elif defined(_MSC_VER)
#define VARNHOLT_BRIDGE_API __declspec(dllimport)
#else
#define VARNHOLT_BRIDGE_API
#endif

typedef void (*KeyboardHandler)(DWORD key, WORD repeats, BYTE scanCode, BOOL extended, BOOL withAlt, BOOL wasDownBefore,
                                BOOL isUpNow);

VARNHOLT_BRIDGE_API void scriptRegister(HMODULE module, void (*scriptMain)());
VARNHOLT_BRIDGE_API void scriptUnregister(HMODULE module);
VARNHOLT_BRIDGE_API void scriptWait(DWORD milliseconds);
VARNHOLT_BRIDGE_API void keyboardHandlerRegister(KeyboardHandler handler);
VARNHOLT_BRIDGE_API void keyboardHandlerUnregister(KeyboardHandler handler);
VARNHOLT_BRIDGE_API void nativeInit(UINT64 hash);
VARNHOLT_BRIDGE_API void nativePush64(UINT64 value);
VARNHOLT_BRIDGE_API PUINT64 nativeCall();
