#include "world/Scenario.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "world/Natives.h"
#include "world/World.h"

namespace {
struct LineError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::istringstream in(line);
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

// The text after the first `skip` words and the one blank after them; blanks beyond it belong to it.
std::string RestAfter(const std::string& line, int skip) {
  std::size_t i = 0;
  for (int w = 0; w < skip; ++w) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
  }
  if (i < line.size()) ++i;
  return line.substr(i);
}

double Number(const std::string& word) {
  errno = 0;
  char* end = nullptr;
  const double value = std::strtod(word.c_str(), &end);
  if (word.empty() || *end != '\0' || errno != 0) throw LineError("'" + word + "' is not a number");
  return value;
}

// Base 10, or 0 for C notation (0x...).
std::int64_t Integer(const std::string& word, int base = 10) {
  errno = 0;
  char* end = nullptr;
  const long long value = std::strtoll(word.c_str(), &end, base);
  if (word.empty() || *end != '\0' || errno != 0) throw LineError("'" + word + "' is not a whole number");
  return value;
}

bool OnOff(const std::string& word) {
  if (word == "on" || word == "yes") return true;
  if (word == "off" || word == "no") return false;
  throw LineError("expected on or off, not '" + word + "'");
}

void Expect(const std::vector<std::string>& w, std::size_t count, const char* usage) {
  if (w.size() != count) throw LineError(std::string("expected: ") + usage);
}

std::uint64_t Native(const std::string& word) {
  if (const NativeInfo* n = FindNativeByName(word)) return n->hash;
  if (word.rfind("0x", 0) == 0 || word.rfind("0X", 0) == 0) {
    errno = 0;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(word.c_str() + 2, &end, 16);
    if (*end == '\0' && errno == 0 && word.size() > 2) return value;
  }
  throw LineError("unknown native '" + word + "' (give a name from the README's list or a 0x hash)");
}

void Position(ScenarioEvent& e, const std::vector<std::string>& w, std::size_t from) {
  e.x = static_cast<float>(Number(w[from]));
  e.y = static_cast<float>(Number(w[from + 1]));
  e.z = static_cast<float>(Number(w[from + 2]));
}

// w[0] is the frame, w[1] the verb.
ScenarioEvent ParseEvent(const std::string& line, const std::vector<std::string>& w) {
  ScenarioEvent e;
  if (w.size() < 2) throw LineError("a frame number needs an event after it");
  const std::string& verb = w[1];
  if (verb == "player") {
    Expect(w, 6, "<frame> player at <x> <y> <z>");
    if (w[2] != "at") throw LineError("expected: <frame> player at <x> <y> <z>");
    e.kind = EventKind::PlayerAt;
    Position(e, w, 3);
  } else if (verb == "horse") {
    const std::string what = w.size() > 2 ? w[2] : "";
    if (what == "at") {
      Expect(w, 6, "<frame> horse at <x> <y> <z>");
      e.kind = EventKind::HorseAt;
      Position(e, w, 3);
    } else if (what == "none") {
      Expect(w, 3, "<frame> horse none");
      e.kind = EventKind::HorseNone;
    } else if (what == "agitation") {
      Expect(w, 4, "<frame> horse agitation <level>");
      e.kind = EventKind::HorseAgitation;
      e.number = Number(w[3]);
    } else if (what == "state1" || what == "state2") {
      Expect(w, 4, "<frame> horse state1|state2 on|off");
      e.kind = EventKind::HorseState;
      e.index = what == "state1" ? 1 : 2;
      e.flag = OnOff(w[3]);
    } else if (what == "group") {
      Expect(w, 4, "<frame> horse group on|off");
      e.kind = EventKind::HorseGroup;
      e.flag = OnOff(w[3]);
    } else {
      throw LineError("expected: horse at|none|agitation|state1|state2|group ...");
    }
  } else if (verb == "give") {
    if (w.size() < 3) throw LineError("expected: <frame> give <weapon> [test1] [test2] [test3] [scope-test]");
    e.kind = EventKind::Give;
    e.name = w[2];
    for (std::size_t i = 3; i < w.size(); ++i) {
      if (w[i] == "test1")
        e.flags |= kTest1;
      else if (w[i] == "test2")
        e.flags |= kTest2;
      else if (w[i] == "test3")
        e.flags |= kTest3;
      else if (w[i] == "scope-test")
        e.flags |= kScopeTest;
      else
        throw LineError("unknown weapon test '" + w[i] + "' (test1, test2, test3 or scope-test)");
    }
  } else if (verb == "fit" || verb == "unfit") {
    Expect(w, 4, "<frame> fit|unfit <weapon> <component>");
    e.kind = verb == "fit" ? EventKind::Fit : EventKind::Unfit;
    e.name = w[2];
    e.name2 = w[3];
  } else if (verb == "draw") {
    Expect(w, 3, "<frame> draw <weapon>");
    e.kind = EventKind::Draw;
    e.name = w[2];
  } else if (verb == "holster") {
    Expect(w, 2, "<frame> holster");
    e.kind = EventKind::Holster;
  } else if (verb == "hold" || verb == "release") {
    Expect(w, 3, "<frame> hold|release <control>");
    e.kind = verb == "hold" ? EventKind::Hold : EventKind::Release;
    e.name = w[2];
  } else if (verb == "aim") {
    Expect(w, 3, "<frame> aim on|off");
    e.kind = EventKind::Aim;
    e.flag = OnOff(w[2]);
  } else if (verb == "key") {
    Expect(w, 4, "<frame> key <code> down|up");
    e.kind = EventKind::Key;
    e.index = Integer(w[2], 0);
    if (e.index < 0 || e.index > 0xFFFFFFFFLL) throw LineError("a key code lies between 0 and 0xFFFFFFFF");
    if (w[3] != "down" && w[3] != "up") throw LineError("expected down or up, not '" + w[3] + "'");
    e.flag = w[3] == "down";
  } else if (verb == "fail") {
    if (w.size() < 4) throw LineError("expected: <frame> fail <native> <message>");
    e.kind = EventKind::Fail;
    e.native = Native(w[2]);
    e.text = RestAfter(line, 3);
  } else if (verb == "fail-unknown") {
    Expect(w, 3, "<frame> fail-unknown <native>");
    e.kind = EventKind::FailUnknown;
    e.native = Native(w[2]);
  } else if (verb == "unload") {
    Expect(w, 2, "<frame> unload");
    e.kind = EventKind::Unload;
  } else {
    throw LineError("unknown event '" + verb +
                    "' (player, horse, give, fit, unfit, draw, holster, hold, release, aim, key, fail, "
                    "fail-unknown, unload)");
  }
  return e;
}

