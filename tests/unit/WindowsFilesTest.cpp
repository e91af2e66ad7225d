// Windows-only behaviour of the plug-in's files: a player's editor holding the log or the settings open
// (share modes), and another module of the game switching the C runtime's default file mode to binary.
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <fcntl.h>
#include <stdlib.h>
#include <windows.h>

#include <string>

#include "core/Log.h"
#include "core/Settings.h"
#include "fake/PluginTest.h"

namespace {

using WindowsFilesTest = PluginTest;

// Another program's handle on a file, open for reading and writing as an editor holds it.
struct HeldOpen {
  HANDLE handle;
  HeldOpen(const char* path, DWORD share)
      : handle(CreateFileA(path, GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr)) {}
  ~HeldOpen() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
  HeldOpen(const HeldOpen&) = delete;
  HeldOpen& operator=(const HeldOpen&) = delete;
};

TEST_F(WindowsFilesTest, TheLogIsAppendedToWhileAnotherHandleSharesReadingAndWriting) {
  Log("before");
  {
    const HeldOpen editor(kLogPath, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_NE(editor.handle, INVALID_HANDLE_VALUE) << GetLastError();
    Log("while held");
  }
  Log("after");
  EXPECT_LINES(LogMessages(), {"before", "while held", "after"});
}

// The counterpart, which shows the share modes are enforced at all: a handle that denies writing makes
// the append fail, and the message is lost without harm.
TEST_F(WindowsFilesTest, AHandleThatDeniesWritingLosesTheMessageUntilItIsClosed) {
  Log("before");
  {
    const HeldOpen locker(kLogPath, FILE_SHARE_READ);
    ASSERT_NE(locker.handle, INVALID_HANDLE_VALUE) << GetLastError();
    Log("lost");
  }
  Log("after");
  EXPECT_LINES(LogMessages(), {"before", "after"});
}

TEST_F(WindowsFilesTest, TheSettingsAreReadWhileAnotherHandleSharesReadingAndWriting) {
  WriteBytes(kSettingsPath, "EnableScopeToggle=0\r\nScopeTogglePromptLabel=Lift\r\n");
  {
    const HeldOpen editor(kSettingsPath, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_NE(editor.handle, INVALID_HANDLE_VALUE) << GetLastError();
    InitSettings();
  }
  EXPECT_EQ(GetSetting("EnableScopeToggle"), "0");
  EXPECT_EQ(GetSetting("ScopeTogglePromptLabel"), "Lift");
  EXPECT_LINES(LogMessages(), {"loading settings file: Varnholt.ini", "settings file loaded"});
}

TEST_F(WindowsFilesTest, TheLogStoresCrLfEvenWhenBinaryIsTheRuntimesDefault) {
  std::tm t{};
  t.tm_mday = 1;
  t.tm_year = 2026 - 1900;
  _fmode = _O_BINARY;
  AppendLogLine(kLogPath, t, "one\ntwo");
  _fmode = _O_TEXT;
  EXPECT_EQ(ReadBytes(kLogPath), "[1/1/2026 0:0:0] one\r\ntwo\r\n");
}

}  // namespace
