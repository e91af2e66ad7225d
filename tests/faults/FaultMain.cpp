// The fault tests' entry: a mount namespace of the process's own first, so that what a test mounts is
// seen by nothing else and goes with the process, then the tests.
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>

namespace faults {
extern bool mountNamespaceOwned;
}

// Each test leaves its script thread blocked for ever; ThreadSanitizer need not wait a second at exit
// for threads that will never run again (TSAN_OPTIONS still overrides this).
#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
extern "C" const char* __tsan_default_options() { return "atexit_sleep_ms=0"; }
#endif
#endif

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  faults::mountNamespaceOwned =
      unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
  return RUN_ALL_TESTS();
}
