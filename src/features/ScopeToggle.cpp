#include "features/ScopeToggle.h"

#include <utility>

#include "features/GameNatives.h"
#include "features/Prompt.h"
#include "host/Natives.h"
#include "host/Script.h"

std::map<std::int32_t, std::uint32_t> ScopeMemory;

namespace {
// In the order they are looked for and taken off.
constexpr const char* kScopeNames[] = {"COMPONENT_RIFLE_SCOPE02", "COMPONENT_RIFLE_SCOPE03", "COMPONENT_RIFLE_SCOPE04"};
constexpr const char* kDefaultScope = "COMPONENT_RIFLE_SCOPE02";
constexpr float kMaxDistance = 3.0f;
constexpr double kMaxAgitation = 0.3;

bool HorseAllowsPrompt(std::int32_t horse) {
  if (GetEntityDistance(PlayerPed, horse) >= kMaxDistance) return false;
  // The horse is asked for again here; the answer serves this test only.
  if (static_cast<double>(GetHorseAgitation(GetPlayerHorse())) >= kMaxAgitation) return false;
  if (HorseInFirstBlockingState(horse)) return false;
  if (HorseInSecondBlockingState(horse)) return false;
  return true;
}

bool WeaponAdmitted(std::uint32_t weapon) {
  return WeaponPassesFirstTest(weapon) || WeaponPassesSecondTest(weapon) || WeaponPassesThirdTest(weapon);
}

std::uint32_t FittedScope(std::int32_t weaponEntity) {
  const std::uint32_t hashes[] = {GetHashKey(kScopeNames[0]), GetHashKey(kScopeNames[1]), GetHashKey(kScopeNames[2])};
  for (const std::uint32_t hash : hashes)
    if (HasWeaponComponent(weaponEntity, hash)) return hash;
  return 0;
}

void ToggleScope(std::uint32_t weapon, std::int32_t weaponEntity) {
  const std::int32_t weaponKey = static_cast<std::int32_t>(weapon);
  if (const std::uint32_t fitted = FittedScope(weaponEntity); fitted != 0) {
    ScopeMemory[weaponKey] = fitted;
    for (const char* name : kScopeNames) RemoveWeaponComponent(PlayerPed, GetHashKey(name), weapon);
    return;
  }
  const auto remembered = ScopeMemory.find(weaponKey);
  const std::uint32_t scope = remembered != ScopeMemory.end() ? remembered->second : GetHashKey(kDefaultScope);
  AddWeaponComponent(PlayerPed, scope, weaponKey, 1);
  AddWeaponComponent(weaponEntity, scope, -1, 0);  // -1 goes as 0xFFFFFFFF, zero-extended
}
}  // namespace

void ScopeToggle() {
  if (ScopeTogglePrompt == nullptr) return;  // not initialised yet
  Prompt& prompt = *ScopeTogglePrompt;
  const std::int32_t horse = GetPlayerHorse();
  prompt.SetGroupEntity(horse);
  const std::uint32_t weapon = GetCurrentWeapon(PlayerPed, 1);
  if (!HorseAllowsPrompt(horse) || !WeaponAdmitted(weapon)) {
    prompt.Hide();
    return;
  }
  const std::int32_t weaponEntity = GetWeaponEntityInHand(PlayerPed);
  prompt.Show();
  if (!prompt.IsCompleted()) return;
  ToggleScope(weapon, weaponEntity);
  StartInteraction(PlayerPed, horse, GetHashKey("Interaction_DrawRifleFromUnderSaddle_BothHands"));
}
