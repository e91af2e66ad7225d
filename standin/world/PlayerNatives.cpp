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

void PlayerPed(Call& c) { Answer(c, TheWorld.playerPed); }
void PlayerId(Call& c) { Answer(c, TheWorld.playerId); }

void EntityPosition(Call& c) {
  const World& w = TheWorld;
  const std::int32_t entity = Int(c, 0);
  Vec3 at;
  if (entity == w.playerPed || (entity != 0 && HeldWeapon() != nullptr && entity == HeldWeapon()->entity))
    at = w.playerPosition;
  else if (w.hasHorse && entity == w.horse)
    at = w.horsePosition;
  AnswerVector(c, at);  // anything else stands at the origin
}

void Distance(Call& c) {
  const float dx = Float(c, 0) - Float(c, 3), dy = Float(c, 1) - Float(c, 4), dz = Float(c, 2) - Float(c, 5);
  AnswerFloat(c, Int(c, 6) != 0 ? std::sqrt(dx * dx + dy * dy + dz * dz) : std::sqrt(dx * dx + dy * dy));
}

// The hash goes into the caller's cell, all 64 bits of it.
void CurrentWeapon(Call& c) {
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

void WeaponEntityInHand(Call& c) {
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
    {0x096275889B8E0EE0, "PlayerPed", "", PlayerPed},
    {0x217E9DC48139933D, "PlayerId", "", PlayerId},
    {0xA86D5F069399F44D, "EntityPosition", "iii", EntityPosition},
    {0x0BE7F4E3CDBAFB28, "Distance", "ffffffi", Distance},
    {0x3A87E44BB9A01D54, "CurrentWeapon", "iciii", CurrentWeapon},
    {0x76A18844E743BF91, "HasWeaponComponent", "ih", HasWeaponComponent},
    {0x74C9090FDD1BB48E, "AddWeaponComponent", "ihhi", AddWeaponComponent},
    {0x19F70C4D80494FF8, "RemoveWeaponComponent", "ihh", RemoveWeaponComponent},
    {0x3B390A939AF0B5FC, "WeaponEntityInHand", "ii", WeaponEntityInHand},
    {0xDDB2578E95EF7138, "WeaponTestOne", "h", WeaponTest<kTest1>},
    {0x0A82317B7EBFC420, "WeaponTestTwo", "h", WeaponTest<kTest2>},
    {0x6AD66548840472E5, "WeaponTestThree", "h", WeaponTest<kTest3>},
    {0x705BE297EEBDB95D, "WeaponInScopeTest", "h", WeaponTest<kScopeTest>},
    {0x04D7F33640662FA2, "PlayerInScopeTest", "w", PlayerInScopeTest},
};
}  // namespace

const NativeTable kPlayerNatives{kNatives, std::size(kNatives)};
