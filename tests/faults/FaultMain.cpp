// The fault tests' entry: a mount namespace of the process's own first, so that what a test mounts is
// seen by nothing else and goes with the process, then the tests.
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>

namespace faults {
extern bool mountNamespaceOwned;
}

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  faults::mountNamespaceOwned =
      unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
  return RUN_ALL_TESTS();
}
