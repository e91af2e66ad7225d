#pragma once
// The game as the test side plays it: one record of plain fields from which every native of the
// catalogue is answered (AnswerFromGame), and which a test, the benchmark or a stand-in scenario sets
// between frames. Every list has a fixed room, so the game allocates nothing. What a player would
// notice happening it tells to whoever asked (GameTellTo).
#include <cstddef>
#include <cstdint>

#include "testkit/BridgeCore.h"

inline constexpr std::size_t kMaxWeapons = 8, kMaxComponents = 6, kMaxControls = 8, kMaxPrompts = 8, kMaxTexts = 16,
                             kTextRoom = 256, kMaxDrawn = 8;
// The answer's high half of GetHashKey: the hash is only the low 32 bits of the slot.
inline constexpr UINT64 kHashKeyHighBits = 0xA5A5A5A500000000ULL;
// Host text values carry bits in the high half, so a plug-in that cuts them to 32 bits is caught.
inline constexpr UINT64 kTextBase = 0x7E57000000000000ULL;
// The weapon test index of the reticle's in-scope test (beside the scope toggle's three).
inline constexpr int kInScopeTest = 3;

struct Weapon {
  std::uint32_t hash = 0;
  std::int32_t entity = 0;  // the weapon entity while it exists in the world
  // What the scope toggle's three weapon tests and the reticle's in-scope test answer for it.
  UINT64 tests[4] = {};
  std::uint32_t components[kMaxComponents] = {};  // fitted, 0 for a free place
};

enum class PromptSetup { kNone, kStandard, kHold, kMash };

struct HostPrompt {
  std::int32_t handle = 0;
  std::uint32_t control = 0;
  UINT64 text = 0;  // the label, a host text value
  std::int64_t group = 0;
  PromptSetup setup = PromptSetup::kNone;
  bool registered = false;
  bool enabled = false;
  bool visible = false;
  bool completionTold = false;  // during the current hold of its control
};

struct Game {
  std::int32_t playerId = 2;
  std::int32_t playerPed = 0x10;
  float playerAt[3] = {1, 2, 3};
  UINT64 aiming = 0;  // what the player's in-scope test answers for the player

  bool hasHorse = true;  // without one, the horse query answers 0
  std::int32_t horse = 0x30;
  float horseAt[3] = {2, 2.5f, 3.5f};
  float agitation = 0.1f;
  UINT64 horseStates[2] = {};  // what the two horse state tests answer for the horse
  bool horseHasGroup = true;
  std::int32_t horseGroup = 0x60;

  Weapon weapons[kMaxWeapons];  // the player's
  std::size_t weaponCount = 0;
  // The weapon the weapon query answers for selector 0 and for selector 1: an index into weapons, or -1.
  int inHand[2] = {-1, -1};
  UINT64 cellHighBits = 0;  // what the weapon query writes above the hash into the caller's cell
  std::int32_t nextEntity = 0x40;

  std::uint32_t heldControls[kMaxControls] = {};
  std::size_t heldCount = 0;

  HostPrompt prompts[kMaxPrompts];  // handles from 0x50 on
  std::size_t promptCount = 0;
  char texts[kMaxTexts][kTextRoom] = {};  // the host text value kTextBase + 1 + i stands for texts[i]
  std::size_t textCount = 0;
  UINT64 pendingText = 0;        // set to be drawn
  UINT64 drawn[kMaxDrawn] = {};  // on screen this frame
  std::size_t drawnCount = 0;
  bool reticleHidden = false;  // this frame
};

extern Game TheGame;

// Starts a new game: the defaults above, and no names remembered.
void NewGame();

// The bridge's answer hook: answers from TheGame by the native's default answer in the catalogue;
// zeros for a native it does not know.
bool AnswerFromGame(const NativeCall& call);
// After a frame: what was on screen goes, and a completion may be told again once its control is let go.
void GameEndFrame();

// What a player would notice, as the game tells it.
struct GameEvent {
  enum Kind { kFitted, kRemoved, kInteraction, kPromptCreated, kPromptCompleted, kProblem } kind;
  const Weapon* weapon = nullptr;  // fitted, removed
  std::uint32_t component = 0;     // fitted, removed
  std::int64_t ped = 0, partner = 0;
  std::uint32_t interaction = 0;
  const HostPrompt* prompt = nullptr;  // created, completed
  const char* problem = nullptr;       // a native's call that makes no sense to the game
};
// Null tells nothing.
void GameTellTo(void (*sink)(const GameEvent& event));

// The player's weapon of that hash, given (with a new entity) if it is not yet the player's.
Weapon& GiveWeapon(std::uint32_t hash);
Weapon* FindWeapon(std::uint32_t hash);
bool HasComponent(const Weapon* weapon, std::uint32_t component);
// Fits or takes off a component; false when that changes nothing.
bool SetComponent(Weapon& weapon, std::uint32_t component, bool fitted);
void HoldControl(std::uint32_t control, bool held);
// The text a host text value stands for; null for a value the host never made.
const char* TextOf(UINT64 value);
// The host text value of a text: the one made for it, or else the one it will get next.
UINT64 TextValue(const char* text);
float DistanceToHorse();
// "the player", "the horse", "no entity" or "entity N".
const char* EntityName(std::int64_t entity, char (&buffer)[32]);
