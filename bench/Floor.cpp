#include "Floor.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <list>
#include <utility>

#include "core/Log.h"
#include "core/Settings.h"
#include "testkit/BridgeCore.h"
#include "testkit/Catalogue.h"
#include "testkit/Game.h"
#include "testkit/WorkFolder.h"

namespace {
std::vector<RecordedFrame>* recording = nullptr;
UINT64 cell = 0;  // the floor's output cell
// Copies of the plug-in's texts, which live only during the call: a list, which moves none as it grows.
std::list<std::string> texts;
std::size_t logBytes = 0;

void RecordCall(const NativeCall& call, bool) {
  RecordedCall recorded{call.hash, std::vector<UINT64>(call.args, call.args + call.count)};
  const NativeEntry* native = natives::Find(call.hash);
  for (std::size_t i = 0; native != nullptr && i < call.count && native->args[i] != '\0'; ++i) {
    if (native->args[i] == 's' && call.Text(i) != nullptr)
      recorded.args[i] = reinterpret_cast<std::uintptr_t>(texts.emplace_back(call.Text(i)).c_str());
    if (native->args[i] == 'c') recorded.args[i] = reinterpret_cast<std::uintptr_t>(&cell);
  }
  recording->back().calls.push_back(std::move(recorded));
}

// The switches are the settings whose defaults are numbers: every frame reads them, in the store's
// order, until one fails to read.
const std::vector<std::string>& Switches() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> found;
    SettingsMap* const store = std::exchange(Settings, nullptr);  // kept: loading would free it
    std::rename(kSettingsPath, "kept.ini");
    InitSettings();  // the defaults alone
    for (const auto& [name, value] : *Settings) {
      char* end = nullptr;
      std::strtol(value.c_str(), &end, 10);
      if (!value.empty() && *end == '\0') found.push_back(name);
    }
    delete std::exchange(Settings, store);
    std::rename("kept.ini", kSettingsPath);
    return found;
  }();
  return names;
}

// A switch read the plainest way: found by name, then strtol with the checks a 32-bit read needs.
bool ReadSwitch(const std::string& name) {
  const auto found = Settings->find(name);
  if (found == Settings->end() || found->second.empty()) return true;
  const char* text = found->second.c_str();
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text, &end, 10);
  benchmark::DoNotOptimize(value);
  return end != text && errno != ERANGE && value >= INT_MIN && value <= INT_MAX;
}
}  // namespace

std::vector<RecordedFrame> RecordFrames(const std::function<void()>& run) {
  Switches();
  std::vector<RecordedFrame> frames(1);
  recording = &frames;
  logBytes = ReadBytes(kLogPath).size();
  BridgeSetHooks(AnswerFromGame, nullptr, RecordCall);
  run();
  BridgeSetHooks(AnswerFromGame, nullptr, nullptr);
  frames.pop_back();  // the one the last EndRecordedFrame began
  recording = nullptr;
  return frames;
}

void EndRecordedFrame() {
  const std::string log = ReadBytes(kLogPath);
  for (std::size_t start = logBytes, next = 0; start < log.size(); start = next) {
    next = std::min(log.find('\n', start), log.size() - 1) + 1;  // past its line feed, or the end
    recording->back().logLines.push_back(log.substr(start, next - start));
  }
  logBytes = log.size();
  recording->emplace_back();
}

void PlayFloor(const RecordedFrame& frame) {
  for (const RecordedCall& call : frame.calls) {
    nativeInit(call.hash);
    for (const UINT64 arg : call.args) nativePush64(arg);
    benchmark::DoNotOptimize(nativeCall());
  }
  for (const std::string& name : Switches())
    if (!ReadSwitch(name)) break;
  for (const std::string& line : frame.logLines)
    if (std::FILE* file = std::fopen(kLogPath, "a")) {
      std::fwrite(line.data(), 1, line.size(), file);
      std::fclose(file);
    }
}
