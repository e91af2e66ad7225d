#pragma once
// Every native the plug-in sends, once: the name of the plug-in's wrapper that sends it, its hash, the
// kind of each argument slot and of its answer, and the test side's default answer from the game model
// (testkit/Game.h). The bridge checks each call's slots against these kinds, the call lines and traces
// print by them, and the game answers by them; the plug-in writes its own hashes, so that a wrong one
// there shows up against this list. Adding a native is one line here.
//
// Kinds, one letter per slot (the answer has one letter, or none when nothing reads it):
//   i  32-bit value, high half zero        w  32-bit value sign-widened to 64 bits
//   h  32-bit name hash, high half zero    f  single-precision float bits, high half zero
//   s  pointer to a NUL-terminated text    c  pointer to an 8-byte output cell
//   v  64-bit host value, any bits         p  (answers only) a position: floats in slots 0, 1 and 2
//
// The answer is a statement over `c`, the call (testkit/Bridge.h), and `g`, the game.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>

// N(name, hash, argument kinds, answer kind, default answer)
#define VARNHOLT_NATIVES(N)                                                                                         \
  /* Names, texts and the screen. */                                                                                \
  N(GetHashKey, 0xFD340785ADF8CFB7, "s", "h", c.Answer(kHashKeyHighBits | HashName(TextOrEmpty(c.Text(0)))))        \
  N(CreateLiteralText, 0xFA925AC00EB830B9, "iss", "v", c.Answer(MakeLiteralText(c)))                                \
  N(SetScreenText, 0xFA233F8FE190514C, "v", "", g.pendingText = KnownText(c.Slot(0)))                               \
  N(PlaceScreenText, 0xE9990552DEC71600, "", "", {})                                                                \
  N(DrawScreenText, 0xDFF0D417277B41F8, "", "", DrawPendingText())                                                  \
  N(HideReticleThisFrame, 0x36CDD81627A6FCD2, "", "", g.reticleHidden = true)                                       \
  /* The player and the weapons. */                                                                                 \
  N(GetPlayerPedHandle, 0x096275889B8E0EE0, "", "i", c.AnswerInt(g.playerPed))                                      \
  N(GetPlayerId, 0x217E9DC48139933D, "", "i", c.AnswerInt(g.playerId))                                              \
  N(GetEntityPosition, 0xA86D5F069399F44D, "iii", "p", c.AnswerVector(PositionOf(c.Int(0))))                        \
  N(GetDistanceBetween, 0x0BE7F4E3CDBAFB28, "ffffffi", "f", c.AnswerFloat(DistanceAsked(c)))                        \
  N(GetCurrentWeapon, 0x3A87E44BB9A01D54, "iciii", "i", AnswerWeaponQuery(c))                                       \
  N(HasWeaponComponent, 0x76A18844E743BF91, "ih", "i", c.Answer(HasComponent(WeaponByEntity(c.Int(0)), c.Hash(1)))) \
  N(AddWeaponComponent, 0x74C9090FDD1BB48E, "ihhi", "", ChangeComponent(c, true))                                   \
  N(RemoveWeaponComponent, 0x19F70C4D80494FF8, "ihh", "", ChangeComponent(c, false))                                \
  N(GetWeaponEntityInHand, 0x3B390A939AF0B5FC, "ii", "i", c.AnswerInt(EntityInHand(c.Int(0))))                      \
  N(WeaponPassesFirstTest, 0xDDB2578E95EF7138, "h", "i", c.Answer(WeaponTest(c.Hash(0), 0)))                        \
  N(WeaponPassesSecondTest, 0x0A82317B7EBFC420, "h", "i", c.Answer(WeaponTest(c.Hash(0), 1)))                       \
  N(WeaponPassesThirdTest, 0x6AD66548840472E5, "h", "i", c.Answer(WeaponTest(c.Hash(0), 2)))                        \
  N(PlayerInScopeTest, 0x04D7F33640662FA2, "w", "v", c.Answer(c.Wide(0) == g.playerId ? g.aiming : 0))              \
  N(WeaponInScopeTest, 0x705BE297EEBDB95D, "h", "i", c.Answer(WeaponTest(c.Hash(0), kInScopeTest)))                 \
  /* The horse. */                                                                                                  \
  N(GetPlayerMount, 0xB48050D326E9A2F3, "i", "i", c.AnswerInt(c.Int(0) == g.playerId ? HorseOrNone() : 0))          \
  N(GetHorseAgitation, 0x56E58D4D118FB45E, "ws", "f", c.AnswerFloat(AgitationAsked(c)))                             \
  N(HorseInFirstBlockingState, 0x7D5B1F88E7504BBA, "i", "i", c.Answer(IsHorse(c.Int(0)) ? g.horseStates[0] : 0))    \
  N(HorseInSecondBlockingState, 0xDEB6D52126E7D640, "i", "i", c.Answer(IsHorse(c.Int(0)) ? g.horseStates[1] : 0))   \
  N(StartInteraction, 0xCD181A959CFDD7F4, "iwhii", "", TellInteraction(c))                                          \
  /* Prompts. */                                                                                                    \
  N(PromptCreate, 0x04F97DE45A519419, "", "i", c.AnswerInt(CreatePrompt()))                                         \
  N(PromptSetControl, 0xB5352B7494A08258, "ih", "", if (HostPrompt* p = PromptOf(c)) p->control = c.Hash(1))        \
  N(PromptSetText, 0x5DD02A8318420DD7, "iv", "", if (HostPrompt* p = PromptOf(c)) p->text = KnownText(c.Slot(1)))   \
  N(PromptSetGroup, 0x2F11D3A254169EA4, "iwi", "", if (HostPrompt* p = PromptOf(c)) p->group = c.Wide(1))           \
  N(PromptSetupStandard, 0xCC6656799977741B, "ii", "", SetUpPrompt(c, PromptSetup::kStandard))                      \
  N(PromptSetupHold, 0x94073D5CA3F16B7B, "ii", "", SetUpPrompt(c, PromptSetup::kHold))                              \
  N(PromptSetupMash, 0x32DF729D8BD3C1C6, "iiiii", "", SetUpPrompt(c, PromptSetup::kMash))                           \
  N(PromptSetFixedOption, 0x560E76D5E2E1803F, "iii", "", PromptOf(c))                                               \
  N(PromptRegisterEnd, 0xF7AA2696A22AD8B9, "i", "", RegisterPrompt(c))                                              \
  N(PromptSetEnabled, 0x8A0FB4D03A630D21, "ii", "", if (HostPrompt* p = PromptOf(c)) p->enabled = c.Int(1) != 0)    \
  N(PromptSetVisible, 0x71215ACCFDE075EE, "ii", "", if (HostPrompt* p = PromptOf(c)) p->visible = c.Int(1) != 0)    \
  N(PromptStandardCompleted, 0xC92AC953F0A982AE, "ii", "i", c.Answer(PromptCompleted(c)))                           \
  N(PromptHoldCompleted, 0xE0F65F0640EF0617, "i", "i", c.Answer(PromptCompleted(c)))                                \
  N(PromptMashCompleted, 0x845CE958416DC473, "i", "i", c.Answer(PromptCompleted(c)))                                \
  N(EntityPromptGroup, 0xB796970BD125FCE8, "i", "i", c.AnswerInt(PromptGroupOf(c.Int(0))))

