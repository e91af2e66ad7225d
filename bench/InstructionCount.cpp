#include "InstructionCount.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define VARNHOLT_HAVE_CALLGRIND 1
#endif

extern char** environ;

namespace {
// Runs counted per work after the warm-up; the few instructions of switching collection on and off are
// spread over them.
constexpr int kRuns = 64, kWarmUpRuns = 3;

// The child's dumps, one per work: "desc: Trigger: Client Request: <name>", then "totals: N".
std::map<std::string, double> ReadDumps(const std::string& out) {
  const std::string trigger = "desc: Trigger: Client Request: ";
  std::map<std::string, double> totals;
  for (int dump = 1;; ++dump) {
    std::ifstream file(out + "." + std::to_string(dump));
    if (!file) return totals;
    std::string name;
    for (std::string line; std::getline(file, line);) {
      if (line.starts_with(trigger))
        name = line.substr(trigger.size());
      else if (line.starts_with("totals: "))
        totals[name] = std::strtod(line.c_str() + 8, nullptr);
    }
  }
}

int Spawn(const std::vector<std::string>& command) {
  std::vector<char*> argv;
  for (const std::string& arg : command) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  setenv("TZ", "UTC0", 1);  // for the child; nothing the parent does after depends on it
  std::fflush(stdout);      // what is printed so far comes before anything the child says
  pid_t child = 0;
  if (posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
  int status = 0;
  if (waitpid(child, &status, 0) != child) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

constexpr double kTolerance = 0.02, kSlack = 48;  // a share of the budget; instructions a frame

void PrintLine(const FrameCount& c) { std::printf("    %-15s %.3f\n", c.name.c_str(), c.ratio); }
}  // namespace

int CountInCallgrind([[maybe_unused]] const std::vector<CountedWork>& work) {
#ifdef VARNHOLT_HAVE_CALLGRIND
  for (const CountedWork& w : work) {
    w.prepare();
    for (int i = 0; i < kWarmUpRuns; ++i) w.run();
    CALLGRIND_ZERO_STATS;
    CALLGRIND_TOGGLE_COLLECT;
    for (int i = 0; i < kRuns; ++i) w.run();
    CALLGRIND_TOGGLE_COLLECT;
    CALLGRIND_DUMP_STATS_AT(w.name.c_str());
  }
  return 0;
#else
  std::fprintf(stderr, "built without valgrind/callgrind.h: no instruction counts\n");
  return 2;
#endif
}

std::string CountInstructions(const std::vector<CountedWork>& work, std::map<std::string, double>& perFrame) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const std::string self = fs::read_symlink("/proc/self/exe", ec).string();
  const fs::path dumps = fs::absolute("callgrind", ec);
  fs::remove_all(dumps, ec);
  fs::create_directory(dumps, ec);
  if (ec || self.empty()) return "cannot prepare the callgrind run";
  const std::string out = (dumps / "out").string();
  const int rc = Spawn({"valgrind", "-q", "--tool=callgrind", "--collect-atstart=no", "--callgrind-out-file=" + out,
                        self, kCallgrindChildFlag});
  if (rc < 0) return "cannot run valgrind (install the Debian package valgrind)";
  if (rc > 0) return "the counting run under callgrind failed with exit code " + std::to_string(rc);
  const std::map<std::string, double> totals = ReadDumps(out);
  for (const CountedWork& w : work) {
    if (!totals.contains(w.name)) return "callgrind left no count for " + w.name;
    perFrame[w.name] = totals.at(w.name) / (static_cast<double>(kRuns) * w.frames);
  }
  fs::remove_all(dumps, ec);
  return {};
}

bool WithinBudgets(const std::string& path, const std::vector<FrameCount>& counts) {
  std::ifstream file(path);
  if (!file) {
    std::printf("FAILED: cannot read the budgets file %s\n", path.c_str());
    return false;
  }
  std::map<std::string, double> budgets;  // those not yet used by a case
  bool held = true;
  std::string line;
  for (int number = 1; std::getline(file, line); ++number) {
    std::istringstream words(line);
    std::string name;
    if (!(words >> name) || name[0] == '#') continue;
    double ratio = 0;
    if (!(words >> ratio) || ratio <= 0) {
      std::printf("FAILED: %s:%d: not \"case ratio\"\n", path.c_str(), number);
      held = false;
      continue;
    }
    budgets[name] = ratio;
  }
  for (const FrameCount& c : counts) {
    const auto found = budgets.extract(c.name);
    if (found.empty()) {
      std::printf("FAILED: %s holds no budget for %s; add this line:\n", path.c_str(), c.name.c_str());
      PrintLine(c);
      held = false;
      continue;
    }
    const double budget = found.mapped(), over = c.ratio / budget - 1;
    const double tolerance = std::max(kTolerance, kSlack / c.instructions);
    if (over > tolerance)
      std::printf(
          "FAILED: %s costs %.3f times its floor, %.1f %% over its budget of %.3f in %s.\n"
          "  The floor already holds the frame's natives, its switch reads and its log lines: what is over is\n"
          "  the plug-in's own logic. Make it cheaper; or, if the extra work is meant (and the commit says\n"
          "  why), write this line in %s:\n",
          c.name.c_str(), c.ratio, over * 100, budget, path.c_str(), path.c_str());
    else if (over < -tolerance)
      std::printf("budget %s: %.3f times its floor, %.1f %% under its budget of %.3f: lower it in %s to\n",
                  c.name.c_str(), c.ratio, -over * 100, budget, path.c_str());
    else
      std::printf("budget %s: %.3f times its floor, within %.1f %% of %.3f\n", c.name.c_str(), c.ratio, tolerance * 100,
                  budget);
    if (std::abs(over) > tolerance) PrintLine(c);  // the line to write
    held = held && over <= tolerance;
  }
  for (const auto& unused : budgets)
    std::printf("FAILED: %s holds a budget for %s, which is no case\n", path.c_str(), unused.first.c_str());
  return held && budgets.empty();
}
