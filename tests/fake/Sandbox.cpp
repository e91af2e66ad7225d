#include "fake/Sandbox.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>

#include "fake/TestPlatform.h"

namespace fake {
namespace {
std::filesystem::path previous;
std::filesystem::path current;
}  // namespace

std::filesystem::path EnterSandbox(const std::string& name) {
  std::string safe;
  for (const char c : name) safe += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  const std::filesystem::path folder =
      MakeUniqueFolder((std::filesystem::temp_directory_path() / ("varnholt-" + safe + "-")).string());
  previous = std::filesystem::current_path();
  current = folder;
  std::filesystem::create_directory(current / "Quillfen");
  std::filesystem::current_path(current);
  return current;
}

void LeaveSandbox(bool keep) {
  if (current.empty()) return;
  std::filesystem::current_path(previous);
  if (keep) {
    std::fprintf(stderr, "sandbox kept: %s\n", current.string().c_str());
  } else {
    std::error_code ignored;
    std::filesystem::remove_all(current, ignored);
  }
  current.clear();
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::vector<std::string> LogMessages() {
  static const std::regex prefix(R"(^\[[1-9][0-9]?/[1-9][0-9]?/[0-9]+ [0-9]{1,2}:[0-9]{1,2}:[0-9]{1,2}\] )");
  const std::string text = ReadFile("Quillfen/Log.log");
  std::vector<std::string> messages;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find(kStoredLineEnd, start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    start = end + kStoredLineEnd.size();
    std::smatch match;
    if (std::regex_search(line, match, prefix))
      messages.push_back(match.suffix());
    else
      messages.push_back("<no prefix> " + line);
  }
  return messages;
}

}  // namespace fake
