#include "fake/TestPlatform.h"

#include <stdlib.h>

#include <iterator>
#include <random>
#include <stdexcept>
#include <system_error>

namespace fake {

std::string Stored(std::string_view text) {
  std::string stored;
  for (const char c : text) {
    if (c == '\n')
      stored += kStoredLineEnd;
    else
      stored += c;
  }
  return stored;
}

#ifdef _WIN32
// The C runtime has no mkdtemp; creating the folder is the atomic test of a name being free.
std::filesystem::path MakeUniqueFolder(const std::string& prefix) {
  std::random_device seed;
  std::mt19937 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path folder = prefix + std::to_string(random() % 1000000);
    std::error_code error;
    if (std::filesystem::create_directory(folder, error)) return folder;
  }
  throw std::runtime_error("cannot create a sandbox folder");
}
#else
std::filesystem::path MakeUniqueFolder(const std::string& prefix) {
  std::string pattern = prefix + "XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a sandbox folder");
  return pattern;
}
#endif

#ifndef _WIN32
std::size_t OpenFileCount() {
  const std::filesystem::directory_iterator fds("/proc/self/fd");
  return static_cast<std::size_t>(std::distance(std::filesystem::begin(fds), std::filesystem::end(fds)));
}
#endif

}  // namespace fake
