#include "WorkFolder.h"

#include <sys/mount.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace faults {
bool mountNamespaceOwned = false;  // set by main

namespace {
std::filesystem::path started;
std::filesystem::path folder;
std::vector<std::filesystem::path> mounts;
std::size_t logTaken = 0;  // bytes of the log already handed out
}  // namespace

std::filesystem::path EnterWorkFolder(bool withLogFolder) {
  started = std::filesystem::current_path();
  char pattern[] = "/tmp/varnholt-faults-XXXXXX";
  const char* made = mkdtemp(pattern);
  if (made == nullptr) std::abort();
  folder = made;
  if (withLogFolder) std::filesystem::create_directory(folder / "Quillfen");
  std::filesystem::current_path(folder);
  logTaken = 0;
  return folder;
}

void LeaveWorkFolder() {
  std::filesystem::current_path(started);
  for (auto it = mounts.rbegin(); it != mounts.rend(); ++it) umount2(it->c_str(), MNT_DETACH);
  mounts.clear();
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

void WriteSettings(const std::string& text) { std::ofstream("Varnholt.ini", std::ios::binary) << text; }

std::vector<std::string> TakeLog() {
  std::ifstream in("Quillfen/Log.log", std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> messages;
  if (text.size() < logTaken) logTaken = 0;  // a new file
  std::size_t start = logTaken;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    const std::size_t close = line.find("] ");
    messages.push_back(line.rfind('[', 0) == 0 && close != std::string::npos ? line.substr(close + 2)
                                                                             : "<no prefix> " + line);
    start = end + 1;
  }
  logTaken = text.size();
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
