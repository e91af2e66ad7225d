#pragma once
// Long runs of the stand-in host: memory after chosen frames, the log's growth, and load-unload cycles
// of the plug-in in one process with what each cycle leaves behind.
#include <string>

#include "program/RunOptions.h"

// Takes the value of --frames, --memory-at (rising frame counts, comma-separated) or --cycles; false if bad.
bool SetLongRunOption(const std::string& flag, const std::string& value, RunOptions& options);

// Before the first load: room for every sample, so that keeping them does not grow the heap measured.
void LongRunStart(const RunOptions& options);
void LongRunNote(int note);
// After each frame of a cycle; samples memory after the frame counts asked for.
void LongRunAfterFrame(int framesRun);
// After each unloading of the plug-in: whether its module is gone.
void LongRunUnloaded(bool unmapped);
// After each cycle: checks it registered and withdrew both handlers and unmapped the DLL once; samples memory.
void LongRunAfterCycle(int cycle);
// The figures, for the end of the report; empty when none were asked for.
std::string LongRunReport();
