#include <share.h>
#include <windows.h>

#include "core/Platform.h"

std::uint32_t TickCount() { return GetTickCount(); }

// Text mode is asked for by name: without the "t" it would follow the C runtime's process-wide default,
// which any other module of the game may have switched to binary.
std::FILE* OpenShared(const char* path, FileAccess access) {
  return _fsopen(path, access == FileAccess::ReadBytes ? "rb" : "at", _SH_DENYNO);
}

bool LocalTimeNow(std::tm& out) {
  const std::time_t now = std::time(nullptr);
  return localtime_s(&out, &now) == 0;
}

#if defined(__GLIBCXX__)
// GCC's C++ runtime keeps an emergency pool for throwing when the heap is exhausted, allocated when the
// DLL starts; this frees it. No header declares it. Nothing may throw in the DLL afterwards.
namespace __gnu_cxx {
void __freeres() noexcept;  // NOLINT(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp): its own name
}
#endif

void ReleaseRuntimeMemory() {
#if defined(__GLIBCXX__)
  __gnu_cxx::__freeres();
#endif
}
