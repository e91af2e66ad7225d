#include "testkit/Heap.h"

#include <cstddef>
#include <cstdlib>
#include <new>

std::atomic<bool (*)()> HeapAdmits{nullptr}, HeapCounts{nullptr};

namespace {
std::atomic<long long> made{0}, liveBlocks{0}, liveBytes{0};
}  // namespace

HeapFigures HeapNow() {
  return {made.load(std::memory_order_relaxed), liveBlocks.load(std::memory_order_relaxed),
          liveBytes.load(std::memory_order_relaxed)};
}

#ifdef VARNHOLT_KEEP_OPERATOR_NEW
const bool kHeapWatched = false;
#else
const bool kHeapWatched = true;

namespace {
// Right before every block handed out, so that a block counted when made is uncounted when freed,
// whoever frees it. base is what malloc or aligned_alloc returned.
struct alignas(std::max_align_t) Header {
  void* base;
  std::size_t size;
  bool counted;
};

void* Allocate(std::size_t size, std::size_t alignment = alignof(std::max_align_t)) noexcept {
  if (bool (*admits)() = HeapAdmits.load(std::memory_order_relaxed); admits != nullptr && !admits()) return nullptr;
  // The block starts at a multiple of the alignment far enough in for the header.
  const std::size_t offset = (sizeof(Header) + alignment - 1) / alignment * alignment;
  const std::size_t total = (offset + size + alignment - 1) / alignment * alignment;
  void* base = alignment <= alignof(std::max_align_t) ? std::malloc(total) : std::aligned_alloc(alignment, total);
  if (base == nullptr) return nullptr;
  void* block = static_cast<char*>(base) + offset;
  Header* h = static_cast<Header*>(block) - 1;
  bool (*counts)() = HeapCounts.load(std::memory_order_relaxed);
  *h = {base, size, counts != nullptr && counts()};
  made.fetch_add(1, std::memory_order_relaxed);
  if (h->counted) {
    liveBlocks.fetch_add(1, std::memory_order_relaxed);
    liveBytes.fetch_add(static_cast<long long>(size), std::memory_order_relaxed);
  }
  return block;
}

void* OrThrow(void* p) { return p != nullptr ? p : throw std::bad_alloc(); }

void Free(void* p) noexcept {
  if (p == nullptr) return;
  const Header* h = static_cast<Header*>(p) - 1;
  if (h->counted) {
    liveBlocks.fetch_sub(1, std::memory_order_relaxed);
    liveBytes.fetch_sub(static_cast<long long>(h->size), std::memory_order_relaxed);
  }
  std::free(h->base);
}

std::size_t Size(std::align_val_t a) { return static_cast<std::size_t>(a); }
}  // namespace

// Every form, the aligned ones too: a sanitizer runtime that had to supply one would bring its whole set.
void* operator new(std::size_t n) { return OrThrow(Allocate(n)); }
void* operator new[](std::size_t n) { return OrThrow(Allocate(n)); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return Allocate(n); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return Allocate(n); }
void* operator new(std::size_t n, std::align_val_t a) { return OrThrow(Allocate(n, Size(a))); }
void* operator new[](std::size_t n, std::align_val_t a) { return OrThrow(Allocate(n, Size(a))); }
void* operator new(std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept { return Allocate(n, Size(a)); }
void* operator new[](std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept { return Allocate(n, Size(a)); }
void operator delete(void* p) noexcept { Free(p); }
void operator delete[](void* p) noexcept { Free(p); }
void operator delete(void* p, std::size_t) noexcept { Free(p); }
void operator delete[](void* p, std::size_t) noexcept { Free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Free(p); }
void operator delete(void* p, std::align_val_t) noexcept { Free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { Free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { Free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { Free(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { Free(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { Free(p); }
#endif
