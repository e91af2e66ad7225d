#include <algorithm>
#include <filesystem>

#include "ScriptFixture.h"
#include "core/Settings.h"
#include "features/Prompt.h"

namespace {

using ScriptMainTest = ScriptTest;

const std::vector<std::string> kBothOff = {"GetPlayerPedHandle()", "scriptWait(0)"};

TEST_F(ScriptMainTest, TheFirstThingIsAHalfSecondWait) {
  Start("EnableScopeToggle=0\n");
  EXPECT_LINES(fake::Lines(), {"scriptWait(500)"});
  EXPECT_FALSE(std::filesystem::exists("Quillfen/Log.log")) << "nothing is logged before the wait";
  EXPECT_EQ(Settings, nullptr);
  EXPECT_EQ(ScopeTogglePrompt, nullptr);
}

TEST_F(ScriptMainTest, InitialisationRefreshesThePedLoadsSettingsThenMakesAndHidesThePrompt) {
  // What was logged when the ped was first asked for, and when the control was hashed.
  std::vector<std::size_t> logLinesAt;
  fake::OnNative(natives::GetPlayerPedHandle, [&](const NativeCall&) {
    logLinesAt.push_back(LogMessages().size());
    return fake::Value(0x10);
  });
  fake::OnNative(natives::GetHashKey, [&](const NativeCall& call) {
    logLinesAt.push_back(LogMessages().size());
    return fake::Value(NameHash(call.Text(0)));
  });
  Start("DisableReticleInScope=0\nEnableScopeToggle=0\nScopeTogglePromptLabel=Lift the scope\n");
  EXPECT_LINES(Step(), Concat({InitLines("Lift the scope"), {"GetPlayerPedHandle()", "scriptWait(0)"}}));
  EXPECT_EQ(logLinesAt, (std::vector<std::size_t>{0, 2, 2})) << "the settings are loaded between ped and prompt";
  EXPECT_LINES(LogMessages(), {"loading settings file: Varnholt.ini", "settings file loaded"});
  ASSERT_NE(ScopeTogglePrompt, nullptr);
  EXPECT_EQ(ScopeTogglePrompt->mode, PromptMode::HoldOnce);
  EXPECT_EQ(ScopeTogglePrompt->control, NameHash("INPUT_FRONTEND_RS"));
  EXPECT_FALSE(ScopeTogglePrompt->visible);
}

TEST_F(ScriptMainTest, WithoutASettingsFileThePromptHasTheDefaultLabel) {
  Start();
  const std::vector<std::string> lines = Step();
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(lines[4], "CreateLiteralText(0xA, 'LITERAL_STRING', 'Toggle Scope')");
  EXPECT_LINES(LogMessages(), {"Unable to load from data file, please make sure it exists."});
}

TEST_F(ScriptMainTest, WithBothSwitchesOffAFrameOnlyRefreshesThePedAndWaits) {
  StartPastInit("DisableReticleInScope=0\nEnableScopeToggle=-1\n");
  for (int frame = 0; frame < 5; ++frame) EXPECT_LINES(Step(), kBothOff);
}

TEST_F(ScriptMainTest, ThePedIsRefreshedAtTheTopOfEveryFrame) {
  TheGame.aiming = 1;
  // The host hands the player a new ped on every ask: 0x11, 0x12, 0x13.
  fake::OnNative(natives::GetPlayerPedHandle, [](const NativeCall&) {
    TheGame.playerPed = TheGame.playerPed < 0x11 ? 0x11 : TheGame.playerPed + 1;
    return fake::Value(static_cast<UINT64>(TheGame.playerPed));
  });
  Start("EnableScopeToggle=0\n");
  const std::vector<std::string> first = Step();
  ASSERT_GE(first.size(), 6u);
  // The ped of InitScript (0x11) is refreshed again before the first frame's feature work.
  EXPECT_LINES(std::vector<std::string>(first.end() - 6, first.end()),
               {"GetPlayerPedHandle()", "GetPlayerId()", "PlayerInScopeTest(2)",
                "GetCurrentWeapon(0x12, &cell, 0, 0, 0)", "WeaponInScopeTest(0x5EC0A001)", "scriptWait(0)"});
  EXPECT_EQ(PlayerPed, 0x12);
  const std::vector<std::string> second = Step();
  ASSERT_EQ(second.size(), 6u);
  EXPECT_EQ(second[3], "GetCurrentWeapon(0x13, &cell, 0, 0, 0)");
  EXPECT_EQ(PlayerPed, 0x13);
}

TEST_F(ScriptMainTest, TheSwitchesAreReadAnewEveryFrameReticleFirst) {
  StartPastInit();
  // Both on: the reticle's two natives (its player test answers no) come before the scope toggle's.
  std::vector<std::string> frame = Step();
  ASSERT_GE(frame.size(), 5u);
  EXPECT_LINES(std::vector<std::string>(frame.begin(), frame.begin() + 5),
               {"GetPlayerPedHandle()", "GetPlayerId()", "PlayerInScopeTest(2)", "GetPlayerId()", "GetPlayerMount(2)"});

  (*Settings)["DisableReticleInScope"] = "0";
  frame = Step();
  EXPECT_EQ(std::count(frame.begin(), frame.end(), "PlayerInScopeTest(2)"), 0);
  EXPECT_EQ(std::count(frame.begin(), frame.end(), "GetPlayerMount(2)"), 2) << "the scope toggle still runs";

  (*Settings)["DisableReticleInScope"] = "1";
  (*Settings)["EnableScopeToggle"] = "0";
  EXPECT_LINES(Step(), {"GetPlayerPedHandle()", "GetPlayerId()", "PlayerInScopeTest(2)", "scriptWait(0)"});

  (*Settings)["DisableReticleInScope"] = "";
  EXPECT_LINES(Step(), kBothOff);
}

}  // namespace
