// The settings file failing to read part-way, once, as a bad sector or a dropped network share does: the
// loader keeps exactly the text before the failed byte, reads the line cut there as a last line, never
// reads past it, and still logs the file as loaded. Where the failure lands against the loader's own
// read pieces must not matter.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "FaultTest.h"
#include "core/Settings.h"
#include "testkit/WorkFolder.h"

namespace {
// The byte at which the next opening of the settings file fails to read, or -1 for none.
std::atomic<long> failReadAt{-1};

// The file behind a stream of the C library's own, whose reads go through here: up to the failing byte
// as usual (a read that reaches it stops short there), then one read that fails, then the rest again.
struct FailingFile {
  std::FILE* file;
  long position;
  long failAt;
};
FailingFile failing;

ssize_t ReadFailingOnce(void* cookie, char* out, std::size_t size) {
  auto& f = *static_cast<FailingFile*>(cookie);
  if (f.failAt >= 0 && f.position == f.failAt) {
    f.failAt = -1;
    errno = EIO;
    return -1;
  }
  if (f.failAt >= 0) size = std::min(size, static_cast<std::size_t>(f.failAt - f.position));
  const std::size_t got = std::fread(out, 1, size, f.file);
  f.position += static_cast<long>(got);
  return static_cast<ssize_t>(got);
}

int CloseFailingFile(void* cookie) { return std::fclose(static_cast<FailingFile*>(cookie)->file); }
}  // namespace

// The C library's fopen; while a test asks for it, the settings file comes back as a stream that fails
// once. The library's own is a weak symbol, so the plug-in's call lands here.
extern "C" std::FILE* fopen(const char* path, const char* mode) {
  using Open = std::FILE* (*)(const char*, const char*);
  static const auto library = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "fopen"));
  std::FILE* const file = library(path, mode);
  if (file == nullptr || std::strcmp(path, kSettingsPath) != 0) return file;
  const long at = failReadAt.exchange(-1);
  if (at < 0) return file;
  failing = FailingFile{file, 0, at};
  return fopencookie(&failing, mode, cookie_io_functions_t{ReadFailingOnce, nullptr, nullptr, CloseFailingFile});
}

namespace {
using Lines = std::vector<std::string>;

class SettingsReadFaultTest : public faults::FaultTest {
 protected:
  void TearDown() override {
    failReadAt = -1;
    FaultTest::TearDown();
  }
};

TEST_F(SettingsReadFaultTest, TheTextBeforeAFailedReadIsKeptAndNothingAfterIt) {
  // The label's value runs over the first 4096 bytes, where the loader's first piece ends.
  const std::string value = "0123456789ABCDEFGHIJ";
  const std::string head = "EnableScopeToggle=0\n;";
  const std::string labelLine = "ScopeTogglePromptLabel=";
  const long valueAt = 4086;
  const std::string text = head + std::string(valueAt - head.size() - labelLine.size() - 1, 'x') + "\n" + labelLine +
                           value + "\nDisableReticleInScope=0\n";
  ASSERT_EQ(text.compare(valueAt, value.size(), value), 0);

  struct Case {
    long failAt;
    const char* label;
    const char* scopeToggle;
  };
  const Case cases[] = {
      {0, "Toggle Scope", "1"},  // the first read fails: the defaults, as for an empty file
      {valueAt + 1, "0", "0"},
      {valueAt + 9, "012345678", "0"},              // the last byte of the first piece
      {valueAt + 10, "0123456789", "0"},            // the first byte of the second
      {valueAt + 11, "0123456789A", "0"},           // one byte into the second
      {valueAt + 20, "0123456789ABCDEFGHIJ", "0"},  // right before the line end
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("failing at byte " + std::to_string(c.failAt));
    WriteBytes("Varnholt.ini", text);
    failReadAt = c.failAt;
    InitSettings();
    EXPECT_EQ(failReadAt, -1) << "the settings file was not opened through the failing stream";
    EXPECT_EQ(GetSetting("ScopeTogglePromptLabel"), c.label);
    EXPECT_EQ(GetSetting("EnableScopeToggle"), c.scopeToggle);
    EXPECT_EQ(GetSetting("DisableReticleInScope"), "1") << "a line after the failure was read";
    EXPECT_EQ(faults::TakeLog(), (Lines{"loading settings file: Varnholt.ini", "settings file loaded"}));
  }
}

}  // namespace
