#include "testkit/WorkFolder.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <regex>
#include <stdexcept>
#include <system_error>

namespace {
std::filesystem::path previous, current;

// Creating the folder is the atomic test of a name being free (the Windows C runtime has no mkdtemp). Every
// name has the same length, so that the benchmark's heap is laid out alike in every run.
std::filesystem::path MakeUniqueFolder(const std::string& prefix) {
  std::mt19937 random(std::random_device{}());
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path folder = prefix + std::to_string(1000000 + random() % 1000000);
    if (std::error_code error; std::filesystem::create_directory(folder, error)) return folder;
  }
  throw std::runtime_error("cannot create a work folder");
}
}  // namespace

std::filesystem::path EnterWorkFolder(const std::string& name, bool withLogFolder) {
  std::string safe;
  for (const char c : name) safe += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  previous = std::filesystem::current_path();
  current = MakeUniqueFolder((std::filesystem::temp_directory_path() / ("varnholt-" + safe + "-")).string());
  if (withLogFolder) std::filesystem::create_directory(current / "Quillfen");
  std::filesystem::current_path(current);
  return current;
}

void LeaveWorkFolder(bool keep) {
  if (current.empty()) return;
  std::filesystem::current_path(previous);
  std::error_code ignored;
  if (keep)
    std::fprintf(stderr, "work folder kept: %s\n", current.string().c_str());
  else
    std::filesystem::remove_all(current, ignored);
  current.clear();
}

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::vector<std::string> LogMessages(std::size_t fromByte) {
  static const std::regex prefix(R"(^\[[1-9][0-9]?/[1-9][0-9]?/[0-9]+ [0-9]{1,2}:[0-9]{1,2}:[0-9]{1,2}\] )");
  const std::string text = ReadBytes("Quillfen/Log.log");
  std::vector<std::string> messages;
  for (std::size_t start = fromByte, end = 0; start < text.size(); start = end + kStoredLineEnd.size()) {
    end = std::min(text.find(kStoredLineEnd, start), text.size());
    const std::string line = text.substr(start, end - start);
    std::smatch match;
    messages.push_back(std::regex_search(line, match, prefix) ? match.suffix().str() : "<no prefix> " + line);
  }
  return messages;
}

std::string Stored(std::string_view text) {
  std::string stored;
  for (const char& c : text) stored += c == '\n' ? kStoredLineEnd : std::string_view(&c, 1);
  return stored;
}

#ifndef _WIN32
std::size_t OpenFileCount() {
  const std::filesystem::directory_iterator fds("/proc/self/fd");
  return static_cast<std::size_t>(std::distance(std::filesystem::begin(fds), std::filesystem::end(fds)));
}
#endif
