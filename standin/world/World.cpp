#include "world/World.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "testkit/Catalogue.h"
#include "testkit/Names.h"
#include "testkit/NativeLine.h"
#include "world/Format.h"

World TheWorld;

namespace {
void (*eventSink)(const std::string&, Notice) = nullptr;
void (*stateSink)(const std::string&) = nullptr;
bool (*keySender)(std::uint32_t, bool) = nullptr;
void (*unloader)() = nullptr;

void TellState(const std::string& text) {
  if (stateSink != nullptr) stateSink(text);
}

std::string Name(const char* native) { return native != nullptr ? native : "?"; }

std::string Entity(std::int64_t entity) {
  char buffer[32];
  return EntityName(entity, buffer);
}

std::string ModeName(PromptSetup setup) {
  switch (setup) {
    case PromptSetup::kStandard: return "standard mode";
    case PromptSetup::kHold: return "hold mode";
    case PromptSetup::kMash: return "mash mode";
    default: return "no completion mode";
  }
}

void TellGameEvent(const GameEvent& e) {
  switch (e.kind) {
    case GameEvent::kFitted: TellEvent(NameOf(e.component) + " fitted to " + NameOf(e.weapon->hash)); break;
    case GameEvent::kRemoved: TellEvent(NameOf(e.component) + " removed from " + NameOf(e.weapon->hash)); break;
    case GameEvent::kInteraction:
      TellEvent("interaction " + NameOf(e.interaction) + " started: " + Entity(e.ped) + " with " + Entity(e.partner),
                Notice::kInteraction);
      break;
    case GameEvent::kPromptCreated:
      TellEvent(PromptName(*e.prompt) + " created on " + NameOf(e.prompt->control) + ", " + ModeName(e.prompt->setup));
      break;
    case GameEvent::kPromptCompleted: TellEvent(PromptName(*e.prompt) + " completed", Notice::kCompletion); break;
    case GameEvent::kProblem: ReportProblem(Name(e.problem)); break;
  }
}

void ThrowIfPlanned(const NativeCall& c) {
  for (PlannedFailure& f : TheWorld.failures) {
    if (f.done || f.frame != TheWorld.frame || f.native != c.hash) continue;
    f.done = true;
    const std::string what = "the host throws " +
                             (f.standard ? "std::runtime_error(" + Quoted(f.message) + ")" : std::string("an int")) +
                             " from " + NativeName(c.hash);
    TellEvent(what, Notice::kThrown);
    if (f.standard) throw std::runtime_error(f.message);
    throw 42;
  }
}

std::string GroupName(std::int64_t group) {
  if (group == 0) return "in no prompt group";
  if (TheGame.hasHorse && TheGame.horseHasGroup && group == TheGame.horseGroup) return "in the horse's prompt group";
  return "in prompt group " + std::to_string(group);
}

// Prompts are judged at the end of the frame, so one hidden and shown again within a frame does not
// flicker in the report.
void TellPromptChanges() {
  for (std::size_t i = 0; i < TheGame.promptCount; ++i) {
    const HostPrompt& p = TheGame.prompts[i];
    HostPrompt& seen = TheWorld.seen[i];
    if (!p.registered) continue;
    const bool changed = p.visible != seen.visible ||
                         (p.visible && (p.enabled != seen.enabled || p.text != seen.text || p.group != seen.group));
    if (changed && p.visible)
      TellEvent(PromptName(p) + " shown, " + GroupName(p.group) + (p.enabled ? "" : ", disabled"));
    else if (changed)
      TellEvent(PromptName(p) + " hidden");
    seen = p;
  }
}
}  // namespace

void NewWorld() {
  TheWorld = World{};
  NewGame();
  Game& g = TheGame;
  g.playerId = 0;
  g.playerPed = 10;
  g.horse = 20;
  g.horseGroup = 0x4E;
  g.agitation = 0;
  for (int i = 0; i < 3; ++i) g.playerAt[i] = g.horseAt[i] = 0;
  g.nextEntity = 100;
  GameTellTo(TellGameEvent);
}

bool AnswerNative(const NativeCall& call) {
  if (!TheWorld.pluginLoaded) ReportProblem("a native was called while the plug-in was not loaded");
  ThrowIfPlanned(call);
  return AnswerFromGame(call);
}

void TraceNative(const NativeCall& call, bool threw) {
  char line[512];
  FormatNativeLine(call, !threw, line, sizeof line);
  std::printf("[%d] %s%s\n", TheWorld.frame, line, threw ? " -> throws" : "");
}

void WorldEndFrame() {
  TellPromptChanges();
  if (TheGame.reticleHidden) TellState("reticle hidden");
  for (const std::string& text : TextsOnScreen()) TellState("on screen: " + Quoted(text));
  for (PlannedFailure& f : TheWorld.failures) {
    if (f.done || f.frame != TheWorld.frame) continue;
    f.done = true;
    ReportProblem("the failure planned for " + NativeName(f.native) + " on frame " + std::to_string(f.frame) +
                  " never happened: the native was not called");
  }
  GameEndFrame();
}

void WorldTellTo(void (*event)(const std::string&, Notice), void (*state)(const std::string&)) {
  eventSink = event;
  stateSink = state;
}

void TellEvent(const std::string& text, Notice notice) {
  if (eventSink != nullptr) eventSink(text, notice);
}

void WorldAskHostWith(bool (*key)(std::uint32_t, bool), void (*unload)()) {
  keySender = key;
  unloader = unload;
}

bool AskHostForKey(std::uint32_t code, bool down) { return keySender != nullptr && keySender(code, down); }

void AskHostToUnload() {
  if (unloader != nullptr) unloader();
}

std::string NativeName(UINT64 hash) {
  const NativeEntry* native = natives::Find(hash);
  return native != nullptr ? native->name : Hex(hash, 16);
}

std::string NameOf(std::uint32_t hash) {
  const char* name = KnownName(hash);
  return name != nullptr ? name : Hex(hash, 8);
}

std::vector<std::string> TextsOnScreen() {
  std::vector<std::string> texts;
  for (std::size_t i = 0; i < TheGame.drawnCount; ++i) texts.push_back(Name(TextOf(TheGame.drawn[i])));
  std::sort(texts.begin(), texts.end());
  return texts;
}

std::string PromptName(const HostPrompt& prompt) { return "prompt " + Quoted(LabelOf(prompt)); }

std::string LabelOf(const HostPrompt& prompt) { return prompt.text == 0 ? "" : Name(TextOf(prompt.text)); }

void ReportProblem(const std::string& text) {
  if (TheWorld.problemsReported.insert(text).second) TellEvent("! " + text);
}
