#pragma once
// A fresh temporary folder per test, made the current directory, with the plug-in's "Quillfen" log
// folder inside. Kept for a look when the test failed, removed when it passed.
#include <filesystem>
#include <string>
#include <vector>

namespace fake {

// Creates the folder (its name starts with `name`), enters it and returns its path.
std::filesystem::path EnterSandbox(const std::string& name);
// Goes back to the directory that was current before; removes the sandbox unless keep is set.
void LeaveSandbox(bool keep);

std::string ReadFile(const std::filesystem::path& path);
// Bytes exactly as given (binary mode).
void WriteFile(const std::filesystem::path& path, const std::string& bytes);

// The log file's lines, split where the plug-in's line end is stored, with their "[d/m/y h:m:s] " prefix
// taken off; a line without a well-formed prefix is given whole, marked "<no prefix> ".
std::vector<std::string> LogMessages();

}  // namespace fake
