#pragma once
// The run's working folder: laid out as the scenario wants it before the run; after it, what it holds
// and what the plug-in wrote to its log.
#include <string>

#include "program/RunOptions.h"
#include "report/LogCheck.h"
#include "world/Scenario.h"

inline constexpr const char* kLogFile = "Quillfen/Log.log";

// Creates the folder and moves into it; there, unless the run takes the folder as it is, replaces the
// settings file and the log folder by the scenario's. False, with error, when the folder is unusable.
bool PrepareFolder(const Scenario& scenario, const RunOptions& options, std::string& error);
// Everything in the folder, sorted, folders ending in "/"; "empty" when there is nothing.
std::string FolderListing();
// The log as it is now. With held, another program's handle on it (HoldFileOpen), the log is read
// through that handle, as that program sees it, and the handle is released.
LogReading ReadLog(void* held);