struct NativeEntry {
  std::uint64_t hash;
  const char* name;
  const char* args;    // one kind per argument slot
  const char* answer;  // the answer's kind, or empty
  std::size_t argCount;
};

namespace natives {
#define VARNHOLT_NATIVE_ENTRY(name, hash, args, answer, ...) \
  inline constexpr NativeEntry name{hash, #name, args, answer, sizeof(args) - 1};
VARNHOLT_NATIVES(VARNHOLT_NATIVE_ENTRY)
#undef VARNHOLT_NATIVE_ENTRY

#define VARNHOLT_NATIVE_ADDRESS(name, ...) &name,
inline constexpr const NativeEntry* kAll[] = {VARNHOLT_NATIVES(VARNHOLT_NATIVE_ADDRESS)};
#undef VARNHOLT_NATIVE_ADDRESS

inline constexpr std::size_t kCount = sizeof kAll / sizeof kAll[0];

// Every native call looks its entry up, so the lookup must cost next to nothing beside the plug-in's
// own work: a multiplier, found when compiling, that sends every hash of the list to a bucket of its own.
inline constexpr int kBucketBits = 8;
constexpr std::size_t Bucket(std::uint64_t hash, std::uint64_t multiplier) {
  return static_cast<std::size_t>((hash * multiplier) >> (64 - kBucketBits));
}
inline constexpr std::uint64_t kMultiplier = [] {
  for (std::uint64_t m = 0x9E3779B97F4A7C15ULL;; m += 2) {
    std::array<bool, 1 << kBucketBits> taken{};
    bool apart = true;
    for (const NativeEntry* n : kAll) apart = apart && !std::exchange(taken[Bucket(n->hash, m)], true);
    if (apart) return m;
  }
}();
inline constexpr std::array<std::uint8_t, 1 << kBucketBits> kPlaces = [] {
  std::array<std::uint8_t, 1 << kBucketBits> places{};
  places.fill(static_cast<std::uint8_t>(kCount));
  for (std::size_t i = 0; i < kCount; ++i) places[Bucket(kAll[i]->hash, kMultiplier)] = static_cast<std::uint8_t>(i);
  return places;
}();

// The place of a hash in kAll, or kCount when it is not listed.
constexpr std::size_t IndexOf(std::uint64_t hash) {
  const std::size_t i = kPlaces[Bucket(hash, kMultiplier)];
  return i < kCount && kAll[i]->hash == hash ? i : kCount;
}

// Null for a hash or a name that is not listed; names match exactly.
constexpr const NativeEntry* Find(std::uint64_t hash) {
  const std::size_t i = IndexOf(hash);
  return i < kCount ? kAll[i] : nullptr;
}
constexpr const NativeEntry* FindByName(std::string_view name) {
  for (const NativeEntry* n : kAll)
    if (name == n->name) return n;
  return nullptr;
}
}  // namespace natives
