#pragma once
// The checked-in budget of every benchmark case: instructions and natives per frame of the plug-in.
#include <string>
#include <vector>

struct FrameCount {
  std::string name;  // the case
  double instructions;
  double natives;
};

// A case fails when it does more than 2 % over its budgeted instructions, or sends another number of
// natives. Reads the file (lines "case instructions natives", # for comments), prints every verdict
// and returns whether all cases hold. A case without a budget, or a budget for no case, fails too.
bool WithinBudgets(const std::string& path, const std::vector<FrameCount>& counts);
