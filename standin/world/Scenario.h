#pragma once
// A scenario: the starting state of the working folder and a list of events keyed by frame number.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

// What each event line says, one kind per struct, named after the line's words; a verb and its undoing
// (fit and unfit, hold and release) share one.
namespace event {
struct PlayerAt {
  float x = 0, y = 0, z = 0;
};
struct HorseAt {  // brings the horse back after "horse none"
  float x = 0, y = 0, z = 0;
};
struct HorseNone {};
struct HorseAgitation {
  double level = 0;
};
struct HorseState {
  int which = 1;  // state1 or state2
  bool on = false;
};
struct HorseGroup {
  bool present = false;  // whether the horse has a prompt group
};
struct Give {
  std::string weapon;
  unsigned tests = 0;  // a bit per word of kWeaponTestNames (world/World.h)
};
struct Fit {
  std::string weapon, component;
  bool fitted = true;  // false: unfit
};
struct Draw {
  std::string weapon;
};
struct Holster {};
struct Hold {
  std::string control;
  bool held = true;  // false: release
};
struct Aim {
  bool on = false;
};
struct Key {
  std::uint32_t code = 0;
  bool down = false;
};
struct Fail {  // the next call throws a std::runtime_error with the message, or for fail-unknown an int
  std::uint64_t native = 0;
  std::string message;
  bool standard = true;
};
struct Unload {};
}  // namespace event

using EventAction = std::variant<event::PlayerAt, event::HorseAt, event::HorseNone, event::HorseAgitation,
                                 event::HorseState, event::HorseGroup, event::Give, event::Fit, event::Draw,
                                 event::Holster, event::Hold, event::Aim, event::Key, event::Fail, event::Unload>;

struct ScenarioEvent {
  int frame = 0;
  int line = 0;  // in the scenario file, for the problems it leads to
  EventAction action;
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
