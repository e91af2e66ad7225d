#include "program/RunFolder.h"

#include <filesystem>
#include <fstream>
#include <set>

#include "program/HostPlatform.h"
#include "testkit/WorkFolder.h"

namespace fs = std::filesystem;

const char* const kSettingsFile = "Varnholt.ini";  // const: of this file alone
const char* const kLogFolder = "Quillfen";

bool PrepareFolder(const Scenario& s, const RunOptions& o, std::string& error) {
  std::error_code ec;
  fs::create_directories(o.dir, ec);
  fs::current_path(o.dir, ec);
  if (ec) {
    error = "cannot use the working folder " + o.dir + ": " + ec.message();
    return false;
  }
  if (o.asIs) return true;
  fs::remove(kSettingsFile, ec);
  fs::remove_all(kLogFolder, ec);
  if (s.hasSettings) WriteBytes(kSettingsFile, s.settings);
  if (s.quillfen) fs::create_directory(kLogFolder, ec);
  if (s.quillfen && !s.logBefore.empty()) WriteBytes(kLogFile, s.logBefore);
  return true;
}

std::string FolderListing() {
  std::set<std::string> entries;  // sorted
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(".", ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    std::string name = it->path().lexically_relative(".").generic_string();
    if (it->is_directory()) name += "/";
    entries.insert(name);
  }
  std::string out;
  for (const std::string& e : entries) out += (out.empty() ? "" : ", ") + e;
  return out.empty() ? "empty" : out;
}

LogReading ReadLog(void* held) {
  if (held == nullptr) return LogReading{static_cast<bool>(std::ifstream(kLogFile)), ReadBytes(kLogFile)};
  LogReading log{true, ReadHeldFile(held)};
  ReleaseHeldFile(held);
  return log;
}
