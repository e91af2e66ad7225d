#include "program/Run.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "bridge/BridgeControl.h"
#include "program/HostPlatform.h"
#include "program/LongRun.h"
#include "program/Memory.h"
#include "report/LogCheck.h"
#include "report/Picture.h"
#include "report/Timeline.h"
#include "world/Answer.h"
#include "world/ApplyEvent.h"
#include "world/Format.h"
#include "world/Natives.h"
#include "world/World.h"

namespace fs = std::filesystem;

namespace {
BridgeControl bridge;
std::uintptr_t pluginModule = 0;
std::uintptr_t registeredModule = 0;

const char* const kSettingsFile = "Varnholt.ini";
const char* const kLogFolder = "Quillfen";
const char* const kLogFile = "Quillfen/Log.log";

void Say(const std::string& text) { std::fputs(text.c_str(), stdout); }

// What the world tells goes into the timeline; the moments the picture marks go there too.
void ShowEvent(const std::string& text, Notice notice) {
  TimelineAdd(text);
  switch (notice) {
    case Notice::kCompletion: PictureNote(PictureMark::kCompletion, text); break;
    case Notice::kInteraction: PictureNote(PictureMark::kInteraction, text); break;
    case Notice::kThrown: PictureNote(PictureMark::kThrown, text); break;
    case Notice::kPlain: break;
  }
}

// The world and the timeline count the same frames.
void SetFrame(int frame) {
  TheWorld.frame = frame;
  TimelineSetFrame(frame);
}

void OnBridgeNote(int note, UINT64 detail) {
  const HostWork host;
  LongRunNote(note);
  switch (note) {
    case kNoteScriptRegistered:
      registeredModule = static_cast<std::uintptr_t>(detail);
      TimelineAdd("script registered");
      break;
    case kNoteScriptUnregistered:
      if (static_cast<std::uintptr_t>(detail) != pluginModule)
        ReportProblem("scriptUnregister with a module handle that is not the plug-in's");
      TimelineAdd("script unregistered");
      break;
    case kNoteUnregisterUnknown: ReportProblem("scriptUnregister with a module that has no script registered"); break;
    case kNoteKeyboardRegistered: TimelineAdd("keyboard handler registered"); break;
    case kNoteKeyboardUnregistered: TimelineAdd("keyboard handler unregistered"); break;
    case kNoteKeyboardUnknown:
      ReportProblem("keyboardHandlerUnregister with a handler that is not the registered one");
      break;
    case kNoteScriptStarted: TimelineAdd("script started"); break;
    case kNoteScriptWaits: TimelineAdd("script waits " + std::to_string(detail) + " ms"); break;
    case kNoteScriptResumed: TimelineAdd("script resumes after its wait of " + std::to_string(detail) + " ms"); break;
    case kNoteScriptReturned: ReportProblem("the script function returned"); break;
    case kNoteNativeOffScript: {
      const NativeInfo* info = FindNative(detail);
      ReportProblem("native " + (info != nullptr ? std::string(info->name) : HexHash(detail)) +
                    " called from outside the script");
      break;
    }
    case kNoteWaitOffScript: ReportProblem("scriptWait called from outside the script"); break;
    case kNoteCallWithoutInit: ReportProblem("nativePush64 or nativeCall without nativeInit"); break;
    default: ReportProblem("an unknown note from the bridge"); break;
  }
}

// Keyboard messages from a thread of their own while the frames run, as a game window would send them.
struct KeyThread {
  std::thread thread;
  std::atomic<bool> stop{false};
  std::atomic<long long> sent{0};
  std::atomic<long long> delivered{0};
  bool running = false;
  long long atFrameStart = 0;
};
KeyThread keys;
constexpr long long kKeysPerFrame = 20;

void StartKeyThread() {
  keys.running = true;
  TimelineAdd("keyboard messages start coming from another thread, at least " + std::to_string(kKeysPerFrame) +
              " a frame");
  keys.thread = std::thread([] {
    for (unsigned i = 0; !keys.stop.load(); ++i) {
      // Key codes up to 299, so that the codes beyond the plug-in's table come too.
      const int taken = bridge.deliverKey(i % 300, 1, static_cast<BYTE>(i), 0, static_cast<BOOL>(i & 1),
                                          static_cast<BOOL>((i >> 1) & 1), static_cast<BOOL>((i >> 2) & 1));
      if (taken != 0) keys.delivered.fetch_add(1);
      keys.sent.fetch_add(1);
    }
  });
}

// Each frame waits until the other thread has sent its share, so that the messages overlap the frames.
void PaceKeyThread() {
  if (!keys.running) return;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (keys.sent.load() < keys.atFrameStart + kKeysPerFrame) {
    if (std::chrono::steady_clock::now() > deadline) {
      ReportProblem("the keyboard thread stalled");
      break;
    }
    std::this_thread::yield();
  }
  keys.atFrameStart = keys.sent.load();
}

void StopKeyThread() {
  if (!keys.running) return;
  keys.stop.store(true);
  keys.thread.join();
  keys.running = false;
  const long long lost = keys.sent.load() - keys.delivered.load();
  if (lost == 0)
    TimelineAdd("keyboard messages from the other thread stop; every one reached the handler");
  else
    ReportProblem(std::to_string(lost) + " keyboard messages from the other thread found no handler");
}

// A scenario's key: one message, as the game's window passes on a key going down or coming up.
bool DeliverKey(std::uint32_t code, bool down) {
  return bridge.deliverKey(code, 1, 0, 0, 0, down ? 0 : 1, down ? 0 : 1) != 0;
}

void Unload() {
  StopKeyThread();
  TimelineAdd("> the host unloads the plug-in");
  PictureNote(PictureMark::kUnload);
  const bool unmapped = UnloadPlugin();
  LongRunUnloaded(unmapped);
  if (!unmapped) ReportProblem("the plug-in's module is still loaded after unloading it");
  TheWorld.pluginLoaded = false;
  // The plug-in deletes no host object: what it left shown stays shown.
  for (const HostPrompt& p : TheWorld.prompts)
    if (p.registered && p.visible)
      TimelineAdd("prompt " + Quoted(p.label) + " stays shown, with nothing left to hide it");
}

// Lays out the working folder as the scenario wants it and moves into it.
bool PrepareFolder(const Scenario& s, const RunOptions& o, std::string& error) {
  std::error_code ec;
  fs::create_directories(o.dir, ec);
  fs::current_path(o.dir, ec);
  if (ec) {
    error = "cannot use the working folder " + o.dir + ": " + ec.message();
    return false;
  }
  if (o.asIs) return true;
  fs::remove(kSettingsFile, ec);
  fs::remove_all(kLogFolder, ec);
  if (s.hasSettings) {
    std::ofstream(kSettingsFile, std::ios::binary) << s.settings;
  }
  if (s.quillfen) {
    fs::create_directory(kLogFolder, ec);
    if (!s.logBefore.empty()) std::ofstream(kLogFile, std::ios::binary) << s.logBefore;
  }
  return true;
}

std::string FolderListing() {
  std::vector<std::string> entries;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(".", ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    std::string name = it->path().lexically_relative(".").generic_string();
    if (it->is_directory()) name += "/";
    entries.push_back(name);
  }
  std::sort(entries.begin(), entries.end());
  std::string out;
  for (const std::string& e : entries) out += (out.empty() ? "" : ", ") + e;
  return out.empty() ? "empty" : out;
}

LogReading ReadLog() {
  LogReading log;
  std::ifstream file(kLogFile, std::ios::binary);
  log.exists = static_cast<bool>(file);
  if (log.exists) {
    std::ostringstream text;
    text << file.rdbuf();
    log.content = text.str();
  }
  return log;
}

std::string Header(const Scenario& s, const RunOptions& o) {
  std::string out = "Scenario " + s.name + (s.title.empty() ? "" : ": " + s.title) + "\n";
  out += std::to_string(s.frames) + " frames of " + std::to_string(s.frameMs) + " ms; ";
  if (o.asIs) return out + "the working folder as it was found\n";
  if (s.hasSettings) {
    std::size_t lines = 0;
    for (std::size_t i = 0; i < s.settings.size(); ++i)
      if (s.settings[i] == '\n' || i + 1 == s.settings.size()) ++lines;
    out += "Varnholt.ini of " + std::to_string(s.settings.size()) + " bytes in " + std::to_string(lines) +
           (lines == 1 ? " line" : " lines");
    if (s.settings.find("\r\n") != std::string::npos) out += " ending in CR LF";
  } else {
    out += "no Varnholt.ini";
  }
  out += s.quillfen ? "; Quillfen folder present" : "; no Quillfen folder";
  if (!s.logBefore.empty()) out += ", its log holding " + std::to_string(s.logBefore.size()) + " bytes";
  return out + "\n";
}

void AnswerOnHost(UINT64 hash, const UINT64* args, std::size_t count, UINT64* slots) {
  const HostWork host;
  AnswerNative(hash, args, count, slots);
}

// One load of the plug-in, the scenario's frames, one unload. False when the plug-in does not load.
bool PlayScenario(const Scenario& s, const RunOptions& o, std::string& error) {
  TimelineAdd("> the host loads the plug-in");
  PictureNote(PictureMark::kLoad);
  TheWorld.pluginLoaded = true;
  if (!LoadPlugin(o.pluginPath, pluginModule, error)) return false;
  if (registeredModule != 0 && registeredModule != pluginModule)
    ReportProblem("scriptRegister with a module handle that is not the plug-in's");
  if (o.keyThread) StartKeyThread();

  std::size_t next = 0;
  for (int frame = 0; frame < s.frames; ++frame) {
    SetFrame(frame);
    while (next < s.events.size() && s.events[next].frame == frame) ApplyEvent(s.events[next++]);
    PaceKeyThread();
    bridge.runFrame(static_cast<std::uint32_t>(frame) * static_cast<std::uint32_t>(s.frameMs));
    PictureEndFrame();
    WorldEndFrame();
    TimelineEndFrame();
    LongRunAfterFrame(frame + 1);
  }
  SetFrame(s.frames);
  if (TheWorld.pluginLoaded) Unload();
  return true;
}
}  // namespace

