#include "Hashes.h"
#include "ScriptFixture.h"
#include "World.h"
#include "fake/PluginTest.h"
#include "features/ReticleSuppression.h"
#include "host/Script.h"

namespace {

class ReticleSuppressionTest : public PluginTest {
 protected:
  World world;
  void SetUp() override {
    PluginTest::SetUp();
    world.Install();
    PlayerPed = world.playerPed;
  }
};

const std::vector<std::string> kAllFive = {
    "0x217E9DC48139933D()",           "0x04D7F33640662FA2(0x2)", "0x3A87E44BB9A01D54(0x10, &cell, 0x0, 0x0, 0x0)",
    "0x705BE297EEBDB95D(0x5EC0A001)", "0x36CDD81627A6FCD2()",
};

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
    world.playerInScope = c.playerInScope;
    world.weaponInScope = c.weaponInScope;
    const std::size_t mark = fake::EventCount();
    ReticleSuppression();
    EXPECT_LINES(fake::Lines(mark), std::vector<std::string>(kAllFive.begin(), kAllFive.begin() + c.natives));
  }
}

TEST_F(ReticleSuppressionTest, ATestAnsweredWithNoResultSlotsReadsAsNo) {
  for (const auto& [test, natives] : {std::pair{hashes::PlayerInScope, 2}, std::pair{hashes::WeaponInScope, 4}}) {
    fake::Reset();
    world.Install();
    world.playerInScope = 1;
    world.weaponInScope = 1;
    fake::AnswerWithoutSlots(test);
    ReticleSuppression();
    EXPECT_LINES(fake::Lines(), std::vector<std::string>(kAllFive.begin(), kAllFive.begin() + natives));
  }
}

TEST_F(ReticleSuppressionTest, ThePlayerIdentifierGoesSignWidened) {
  world.playerId = -1;
  ReticleSuppression();
  EXPECT_LINES(fake::Lines(), {"0x217E9DC48139933D()", "0x04D7F33640662FA2(0xFFFFFFFFFFFFFFFF)"});
  const std::size_t mark = fake::EventCount();
  fake::Answer(hashes::PlayerId, 0xDEADBEEF00000007);  // the identifier is the low 32 bits only
  ReticleSuppression();
  EXPECT_LINES(fake::Lines(mark), {"0x217E9DC48139933D()", "0x04D7F33640662FA2(0x7)"});
}

TEST_F(ReticleSuppressionTest, NothingIsRememberedBetweenCalls) {
  world.playerInScope = 1;
  world.weaponInScope = 1;
  ReticleSuppression();
  world.reticleWeapon = 0x77;
  world.playerId = 3;
  PlayerPed = 0x11;
  const std::size_t mark = fake::EventCount();
  ReticleSuppression();
  EXPECT_LINES(fake::Lines(mark), {
                                      "0x217E9DC48139933D()",
                                      "0x04D7F33640662FA2(0x3)",
                                      "0x3A87E44BB9A01D54(0x11, &cell, 0x0, 0x0, 0x0)",
                                      "0x705BE297EEBDB95D(0x77)",
                                      "0x36CDD81627A6FCD2()",
                                  });
}

TEST_F(ReticleSuppressionTest, AWeaponCellLeftUnwrittenReadsAsWeaponZero) {
  world.playerInScope = 1;
  fake::Answer(hashes::CurrentWeapon, fake::Value(0x1234));  // the native's own result is not the weapon
  ReticleSuppression();
  EXPECT_EQ(fake::Lines().at(3), "0x705BE297EEBDB95D(0x0)");
}

using ReticleInFrameTest = ScriptTest;

TEST_F(ReticleInFrameTest, TheReticleAsksSelector0AndTheScopeToggleSelector1InTheSameFrame) {
  world.playerInScope = 1;
  world.weaponInScope = 1;
  Start();
  Step();  // initialisation and the first frame
  const std::vector<std::string> frame = Step();
  std::vector<std::string> weaponQueries;
  for (const std::string& line : frame)
    if (line.rfind("0x3A87E44BB9A01D54(", 0) == 0 || line.rfind("0x705BE297EEBDB95D(", 0) == 0 ||
        line.rfind("0xDDB2578E95EF7138(", 0) == 0)
      weaponQueries.push_back(line);
  EXPECT_LINES(weaponQueries, {
                                  "0x3A87E44BB9A01D54(0x10, &cell, 0x0, 0x0, 0x0)",
                                  "0x705BE297EEBDB95D(0x5EC0A001)",
                                  "0x3A87E44BB9A01D54(0x10, &cell, 0x0, 0x1, 0x0)",
                                  "0xDDB2578E95EF7138(0xA8F1E2C3)",
                              });
  EXPECT_EQ(fake::CountNative(hashes::HideReticle), 2u) << "once on each frame";
}

TEST_F(ReticleInFrameTest, SwitchedOffItSendsNothingWhileTheScopeToggleRuns) {
  world.playerInScope = 1;
  world.weaponInScope = 1;
  Start("DisableReticleInScope=0\n");
  Step();
  Step();
  EXPECT_EQ(fake::CountNative(hashes::PlayerInScope), 0u);
  EXPECT_EQ(fake::CountNative(hashes::WeaponInScope), 0u);
  EXPECT_EQ(fake::CountNative(hashes::HideReticle), 0u);
  EXPECT_EQ(fake::CountNative(hashes::PlayerMount), 4u) << "the scope toggle asked for the horse twice on each frame";
}

}  // namespace
