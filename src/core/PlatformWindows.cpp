#include <share.h>
#include <windows.h>

#include "core/Platform.h"

std::uint32_t TickCount() { return GetTickCount(); }

std::FILE* OpenShared(const char* path, const char* mode) { return _fsopen(path, mode, _SH_DENYNO); }

bool LocalTimeNow(std::tm& out) {
  const std::time_t now = std::time(nullptr);
  return localtime_s(&out, &now) == 0;
}
