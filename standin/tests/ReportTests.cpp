// What a run shows: the timeline and the log check.
#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "report/LogCheck.h"
#include "report/Timeline.h"
#include "world/World.h"

namespace {
TEST(Timeline, JoinsConsecutiveFramesIntoSpansAndSortsByFrame) {
  TimelineClear();
  for (int frame = 0; frame < 10; ++frame) {
    TheWorld.frame = frame;
    if (frame == 2) TimelineAdd("point at 2");
    if ((frame >= 1 && frame <= 3) || frame == 6) TimelineHold("reticle hidden");
    if (frame == 6) TimelineAdd("point at 6");
    if (frame >= 8) TimelineHold("text");
  }
  EXPECT_EQ(TimelineText(),
            "  1-3      reticle hidden (3 frames)\n"
            "  2        point at 2\n"
            "  6        reticle hidden (1 frame)\n"
            "  6        point at 6\n"
            "  8-9      text (2 frames)\n");
  TimelineClear();
}

std::tm At(int year, int month, int day, int hour, int minute, int second) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  return t;
}

const std::tm kStart = At(2026, 3, 7, 9, 5, 3);
const std::tm kEnd = At(2026, 3, 7, 9, 5, 9);

TEST(LogCheck, MasksAWellFormedTimeWithinTheRun) {
  EXPECT_EQ(MaskLogLine("[7/3/2026 9:5:3] hello", kStart, kEnd), "[time] hello");
  EXPECT_EQ(MaskLogLine("[7/3/2026 9:5:9] ", kStart, kEnd), "[time] ");
  // A zero-padded field, a month counted from 0, a time outside the run, a missing blank.
  EXPECT_EQ(MaskLogLine("[07/3/2026 9:5:3] x", kStart, kEnd).rfind("! no well-formed time prefix", 0), 0u);
  EXPECT_EQ(MaskLogLine("[7/2/2026 9:5:3] x", kStart, kEnd).rfind("! a time outside the run (7/3/2026 9:5:3 to ", 0),
            0u);
  EXPECT_EQ(MaskLogLine("[7/3/2026 9:5:10] x", kStart, kEnd).rfind("! a time outside the run", 0), 0u);
  EXPECT_EQ(MaskLogLine("[7/13/2026 9:5:3] x", kStart, kEnd).rfind("! a time prefix out of range", 0), 0u);
  EXPECT_EQ(MaskLogLine("[7/3/2026 9:5:3]x", kStart, kEnd).rfind("! no well-formed", 0), 0u);
}

TEST(LogCheck, ReportsOnlyTheNewLinesAndChecksTheirEnds) {
  LogReading log{true, "old line\n[7/3/2026 9:5:4] a\r\n[7/3/2026 9:5:4] b\n[7/3/2026 9:5:5] c"};
  EXPECT_EQ(DescribeNewLogLines(log, "old line\n", true, kStart, kEnd),
            "Log file Quillfen/Log.log: 3 new lines\n"
            "  [time] a\n"
            "  [time] b   ! ends in a bare LF, not CR LF\n"
            "  [time] c   ! no line end\n");
  EXPECT_EQ(DescribeNewLogLines(LogReading{true, "old line\n"}, "old line\n", false, kStart, kEnd),
            "Log file Quillfen/Log.log: no new lines\n");
  EXPECT_EQ(DescribeNewLogLines(LogReading{false, ""}, "", false, kStart, kEnd), "Log file Quillfen/Log.log: absent\n");
  EXPECT_EQ(DescribeNewLogLines(LogReading{true, "changed\n"}, "old line\n", false, kStart, kEnd),
            "Log file Quillfen/Log.log: 1 new line\n"
            "! the lines the log held before the run were changed\n"
            "  ! no well-formed time prefix: changed\n");
}

TEST(LogCheck, FoldsBlocksThatRepeat) {
  std::string content = "[7/3/2026 9:5:3] start\n";
  for (int i = 0; i < 4; ++i) content += "[7/3/2026 9:5:4] one\n[7/3/2026 9:5:4] two\n";
  content += "[7/3/2026 9:5:5] x\n[7/3/2026 9:5:5] x\n[7/3/2026 9:5:5] end\n";
  EXPECT_EQ(DescribeNewLogLines(LogReading{true, content}, "", false, kStart, kEnd),
            "Log file Quillfen/Log.log: 12 new lines\n"
            "  [time] start\n"
            "  [time] one\n"
            "  [time] two\n"
            "  (the 2 lines above come 3 more times)\n"
            "  [time] x\n"
            "  [time] x\n"
            "  [time] end\n");
}
}  // namespace
