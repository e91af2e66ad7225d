#pragma once
// What the stand-in host does differently on Windows (LoadLibrary, CreateFile, the process's heaps) and
// natively (the plug-in and the bridge linked in, the plug-in's heap counted).
#include <cstdint>
#include <ctime>
#include <string>

#include "bridge/BridgeControl.h"

// Loads the bridge and finds its controls. With a front, the plug-in binds to the front and the controls
// come from the stand-in bridge that it passes every operation on to. Natively neither path is used.
bool LoadBridge(const std::string& path, const std::string& front, BridgeControl& control, std::string& error);
// Loads the plug-in, which registers its script on attach; module is the handle it was loaded at.
bool LoadPlugin(const std::string& path, std::uintptr_t& module, std::string& error);
// Unloads the plug-in, once per load; it unregisters on detach. False when its module is still mapped after.
bool UnloadPlugin();
// Ends the process with the plug-in loaded, as a game that quits does: the plug-in's entry sees the
// process detach of termination (natively the host calls it so).
[[noreturn]] void EndProcessWithPluginLoaded();
// Writes to stdout at once; on Windows through the handle, the C runtime being gone at process exit.
void WriteStdoutNow(const char* text);
void UnloadBridge();

// Where a DLL of that name lies by default: next to the host executable. Empty natively.
std::string DefaultModulePath(const char* fileName);

// Opens a file as another program would, with read and write sharing, for the length of the run; null if not.
void* HoldFileOpen(const std::string& path);
std::string ReadHeldFile(void* held);
void ReleaseHeldFile(void* held);

// Stdout writes bytes as they are (no CR added on Windows).
void SetBinaryStdout();
// Makes binary the C runtime's default for files opened without "t" or "b", as some games do: the
// runtime is shared by every module of the process. Nothing to do natively.
void SetBinaryFileDefault();
bool LocalTime(std::tm& out);

// Memory figures for the long runs: natively the plug-in's own live heap (testkit/Heap.h); on Windows,
// where it shares the heap, the process's: live heap blocks, committed private memory, working set.
struct MemorySample {
  long long blocks = 0, bytes = 0;  // live heap blocks and their bytes
  // The process figures, on Windows only.
  long long privateBytes = 0, peakPrivateBytes = 0;
  long long workingSet = 0, peakWorkingSet = 0;
};

// Whether the samples hold the process figures, and what the heap figures count (natively nothing under
// ThreadSanitizer, whose runtime keeps operator new: testkit/Heap.h).
extern const bool kProcessMemory;
extern const char* const kMemoryWhat;

// Allocates nothing on the heap it measures.
MemorySample TakeMemorySample();

// Host work on the script's thread (answering a native, taking a bridge note): what it allocates is the
// host's, not the plug-in's. Natively only; nothing on Windows.
struct HostWork {
  HostWork();
  ~HostWork();
  HostWork(const HostWork&) = delete;
  HostWork& operator=(const HostWork&) = delete;
};
