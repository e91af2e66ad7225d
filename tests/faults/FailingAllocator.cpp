#include "FailingAllocator.h"

#include <atomic>
#include <cstdlib>
#include <new>

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
// The thread sanitizer's runtime defines operator new itself, so it cannot be replaced here.
bool faults::CanFailAllocations() { return false; }
#else
bool faults::CanFailAllocations() { return true; }

namespace {
// Whether this allocation is to be refused; counts it when armed.
bool Refuse() {
  if (!onScriptThread || !armed.load()) return false;
  const std::uint64_t n = seen.fetch_add(1) + 1;
  const std::uint64_t at = failAt.load();
  const bool refuse = at != 0 && (n == at || (failAfter.load() && n > at));
  if (refuse) refused.store(true);
  return refuse;
}

void* Allocate(std::size_t size) {
  if (Refuse()) return nullptr;
  return std::malloc(size == 0 ? 1 : size);
}

void* AllocateAligned(std::size_t size, std::align_val_t alignment) {
  if (Refuse()) return nullptr;
  const auto a = static_cast<std::size_t>(alignment);
  return std::aligned_alloc(a, (size + a - 1) / a * a);
}

void* OrThrow(void* p) {
  if (p == nullptr) throw std::bad_alloc();
  return p;
}
}  // namespace

void* operator new(std::size_t n) { return OrThrow(Allocate(n)); }
void* operator new[](std::size_t n) { return OrThrow(Allocate(n)); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return Allocate(n); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return Allocate(n); }
void* operator new(std::size_t n, std::align_val_t a) { return OrThrow(AllocateAligned(n, a)); }
void* operator new[](std::size_t n, std::align_val_t a) { return OrThrow(AllocateAligned(n, a)); }
void* operator new(std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept { return AllocateAligned(n, a); }
void* operator new[](std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept {
  return AllocateAligned(n, a);
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }
#endif
