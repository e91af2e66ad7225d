#include "program/Run.h"

#include <cstdio>
#include <ctime>

#include "bridge/BridgeControl.h"
#include "program/BridgeNotes.h"
#include "program/HostPlatform.h"
#include "program/KeyThread.h"
#include "program/LongRun.h"
#include "program/RunFolder.h"
#include "report/Header.h"
#include "report/LogCheck.h"
#include "report/Picture.h"
#include "report/Timeline.h"
#include "testkit/WorkFolder.h"
#include "world/ApplyEvent.h"
#include "world/World.h"

namespace {
BridgeControl bridge;

void Say(const std::string& text) { std::fputs(text.c_str(), stdout); }

int Failed(const std::string& error) {
  std::fprintf(stderr, "varnholt-host: %s\n", error.c_str());
  return 1;
}

// What the world tells goes into the timeline; the moments the picture marks go there too, the host's
// own without the timeline's "> ".
void ShowEvent(const std::string& text, Notice notice) {
  TimelineAdd(text);
  if (notice != Notice::kPlain) PictureNote(notice, text.starts_with("> ") ? text.substr(2) : text);
}

// The bridge's note hook at process exit: what it notes then goes straight to stdout, since the host's
// own objects are gone by that time.
void ExitNote(int note, UINT64, const char*) {
  switch (note) {
    case kNoteScriptUnregistered: WriteStdoutNow("at process exit: script unregistered\n"); break;
    case kNoteKeyboardUnregistered: WriteStdoutNow("at process exit: keyboard handler unregistered\n"); break;
    case kNoteProblem: WriteStdoutNow("at process exit: ! the plug-in misused the bridge\n"); break;
    default: break;
  }
}

bool AnswerOnHost(const NativeCall& call) {
  const HostWork host;
  return AnswerNative(call);
}

void TraceOnHost(const NativeCall& call, bool threw) {
  const HostWork host;
  TraceNative(call, threw);
}

// A scenario's key: one message, as the game's window passes on a key going down or coming up.
bool DeliverKey(std::uint32_t code, bool down) {
  return bridge.deliverKey(code, 1, 0, 0, 0, down ? 0 : 1, down ? 0 : 1) != 0;
}

void Unload() {
  StopKeyThread();
  ShowEvent("> the host unloads the plug-in", Notice::kUnload);
  const bool unmapped = UnloadPlugin();
  LongRunUnloaded(unmapped);
  if (!unmapped) ReportProblem("the plug-in's module is still loaded after unloading it");
  TheWorld.pluginLoaded = false;
  // The plug-in deletes no host object: what it left shown stays shown.
  for (std::size_t i = 0; i < TheGame.promptCount; ++i)
    if (TheGame.prompts[i].registered && TheGame.prompts[i].visible)
      TimelineAdd(PromptName(TheGame.prompts[i]) + " stays shown, with nothing left to hide it");
}

void FreshWorld(const Scenario& s, const RunOptions& o) {
  NewWorld();
  TimelineClear();
  if (!o.svgPath.empty()) PictureStart(s);
}

// One load of the plug-in, the scenario's frames, one unload (unless this is the last play and the host
// is to end its process with the plug-in loaded). False when the plug-in does not load.
bool PlayScenario(const Scenario& s, const RunOptions& o, bool last, std::string& error) {
  ShowEvent("> the host loads the plug-in", Notice::kLoad);
  TheWorld.pluginLoaded = true;
  std::uintptr_t module = 0;
  if (!LoadPlugin(o.pluginPath, module, error)) return false;
  ExpectPluginModule(module);
  if (o.keyThread) StartKeyThread(bridge.deliverKey);

  std::size_t next = 0;
  for (int frame = 0; frame < s.frames; ++frame) {
    TheWorld.frame = frame;
    while (next < s.events.size() && s.events[next].frame == frame) ApplyEvent(s.events[next++]);
    PaceKeyThread();
    bridge.runFrame(static_cast<std::uint32_t>(frame) * static_cast<std::uint32_t>(s.frameMs));
    PictureEndFrame();
    WorldEndFrame();
    LongRunAfterFrame(frame + 1);
  }
  TheWorld.frame = s.frames;
  if (TheWorld.pluginLoaded && last && o.exitLoaded) {
    StopKeyThread();
    TimelineAdd("> the host ends its process with the plug-in still loaded");
  } else if (TheWorld.pluginLoaded) {
    Unload();
  }
  return true;
}

// Before the first load: the bridge with the host's hooks, and what the options change in the process.
// heldLog: another program's handle on the log, when the options ask for one and it opens.
bool SetUpHost(const RunOptions& o, void*& heldLog, std::string& error) {
  if (!LoadBridge(o.bridgePath, o.frontPath, bridge, error)) return false;
  bridge.setHooks(AnswerOnHost, OnBridgeNote, o.trace ? TraceOnHost : nullptr);
  if (o.binaryDefault) {
    SetBinaryFileDefault();
    TimelineAdd("> the host makes binary the C runtime's default file mode");
  }
  if (o.holdLog) {
    heldLog = HoldFileOpen(kLogFile);
    if (heldLog != nullptr)
      TimelineAdd("> another program holds Quillfen/Log.log open, sharing read and write");
    else
      ReportProblem("Quillfen/Log.log could not be held open");
  }
  return true;
}

void PrintReport(const Scenario& s, const RunOptions& o, const LogReading& log, const std::tm& start,
                 const std::tm& end) {
  Say(ReportHeader(s, o.asIs));
  Say("\nTimeline (frame, what happens; \"> \" the scenario, \"! \" a problem):\n");
  Say(TimelineText());
  Say("\n");
  Say(DescribeNewLogLines(log, s.logBefore, kStoredLineEnd == "\r\n", start, end));
  Say("\nWorking folder after the run: " + FolderListing() + "\n");
  Say(LongRunReport());
  std::fflush(stdout);
}
}  // namespace

int RunScenario(const Scenario& s, const RunOptions& o) {
  std::string error;
  if (!PrepareFolder(s, o, error)) return Failed(error);
  WorldTellTo(ShowEvent, TimelineHold);
  WorldAskHostWith(DeliverKey, Unload);
  FreshWorld(s, o);
  void* heldLog = nullptr;
  if (!SetUpHost(o, heldLog, error)) return Failed(error);

  std::tm start{}, end{};
  LocalTime(start);
  LongRunStart(o);
  for (int cycle = 1; cycle <= o.cycles; ++cycle) {
    if (cycle > 1) FreshWorld(s, o);  // the report and the picture show the last play
    if (!PlayScenario(s, o, cycle == o.cycles, error)) return Failed(error);
    LongRunAfterCycle(cycle);
  }
  const bool endLoaded = TheWorld.pluginLoaded;  // the bridge stays, for the plug-in's last words
  if (!endLoaded) {
    bridge.shutdown();
    UnloadBridge();
  }
  LocalTime(end);

  PrintReport(s, o, ReadLog(heldLog), start, end);
  if (!o.svgPath.empty() && !PictureWrite(o.svgPath, error)) return Failed(error);
  if (!endLoaded) return 0;
  bridge.setHooks(nullptr, ExitNote, nullptr);  // stdout is flushed: the report is out
  EndProcessWithPluginLoaded();
}
