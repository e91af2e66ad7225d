// What one frame of the plug-in costs the game, against what its work would cost anyway. Each case runs the
// real frame body (RunFrame, after InitScript) against the test kit's bridge and game, and its floor (Floor.h):
// the natives, switch look-ups and log lines that the same frames made, replayed by straight-line code with no
// plug-in logic at all. Heap allocations are counted through the kit's replaced operator new.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "Floor.h"
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

struct Case {
  const char* name;
  const char* settings;            // the settings file the case starts from
  std::vector<void (*)()> frames;  // one RunFrame per entry, after that change to the game
  bool failing;
  std::vector<RecordedFrame> floor;  // what its frames did, once they repeat
};

std::vector<Case> cases;
const Case* prepared = nullptr;

void Prepare(const Case& c) {
  if (prepared == &c) return;
  WriteBytes(kSettingsPath, c.settings);
  NewGame();
  Weapon& rifle = GiveWeapon(NameHash("WEAPON_RIFLE_HUNTING"));
  rifle.tests[0] = rifle.tests[kInScopeTest] = 1;
  SetComponent(rifle, NameHash("COMPONENT_RIFLE_SCOPE03"), true);
  TheGame.inHand[0] = TheGame.inHand[1] = 0;
  TheGame.playerAt[1] = TheGame.horseAt[1];
  TheGame.playerAt[2] = TheGame.horseAt[2];
  c.frames.front()();
  InitScript();  // a new store and prompt; the old ones are the process's, as in the game
  prepared = &c;
}

void RunFrames(const Case& c, bool floor, void (*after)() = nullptr) {
  for (std::size_t i = 0; i < c.frames.size(); ++i) {
    c.frames[i]();
    if (floor)
      PlayFloor(c.floor[i]);
    else
      RunFrame();
    GameEndFrame();
    if (after != nullptr) after();
  }
}

std::string Name(const Case& c, bool floor) { return (floor ? "floor/" : "plugin/") + std::string(c.name); }

// What the case's frames do once whatever happens only once (the first scope remembered) has happened.
void RecordFloor(Case& c) {
  Prepare(c);
  RunFrames(c, false);
  c.floor = RecordFrames([&c] { RunFrames(c, false, EndRecordedFrame); });
}

void FrameBenchmark(benchmark::State& state, const Case* c, bool floor) {
  Prepare(*c);
  if (!floor) RunFrames(*c, false);  // past whatever happens only once
  const long long before = HeapNow().made;
  for (auto _ : state) RunFrames(*c, floor);
  const auto allocations = static_cast<double>(HeapNow().made - before);  // before the counters allocate
  const double frames = static_cast<double>(c->frames.size());
  state.counters["frames"] = frames;
  state.counters["allocs/frame"] = allocations / (static_cast<double>(state.iterations()) * frames);
}

// The console table as usual, and the figures kept for the summary lines.
struct Figures {
  double nanoseconds, allocations;  // per frame
};

struct SummaryReporter : benchmark::ConsoleReporter {
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
      const std::string name = run.run_name.function_name;
      if (fastest || !figures.contains(name))
        figures[name] = {run.GetAdjustedRealTime() / run.counters.at("frames"), run.counters.at("allocs/frame")};
    }
  }
};

double Fastest(const std::vector<double>& values) { return values.empty() ? 0.0 : *std::ranges::min_element(values); }

// Natives per frame, by the fake bridge's count: it does not depend on timing either.
double NativesPerFrame(const Case& c) {
  double natives = 0;
  for (const RecordedFrame& frame : c.floor) natives += static_cast<double>(frame.calls.size());
  return natives / static_cast<double>(c.frames.size());
}

std::vector<CountedWork> WorkToCount() {
  std::vector<CountedWork> work;
  for (const Case& c : cases)
    for (const bool floor : {false, true})
      work.push_back({Name(c, floor), [&c] { Prepare(c); }, [&c, floor] { RunFrames(c, floor); },
                      static_cast<int>(c.frames.size())});
  return work;
}

