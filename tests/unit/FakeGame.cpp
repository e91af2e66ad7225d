#include "FakeGame.h"

#include "fake/FakeBridge.h"

void FakeGame::Install() {
  using fake::NativeCall;
  using fake::Slots;
  const auto u = [](std::int32_t v) { return static_cast<UINT64>(static_cast<std::uint32_t>(v)); };
  fake::OnNative(natives::GetPlayerPedHandle, [this, u](const NativeCall&) { return fake::Value(u(playerPed)); });
  fake::OnNative(natives::GetPlayerId, [this, u](const NativeCall&) { return fake::Value(u(playerId)); });
  fake::OnNative(natives::GetPlayerMount, [this, u](const NativeCall&) { return fake::Value(u(horse)); });
  fake::OnNative(natives::EntityPromptGroup, [this, u](const NativeCall&) { return fake::Value(u(promptGroup)); });
  fake::OnNative(natives::PromptCreate, [this, u](const NativeCall&) { return fake::Value(u(promptHandle)); });
  fake::OnNative(natives::CreateLiteralText, [this](const NativeCall&) { return fake::Value(labelText); });
  fake::OnNative(natives::GetEntityPosition, [this](const NativeCall& call) {
    return call.Low(0) == static_cast<std::uint32_t>(horse) ? fake::Vector(horseX, horseY, horseZ)
                                                            : fake::Vector(playerX, playerY, playerZ);
  });
  fake::OnNative(natives::GetDistanceBetween, [this](const NativeCall&) { return fake::Float(distance); });
  fake::OnNative(natives::GetHorseAgitation, [this](const NativeCall&) { return fake::Float(agitation); });
  fake::OnNative(natives::HorseInFirstBlockingState, [this](const NativeCall&) { return fake::Value(horseState1); });
  fake::OnNative(natives::HorseInSecondBlockingState, [this](const NativeCall&) { return fake::Value(horseState2); });
  fake::OnNative(natives::WeaponPassesFirstTest, [this](const NativeCall&) { return fake::Value(weaponTests[0]); });
  fake::OnNative(natives::WeaponPassesSecondTest, [this](const NativeCall&) { return fake::Value(weaponTests[1]); });
  fake::OnNative(natives::WeaponPassesThirdTest, [this](const NativeCall&) { return fake::Value(weaponTests[2]); });
  fake::OnNative(natives::GetCurrentWeapon, [this](const NativeCall& call) {
    // Garbage in the high half of the cell: the weapon hash is its low 32 bits.
    const std::uint32_t hash = call.args.at(3) == 1 ? weapon : reticleWeapon;
    call.WriteCell(1, 0xBAD0000000000000ULL | hash);
    return Slots{};
  });
  fake::OnNative(natives::GetWeaponEntityInHand, [this, u](const NativeCall&) { return fake::Value(u(weaponEntity)); });
  fake::OnNative(natives::PlayerInScopeTest, [this](const NativeCall&) { return fake::Value(playerInScope); });
  fake::OnNative(natives::WeaponInScopeTest, [this](const NativeCall&) { return fake::Value(weaponInScope); });
  fake::OnNative(natives::PromptHoldCompleted, [this](const NativeCall&) { return fake::Value(completed); });
  fake::OnNative(natives::HasWeaponComponent, [this](const NativeCall& call) {
    return fake::Value(call.Low(0) == static_cast<std::uint32_t>(weaponEntity) && fitted[weapon].count(call.Low(1)));
  });
  fake::OnNative(natives::RemoveWeaponComponent, [this](const NativeCall& call) {
    fitted[call.Low(2)].erase(call.Low(1));
    return Slots{};
  });
  fake::OnNative(natives::AddWeaponComponent, [this](const NativeCall& call) {
    if (call.Low(2) != 0xFFFFFFFF) fitted[call.Low(2)].insert(call.Low(1));
    return Slots{};
  });
}

void FakeGame::Fit(std::uint32_t weaponHash, const char* component) {
  fitted[weaponHash].insert(fake::HashOf(component));
}

bool FakeGame::IsFitted(std::uint32_t weaponHash, const char* component) const {
  const auto found = fitted.find(weaponHash);
  return found != fitted.end() && found->second.count(fake::HashOf(component)) != 0;
}
