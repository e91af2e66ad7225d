#pragma once
// The fault tests' world. Each test runs in a fresh work folder of the kit's (testkit/WorkFolder.h),
// where it may mount a file system of its own in the process's mount namespace. The script is
// ScriptMain on the kit's script runner and bridge, answered by the kit's game and with every native
// noted as a line into a fixed room, so that nothing on the script's side but the plug-in allocates.
#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "host/Bridge.h"

namespace faults {

// A work folder with the log folder and the plug-in as loaded in the fault tests' game; afterwards the
// plug-in's globals as at load, and the folder gone with what the test mounted in it.
class FaultTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // The plug-in as loaded, before a new script starts (the previous one never runs again); a new game
  // with the player far from the calm horse, holding an admitted rifle, and no lines or log untaken.
  static void ResetPlugin();
};

// The game changes only while the script waits. The player beside the horse (the prompt is shown), or
// far from it.
void StandBesideHorse(bool beside);
// The player holds the prompt's control down, or lets go of it.
void HoldToggle(bool held);
// The rifle carries that scope (again).
void FitScope(const char* component);
// Both in-scope tests answer yes (the reticle is hidden), or no.
void Aim(bool aiming);

// Starts ScriptMain and returns once it waits for the first time.
void StartScript();
// Lets the script run to its next wait; returns that wait's milliseconds.
DWORD Step();
// Whether an exception left ScriptMain (and so would have reached the host).
bool ScriptEscaped();

// The log's messages not yet taken, each without its "[d/m/y h:m:s] " prefix.
std::vector<std::string> TakeLog();

// Mounts a tmpfs of that many bytes on the folder; false when mounting is not possible (main found no
// mount namespace of the process's own).
bool MountTmpfs(const std::filesystem::path& folder, std::size_t bytes);
bool RemountReadOnly(const std::filesystem::path& folder);

}  // namespace faults
