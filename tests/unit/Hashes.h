#pragma once
// The natives the plug-in sends, by what they do, for setting up answers. Expected call lines in the
// tests spell the hashes out instead, as the host knows them.
#include <cstdint>

namespace hashes {
inline constexpr std::uint64_t GetHashKey = 0xFD340785ADF8CFB7;
inline constexpr std::uint64_t PlayerPed = 0x096275889B8E0EE0;
inline constexpr std::uint64_t PlayerId = 0x217E9DC48139933D;
inline constexpr std::uint64_t PlayerMount = 0xB48050D326E9A2F3;
inline constexpr std::uint64_t EntityPosition = 0xA86D5F069399F44D;
inline constexpr std::uint64_t Distance = 0x0BE7F4E3CDBAFB28;
inline constexpr std::uint64_t CurrentWeapon = 0x3A87E44BB9A01D54;
inline constexpr std::uint64_t HasComponent = 0x76A18844E743BF91;
inline constexpr std::uint64_t AddComponent = 0x74C9090FDD1BB48E;
inline constexpr std::uint64_t RemoveComponent = 0x19F70C4D80494FF8;
inline constexpr std::uint64_t WeaponEntity = 0x3B390A939AF0B5FC;
inline constexpr std::uint64_t Agitation = 0x56E58D4D118FB45E;
inline constexpr std::uint64_t HorseState1 = 0x7D5B1F88E7504BBA;
inline constexpr std::uint64_t HorseState2 = 0xDEB6D52126E7D640;
inline constexpr std::uint64_t WeaponTest1 = 0xDDB2578E95EF7138;
inline constexpr std::uint64_t WeaponTest2 = 0x0A82317B7EBFC420;
inline constexpr std::uint64_t WeaponTest3 = 0x6AD66548840472E5;
inline constexpr std::uint64_t StartInteraction = 0xCD181A959CFDD7F4;
inline constexpr std::uint64_t PlayerInScope = 0x04D7F33640662FA2;
inline constexpr std::uint64_t WeaponInScope = 0x705BE297EEBDB95D;
inline constexpr std::uint64_t HideReticle = 0x36CDD81627A6FCD2;
inline constexpr std::uint64_t CreateText = 0xFA925AC00EB830B9;
inline constexpr std::uint64_t ShowText = 0xFA233F8FE190514C;
inline constexpr std::uint64_t PromptCreate = 0x04F97DE45A519419;
inline constexpr std::uint64_t PromptEnabled = 0x8A0FB4D03A630D21;
inline constexpr std::uint64_t PromptVisible = 0x71215ACCFDE075EE;
inline constexpr std::uint64_t PromptStandardDone = 0xC92AC953F0A982AE;
inline constexpr std::uint64_t PromptHoldDone = 0xE0F65F0640EF0617;
inline constexpr std::uint64_t PromptMashDone = 0x845CE958416DC473;
inline constexpr std::uint64_t EntityPromptGroup = 0xB796970BD125FCE8;
}  // namespace hashes