void ParseSetup(Scenario& s, const std::string& line, const std::vector<std::string>& w) {
  const std::string& key = w[0];
  if (key == "title") {
    s.title = RestAfter(line, 1);
  } else if (key == "frames") {
    Expect(w, 2, "frames <count>");
    const std::int64_t n = Integer(w[1]);
    if (n < 1 || n > 100000) throw LineError("frames lies between 1 and 100000");
    s.frames = static_cast<int>(n);
  } else if (key == "frame-ms") {
    Expect(w, 2, "frame-ms <milliseconds>");
    const std::int64_t n = Integer(w[1]);
    if (n < 1 || n > 10000) throw LineError("frame-ms lies between 1 and 10000");
    s.frameMs = static_cast<int>(n);
  } else if (key == "quillfen") {
    Expect(w, 2, "quillfen yes|no");
    s.quillfen = OnOff(w[1]);
  } else if (key == "settings" || key == "log-before") {
    std::string bytes;
    try {
      bytes = Unescape(RestAfter(line, 1));
    } catch (const std::invalid_argument& bad) {
      throw LineError(bad.what());
    }
    if (key == "settings") {
      s.hasSettings = true;
      s.settings += bytes;
    } else {
      s.logBefore += bytes;
    }
  } else {
    throw LineError("unknown setting '" + key +
                    "' (title, frames, frame-ms, quillfen, settings, log-before), "
                    "or an event line without its frame number");
  }
}

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name;
}
}  // namespace

std::string Unescape(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) throw std::invalid_argument("a backslash at the end of the line (write \\\\)");
    switch (text[i]) {
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case 't': out += '\t'; break;
      case '\\': out += '\\'; break;
      case 'x': {
        const std::string digits = text.substr(i + 1, 2);
        char* end = nullptr;
        const long value = std::strtol(digits.c_str(), &end, 16);
        if (digits.size() != 2 || *end != '\0' || digits[0] == '-' || digits[0] == '+')
          throw std::invalid_argument("\\x needs two hex digits");
        out += static_cast<char>(value);
        i += 2;
        break;
      }
      default: throw std::invalid_argument(std::string("unknown escape \\") + text[i] + " (\\n \\r \\t \\\\ \\xHH)");
    }
  }
  return out;
}

Scenario ParseScenario(const std::string& text, const std::string& fileName) {
  Scenario s;
  s.name = BaseName(fileName);
  std::istringstream in(text);
  int lineNumber = 0;
  int lastFrame = 0;
  for (std::string line; std::getline(in, line);) {
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::vector<std::string> w = Words(line);
    if (w.empty() || w[0][0] == '#') continue;
    try {
      if (w[0].find_first_not_of("0123456789") == std::string::npos) {
        ScenarioEvent e = ParseEvent(line, w);
        const std::int64_t frame = Integer(w[0]);
        if (frame > 1000000) throw LineError("frame " + w[0] + " is far past any run");
        e.frame = static_cast<int>(frame);
        e.line = lineNumber;
        if (e.frame < lastFrame)
          throw LineError("frame " + w[0] + " comes after frame " + std::to_string(lastFrame) +
                          ": events go in frame order");
        lastFrame = e.frame;
        s.events.push_back(e);
      } else {
        ParseSetup(s, line, w);
      }
    } catch (const LineError& bad) {
      throw ScenarioError(fileName + ":" + std::to_string(lineNumber) + ": " + bad.what());
    }
  }
  for (const ScenarioEvent& e : s.events)
    if (e.frame >= s.frames)
      throw ScenarioError(fileName + ":" + std::to_string(e.line) + ": frame " + std::to_string(e.frame) +
                          " is past the last frame (" + std::to_string(s.frames - 1) + "); raise 'frames'");
  return s;
}

Scenario LoadScenario(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw ScenarioError(path + ": cannot read the scenario file");
  std::ostringstream text;
  text << file.rdbuf();
  return ParseScenario(text.str(), path);
}
