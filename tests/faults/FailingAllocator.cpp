#include "FailingAllocator.h"

#include <atomic>

#include "OperatorNew.h"

namespace {
std::atomic<bool> armed{false};
std::atomic<std::uint64_t> failAt{0};
std::atomic<bool> failAfter{false};
std::atomic<std::uint64_t> seen{0};
std::atomic<bool> refused{false};
thread_local bool onScriptThread = false;
}  // namespace

namespace faults {

void ArmAllocationFailure(std::uint64_t nth, bool everyAfter) {
  seen.store(0);
  refused.store(false);
  failAt.store(nth);
  failAfter.store(everyAfter);
  armed.store(true);
}

void DisarmAllocationFailure() { armed.store(false); }
std::uint64_t AllocationsSinceArmed() { return seen.load(); }
bool AllocationRefused() { return refused.load(); }
void MarkScriptThread() { onScriptThread = true; }

}  // namespace faults

#ifdef VARNHOLT_KEEP_OPERATOR_NEW
// The thread sanitizer's runtime defines operator new itself, so it cannot be replaced here (the build
// leaves OperatorNew.cpp out).
bool faults::CanFailAllocations() { return false; }
#else
bool faults::CanFailAllocations() { return true; }
#endif

// Whether this allocation is made; counts it when armed.
bool AdmitAllocation() {
  if (!onScriptThread || !armed.load()) return true;
  const std::uint64_t n = seen.fetch_add(1) + 1;
  const std::uint64_t at = failAt.load();
  const bool refuse = at != 0 && (n == at || (failAfter.load() && n > at));
  if (refuse) refused.store(true);
  return !refuse;
}
