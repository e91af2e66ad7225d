#include "FloorFrames.h"

#include <benchmark/benchmark.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "standin/world/NativeCatalogue.h"

namespace {
constexpr UINT64 kPrompt = 7;  // the handle the fake gives the prompt

template <class... A>
const UINT64* Send(const NativeEntry& native, A... args) {
  nativeInit(native.hash);
  (nativePush64(static_cast<UINT64>(args)), ...);
  return nativeCall();
}
UINT64 Low(const UINT64* slots) { return static_cast<std::uint32_t>(slots[0]); }
UINT64 Widened(const UINT64* slots) { return static_cast<UINT64>(static_cast<std::int32_t>(slots[0])); }
UINT64 Text(const char* text) { return reinterpret_cast<std::uintptr_t>(text); }
UINT64 Cell(UINT64* cell) { return reinterpret_cast<std::uintptr_t>(cell); }

// The switches are looked up by name in an ordered store and read as 32-bit integers on every frame,
// whatever the plug-in: the plainest way to do that is part of every floor. The names are built once,
// since a std::string made from these literals would allocate on every frame.
std::map<std::string, std::string> settings;
const std::string kReticleSwitch = "DisableReticleInScope";
const std::string kToggleSwitch = "EnableScopeToggle";

// 1 on, 0 off, -1 no digits, -2 out of the 32-bit range.
int ReadSwitch(const std::string& name) {
  const auto found = settings.find(name);
  if (found == settings.end() || found->second.empty()) return 0;
  const char* text = found->second.c_str();
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text, &end, 10);
  if (end == text) return -1;
  if (errno == ERANGE || value < INT32_MIN || value > INT32_MAX) return -2;
  return value != 0 && value != -1 ? 1 : 0;
}

void ReadSwitches() {
  int reticle = ReadSwitch(kReticleSwitch);
  int toggle = ReadSwitch(kToggleSwitch);
  benchmark::DoNotOptimize(reticle);
  benchmark::DoNotOptimize(toggle);
}

struct Frame {
  UINT64 ped, horse, weapon, entity;
};

// PlayerPed and the switches, then the reticle's player test answering no.
Frame Start() {
  Frame f{};
  f.ped = Low(Send(natives::GetPlayerPedHandle));
  ReadSwitches();
  Send(natives::PlayerInScopeTest, Widened(Send(natives::GetPlayerId)));
  return f;
}

// The scope toggle up to and including the distance.
void Approach(Frame& f) {
  f.horse = Low(Send(natives::GetPlayerMount, Low(Send(natives::GetPlayerId))));
  Send(natives::PromptSetGroup, kPrompt, Widened(Send(natives::EntityPromptGroup, f.horse)), 0);
  UINT64 cell = 0;
  Send(natives::GetCurrentWeapon, f.ped, Cell(&cell), 0, 1, 0);
  f.weapon = static_cast<std::uint32_t>(cell);
  const UINT64* b = Send(natives::GetEntityPosition, f.horse, 1, 0);
  const UINT64 bx = Low(b), by = static_cast<std::uint32_t>(b[1]), bz = static_cast<std::uint32_t>(b[2]);
  const UINT64* a = Send(natives::GetEntityPosition, f.ped, 1, 0);
  const UINT64 ax = Low(a), ay = static_cast<std::uint32_t>(a[1]), az = static_cast<std::uint32_t>(a[2]);
  Send(natives::GetDistanceBetween, ax, ay, az, bx, by, bz, 1);
}

void HidePrompt() {
  Send(natives::PromptSetEnabled, kPrompt, 0);
  Send(natives::PromptSetVisible, kPrompt, 0);
}

// Past the distance: the horse tests, the first weapon test admitting, the prompt shown and polled.
void ShowPrompt(Frame& f) {
  const UINT64 again = Low(Send(natives::GetPlayerMount, Low(Send(natives::GetPlayerId))));
  Send(natives::GetHorseAgitation, static_cast<UINT64>(static_cast<std::int32_t>(again)), Text("Agitation"));
  Send(natives::HorseInFirstBlockingState, f.horse);
  Send(natives::HorseInSecondBlockingState, f.horse);
  Send(natives::WeaponPassesFirstTest, f.weapon);
  f.entity = Low(Send(natives::GetWeaponEntityInHand, f.ped, 1));
  Send(natives::PromptSetEnabled, kPrompt, 1);
  Send(natives::PromptSetVisible, kPrompt, 1);
  Send(natives::PromptHoldCompleted, kPrompt);
}

UINT64 Hash(const char* name) { return Low(Send(natives::GetHashKey, Text(name))); }

