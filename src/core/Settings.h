#pragma once
// The settings store: the built-in defaults with the lines of "Varnholt.ini" over them, read once at
// start-up and only read afterwards.
#include <functional>
#include <map>
#include <string>
#include <vector>

// Names compare byte by byte, as unsigned bytes, shorter first on a common start: the order of
// std::string. Transparent, so that a lookup by a string view allocates nothing.
using SettingsMap = std::map<std::string, std::string, std::less<>>;

inline constexpr const char* kSettingsPath = "Varnholt.ini";

// The store; null until LoadSettingsFile runs, then kept for the life of the module (only a store that a
// retried start-up replaces is freed).
extern SettingsMap* Settings;

// Defaults, then LoadSettingsFile("Varnholt.ini").
void InitSettings();
// Makes a new store from the defaults, then applies the file's lines over them, logging the loading and
// every rejected line. File problems are logged, never raised.
void LoadSettingsFile(const char* path, const SettingsMap& defaults);
// One line without its line end: comments and empty lines are skipped, "name=value" is stored, anything
// else is logged as rejected.
void ParseSettingsLine(const std::string& line);
// The pieces of text between delimiters. A trailing delimiter adds no empty piece; an empty text has none.
std::vector<std::string> SplitString(const std::string& text, char delimiter);

// The value under name, or empty.
std::string GetSetting(const char* name);
// A switch: empty is false; otherwise the leading integer (strtol rules, 32-bit range), false for 0 and
// -1. Throws std::invalid_argument("invalid stoi argument") or std::out_of_range("stoi argument out of
// range") when the value has no number or one out of range.
bool GetSettingBool(const char* name);
// The integer reading used by GetSettingBool, on a raw value.
int ParseSettingInt(const std::string& value);
