// How scenarios are written: the scenario reader, the name hash and the numbers as they are printed.
#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "testkit/Catalogue.h"
#include "testkit/NameHash.h"
#include "world/Format.h"
#include "world/Scenario.h"

namespace {
TEST(NameHash, IsJenkinsOneAtATimeOfTheLowerCasedName) {
  // The published test values of the hash itself.
  EXPECT_EQ(OneAtATime("", false), 0u);
  EXPECT_EQ(OneAtATime("a", false), 0xCA2E9442u);
  EXPECT_EQ(OneAtATime("The quick brown fox jumps over the lazy dog", false), 0x519E91F5u);
  EXPECT_EQ(NameHash("The Quick Brown Fox Jumps Over The Lazy Dog"),
            OneAtATime("the quick brown fox jumps over the lazy dog", false));
  EXPECT_NE(NameHash("COMPONENT_RIFLE_SCOPE02"), NameHash("COMPONENT_RIFLE_SCOPE03"));
}

TEST(Format, FormatsNumbersAlikeEverywhere) {
  EXPECT_EQ(FormatNumber(3.0), "3");
  EXPECT_EQ(FormatNumber(2.99), "2.99");
  EXPECT_EQ(FormatNumber(static_cast<double>(0.3f)), "0.3");
  EXPECT_EQ(FormatNumber(-0.25), "-0.25");
  EXPECT_EQ(FormatNumber(1.0005), "1.001");
  EXPECT_EQ(FormatNumber(-0.0001), "0");
}

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
      "9 fail GetCurrentWeapon  two  blanks\n"
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
  const auto* player = std::get_if<event::PlayerAt>(&s.events[0].action);
  const auto* give = std::get_if<event::Give>(&s.events[1].action);
  const auto* key = std::get_if<event::Key>(&s.events[2].action);
  const auto* fail = std::get_if<event::Fail>(&s.events[3].action);
  const auto* state = std::get_if<event::HorseState>(&s.events[4].action);
  ASSERT_TRUE(player && give && key && fail && state);
  EXPECT_EQ(s.events[0].line, 9);
  EXPECT_FLOAT_EQ(player->x, 1.5f);
  EXPECT_FLOAT_EQ(player->y, -2.0f);
  EXPECT_EQ(give->tests, 0b1100u);  // test3 and scope-test, bits 2 and 3
  EXPECT_EQ(key->code, 0x41u);
  EXPECT_TRUE(key->down);
  EXPECT_EQ(fail->native, natives::GetCurrentWeapon.hash);
  EXPECT_EQ(fail->message, " two  blanks");
  EXPECT_EQ(state->which, 2);
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
  EXPECT_EQ(ErrorOf("1 give W test4\n"),
            "x.scenario:1: unknown weapon test 'test4' (test1, test2, test3 or scope-test)");
  EXPECT_EQ(ErrorOf("1 aim maybe\n"), "x.scenario:1: expected on or off, not 'maybe'");
  EXPECT_EQ(ErrorOf("frames 0\n"), "x.scenario:1: frames lies between 1 and 100000");
  EXPECT_EQ(ErrorOf("08 aim on\n"), "no error");  // frame numbers are decimal, not octal
}

TEST(Scenario, AMissingFileIsAScenarioError) {
  EXPECT_THROW(LoadScenario("/nonexistent/dir/none.scenario"), ScenarioError);
}
}  // namespace
