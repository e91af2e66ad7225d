#include "FakeBridge.h"

#include <bit>
#include <cstdio>

const Scenario* ActiveScenario = nullptr;
std::vector<std::string>* NativeTrace = nullptr;
std::uint64_t NativeCalls = 0;

namespace {
UINT64 currentHash = 0;
UINT64 args[8] = {};
unsigned argCount = 0;
UINT64 slots[3] = {};

constexpr UINT64 kGetHashKey = 0xFD340785ADF8CFB7;
constexpr UINT64 kCurrentWeapon = 0x3A87E44BB9A01D54;
constexpr UINT64 kLiteralText = 0xFA925AC00EB830B9;
constexpr UINT64 kAgitation = 0x56E58D4D118FB45E;

UINT64 Bits(float f) { return std::bit_cast<std::uint32_t>(f); }
UINT64 Low(std::int32_t v) { return static_cast<std::uint32_t>(v); }

void Trace() {
  std::string line;
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%016llX(", static_cast<unsigned long long>(currentHash));
  line += buffer;
  for (unsigned i = 0; i < argCount; ++i) {
    if (i > 0) line += ", ";
    const bool name = (currentHash == kGetHashKey && i == 0) || (currentHash == kLiteralText && i >= 1) ||
                      (currentHash == kAgitation && i == 1);
    if (name) {
      line += '"';
      line += reinterpret_cast<const char*>(args[i]);
      line += '"';
    } else if (currentHash == kCurrentWeapon && i == 1) {
      line += "cell";
    } else {
      std::snprintf(buffer, sizeof buffer, "%llX", static_cast<unsigned long long>(args[i]));
      line += buffer;
    }
  }
  line += ')';
  NativeTrace->push_back(line);
}
}  // namespace

void scriptRegister(HMODULE, void (*)()) {}
void scriptUnregister(HMODULE) {}
void scriptWait(DWORD) {}
void keyboardHandlerRegister(KeyboardHandler) {}
void keyboardHandlerUnregister(KeyboardHandler) {}

void nativeInit(UINT64 hash) {
  currentHash = hash;
  argCount = 0;
}

void nativePush64(UINT64 value) { args[argCount++ & 7] = value; }

PUINT64 nativeCall() {
  ++NativeCalls;
  if (NativeTrace != nullptr) Trace();
  const Scenario& s = *ActiveScenario;
  UINT64 answer = 0;
  switch (currentHash) {
    case 0x096275889B8E0EE0: answer = Low(s.playerPed); break;
    case kGetHashKey: answer = NameHash(reinterpret_cast<const char*>(args[0])); break;
    case 0x217E9DC48139933D: answer = Low(s.playerId); break;
    case 0xB48050D326E9A2F3: answer = Low(s.horse); break;
    case 0xB796970BD125FCE8: answer = Low(s.promptGroup); break;
    case kCurrentWeapon: *reinterpret_cast<UINT64*>(args[1]) = s.weapon; break;
    case 0xA86D5F069399F44D:
      slots[0] = Bits(1.0f);
      slots[1] = Bits(2.0f);
      slots[2] = Bits(0.5f);
      return slots;
    case 0x0BE7F4E3CDBAFB28: answer = Bits(s.distance); break;
    case kAgitation: answer = Bits(s.agitation); break;
    case 0x7D5B1F88E7504BBA: answer = s.horseStateA; break;
    case 0xDEB6D52126E7D640: answer = s.horseStateB; break;
    case 0xDDB2578E95EF7138: answer = s.weaponTests[0]; break;
    case 0x0A82317B7EBFC420: answer = s.weaponTests[1]; break;
    case 0x6AD66548840472E5: answer = s.weaponTests[2]; break;
    case 0x3B390A939AF0B5FC: answer = Low(s.weaponEntity); break;
    case 0xE0F65F0640EF0617: answer = s.completed; break;
    case 0x76A18844E743BF91: answer = s.fittedScope != 0 && args[1] == s.fittedScope; break;
    case 0x04D7F33640662FA2: answer = s.playerInScope; break;
    case 0x705BE297EEBDB95D: answer = s.weaponInScope; break;
    case 0x04F97DE45A519419: answer = 7; break;  // the new prompt
    case kLiteralText: answer = 0x5EC7; break;   // the host's text value
    default: break;                              // natives whose answer nobody reads
  }
  slots[0] = answer;
  return slots;
}
