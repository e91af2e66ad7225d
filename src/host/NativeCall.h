#pragma once
// The one place that knows how a native call is marshalled: nativeInit, one 64-bit slot per argument
// (first argument first), nativeCall, then the result read out of the slots before anything else can
// start another call. Each wrapper elsewhere is one line over CallNative.
#include <bit>
#include <cstdint>
#include <type_traits>  // IWYU pragma: keep (is_same_v in the templates)

#include "host/Bridge.h"

// A 32-bit argument that goes sign-extended into its slot; plain 32-bit values go zero-extended.
struct SignWidened {
  std::int32_t value;
};

// Three floats in the low halves of result slots 0, 1 and 2.
struct Vector3 {
  float x, y, z;
};

namespace native_slot {
inline UINT64 From(std::int32_t v) { return static_cast<std::uint32_t>(v); }
inline UINT64 From(std::uint32_t v) { return v; }
inline UINT64 From(SignWidened v) { return static_cast<UINT64>(static_cast<std::int64_t>(v.value)); }
inline UINT64 From(float v) { return std::bit_cast<std::uint32_t>(v); }
inline UINT64 From(UINT64 v) { return v; }  // host values passed on unchanged
inline UINT64 From(const char* text) { return reinterpret_cast<std::uintptr_t>(text); }
inline UINT64 From(UINT64* cell) { return reinterpret_cast<std::uintptr_t>(cell); }
// Anything else (bool, long, double, ...) would be marshalled by accident: refuse it.
template <class T>
UINT64 From(T) = delete;

// What a result is read as when the bridge hands back no result slots at all: a slot for each that a
// result reads (a vector reads three).
inline constexpr UINT64 kNone[] = {0, 0, 0};

template <class R>
R Read(const UINT64* slots) {
  const auto low = [slots](int i) { return static_cast<std::uint32_t>(slots[i]); };
  if constexpr (std::is_same_v<R, std::int32_t>) {
    return static_cast<std::int32_t>(low(0));
  } else if constexpr (std::is_same_v<R, std::uint32_t>) {
    return low(0);
  } else if constexpr (std::is_same_v<R, bool>) {
    return low(0) != 0;
  } else if constexpr (std::is_same_v<R, UINT64>) {
    return slots[0];
  } else if constexpr (std::is_same_v<R, float>) {
    return std::bit_cast<float>(low(0));
  } else {
    static_assert(std::is_same_v<R, Vector3>, "unsupported native result type");
    return Vector3{std::bit_cast<float>(low(0)), std::bit_cast<float>(low(1)), std::bit_cast<float>(low(2))};
  }
}
}  // namespace native_slot

// R is void (result ignored), int32_t or uint32_t (low 32 bits of slot 0), bool (those bits non-zero),
// UINT64 (all of slot 0), float (the low 32 bits as a float) or Vector3.
template <class R = void, class... Args>
R CallNative(UINT64 hash, Args... args) {
  nativeInit(hash);
  (nativePush64(native_slot::From(args)), ...);
  const UINT64* slots = nativeCall();
  if constexpr (!std::is_void_v<R>) {
    return native_slot::Read<R>(slots != nullptr ? slots : native_slot::kNone);
  }
}
