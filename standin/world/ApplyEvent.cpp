#include "world/ApplyEvent.h"

#include "world/Format.h"
#include "world/World.h"

namespace {
std::string Position(float x, float y, float z) {
  return "(" + FormatNumber(x) + ", " + FormatNumber(y) + ", " + FormatNumber(z) + ")";
}

std::string ToHorse() {
  return TheWorld.hasHorse ? ", " + FormatNumber(DistanceToHorse()) + " from the horse" : std::string();
}

// The player's weapon of that name; a problem, naming the scenario's line, when there is none.
Weapon* ScenarioWeapon(const std::string& name, const ScenarioEvent& at) {
  Weapon* w = FindWeapon(RememberName(name));
  if (w == nullptr) ReportProblem("line " + std::to_string(at.line) + ": " + name + " is not the player's weapon");
  return w;
}

void Apply(const event::PlayerAt& e, const ScenarioEvent&) {
  TheWorld.playerPosition = {e.x, e.y, e.z};
  TellEvent("> the player moves to " + Position(e.x, e.y, e.z) + ToHorse());
}

void Apply(const event::HorseAt& e, const ScenarioEvent&) {
  TheWorld.hasHorse = true;
  TheWorld.horsePosition = {e.x, e.y, e.z};
  TellEvent("> the horse stands at " + Position(e.x, e.y, e.z) + ", " + FormatNumber(DistanceToHorse()) +
            " from the player");
}

void Apply(const event::HorseNone&, const ScenarioEvent&) {
  TheWorld.hasHorse = false;
  TellEvent("> the player has no horse");
}

void Apply(const event::HorseAgitation& e, const ScenarioEvent&) {
  TheWorld.agitation = static_cast<float>(e.level);
  TellEvent("> the horse's agitation is " + FormatNumber(e.level));
}

void Apply(const event::HorseState& e, const ScenarioEvent&) {
  TheWorld.horseState[e.which - 1] = e.on;
  TellEvent("> horse state " + std::to_string(e.which) + (e.on ? " on" : " off"));
}

void Apply(const event::HorseGroup& e, const ScenarioEvent&) {
  TheWorld.horseHasGroup = e.present;
  TellEvent(e.present ? "> the horse has a prompt group" : "> the horse has no prompt group");
}

void Apply(const event::Give& e, const ScenarioEvent&) {
  const std::uint32_t hash = RememberName(e.weapon);
  Weapon* weapon = FindWeapon(hash);
  if (weapon == nullptr) {
    TheWorld.weapons.push_back(Weapon{hash, 0, TheWorld.nextEntity++, {}});
    weapon = &TheWorld.weapons.back();
  }
  weapon->tests = e.tests;
  std::string tests;
  const char* names[] = {"test1", "test2", "test3", "scope-test"};
  for (unsigned bit = 0; bit < 4; ++bit)
    if ((e.tests & (1u << bit)) != 0) tests += (tests.empty() ? "" : ", ") + std::string(names[bit]);
  TellEvent("> the player gets " + e.weapon + (tests.empty() ? ", which passes no weapon test" : ", passing " + tests));
}

void Apply(const event::Fit& e, const ScenarioEvent& at) {
  if (Weapon* weapon = ScenarioWeapon(e.weapon, at)) {
    weapon->components.insert(RememberName(e.component));
    TellEvent("> " + e.component + " fitted to " + e.weapon);
  }
}

void Apply(const event::Unfit& e, const ScenarioEvent& at) {
  if (Weapon* weapon = ScenarioWeapon(e.weapon, at)) {
    weapon->components.erase(RememberName(e.component));
    TellEvent("> " + e.component + " taken off " + e.weapon);
  }
}

void Apply(const event::Draw& e, const ScenarioEvent& at) {
  if (const Weapon* weapon = ScenarioWeapon(e.weapon, at)) {
    TheWorld.held = static_cast<int>(weapon - TheWorld.weapons.data());
    TellEvent("> the player draws " + e.weapon);
  }
}

void Apply(const event::Holster&, const ScenarioEvent&) {
  TheWorld.held = -1;
  TellEvent("> the player puts the weapon away");
}

void Apply(const event::Hold& e, const ScenarioEvent&) {
  TheWorld.heldControls.insert(RememberName(e.control));
  TellEvent("> the player holds " + e.control);
}

void Apply(const event::Release& e, const ScenarioEvent&) {
  TheWorld.heldControls.erase(RememberName(e.control));
  TellEvent("> the player lets go of " + e.control);
}

void Apply(const event::Aim& e, const ScenarioEvent&) {
  TheWorld.aiming = e.on;
  TellEvent(e.on ? "> the player aims" : "> the player stops aiming");
}

void Apply(const event::Key& e, const ScenarioEvent&) {
  const bool taken = AskHostForKey(e.code, e.down);
  TellEvent("> key " + std::to_string(e.code) + (e.down ? " down" : " up") +
            (taken ? "" : ", and no keyboard handler to take it"));
}

void Apply(const event::Fail& e, const ScenarioEvent& at) {
  TheWorld.failures.push_back(PlannedFailure{e.native, e.message, true, at.frame, false});
}

void Apply(const event::FailUnknown& e, const ScenarioEvent& at) {
  TheWorld.failures.push_back(PlannedFailure{e.native, std::string(), false, at.frame, false});
}

void Apply(const event::Unload&, const ScenarioEvent&) {
  if (TheWorld.pluginLoaded) AskHostToUnload();
}
}  // namespace

void ApplyEvent(const ScenarioEvent& event) {
  std::visit([&event](const auto& what) { Apply(what, event); }, event.action);
}
