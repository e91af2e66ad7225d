// The script on a thread of its own, handing control back and forth with whoever drives it.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "testkit/ScriptRunner.h"

namespace {
// How long the driver waits for the script to suspend. Generous, so that a loaded machine does not trip
// it: ctest's own timeout is the backstop behind it.
const std::chrono::seconds kStepDeadline{[] {
  const char* given = std::getenv("VARNHOLT_STEP_TIMEOUT_S");
  const long seconds = given != nullptr ? std::strtol(given, nullptr, 10) : 0;
  return seconds > 0 ? seconds : 300;
}()};

// One run of a script function. Never freed: a run left behind stays blocked on it.
struct Run {
  std::mutex mutex;
  std::condition_variable changed;
  bool suspended = false;
  ScriptEnd end = ScriptEnd::kNotYet;
  std::uint64_t resumes = 0;
};

Run* current = nullptr;  // the driver's side only
thread_local Run* mine = nullptr;

// Keeps runs left behind reachable for the leak checker: never destroyed.
std::vector<Run*>& leftBehind = *new std::vector<Run*>;

// Blocks until the run has suspended or ended. Called with the run's lock held.
void AwaitSuspension(Run& run, std::unique_lock<std::mutex>& lock) {
  if (run.changed.wait_for(lock, kStepDeadline, [&run] { return run.suspended || run.end != ScriptEnd::kNotYet; }))
    return;
  std::fprintf(stderr,
               "the script did not reach scriptWait within %lld s (VARNHOLT_STEP_TIMEOUT_S); stopping so "
               "that it cannot run on among later work\n",
               static_cast<long long>(kStepDeadline.count()));
  std::fflush(stderr);
  std::abort();
}
}  // namespace

void StartScript(void (*entry)()) {
  DiscardScript();
  Run* const run = current = new Run;
  std::thread([run, entry] {
    mine = run;
    ScriptEnd end = ScriptEnd::kReturned;
    try {
      entry();
    } catch (...) {
      end = ScriptEnd::kThrew;  // the game's bridge would not survive it; the driver is told
    }
    std::lock_guard lock(run->mutex);
    run->end = end;
    run->changed.notify_all();
  }).detach();
  std::unique_lock lock(run->mutex);
  AwaitSuspension(*run, lock);
}

void ResumeScript() {
  if (current == nullptr) return;
  std::unique_lock lock(current->mutex);
  if (current->end != ScriptEnd::kNotYet) return;
  current->suspended = false;
  ++current->resumes;
  current->changed.notify_all();
  AwaitSuspension(*current, lock);
}

void SuspendToHost() {
  Run* const run = mine;
  if (run == nullptr) return;
  std::unique_lock lock(run->mutex);
  const std::uint64_t ticket = run->resumes;
  run->suspended = true;
  run->changed.notify_all();
  run->changed.wait(lock, [run, ticket] { return run->resumes != ticket; });
}

bool OnScript() { return mine != nullptr && mine == current; }

ScriptEnd EndOfScript() {
  if (current == nullptr) return ScriptEnd::kNotYet;
  std::lock_guard lock(current->mutex);
  return current->end;
}

// The thread cannot be stopped from outside; it simply never gets its turn again.
void DiscardScript() {
  if (current != nullptr) leftBehind.push_back(current);
  current = nullptr;
}

void ShutdownRunner() { DiscardScript(); }

// A script left behind stays blocked for ever. ThreadSanitizer waits a second at exit for threads still running,
// which would only slow every program down: they will never run again. TSAN_OPTIONS still overrides this.
#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
extern "C" const char* __tsan_default_options() { return "atexit_sleep_ms=0"; }
#endif
#endif
