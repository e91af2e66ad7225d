#include "world/World.h"

#include <cmath>

#include "world/Format.h"
#include "world/NameHash.h"

World TheWorld;

namespace {
std::map<std::uint32_t, std::string> names;
EventSink eventSink = nullptr;
StateSink stateSink = nullptr;
KeySender keySender = nullptr;
Unloader unloader = nullptr;
}  // namespace

std::uint32_t RememberName(const std::string& name) {
  const std::uint32_t hash = NameHash(name);
  names.emplace(hash, name);
  return hash;
}

std::string NameOf(std::uint32_t hash) {
  const auto found = names.find(hash);
  return found != names.end() ? found->second : Hex32(hash);
}

Weapon* FindWeapon(std::uint32_t hash) {
  for (Weapon& w : TheWorld.weapons)
    if (w.hash == hash) return &w;
  return nullptr;
}

float DistanceToHorse() {
  const Vec3& a = TheWorld.playerPosition;
  const Vec3& b = TheWorld.horsePosition;
  return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z));
}

void WorldTellTo(EventSink event, StateSink state) {
  eventSink = event;
  stateSink = state;
}

void TellEvent(const std::string& text, Notice notice) {
  if (eventSink != nullptr) eventSink(text, notice);
}

void TellState(const std::string& text) {
  if (stateSink != nullptr) stateSink(text);
}

void WorldAskHostWith(KeySender key, Unloader unload) {
  keySender = key;
  unloader = unload;
}

bool AskHostForKey(std::uint32_t code, bool down) { return keySender != nullptr && keySender(code, down); }

void AskHostToUnload() {
  if (unloader != nullptr) unloader();
}

void ReportProblem(const std::string& text) {
  if (TheWorld.problemsReported.insert(text).second) TellEvent("! " + text);
}

std::string TextOf(UINT64 value) {
  if (value >= kTextBase && value - kTextBase < TheWorld.texts.size()) return TheWorld.texts[value - kTextBase];
  ReportProblem("a host text value " + HexHash(value) + " that the host never made");
  return "?";
}

std::string EntityName(std::int64_t entity) {
  if (entity == TheWorld.playerPed) return "the player";
  if (TheWorld.hasHorse && entity == TheWorld.horse) return "the horse";
  if (entity == 0) return "no entity";
  return "entity " + std::to_string(entity);
}
