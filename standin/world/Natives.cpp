#include "world/Natives.h"

namespace {
const NativeInfo kNatives[] = {
    {0xFD340785ADF8CFB7, "HashOfName", "s"},
    {0x096275889B8E0EE0, "PlayerPed", ""},
    {0x217E9DC48139933D, "PlayerId", ""},
    {0xFA925AC00EB830B9, "CreateText", "iss"},
    {0xFA233F8FE190514C, "ScreenTextSet", "v"},
    {0xE9990552DEC71600, "ScreenTextPlace", ""},
    {0xDFF0D417277B41F8, "ScreenTextDraw", ""},
    {0x04F97DE45A519419, "PromptCreate", ""},
    {0xB5352B7494A08258, "PromptSetControl", "ih"},
    {0x5DD02A8318420DD7, "PromptSetLabel", "iv"},
    {0x2F11D3A254169EA4, "PromptSetGroup", "iwi"},
    {0xCC6656799977741B, "PromptSetupStandard", "ii"},
    {0x94073D5CA3F16B7B, "PromptSetupHold", "ii"},
    {0x32DF729D8BD3C1C6, "PromptSetupMash", "iiiii"},
    {0x560E76D5E2E1803F, "PromptSetOption", "iii"},
    {0xF7AA2696A22AD8B9, "PromptRegisterEnd", "i"},
    {0x8A0FB4D03A630D21, "PromptSetEnabled", "ii"},
    {0x71215ACCFDE075EE, "PromptSetVisible", "ii"},
    {0xC92AC953F0A982AE, "PromptStandardCompleted", "ii"},
    {0xE0F65F0640EF0617, "PromptHoldCompleted", "i"},
    {0x845CE958416DC473, "PromptMashCompleted", "i"},
    {0xB796970BD125FCE8, "EntityPromptGroup", "i"},
    {0xB48050D326E9A2F3, "PlayerHorse", "i"},
    {0xA86D5F069399F44D, "EntityPosition", "iii"},
    {0x0BE7F4E3CDBAFB28, "Distance", "ffffffi"},
    {0x3A87E44BB9A01D54, "CurrentWeapon", "iciii"},
    {0x76A18844E743BF91, "HasWeaponComponent", "ih"},
    {0x74C9090FDD1BB48E, "AddWeaponComponent", "ihhi"},
    {0x19F70C4D80494FF8, "RemoveWeaponComponent", "ihh"},
    {0x3B390A939AF0B5FC, "WeaponEntityInHand", "ii"},
    {0x56E58D4D118FB45E, "PedFloatAttribute", "ws"},
    {0x7D5B1F88E7504BBA, "HorseStateOne", "i"},
    {0xDEB6D52126E7D640, "HorseStateTwo", "i"},
    {0xDDB2578E95EF7138, "WeaponTestOne", "h"},
    {0x0A82317B7EBFC420, "WeaponTestTwo", "h"},
    {0x6AD66548840472E5, "WeaponTestThree", "h"},
    {0xCD181A959CFDD7F4, "StartInteraction", "iwhii"},
    {0x04D7F33640662FA2, "PlayerInScopeTest", "w"},
    {0x705BE297EEBDB95D, "WeaponInScopeTest", "h"},
    {0x36CDD81627A6FCD2, "HideReticleThisFrame", ""},
    {0, nullptr, nullptr},
};
}  // namespace

const NativeInfo* FindNative(UINT64 hash) {
  for (const NativeInfo* n = kNatives; n->name != nullptr; ++n)
    if (n->hash == hash) return n;
  return nullptr;
}

const NativeInfo* FindNativeByName(const std::string& name) {
  for (const NativeInfo* n = kNatives; n->name != nullptr; ++n)
    if (name == n->name) return n;
  return nullptr;
}

const NativeInfo* AllNatives() { return kNatives; }
