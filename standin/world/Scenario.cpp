#include "world/Scenario.h"

#include <fstream>
#include <sstream>

#include "testkit/WorkFolder.h"
#include "world/EventLines.h"
#include "world/ScenarioWords.h"

namespace {
// Turns \n, \r, \t, \\ and \xHH into their bytes.
std::string Unescape(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) throw LineError("a backslash at the end of the line (write \\\\)");
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
          throw LineError("\\x needs two hex digits");
        out += static_cast<char>(value);
        i += 2;
        break;
      }
      default: throw LineError(std::string("unknown escape \\") + text[i] + " (\\n \\r \\t \\\\ \\xHH)");
    }
  }
  return out;
}

void ParseSetup(Scenario& s, const std::string& line, const Words& w) {
  const std::string& key = w[0];
  if (key == "title") {
    s.title = RestAfter(line, 1);
  } else if (key == "frames" || key == "frame-ms") {
    const bool frames = key == "frames";
    Expect(w, 2, frames ? "frames <count>" : "frame-ms <milliseconds>");
    const std::int64_t n = Integer(w[1]), most = frames ? 100000 : 10000;
    if (n < 1 || n > most) throw LineError(key + " lies between 1 and " + std::to_string(most));
    (frames ? s.frames : s.frameMs) = static_cast<int>(n);
  } else if (key == "quillfen") {
    Expect(w, 2, "quillfen yes|no");
    s.quillfen = OnOff(w[1]);
  } else if (key == "settings" || key == "log-before") {
    if (key == "settings") s.hasSettings = true;
    (key == "settings" ? s.settings : s.logBefore) += Unescape(RestAfter(line, 1));
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

Scenario ParseScenario(const std::string& text, const std::string& fileName) {
  Scenario s;
  s.name = BaseName(fileName);
  std::istringstream in(text);
  int lineNumber = 0;
  int lastFrame = 0;
  for (std::string line; std::getline(in, line);) {
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const Words w = SplitWords(line);
    if (w.empty() || w[0][0] == '#') continue;
    try {
      if (w[0].find_first_not_of("0123456789") == std::string::npos) {
        EventAction action = ParseEvent(line, w);
        const std::int64_t frame = Integer(w[0]);
        if (frame > 1000000) throw LineError("frame " + w[0] + " is far past any run");
        if (frame < lastFrame)
          throw LineError("frame " + w[0] + " comes after frame " + std::to_string(lastFrame) +
                          ": events go in frame order");
        lastFrame = static_cast<int>(frame);
        s.events.push_back(ScenarioEvent{lastFrame, lineNumber, std::move(action)});
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
  if (!std::ifstream(path)) throw ScenarioError(path + ": cannot read the scenario file");
  return ParseScenario(ReadBytes(path), path);
}
