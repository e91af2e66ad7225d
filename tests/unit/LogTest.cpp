#include <array>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <utility>

#include "core/Log.h"
#include "core/Platform.h"
#include "fake/PluginTest.h"

namespace {

using LogTest = PluginTest;

std::tm Local(int day, int month, int year, int hour, int minute, int second) {
  std::tm t{};
  t.tm_mday = day;
  t.tm_mon = month - 1;
  t.tm_year = year - 1900;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  return t;
}

std::string Prefix(const std::tm& t) {
  char out[kLogPrefixCapacity];
  const std::size_t length = FormatLogPrefix(t, out);
  EXPECT_EQ(length, std::string(out).size());
  return std::string(out, length);
}

TEST_F(LogTest, PrefixFieldsAreNeverZeroPadded) {
  const std::pair<std::tm, const char*> cases[] = {
      {Local(7, 3, 2026, 9, 5, 3), "[7/3/2026 9:5:3] "},
      {Local(31, 12, 2026, 23, 59, 59), "[31/12/2026 23:59:59] "},
      {Local(1, 1, 2027, 0, 0, 0), "[1/1/2027 0:0:0] "},
      {Local(10, 10, 1999, 10, 10, 10), "[10/10/1999 10:10:10] "},
      // The widest there is: it fills the buffer to its last byte.
      {Local(INT_MIN, INT_MIN + 1, INT_MIN + 1900, INT_MIN, INT_MIN, INT_MIN),
       "[-2147483648/-2147483647/-2147481748 -2147483648:-2147483648:-2147483648] "},
  };
  for (const auto& [time, prefix] : cases) EXPECT_EQ(Prefix(time), prefix);
}

TEST_F(LogTest, AppendingKeepsEarlierLinesAndAddsExactlyOneLineEnd) {
  WriteBytes("Quillfen/Log.log", "earlier line\nno line end yet");
  AppendLogLine(kLogPath, Local(7, 3, 2026, 9, 5, 3), "first");
  AppendLogLine(kLogPath, Local(7, 3, 2026, 9, 5, 3), "second");
  EXPECT_EQ(ReadBytes("Quillfen/Log.log"),
            "earlier line\nno line end yet" + Stored("[7/3/2026 9:5:3] first\n[7/3/2026 9:5:3] second\n"));
}

TEST_F(LogTest, MessagesAreWrittenUnchangedEvenWithLineBreaksOrEmpty) {
  const std::tm t = Local(2, 1, 2026, 14, 0, 9);
  AppendLogLine(kLogPath, t, "two\nlines\r\nand a tab\t");
  AppendLogLine(kLogPath, t, "");
  EXPECT_EQ(ReadBytes("Quillfen/Log.log"), Stored("[2/1/2026 14:0:9] two\nlines\r\nand a tab\t\n"
                                                  "[2/1/2026 14:0:9] \n"));
}

TEST_F(LogTest, AStringMessageStopsAtItsFirstNul) {
  Log(std::string("before\0after", 12));
  EXPECT_LINES(LogMessages(), {"before"});
}

TEST_F(LogTest, ANullMessageLogsAnEmptyLine) {
  Log(nullptr);
  Log("after it");
  EXPECT_LINES(LogMessages(), {"", "after it"});
}

TEST_F(LogTest, AMissingFolderLosesTheMessageAndCreatesNothing) {
  std::filesystem::remove_all("Quillfen");
  Log("lost");
  AppendLogLine(kLogPath, Local(1, 1, 2026, 0, 0, 0), "lost too");
  EXPECT_TRUE(std::filesystem::is_empty(std::filesystem::current_path()));
  std::filesystem::create_directory("Quillfen");
  Log("kept");
  EXPECT_LINES(LogMessages(), {"kept"});
}

TEST_F(LogTest, AFileThatCannotBeOpenedIsIgnored) {
  std::filesystem::create_directory("Quillfen/Log.log");  // a folder where the file should be
  Log("lost");
  EXPECT_TRUE(std::filesystem::is_directory("Quillfen/Log.log"));
}

TEST_F(LogTest, AFileDeletedBetweenCallsIsCreatedAgain) {
  Log("one");
  std::filesystem::remove("Quillfen/Log.log");
  Log("two");
  EXPECT_LINES(LogMessages(), {"two"});
}

// The clock fields of a line's stamp, "[d/m/yyyy h:m:s] ", in the order that compares them: year, month,
// day, hour, minute, second. Read independently of FormatLogPrefix.
using Stamp = std::array<int, 6>;
Stamp StampOf(const std::string& line) {
  Stamp f{};
  EXPECT_EQ(std::sscanf(line.c_str(), "[%d/%d/%d %d:%d:%d]", &f[2], &f[1], &f[0], &f[3], &f[4], &f[5]), 6) << line;
  return f;
}

Stamp StampOf(const std::tm& t) { return {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec}; }

// The prefix of a stamp, composed independently of FormatLogPrefix.
std::string ExpectedPrefix(const Stamp& f) {
  std::ostringstream prefix;
  prefix << '[' << f[2] << '/' << f[1] << '/' << f[0] << ' ' << f[3] << ':' << f[4] << ':' << f[5] << "] ";
  return prefix.str();
}

// However long the calls take, each stamp lies between a reading of the clock before them and one after.
TEST_F(LogTest, LogStampsTheLocalTimeOfTheCall) {
  std::tm before{};
  std::tm after{};
  ASSERT_TRUE(LocalTimeNow(before));
  Log("stamped");
  Log("stamped again");
  ASSERT_TRUE(LocalTimeNow(after));
  const std::string text = ReadBytes("Quillfen/Log.log");
  const std::string first = text.substr(0, text.find(kStoredLineEnd) + kStoredLineEnd.size());
  const std::string second = text.substr(first.size());
  for (const std::string& line : {first, second}) {
    const Stamp stamp = StampOf(line);
    EXPECT_EQ(line, ExpectedPrefix(stamp) + Stored(line == first ? "stamped\n" : "stamped again\n"));
    EXPECT_TRUE(StampOf(before) <= stamp && stamp <= StampOf(after))
        << line << "is not stamped between " << ExpectedPrefix(StampOf(before)) << "and "
        << ExpectedPrefix(StampOf(after));
  }
}

}  // namespace
