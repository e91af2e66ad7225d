#include "program/LongRun.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <vector>

#include "bridge/BridgeControl.h"
#include "program/HostPlatform.h"

namespace {
struct FrameSample {
  int frame;
  MemorySample memory;
  long long logBytes;
};

std::vector<int> memoryAt;
int cycles = 1;
std::vector<FrameSample> frameSamples;  // of the first cycle
std::vector<MemorySample> cycleSamples;
std::vector<std::string> cycleProblems;

// What the current cycle did: the bridge's notes of registering and withdrawing, by note; the unloads.
constexpr int kCountedNotes = kNoteKeyboardUnregistered + 1;
const char* const kCountedWhat[kCountedNotes] = {"the script registered", "the script withdrawn",
                                                 "the keyboard handler registered", "the keyboard handler withdrawn"};
struct CycleEvents {
  int notes[kCountedNotes] = {};
  int unloads = 0;
  bool unmapped = true;
};
CycleEvents cycle;

// A whole number from 1 to 999,999,999.
bool ParseCount(const std::string& text, int& out) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  out = std::stoi(text);
  return out > 0;
}

long long LogBytes() {
  std::error_code ec;
  const auto size = std::filesystem::file_size("Quillfen/Log.log", ec);
  return ec ? 0 : static_cast<long long>(size);
}

std::string Signed(long long n) { return (n >= 0 ? "+" : "") + std::to_string(n); }
std::string KiB(long long bytes) { return std::to_string(bytes / 1024) + " KiB"; }
double Per(long long total, double count) { return static_cast<double>(total) / count; }

std::string Describe(const MemorySample& m) {
  std::string out = "heap " + std::to_string(m.blocks) + " blocks, " + std::to_string(m.bytes) + " bytes";
  if (kProcessMemory)
    out += "; private " + KiB(m.privateBytes) + " (peak " + KiB(m.peakPrivateBytes) + "); working set " +
           KiB(m.workingSet) + " (peak " + KiB(m.peakWorkingSet) + ")";
  return out;
}

// Judged by the heap alone: the process's private memory is the kernel's figure, which moves with pages
// that Wine and the loader map for themselves, so it is shown but never decides.
bool Same(const MemorySample& a, const MemorySample& b) { return a.blocks == b.blocks && a.bytes == b.bytes; }

std::string FrameReport() {
  if (frameSamples.empty()) return std::string();
  std::string out = std::string("\nMemory (") + kMemoryWhat + "):\n";
  for (const FrameSample& s : frameSamples)
    out += "  after frame " + std::to_string(s.frame) + ": " + Describe(s.memory) + "; log " +
           std::to_string(s.logBytes) + " bytes\n";
  if (frameSamples.size() < 2) return out;
  const FrameSample &a = frameSamples.front(), &b = frameSamples.back();
  out += "  from frame " + std::to_string(a.frame) + " to frame " + std::to_string(b.frame) + ": ";
  out += Same(a.memory, b.memory) ? "memory stays the same"
                                  : "memory grows: heap " + Signed(b.memory.blocks - a.memory.blocks) + " blocks, " +
                                        Signed(b.memory.bytes - a.memory.bytes) + " bytes";
  if (kProcessMemory)
    out += " (private " + Signed((b.memory.privateBytes - a.memory.privateBytes) / 1024) + " KiB, not judged)";
  const double perFrame = Per(b.logBytes - a.logBytes, b.frame - a.frame);
  if (perFrame == 0) return out + "; the log does not grow\n";
  char growth[160];
  std::snprintf(growth, sizeof growth, "; the log grows by %.1f bytes a frame, %.1f MB an hour at 60 frames a second\n",
                perFrame, perFrame * 60 * 3600 / 1e6);
  return out + growth;
}

