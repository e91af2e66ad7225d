#include "WorkFolder.h"

#include <sys/mount.h>

#include "testkit/WorkFolder.h"

namespace faults {
bool mountNamespaceOwned = false;  // set by main

namespace {
std::vector<std::filesystem::path> mounts;
std::size_t logTaken = 0;  // bytes of the log already handed out
}  // namespace

std::filesystem::path EnterWorkFolder(bool withLogFolder) {
  logTaken = 0;
  return ::EnterWorkFolder("faults", withLogFolder);
}

void LeaveWorkFolder() {
  for (auto it = mounts.rbegin(); it != mounts.rend(); ++it) umount2(it->c_str(), MNT_DETACH);
  mounts.clear();
  ::LeaveWorkFolder();
}

void WriteSettings(const std::string& text) { WriteBytes("Varnholt.ini", text); }

std::vector<std::string> TakeLog() {
  const std::size_t size = ReadBytes("Quillfen/Log.log").size();
  if (size < logTaken) logTaken = 0;  // a new file
  std::vector<std::string> messages = LogMessages(logTaken);
  logTaken = size;
  return messages;
}

bool CanMount() { return mountNamespaceOwned; }

bool MountTmpfs(const std::filesystem::path& at, std::size_t bytes) {
  if (!mountNamespaceOwned) return false;
  const std::string options = "size=" + std::to_string(bytes);
  if (mount("tmpfs", at.c_str(), "tmpfs", 0, options.c_str()) != 0) return false;
  mounts.push_back(std::filesystem::absolute(at));
  return true;
}

bool RemountReadOnly(const std::filesystem::path& at) {
  return mount(nullptr, at.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

}  // namespace faults
