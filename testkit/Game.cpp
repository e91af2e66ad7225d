// The game's answers: the catalogue's default answer of each native, over the helpers below.
#include "testkit/Game.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "testkit/Catalogue.h"
#include "testkit/NameHash.h"
#include "testkit/Names.h"

Game TheGame;

namespace {
void (*tell)(const GameEvent&) = nullptr;

void Tell(const GameEvent& event) {
  if (tell != nullptr) tell(event);
}

void Problem(const char* text) { Tell({.kind = GameEvent::kProblem, .problem = text}); }
template <class A, class... More>
void Problem(const char* format, A value, More... more) {
  if (tell == nullptr) return;
  char text[256];
  std::snprintf(text, sizeof text, format, value, more...);
  Problem(text);
}

const char* NameOrHex(std::uint32_t hash, char (&buffer)[16]) {
  if (const char* name = KnownName(hash)) return name;
  std::snprintf(buffer, sizeof buffer, "0x%08X", static_cast<unsigned>(hash));
  return buffer;
}

const char* TextOrEmpty(const char* text) { return text != nullptr ? text : ""; }

bool IsHorse(std::int64_t entity) { return TheGame.hasHorse && entity == TheGame.horse; }
std::int32_t HorseOrNone() { return TheGame.hasHorse ? TheGame.horse : 0; }

// One value per distinct text, so that a text made anew on every frame does not grow the host.
UINT64 MakeLiteralText(const NativeCall& c) {
  Game& g = TheGame;
  if (c.Int(0) != 10 || std::strcmp(TextOrEmpty(c.Text(1)), "LITERAL_STRING") != 0)
    Problem("CreateLiteralText asked for something other than 10 and \"LITERAL_STRING\"");
  const char* text = TextOrEmpty(c.Text(2));
  if (const UINT64 made = TextValue(text); TextOf(made) != nullptr) return made;
  if (g.textCount == kMaxTexts || std::strlen(text) >= kTextRoom) {
    Problem("CreateLiteralText with more or longer texts than the game keeps");
    return kTextBase;
  }
  std::strcpy(g.texts[g.textCount], text);
  return kTextBase + 1 + g.textCount++;
}

UINT64 KnownText(UINT64 value) {
  if (TextOf(value) == nullptr)
    Problem("a host text value 0x%016llX that the host never made", static_cast<unsigned long long>(value));
  return value;
}

void DrawPendingText() {
  Game& g = TheGame;
  if (g.pendingText == 0) return Problem("DrawScreenText without a text set first");
  UINT64* const end = g.drawn + g.drawnCount;
  if (std::find(g.drawn, end, g.pendingText) == end && g.drawnCount < kMaxDrawn)
    g.drawn[g.drawnCount++] = g.pendingText;
  g.pendingText = 0;
}

Weapon* WeaponByEntity(std::int32_t entity) {
  for (std::size_t i = 0; i < TheGame.weaponCount; ++i)
    if (entity != 0 && TheGame.weapons[i].entity == entity) return &TheGame.weapons[i];
  return nullptr;
}

// The weapon the weapon query answers for that selector, or null.
Weapon* WeaponInHand(int selector = 1) {
  const int index = TheGame.inHand[selector];
  return index >= 0 && static_cast<std::size_t>(index) < TheGame.weaponCount ? &TheGame.weapons[index] : nullptr;
}

bool ControlHeld(std::uint32_t control) {
  const std::uint32_t* const held = TheGame.heldControls;
  return std::find(held, held + TheGame.heldCount, control) != held + TheGame.heldCount;
}

// The player and the weapon in hand stand where the player stands, the horse where it stands, and
// anything else at the origin.
const float (&PositionOf(std::int32_t entity))[3] {
  static const float kOrigin[3] = {0, 0, 0};
  const Weapon* held = WeaponInHand();
  if (entity == TheGame.playerPed || (entity != 0 && held != nullptr && entity == held->entity))
    return TheGame.playerAt;
  return IsHorse(entity) ? TheGame.horseAt : kOrigin;
}

// In three dimensions when the last argument is non-zero, else on the ground.
float DistanceAsked(const NativeCall& c) {
  const float dx = c.Float(0) - c.Float(3), dy = c.Float(1) - c.Float(4), dz = c.Float(2) - c.Float(5);
  return std::sqrt(dx * dx + dy * dy + (c.Int(6) != 0 ? dz * dz : 0.0f));
}

// The hash goes into the caller's cell; the native's own answer says whether there was one.
void AnswerWeaponQuery(const NativeCall& c) {
  const Weapon* weapon = c.Int(0) == TheGame.playerPed ? WeaponInHand(c.Int(3) == 0 ? 0 : 1) : nullptr;
  if (UINT64* cell = c.Cell(1)) *cell = weapon != nullptr ? TheGame.cellHighBits | weapon->hash : 0;
  c.Answer(weapon != nullptr ? 1 : 0);
}

std::int32_t EntityInHand(std::int32_t ped) {
  const Weapon* held = ped == TheGame.playerPed ? WeaponInHand() : nullptr;
  return held != nullptr ? held->entity : 0;
}

UINT64 WeaponTest(std::uint32_t hash, int test) {
  const Weapon* weapon = FindWeapon(hash);
  return weapon != nullptr ? weapon->tests[test] : 0;
}

// To or from the player's weapon of that hash, or (adding) to a weapon entity.
void ChangeComponent(const NativeCall& c, bool fit) {
  const std::int32_t owner = c.Int(0);
  Weapon* weapon = owner == TheGame.playerPed ? FindWeapon(c.Hash(2)) : fit ? WeaponByEntity(owner) : nullptr;
  char entity[32], name[16];
  if (weapon == nullptr)
    return Problem("%s for %s and %s, which is no weapon of the player's",
                   fit ? "AddWeaponComponent" : "RemoveWeaponComponent", EntityName(owner, entity),
                   NameOrHex(c.Hash(2), name));
  if (SetComponent(*weapon, c.Hash(1), fit))
    Tell({.kind = fit ? GameEvent::kFitted : GameEvent::kRemoved, .weapon = weapon, .component = c.Hash(1)});
}

float AgitationAsked(const NativeCall& c) {
  const char* attribute = TextOrEmpty(c.Text(1));
  const bool agitation = std::strcmp(attribute, "Agitation") == 0;
  if (!agitation) Problem("GetHorseAgitation asked for \"%s\", which the game does not know", attribute);
  return agitation && IsHorse(c.Wide(0)) ? TheGame.agitation : 0.0f;
}

void TellInteraction(const NativeCall& c) {
  Tell({.kind = GameEvent::kInteraction, .ped = c.Int(0), .partner = c.Wide(1), .interaction = c.Hash(2)});
}

std::int32_t CreatePrompt() {
  Game& g = TheGame;
  if (g.promptCount == kMaxPrompts) {
    Problem("PromptCreate beyond the %zu prompts the game keeps", kMaxPrompts);
    return 0;
  }
  g.prompts[g.promptCount] = HostPrompt{.handle = static_cast<std::int32_t>(0x50 + g.promptCount)};
  return g.prompts[g.promptCount++].handle;
}

HostPrompt* PromptOf(const NativeCall& c) {
  for (std::size_t i = 0; i < TheGame.promptCount; ++i)
    if (TheGame.prompts[i].handle == c.Int(0)) return &TheGame.prompts[i];
  Problem("%s on prompt %d, which does not exist", natives::kAll[c.place]->name, c.Int(0));  // asked by answers only
  return nullptr;
}

void SetUpPrompt(const NativeCall& c, PromptSetup setup) {
  if (HostPrompt* p = PromptOf(c)) p->setup = setup;
}

void RegisterPrompt(const NativeCall& c) {
  if (HostPrompt* p = PromptOf(c)) {
    p->registered = true;
    Tell({.kind = GameEvent::kPromptCreated, .prompt = p});
  }
}

// Completed on every poll while the prompt is registered, shown and enabled and its control is held;
// told once per hold.
bool PromptCompleted(const NativeCall& c) {
  HostPrompt* p = PromptOf(c);
  const bool completed = p != nullptr && p->registered && p->visible && p->enabled && ControlHeld(p->control);
  if (completed && !p->completionTold) {
    p->completionTold = true;
    Tell({.kind = GameEvent::kPromptCompleted, .prompt = p});
  }
  return completed;
}

std::int32_t PromptGroupOf(std::int32_t entity) {
  return IsHorse(entity) && TheGame.horseHasGroup ? TheGame.horseGroup : 0;
}

// In the catalogue's order, as natives::IndexOf finds them.
using Answer = void (*)(const NativeCall& c);
#define VARNHOLT_NATIVE_ANSWER(name, hash, args, kind, ...) \
  []([[maybe_unused]] const NativeCall& c) {                \
    [[maybe_unused]] Game& g = TheGame;                     \
    __VA_ARGS__;                                            \
  },
const Answer kAnswers[] = {VARNHOLT_NATIVES(VARNHOLT_NATIVE_ANSWER)};
#undef VARNHOLT_NATIVE_ANSWER
static_assert(std::size(kAnswers) == natives::kCount);
}  // namespace

