// The native host's operator new and delete: each block carries a small header saying whether the
// plug-in allocated it, so that the plug-in's live heap is known whoever frees the block. The plug-in's
// allocations are those made on the script's thread outside the host's own work there.
#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

#include "bridge/ScriptRunner.h"
#include "program/Memory.h"

const bool kProcessMemory = false;
#ifdef VARNHOLT_KEEP_OPERATOR_NEW
// ThreadSanitizer's runtime brings its own operator new, which this file must then leave alone.
const bool kHeapCounted = false;
const char* const kMemoryWhat = "not counted: this build keeps its sanitizer's operator new";
#else
const bool kHeapCounted = true;
const char* const kMemoryWhat = "the plug-in's live heap, through operator new";
#endif

namespace {
std::atomic<long long> pluginBlocks{0};
std::atomic<long long> pluginBytes{0};
thread_local int hostWork = 0;
}  // namespace

MemorySample TakeMemorySample() {
  MemorySample m;
  m.blocks = pluginBlocks.load(std::memory_order_relaxed);
  m.bytes = pluginBytes.load(std::memory_order_relaxed);
  return m;
}

HostWork::HostWork() { ++hostWork; }
HostWork::~HostWork() { --hostWork; }

#ifndef VARNHOLT_KEEP_OPERATOR_NEW
namespace {
// Right before every block handed out; base is what malloc or aligned_alloc returned.
struct alignas(std::max_align_t) Header {
  void* base;
  std::size_t size;
  bool plugin;
};

void* Allocate(std::size_t size, std::size_t alignment = alignof(std::max_align_t)) noexcept {
  // The block starts at a multiple of the alignment far enough in for the header.
  const std::size_t offset = (sizeof(Header) + alignment - 1) / alignment * alignment;
  const std::size_t total = (offset + size + alignment - 1) / alignment * alignment;
  void* base = alignment <= alignof(std::max_align_t) ? std::malloc(total) : std::aligned_alloc(alignment, total);
  if (base == nullptr) return nullptr;
  void* block = static_cast<char*>(base) + offset;
  Header* h = static_cast<Header*>(block) - 1;
  h->base = base;
  h->size = size;
  h->plugin = hostWork == 0 && OnScript();
  if (h->plugin) {
    pluginBlocks.fetch_add(1, std::memory_order_relaxed);
    pluginBytes.fetch_add(static_cast<long long>(size), std::memory_order_relaxed);
  }
  return block;
}

void* OrThrow(void* p) {
  if (p == nullptr) throw std::bad_alloc();
  return p;
}

void Free(void* p) noexcept {
  if (p == nullptr) return;
  const Header* h = static_cast<Header*>(p) - 1;
  if (h->plugin) {
    pluginBlocks.fetch_sub(1, std::memory_order_relaxed);
    pluginBytes.fetch_sub(static_cast<long long>(h->size), std::memory_order_relaxed);
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
