#pragma once
// The settings store: the built-in defaults with the lines of "Varnholt.ini" over them, read once at
// start-up and only read afterwards.
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// Names compare byte by byte (as unsigned bytes, shorter first on a common start). Transparent, so a
// lookup by C string allocates nothing; the first byte is tried inline because it settles most steps of
// a lookup among the few names of the store.
struct SettingNameOrder {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const noexcept {
    if (!a.empty() && !b.empty() && a.front() != b.front())
      return static_cast<unsigned char>(a.front()) < static_cast<unsigned char>(b.front());
    return a < b;
  }
};
using SettingsMap = std::map<std::string, std::string, SettingNameOrder>;

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
