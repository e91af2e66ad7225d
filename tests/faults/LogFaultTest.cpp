// The log file failing under the plug-in: its folder missing, the file impossible to open, the file
// system read-only, the disk full; and a clock whose time cannot be made a local date. Log returns,
// nothing is thrown, and the script goes on failing its frames the normal way (a setting with no
// number makes every frame take the failure path, the one place that logs while the game runs); once
// the fault is gone, lines land again.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "FatalText.h"
#include "FaultTest.h"
#include "core/Log.h"
#include "testkit/CallLines.h"
#include "testkit/WorkFolder.h"

static std::atomic<bool> localTimeFails{false};

// The C library's conversion to local time, failing while a test says so. It fails the way glibc's does
// for a year past what an int holds: with part of the answer written already. The library's own is a
// weak symbol, so the plug-in's call lands here.
extern "C" struct tm* localtime_r(const time_t* time, struct tm* out) noexcept {
  using Conversion = struct tm* (*)(const time_t*, struct tm*);
  static const auto library = reinterpret_cast<Conversion>(dlsym(RTLD_NEXT, "localtime_r"));
  struct tm* const converted = library(time, out);
  if (!localTimeFails) return converted;
  errno = EOVERFLOW;
  return nullptr;
}

namespace {
namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

const std::string kFatal = Fatal("invalid stoi argument");
// Once the game has made the message's text value.
Lines FailingFrame() {
  Lines frame = ShownOnScreen(kFatal);
  frame.insert(frame.begin(), "GetPlayerPedHandle()");
  return frame;
}
const Lines kReport = {"Something wrong happened", kFatal};

class LogFaultTest : public faults::FaultTest {
 protected:
  void TearDown() override {
    FaultTest::TearDown();
    localTimeFails = false;
  }

  // A script whose every frame fails, started and past its start-up.
  static void StartFailingScript() {
    WriteBytes("Varnholt.ini", "DisableReticleInScope=on\n");
    faults::StartScript();
    faults::Step();
    TakeCallLines();
  }

  // Frames go on as usual: each sends the failure path's natives, shows the message, and nothing
  // leaves ScriptMain.
  static void ExpectFramesGoOn(int frames) {
    for (int i = 0; i < frames; ++i) {
      EXPECT_EQ(faults::Step(), 0u);
      EXPECT_EQ(TakeCallLines(), FailingFrame());
    }
    EXPECT_FALSE(faults::ScriptEscaped());
  }
};

TEST_F(LogFaultTest, MissingFolderLosesTheLinesQuietlyUntilItExists) {
  fs::remove("Quillfen");
  StartFailingScript();
  ExpectFramesGoOn(3);
  Log("said into the void");
  EXPECT_FALSE(fs::exists("Quillfen")) << "the log must not make its folder";

  fs::create_directory("Quillfen");
  ExpectFramesGoOn(1);
  EXPECT_EQ(faults::TakeLog(), kReport);
}

TEST_F(LogFaultTest, LogThatCannotBeOpenedIsSkipped) {
  // A folder where the file should be: no one, root included, can open it for appending.
  fs::create_directory("Quillfen/Log.log");
  StartFailingScript();
  ExpectFramesGoOn(3);
  Log("cannot land");
  EXPECT_TRUE(fs::is_directory("Quillfen/Log.log"));
  EXPECT_TRUE(fs::is_empty("Quillfen/Log.log"));
}

TEST_F(LogFaultTest, ReadOnlyFileSystemLeavesTheLogAsItWas) {
  if (!faults::MountTmpfs("Quillfen", 1 << 20)) GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
  std::ofstream("Quillfen/Log.log") << "[1/1/2026 0:0:0] an earlier line\n";
  ASSERT_TRUE(faults::RemountReadOnly("Quillfen"));
  ASSERT_EQ(std::fopen("Quillfen/Log.log", "a"), nullptr) << "the file system should refuse writes";
  EXPECT_EQ(errno, EROFS);

  StartFailingScript();
  ExpectFramesGoOn(3);
  Log("cannot land");
  EXPECT_EQ(ReadBytes("Quillfen/Log.log"), "[1/1/2026 0:0:0] an earlier line\n");
}

TEST_F(LogFaultTest, FullDiskLosesTheLinesAndTheLogRecoversWhenThereIsRoomAgain) {
  if (!faults::MountTmpfs("Quillfen", 64 * 1024)) GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
  {
    std::FILE* filler = std::fopen("Quillfen/filler", "wb");
    ASSERT_NE(filler, nullptr);
    const std::string block(4096, 'x');
    std::setvbuf(filler, nullptr, _IONBF, 0);
    while (std::fwrite(block.data(), 1, block.size(), filler) == block.size()) {
    }
    std::fclose(filler);
  }

  StartFailingScript();
  ExpectFramesGoOn(3);
  Log("no room");
  EXPECT_EQ(ReadBytes("Quillfen/Log.log"), "") << "nothing fits on a full disk";

  fs::remove("Quillfen/filler");
  faults::TakeLog();
  ExpectFramesGoOn(1);
  EXPECT_EQ(faults::TakeLog(), kReport);
}

TEST_F(LogFaultTest, WritesThatAlwaysFailAreIgnored) {
  // /dev/full takes the open and refuses every write: a full disk without mounting anything.
  fs::create_symlink("/dev/full", "Quillfen/Log.log");
  StartFailingScript();
  ExpectFramesGoOn(3);
  Log("no room");

  fs::remove("Quillfen/Log.log");
  ExpectFramesGoOn(1);
  EXPECT_EQ(faults::TakeLog(), kReport);
}

TEST_F(LogFaultTest, LinesLoggedWhileTheClockCannotBeReadAreStampedWithTheZeroTime) {
  const auto rawLines = [] {
    Lines lines;
    std::istringstream text(ReadBytes("Quillfen/Log.log"));
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    return lines;
  };
  StartFailingScript();
  const std::size_t before = rawLines().size();
  localTimeFails = true;
  ExpectFramesGoOn(1);
  localTimeFails = false;
  ExpectFramesGoOn(1);

  const Lines lines = rawLines();
  ASSERT_EQ(lines.size(), before + 4);
  EXPECT_EQ(lines[before], "[0/1/1900 0:0:0] " + kReport[0]);
  EXPECT_EQ(lines[before + 1], "[0/1/1900 0:0:0] " + kReport[1]);
  // With the clock back, the lines are dated again.
  for (const std::size_t i : {before + 2, before + 3}) EXPECT_FALSE(lines[i].starts_with("[0/1/1900 ")) << lines[i];
  EXPECT_EQ(lines[before + 3].substr(lines[before + 3].find("] ") + 2), kReport[1]);
}

}  // namespace
