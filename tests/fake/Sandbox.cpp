#include "fake/Sandbox.h"

#include <stdlib.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>

namespace fake {
namespace {
std::filesystem::path previous;
std::filesystem::path current;
}  // namespace

std::filesystem::path EnterSandbox(const std::string& name) {
  std::string safe;
  for (const char c : name) safe += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  std::string pattern = (std::filesystem::temp_directory_path() / ("varnholt-" + safe + "-XXXXXX")).string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a sandbox folder");
  previous = std::filesystem::current_path();
  current = pattern;
  std::filesystem::create_directory(current / "Quillfen");
  std::filesystem::current_path(current);
  return current;
}

void LeaveSandbox(bool keep) {
  if (current.empty()) return;
  std::filesystem::current_path(previous);
  if (keep) {
    std::fprintf(stderr, "sandbox kept: %s\n", current.c_str());
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
  std::istringstream in(ReadFile("Quillfen/Log.log"));
  std::vector<std::string> messages;
  std::string line;
  while (std::getline(in, line)) {
    std::smatch match;
    if (std::regex_search(line, match, prefix))
      messages.push_back(match.suffix());
    else
      messages.push_back("<no prefix> " + line);
  }
  return messages;
}

}  // namespace fake
