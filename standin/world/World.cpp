#include "world/World.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "world/Format.h"
#include "world/NameHash.h"
#include "world/Natives.h"

World TheWorld;

namespace {
std::map<std::uint32_t, std::string> names;
EventSink eventSink = nullptr;
StateSink stateSink = nullptr;

// Host text values carry bits in the high half, so a plug-in that cuts them to 32 bits is caught.
constexpr UINT64 kTextBase = 0x7E57000000000000ULL;

struct Call {
  UINT64 hash;
  const NativeInfo* info;
  const UINT64* args;
  std::size_t count;
  UINT64* slots;
  std::string result;  // for the trace
};

std::int32_t Int(const Call& c, std::size_t i) {
  return i < c.count ? static_cast<std::int32_t>(static_cast<std::uint32_t>(c.args[i])) : 0;
}
UINT64 Slot(const Call& c, std::size_t i) { return i < c.count ? c.args[i] : 0; }  // missing ones read as 0
std::int64_t Wide(const Call& c, std::size_t i) { return static_cast<std::int64_t>(Slot(c, i)); }
std::uint32_t Hash(const Call& c, std::size_t i) { return static_cast<std::uint32_t>(Int(c, i)); }
float Float(const Call& c, std::size_t i) { return std::bit_cast<float>(Hash(c, i)); }
const char* Text(const Call& c, std::size_t i) {
  return i < c.count ? reinterpret_cast<const char*>(static_cast<std::uintptr_t>(c.args[i])) : nullptr;
}

void Answer(Call& c, std::int64_t value) {
  c.slots[0] = static_cast<UINT64>(value);
  c.result = std::to_string(value);
}
void AnswerFloat(Call& c, float value) {
  c.slots[0] = std::bit_cast<std::uint32_t>(value);
  c.result = FormatNumber(value);
}
void AnswerVector(Call& c, const Vec3& v) {
  c.slots[0] = std::bit_cast<std::uint32_t>(v.x);
  c.slots[1] = std::bit_cast<std::uint32_t>(v.y);
  c.slots[2] = std::bit_cast<std::uint32_t>(v.z);
  c.result = "(" + FormatNumber(v.x) + ", " + FormatNumber(v.y) + ", " + FormatNumber(v.z) + ")";
}

std::string TextOf(UINT64 value) {
  if (value >= kTextBase && value - kTextBase < TheWorld.texts.size()) return TheWorld.texts[value - kTextBase];
  ReportProblem("a host text value " + HexHash(value) + " that the host never made");
  return "?";
}

HostPrompt* FindPrompt(const Call& c) {
  const std::int32_t handle = Int(c, 0);
  for (HostPrompt& p : TheWorld.prompts)
    if (p.handle == handle) return &p;
  ReportProblem(std::string(c.info->name) + " on prompt " + std::to_string(handle) + ", which does not exist");
  return nullptr;
}

Weapon* HeldWeapon() {
  return TheWorld.held >= 0 ? &TheWorld.weapons[static_cast<std::size_t>(TheWorld.held)] : nullptr;
}

Weapon* WeaponByEntity(std::int32_t entity) {
  for (Weapon& w : TheWorld.weapons)
    if (w.entity != 0 && w.entity == entity) return &w;
  return nullptr;
}

std::string EntityName(std::int64_t entity) {
  if (entity == TheWorld.playerPed) return "the player";
  if (TheWorld.hasHorse && entity == TheWorld.horse) return "the horse";
  if (entity == 0) return "no entity";
  return "entity " + std::to_string(entity);
}

std::string GroupName(std::int64_t group) {
  if (group == 0) return "in no prompt group";
  if (TheWorld.hasHorse && TheWorld.horseHasGroup && group == TheWorld.horseGroup) return "in the horse's prompt group";
  return "in prompt group " + std::to_string(group);
}

bool Completed(const Call& c) {
  HostPrompt* p = FindPrompt(c);
  if (p == nullptr || !p->registered || !p->visible || !p->enabled) return false;
  if (TheWorld.heldControls.count(p->control) == 0) return false;
  if (!p->completionSeen) {
    p->completionSeen = true;
    const std::string what = "prompt " + Quoted(p->label) + " completed";
    TellEvent(what, Notice::kCompletion);
  }
  return true;
}

void ChangeComponent(Weapon& w, std::uint32_t component, bool fit, const char* by) {
  const bool had = w.components.count(component) != 0;
  if (had == fit) return;
  if (fit)
    w.components.insert(component);
  else
    w.components.erase(component);
  TellEvent(std::string(by) + NameOf(component) + (fit ? " fitted to " : " removed from ") + NameOf(w.hash));
}

// Checks each slot against the kind of value it should hold.
void CheckMarshalling(const Call& c) {
  const std::size_t expected = std::strlen(c.info->args);
  if (c.count != expected) {
    ReportProblem(std::string(c.info->name) + " sent with " + std::to_string(c.count) + " arguments instead of " +
                  std::to_string(expected));
    return;
  }
  for (std::size_t i = 0; i < c.count; ++i) {
    const UINT64 v = c.args[i];
    const char kind = c.info->args[i];
    const bool zeroHigh = (v >> 32) == 0;
    const bool signWide = static_cast<UINT64>(static_cast<std::int64_t>(static_cast<std::int32_t>(v))) == v;
    const char* wrong = nullptr;
    if ((kind == 'i' || kind == 'h' || kind == 'f') && !zeroHigh) wrong = "has bits in its high half";
    if (kind == 'w' && !signWide) wrong = "is not a sign-widened 32-bit value";
    if ((kind == 's' || kind == 'c') && v == 0) wrong = "is a null pointer";
    if (wrong != nullptr)
      ReportProblem(std::string(c.info->name) + " argument " + std::to_string(i + 1) + " (" + HexHash(v) + ") " + wrong);
  }
}

std::string TraceArgs(const Call& c) {
  std::string out;
  for (std::size_t i = 0; i < c.count; ++i) {
    if (i > 0) out += ", ";
    const char kind = c.info != nullptr && i < std::strlen(c.info->args) ? c.info->args[i] : 'v';
    switch (kind) {
      case 'i': out += std::to_string(Int(c, i)); break;
      case 'w': out += std::to_string(Wide(c, i)); break;
      case 'h': out += NameOf(Hash(c, i)); break;
      case 'f': out += FormatNumber(Float(c, i)); break;
      case 's': out += QuotedText(Text(c, i)); break;
      case 'c': out += "&cell"; break;
      default:
        if (c.args[i] >= kTextBase && c.args[i] - kTextBase < TheWorld.texts.size())
          out += "text " + Quoted(TheWorld.texts[c.args[i] - kTextBase]);
        else
          out += HexHash(c.args[i]);
    }
  }
  return out;
}

void Dispatch(Call& c) {
  World& w = TheWorld;
  switch (c.hash) {
    case 0xFD340785ADF8CFB7: {  // HashOfName
      const char* text = Text(c, 0);
      const std::uint32_t hash = RememberName(text != nullptr ? text : "");
      c.slots[0] = hash;
      c.result = Hex32(hash);
      break;
    }
    case 0x096275889B8E0EE0: Answer(c, w.playerPed); break;
    case 0x217E9DC48139933D: Answer(c, w.playerId); break;
    case 0xFA925AC00EB830B9: {  // CreateText
      const char* kind = Text(c, 1);
      if (Int(c, 0) != 10 || kind == nullptr || std::strcmp(kind, "LITERAL_STRING") != 0)
        ReportProblem("CreateText asked for something other than 10 and \"LITERAL_STRING\"");
      const char* text = Text(c, 2);
      // One value per distinct text, so that a text made anew on every frame does not grow the host.
      const std::string made = text != nullptr ? text : "";
      auto found = std::find(w.texts.begin(), w.texts.end(), made);
      if (found == w.texts.end()) found = w.texts.insert(found, made);
      c.slots[0] = kTextBase + static_cast<UINT64>(found - w.texts.begin());
      c.result = "text " + Quoted(*found);
      break;
    }
    case 0xFA233F8FE190514C:  // ScreenTextSet
      w.hasPendingText = true;
      w.pendingText = TextOf(Slot(c, 0));
      break;
    case 0xE9990552DEC71600: break;  // ScreenTextPlace: where it goes, nothing to see yet
    case 0xDFF0D417277B41F8:         // ScreenTextDraw
      if (!w.hasPendingText) ReportProblem("ScreenTextDraw without a text set first");
      else w.drawnTexts.insert(w.pendingText);
      w.hasPendingText = false;
      break;

    case 0x04F97DE45A519419: {  // PromptCreate
      HostPrompt p;
      p.handle = static_cast<std::int32_t>(w.prompts.size() + 1);
      w.prompts.push_back(p);
      Answer(c, p.handle);
      break;
    }
    case 0xB5352B7494A08258:
      if (HostPrompt* p = FindPrompt(c)) p->control = Hash(c, 1);
      break;
    case 0x5DD02A8318420DD7:
      if (HostPrompt* p = FindPrompt(c)) p->label = TextOf(Slot(c, 1));
      break;
    case 0x2F11D3A254169EA4:
      if (HostPrompt* p = FindPrompt(c)) p->group = Wide(c, 1);
      break;
    case 0xCC6656799977741B:
      if (HostPrompt* p = FindPrompt(c)) p->mode = "standard mode";
      break;
    case 0x94073D5CA3F16B7B:
      if (HostPrompt* p = FindPrompt(c)) p->mode = "hold mode";
      break;
    case 0x32DF729D8BD3C1C6:
      if (HostPrompt* p = FindPrompt(c)) p->mode = "mash mode";
      break;
    case 0x560E76D5E2E1803F: FindPrompt(c); break;  // an option of the host's own
    case 0xF7AA2696A22AD8B9:
      if (HostPrompt* p = FindPrompt(c)) {
        p->registered = true;
        TellEvent("prompt " + Quoted(p->label) + " created on " + NameOf(p->control) + ", " + p->mode);
      }
      break;
    case 0x8A0FB4D03A630D21:
      if (HostPrompt* p = FindPrompt(c)) p->enabled = Int(c, 1) != 0;
      break;
    case 0x71215ACCFDE075EE:
      if (HostPrompt* p = FindPrompt(c)) p->visible = Int(c, 1) != 0;
      break;
    case 0xC92AC953F0A982AE:
    case 0xE0F65F0640EF0617:
    case 0x845CE958416DC473: Answer(c, Completed(c) ? 1 : 0); break;
    case 0xB796970BD125FCE8:
      Answer(c, w.hasHorse && w.horseHasGroup && Int(c, 0) == w.horse ? w.horseGroup : 0);
      break;

    case 0xB48050D326E9A2F3: Answer(c, w.hasHorse && Int(c, 0) == w.playerId ? w.horse : 0); break;
    case 0xA86D5F069399F44D: {  // EntityPosition
      const std::int32_t entity = Int(c, 0);
      Vec3 at;
      if (entity == w.playerPed || (entity != 0 && HeldWeapon() != nullptr && entity == HeldWeapon()->entity))
        at = w.playerPosition;
      else if (w.hasHorse && entity == w.horse)
        at = w.horsePosition;
      AnswerVector(c, at);  // anything else stands at the origin
      break;
    }
    case 0x0BE7F4E3CDBAFB28: {  // Distance
      const float dx = Float(c, 0) - Float(c, 3), dy = Float(c, 1) - Float(c, 4), dz = Float(c, 2) - Float(c, 5);
      AnswerFloat(c, Int(c, 6) != 0 ? std::sqrt(dx * dx + dy * dy + dz * dz) : std::sqrt(dx * dx + dy * dy));
      break;
    }
    case 0x3A87E44BB9A01D54: {  // CurrentWeapon: the hash goes into the caller's cell, all 64 bits of it
      const Weapon* held = Int(c, 0) == w.playerPed ? HeldWeapon() : nullptr;
      UINT64* cell = reinterpret_cast<UINT64*>(static_cast<std::uintptr_t>(Slot(c, 1)));
      if (cell != nullptr) *cell = held != nullptr ? held->hash : 0;
      Answer(c, held != nullptr ? 1 : 0);
      c.result += ", cell " + (held != nullptr ? NameOf(held->hash) : std::string("0"));
      break;
    }
    case 0x76A18844E743BF91: {  // HasWeaponComponent
      const Weapon* weapon = WeaponByEntity(Int(c, 0));
      Answer(c, weapon != nullptr && weapon->components.count(Hash(c, 1)) != 0 ? 1 : 0);
      break;
    }
    case 0x74C9090FDD1BB48E: {  // AddWeaponComponent, to the player's weapon of that hash or to a weapon entity
      Weapon* weapon = Int(c, 0) == w.playerPed ? FindWeapon(Hash(c, 2)) : WeaponByEntity(Int(c, 0));
      if (weapon == nullptr)
        ReportProblem("AddWeaponComponent for " + EntityName(Int(c, 0)) + " and " + NameOf(Hash(c, 2)) +
                      ", which is no weapon of the player's");
      else
        ChangeComponent(*weapon, Hash(c, 1), true, "");
      break;
    }
    case 0x19F70C4D80494FF8: {  // RemoveWeaponComponent
      Weapon* weapon = Int(c, 0) == w.playerPed ? FindWeapon(Hash(c, 2)) : nullptr;
      if (weapon == nullptr)
        ReportProblem("RemoveWeaponComponent for " + EntityName(Int(c, 0)) + " and " + NameOf(Hash(c, 2)) +
                      ", which is no weapon of the player's");
      else
        ChangeComponent(*weapon, Hash(c, 1), false, "");
      break;
    }
    case 0x3B390A939AF0B5FC: {  // WeaponEntityInHand
      const Weapon* held = Int(c, 0) == w.playerPed ? HeldWeapon() : nullptr;
      Answer(c, held != nullptr ? held->entity : 0);
      break;
    }
    case 0x56E58D4D118FB45E: {  // PedFloatAttribute
      const char* attribute = Text(c, 1);
      const bool agitation = attribute != nullptr && std::strcmp(attribute, "Agitation") == 0;
      if (!agitation) ReportProblem("PedFloatAttribute asked for " + QuotedText(attribute) + ", which the stand-in does not know");
      AnswerFloat(c, agitation && w.hasHorse && Wide(c, 0) == w.horse ? w.agitation : 0.0f);
      break;
    }
    case 0x7D5B1F88E7504BBA: Answer(c, w.hasHorse && Int(c, 0) == w.horse && w.horseState[0] ? 1 : 0); break;
    case 0xDEB6D52126E7D640: Answer(c, w.hasHorse && Int(c, 0) == w.horse && w.horseState[1] ? 1 : 0); break;
    case 0xDDB2578E95EF7138:
    case 0x0A82317B7EBFC420:
    case 0x6AD66548840472E5:
    case 0x705BE297EEBDB95D: {  // the weapon tests
      const unsigned test = c.hash == 0xDDB2578E95EF7138   ? kTest1
                            : c.hash == 0x0A82317B7EBFC420 ? kTest2
                            : c.hash == 0x6AD66548840472E5 ? kTest3
                                                           : kScopeTest;
      const Weapon* weapon = FindWeapon(Hash(c, 0));
      Answer(c, weapon != nullptr && (weapon->tests & test) != 0 ? 1 : 0);
      break;
    }
    case 0xCD181A959CFDD7F4: {  // StartInteraction
      const std::string what = "interaction " + NameOf(Hash(c, 2)) + " started: " + EntityName(Int(c, 0)) + " with " +
                               EntityName(Wide(c, 1));
      TellEvent(what, Notice::kInteraction);
      break;
    }
    case 0x04D7F33640662FA2: Answer(c, Wide(c, 0) == w.playerId && w.aiming ? 1 : 0); break;
    case 0x36CDD81627A6FCD2: w.reticleHidden = true; break;
    default: break;
  }
}

void Trace(const Call& c, const char* outcome) {
  std::string line = "[" + std::to_string(TheWorld.frame) + "] ";
  line += c.info != nullptr ? c.info->name : "unknown " + HexHash(c.hash);
  line += "(" + TraceArgs(c) + ")";
  if (outcome != nullptr) line += std::string(" -> ") + outcome;
  else if (!c.result.empty()) line += " -> " + c.result;
  line += '\n';
  std::fputs(line.c_str(), stdout);
}

void ThrowIfPlanned(const Call& c) {
  for (PlannedFailure& f : TheWorld.failures) {
    if (f.done || f.frame != TheWorld.frame || f.native != c.hash) continue;
    f.done = true;
    const std::string name = c.info != nullptr ? c.info->name : HexHash(c.hash);
    const std::string what = "the host throws " +
                             (f.standard ? "std::runtime_error(" + Quoted(f.message) + ")" : std::string("an int")) +
                             " from " + name;
    TellEvent(what, Notice::kThrown);
    if (f.standard) throw std::runtime_error(f.message);
    throw 42;
  }
}
}  // namespace

