#pragma once
// The stand-in's world: the test kit's game (testkit/Game.h), which answers the natives, and what only a
// run of the stand-in has: the frame, the failures the scenario planned, what the player saw at the end
// of the last frame. What a player would notice the world tells to whoever the host named (the report),
// so the world itself knows nothing of how a run is shown.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "testkit/Game.h"

// The words of the host's weapon tests in a scenario, bit by bit of a weapon's tests.
inline constexpr const char* kWeaponTestNames[] = {"test1", "test2", "test3", "scope-test"};

// A failure the scenario asked for: the next call of the native on that frame throws.
struct PlannedFailure {
  UINT64 native = 0;
  std::string message;
  bool standard = true;  // a std::runtime_error; otherwise an int
  int frame = 0;
  bool done = false;
};

struct World {
  int frame = 0;  // the current frame, as the host counts them; the timeline and the picture use it too
  std::vector<PlannedFailure> failures;
  bool pluginLoaded = false;
  HostPrompt seen[kMaxPrompts];  // each prompt as the player saw it at the end of the last frame
  std::set<std::string> problemsReported;
};

extern World TheWorld;

// A fresh world and game: the player is id 0 with ped 10 at the origin, the horse is ped 20 with prompt
// group 78, calm, at the origin too, and weapon entities are numbered from 100.
void NewWorld();

// The bridge's answer hook: a native called while the plug-in is not loaded is a problem, a failure the
// scenario planned is thrown, and the game answers.
bool AnswerNative(const NativeCall& call);
// The bridge's call hook while tracing: every native as "[frame] Name(arguments) -> answer".
void TraceNative(const NativeCall& call, bool threw);
// Turns this frame's state into timeline entries and gets ready for the next frame.
void WorldEndFrame();

// What a player would notice, as the world tells it: a one-off event on the current frame, or a state
// that holds on it. Some events the picture marks too, as it marks the host's loading and unloading.
enum class Notice { kPlain, kCompletion, kInteraction, kThrown, kLoad, kUnload };
// Where the world tells it from now on; until then (or with null) nothing is told.
void WorldTellTo(void (*event)(const std::string& text, Notice notice), void (*state)(const std::string& text));
void TellEvent(const std::string& text, Notice notice = Notice::kPlain);

// What a scenario asks of the host, which the world cannot do itself: a keyboard message to the
// plug-in's handler (true when a handler took it), and unloading the plug-in.
// Who does it from now on; until then (or with null) a key finds no handler and nothing is unloaded.
void WorldAskHostWith(bool (*key)(std::uint32_t code, bool down), void (*unload)());
bool AskHostForKey(std::uint32_t code, bool down);
void AskHostToUnload();

// The catalogue's name of a native, or its hash in hex.
std::string NativeName(UINT64 hash);
// The remembered name of a hash, or its hex digits.
std::string NameOf(std::uint32_t hash);
// The texts drawn on this frame, sorted; "?" for a text the host never made.
std::vector<std::string> TextsOnScreen();
// A prompt's label: empty before one is set, "?" for a text the host never made; and "prompt \"LABEL\"".
std::string LabelOf(const HostPrompt& prompt);
std::string PromptName(const HostPrompt& prompt);
// A problem worth a modder's attention, told once.
void ReportProblem(const std::string& text);
