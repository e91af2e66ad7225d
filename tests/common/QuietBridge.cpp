#include "QuietBridge.h"

#include <bit>

#include "NativeLine.h"
#include "standin/world/NameHash.h"
#include "standin/world/NativeCatalogue.h"

namespace {
const Scene kDefaultScene;

UINT64 currentHash = 0;
UINT64 args[8] = {};
unsigned argCount = 0;
UINT64 slots[3] = {};

constexpr int kMaxNotes = 2048;
char notes[kMaxNotes][256];
int noteCount = 0;
bool notesOverflowed = false;

void Note() {
  if (noteCount == kMaxNotes) {
    notesOverflowed = true;
    return;
  }
  FormatNativeLine({currentHash, args, argCount < 8 ? argCount : 8}, notes[noteCount++], sizeof notes[0]);
}

UINT64 Bits(float f) { return std::bit_cast<std::uint32_t>(f); }
UINT64 Low(std::int32_t v) { return static_cast<std::uint32_t>(v); }
}  // namespace

const Scene* ActiveScene = &kDefaultScene;
std::uint64_t NativeCalls = 0;
bool NotingNatives = false;

std::vector<std::string> TakeNatives() {
  std::vector<std::string> taken(notes, notes + noteCount);
  if (notesOverflowed) taken.emplace_back("(more natives than could be noted)");
  noteCount = 0;
  notesOverflowed = false;
  return taken;
}

void scriptRegister(HMODULE, void (*)()) {}
void scriptUnregister(HMODULE) {}
void keyboardHandlerRegister(KeyboardHandler) {}
void keyboardHandlerUnregister(KeyboardHandler) {}

void nativeInit(UINT64 hash) {
  currentHash = hash;
  argCount = 0;
}

void nativePush64(UINT64 value) { args[argCount++ & 7] = value; }

PUINT64 nativeCall() {
  ++NativeCalls;
  if (NotingNatives) Note();
  const Scene& s = *ActiveScene;
  UINT64 answer = 0;
  switch (currentHash) {
    case natives::GetPlayerPedHandle.hash: answer = Low(s.playerPed); break;
    case natives::GetHashKey.hash: answer = NameHash(reinterpret_cast<const char*>(args[0])); break;
    case natives::GetPlayerId.hash: answer = Low(s.playerId); break;
    case natives::GetPlayerMount.hash: answer = Low(s.horse); break;
    case natives::EntityPromptGroup.hash: answer = Low(s.promptGroup); break;
    case natives::GetCurrentWeapon.hash: *reinterpret_cast<UINT64*>(args[1]) = s.weapon; break;
    case natives::GetEntityPosition.hash:
      slots[0] = Bits(1.0f);
      slots[1] = Bits(2.0f);
      slots[2] = Bits(0.5f);
      return slots;
    case natives::GetDistanceBetween.hash: answer = Bits(s.distance); break;
    case natives::GetHorseAgitation.hash: answer = Bits(s.agitation); break;
    case natives::HorseInFirstBlockingState.hash: answer = s.horseStates[0]; break;
    case natives::HorseInSecondBlockingState.hash: answer = s.horseStates[1]; break;
    case natives::WeaponPassesFirstTest.hash: answer = s.weaponTests[0]; break;
    case natives::WeaponPassesSecondTest.hash: answer = s.weaponTests[1]; break;
    case natives::WeaponPassesThirdTest.hash: answer = s.weaponTests[2]; break;
    case natives::GetWeaponEntityInHand.hash: answer = Low(s.weaponEntity); break;
    case natives::PromptHoldCompleted.hash: answer = s.completed; break;
    case natives::HasWeaponComponent.hash: answer = s.fittedScope != 0 && args[1] == s.fittedScope; break;
    case natives::PlayerInScopeTest.hash: answer = s.playerInScope; break;
    case natives::WeaponInScopeTest.hash: answer = s.weaponInScope; break;
    case natives::PromptCreate.hash: answer = 7; break;            // the new prompt
    case natives::CreateLiteralText.hash: answer = 0x5EC7; break;  // the host's text value
    default: break;                                                // natives whose answer nobody reads
  }
  slots[0] = answer;
  return slots;
}
