#pragma once
// The stand-in's game world: the player, the horse, the weapons, the prompts, the reticle and the screen.
// What a player would notice it tells to whoever the host named (the report), so the world itself knows
// nothing of how a run is shown. The natives are answered from it in world/Answer.h.
#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "host/Bridge.h"

// Which of the host's weapon tests say yes for a weapon.
inline constexpr unsigned kTest1 = 1, kTest2 = 2, kTest3 = 4, kScopeTest = 8;

struct Vec3 {
  float x = 0, y = 0, z = 0;
};

struct Weapon {
  std::uint32_t hash = 0;
  unsigned tests = 0;       // kTest1 | kTest2 | kTest3 | kScopeTest: which host weapon tests say yes
  std::int32_t entity = 0;  // the weapon entity while it exists in the world
  std::set<std::uint32_t> components;
};

struct HostPrompt {
  std::int32_t handle = 0;
  std::uint32_t control = 0;
  std::string label;
  std::int64_t group = 0;
  std::string mode = "no completion mode";
  bool registered = false;
  bool enabled = false;
  bool visible = false;
  // What the player saw at the end of the last frame.
  bool seenVisible = false;
  bool seenEnabled = false;
  std::string seenLabel;
  std::int64_t seenGroup = 0;
  bool completionSeen = false;  // a completion was reported during the current hold of the control
};

// A failure the scenario asked for: the next call of the native on that frame throws.
struct PlannedFailure {
  UINT64 native = 0;
  std::string message;
  bool standard = true;  // a std::runtime_error; otherwise an int
  int frame = 0;
  bool done = false;
};

struct World {
  int frame = 0;  // the current frame, as the host counts them

  std::int32_t playerId = 0;
  std::int32_t playerPed = 10;
  Vec3 playerPosition;

  bool hasHorse = true;
  std::int32_t horse = 20;
  Vec3 horsePosition;
  float agitation = 0;
  bool horseState[2] = {false, false};
  bool horseHasGroup = true;
  std::int32_t horseGroup = 0x4E;

  std::vector<Weapon> weapons;  // the player's
  int held = -1;                // index of the weapon in hand
  std::int32_t nextEntity = 100;

  std::set<std::uint32_t> heldControls;
  bool aiming = false;

  std::vector<HostPrompt> prompts;
  std::vector<std::string> texts;  // host text values, by index
  bool hasPendingText = false;
  std::string pendingText;
  std::set<std::string> drawnTexts;  // on screen this frame
  bool reticleHidden = false;        // this frame

  std::vector<PlannedFailure> failures;
  bool pluginLoaded = false;
  bool trace = false;
  long long nativesAfterUnload = 0;
  std::set<std::string> problemsReported;
};

extern World TheWorld;

// What a player would notice, as the world tells it: a one-off event on the current frame, or a state
// that holds on it. Some events the picture marks too.
enum class Notice { kPlain, kCompletion, kInteraction, kThrown };
using EventSink = void (*)(const std::string& text, Notice notice);
using StateSink = void (*)(const std::string& text);
// Where the world tells it from now on; until then (or with null) nothing is told.
void WorldTellTo(EventSink event, StateSink state);
void TellEvent(const std::string& text, Notice notice = Notice::kPlain);
void TellState(const std::string& text);

// What a scenario asks of the host, which the world cannot do itself: a keyboard message to the
// plug-in's handler (true when a handler took it), and unloading the plug-in.
using KeySender = bool (*)(std::uint32_t code, bool down);
using Unloader = void (*)();
// Who does it from now on; until then (or with null) a key finds no handler and nothing is unloaded.
void WorldAskHostWith(KeySender key, Unloader unload);
bool AskHostForKey(std::uint32_t code, bool down);
void AskHostToUnload();

// Hashes a name and remembers it, so that the hash prints as the name.
std::uint32_t RememberName(const std::string& name);
// The remembered name of a hash, or its hex digits.
std::string NameOf(std::uint32_t hash);
Weapon* FindWeapon(std::uint32_t hash);
// Where the horse stands (or stood) from the player, in three dimensions.
float DistanceToHorse();
// A problem worth a modder's attention, told once.
void ReportProblem(const std::string& text);

// Host text values carry bits in the high half, so a plug-in that cuts them to 32 bits is caught.
inline constexpr UINT64 kTextBase = 0x7E57000000000000ULL;
// The text a host text value stands for; a problem and "?" for a value the host never made.
std::string TextOf(UINT64 value);
// "the player", "the horse", "no entity" or "entity N".
std::string EntityName(std::int64_t entity);
