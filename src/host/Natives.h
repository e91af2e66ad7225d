#pragma once
// Natives that the script lifecycle itself needs.
#include <cstdint>

#include "host/Bridge.h"
#include "host/NativeCall.h"

// The host's hash of a name. Asked every time: hashes are never cached.
inline std::uint32_t GetHashKey(const char* name) { return CallNative<std::uint32_t>(0xFD340785ADF8CFB7, name); }

inline std::int32_t GetPlayerPedHandle() { return CallNative<std::int32_t>(0x096275889B8E0EE0); }

// The player identifier (not the ped).
inline std::int32_t GetPlayerId() { return CallNative<std::int32_t>(0x217E9DC48139933D); }

// A host text value made from a literal string, passed on unchanged to the natives that show text.
inline UINT64 CreateLiteralText(const char* text) {
  return CallNative<UINT64>(0xFA925AC00EB830B9, 10, "LITERAL_STRING", text);
}

// The three steps that put a host text value on screen: set it, place it, draw it.
inline void SetScreenText(UINT64 text) { CallNative(0xFA233F8FE190514C, text); }
inline void PlaceScreenText() { CallNative(0xE9990552DEC71600); }
inline void DrawScreenText() { CallNative(0xDFF0D417277B41F8); }
