#pragma once
// A native as the world answers it: its entry in one of the four tables, the call with its arguments
// read by kind, and the ways to answer. Each table is defined in the file of its group:
// PlayerNatives.cpp, HorseNatives.cpp, PromptNatives.cpp and ScreenNatives.cpp.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>

#include "host/Bridge.h"
#include "world/Format.h"
#include "world/NativeCatalogue.h"
#include "world/World.h"

struct Call;

// A native's catalogue entry (world/NativeCatalogue.h, which lists the argument kinds) with its answer.
struct NativeInfo {
  UINT64 hash;
  const char* name;  // for the trace and for scenarios
  const char* args;
  void (*answer)(Call& call);  // null: it answers zeros and changes nothing
};

constexpr NativeInfo Answered(const NativeEntry& native, void (*answer)(Call&)) {
  return {native.hash, native.name, native.args, answer};
}

struct NativeTable {
  const NativeInfo* natives;
  std::size_t count;
};
extern const NativeTable kPlayerNatives, kHorseNatives, kPromptNatives, kScreenNatives;

struct Call {
  UINT64 hash;
  const NativeInfo* info;
  const UINT64* args;
  std::size_t count;
  UINT64* slots;
  std::string result;  // for the trace
};

// Argument i read as its kind; a missing one reads as 0.
inline std::int32_t Int(const Call& c, std::size_t i) {
  return i < c.count ? static_cast<std::int32_t>(static_cast<std::uint32_t>(c.args[i])) : 0;
}
inline UINT64 Slot(const Call& c, std::size_t i) { return i < c.count ? c.args[i] : 0; }
inline std::int64_t Wide(const Call& c, std::size_t i) { return static_cast<std::int64_t>(Slot(c, i)); }
inline std::uint32_t Hash(const Call& c, std::size_t i) { return static_cast<std::uint32_t>(Int(c, i)); }
inline float Float(const Call& c, std::size_t i) { return std::bit_cast<float>(Hash(c, i)); }
inline const char* Text(const Call& c, std::size_t i) {
  return i < c.count ? reinterpret_cast<const char*>(static_cast<std::uintptr_t>(c.args[i])) : nullptr;
}

// The answer in the first result slots, and as the trace prints it.
inline void Answer(Call& c, std::int64_t value) {
  c.slots[0] = static_cast<UINT64>(value);
  c.result = std::to_string(value);
}
inline void AnswerFloat(Call& c, float value) {
  c.slots[0] = std::bit_cast<std::uint32_t>(value);
  c.result = FormatNumber(value);
}
inline void AnswerVector(Call& c, const Vec3& v) {
  c.slots[0] = std::bit_cast<std::uint32_t>(v.x);
  c.slots[1] = std::bit_cast<std::uint32_t>(v.y);
  c.slots[2] = std::bit_cast<std::uint32_t>(v.z);
  c.result = "(" + FormatNumber(v.x) + ", " + FormatNumber(v.y) + ", " + FormatNumber(v.z) + ")";
}
