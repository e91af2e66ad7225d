// The natives about the player and the weapons: who the player is, where things stand, the weapon in
// hand with its components, and the host's weapon tests.
#include <cmath>
#include <cstdint>
#include <iterator>

#include "world/Call.h"
#include "world/World.h"

namespace {
Weapon* HeldWeapon() {
  return TheWorld.held >= 0 ? &TheWorld.weapons[static_cast<std::size_t>(TheWorld.held)] : nullptr;
}

Weapon* WeaponByEntity(std::int32_t entity) {
  for (Weapon& w : TheWorld.weapons)
    if (w.entity != 0 && w.entity == entity) return &w;
  return nullptr;
}

void ChangeComponent(Weapon& w, std::uint32_t component, bool fit, const char* by) {
  const bool had = w.components.count(component) != 0;
  if (had == fit) return;
  if (fit)
    w.components.insert(component);
  else
    w.components.erase(component);
  TellEvent(std::string(by) + NameOf(component) + (fit ? " fitted to " : " removed from ") + NameOf(w.hash));
}

void GetPlayerPedHandle(Call& c) { Answer(c, TheWorld.playerPed); }
void GetPlayerId(Call& c) { Answer(c, TheWorld.playerId); }

void GetEntityPosition(Call& c) {
  const World& w = TheWorld;
  const std::int32_t entity = Int(c, 0);
  Vec3 at;
  if (entity == w.playerPed || (entity != 0 && HeldWeapon() != nullptr && entity == HeldWeapon()->entity))
    at = w.playerPosition;
  else if (w.hasHorse && entity == w.horse)
    at = w.horsePosition;
  AnswerVector(c, at);  // anything else stands at the origin
}

void GetDistanceBetween(Call& c) {
  const float dx = Float(c, 0) - Float(c, 3), dy = Float(c, 1) - Float(c, 4), dz = Float(c, 2) - Float(c, 5);
  AnswerFloat(c, Int(c, 6) != 0 ? std::sqrt(dx * dx + dy * dy + dz * dz) : std::sqrt(dx * dx + dy * dy));
}

// The hash goes into the caller's cell, all 64 bits of it.
void GetCurrentWeapon(Call& c) {
  const Weapon* held = Int(c, 0) == TheWorld.playerPed ? HeldWeapon() : nullptr;
  UINT64* cell = reinterpret_cast<UINT64*>(static_cast<std::uintptr_t>(Slot(c, 1)));
  if (cell != nullptr) *cell = held != nullptr ? held->hash : 0;
  Answer(c, held != nullptr ? 1 : 0);
  c.result += ", cell " + (held != nullptr ? NameOf(held->hash) : std::string("0"));
}

void HasWeaponComponent(Call& c) {
  const Weapon* weapon = WeaponByEntity(Int(c, 0));
  Answer(c, weapon != nullptr && weapon->components.count(Hash(c, 1)) != 0 ? 1 : 0);
}

// To the player's weapon of that hash, or to a weapon entity.
void AddWeaponComponent(Call& c) {
  Weapon* weapon = Int(c, 0) == TheWorld.playerPed ? FindWeapon(Hash(c, 2)) : WeaponByEntity(Int(c, 0));
  if (weapon == nullptr)
    ReportProblem("AddWeaponComponent for " + EntityName(Int(c, 0)) + " and " + NameOf(Hash(c, 2)) +
                  ", which is no weapon of the player's");
  else
    ChangeComponent(*weapon, Hash(c, 1), true, "");
}

void RemoveWeaponComponent(Call& c) {
  Weapon* weapon = Int(c, 0) == TheWorld.playerPed ? FindWeapon(Hash(c, 2)) : nullptr;
  if (weapon == nullptr)
    ReportProblem("RemoveWeaponComponent for " + EntityName(Int(c, 0)) + " and " + NameOf(Hash(c, 2)) +
                  ", which is no weapon of the player's");
  else
    ChangeComponent(*weapon, Hash(c, 1), false, "");
}

void GetWeaponEntityInHand(Call& c) {
  const Weapon* held = Int(c, 0) == TheWorld.playerPed ? HeldWeapon() : nullptr;
  Answer(c, held != nullptr ? held->entity : 0);
}

// Whether the weapon of that hash passes the host's test (kTest1 and so on), as the scenario gave it.
template <unsigned kTest>
void WeaponTest(Call& c) {
  const Weapon* weapon = FindWeapon(Hash(c, 0));
  Answer(c, weapon != nullptr && (weapon->tests & kTest) != 0 ? 1 : 0);
}

void PlayerInScopeTest(Call& c) { Answer(c, Wide(c, 0) == TheWorld.playerId && TheWorld.aiming ? 1 : 0); }

const NativeInfo kNatives[] = {
    Answered(natives::GetPlayerPedHandle, GetPlayerPedHandle),
    Answered(natives::GetPlayerId, GetPlayerId),
    Answered(natives::GetEntityPosition, GetEntityPosition),
    Answered(natives::GetDistanceBetween, GetDistanceBetween),
    Answered(natives::GetCurrentWeapon, GetCurrentWeapon),
    Answered(natives::HasWeaponComponent, HasWeaponComponent),
    Answered(natives::AddWeaponComponent, AddWeaponComponent),
    Answered(natives::RemoveWeaponComponent, RemoveWeaponComponent),
    Answered(natives::GetWeaponEntityInHand, GetWeaponEntityInHand),
    Answered(natives::WeaponPassesFirstTest, WeaponTest<kTest1>),
    Answered(natives::WeaponPassesSecondTest, WeaponTest<kTest2>),
    Answered(natives::WeaponPassesThirdTest, WeaponTest<kTest3>),
    Answered(natives::WeaponInScopeTest, WeaponTest<kScopeTest>),
    Answered(natives::PlayerInScopeTest, PlayerInScopeTest),
};
}  // namespace

const NativeTable kPlayerNatives{kNatives, std::size(kNatives)};
