#include "World.h"

#include "Hashes.h"
#include "fake/FakeBridge.h"

void World::Install() {
  using fake::NativeCall;
  using fake::Slots;
  const auto u = [](std::int32_t v) { return static_cast<UINT64>(static_cast<std::uint32_t>(v)); };
  fake::OnNative(hashes::PlayerPed, [this, u](const NativeCall&) { return fake::Value(u(playerPed)); });
  fake::OnNative(hashes::PlayerId, [this, u](const NativeCall&) { return fake::Value(u(playerId)); });
  fake::OnNative(hashes::PlayerMount, [this, u](const NativeCall&) { return fake::Value(u(horse)); });
  fake::OnNative(hashes::EntityPromptGroup, [this, u](const NativeCall&) { return fake::Value(u(promptGroup)); });
  fake::OnNative(hashes::PromptCreate, [this, u](const NativeCall&) { return fake::Value(u(promptHandle)); });
  fake::OnNative(hashes::CreateText, [this](const NativeCall&) { return fake::Value(labelText); });
  fake::OnNative(hashes::EntityPosition, [this](const NativeCall& call) {
    return call.Low(0) == static_cast<std::uint32_t>(horse) ? fake::Vector(horseX, horseY, horseZ)
                                                            : fake::Vector(playerX, playerY, playerZ);
  });
  fake::OnNative(hashes::Distance, [this](const NativeCall&) { return fake::Float(distance); });
  fake::OnNative(hashes::Agitation, [this](const NativeCall&) { return fake::Float(agitation); });
  fake::OnNative(hashes::HorseState1, [this](const NativeCall&) { return fake::Value(horseState1); });
  fake::OnNative(hashes::HorseState2, [this](const NativeCall&) { return fake::Value(horseState2); });
  fake::OnNative(hashes::WeaponTest1, [this](const NativeCall&) { return fake::Value(weaponTests[0]); });
  fake::OnNative(hashes::WeaponTest2, [this](const NativeCall&) { return fake::Value(weaponTests[1]); });
  fake::OnNative(hashes::WeaponTest3, [this](const NativeCall&) { return fake::Value(weaponTests[2]); });
  fake::OnNative(hashes::CurrentWeapon, [this](const NativeCall& call) {
    // Garbage in the high half of the cell: the weapon hash is its low 32 bits.
    const std::uint32_t hash = call.args.at(3) == 1 ? weapon : reticleWeapon;
    call.WriteCell(1, 0xBAD0000000000000ULL | hash);
    return Slots{};
  });
  fake::OnNative(hashes::WeaponEntity, [this, u](const NativeCall&) { return fake::Value(u(weaponEntity)); });
  fake::OnNative(hashes::PlayerInScope, [this](const NativeCall&) { return fake::Value(playerInScope); });
  fake::OnNative(hashes::WeaponInScope, [this](const NativeCall&) { return fake::Value(weaponInScope); });
  fake::OnNative(hashes::PromptHoldDone, [this](const NativeCall&) { return fake::Value(completed); });
  fake::OnNative(hashes::HasComponent, [this](const NativeCall& call) {
    return fake::Value(call.Low(0) == static_cast<std::uint32_t>(weaponEntity) && fitted[weapon].count(call.Low(1)));
  });
  fake::OnNative(hashes::RemoveComponent, [this](const NativeCall& call) {
    fitted[call.Low(2)].erase(call.Low(1));
    return Slots{};
  });
  fake::OnNative(hashes::AddComponent, [this](const NativeCall& call) {
    if (call.Low(2) != 0xFFFFFFFF) fitted[call.Low(2)].insert(call.Low(1));
    return Slots{};
  });
}

void World::Fit(std::uint32_t weaponHash, const char* component) { fitted[weaponHash].insert(fake::HashOf(component)); }

bool World::IsFitted(std::uint32_t weaponHash, const char* component) const {
  const auto found = fitted.find(weaponHash);
  return found != fitted.end() && found->second.count(fake::HashOf(component)) != 0;
}
