#include "world/ApplyEvent.h"

#include "testkit/Names.h"
#include "world/Format.h"
#include "world/World.h"

namespace {
std::string ToHorse() { return TheGame.hasHorse ? ", " + FormatNumber(DistanceToHorse()) + " from the horse" : ""; }

// Puts something at x, y, z and says where that is.
std::string Place(float (&at)[3], float x, float y, float z) {
  at[0] = x;
  at[1] = y;
  at[2] = z;
  return "(" + FormatNumber(x) + ", " + FormatNumber(y) + ", " + FormatNumber(z) + ")";
}

// The player's weapon of that name; a problem, naming the scenario's line, when there is none.
Weapon* ScenarioWeapon(const std::string& name, const ScenarioEvent& at) {
  Weapon* w = FindWeapon(HashName(name.c_str()));
  if (w == nullptr) ReportProblem("line " + std::to_string(at.line) + ": " + name + " is not the player's weapon");
  return w;
}

void Apply(const event::PlayerAt& e, const ScenarioEvent&) {
  const std::string to = Place(TheGame.playerAt, e.x, e.y, e.z);
  TellEvent("> the player moves to " + to + ToHorse());
}

void Apply(const event::HorseAt& e, const ScenarioEvent&) {
  TheGame.hasHorse = true;
  const std::string at = Place(TheGame.horseAt, e.x, e.y, e.z);
  TellEvent("> the horse stands at " + at + ", " + FormatNumber(DistanceToHorse()) + " from the player");
}

void Apply(const event::HorseNone&, const ScenarioEvent&) {
  TheGame.hasHorse = false;
  TellEvent("> the player has no horse");
}

void Apply(const event::HorseAgitation& e, const ScenarioEvent&) {
  TheGame.agitation = static_cast<float>(e.level);
  TellEvent("> the horse's agitation is " + FormatNumber(e.level));
}

void Apply(const event::HorseState& e, const ScenarioEvent&) {
  TheGame.horseStates[e.which - 1] = e.on ? 1 : 0;
  TellEvent("> horse state " + std::to_string(e.which) + (e.on ? " on" : " off"));
}

void Apply(const event::HorseGroup& e, const ScenarioEvent&) {
  TheGame.horseHasGroup = e.present;
  TellEvent(e.present ? "> the horse has a prompt group" : "> the horse has no prompt group");
}

void Apply(const event::Give& e, const ScenarioEvent&) {
  Weapon& weapon = GiveWeapon(HashName(e.weapon.c_str()));
  std::string tests;
  for (unsigned bit = 0; bit < 4; ++bit) {
    weapon.tests[bit] = (e.tests >> bit) & 1u;
    if (weapon.tests[bit] != 0) tests += (tests.empty() ? "" : ", ") + std::string(kWeaponTestNames[bit]);
  }
  TellEvent("> the player gets " + e.weapon + (tests.empty() ? ", which passes no weapon test" : ", passing " + tests));
}

void Apply(const event::Fit& e, const ScenarioEvent& at) {
  if (Weapon* weapon = ScenarioWeapon(e.weapon, at)) {
    SetComponent(*weapon, HashName(e.component.c_str()), e.fitted);
    TellEvent("> " + e.component + (e.fitted ? " fitted to " : " taken off ") + e.weapon);
  }
}

void Apply(const event::Draw& e, const ScenarioEvent& at) {
  if (const Weapon* weapon = ScenarioWeapon(e.weapon, at)) {
    TheGame.inHand[0] = TheGame.inHand[1] = static_cast<int>(weapon - TheGame.weapons);
    TellEvent("> the player draws " + e.weapon);
  }
}

void Apply(const event::Holster&, const ScenarioEvent&) {
  TheGame.inHand[0] = TheGame.inHand[1] = -1;
  TellEvent("> the player puts the weapon away");
}

void Apply(const event::Hold& e, const ScenarioEvent&) {
  HoldControl(HashName(e.control.c_str()), e.held);
  TellEvent((e.held ? "> the player holds " : "> the player lets go of ") + e.control);
}

void Apply(const event::Aim& e, const ScenarioEvent&) {
  TheGame.aiming = e.on ? 1 : 0;
  TellEvent(e.on ? "> the player aims" : "> the player stops aiming");
}

void Apply(const event::Key& e, const ScenarioEvent&) {
  const bool taken = AskHostForKey(e.code, e.down);
  TellEvent("> key " + std::to_string(e.code) + (e.down ? " down" : " up") +
            (taken ? "" : ", and no keyboard handler to take it"));
}

void Apply(const event::Fail& e, const ScenarioEvent& at) {
  TheWorld.failures.push_back(PlannedFailure{e.native, e.message, e.standard, at.frame, false});
}

void Apply(const event::Unload&, const ScenarioEvent&) {
  if (TheWorld.pluginLoaded) AskHostToUnload();
}
}  // namespace

void ApplyEvent(const ScenarioEvent& event) {
  std::visit([&](const auto& what) { Apply(what, event); }, event.action);
}
