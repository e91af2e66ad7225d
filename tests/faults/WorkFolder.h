#pragma once
// Each test runs in a fresh temporary folder, made the working folder: the plug-in finds its settings
// file and its log ("Quillfen/Log.log") relative to it.
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
