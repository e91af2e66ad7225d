// The stand-in host's own parts: the name hash, the scenario reader, the timeline, the log check and the
// bridge with its script thread.
#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "bridge/BridgeControl.h"
#include "report/LogCheck.h"
#include "report/Timeline.h"
#include "world/Format.h"
#include "world/NameHash.h"
#include "world/Scenario.h"
#include "world/World.h"

namespace {
TEST(NameHash, IsJenkinsOneAtATimeOfTheLowerCasedName) {
  // The published test values of the hash itself.
  EXPECT_EQ(OneAtATime("", false), 0u);
  EXPECT_EQ(OneAtATime("a", false), 0xCA2E9442u);
  EXPECT_EQ(OneAtATime("The quick brown fox jumps over the lazy dog", false), 0x519E91F5u);
  EXPECT_EQ(NameHash("The Quick Brown Fox Jumps Over The Lazy Dog"), OneAtATime("the quick brown fox jumps over the lazy dog", false));
  EXPECT_NE(NameHash("COMPONENT_RIFLE_SCOPE02"), NameHash("COMPONENT_RIFLE_SCOPE03"));
}

// --- scenarios ---

std::string ErrorOf(const std::string& text) {
  try {
    ParseScenario(text, "x.scenario");
  } catch (const ScenarioError& e) {
    return e.what();
  }
  return "no error";
}

TEST(Scenario, ReadsSetupAndEventsInFrameOrder) {
  const Scenario s = ParseScenario(
      "# comment\r\n"
      "title  two blanks kept\n"
      "frames 50\n"
      "frame-ms 20\n"
      "quillfen no\n"
      "settings A=1\\r\\n\n"
      "settings  B=\\x41\\t\\\\\n"
      "\n"
      "3 player at 1.5 -2 0\n"
      "3 give WEAPON_X test3 scope-test\n"
      "7 key 0x41 down\n"
      "9 fail CurrentWeapon  two  blanks\n"
      "49 horse state2 on\n",
      "dir/name.scenario");
  EXPECT_EQ(s.name, "name");
  EXPECT_EQ(s.title, " two blanks kept");
  EXPECT_EQ(s.frames, 50);
  EXPECT_EQ(s.frameMs, 20);
  EXPECT_FALSE(s.quillfen);
  EXPECT_TRUE(s.hasSettings);
  EXPECT_EQ(s.settings, "A=1\r\n B=A\t\\");
  ASSERT_EQ(s.events.size(), 5u);
  EXPECT_EQ(s.events[0].kind, EventKind::PlayerAt);
  EXPECT_EQ(s.events[0].line, 9);
  EXPECT_FLOAT_EQ(s.events[0].x, 1.5f);
  EXPECT_FLOAT_EQ(s.events[0].y, -2.0f);
  EXPECT_EQ(s.events[1].flags, kTest3 | kScopeTest);
  EXPECT_EQ(s.events[2].index, 0x41);
  EXPECT_TRUE(s.events[2].flag);
  EXPECT_EQ(s.events[3].native, 0x3A87E44BB9A01D54u);
  EXPECT_EQ(s.events[3].text, " two  blanks");
  EXPECT_EQ(s.events[4].kind, EventKind::HorseState);
  EXPECT_EQ(s.events[4].index, 2);
}

TEST(Scenario, WithoutSettingsLinesThereIsNoSettingsFile) {
  const Scenario s = ParseScenario("frames 5\n", "x.scenario");
  EXPECT_FALSE(s.hasSettings);
  EXPECT_TRUE(s.quillfen);
  EXPECT_TRUE(ParseScenario("settings\n", "x.scenario").hasSettings);  // an empty file
}

TEST(Scenario, ErrorsNameTheFileAndTheLine) {
  EXPECT_EQ(ErrorOf("frames 5\n\n2 jump\n").rfind("x.scenario:3: unknown event 'jump'", 0), 0u);
  EXPECT_EQ(ErrorOf("1 player at 1 two 3\n"), "x.scenario:1: 'two' is not a number");
  EXPECT_EQ(ErrorOf("1 player at 1 2\n"), "x.scenario:1: expected: <frame> player at <x> <y> <z>");
  EXPECT_EQ(ErrorOf("5 aim on\n3 aim off\n"), "x.scenario:2: frame 3 comes after frame 5: events go in frame order");
  EXPECT_EQ(ErrorOf("frames 10\n10 unload\n"), "x.scenario:2: frame 10 is past the last frame (9); raise 'frames'");
  EXPECT_EQ(ErrorOf("settings a\\qb\n"), "x.scenario:1: unknown escape \\q (\\n \\r \\t \\\\ \\xHH)");
  EXPECT_EQ(ErrorOf("settings a\\x4\n"), "x.scenario:1: \\x needs two hex digits");
  EXPECT_EQ(ErrorOf("1 fail NoSuchNative oops\n").rfind("x.scenario:1: unknown native 'NoSuchNative'", 0), 0u);
  EXPECT_EQ(ErrorOf("1 give W test4\n"), "x.scenario:1: unknown weapon test 'test4' (test1, test2, test3 or scope-test)");
  EXPECT_EQ(ErrorOf("1 aim maybe\n"), "x.scenario:1: expected on or off, not 'maybe'");
  EXPECT_EQ(ErrorOf("frames 0\n"), "x.scenario:1: frames lies between 1 and 100000");
  EXPECT_EQ(ErrorOf("08 aim on\n"), "no error");  // frame numbers are decimal, not octal
}

TEST(Scenario, AMissingFileIsAScenarioError) {
  EXPECT_THROW(LoadScenario("/nonexistent/dir/none.scenario"), ScenarioError);
}

// --- the timeline ---

TEST(Timeline, JoinsConsecutiveFramesIntoSpansAndSortsByFrame) {
  TimelineClear();
  for (int frame = 0; frame < 10; ++frame) {
    TimelineSetFrame(frame);
    if (frame == 2) TimelineAdd("point at 2");
    if ((frame >= 1 && frame <= 3) || frame == 6) TimelineHold("reticle hidden");
    if (frame == 6) TimelineAdd("point at 6");
    if (frame >= 8) TimelineHold("text");
    TimelineEndFrame();
  }
  TimelineCloseAll();
  EXPECT_EQ(TimelineText(),
            "  1-3      reticle hidden (3 frames)\n"
            "  2        point at 2\n"
            "  6        reticle hidden (1 frame)\n"
            "  6        point at 6\n"
            "  8-9      text (2 frames)\n");
  TimelineClear();
}

TEST(Timeline, FormatsNumbersAlikeEverywhere) {
  EXPECT_EQ(FormatNumber(3.0), "3");
  EXPECT_EQ(FormatNumber(2.99), "2.99");
  EXPECT_EQ(FormatNumber(static_cast<double>(0.3f)), "0.3");
  EXPECT_EQ(FormatNumber(-0.25), "-0.25");
  EXPECT_EQ(FormatNumber(1.0005), "1.001");
  EXPECT_EQ(FormatNumber(-0.0001), "0");
}

// --- the log check ---

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
  EXPECT_EQ(MaskLogLine("[7/2/2026 9:5:3] x", kStart, kEnd).rfind("! a time outside the run (7/3/2026 9:5:3 to ", 0), 0u);
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

// --- the bridge and its script thread ---

std::vector<std::string> calls;
std::uint32_t frameTime = 0;

void Record(UINT64 hash, const UINT64* args, std::size_t count, UINT64* slots) {
  calls.push_back(std::to_string(hash) + "/" + std::to_string(count) + "@" + std::to_string(frameTime));
  if (count > 0) slots[0] = args[0] + 1;
}
std::vector<int> notes;
void Noted(int note, UINT64) { notes.push_back(note); }

UINT64 lastAnswer = 0;
void TestScript() {
  scriptWait(100);
  for (UINT64 i = 0;; ++i) {
    nativeInit(7);
    nativePush64(i);
    lastAnswer = nativeCall()[0];
    scriptWait(0);
  }
}

TEST(Bridge, RunsTheScriptOneStepPerFrameAfterItsFirstWait) {
  calls.clear();
  notes.clear();
  StandinSetHooks(Record, Noted);
  char module = 0;
  scriptRegister(reinterpret_cast<HMODULE>(&module), TestScript);
  std::vector<int> outcomes;
  for (frameTime = 0; frameTime <= 150; frameTime += 30) outcomes.push_back(StandinRunFrame(frameTime));
  // Waiting until 100 ms have passed, then one native per frame.
  EXPECT_EQ(outcomes, (std::vector<int>{kFrameRan, kFrameWaiting, kFrameWaiting, kFrameWaiting, kFrameRan, kFrameRan}));
  EXPECT_EQ(calls, (std::vector<std::string>{"7/1@120", "7/1@150"}));
  EXPECT_EQ(lastAnswer, 2u);
  EXPECT_EQ(notes, (std::vector<int>{kNoteScriptRegistered, kNoteScriptStarted, kNoteScriptWaits, kNoteScriptResumed}));

  // A native from outside the script is told, and an unregistered script is never run again.
  nativeInit(9);
  EXPECT_EQ(notes.back(), kNoteNativeOffScript);
  scriptUnregister(reinterpret_cast<HMODULE>(&module));
  EXPECT_EQ(StandinRunFrame(180), kFrameNoScript);
  EXPECT_EQ(calls.size(), 2u);
  StandinShutdown();
}

int keyCount = 0;
void CountKey(DWORD, WORD, BYTE, BOOL, BOOL, BOOL, BOOL) { ++keyCount; }

TEST(Bridge, DeliversKeysOnlyToTheRegisteredHandler) {
  keyCount = 0;
  EXPECT_EQ(StandinDeliverKey(1, 1, 0, 0, 0, 0, 0), 0);
  keyboardHandlerRegister(CountKey);
  EXPECT_EQ(StandinDeliverKey(1, 1, 0, 0, 0, 0, 0), 1);
  keyboardHandlerUnregister(CountKey);
  EXPECT_EQ(StandinDeliverKey(1, 1, 0, 0, 0, 0, 0), 0);
  EXPECT_EQ(keyCount, 1);
}
}  // namespace
