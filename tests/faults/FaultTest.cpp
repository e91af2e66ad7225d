#include "FaultTest.h"

#include <sched.h>
#include <sys/mount.h>

#include "PluginGlobals.h"
#include "host/Script.h"
#include "testkit/CallLines.h"
#include "testkit/Game.h"
#include "testkit/NameHash.h"
#include "testkit/ScriptRunner.h"
#include "testkit/WorkFolder.h"

namespace {
bool mountNamespaceOwned = false;  // set by main
DWORD lastWait = 0;                // written by the script before it hands over, read by the test after
std::vector<std::filesystem::path> mounts;
std::size_t logTaken = 0;  // bytes of the log already handed out

// On the script's thread: must not allocate.
void NoteWait(int note, UINT64 detail, const char*) {
  if (note == kNoteScriptWaits) lastWait = static_cast<DWORD>(detail);
}

Weapon& Rifle() { return TheGame.weapons[0]; }
}  // namespace

// The fault tests' entry: a mount namespace of the process's own first, so that what a test mounts is
// seen by nothing else and goes with the process, then the tests.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  mountNamespaceOwned = unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
  return RUN_ALL_TESTS();
}

namespace faults {

void FaultTest::SetUp() {
  logTaken = 0;
  EnterWorkFolder("faults");
  ResetPlugin();
}

// The log is not read: a test may have left something there that cannot be.
void FaultTest::TearDown() {
  ResetPluginGlobals();
  for (auto it = mounts.rbegin(); it != mounts.rend(); ++it) umount2(it->c_str(), MNT_DETACH);
  mounts.clear();
  LeaveWorkFolder();
}

void FaultTest::ResetPlugin() {
  ResetPluginGlobals();
  NewGame();
  GiveWeapon(0x772C8DD6).tests[0] = 1;
  TheGame.inHand[0] = TheGame.inHand[1] = 0;
  StandBesideHorse(false);
  TakeCallLines();
  TakeLog();
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

std::vector<std::string> TakeLog() {
  const std::size_t size = ReadBytes("Quillfen/Log.log").size();
  if (size < logTaken) logTaken = 0;  // a new file
  std::vector<std::string> messages = LogMessages(logTaken);
  logTaken = size;
  return messages;
}

bool MountTmpfs(const std::filesystem::path& at, std::size_t bytes) {
  if (!mountNamespaceOwned) return false;
  if (mount("tmpfs", at.c_str(), "tmpfs", 0, ("size=" + std::to_string(bytes)).c_str()) != 0) return false;
  mounts.push_back(std::filesystem::absolute(at));
  return true;
}

bool RemountReadOnly(const std::filesystem::path& at) {
  return mount(nullptr, at.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

}  // namespace faults
