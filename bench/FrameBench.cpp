// What one frame of the plug-in costs the game, against what its work would cost anyway.
//
// Each case runs the real frame body (RunFrame, after InitScript) against the test kit's bridge and game,
// and its floor (Floor.h): the natives, switch look-ups and log lines that the same frames made,
// replayed by straight-line code with no plug-in logic at all. Heap allocations are counted through the
// kit's replaced operator new.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "Floor.h"
#include "InstructionBudgets.h"
#include "InstructionCount.h"
#include "core/Settings.h"
#include "host/Script.h"
#include "testkit/Game.h"
#include "testkit/Heap.h"
#include "testkit/NameHash.h"
#include "testkit/WorkFolder.h"

namespace {

// The game before a frame: the player far from or beside the calm horse, holding an admitted rifle.
void Far() {
  TheGame.playerAt[0] = TheGame.horseAt[0] + 20.0f;
  TheGame.aiming = 0;
}
void Beside() {
  TheGame.playerAt[0] = TheGame.horseAt[0] + 1.0f;
  HoldControl(NameHash("INPUT_FRONTEND_RS"), false);
}
void BesideAndPressing() {
  Beside();
  HoldControl(NameHash("INPUT_FRONTEND_RS"), true);
}
void LookingDownTheScope() {
  Far();
  TheGame.aiming = 1;
}

void NewBenchGame() {
  NewGame();
  Weapon& rifle = GiveWeapon(NameHash("WEAPON_RIFLE_HUNTING"));
  rifle.tests[0] = 1;
  rifle.tests[kInScopeTest] = 1;
  SetComponent(rifle, NameHash("COMPONENT_RIFLE_SCOPE03"), true);
  TheGame.inHand[0] = TheGame.inHand[1] = 0;
  TheGame.playerAt[1] = TheGame.horseAt[1];
  TheGame.playerAt[2] = TheGame.horseAt[2];
}

struct Case {
  const char* name;
  const char* settings;            // the settings file the case starts from
  std::vector<void (*)()> frames;  // one RunFrame per entry, after that change to the game
  bool failing;
  std::vector<RecordedFrame> floor;  // what its frames did, once they repeat
};

std::vector<Case> cases;
const Case* prepared = nullptr;
const Case* playing = nullptr;

void Prepare(const Case& c) {
  if (prepared == &c) return;
  WriteBytes(kSettingsPath, c.settings);
  NewBenchGame();
  c.frames.front()();
  InitScript();  // a new store and prompt; the old ones are the process's, as in the game
  prepared = &c;
}

void RunPluginFrames(const Case& c) {
  for (void (*change)() : c.frames) {
    change();
    RunFrame();
    GameEndFrame();
  }
}

void RunFloorFrames(const Case& c) {
  for (std::size_t i = 0; i < c.frames.size(); ++i) {
    c.frames[i]();
    PlayFloor(c.floor[i]);
    GameEndFrame();
  }
}

// What the case's frames do once whatever happens only once (the first scope remembered) has happened.
void RecordFloor(Case& c) {
  Prepare(c);
  RunPluginFrames(c);
  playing = &c;
  c.floor = RecordFrames([] {
    for (void (*change)() : playing->frames) {
      change();
      RunFrame();
      GameEndFrame();
      EndRecordedFrame();
    }
  });
}

void PluginBenchmark(benchmark::State& state, const Case* c) {
  Prepare(*c);
  RunPluginFrames(*c);
  const long long before = HeapNow().made;
  for (auto _ : state) RunPluginFrames(*c);
  const long long allocations = HeapNow().made - before;
  const double frames = static_cast<double>(state.iterations()) * static_cast<double>(c->frames.size());
  state.counters["frames"] = static_cast<double>(c->frames.size());
  state.counters["allocs/frame"] = static_cast<double>(allocations) / frames;
}

void FloorBenchmark(benchmark::State& state, const Case* c) {
  Prepare(*c);
  const long long before = HeapNow().made;
  for (auto _ : state) RunFloorFrames(*c);
  const long long allocations = HeapNow().made - before;
  const double frames = static_cast<double>(state.iterations()) * static_cast<double>(c->frames.size());
  state.counters["frames"] = static_cast<double>(c->frames.size());
  state.counters["allocs/frame"] = static_cast<double>(allocations) / frames;
}

// The console table as usual, and the figures kept for the summary lines.
struct Figures {
  double nanoseconds = 0;
  double frames = 1;
  double allocationsPerFrame = 0;
};

class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  using ConsoleReporter::ConsoleReporter;
  std::map<std::string, Figures> figures;

