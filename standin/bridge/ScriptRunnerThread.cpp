// The script on a thread of its own, handing control back and forth with the host so that exactly one of
// them runs at a time, as with the game's fiber.
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "bridge/ScriptRunner.h"

namespace {
// One per script thread. A dropped script's thread stays parked on its baton for the rest of the
// process, so batons are never freed.
struct Baton {
  std::mutex mutex;
  std::condition_variable changed;
  bool scriptTurn = false;
  bool ended = false;
};

Baton* current = nullptr;                // the registered script's; the host's view
thread_local Baton* ownBaton = nullptr;  // set on each script thread: the baton it runs by

void WaitForTurn(Baton& baton, std::unique_lock<std::mutex>& lock, bool scriptTurn) {
  baton.changed.wait(lock, [&] { return baton.scriptTurn == scriptTurn; });
}

// Host side: let the script run and wait until it hands control back.
void RunScriptTurn(Baton& baton) {
  std::unique_lock<std::mutex> lock(baton.mutex);
  baton.scriptTurn = true;
  baton.changed.notify_all();
  WaitForTurn(baton, lock, false);
}
}  // namespace

void StartScript(void (*entry)()) {
  Baton* baton = new Baton;
  current = baton;
  std::thread script([baton, entry] {
    ownBaton = baton;
    {
      std::unique_lock<std::mutex> lock(baton->mutex);
      WaitForTurn(*baton, lock, true);
    }
    entry();
    std::unique_lock<std::mutex> lock(baton->mutex);
    baton->ended = true;
    baton->scriptTurn = false;
    baton->changed.notify_all();
    baton->changed.wait(lock, [] { return false; });  // a returned script stays parked
  });
  script.detach();
  RunScriptTurn(*baton);
}

void ResumeScript() {
  if (current != nullptr && !ScriptEnded()) RunScriptTurn(*current);
}

void SuspendToHost() {
  Baton& baton = *ownBaton;
  std::unique_lock<std::mutex> lock(baton.mutex);
  baton.scriptTurn = false;
  baton.changed.notify_all();
  WaitForTurn(baton, lock, true);
}

bool OnScript() { return ownBaton != nullptr; }

bool ScriptEnded() {
  if (current == nullptr) return false;
  const std::lock_guard<std::mutex> lock(current->mutex);
  return current->ended;
}

// The thread cannot be stopped from outside; it simply never gets the turn again.
void DiscardScript() { current = nullptr; }

void ShutdownRunner() { current = nullptr; }
