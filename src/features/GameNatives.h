#pragma once
// The natives of the scope toggle and the reticle suppression, one thin wrapper each.
#include <cstdint>

#include "host/Bridge.h"
#include "host/NativeCall.h"
#include "host/Natives.h"

inline std::int32_t GetPlayerMount(std::int32_t player) { return CallNative<std::int32_t>(0xB48050D326E9A2F3, player); }
inline std::int32_t GetPlayerHorse() { return GetPlayerMount(GetPlayerId()); }

inline Vector3 GetEntityPosition(std::int32_t entity) { return CallNative<Vector3>(0xA86D5F069399F44D, entity, 1, 0); }
inline float GetDistanceBetween(const Vector3& a, const Vector3& b) {
  return CallNative<float>(0x0BE7F4E3CDBAFB28, a.x, a.y, a.z, b.x, b.y, b.z, 1);
}
// The second entity's position is asked for first.
inline float GetEntityDistance(std::int32_t a, std::int32_t b) {
  const Vector3 bPosition = GetEntityPosition(b);
  const Vector3 aPosition = GetEntityPosition(a);
  return GetDistanceBetween(aPosition, bPosition);
}

// The weapon hash the host writes into the cell; 0 when it writes nothing.
inline std::uint32_t GetCurrentWeapon(std::int32_t ped, std::int32_t selector) {
  UINT64 cell = 0;
  // Coverage: where the linker dropped a copy of this inline function, gcov shows the cell's cleanup on
  // an exception as a plain branch, never taken.
  CallNative(0x3A87E44BB9A01D54, ped, &cell, 0, selector, 0);  // GCOVR_EXCL_BR_LINE
  return static_cast<std::uint32_t>(cell);
}
inline bool HasWeaponComponent(std::int32_t weaponEntity, std::uint32_t component) {
  return CallNative<bool>(0x76A18844E743BF91, weaponEntity, component);
}
inline void AddWeaponComponent(std::int32_t entity, std::uint32_t component, std::int32_t weapon, std::int32_t flag) {
  CallNative(0x74C9090FDD1BB48E, entity, component, weapon, flag);
}
inline void RemoveWeaponComponent(std::int32_t ped, std::uint32_t component, std::uint32_t weapon) {
  CallNative(0x19F70C4D80494FF8, ped, component, weapon);
}
inline std::int32_t GetWeaponEntityInHand(std::int32_t ped) {
  return CallNative<std::int32_t>(0x3B390A939AF0B5FC, ped, 1);
}

inline float GetHorseAgitation(std::int32_t horse) {
  return CallNative<float>(0x56E58D4D118FB45E, SignWidened{horse}, "Agitation");
}
inline bool HorseInFirstBlockingState(std::int32_t horse) { return CallNative<bool>(0x7D5B1F88E7504BBA, horse); }
inline bool HorseInSecondBlockingState(std::int32_t horse) { return CallNative<bool>(0xDEB6D52126E7D640, horse); }

inline bool WeaponPassesFirstTest(std::uint32_t weapon) { return CallNative<bool>(0xDDB2578E95EF7138, weapon); }
inline bool WeaponPassesSecondTest(std::uint32_t weapon) { return CallNative<bool>(0x0A82317B7EBFC420, weapon); }
inline bool WeaponPassesThirdTest(std::uint32_t weapon) { return CallNative<bool>(0x6AD66548840472E5, weapon); }

inline void StartInteraction(std::int32_t ped, std::int32_t horse, std::uint32_t interaction) {
  CallNative(0xCD181A959CFDD7F4, ped, SignWidened{horse}, interaction, 0, 1);
}

// The player test reads all 64 bits of the answer, the weapon test its low 32.
inline bool PlayerInScopeTest(std::int32_t player) {
  return CallNative<UINT64>(0x04D7F33640662FA2, SignWidened{player}) != 0;
}
inline bool WeaponInScopeTest(std::uint32_t weapon) { return CallNative<bool>(0x705BE297EEBDB95D, weapon); }
inline void HideReticleThisFrame() { CallNative(0x36CDD81627A6FCD2); }
