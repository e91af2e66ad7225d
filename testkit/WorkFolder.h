#pragma once
// A fresh temporary folder per test (or per fuzzing run, or benchmark), made the working folder, since
// the plug-in finds its settings file and its log relative to it: with the log folder "Quillfen" inside
// unless asked otherwise. Kept for a look when the test failed, removed when it passed.
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Creates the folder (its name starts with varnholt-<name>-), enters it and returns its path.
std::filesystem::path EnterWorkFolder(const std::string& name, bool withLogFolder = true);
// Goes back to the folder that was current before; removes the work folder unless keep is set.
void LeaveWorkFolder(bool keep = false);

std::string ReadBytes(const std::filesystem::path& path);
// Bytes exactly as given (binary mode).
void WriteBytes(const std::filesystem::path& path, const std::string& bytes);

// The log file's lines, split where the plug-in's line end is stored, with their "[d/m/y h:m:s] "
// prefix taken off; a line without a well-formed prefix is given whole, marked "<no prefix> ". From a
// byte offset on, to take only what a step added.
std::vector<std::string> LogMessages(std::size_t fromByte = 0);

// What the plug-in's text-mode writes store for a line feed: CR LF on Windows, LF elsewhere.
#ifdef _WIN32
inline constexpr std::string_view kStoredLineEnd = "\r\n";
#else
inline constexpr std::string_view kStoredLineEnd = "\n";
#endif
// The bytes a text-mode write of `text` stores: every line feed as kStoredLineEnd.
std::string Stored(std::string_view text);

#ifndef _WIN32
std::size_t OpenFileCount();
#endif
