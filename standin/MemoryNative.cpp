// The native host's operator new and delete: each block carries a small header saying whether the
// plug-in allocated it, so that the plug-in's live heap is known whoever frees the block. The plug-in's
// allocations are those made on the script's thread outside the host's own work there.
#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

#include "Memory.h"
#include "ScriptRunner.h"

const bool kProcessMemory = false;
const char* const kMemoryWhat = "the plug-in's live heap, through operator new";

namespace {
struct alignas(std::max_align_t) Header {
  std::size_t size;
  bool plugin;
};

std::atomic<long long> pluginBlocks{0};
std::atomic<long long> pluginBytes{0};
thread_local int hostWork = 0;

void* Allocate(std::size_t size) noexcept {
  Header* h = static_cast<Header*>(std::malloc(sizeof(Header) + size));
  if (h == nullptr) return nullptr;
  h->size = size;
  h->plugin = hostWork == 0 && OnScript();
  if (h->plugin) {
    pluginBlocks.fetch_add(1, std::memory_order_relaxed);
    pluginBytes.fetch_add(static_cast<long long>(size), std::memory_order_relaxed);
  }
  return h + 1;
}

void* AllocateOrThrow(std::size_t size) {
  void* p = Allocate(size);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}

void Free(void* p) noexcept {
  if (p == nullptr) return;
  Header* h = static_cast<Header*>(p) - 1;
  if (h->plugin) {
    pluginBlocks.fetch_sub(1, std::memory_order_relaxed);
    pluginBytes.fetch_sub(static_cast<long long>(h->size), std::memory_order_relaxed);
  }
  std::free(h);
}
}  // namespace

MemorySample TakeMemorySample() {
  MemorySample m;
  m.blocks = pluginBlocks.load(std::memory_order_relaxed);
  m.bytes = pluginBytes.load(std::memory_order_relaxed);
  return m;
}

HostWork::HostWork() { ++hostWork; }
HostWork::~HostWork() { --hostWork; }

// The aligned forms are left to the library: they come with deletes of their own, and nothing here uses
// them.
void* operator new(std::size_t n) { return AllocateOrThrow(n); }
void* operator new[](std::size_t n) { return AllocateOrThrow(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return Allocate(n); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return Allocate(n); }
void operator delete(void* p) noexcept { Free(p); }
void operator delete[](void* p) noexcept { Free(p); }
void operator delete(void* p, std::size_t) noexcept { Free(p); }
void operator delete[](void* p, std::size_t) noexcept { Free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Free(p); }
