#pragma once
// The checked-in budget of every benchmark case: the plug-in's instructions per frame over its floor's.
#include <string>
#include <vector>

struct FrameCount {
  std::string name;  // the case
  double ratio;      // the plug-in's instructions per frame over its floor's
};

// A case fails when its ratio is more than 2 % over its budget. Reads the file (lines "case ratio", #
// for comments), prints every verdict, with the line to write where a budget should change, and
// returns whether all cases hold. A case without a budget, or a budget for no case, fails too.
bool WithinBudgets(const std::string& path, const std::vector<FrameCount>& counts);