int RunScenario(const Scenario& s, const RunOptions& o) {
  std::string error;
  if (!PrepareFolder(s, o, error)) {
    std::fprintf(stderr, "varnholt-host: %s\n", error.c_str());
    return 1;
  }
  WorldTellTo(ShowEvent, TimelineHold);
  WorldAskHostWith(DeliverKey, Unload);
  TheWorld = World{};
  TheWorld.trace = o.trace;
  TimelineClear();
  if (!o.svgPath.empty()) PictureStart(s);
  if (!LoadBridge(o.bridgePath, o.frontPath, bridge, error)) {
    std::fprintf(stderr, "varnholt-host: %s\n", error.c_str());
    return 1;
  }
  bridge.setHooks(AnswerOnHost, OnBridgeNote);

  if (o.binaryDefault) {
    SetBinaryFileDefault();
    TimelineAdd("> the host makes binary the C runtime's default file mode");
  }

  void* heldLog = nullptr;
  if (o.holdLog) {
    heldLog = HoldFileOpen(kLogFile);
    if (heldLog != nullptr)
      TimelineAdd("> another program holds Quillfen/Log.log open, sharing read and write");
    else
      ReportProblem("Quillfen/Log.log could not be held open");
  }

  std::tm start{}, end{};
  LocalTime(start);
  LongRunStart(o);
  for (int cycle = 1; cycle <= o.cycles; ++cycle) {
    if (cycle > 1) {  // a fresh world for each play; the report and the picture show the last one
      TheWorld = World{};
      TheWorld.trace = o.trace;
      TimelineClear();
      if (!o.svgPath.empty()) PictureStart(s);
    }
    if (!PlayScenario(s, o, error)) {
      std::fprintf(stderr, "varnholt-host: %s\n", error.c_str());
      return 1;
    }
    LongRunAfterCycle(cycle);
  }
  TimelineCloseAll();
  bridge.shutdown();
  UnloadBridge();
  LocalTime(end);

  LogReading log;
  if (heldLog != nullptr) {
    log.exists = true;
    log.content = ReadHeldFile(heldLog);  // what the other program sees through its own handle
    ReleaseHeldFile(heldLog);
  } else {
    log = ReadLog();
  }

  Say(Header(s, o));
  Say("\nTimeline (frame, what happens; \"> \" the scenario, \"! \" a problem):\n");
  Say(TimelineText());
  Say("\n");
  Say(DescribeNewLogLines(log, s.logBefore, kTextModeCrLf, start, end));
  Say("\nWorking folder after the run: " + FolderListing() + "\n");
  Say(LongRunReport());
  std::fflush(stdout);
  if (!o.svgPath.empty() && !PictureWrite(o.svgPath, error)) {
    std::fprintf(stderr, "varnholt-host: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