// The instructions-per-frame lines, and the budgets' verdict when a file is given. False when counting
// was impossible or a budget does not hold.
bool ReportInstructions(const std::string& budgets) {
  const std::vector<CountedWork> work = WorkToCount();
  std::map<std::string, double> perFrame;
  if (const std::string error = CountInstructions(work, perFrame); !error.empty()) {
    std::printf("\nno instruction counts: %s\n", error.c_str());
    return false;
  }
  std::printf("\n");
  std::vector<FrameCount> counts;
  for (const Case& c : cases) {
    const double plugin = perFrame[Name(c, false)], floor = perFrame[Name(c, true)];
    std::printf("instructions-per-frame %s: plug-in %.0f, floor %.0f, ratio %.3f\n", c.name, plugin, floor,
                plugin / floor);
    std::printf("natives-per-frame %s: %g\n", c.name, NativesPerFrame(c));
    counts.push_back({c.name, plugin / floor, plugin});
  }
  if (budgets.empty()) return true;
  std::printf("\n");
  return WithinBudgets(budgets, counts);
}

}  // namespace

int main(int argc, char** argv) {
  // Our own flags first; the rest is Google Benchmark's.
  bool timings = true, instructions = true, countingChild = false;
  std::string budgets;
  std::vector<char*> args{argv[0]};
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--instructions")
      timings = false;
    else if (arg == "--no-instructions")
      instructions = false;
    else if (arg == "--budgets" && i + 1 < argc)
      budgets = std::filesystem::absolute(argv[++i]).string();  // read after moving to the work folder
    else if (arg == kCallgrindChildFlag)
      countingChild = true;
    else
      args.push_back(argv[i]);
  }
  // Unless told otherwise: short repetitions of every benchmark, shuffled together, so that a plug-in
  // case and its floor meet the same load on a shared machine; the fastest repetition is kept.
  static char defaults[][48] = {"--benchmark_repetitions=12", "--benchmark_enable_random_interleaving=true",
                                "--benchmark_min_time=0.05", "--benchmark_report_aggregates_only=true"};
  for (char* flag : defaults)
    if (std::none_of(args.begin(), args.end(),
                     [flag](const char* a) { return std::strncmp(a, flag, std::strcspn(flag, "=")) == 0; }))
      args.push_back(flag);
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 2;

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

  if (countingChild) {
    const int counted = CountInCallgrind(WorkToCount());
    LeaveWorkFolder();
    return counted;
  }
  if (!timings) {
    const bool held = ReportInstructions(budgets);
    LeaveWorkFolder();
    return held ? 0 : 1;
  }

  for (const Case& c : cases)
    for (const bool floor : {false, true})
      benchmark::RegisterBenchmark(Name(c, floor).c_str(), FrameBenchmark, &c, floor)
          ->Unit(benchmark::kNanosecond)
          ->ComputeStatistics("min", Fastest);
  SummaryReporter reporter(isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_ColorTabular
                                                 : benchmark::ConsoleReporter::OO_Tabular);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  // Per frame: the plug-in, its floor, what the plug-in adds in nanoseconds, and the ratio.
  std::printf("\n%-14s %14s %14s %12s %8s %12s\n", "case", "plugin ns/frm", "floor ns/frm", "extra ns/frm", "ratio",
              "allocs/frm");
  const auto timed = [&reporter](const Case& c, bool floor) -> const Figures* {
    const auto found = reporter.figures.find(Name(c, floor));
    return found != reporter.figures.end() ? &found->second : nullptr;  // null when filtered out
  };
  bool allocationFree = true;
  for (const Case& c : cases) {
    const Figures *p = timed(c, false), *f = timed(c, true);
    if (p != nullptr && f != nullptr)
      std::printf("%-14s %14.1f %14.1f %12.1f %8.2f %12g\n", c.name, p->nanoseconds, f->nanoseconds,
                  p->nanoseconds - f->nanoseconds, p->nanoseconds / f->nanoseconds, p->allocations);
    allocationFree = allocationFree && (p == nullptr || c.failing || p->allocations == 0);
  }
  std::printf("\n");
  for (const Case& c : cases) {
    const Figures *p = timed(c, false), *f = timed(c, true);
    if (p != nullptr && f != nullptr) std::printf("overhead-ratio %s: %.2f\n", c.name, p->nanoseconds / f->nanoseconds);
    if (p != nullptr) std::printf("allocations-per-frame %s: %g\n", c.name, p->allocations);
  }

  // Without valgrind a plain run still gives its timings; asked for budgets, it must count.
  const bool counted = !instructions || ReportInstructions(budgets) || budgets.empty();
  LeaveWorkFolder();
  if (!allocationFree) {
    std::printf("FAILED: a frame that does not fail allocates on the heap\n");
    return 1;
  }
  return counted ? 0 : 1;
}
