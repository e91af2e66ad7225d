#include "InstructionBudgets.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

namespace {
constexpr double kTolerance = 0.02;

struct Budget {
  double instructions = 0;
  double natives = 0;
  bool used = false;
};
}  // namespace

bool WithinBudgets(const std::string& path, const std::vector<FrameCount>& counts) {
  std::ifstream file(path);
  if (!file) {
    std::printf("FAILED: cannot read the budgets file %s\n", path.c_str());
    return false;
  }
  std::map<std::string, Budget> budgets;
  int number = 0;
  bool held = true;
  for (std::string line; std::getline(file, line);) {
    ++number;
    std::istringstream words(line);
    std::string name;
    if (!(words >> name) || name[0] == '#') continue;
    Budget b;
    if (!(words >> b.instructions >> b.natives)) {
      std::printf("FAILED: %s:%d: not \"case instructions natives\"\n", path.c_str(), number);
      held = false;
      continue;
    }
    budgets[name] = b;
  }
  for (const FrameCount& c : counts) {
    const auto found = budgets.find(c.name);
    if (found == budgets.end()) {
      std::printf("FAILED: no budget for %s in %s\n", c.name.c_str(), path.c_str());
      held = false;
      continue;
    }
    Budget& b = found->second;
    b.used = true;
    const double over = c.instructions / b.instructions - 1;
    if (over > kTolerance) {
      std::printf("FAILED: %s does %.0f instructions per frame, %.1f %% over its budget of %.0f\n", c.name.c_str(),
                  c.instructions, over * 100, b.instructions);
      held = false;
    } else if (over < -kTolerance) {
      std::printf("budget %s: %.0f instructions per frame, %.1f %% under its budget of %.0f: lower it in %s\n",
                  c.name.c_str(), c.instructions, -over * 100, b.instructions, path.c_str());
    } else {
      std::printf("budget %s: %.0f instructions per frame, within 2 %% of %.0f\n", c.name.c_str(), c.instructions,
                  b.instructions);
    }
    if (std::fabs(c.natives - b.natives) > 1e-9) {
      std::printf("FAILED: %s sends %g natives per frame, its budget says %g\n", c.name.c_str(), c.natives, b.natives);
      held = false;
    }
  }
  for (const auto& [name, b] : budgets) {
    if (b.used) continue;
    std::printf("FAILED: %s holds a budget for %s, which is no case\n", path.c_str(), name.c_str());
    held = false;
  }
  return held;
}
