#pragma once
// Each fault test runs in a fresh work folder of the kit's (testkit/WorkFolder.h), where it may mount a
// file system of its own in the process's mount namespace.
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace faults {

std::filesystem::path EnterWorkFolder(bool withLogFolder);
// Back to where the test started; the folder goes (after unmounting anything mounted in it).
void LeaveWorkFolder();

void WriteSettings(const std::string& text);

// The log's messages not yet taken, each without its "[d/m/y h:m:s] " prefix.
std::vector<std::string> TakeLog();

// Whether this process has a mount namespace of its own (set up by main), where tests may mount.
bool CanMount();
// Mounts a tmpfs of that many bytes on the folder; false when mounting is not possible.
bool MountTmpfs(const std::filesystem::path& folder, std::size_t bytes);
bool RemountReadOnly(const std::filesystem::path& folder);

}  // namespace faults