void NewGame() {
  TheGame = Game{};
  ForgetNames();
}

bool AnswerFromGame(const NativeCall& call) {
  if (call.place < natives::kCount) kAnswers[call.place](call);
  return true;
}

void GameEndFrame() {
  Game& g = TheGame;
  for (std::size_t i = 0; i < g.promptCount; ++i)
    if (!ControlHeld(g.prompts[i].control)) g.prompts[i].completionTold = false;
  g.drawnCount = 0;
  g.reticleHidden = false;
}

void GameTellTo(void (*sink)(const GameEvent& event)) { tell = sink; }

Weapon& GiveWeapon(std::uint32_t hash) {
  if (Weapon* known = FindWeapon(hash)) return *known;
  Game& g = TheGame;
  return g.weapons[g.weaponCount < kMaxWeapons ? g.weaponCount++ : kMaxWeapons - 1] =
             Weapon{.hash = hash, .entity = g.nextEntity++};
}

Weapon* FindWeapon(std::uint32_t hash) {
  for (std::size_t i = 0; i < TheGame.weaponCount; ++i)
    if (TheGame.weapons[i].hash == hash) return &TheGame.weapons[i];
  return nullptr;
}

bool HasComponent(const Weapon* weapon, std::uint32_t component) {
  return weapon != nullptr && component != 0 && std::ranges::count(weapon->components, component) > 0;
}

