#pragma once
// The few things that differ between Windows and elsewhere. PlatformWindows.cpp and PlatformPosix.cpp
// each implement the first three, RuntimeMemory.cpp the last, in a file of its own so that a test can
// put its own in its place; nothing else in the plug-in needs an operating-system header.
#include <cstdint>
#include <cstdio>
#include <ctime>

// The system's millisecond tick count, wrapping at 32 bits.
std::uint32_t TickCount();

enum class FileAccess {
  ReadBytes,   // every byte as it is
  AppendText,  // created if missing; on Windows each line feed is written as CR LF
};

// Opens a file through the C library with a share mode that denies nothing to other processes, so that
// a player can keep the log or the settings open in an editor. Null when the open fails.
std::FILE* OpenShared(const char* path, FileAccess access);

// The local broken-down time of now, through the platform's thread-safe conversion. False on failure.
bool LocalTimeNow(std::tm& out);

// On a dynamic unload (FreeLibrary), once nothing of the plug-in can run again: hands back to the
// process heap what the C++ runtime linked into the DLL would otherwise keep until the process ends.
// Does nothing where that runtime is not linked in or not GCC's.
void ReleaseRuntimeMemory();
