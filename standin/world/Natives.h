#pragma once
// The natives the stand-in knows: a readable name for the trace and for scenarios, and what kind of
// value each argument slot should hold, so that a slot marshalled the wrong way is caught.
#include <cstdint>
#include <string>

#include "host/Bridge.h"

// Argument kinds, one letter per slot:
//   i  32-bit value, high half zero        w  32-bit value sign-widened to 64 bits
//   h  32-bit name hash, high half zero    f  single-precision float bits, high half zero
//   s  pointer to a NUL-terminated text    c  pointer to an 8-byte output cell
//   v  64-bit host value, any bits
struct NativeInfo {
  UINT64 hash;
  const char* name;
  const char* args;
};

// Null for a native the stand-in does not know.
const NativeInfo* FindNative(UINT64 hash);
// By name, exactly as listed (e.g. "CurrentWeapon"); null when there is none.
const NativeInfo* FindNativeByName(const std::string& name);
// All known natives, ending with an entry whose name is null.
const NativeInfo* AllNatives();