void ShownFrame() {
  Frame f = Start();
  Approach(f);
  ShowPrompt(f);
}

void Interaction(const Frame& f) {
  Send(natives::StartInteraction, f.ped, static_cast<UINT64>(static_cast<std::int32_t>(f.horse)),
       Hash("Interaction_DrawRifleFromUnderSaddle_BothHands"), 0, 1);
}

void AppendLogLine(const char* line) {
  if (std::FILE* file = std::fopen("Quillfen/Log.log", "a")) {
    std::fputs(line, file);
    std::fclose(file);
  }
}
}  // namespace

void SetFloorSettings(const char* file) {
  settings.clear();
  for (const char* line = file; *line != '\0';) {
    const char* end = line;
    while (*end != '\0' && *end != '\n') ++end;
    const std::string text(line, end);
    if (const std::size_t equals = text.find('='); equals != std::string::npos)
      settings[text.substr(0, equals)] = text.substr(equals + 1);
    line = *end == '\n' ? end + 1 : end;
  }
}

void FloorIdle() {
  Frame f = Start();
  Approach(f);
  HidePrompt();
}

void FloorShown() { ShownFrame(); }

void FloorToggle() {
  ActiveScene = &scenes::removeScope;
  {
    Frame f = Start();
    Approach(f);
    ShowPrompt(f);
    const UINT64 s2 = Hash("COMPONENT_RIFLE_SCOPE02");
    const UINT64 s3 = Hash("COMPONENT_RIFLE_SCOPE03");
    Hash("COMPONENT_RIFLE_SCOPE04");
    Send(natives::HasWeaponComponent, f.entity, s2);
    Send(natives::HasWeaponComponent, f.entity, s3);
    Send(natives::RemoveWeaponComponent, f.ped, Hash("COMPONENT_RIFLE_SCOPE02"), f.weapon);
    Send(natives::RemoveWeaponComponent, f.ped, Hash("COMPONENT_RIFLE_SCOPE03"), f.weapon);
    Send(natives::RemoveWeaponComponent, f.ped, Hash("COMPONENT_RIFLE_SCOPE04"), f.weapon);
    Interaction(f);
  }
  ActiveScene = &scenes::shown;
  ShownFrame();
  ActiveScene = &scenes::restoreScope;
  {
    Frame f = Start();
    Approach(f);
    ShowPrompt(f);
    const UINT64 s2 = Hash("COMPONENT_RIFLE_SCOPE02");
    const UINT64 s3 = Hash("COMPONENT_RIFLE_SCOPE03");
    const UINT64 s4 = Hash("COMPONENT_RIFLE_SCOPE04");
    Send(natives::HasWeaponComponent, f.entity, s2);
    Send(natives::HasWeaponComponent, f.entity, s3);
    Send(natives::HasWeaponComponent, f.entity, s4);
    Send(natives::AddWeaponComponent, f.ped, s3, f.weapon, 1);  // the remembered scope
    Send(natives::AddWeaponComponent, f.entity, s3, 0xFFFFFFFFu, 0);
    Interaction(f);
  }
  ActiveScene = &scenes::shown;
  ShownFrame();
}

void FloorInScope() {
  Frame f{};
  f.ped = Low(Send(natives::GetPlayerPedHandle));
  ReadSwitches();
  Send(natives::PlayerInScopeTest, Widened(Send(natives::GetPlayerId)));
  UINT64 cell = 0;
  Send(natives::GetCurrentWeapon, f.ped, Cell(&cell), 0, 0, 0);
  Send(natives::WeaponInScopeTest, static_cast<std::uint32_t>(cell));
  Send(natives::HideReticleThisFrame);
  Approach(f);
  HidePrompt();
}

void FloorOff() {
  Send(natives::GetPlayerPedHandle);
  ReadSwitches();
}

void FloorFailing() {
  Send(natives::GetPlayerPedHandle);
  int reticle = ReadSwitch(kReticleSwitch);  // no number: the frame fails before the second switch
  benchmark::DoNotOptimize(reticle);
  AppendLogLine("[9/12/2026 2:0:0] Something wrong happened\n");
  static const char message[] = "Fatal: invalid stoi argument, check the logs for more info.";
  AppendLogLine("[9/12/2026 2:0:0] Fatal: invalid stoi argument, check the logs for more info.\n");
  const UINT64 text = Send(natives::CreateLiteralText, 10, Text("LITERAL_STRING"), Text(message))[0];
  Send(natives::SetScreenText, text);
  Send(natives::PlaceScreenText);
  Send(natives::DrawScreenText);
}
