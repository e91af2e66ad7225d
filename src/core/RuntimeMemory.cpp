#include <version>  // IWYU pragma: keep (the C++ library's own macros, __GLIBCXX__ among them)

#include "core/Platform.h"

#if defined(_WIN32) && defined(__GLIBCXX__)
// GCC's C++ runtime, linked into the DLL, keeps an emergency pool for throwing when the heap is
// exhausted, allocated when the DLL starts; this frees it. No header declares it. Nothing may throw in
// the DLL afterwards.
namespace __gnu_cxx {
void __freeres() noexcept;  // NOLINT(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp): its own name
}

void ReleaseRuntimeMemory() { __gnu_cxx::__freeres(); }
#else
// Elsewhere the runtime is shared with the host and outlives the plug-in: nothing is the plug-in's to free.
void ReleaseRuntimeMemory() {}
#endif
