#include "FaultScript.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "FailingAllocator.h"
#include "host/Script.h"

namespace faults {
Scene scene;
}  // namespace faults

namespace {
// The hand-off between the test and one script thread. Never freed: the thread of a finished test
// waits on it for ever.
struct Handoff {
  std::mutex mutex;
  std::condition_variable turn;
  bool scriptRuns = false;
  bool escaped = false;
  DWORD wait = 0;
};
Handoff* current = nullptr;
thread_local Handoff* mine = nullptr;

void WaitForScript(Handoff& h, std::unique_lock<std::mutex>& lock) {
  if (!h.turn.wait_for(lock, std::chrono::seconds(10), [&h] { return !h.scriptRuns; })) {
    std::fprintf(stderr, "the script did not reach its next wait\n");
    std::abort();
  }
}
}  // namespace

void scriptWait(DWORD milliseconds) {
  Handoff& h = *mine;
  std::unique_lock<std::mutex> lock(h.mutex);
  h.wait = milliseconds;
  h.scriptRuns = false;
  h.turn.notify_all();
  h.turn.wait(lock, [&h] { return h.scriptRuns; });
}

namespace faults {

void StartScript() {
  ActiveScene = &scene;
  NotingNatives = true;
  auto* h = new Handoff;
  current = h;
  std::unique_lock<std::mutex> lock(h->mutex);
  h->scriptRuns = true;
  std::thread([h] {
    mine = h;
    MarkScriptThread();
    try {
      ScriptMain();
    } catch (...) {
      h->escaped = true;
    }
    // ScriptMain never returns of its own accord; if it does, hand back and stay out of the way.
    std::unique_lock<std::mutex> done(h->mutex);
    h->scriptRuns = false;
    h->turn.notify_all();
    h->turn.wait(done, [] { return false; });
  }).detach();
  WaitForScript(*h, lock);
}

DWORD Step() {
  Handoff& h = *current;
  std::unique_lock<std::mutex> lock(h.mutex);
  h.scriptRuns = true;
  h.turn.notify_all();
  WaitForScript(h, lock);
  return h.wait;
}

bool ScriptEscaped() {
  std::lock_guard<std::mutex> lock(current->mutex);
  return current->escaped;
}

}  // namespace faults
