#pragma once
// A scenario: the starting state of the working folder and a list of events keyed by frame number.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

enum class EventKind {
  PlayerAt,  // position
  HorseAt,   // position; brings the horse back after "horse none"
  HorseNone,
  HorseAgitation,  // number
  HorseState,      // index 1 or 2, flag
  HorseGroup,      // flag: whether the horse has a prompt group
  Give,            // name, weapon test flags
  Fit,             // name (weapon), name2 (component)
  Unfit,           // name (weapon), name2 (component)
  Draw,            // name
  Holster,
  Hold,         // name (control)
  Release,      // name (control)
  Aim,          // flag
  Key,          // index (key code), flag (down)
  Fail,         // native, text (message): the next call throws a standard exception
  FailUnknown,  // native: the next call throws something that is no standard exception
  Unload,
};

struct ScenarioEvent {
  int frame = 0;
  int line = 0;
  EventKind kind = EventKind::Unload;
  std::string name;
  std::string name2;
  std::string text;
  float x = 0, y = 0, z = 0;
  double number = 0;
  std::int64_t index = 0;
  bool flag = false;
  unsigned flags = 0;  // of "give": kTest1 and so on, as the world keeps them
  std::uint64_t native = 0;
};

struct Scenario {
  std::string name;  // the file name without folder and extension
  std::string title;
  int frames = 100;
  int frameMs = 33;
  bool quillfen = true;
  bool hasSettings = false;
  std::string settings;               // bytes of Varnholt.ini
  std::string logBefore;              // bytes already in Quillfen/Log.log before the run
  std::vector<ScenarioEvent> events;  // in frame order
};

// "file:line: what is wrong".
struct ScenarioError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

Scenario ParseScenario(const std::string& text, const std::string& fileName);
// Reads and parses a file; a missing file is a ScenarioError too.
Scenario LoadScenario(const std::string& path);
// Turns \n, \r, \t, \\ and \xHH into their bytes; throws std::invalid_argument on a bad escape.
std::string Unescape(const std::string& text);
