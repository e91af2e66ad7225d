#include "FailingAllocator.h"

#include <atomic>

#include "testkit/Heap.h"
#include "testkit/ScriptRunner.h"

namespace {
std::atomic<bool> armed{false};
std::atomic<std::uint64_t> failAt{0};
std::atomic<bool> failAfter{false};
std::atomic<std::uint64_t> seen{0};
std::atomic<bool> refused{false};

// Whether this allocation is made; counts it when armed. Only the script's allocations count.
bool Admit() {
  if (!armed.load() || !OnScript()) return true;
  const std::uint64_t n = seen.fetch_add(1) + 1;
  const std::uint64_t at = failAt.load();
  const bool refuse = at != 0 && (n == at || (failAfter.load() && n > at));
  if (refuse) refused.store(true);
  return !refuse;
}
}  // namespace

namespace faults {

bool CanFailAllocations() { return kHeapWatched; }

void ArmAllocationFailure(std::uint64_t nth, bool everyAfter) {
  HeapAdmits = Admit;
  seen.store(0);
  refused.store(false);
  failAt.store(nth);
  failAfter.store(everyAfter);
  armed.store(true);
}

void DisarmAllocationFailure() { armed.store(false); }
std::uint64_t AllocationsSinceArmed() { return seen.load(); }
bool AllocationRefused() { return refused.load(); }

}  // namespace faults
