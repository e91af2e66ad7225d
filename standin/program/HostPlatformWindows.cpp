// The Windows host: the bridge and the plug-in are DLLs loaded the way the game loads them. The plug-in's
// C runtime shares the process's heaps with the host, Wine's own libraries and the bridge.
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include <cstdio>
#include <cstdlib>

#include "program/HostPlatform.h"

const bool kProcessMemory = true;
const char* const kMemoryWhat =
    "the host process: the live blocks of all its heaps, its private memory and working set";

namespace {
HMODULE bridgeModule = nullptr;  // the stand-in bridge, with the host's controls
HMODULE frontModule = nullptr;   // a front that the plug-in binds to instead, holding the stand-in
const char* const kFrontTarget = "StandinBridge.dll";
HMODULE pluginModule = nullptr;

std::string LastError() { return "Windows error " + std::to_string(GetLastError()); }

bool Fail(std::string& error, const std::string& what) {
  error = what;
  return false;
}

template <class Function>
bool Find(const char* name, Function& out, std::string& error) {
  const FARPROC found = GetProcAddress(bridgeModule, name);
  if (found == nullptr) return Fail(error, std::string("the bridge DLL does not export ") + name);
  // Through the generic function type, which the compiler accepts as a cast target.
  out = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
  return true;
}
}  // namespace

bool LoadBridge(const std::string& path, const std::string& front, BridgeControl& control, std::string& error) {
  if (!front.empty()) {
    // The front's own folder is searched for what it imports, so it binds to the stand-in beside it.
    // The plug-in then binds to the front: a module named ScriptBridge.dll is already loaded.
    frontModule = LoadLibraryExA(front.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (frontModule == nullptr) return Fail(error, "cannot load the bridge front " + front + " (" + LastError() + ")");
    bridgeModule = GetModuleHandleA(kFrontTarget);
    if (bridgeModule == nullptr)
      return Fail(error, std::string("the bridge front ") + front + " did not bring in " + kFrontTarget);
  } else {
    bridgeModule = LoadLibraryA(path.c_str());
    if (bridgeModule == nullptr) return Fail(error, "cannot load the bridge " + path + " (" + LastError() + ")");
  }
  return Find("BridgeSetHooks", control.setHooks, error) && Find("BridgeRunFrame", control.runFrame, error) &&
         Find("BridgeDeliverKey", control.deliverKey, error) && Find("BridgeShutdown", control.shutdown, error);
}

bool LoadPlugin(const std::string& path, std::uintptr_t& module, std::string& error) {
  pluginModule = LoadLibraryA(path.c_str());
  if (pluginModule == nullptr) return Fail(error, "cannot load the plug-in " + path + " (" + LastError() + ")");
  module = reinterpret_cast<std::uintptr_t>(pluginModule);
  return true;
}

bool UnloadPlugin() {
  FreeLibrary(pluginModule);
  // Gone means no module contains the address it was loaded at any more.
  HMODULE still = nullptr;
  const bool mapped =
      GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCSTR>(pluginModule), &still) != 0;
  return !mapped;
}

// Also while the loader detaches the plug-in at process exit: Windows calls only, no object of the
// host's own, which the C runtime has destroyed by then.
void WriteStdoutNow(const char* text) {
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, static_cast<DWORD>(lstrlenA(text)), &written, nullptr);
}

// As a game returns from its main: the C runtime ends, then the loader detaches the DLLs.
void EndProcessWithPluginLoaded() { std::exit(0); }

void UnloadBridge() {
  // A front, and with it the stand-in, which only the front holds; or else the bridge itself.
  if (const HMODULE held = frontModule != nullptr ? frontModule : bridgeModule) FreeLibrary(held);
  frontModule = bridgeModule = nullptr;
}

std::string DefaultModulePath(const char* fileName) {
  char path[MAX_PATH * 4];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  const std::string exe(path, length);
  return exe.substr(0, exe.find_last_of("\\/") + 1) + fileName;  // npos + 1: no folder at all
}

void* HoldFileOpen(const std::string& path) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  return file == INVALID_HANDLE_VALUE ? nullptr : file;
}

std::string ReadHeldFile(void* held) {
  std::string content;
  if (SetFilePointer(held, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return content;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(held, buffer, sizeof buffer, &got, nullptr) && got > 0) content.append(buffer, got);
  return content;
}

void ReleaseHeldFile(void* held) { CloseHandle(held); }

void SetBinaryStdout() {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

void SetBinaryFileDefault() { _fmode = _O_BINARY; }

bool LocalTime(std::tm& out) {
  const std::time_t now = std::time(nullptr);
  return localtime_s(&out, &now) == 0;
}

MemorySample TakeMemorySample() {
  MemorySample m;
  HANDLE heaps[256];  // on the stack: nothing may be allocated while the heaps are walked
  const DWORD count = GetProcessHeaps(256, heaps);
  for (DWORD i = 0; i < count && i < 256; ++i) {
    if (!HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heaps[i], &entry)) {
      if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) == 0) continue;
      ++m.blocks;
      m.bytes += static_cast<long long>(entry.cbData);
    }
    HeapUnlock(heaps[i]);
  }
  // The page-file figures are the committed private memory; Wine leaves PrivateUsage at 0.
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) {
    m.privateBytes = static_cast<long long>(counters.PagefileUsage);
    m.peakPrivateBytes = static_cast<long long>(counters.PeakPagefileUsage);
    m.workingSet = static_cast<long long>(counters.WorkingSetSize);
    m.peakWorkingSet = static_cast<long long>(counters.PeakWorkingSetSize);
  }
  return m;
}

HostWork::HostWork() {}
HostWork::~HostWork() {}