  void ReportRuns(const std::vector<Run>& reports) override {
    ConsoleReporter::ReportRuns(reports);
    for (const Run& run : reports) {
      if (run.error_occurred) continue;
      // Interference from the rest of the machine only ever adds time, so the fastest repetition stands
      // for the benchmark; a single run stands for itself.
      const bool fastest = run.run_type == Run::RT_Aggregate && run.aggregate_name == "min";
      if (run.run_type == Run::RT_Aggregate && !fastest) continue;
      Figures f;
      f.nanoseconds = run.GetAdjustedRealTime();
      if (const auto found = run.counters.find("frames"); found != run.counters.end()) f.frames = found->second;
      if (const auto found = run.counters.find("allocs/frame"); found != run.counters.end())
        f.allocationsPerFrame = found->second;
      const std::string name = run.run_name.function_name;
      if (fastest || figures.find(name) == figures.end()) figures[name] = f;
    }
  }
};

double Fastest(const std::vector<double>& values) {
  return values.empty() ? 0.0 : *std::min_element(values.begin(), values.end());
}

// Natives per frame, by the fake bridge's count: it does not depend on timing either.
double NativesPerFrame(const Case& c) {
  double natives = 0;
  for (const RecordedFrame& frame : c.floor) natives += static_cast<double>(frame.calls.size());
  return natives / static_cast<double>(c.frames.size());
}

std::vector<CountedWork> WorkToCount() {
  std::vector<CountedWork> work;
  for (const Case& c : cases) {
    const Case* k = &c;
    const int frames = static_cast<int>(c.frames.size());
    work.push_back({std::string("plugin/") + c.name, [k] { Prepare(*k); }, [k] { RunPluginFrames(*k); }, frames});
    work.push_back({std::string("floor/") + c.name, [k] { Prepare(*k); }, [k] { RunFloorFrames(*k); }, frames});
  }
  return work;
}

// The instructions-per-frame lines, and the budgets' verdict when a file is given. False when counting
// was impossible or a budget does not hold.
bool ReportInstructions(const std::string& budgets) {
  const std::vector<CountedWork> work = WorkToCount();
  std::map<std::string, double> perFrame;
  std::string error;
  if (!CountInstructions(work, perFrame, error)) {
    std::printf("\nno instruction counts: %s\n", error.c_str());
    return false;
  }
  std::printf("\n");
  std::vector<FrameCount> counts;
  for (const Case& c : cases) {
    const double plugin = perFrame[std::string("plugin/") + c.name];
    const double floor = perFrame[std::string("floor/") + c.name];
    const double natives = NativesPerFrame(c);
    std::printf("instructions-per-frame %s: plug-in %.0f, floor %.0f, ratio %.3f\n", c.name, plugin, floor,
                plugin / floor);
    std::printf("natives-per-frame %s: %g\n", c.name, natives);
    counts.push_back({c.name, plugin / floor});
  }
  if (budgets.empty()) return true;
  std::printf("\n");
  return WithinBudgets(budgets, counts);
}

