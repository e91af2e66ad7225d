// Arbitrary values read as a switch, checked against the C library's own reading: strtoll in base 10
// (leading white space, one sign, digits, anything after them ignored), limited to the 32-bit range.
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "core/Settings.h"
#include "testkit/WorkFolder.h"

namespace {
enum class Outcome { False, True, NoNumber, OutOfRange, OtherError };

struct Reading {
  Outcome outcome;
  std::string message;
};

// The value as the C library reads a NUL-terminated string: its first NUL ends it.
Reading Reference(const std::string& value) {
  if (value.empty()) return {Outcome::False, ""};
  const char* text = value.c_str();
  char* end = nullptr;
  errno = 0;
  const long long number = std::strtoll(text, &end, 10);
  if (end == text) return {Outcome::NoNumber, "invalid stoi argument"};
  if (errno == ERANGE || number < INT32_MIN || number > INT32_MAX)
    return {Outcome::OutOfRange, "stoi argument out of range"};
  return {number != 0 && number != -1 ? Outcome::True : Outcome::False, ""};
}

Reading Actual(const char* name) {
  try {
    return {GetSettingBool(name) ? Outcome::True : Outcome::False, ""};
  } catch (const std::invalid_argument& e) {
    return {Outcome::NoNumber, e.what()};
  } catch (const std::out_of_range& e) {
    return {Outcome::OutOfRange, e.what()};
  } catch (const std::exception& e) {
    return {Outcome::OtherError, e.what()};
  }
}

void Check(const std::string& value, const Reading& want, const Reading& got) {
  if (want.outcome == got.outcome && want.message == got.message) return;
  const char* const name[] = {"false", "true", "invalid argument", "out of range", "another error"};
  std::fprintf(stderr, "value [%zu bytes]:", value.size());
  for (const unsigned char c : value) std::fprintf(stderr, " %02x", c);
  std::fprintf(stderr, "\n  expected %s \"%s\", got %s \"%s\"\n", name[static_cast<int>(want.outcome)],
               want.message.c_str(), name[static_cast<int>(got.outcome)], got.message.c_str());
  std::fflush(stderr);
  std::abort();  // the input is kept as a crash artifact
}
}  // namespace

// The settings file and the log are relative to the working folder: never the repository's.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  EnterWorkFolder("fuzz");
  std::atexit([] { LeaveWorkFolder(); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string value(reinterpret_cast<const char*>(data), size);
  SettingsMap store{{"DisableReticleInScope", "1"}, {"EnableScopeToggle", value}};
  Settings = &store;
  Check(value, Reference(value), Actual("EnableScopeToggle"));
  // Reading never changes the store, so a second read gives the same answer.
  Check(value, Reference(value), Actual("EnableScopeToggle"));
  // A name the store does not hold reads as off.
  Check(value, Reading{Outcome::False, ""}, Actual("EnableScopeToggle "));
  Settings = nullptr;
  return 0;
}
