#pragma once
// The natives the stand-in knows, looked up in the four tables of world/Call.h.
#include <string>

#include "host/Bridge.h"
#include "world/Call.h"

// Null for a native the stand-in does not know.
const NativeInfo* FindNative(UINT64 hash);
// By name, exactly as listed (e.g. "GetCurrentWeapon"); null when there is none.
const NativeInfo* FindNativeByName(const std::string& name);
