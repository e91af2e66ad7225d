#include "world/ScenarioWords.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

Words SplitWords(const std::string& line) {
  Words words;
  std::istringstream in(line);
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

std::string RestAfter(const std::string& line, int skip) {
  std::size_t i = 0;  // past the words skipped: at the blank after the last, or npos
  for (int w = 0; w < skip; ++w) i = line.find_first_of(" \t", line.find_first_not_of(" \t", i));
  return i < line.size() ? line.substr(i + 1) : std::string();
}

double Number(const std::string& word) {
  errno = 0;
  char* end = nullptr;
  const double value = std::strtod(word.c_str(), &end);
  if (word.empty() || *end != '\0' || errno != 0) throw LineError("'" + word + "' is not a number");
  return value;
}

std::int64_t Integer(const std::string& word, int base) {
  errno = 0;
  char* end = nullptr;
  const long long value = std::strtoll(word.c_str(), &end, base);
  if (word.empty() || *end != '\0' || errno != 0) throw LineError("'" + word + "' is not a whole number");
  return value;
}

bool OnOff(const std::string& word) {
  if (word == "on" || word == "yes") return true;
  if (word == "off" || word == "no") return false;
  throw LineError("expected on or off, not '" + word + "'");
}

void Expect(const Words& w, std::size_t count, const char* usage) {
  if (w.size() != count) throw LineError(std::string("expected: ") + usage);
}
