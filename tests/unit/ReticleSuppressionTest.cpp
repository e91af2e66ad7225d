#include "ScriptFixture.h"
#include "features/ReticleSuppression.h"

namespace {

using ReticleSuppressionTest = FeatureTest;

const std::vector<std::string> kAllFive = {"GetPlayerId()", "PlayerInScopeTest(2)",
                                           "GetCurrentWeapon(0x10, &cell, 0, 0, 0)", "WeaponInScopeTest(0x5EC0A001)",
                                           "HideReticleThisFrame()"};

TEST_F(ReticleSuppressionTest, EachOutcomeSendsItsNatives) {
  struct Case {
    UINT64 playerInScope;
    UINT64 weaponInScope;
    std::size_t natives;  // how many of the five are sent
  };
  const Case cases[] = {
      {0, 1, 2},           {0x100000000, 0, 4},  // the player test reads all 64 bits
      {1, 0x100000000, 4},                       // the weapon test only the low 32
      {1, 1, 5},           {0x8000000000000000, 0x80000000, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << "player 0x" << c.playerInScope << ", weapon 0x" << c.weaponInScope);
    TheGame.aiming = c.playerInScope;
    ReticleWeapon().tests[kInScopeTest] = c.weaponInScope;
    EXPECT_LINES(LinesSentBy(ReticleSuppression),
                 std::vector<std::string>(kAllFive.begin(), kAllFive.begin() + c.natives));
  }
}

TEST_F(ReticleSuppressionTest, ATestAnsweredWithNoResultSlotsReadsAsNo) {
  for (const auto& [test, sent] :
       {std::pair{&natives::PlayerInScopeTest, 2}, std::pair{&natives::WeaponInScopeTest, 4}}) {
    const Game start = TheGame;
    fake::Reset();
    TheGame = start;
    Aim();
    fake::AnswerWithoutSlots(*test);
    ReticleSuppression();
    EXPECT_LINES(fake::Lines(), std::vector<std::string>(kAllFive.begin(), kAllFive.begin() + sent));
  }
}

TEST_F(ReticleSuppressionTest, ThePlayerIdentifierGoesSignWidened) {
  TheGame.playerId = -1;
  ReticleSuppression();
  EXPECT_LINES(fake::Lines(), {"GetPlayerId()", "PlayerInScopeTest(-1)"});
  fake::Answer(natives::GetPlayerId, 0xDEADBEEF00000007);  // the identifier is the low 32 bits only
  EXPECT_LINES(LinesSentBy(ReticleSuppression), {"GetPlayerId()", "PlayerInScopeTest(7)"});
}

TEST_F(ReticleSuppressionTest, NothingIsRememberedBetweenCalls) {
  Aim();
  ReticleSuppression();
  ReticleWeapon().hash = 0x77;
  TheGame.playerId = 3;
  PlayerPed = TheGame.playerPed = 0x11;
  EXPECT_LINES(LinesSentBy(ReticleSuppression),
               {"GetPlayerId()", "PlayerInScopeTest(3)", "GetCurrentWeapon(0x11, &cell, 0, 0, 0)",
                "WeaponInScopeTest(0x77)", "HideReticleThisFrame()"});
}

TEST_F(ReticleSuppressionTest, AWeaponCellLeftUnwrittenReadsAsWeaponZero) {
  TheGame.aiming = 1;
  fake::Answer(natives::GetCurrentWeapon, 0x1234);  // the native's own result is not the weapon
  ReticleSuppression();
  EXPECT_EQ(fake::Lines().at(3), "WeaponInScopeTest(0)");
}

using ReticleInFrameTest = ScriptTest;

TEST_F(ReticleInFrameTest, TheReticleAsksSelector0AndTheScopeToggleSelector1InTheSameFrame) {
  Aim();
  StartPastInit();
  std::vector<std::string> weaponQueries;
  for (const std::string& line : Step())
    if (line.starts_with("GetCurrentWeapon(") || line.starts_with("WeaponInScopeTest(") ||
        line.starts_with("WeaponPassesFirstTest("))
      weaponQueries.push_back(line);
  EXPECT_LINES(weaponQueries, {
                                  "GetCurrentWeapon(0x10, &cell, 0, 0, 0)",
                                  "WeaponInScopeTest(0x5EC0A001)",
                                  "GetCurrentWeapon(0x10, &cell, 0, 1, 0)",
                                  "WeaponPassesFirstTest(0xA8F1E2C3)",
                              });
  EXPECT_EQ(fake::CountNative(natives::HideReticleThisFrame), 2u) << "once on each frame";
}

TEST_F(ReticleInFrameTest, SwitchedOffItSendsNothingWhileTheScopeToggleRuns) {
  Aim();
  StartPastInit("DisableReticleInScope=0\n");
  Step();
  EXPECT_EQ(fake::CountNative(natives::PlayerInScopeTest), 0u);
  EXPECT_EQ(fake::CountNative(natives::WeaponInScopeTest), 0u);
  EXPECT_EQ(fake::CountNative(natives::HideReticleThisFrame), 0u);
  EXPECT_EQ(fake::CountNative(natives::GetPlayerMount), 4u)
      << "the scope toggle asked for the horse twice on each frame";
}

}  // namespace
