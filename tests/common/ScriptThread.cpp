#include "ScriptThread.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

namespace {
// How long the test waits for the script to reach its next scriptWait. Generous, so that a loaded
// machine does not trip it: ctest's own timeout is the backstop behind it. VARNHOLT_STEP_TIMEOUT_S
// overrides it.
const std::chrono::seconds kStepDeadline{[] {
  const char* given = std::getenv("VARNHOLT_STEP_TIMEOUT_S");
  const long seconds = given != nullptr ? std::strtol(given, nullptr, 10) : 0;
  return seconds > 0 ? seconds : 300;
}()};

// One run of a script function. Never freed: a run left behind by its test stays blocked on it.
struct Run {
  std::mutex mutex;
  std::condition_variable changed;
  bool atWait = false;
  ScriptEnd end = ScriptEnd::kNotYet;
  std::uint64_t resumes = 0;
};

Run* current = nullptr;  // the test's side only
thread_local Run* mine = nullptr;

// Keeps runs left behind reachable for the leak checker.
std::vector<Run*>& LeftBehind() {
  static auto* runs = new std::vector<Run*>;
  return *runs;
}

// Blocks until the run is at a wait or has ended. Called with the run's lock held.
void AwaitWait(Run& run, std::unique_lock<std::mutex>& lock) {
  if (run.changed.wait_for(lock, kStepDeadline, [&run] { return run.atWait || run.end != ScriptEnd::kNotYet; })) return;
  std::fprintf(stderr,
               "the script did not reach scriptWait within %lld s (VARNHOLT_STEP_TIMEOUT_S); stopping so "
               "that it cannot run on among later tests\n",
               static_cast<long long>(kStepDeadline.count()));
  std::fflush(stderr);
  std::abort();
}
}  // namespace

void StartScriptThread(void (*entry)()) {
  AbandonScriptThread();
  Run* const run = current = new Run;
  std::thread([run, entry] {
    mine = run;
    ScriptEnd end = ScriptEnd::kReturned;
    try {
      entry();
    } catch (...) {
      end = ScriptEnd::kThrew;
    }
    std::lock_guard lock(run->mutex);
    run->end = end;
    run->changed.notify_all();
  }).detach();
  std::unique_lock lock(run->mutex);
  AwaitWait(*run, lock);
}

void ResumeScriptThread() {
  if (current == nullptr) std::abort();  // no script was started
  std::unique_lock lock(current->mutex);
  if (current->end != ScriptEnd::kNotYet) return;
  current->atWait = false;
  ++current->resumes;
  current->changed.notify_all();
  AwaitWait(*current, lock);
}

bool YieldToTest() {
  Run* const run = mine;
  if (run == nullptr) return false;
  std::unique_lock lock(run->mutex);
  const std::uint64_t ticket = run->resumes;
  run->atWait = true;
  run->changed.notify_all();
  run->changed.wait(lock, [run, ticket] { return run->resumes != ticket; });
  return true;
}

void AbandonScriptThread() {
  if (current != nullptr) LeftBehind().push_back(current);
  current = nullptr;
}

ScriptEnd EndOfScript() {
  if (current == nullptr) return ScriptEnd::kNotYet;
  std::lock_guard lock(current->mutex);
  return current->end;
}
