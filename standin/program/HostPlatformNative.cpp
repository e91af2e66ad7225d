// The native host: the plug-in's library and the bridge are linked in; loading is calling the entry.
// The plug-in's blocks are those made on the script's thread outside the host's work, wherever freed.
#include <time.h>

#include <cstdio>
#include <cstdlib>

#include "host/Script.h"
#include "program/HostPlatform.h"
#include "testkit/Heap.h"
#include "testkit/ScriptRunner.h"

const bool kProcessMemory = false;
const char* const kMemoryWhat = kHeapWatched ? "the plug-in's live heap, through operator new"
                                             : "not counted: this build keeps its sanitizer's operator new";

namespace {
// Stands for the plug-in's module handle: something with an address of its own.
char pluginImage;
HMODULE PluginModule() { return reinterpret_cast<HMODULE>(&pluginImage); }

thread_local int hostWork = 0;
bool PluginAllocates() { return hostWork == 0 && OnScript(); }
const bool counting = (HeapCounts = PluginAllocates, true);
}  // namespace

bool LoadBridge(const std::string&, const std::string&, BridgeControl& control, std::string&) {
  control = BridgeControl{&BridgeSetHooks, &BridgeRunFrame, &BridgeDeliverKey, &BridgeShutdown};
  return true;
}

bool LoadPlugin(const std::string&, std::uintptr_t& module, std::string&) {
  DllMain(PluginModule(), 1, nullptr);  // process attach
  module = reinterpret_cast<std::uintptr_t>(PluginModule());
  return true;
}

bool UnloadPlugin() {
  // Process detach. The plug-in's globals stay until the process ends: it is linked in, not unloaded.
  DllMain(PluginModule(), 0, nullptr);
  return true;
}

void UnloadBridge() {}

void WriteStdoutNow(const char* text) {
  std::fputs(text, stdout);
  std::fflush(stdout);
}

void EndProcessWithPluginLoaded() {
  DllMain(PluginModule(), 0, reinterpret_cast<void*>(1));  // the loader's detach when the process ends
  std::exit(0);
}

std::string DefaultModulePath(const char*) { return std::string(); }

void* HoldFileOpen(const std::string& path) { return std::fopen(path.c_str(), "a+b"); }

std::string ReadHeldFile(void* held) {
  std::FILE* file = static_cast<std::FILE*>(held);
  std::string content;
  std::fflush(file);
  if (std::fseek(file, 0, SEEK_SET) != 0) return content;
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) content.append(buffer, got);
  return content;
}

void ReleaseHeldFile(void* held) { std::fclose(static_cast<std::FILE*>(held)); }

void SetBinaryStdout() {}
void SetBinaryFileDefault() {}

bool LocalTime(std::tm& out) {
  const std::time_t now = std::time(nullptr);
  return localtime_r(&now, &out) != nullptr;
}

MemorySample TakeMemorySample() {
  const HeapFigures heap = HeapNow();
  return MemorySample{heap.liveBlocks, heap.liveBytes};
}

HostWork::HostWork() { ++hostWork; }
HostWork::~HostWork() { --hostWork; }
