#pragma once
// The plug-in's diagnostic record: "Quillfen/Log.log" in the working directory, only ever appended to.
#include <ctime>
#include <string>

inline constexpr const char* kLogPath = "Quillfen/Log.log";

// Appends "[d/m/yyyy h:m:s] " and the message (up to its first NUL) as one line. Opens and closes the
// file on every call so that nothing is lost if the game dies; never raises, never creates the folder.
void Log(const char* message) noexcept;
inline void Log(const std::string& message) noexcept { Log(message.c_str()); }

// Writes the timestamp prefix for a local time into out, NUL-terminated; returns its length.
// No field is zero-padded: 7 March 2026 09:05:03 is "[7/3/2026 9:5:3] ".
// Room for the widest prefix and its NUL: the six numbers come from the int fields of std::tm (the month
// and the year with 1 and 1900 added), and none of them is wider than 11 characters.
inline constexpr std::size_t kLogPrefixCapacity =
    sizeof "[-2147483648/-2147483648/-2147483648 -2147483648:-2147483648:-2147483648] ";
std::size_t FormatLogPrefix(const std::tm& local, char (&out)[kLogPrefixCapacity]) noexcept;

// The same as Log, at a given local time and into a given file: what Log does after reading the clock.
void AppendLogLine(const char* path, const std::tm& local, const char* message) noexcept;