void AnswerNative(UINT64 hash, const UINT64* args, std::size_t count, UINT64* slots) {
  Call c{hash, FindNative(hash), args, count, slots, {}};
  if (!TheWorld.pluginLoaded) {
    ++TheWorld.nativesAfterUnload;
    ReportProblem("a native was called while the plug-in was not loaded");
  }
  if (c.info == nullptr) {
    ReportProblem("unknown native " + HexHash(hash) + " with " + std::to_string(count) + " arguments, answered with zeros");
  } else {
    CheckMarshalling(c);
  }
  try {
    ThrowIfPlanned(c);
    if (c.info != nullptr) Dispatch(c);
  } catch (...) {
    if (TheWorld.trace) Trace(c, "throws");
    throw;
  }
  if (TheWorld.trace) Trace(c, nullptr);
}

void WorldEndFrame() {
  World& w = TheWorld;
  for (HostPrompt& p : w.prompts) {
    if (!p.registered) continue;
    const bool changed = p.visible != p.seenVisible ||
                         (p.visible && (p.enabled != p.seenEnabled || p.label != p.seenLabel || p.group != p.seenGroup));
    if (changed) {
      if (p.visible)
        TellEvent("prompt " + Quoted(p.label) + " shown, " + GroupName(p.group) + (p.enabled ? "" : ", disabled"));
      else
        TellEvent("prompt " + Quoted(p.label) + " hidden");
    }
    p.seenVisible = p.visible;
    p.seenEnabled = p.enabled;
    p.seenLabel = p.label;
    p.seenGroup = p.group;
    if (w.heldControls.count(p.control) == 0) p.completionSeen = false;
  }
  if (w.reticleHidden) TellState("reticle hidden");
  for (const std::string& text : w.drawnTexts) TellState("on screen: " + Quoted(text));
  w.reticleHidden = false;
  w.drawnTexts.clear();
  for (PlannedFailure& f : w.failures) {
    if (f.done || f.frame != TheWorld.frame) continue;
    f.done = true;
    const NativeInfo* info = FindNative(f.native);
    ReportProblem("the failure planned for " + (info != nullptr ? std::string(info->name) : HexHash(f.native)) +
                  " on frame " + std::to_string(f.frame) + " never happened: the native was not called");
  }
}

std::uint32_t RememberName(const std::string& name) {
  const std::uint32_t hash = NameHash(name);
  names.emplace(hash, name);
  return hash;
}

std::string NameOf(std::uint32_t hash) {
  const auto found = names.find(hash);
  return found != names.end() ? found->second : Hex32(hash);
}

Weapon* FindWeapon(std::uint32_t hash) {
  for (Weapon& w : TheWorld.weapons)
    if (w.hash == hash) return &w;
  return nullptr;
}

float DistanceToHorse() {
  const Vec3& a = TheWorld.playerPosition;
  const Vec3& b = TheWorld.horsePosition;
  return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z));
}

void WorldTellTo(EventSink event, StateSink state) {
  eventSink = event;
  stateSink = state;
}

void TellEvent(const std::string& text, Notice notice) {
  if (eventSink != nullptr) eventSink(text, notice);
}

void TellState(const std::string& text) {
  if (stateSink != nullptr) stateSink(text);
}

void ReportProblem(const std::string& text) {
  if (TheWorld.problemsReported.insert(text).second) TellEvent("! " + text);
}
