#include "FaultScript.h"

#include "host/Script.h"
#include "testkit/CallLines.h"
#include "testkit/Game.h"
#include "testkit/NameHash.h"
#include "testkit/ScriptRunner.h"

namespace {
DWORD lastWait = 0;  // written by the script before it hands over, read by the test after

// On the script's thread: must not allocate.
void NoteWait(int note, UINT64 detail, const char*) {
  if (note == kNoteScriptWaits) lastWait = static_cast<DWORD>(detail);
}

Weapon& Rifle() { return TheGame.weapons[0]; }
}  // namespace

namespace faults {

void NewFaultGame() {
  NewGame();
  Weapon& rifle = GiveWeapon(0x772C8DD6);
  rifle.tests[0] = 1;
  TheGame.inHand[0] = TheGame.inHand[1] = 0;
  StandBesideHorse(false);
}

void StandBesideHorse(bool beside) {
  TheGame.playerAt[0] = TheGame.horseAt[0] + (beside ? 1.0f : 20.0f);
  TheGame.playerAt[1] = TheGame.horseAt[1];
  TheGame.playerAt[2] = TheGame.horseAt[2];
}

void HoldToggle(bool held) { HoldControl(NameHash("INPUT_FRONTEND_RS"), held); }
void FitScope(const char* component) { SetComponent(Rifle(), NameHash(component), true); }

void Aim(bool aiming) {
  TheGame.aiming = aiming ? 1 : 0;
  Rifle().tests[kInScopeTest] = aiming ? 1 : 0;
}

void StartScript() {
  BridgeSetHooks(AnswerFromGame, NoteWait, NoteCallLine);
  ::StartScript(ScriptMain);
}

DWORD Step() {
  ResumeScript();
  return lastWait;
}

bool ScriptEscaped() { return EndOfScript() == ScriptEnd::kThrew; }

}  // namespace faults