bool Given(int argc, char** argv, const char* flag) {
  for (int i = 1; i < argc; ++i)
    if (std::strncmp(argv[i], flag, std::strlen(flag)) == 0) return true;
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  // Our own flags first; the rest is Google Benchmark's.
  bool timings = true, instructions = true, countingChild = false;
  std::string budgets;
  std::vector<char*> rest{argv[0]};
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--instructions") {
      timings = false;
    } else if (arg == "--no-instructions") {
      instructions = false;
    } else if (arg == "--budgets" && i + 1 < argc) {
      budgets = std::filesystem::absolute(argv[++i]).string();  // read after moving to the work folder
    } else if (arg == kCallgrindChildFlag) {
      countingChild = true;
    } else {
      rest.push_back(argv[i]);
    }
  }
  argc = static_cast<int>(rest.size());
  argv = rest.data();

  // Unless told otherwise: short repetitions of every benchmark, shuffled together, so that a plug-in
  // case and its floor meet the same load on a shared machine; the fastest repetition is kept.
  std::vector<char*> args(argv, argv + argc);
  std::string defaults[] = {"--benchmark_repetitions=12", "--benchmark_enable_random_interleaving=true",
                            "--benchmark_min_time=0.05", "--benchmark_report_aggregates_only=true"};
  for (std::string& flag : defaults)
    if (!Given(argc, argv, flag.substr(0, flag.find('=')).c_str())) args.push_back(flag.data());
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  argc = count;
  argv = args.data();
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;

  // The log and the settings file are relative to the working folder, as in the game.
  EnterWorkFolder("bench");
  BridgeSetHooks(AnswerFromGame, nullptr, nullptr);
  const char* const kBothOn = "DisableReticleInScope=1\nEnableScopeToggle=1\n";
  cases = {
      {"idle", kBothOn, {Far}, false, {}},
      {"prompt-shown", kBothOn, {Beside}, false, {}},
      // Scope off and remembered, let go, the remembered scope back on, let go.
      {"toggle", kBothOn, {BesideAndPressing, Beside, BesideAndPressing, Beside}, false, {}},
      {"in-scope", kBothOn, {LookingDownTheScope}, false, {}},
      {"switches-off", "DisableReticleInScope=0\nEnableScopeToggle=0\n", {Far}, false, {}},
      {"failing", "DisableReticleInScope=on\nEnableScopeToggle=1\n", {Far}, true, {}},
  };
  for (Case& c : cases) RecordFloor(c);

  if (countingChild) return CountInCallgrind(WorkToCount());
  if (!timings) {
    const bool held = ReportInstructions(budgets);
    LeaveWorkFolder();
    return held ? 0 : 1;
  }

  for (const Case& c : cases) {
    benchmark::RegisterBenchmark((std::string("plugin/") + c.name).c_str(), PluginBenchmark, &c)
        ->Unit(benchmark::kNanosecond)
        ->ComputeStatistics("min", Fastest);
    benchmark::RegisterBenchmark((std::string("floor/") + c.name).c_str(), FloorBenchmark, &c)
        ->Unit(benchmark::kNanosecond)
        ->ComputeStatistics("min", Fastest);
  }
  SummaryReporter reporter(isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_ColorTabular
                                                 : benchmark::ConsoleReporter::OO_Tabular);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  // Per frame: the plug-in, its floor, what the plug-in adds in nanoseconds, and the ratio.
  std::printf("\n%-14s %14s %14s %12s %8s %12s\n", "case", "plugin ns/frm", "floor ns/frm", "extra ns/frm", "ratio",
              "allocs/frm");
  std::string lines;
  bool allocationFree = true;
  for (const Case& c : cases) {
    const auto plugin = reporter.figures.find(std::string("plugin/") + c.name);
    if (plugin == reporter.figures.end()) continue;  // filtered out
    const Figures& p = plugin->second;
    if (!c.failing && p.allocationsPerFrame != 0) allocationFree = false;
    char line[160];
    const auto floor = reporter.figures.find(std::string("floor/") + c.name);
    if (floor != reporter.figures.end()) {
      const Figures& f = floor->second;
      std::printf("%-14s %14.1f %14.1f %12.1f %8.2f %12g\n", c.name, p.nanoseconds / p.frames, f.nanoseconds / f.frames,
                  (p.nanoseconds - f.nanoseconds) / p.frames, p.nanoseconds / f.nanoseconds, p.allocationsPerFrame);
      std::snprintf(line, sizeof line, "overhead-ratio %s: %.2f\n", c.name, p.nanoseconds / f.nanoseconds);
      lines += line;
    }
    std::snprintf(line, sizeof line, "allocations-per-frame %s: %g\n", c.name, p.allocationsPerFrame);
    lines += line;
  }
  std::printf("\n%s", lines.c_str());

  // Without valgrind a plain run still gives its timings; asked for budgets, it must count.
  const bool counted = !instructions || ReportInstructions(budgets) || budgets.empty();
  LeaveWorkFolder();
  if (!allocationFree) {
    std::printf("FAILED: a frame that does not fail allocates on the heap\n");
    return 1;
  }
  return counted ? 0 : 1;
}
