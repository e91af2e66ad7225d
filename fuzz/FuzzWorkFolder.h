#pragma once
// The settings file and the log are relative to the working folder: every fuzzer runs in a fresh one
// under the system's temporary folder, with the log's "Quillfen" folder in place, never in the repo.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

inline void EnterFuzzWorkFolder() {
  char pattern[] = "/tmp/varnholt-fuzz-XXXXXX";
  const char* made = mkdtemp(pattern);
  if (made == nullptr || chdir(made) != 0) {
    std::perror("varnholt fuzz work folder");
    std::abort();
  }
  std::filesystem::create_directory("Quillfen");
  static const std::filesystem::path folder = made;
  std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  });
}

// Stops the run with the input kept as a crash artifact.
[[noreturn]] inline void Mismatch() {
  std::fflush(stderr);
  std::abort();
}
