#include "core/Settings.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "core/Log.h"
#include "core/Platform.h"

SettingsMap* Settings = nullptr;

void InitSettings() {
  SettingsMap defaults;
  defaults.emplace("DisableReticleInScope", "1");
  defaults.emplace("EnableScopeToggle", "1");
  defaults.emplace("ScopeTogglePromptLabel", "Toggle Scope");
  LoadSettingsFile(kSettingsPath, defaults);
}

namespace {
constexpr char kEndOfText = '\x1A';  // Ctrl-Z, which DOS-era editors still append

// The file up to its first Ctrl-Z, as Windows text mode reads it; false when it cannot be opened. A read
// that fails ends the text where it fails: the bytes before it are kept, as if the file ended there (a
// line cut short is read as a last line), and nothing after it is read, even if a retry would succeed.
bool ReadWholeFile(const char* path, std::string& text) {
  // Bytes as they are otherwise; the line splitting folds CR LF itself, exactly as text mode would, so
  // a file reads the same on every platform.
  std::FILE* file = OpenShared(path, FileAccess::ReadBytes);
  if (file == nullptr) return false;
  char buffer[4096];
  try {
    for (;;) {
      // A short count is the end of the file or a failed read, and either ends the text. Waiting for a
      // count of none instead would ask the C library again after a failure, and whether that read goes
      // on past it would depend on how much the library had buffered.
      const std::size_t got = std::fread(buffer, 1, sizeof buffer, file);
      const char* const stop = static_cast<const char*>(std::memchr(buffer, kEndOfText, got));
      text.append(buffer, stop != nullptr ? static_cast<std::size_t>(stop - buffer) : got);
      if (stop != nullptr || got < sizeof buffer) break;  // nothing after a Ctrl-Z is ever read
    }
  } catch (...) {
    std::fclose(file);  // NOLINT(cert-err33-c): what failed is the read, and that goes on up
    throw;
  }
  std::fclose(file);  // NOLINT(cert-err33-c): a failed close of a file only read changes nothing
  return true;
}
}  // namespace

void LoadSettingsFile(const char* path, const SettingsMap& defaults) {
  // The store holds the defaults whatever becomes of the file. A store made by an earlier, failed
  // initialisation is freed: retrying every frame must not leak one each time.
  SettingsMap* const replaced = Settings;
  // Coverage: when the copy throws, new's cleanup tests a flag that is always set; the other side never runs.
  Settings = new SettingsMap(defaults);  // GCOVR_EXCL_BR_LINE
  delete replaced;
  std::string text;
  if (!ReadWholeFile(path, text)) {
    Log("Unable to load from data file, please make sure it exists.");
    return;
  }
  Log(std::string("loading settings file: ") + path);
  std::string line;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    const bool lastLine = end == std::string::npos;
    if (lastLine) end = text.size();
    std::size_t stop = end;
    if (!lastLine && stop > start && text[stop - 1] == '\r') --stop;  // CR LF ends a line like LF
    line.assign(text, start, stop - start);
    ParseSettingsLine(line);
    start = end + 1;
  }
  Log("settings file loaded");
}

void ParseSettingsLine(const std::string& line) {
  if (line.empty()) return;
  const char first = line.front();
  if (first == '/' || first == ';' || first == '[' || first == '\\') return;  // comments, section headers
  std::vector<std::string> pieces = SplitString(line, '=');
  if (pieces.size() == 2) {
    (*Settings)[std::move(pieces[0])] = std::move(pieces[1]);
    return;
  }
  Log("cannot parse line: " + line +
      ", please make sure it is assembled of the correct format (<setting_name>=<settings_value>).");
}

std::vector<std::string> SplitString(const std::string& text, char delimiter) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(delimiter, start);
    if (end == std::string::npos) end = text.size();
    pieces.emplace_back(text, start, end - start);
    start = end + 1;
  }
  return pieces;
}

std::string GetSetting(const char* name) {
  if (Settings == nullptr) return std::string();
  const auto found = Settings->find(std::string_view(name));
  return found == Settings->end() ? std::string() : found->second;
}

int ParseSettingInt(const std::string& value) {
  // strtol's reading, by hand so that the range is 32 bits whatever the width of long. No index is
  // checked against the size: value[size()] is the string's NUL, which is no blank, sign or digit, so
  // every step stops there (and at a NUL inside the value, as strtol does).
  std::size_t i = 0;
  const auto isSpace = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  while (isSpace(value[i])) ++i;
  bool negative = false;
  if (value[i] == '+' || value[i] == '-') negative = value[i++] == '-';
  const std::size_t digitsStart = i;
  std::int64_t magnitude = 0;
  bool tooLarge = false;
  for (; value[i] >= '0' && value[i] <= '9'; ++i) {
    if (!tooLarge) {
      magnitude = magnitude * 10 + (value[i] - '0');
      tooLarge = magnitude > std::int64_t{1} << 31;  // past every 32-bit magnitude; stop growing
    }
  }
  if (i == digitsStart) throw std::invalid_argument("invalid stoi argument");
  const std::int64_t number = negative ? -magnitude : magnitude;
  // No magnitude past 2^31 gets here, so the lower bound holds already; 2^31 itself fits negated only.
  if (tooLarge || number > std::numeric_limits<std::int32_t>::max())
    throw std::out_of_range("stoi argument out of range");
  return static_cast<int>(number);
}

bool GetSettingBool(const char* name) {
  // Looked up and read anew on every call, without copying the value.
  if (Settings == nullptr) return false;
  const auto found = Settings->find(std::string_view(name));
  if (found == Settings->end() || found->second.empty()) return false;
  const int number = ParseSettingInt(found->second);
  return number != 0 && number != -1;
}