bool SetComponent(Weapon& weapon, std::uint32_t component, bool fitted) {
  if (component == 0 || HasComponent(&weapon, component) == fitted) return false;
  for (std::uint32_t& place : weapon.components) {
    if (place != (fitted ? 0 : component)) continue;
    place = fitted ? component : 0;
    return true;
  }
  Problem("more components on a weapon than the game keeps");
  return false;
}

void HoldControl(std::uint32_t control, bool held) {
  Game& g = TheGame;
  for (std::size_t i = 0; i < g.heldCount; ++i) {
    if (g.heldControls[i] != control) continue;
    if (!held) g.heldControls[i] = g.heldControls[--g.heldCount];
    return;
  }
  if (held && g.heldCount < kMaxControls) g.heldControls[g.heldCount++] = control;
}

const char* TextOf(UINT64 value) {
  return value > kTextBase && value - kTextBase <= TheGame.textCount ? TheGame.texts[value - kTextBase - 1] : nullptr;
}

UINT64 TextValue(const char* text) {
  std::size_t i = 0;
  while (i < TheGame.textCount && std::strcmp(TheGame.texts[i], text) != 0) ++i;
  return kTextBase + 1 + i;
}

float DistanceToHorse() {
  const float* a = TheGame.playerAt;
  const float* b = TheGame.horseAt;
  return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]));
}

const char* EntityName(std::int64_t entity, char (&buffer)[32]) {
  if (entity == TheGame.playerPed) return "the player";
  if (IsHorse(entity)) return "the horse";
  if (entity == 0) return "no entity";
  std::snprintf(buffer, sizeof buffer, "entity %lld", static_cast<long long>(entity));
  return buffer;
}
