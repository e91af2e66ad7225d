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
