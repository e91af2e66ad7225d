#pragma once
// Every native the plug-in sends, once: its hash, the name of the plug-in's wrapper that sends it, and
// the kind of each argument slot. The test side (the bridge doubles, the unit and fault tests, the
// benchmark and the stand-in's answer tables) takes hashes and names from here only; the plug-in writes
// its own hashes, so that a wrong one there shows up against this list.
//
// Argument kinds, one letter per slot, so that a slot marshalled the wrong way is caught:
//   i  32-bit value, high half zero        w  32-bit value sign-widened to 64 bits
//   h  32-bit name hash, high half zero    f  single-precision float bits, high half zero
//   s  pointer to a NUL-terminated text    c  pointer to an 8-byte output cell
//   v  64-bit host value, any bits
#include <cstdint>

struct NativeEntry {
  std::uint64_t hash;
  const char* name;
  const char* args;
};

namespace natives {
// Names, texts and the screen.
inline constexpr NativeEntry GetHashKey{0xFD340785ADF8CFB7, "GetHashKey", "s"};
inline constexpr NativeEntry CreateLiteralText{0xFA925AC00EB830B9, "CreateLiteralText", "iss"};
inline constexpr NativeEntry SetScreenText{0xFA233F8FE190514C, "SetScreenText", "v"};
inline constexpr NativeEntry PlaceScreenText{0xE9990552DEC71600, "PlaceScreenText", ""};
inline constexpr NativeEntry DrawScreenText{0xDFF0D417277B41F8, "DrawScreenText", ""};
inline constexpr NativeEntry HideReticleThisFrame{0x36CDD81627A6FCD2, "HideReticleThisFrame", ""};

// The player and the weapons.
inline constexpr NativeEntry GetPlayerPedHandle{0x096275889B8E0EE0, "GetPlayerPedHandle", ""};
inline constexpr NativeEntry GetPlayerId{0x217E9DC48139933D, "GetPlayerId", ""};
inline constexpr NativeEntry GetEntityPosition{0xA86D5F069399F44D, "GetEntityPosition", "iii"};
inline constexpr NativeEntry GetDistanceBetween{0x0BE7F4E3CDBAFB28, "GetDistanceBetween", "ffffffi"};
inline constexpr NativeEntry GetCurrentWeapon{0x3A87E44BB9A01D54, "GetCurrentWeapon", "iciii"};
inline constexpr NativeEntry HasWeaponComponent{0x76A18844E743BF91, "HasWeaponComponent", "ih"};
inline constexpr NativeEntry AddWeaponComponent{0x74C9090FDD1BB48E, "AddWeaponComponent", "ihhi"};
inline constexpr NativeEntry RemoveWeaponComponent{0x19F70C4D80494FF8, "RemoveWeaponComponent", "ihh"};
inline constexpr NativeEntry GetWeaponEntityInHand{0x3B390A939AF0B5FC, "GetWeaponEntityInHand", "ii"};
inline constexpr NativeEntry WeaponPassesFirstTest{0xDDB2578E95EF7138, "WeaponPassesFirstTest", "h"};
inline constexpr NativeEntry WeaponPassesSecondTest{0x0A82317B7EBFC420, "WeaponPassesSecondTest", "h"};
inline constexpr NativeEntry WeaponPassesThirdTest{0x6AD66548840472E5, "WeaponPassesThirdTest", "h"};
inline constexpr NativeEntry PlayerInScopeTest{0x04D7F33640662FA2, "PlayerInScopeTest", "w"};
inline constexpr NativeEntry WeaponInScopeTest{0x705BE297EEBDB95D, "WeaponInScopeTest", "h"};

// The horse.
inline constexpr NativeEntry GetPlayerMount{0xB48050D326E9A2F3, "GetPlayerMount", "i"};
inline constexpr NativeEntry GetHorseAgitation{0x56E58D4D118FB45E, "GetHorseAgitation", "ws"};
inline constexpr NativeEntry HorseInFirstBlockingState{0x7D5B1F88E7504BBA, "HorseInFirstBlockingState", "i"};
inline constexpr NativeEntry HorseInSecondBlockingState{0xDEB6D52126E7D640, "HorseInSecondBlockingState", "i"};
inline constexpr NativeEntry StartInteraction{0xCD181A959CFDD7F4, "StartInteraction", "iwhii"};

// Prompts.
inline constexpr NativeEntry PromptCreate{0x04F97DE45A519419, "PromptCreate", ""};
inline constexpr NativeEntry PromptSetControl{0xB5352B7494A08258, "PromptSetControl", "ih"};
inline constexpr NativeEntry PromptSetText{0x5DD02A8318420DD7, "PromptSetText", "iv"};
inline constexpr NativeEntry PromptSetGroup{0x2F11D3A254169EA4, "PromptSetGroup", "iwi"};
inline constexpr NativeEntry PromptSetupStandard{0xCC6656799977741B, "PromptSetupStandard", "ii"};
inline constexpr NativeEntry PromptSetupHold{0x94073D5CA3F16B7B, "PromptSetupHold", "ii"};
inline constexpr NativeEntry PromptSetupMash{0x32DF729D8BD3C1C6, "PromptSetupMash", "iiiii"};
inline constexpr NativeEntry PromptSetFixedOption{0x560E76D5E2E1803F, "PromptSetFixedOption", "iii"};
inline constexpr NativeEntry PromptRegisterEnd{0xF7AA2696A22AD8B9, "PromptRegisterEnd", "i"};
inline constexpr NativeEntry PromptSetEnabled{0x8A0FB4D03A630D21, "PromptSetEnabled", "ii"};
inline constexpr NativeEntry PromptSetVisible{0x71215ACCFDE075EE, "PromptSetVisible", "ii"};
inline constexpr NativeEntry PromptStandardCompleted{0xC92AC953F0A982AE, "PromptStandardCompleted", "ii"};
inline constexpr NativeEntry PromptHoldCompleted{0xE0F65F0640EF0617, "PromptHoldCompleted", "i"};
inline constexpr NativeEntry PromptMashCompleted{0x845CE958416DC473, "PromptMashCompleted", "i"};
inline constexpr NativeEntry EntityPromptGroup{0xB796970BD125FCE8, "EntityPromptGroup", "i"};

inline constexpr const NativeEntry* kAll[] = {&GetHashKey,
                                              &CreateLiteralText,
                                              &SetScreenText,
                                              &PlaceScreenText,
                                              &DrawScreenText,
                                              &HideReticleThisFrame,
                                              &GetPlayerPedHandle,
                                              &GetPlayerId,
                                              &GetEntityPosition,
                                              &GetDistanceBetween,
                                              &GetCurrentWeapon,
                                              &HasWeaponComponent,
                                              &AddWeaponComponent,
                                              &RemoveWeaponComponent,
                                              &GetWeaponEntityInHand,
                                              &WeaponPassesFirstTest,
                                              &WeaponPassesSecondTest,
                                              &WeaponPassesThirdTest,
                                              &PlayerInScopeTest,
                                              &WeaponInScopeTest,
                                              &GetPlayerMount,
                                              &GetHorseAgitation,
                                              &HorseInFirstBlockingState,
                                              &HorseInSecondBlockingState,
                                              &StartInteraction,
                                              &PromptCreate,
                                              &PromptSetControl,
                                              &PromptSetText,
                                              &PromptSetGroup,
                                              &PromptSetupStandard,
                                              &PromptSetupHold,
                                              &PromptSetupMash,
                                              &PromptSetFixedOption,
                                              &PromptRegisterEnd,
                                              &PromptSetEnabled,
                                              &PromptSetVisible,
                                              &PromptStandardCompleted,
                                              &PromptHoldCompleted,
                                              &PromptMashCompleted,
                                              &EntityPromptGroup};

// Null for a hash that is not listed.
constexpr const NativeEntry* Find(std::uint64_t hash) {
  for (const NativeEntry* n : kAll)
    if (n->hash == hash) return n;
  return nullptr;
}

}  // namespace natives
