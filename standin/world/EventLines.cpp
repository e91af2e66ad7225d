#include "world/EventLines.h"

#include <cerrno>
#include <cstdlib>

#include "testkit/Catalogue.h"
#include "world/World.h"

namespace {
std::uint64_t Native(const std::string& word) {
  if (const NativeEntry* n = natives::FindByName(word)) return n->hash;
  if (word.rfind("0x", 0) == 0 || word.rfind("0X", 0) == 0) {
    errno = 0;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(word.c_str() + 2, &end, 16);
    if (*end == '\0' && errno == 0 && word.size() > 2) return value;
  }
  throw LineError("unknown native '" + word + "' (give a name from the README's list or a 0x hash)");
}

// An event line's parser: the whole line (for a text that keeps its blanks) and its words, w[0] the
// frame and w[1] the verb.
using EventParser = EventAction (*)(const std::string& line, const Words& w);

struct Verb {
  const char* word;
  EventParser parse;
};

template <std::size_t N>
const Verb* FindVerb(const Verb (&verbs)[N], const std::string& word) {
  for (const Verb& v : verbs)
    if (word == v.word) return &v;
  return nullptr;
}

template <std::size_t N>
std::string VerbList(const Verb (&verbs)[N], const char* separator) {
  std::string out;
  for (const Verb& v : verbs) out += (out.empty() ? "" : separator) + std::string(v.word);
  return out;
}

float Coordinate(const std::string& word) { return static_cast<float>(Number(word)); }

EventAction ParsePlayer(const std::string&, const Words& w) {
  Expect(w, 6, "<frame> player at <x> <y> <z>");
  if (w[2] != "at") throw LineError("expected: <frame> player at <x> <y> <z>");
  return event::PlayerAt{Coordinate(w[3]), Coordinate(w[4]), Coordinate(w[5])};
}

EventAction ParseHorseAt(const std::string&, const Words& w) {
  Expect(w, 6, "<frame> horse at <x> <y> <z>");
  return event::HorseAt{Coordinate(w[3]), Coordinate(w[4]), Coordinate(w[5])};
}

EventAction ParseHorseNone(const std::string&, const Words& w) {
  Expect(w, 3, "<frame> horse none");
  return event::HorseNone{};
}

EventAction ParseHorseAgitation(const std::string&, const Words& w) {
  Expect(w, 4, "<frame> horse agitation <level>");
  return event::HorseAgitation{Number(w[3])};
}

EventAction ParseHorseState(const std::string&, const Words& w) {
  Expect(w, 4, "<frame> horse state1|state2 on|off");
  return event::HorseState{w[2] == "state1" ? 1 : 2, OnOff(w[3])};
}

EventAction ParseHorseGroup(const std::string&, const Words& w) {
  Expect(w, 4, "<frame> horse group on|off");
  return event::HorseGroup{OnOff(w[3])};
}

// The word after "horse".
constexpr Verb kHorseVerbs[] = {
    {"at", ParseHorseAt},        {"none", ParseHorseNone},    {"agitation", ParseHorseAgitation},
    {"state1", ParseHorseState}, {"state2", ParseHorseState}, {"group", ParseHorseGroup}};

EventAction ParseHorse(const std::string& line, const Words& w) {
  if (const Verb* v = FindVerb(kHorseVerbs, w.size() > 2 ? w[2] : "")) return v->parse(line, w);
  throw LineError("expected: horse " + VerbList(kHorseVerbs, "|") + " ...");
}

unsigned WeaponTest(const std::string& word) {
  if (word == "test1") return kTest1;
  if (word == "test2") return kTest2;
  if (word == "test3") return kTest3;
  if (word == "scope-test") return kScopeTest;
  throw LineError("unknown weapon test '" + word + "' (test1, test2, test3 or scope-test)");
}

EventAction ParseGive(const std::string&, const Words& w) {
  if (w.size() < 3) throw LineError("expected: <frame> give <weapon> [test1] [test2] [test3] [scope-test]");
  event::Give give{w[2], 0};
  for (std::size_t i = 3; i < w.size(); ++i) give.tests |= WeaponTest(w[i]);
  return give;
}

template <class FitOrUnfit>
EventAction ParseWeaponComponent(const std::string&, const Words& w) {
  Expect(w, 4, "<frame> fit|unfit <weapon> <component>");
  return FitOrUnfit{w[2], w[3]};
}

EventAction ParseDraw(const std::string&, const Words& w) {
  Expect(w, 3, "<frame> draw <weapon>");
  return event::Draw{w[2]};
}

EventAction ParseHolster(const std::string&, const Words& w) {
  Expect(w, 2, "<frame> holster");
  return event::Holster{};
}

template <class HoldOrRelease>
EventAction ParseControl(const std::string&, const Words& w) {
  Expect(w, 3, "<frame> hold|release <control>");
  return HoldOrRelease{w[2]};
}

EventAction ParseAim(const std::string&, const Words& w) {
  Expect(w, 3, "<frame> aim on|off");
  return event::Aim{OnOff(w[2])};
}

EventAction ParseKey(const std::string&, const Words& w) {
  Expect(w, 4, "<frame> key <code> down|up");
  const std::int64_t code = Integer(w[2], 0);
  if (code < 0 || code > 0xFFFFFFFFLL) throw LineError("a key code lies between 0 and 0xFFFFFFFF");
  if (w[3] != "down" && w[3] != "up") throw LineError("expected down or up, not '" + w[3] + "'");
  return event::Key{static_cast<std::uint32_t>(code), w[3] == "down"};
}

EventAction ParseFail(const std::string& line, const Words& w) {
  if (w.size() < 4) throw LineError("expected: <frame> fail <native> <message>");
  return event::Fail{Native(w[2]), RestAfter(line, 3)};
}

EventAction ParseFailUnknown(const std::string&, const Words& w) {
  Expect(w, 3, "<frame> fail-unknown <native>");
  return event::FailUnknown{Native(w[2])};
}

EventAction ParseUnload(const std::string&, const Words& w) {
  Expect(w, 2, "<frame> unload");
  return event::Unload{};
}

// The word after the frame number; the list in the error for an unknown one follows this order.
constexpr Verb kEventVerbs[] = {
    {"player", ParsePlayer},
    {"horse", ParseHorse},
    {"give", ParseGive},
    {"fit", ParseWeaponComponent<event::Fit>},
    {"unfit", ParseWeaponComponent<event::Unfit>},
    {"draw", ParseDraw},
    {"holster", ParseHolster},
    {"hold", ParseControl<event::Hold>},
    {"release", ParseControl<event::Release>},
    {"aim", ParseAim},
    {"key", ParseKey},
    {"fail", ParseFail},
    {"fail-unknown", ParseFailUnknown},
    {"unload", ParseUnload},
};
}  // namespace

EventAction ParseEvent(const std::string& line, const Words& w) {
  if (w.size() < 2) throw LineError("a frame number needs an event after it");
  if (const Verb* v = FindVerb(kEventVerbs, w[1])) return v->parse(line, w);
  throw LineError("unknown event '" + w[1] + "' (" + VerbList(kEventVerbs, ", ") + ")");
}
