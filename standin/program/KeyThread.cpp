#include "program/KeyThread.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

#include "report/Timeline.h"
#include "world/World.h"

namespace {
constexpr long long kKeysPerFrame = 20;
// Long enough that a loaded machine, which may leave either thread unscheduled for seconds, does not
// count as a stall, and short enough that a real one is reported before ctest's TIMEOUT ends the run.
constexpr double kDefaultDeadlineSeconds = 60;

std::thread sender;
std::atomic<bool> stop{false};
std::atomic<long long> sent{0}, delivered{0};
std::atomic<long long> awaited{0};  // the count of sent messages a frame waits for
std::mutex mutex;                   // only for the wakeup of the waiting frame
std::condition_variable reached;
bool running = false, stalled = false;
long long atFrameStart = 0;
std::chrono::milliseconds deadline{0};

std::chrono::milliseconds Deadline() {
  const char* text = std::getenv("VARNHOLT_KEY_THREAD_DEADLINE");
  char* end = nullptr;
  const double asked = text != nullptr ? std::strtod(text, &end) : 0;
  const bool usable = text != nullptr && end != text && *end == '\0' && asked > 0 && asked < 1e6;
  return std::chrono::milliseconds(static_cast<long long>((usable ? asked : kDefaultDeadlineSeconds) * 1000));
}

void SendKeys(decltype(&BridgeDeliverKey) deliver) {
  for (unsigned i = 0; !stop; ++i) {
    // Key codes up to 299, so that the codes beyond the plug-in's table come too.
    const int taken = deliver(i % 300, 1, static_cast<BYTE>(i), 0, static_cast<BOOL>(i & 1),
                              static_cast<BOOL>((i >> 1) & 1), static_cast<BOOL>((i >> 2) & 1));
    if (taken != 0) ++delivered;
    // Counts rise one by one, so the awaited one is met exactly; taking the lock to wake the frame
    // means the wakeup cannot fall between the frame's test and its wait.
    if (++sent == awaited) {
      const std::lock_guard<std::mutex> lock(mutex);
      reached.notify_one();
    }
  }
}
}  // namespace

void StartKeyThread(decltype(&BridgeDeliverKey) deliver) {
  stop = false;
  sent = delivered = awaited = 0;
  atFrameStart = 0;
  stalled = false;
  deadline = Deadline();
  running = true;
  TimelineAdd("keyboard messages start coming from another thread, at least " + std::to_string(kKeysPerFrame) +
              " a frame");
  sender = std::thread(SendKeys, deliver);
}

void PaceKeyThread() {
  if (!running || stalled) return;
  const long long target = atFrameStart + kKeysPerFrame;
  awaited = target;
  {
    std::unique_lock<std::mutex> lock(mutex);
    stalled = !reached.wait_for(lock, deadline, [target] { return sent >= target; });
  }
  if (stalled) ReportProblem("the keyboard thread stalled");
  atFrameStart = sent;
}

void StopKeyThread() {
  if (!running) return;
  stop = true;
  sender.join();
  running = false;
  const long long lost = sent - delivered;
  if (lost == 0)
    TimelineAdd("keyboard messages from the other thread stop; every one reached the handler");
  else
    ReportProblem(std::to_string(lost) + " keyboard messages from the other thread found no handler");
}
