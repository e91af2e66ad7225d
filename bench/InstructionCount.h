#pragma once
// Instructions per frame, counted under valgrind's callgrind. A count is the same on every run of the
// same build, where a timing depends on the machine and its load, so a budget can gate on it.
#include <functional>
#include <map>
#include <string>
#include <vector>

// Something to count: prepare, then run, which plays `frames` frames.
struct CountedWork {
  std::string name;
  std::function<void()> prepare;
  std::function<void()> run;
  int frames;
};

inline constexpr const char* kCallgrindChildFlag = "--callgrind-child";  // makes the program the counting child

// In the child, under callgrind started with collection off: for each work, a warm-up, then collection
// on around a fixed number of runs only, dumped under the work's name. Returns the exit code.
int CountInCallgrind(const std::vector<CountedWork>& work);

// In the parent: runs this program as the child under callgrind, in UTC so that local time costs the same
// everywhere, and fills perFrame by work name from its dumps. Returns why it could not, or nothing.
std::string CountInstructions(const std::vector<CountedWork>& work, std::map<std::string, double>& perFrame);

struct FrameCount {
  std::string name;     // the case
  double ratio;         // the plug-in's instructions per frame over its floor's, which a budget bounds
  double instructions;  // the plug-in's per frame
};

// A case fails when its ratio is over its budget by more than 2 %, or by more than 48 instructions a frame
// where that is more: the C library's string compares move by a few dozen instructions with where the
// linker and the heap put the names they compare. Reads the file (lines "case ratio", # for comments),
// prints every verdict, with the line to write where a budget should change, and returns whether all cases
// hold. A case without a budget, or a budget for no case, fails too.
bool WithinBudgets(const std::string& path, const std::vector<FrameCount>& counts);
