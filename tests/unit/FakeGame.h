#pragma once
// A small scripted game for the feature tests: the player, the horse, the weapon in hand, the prompt
// and the scope components, answering the natives the features send. Tests change its fields between
// frames; fake::Queue and fake::Once still take precedence for a single answer.
#include <cstdint>
#include <map>
#include <set>

#include "host/Bridge.h"

struct FakeGame {
  std::int32_t playerPed = 0x10;
  std::int32_t playerId = 0x2;
  std::int32_t horse = 0x30;
  std::int32_t promptGroup = 0x60;
  std::int32_t promptHandle = 0x50;
  UINT64 labelText = 0x7E57000000000001;  // the host's text value for a label
  // Positions are answered per entity so that the distance native's argument order shows.
  float playerX = 1.0f, playerY = 2.0f, playerZ = 3.0f;
  float horseX = 4.0f, horseY = 5.0f, horseZ = 6.0f;
  float distance = 1.5f;
  float agitation = 0.1f;
  std::uint32_t horseState1 = 0;
  std::uint32_t horseState2 = 0;
  std::uint32_t weaponTests[3] = {1, 0, 0};
  std::uint32_t weapon = 0xA8F1E2C3;         // in hand, as asked with selector 1
  std::uint32_t reticleWeapon = 0x5EC0A001;  // as asked with selector 0
  std::int32_t weaponEntity = 0x40;
  UINT64 playerInScope = 0;
  UINT64 weaponInScope = 0;
  std::uint32_t completed = 0;  // what the hold prompt's completion query answers
  // Scope components fitted, per weapon hash; removing and adding components updates it.
  std::map<std::uint32_t, std::set<std::uint32_t>> fitted;

  // Standing answers for every native above, reading this object at call time.
  void Install();
  void Fit(std::uint32_t weaponHash, const char* component);
  bool IsFitted(std::uint32_t weaponHash, const char* component) const;
};
