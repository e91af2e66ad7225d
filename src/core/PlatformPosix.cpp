#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>

#include "core/Platform.h"

std::uint32_t TickCount() {
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

// POSIX has no share modes: nothing is denied to begin with.
std::FILE* OpenShared(const char* path, FileAccess access) {
  return std::fopen(path, access == FileAccess::ReadBytes ? "rb" : "a");
}

bool LocalTimeNow(std::tm& out) {
  const std::time_t now = std::time(nullptr);
  return localtime_r(&now, &out) != nullptr;
}
