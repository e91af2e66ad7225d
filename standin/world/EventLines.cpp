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

float Coordinate(const std::string& word) { return static_cast<float>(Number(word)); }

unsigned WeaponTest(const std::string& word) {
  for (unsigned bit = 0; bit < 4; ++bit)
    if (word == kWeaponTestNames[bit]) return 1u << bit;
  throw LineError("unknown weapon test '" + word + "' (test1, test2, test3 or scope-test)");
}

// An event line's parser: the whole line (for a text that keeps its blanks) and its words, w[0] the
// frame and w[1] the verb. It runs once the line has its verb's count of words: exactly that many, or
// with more, at least that many; otherwise the line is told its usage.
using EventParser = EventAction (*)(const std::string& line, const Words& w);

struct Verb {
  const char* word;
  std::size_t words;
  bool more;
  const char* usage;
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

EventAction Parse(const Verb& v, const std::string& line, const Words& w) {
  if (w.size() < v.words || (!v.more && w.size() > v.words)) throw LineError(std::string("expected: ") + v.usage);
  return v.parse(line, w);
}

template <class Event>
EventAction NoFields(const std::string&, const Words&) {
  return Event{};
}

template <class Position>
EventAction At(const std::string&, const Words& w) {
  return Position{Coordinate(w[3]), Coordinate(w[4]), Coordinate(w[5])};
}

EventAction HorseState(const std::string&, const Words& w) {
  return event::HorseState{w[2] == "state1" ? 1 : 2, OnOff(w[3])};
}

// The word after "horse".
constexpr Verb kHorseVerbs[] = {
    {"at", 6, false, "<frame> horse at <x> <y> <z>", At<event::HorseAt>},
    {"none", 3, false, "<frame> horse none", NoFields<event::HorseNone>},
    {"agitation", 4, false, "<frame> horse agitation <level>",
     [](const std::string&, const Words& w) -> EventAction { return event::HorseAgitation{Number(w[3])}; }},
    {"state1", 4, false, "<frame> horse state1|state2 on|off", HorseState},
    {"state2", 4, false, "<frame> horse state1|state2 on|off", HorseState},
    {"group", 4, false, "<frame> horse group on|off",
     [](const std::string&, const Words& w) -> EventAction { return event::HorseGroup{OnOff(w[3])}; }},
};

EventAction ParsePlayer(const std::string& line, const Words& w) {
  if (w[2] != "at") throw LineError("expected: <frame> player at <x> <y> <z>");
  return At<event::PlayerAt>(line, w);
}

EventAction ParseHorse(const std::string& line, const Words& w) {
  if (const Verb* v = FindVerb(kHorseVerbs, w.size() > 2 ? w[2] : "")) return Parse(*v, line, w);
  throw LineError("expected: horse " + VerbList(kHorseVerbs, "|") + " ...");
}

EventAction ParseGive(const std::string&, const Words& w) {
  event::Give give{w[2], 0};
  for (std::size_t i = 3; i < w.size(); ++i) give.tests |= WeaponTest(w[i]);
  return give;
}

EventAction ParseKey(const std::string&, const Words& w) {
  const std::int64_t code = Integer(w[2], 0);
  if (code < 0 || code > 0xFFFFFFFFLL) throw LineError("a key code lies between 0 and 0xFFFFFFFF");
  if (w[3] != "down" && w[3] != "up") throw LineError("expected down or up, not '" + w[3] + "'");
  return event::Key{static_cast<std::uint32_t>(code), w[3] == "down"};
}

EventAction FitOrUnfit(const std::string&, const Words& w) { return event::Fit{w[2], w[3], w[1] == "fit"}; }

EventAction HoldOrRelease(const std::string&, const Words& w) { return event::Hold{w[2], w[1] == "hold"}; }

// fail with its message, or fail-unknown.
EventAction Fail(const std::string& line, const Words& w) {
  const bool standard = w[1] == "fail";
  return event::Fail{Native(w[2]), standard ? RestAfter(line, 3) : std::string(), standard};
}

// The word after the frame number; the list in the error for an unknown one follows this order.
constexpr Verb kEventVerbs[] = {
    {"player", 6, false, "<frame> player at <x> <y> <z>", ParsePlayer},
    {"horse", 2, true, "", ParseHorse},
    {"give", 3, true, "<frame> give <weapon> [test1] [test2] [test3] [scope-test]", ParseGive},
    {"fit", 4, false, "<frame> fit|unfit <weapon> <component>", FitOrUnfit},
    {"unfit", 4, false, "<frame> fit|unfit <weapon> <component>", FitOrUnfit},
    {"draw", 3, false, "<frame> draw <weapon>",
     [](const std::string&, const Words& w) -> EventAction { return event::Draw{w[2]}; }},
    {"holster", 2, false, "<frame> holster", NoFields<event::Holster>},
    {"hold", 3, false, "<frame> hold|release <control>", HoldOrRelease},
    {"release", 3, false, "<frame> hold|release <control>", HoldOrRelease},
    {"aim", 3, false, "<frame> aim on|off",
     [](const std::string&, const Words& w) -> EventAction { return event::Aim{OnOff(w[2])}; }},
    {"key", 4, false, "<frame> key <code> down|up", ParseKey},
    {"fail", 4, true, "<frame> fail <native> <message>", Fail},
    {"fail-unknown", 3, false, "<frame> fail-unknown <native>", Fail},
    {"unload", 2, false, "<frame> unload", NoFields<event::Unload>},
};
}  // namespace

EventAction ParseEvent(const std::string& line, const Words& w) {
  if (w.size() < 2) throw LineError("a frame number needs an event after it");
  if (const Verb* v = FindVerb(kEventVerbs, w[1])) return Parse(*v, line, w);
  throw LineError("unknown event '" + w[1] + "' (" + VerbList(kEventVerbs, ", ") + ")");
}