std::string CycleReport() {
  if (cycles < 2) return std::string();
  std::string out = "\nLoad and unload cycles in one process: " + std::to_string(cycles) + "\n";
  if (cycleProblems.empty())
    out += "  every cycle registered and withdrew the script and the keyboard handler, and unmapped the plug-in\n";
  for (const std::string& problem : cycleProblems) out += "  ! " + problem + "\n";
  if (cycleSamples.size() < 2) return out;
  out += std::string("  memory (") + kMemoryWhat + "):\n";
  for (std::size_t i = 0; i < cycleSamples.size(); ++i)
    if (i < 2 || i + 1 == cycleSamples.size())
      out += "  after cycle " + std::to_string(i + 1) + ": " + Describe(cycleSamples[i]) + "\n";
  // From the second cycle on: the first also pays for whatever is set up once per process.
  std::vector<long long> left;
  for (std::size_t i = 1; i < cycleSamples.size(); ++i)
    left.push_back(cycleSamples[i].bytes - cycleSamples[i - 1].bytes);
  const auto [least, most] = std::minmax_element(left.begin(), left.end());
  const MemorySample &first = cycleSamples.front(), &last = cycleSamples.back();
  const double n = static_cast<double>(cycleSamples.size() - 1);
  char line[240];
  std::snprintf(line, sizeof line, "  each cycle after the first leaves %.1f heap blocks, %.1f bytes",
                Per(last.blocks - first.blocks, n), Per(last.bytes - first.bytes, n));
  out += line;
  out += *least == *most ? " (the same heap bytes every cycle)"
                         : " (from " + std::to_string(*least) + " to " + std::to_string(*most) + " heap bytes a cycle)";
  if (kProcessMemory) {
    std::snprintf(line, sizeof line, "; private %.1f KiB, not judged",
                  Per(last.privateBytes - first.privateBytes, n * 1024));
    out += line;
  }
  return out + "\n";
}
}  // namespace

bool SetLongRunOption(const std::string& flag, const std::string& value, RunOptions& options) {
  if (flag == "--frames") return ParseCount(value, options.frames);
  if (flag == "--cycles") return ParseCount(value, options.cycles);
  options.memoryAt.clear();
  std::istringstream counts(value + ",");  // each count ends in a comma, so that an empty last one is read too
  for (std::string count; std::getline(counts, count, ',');) {
    int frame = 0;
    if (!ParseCount(count, frame) || (!options.memoryAt.empty() && frame <= options.memoryAt.back())) return false;
    options.memoryAt.push_back(frame);
  }
  return true;
}

void LongRunStart(const RunOptions& options) {
  memoryAt = options.memoryAt;
  cycles = options.cycles;
  frameSamples.clear();
  cycleSamples.clear();
  cycleProblems.clear();
  cycle = CycleEvents{};
  frameSamples.reserve(memoryAt.size());
  cycleSamples.reserve(static_cast<std::size_t>(cycles));
}

void LongRunNote(int note) {
  if (note >= 0 && note < kCountedNotes) ++cycle.notes[note];
}

void LongRunAfterFrame(int framesRun) {
  if (!cycleSamples.empty() || !std::binary_search(memoryAt.begin(), memoryAt.end(), framesRun)) return;
  const MemorySample memory = TakeMemorySample();  // before anything below allocates
  frameSamples.push_back(FrameSample{framesRun, memory, LogBytes()});
}

void LongRunUnloaded(bool unmapped) {
  ++cycle.unloads;
  cycle.unmapped = cycle.unmapped && unmapped;
}

void LongRunAfterCycle(int number) {
  if (cycles > 1) cycleSamples.push_back(TakeMemorySample());
  const CycleEvents done = cycle;
  cycle = CycleEvents{};
  std::string wrong;
  const auto once = [&wrong](int times, const char* what) {
    if (times != 1) wrong += ", " + std::string(what) + " " + std::to_string(times) + " times";
  };
  for (int note = 0; note < kCountedNotes; ++note) once(done.notes[note], kCountedWhat[note]);
  once(done.unloads, "the plug-in unloaded");
  if (!done.unmapped) wrong += ", the plug-in's module still mapped after unloading";
  if (!wrong.empty()) cycleProblems.push_back("cycle " + std::to_string(number) + ": " + wrong.substr(2));
}

std::string LongRunReport() { return FrameReport() + CycleReport(); }
