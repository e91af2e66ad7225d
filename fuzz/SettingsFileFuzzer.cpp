// Arbitrary bytes as a settings file, through the real loader, checked against a plain model of the line
// rules: what the store must hold afterwards, and which messages the log must have received, in order.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "core/Settings.h"
#include "testkit/WorkFolder.h"

namespace {
// Says why, and stops the run with the input kept as a crash artifact.
[[noreturn]] void Mismatch(const std::string& why = "") {
  std::fprintf(stderr, "%s", why.c_str());
  std::fflush(stderr);
  std::abort();
}

using Model = std::map<std::string, std::string>;

const char* const kPath = "fuzzed.ini";
const char* const kLog = "Quillfen/Log.log";

struct Expected {
  Model store;
  std::vector<std::string> log;
};

// One line of the file, by the rules as a player would read them: comments and empty lines do nothing;
// otherwise the line needs one "=" with something after it, or two with the second one last.
void ApplyLine(const std::string& line, Expected& out) {
  if (line.empty() || line[0] == '/' || line[0] == ';' || line[0] == '[' || line[0] == '\\') return;
  const auto signs = std::ranges::count(line, '=');
  const bool endsWithSign = line.back() == '=';
  const std::size_t first = line.find('=');
  if (signs == 1 && !endsWithSign) {
    out.store[line.substr(0, first)] = line.substr(first + 1);
  } else if (signs == 2 && endsWithSign) {
    out.store[line.substr(0, first)] = line.substr(first + 1, line.size() - first - 2);
  } else {
    const std::string message = "cannot parse line: " + line +
                                ", please make sure it is assembled of the correct format "
                                "(<setting_name>=<settings_value>).";
    out.log.push_back(message.substr(0, message.find('\0')));  // the log stops a message at its first NUL
  }
}

Expected Predict(const std::string& bytes, const Model& defaults) {
  Expected out{defaults, {"loading settings file: " + std::string(kPath)}};
  // The file ends at its first Ctrl-Z, as in Windows text mode.
  const std::string file = bytes.substr(0, bytes.find('\x1A'));
  // Every line feed ends a line (a carriage return right before it goes with it); whatever follows the
  // last line feed, even nothing, is the last line.
  for (std::size_t start = 0, feed = 0; feed != std::string::npos; start = feed + 1) {
    feed = file.find('\n', start);
    std::string line = file.substr(start, feed - start);
    if (feed != std::string::npos && line.ends_with('\r')) line.pop_back();
    ApplyLine(line, out);
  }
  out.log.push_back("settings file loaded");
  return out;
}

void Show(const char* what, const std::string& text) {
  std::fprintf(stderr, "  %s [%zu bytes] \"", what, text.size());
  for (const unsigned char c : text) {
    if (c >= 0x20 && c < 0x7f && c != '"' && c != '\\')
      std::fputc(c, stderr);
    else
      std::fprintf(stderr, "\\x%02x", c);
  }
  std::fprintf(stderr, "\"\n");
}
}  // namespace

SettingsMap defaults;

// The settings file and the log are relative to the working folder: never the repository's. There is no
// settings file there yet, so the store the plug-in starts from holds just its defaults.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  EnterWorkFolder("fuzz");
  std::atexit([] { LeaveWorkFolder(); });
  InitSettings();
  defaults = *Settings;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string file(reinterpret_cast<const char*>(data), size);
  WriteBytes(kPath, file);
  WriteBytes(kLog, "");

  LoadSettingsFile(kPath, defaults);
  const Expected expected = Predict(file, Model(defaults.begin(), defaults.end()));

  // Same entries in the same order: the store's own order must be plain byte order.
  if (Settings == nullptr ||
      !std::equal(Settings->begin(), Settings->end(), expected.store.begin(), expected.store.end())) {
    std::fprintf(stderr, "store differs from the model\n");
    if (Settings != nullptr)
      for (const auto& [name, value] : *Settings) Show("store", name + "=" + value);
    for (const auto& [name, value] : expected.store) Show("model", name + "=" + value);
    Mismatch();
  }
  // The log's messages without their "[d/m/y h:m:s] " prefix; a malformed one is marked, so it differs.
  const std::vector<std::string> logged = LogMessages();
  if (!ReadBytes(kLog).ends_with('\n')) Mismatch("log line without its line end\n");
  if (logged != expected.log) {
    std::fprintf(stderr, "log differs from the model\n");
    for (const std::string& m : logged) Show("logged", m);
    for (const std::string& m : expected.log) Show("model", m);
    Mismatch();
  }
  delete Settings;  // the loader makes a new store each time; the game's one lives for ever
  Settings = nullptr;
  return 0;
}
