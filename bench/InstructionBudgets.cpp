#include "InstructionBudgets.h"

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

namespace {
constexpr double kTolerance = 0.02;

void PrintLine(const FrameCount& c) { std::printf("    %-15s %.3f\n", c.name.c_str(), c.ratio); }
}  // namespace

bool WithinBudgets(const std::string& path, const std::vector<FrameCount>& counts) {
  std::ifstream file(path);
  if (!file) {
    std::printf("FAILED: cannot read the budgets file %s\n", path.c_str());
    return false;
  }
  std::map<std::string, double> budgets;  // those not yet used by a case
  int number = 0;
  bool held = true;
  for (std::string line; std::getline(file, line);) {
    ++number;
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
    const auto found = budgets.find(c.name);
    if (found == budgets.end()) {
      std::printf("FAILED: %s holds no budget for %s; add this line:\n", path.c_str(), c.name.c_str());
      PrintLine(c);
      held = false;
      continue;
    }
    const double budget = found->second;
    budgets.erase(found);
    const double over = c.ratio / budget - 1;
    if (over > kTolerance) {
      std::printf(
          "FAILED: %s costs %.3f times its floor, %.1f %% over its budget of %.3f in %s.\n"
          "  The floor already holds the frame's natives, its switch reads and its log lines: what is over is\n"
          "  the plug-in's own logic. Make it cheaper; or, if the extra work is meant (and the commit says\n"
          "  why), write this line in %s:\n",
          c.name.c_str(), c.ratio, over * 100, budget, path.c_str(), path.c_str());
      PrintLine(c);
      held = false;
    } else if (over < -kTolerance) {
      std::printf("budget %s: %.3f times its floor, %.1f %% under its budget of %.3f: lower it in %s to\n",
                  c.name.c_str(), c.ratio, -over * 100, budget, path.c_str());
      PrintLine(c);
    } else {
      std::printf("budget %s: %.3f times its floor, within 2 %% of %.3f\n", c.name.c_str(), c.ratio, budget);
    }
  }
  for (const auto& unused : budgets)
    std::printf("FAILED: %s holds a budget for %s, which is no case\n", path.c_str(), unused.first.c_str());
  return held && budgets.empty();
}
