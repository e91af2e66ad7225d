#include "program/KeyThread.h"

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "report/Timeline.h"
#include "world/World.h"

namespace {
struct KeyThread {
  std::thread thread;
  std::atomic<bool> stop{false};
  std::atomic<long long> sent{0};
  std::atomic<long long> delivered{0};
  bool running = false;
  long long atFrameStart = 0;
};
KeyThread keys;
constexpr long long kKeysPerFrame = 20;
}  // namespace

void StartKeyThread(decltype(&StandinDeliverKey) deliver) {
  keys.running = true;
  TimelineAdd("keyboard messages start coming from another thread, at least " + std::to_string(kKeysPerFrame) +
              " a frame");
  keys.thread = std::thread([deliver] {
    for (unsigned i = 0; !keys.stop.load(); ++i) {
      // Key codes up to 299, so that the codes beyond the plug-in's table come too.
      const int taken = deliver(i % 300, 1, static_cast<BYTE>(i), 0, static_cast<BOOL>(i & 1),
                                static_cast<BOOL>((i >> 1) & 1), static_cast<BOOL>((i >> 2) & 1));
      if (taken != 0) keys.delivered.fetch_add(1);
      keys.sent.fetch_add(1);
    }
  });
}

void PaceKeyThread() {
  if (!keys.running) return;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (keys.sent.load() < keys.atFrameStart + kKeysPerFrame) {
    if (std::chrono::steady_clock::now() > deadline) {
      ReportProblem("the keyboard thread stalled");
      break;
    }
    std::this_thread::yield();
  }
  keys.atFrameStart = keys.sent.load();
}

void StopKeyThread() {
  if (!keys.running) return;
  keys.stop.store(true);
  keys.thread.join();
  keys.running = false;
  const long long lost = keys.sent.load() - keys.delivered.load();
  if (lost == 0)
    TimelineAdd("keyboard messages from the other thread stop; every one reached the handler");
  else
    ReportProblem(std::to_string(lost) + " keyboard messages from the other thread found no handler");
}
