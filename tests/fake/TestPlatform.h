#pragma once
// What the tests expect differently on Windows, in one place, so the tests themselves stay the same.
#include <filesystem>
#include <string>
#include <string_view>

namespace fake {

// What the plug-in's text-mode writes store for a line feed: CR LF on Windows, LF elsewhere.
#ifdef _WIN32
inline constexpr std::string_view kStoredLineEnd = "\r\n";
#else
inline constexpr std::string_view kStoredLineEnd = "\n";
#endif

// The bytes a text-mode write of `text` stores: every line feed as kStoredLineEnd.
std::string Stored(std::string_view text);

// Creates a new folder whose name is `prefix` followed by a unique suffix, and returns its path.
std::filesystem::path MakeUniqueFolder(const std::string& prefix);

#ifndef _WIN32
// The number of file descriptors the process has open.
std::size_t OpenFileCount();
#endif

}  // namespace fake
