#include "Hashes.h"
#include "ScriptFixture.h"
#include "World.h"
#include "fake/PluginTest.h"
#include "features/Prompt.h"
#include "features/ScopeToggle.h"
#include "host/Script.h"

namespace {

// Everything up to the last weapon test, on a frame where every test is asked.
const std::vector<std::string> kTests = {
    "0x217E9DC48139933D()",
    "0xB48050D326E9A2F3(0x2)",
    "0xB796970BD125FCE8(0x30)",
    "0x2F11D3A254169EA4(0x50, 0x60, 0x0)",
    "0x3A87E44BB9A01D54(0x10, &cell, 0x0, 0x1, 0x0)",
    "0xA86D5F069399F44D(0x30, 0x1, 0x0)",
    "0xA86D5F069399F44D(0x10, 0x1, 0x0)",
    "0x0BE7F4E3CDBAFB28(0x3F800000, 0x40000000, 0x40400000, 0x40800000, 0x40A00000, 0x40C00000, 0x1)",
    "0x217E9DC48139933D()",
    "0xB48050D326E9A2F3(0x2)",
    "0x56E58D4D118FB45E(0x30, 'Agitation')",
    "0x7D5B1F88E7504BBA(0x30)",
    "0xDEB6D52126E7D640(0x30)",
    "0xDDB2578E95EF7138(0xA8F1E2C3)",
    "0x0A82317B7EBFC420(0xA8F1E2C3)",
    "0x6AD66548840472E5(0xA8F1E2C3)",
};
// How many lines of kTests a frame sends when it stops after that test.
constexpr std::size_t kDistance = 8, kAgitation = 11, kHorseState1 = 12, kHorseState2 = 13, kWeaponTest1 = 14,
                      kWeaponTest2 = 15, kWeaponTest3 = 16;

const std::vector<std::string> kHide = {"0x8A0FB4D03A630D21(0x50, 0x0)", "0x71215ACCFDE075EE(0x50, 0x0)"};
const std::vector<std::string> kShowAndPoll = {
    "0x3B390A939AF0B5FC(0x10, 0x1)",
    "0x8A0FB4D03A630D21(0x50, 0x1)",
    "0x71215ACCFDE075EE(0x50, 0x1)",
    "0xE0F65F0640EF0617(0x50)",
};
const std::vector<std::string> kFindScope = {
    "0xFD340785ADF8CFB7('COMPONENT_RIFLE_SCOPE02')",
    "0xFD340785ADF8CFB7('COMPONENT_RIFLE_SCOPE03')",
    "0xFD340785ADF8CFB7('COMPONENT_RIFLE_SCOPE04')",
};
const std::vector<std::string> kInteraction = {
    "0xFD340785ADF8CFB7('Interaction_DrawRifleFromUnderSaddle_BothHands')",
    "0xCD181A959CFDD7F4(0x10, 0x30, #Interaction_DrawRifleFromUnderSaddle_BothHands, 0x0, 0x1)",
};

std::vector<std::string> TestsUpTo(std::size_t count) {
  return std::vector<std::string>(kTests.begin(), kTests.begin() + count);
}

// The fitted checks of a weapon that carries none of the three scopes.
const std::vector<std::string> kNoScopeFitted = {
    "0x76A18844E743BF91(0x40, #COMPONENT_RIFLE_SCOPE02)",
    "0x76A18844E743BF91(0x40, #COMPONENT_RIFLE_SCOPE03)",
    "0x76A18844E743BF91(0x40, #COMPONENT_RIFLE_SCOPE04)",
};

// A frame that completes the prompt: every test passes, the prompt shows, the scopes are looked up,
// `toggle` checks and changes them, the interaction starts.
std::vector<std::string> CompletedFrame(std::initializer_list<std::vector<std::string>> toggle) {
  return Concat({TestsUpTo(kWeaponTest1), kShowAndPoll, kFindScope, Concat(toggle), kInteraction});
}

class ScopeToggleTest : public PluginTest {
 protected:
  World world;

  void SetUp() override {
    PluginTest::SetUp();
    world.Install();
    PlayerPed = world.playerPed;
    ScopeTogglePrompt = new Prompt("Toggle Scope", fake::HashOf("INPUT_FRONTEND_RS"), PromptMode::HoldOnce);
    ScopeTogglePrompt->Hide();
  }

  // One frame of the controller; gives what it sent.
  static std::vector<std::string> Frame() {
    const std::size_t mark = fake::EventCount();
    ScopeToggle();
    return fake::Lines(mark);
  }

  std::vector<std::string> FrameCompleted(std::uint32_t completed) {
    world.completed = completed;
    return Frame();
  }
};

TEST_F(ScopeToggleTest, BeforeThePromptIsMadeAFrameSendsNothing) {
  delete ScopeTogglePrompt;
  ScopeTogglePrompt = nullptr;
  world.Fit(world.weapon, "COMPONENT_RIFLE_SCOPE03");
  world.completed = 1;
  EXPECT_LINES(Frame(), {});
  EXPECT_TRUE(world.IsFitted(world.weapon, "COMPONENT_RIFLE_SCOPE03"));
  EXPECT_TRUE(ScopeMemory.empty());
}

struct EndCase {
  const char* name;
  void (*setup)(World&);
  std::size_t tests;  // lines of kTests sent
  bool shown;         // the frame ends with the prompt shown and polled, else hidden
};

TEST_F(ScopeToggleTest, EachWayAFrameEnds) {
  const EndCase cases[] = {
      {"distance exactly 3.0 hides", [](World& w) { w.distance = 3.0f; }, kDistance, false},
      {"distance beyond 3.0 hides", [](World& w) { w.distance = 250.0f; }, kDistance, false},
      {"distance 2.99 goes on", [](World& w) { w.distance = 2.99f; }, kWeaponTest1, true},
      {"agitation 0.3f hides, being above 0.3", [](World& w) { w.agitation = 0.3f; }, kAgitation, false},
      {"agitation 1.0 hides", [](World& w) { w.agitation = 1.0f; }, kAgitation, false},
      {"agitation 0.29 goes on", [](World& w) { w.agitation = 0.29f; }, kWeaponTest1, true},
      {"first horse state hides", [](World& w) { w.horseState1 = 1; }, kHorseState1, false},
      {"second horse state hides", [](World& w) { w.horseState2 = 0x80000000; }, kHorseState2, false},
      {"horse states read the low 32 bits",
       [](World& w) {
         w.horseState1 = 0;
         fake::Answer(hashes::HorseState1, 0xFFFFFFFF00000000);
         fake::Answer(hashes::HorseState2, 0x100000000);
       },
       kWeaponTest1, true},
      {"all three weapon tests 0 hide", [](World& w) { w.weaponTests[0] = 0; }, kWeaponTest3, false},
      {"weapon tests read the low 32 bits",
       [](World&) {
         fake::Answer(hashes::WeaponTest1, 0x100000000);
         fake::Answer(hashes::WeaponTest2, 0x200000000);
         fake::Answer(hashes::WeaponTest3, 0x400000000);
       },
       kWeaponTest3, false},
      {"the first weapon test admits", [](World&) {}, kWeaponTest1, true},
      {"the second weapon test admits",
       [](World& w) {
         w.weaponTests[0] = 0;
         w.weaponTests[1] = 1;
         w.weaponTests[2] = 1;
       },
       kWeaponTest2, true},
      {"only the third weapon test admits",
       [](World& w) {
         w.weaponTests[0] = 0;
         w.weaponTests[2] = 0xFFFFFFFF;
       },
       kWeaponTest3, true},
  };
  for (const EndCase& c : cases) {
    SCOPED_TRACE(c.name);
    world = World();
    world.Install();
    c.setup(world);
    const std::vector<std::string> frame = Frame();
    EXPECT_LINES(frame, Concat({TestsUpTo(c.tests), c.shown ? kShowAndPoll : kHide}));
    EXPECT_EQ(ScopeTogglePrompt->visible, c.shown);
    EXPECT_TRUE(ScopeMemory.empty());
  }
}

TEST_F(ScopeToggleTest, WithoutThePromptOfTheStartUpAFrameSendsNothing) {
  delete ScopeTogglePrompt;
  ScopeTogglePrompt = nullptr;
  EXPECT_LINES(Frame(), {});
}

TEST_F(ScopeToggleTest, PositionsWithoutResultSlotsReadAsTheOrigin) {
  fake::AnswerWithoutSlots(hashes::EntityPosition);
  const std::vector<std::string> frame = Frame();
  ASSERT_GT(frame.size(), 7u);
  EXPECT_EQ(frame[7], "0x0BE7F4E3CDBAFB28(0x0, 0x0, 0x0, 0x0, 0x0, 0x0, 0x1)");
}

TEST_F(ScopeToggleTest, TheSecondHorseAnswerServesTheAgitationTestOnly) {
  fake::Queue(hashes::PlayerMount, {0x30, 0x31});
  const std::vector<std::string> frame = Frame();
  ASSERT_EQ(frame.size(), kWeaponTest1 + kShowAndPoll.size());
  EXPECT_EQ(frame[10], "0x56E58D4D118FB45E(0x31, 'Agitation')");
  EXPECT_EQ(frame[11], "0x7D5B1F88E7504BBA(0x30)");
  EXPECT_EQ(frame[12], "0xDEB6D52126E7D640(0x30)");
}

TEST_F(ScopeToggleTest, NoHorseIsPassedOnLikeAnyOther) {
  world.horse = 0;
  world.distance = 0.0f;
  const std::vector<std::string> frame = Frame();
  ASSERT_GE(frame.size(), 4u);
  EXPECT_EQ(frame[2], "0x2F11D3A254169EA4(0x50, 0x0, 0x0)") << "horse 0 detaches the prompt, asking no group";
  EXPECT_EQ(frame[4], "0xA86D5F069399F44D(0x0, 0x1, 0x0)");
}

TEST_F(ScopeToggleTest, ACompletionRemovesEveryScopeAndRemembersTheFittedOne) {
  world.Fit(world.weapon, "COMPONENT_RIFLE_SCOPE03");
  world.Fit(world.weapon, "COMPONENT_RIFLE_SCOPE04");
  const std::vector<std::string> frame = FrameCompleted(1);
  EXPECT_LINES(frame, CompletedFrame({{
                          "0x76A18844E743BF91(0x40, #COMPONENT_RIFLE_SCOPE02)",
                          "0x76A18844E743BF91(0x40, #COMPONENT_RIFLE_SCOPE03)",
                          "0xFD340785ADF8CFB7('COMPONENT_RIFLE_SCOPE02')",
                          "0x19F70C4D80494FF8(0x10, #COMPONENT_RIFLE_SCOPE02, 0xA8F1E2C3)",
                          "0xFD340785ADF8CFB7('COMPONENT_RIFLE_SCOPE03')",
                          "0x19F70C4D80494FF8(0x10, #COMPONENT_RIFLE_SCOPE03, 0xA8F1E2C3)",
                          "0xFD340785ADF8CFB7('COMPONENT_RIFLE_SCOPE04')",
                          "0x19F70C4D80494FF8(0x10, #COMPONENT_RIFLE_SCOPE04, 0xA8F1E2C3)",
                      }}));
  const std::map<std::int32_t, std::uint32_t> expected = {
      {static_cast<std::int32_t>(0xA8F1E2C3), fake::HashOf("COMPONENT_RIFLE_SCOPE03")}};
  EXPECT_EQ(ScopeMemory, expected);
}

TEST_F(ScopeToggleTest, ACompletionWithoutAScopeFitsTheDefaultScope) {
  const std::vector<std::string> frame = FrameCompleted(1);
  EXPECT_LINES(frame, CompletedFrame({kNoScopeFitted,
                                      {
                                          "0xFD340785ADF8CFB7('COMPONENT_RIFLE_SCOPE02')",
                                          "0x74C9090FDD1BB48E(0x10, #COMPONENT_RIFLE_SCOPE02, 0xA8F1E2C3, 0x1)",
                                          "0x74C9090FDD1BB48E(0x40, #COMPONENT_RIFLE_SCOPE02, 0xFFFFFFFF, 0x0)",
                                      }}));
  EXPECT_TRUE(ScopeMemory.empty());
}

TEST_F(ScopeToggleTest, ACompletionWithoutAScopeFitsTheRememberedScopeAndKeepsTheEntry) {
  const std::int32_t key = static_cast<std::int32_t>(world.weapon);
  ScopeMemory[key] = fake::HashOf("COMPONENT_RIFLE_SCOPE04");
  const std::vector<std::string> frame = FrameCompleted(1);
  EXPECT_LINES(frame, CompletedFrame({kNoScopeFitted,
                                      {
                                          "0x74C9090FDD1BB48E(0x10, #COMPONENT_RIFLE_SCOPE04, 0xA8F1E2C3, 0x1)",
                                          "0x74C9090FDD1BB48E(0x40, #COMPONENT_RIFLE_SCOPE04, 0xFFFFFFFF, 0x0)",
                                      }}));
  EXPECT_EQ(ScopeMemory.size(), 1u);
  EXPECT_EQ(ScopeMemory[key], fake::HashOf("COMPONENT_RIFLE_SCOPE04"));
}

TEST_F(ScopeToggleTest, ANegativeHorseGoesSignWidenedToAgitationAndTheInteractionOnly) {
  world.horse = -3;
  const std::vector<std::string> frame = FrameCompleted(1);
  EXPECT_LINES(frame, {
                          "0x217E9DC48139933D()",
                          "0xB48050D326E9A2F3(0x2)",
                          "0xB796970BD125FCE8(0xFFFFFFFD)",
                          "0x2F11D3A254169EA4(0x50, 0x60, 0x0)",
                          "0x3A87E44BB9A01D54(0x10, &cell, 0x0, 0x1, 0x0)",
                          "0xA86D5F069399F44D(0xFFFFFFFD, 0x1, 0x0)",
                          "0xA86D5F069399F44D(0x10, 0x1, 0x0)",
                          "0x0BE7F4E3CDBAFB28(0x3F800000, 0x40000000, 0x40400000, 0x40800000, 0x40A00000, "
                          "0x40C00000, 0x1)",
                          "0x217E9DC48139933D()",
                          "0xB48050D326E9A2F3(0x2)",
                          "0x56E58D4D118FB45E(0xFFFFFFFFFFFFFFFD, 'Agitation')",
                          "0x7D5B1F88E7504BBA(0xFFFFFFFD)",
                          "0xDEB6D52126E7D640(0xFFFFFFFD)",
                          "0xDDB2578E95EF7138(0xA8F1E2C3)",
                          "0x3B390A939AF0B5FC(0x10, 0x1)",
                          "0x8A0FB4D03A630D21(0x50, 0x1)",
                          "0x71215ACCFDE075EE(0x50, 0x1)",
                          "0xE0F65F0640EF0617(0x50)",
                          "0xFD340785ADF8CFB7('COMPONENT_RIFLE_SCOPE02')",
                          "0xFD340785ADF8CFB7('COMPONENT_RIFLE_SCOPE03')",
                          "0xFD340785ADF8CFB7('COMPONENT_RIFLE_SCOPE04')",
                          "0x76A18844E743BF91(0x40, #COMPONENT_RIFLE_SCOPE02)",
                          "0x76A18844E743BF91(0x40, #COMPONENT_RIFLE_SCOPE03)",
                          "0x76A18844E743BF91(0x40, #COMPONENT_RIFLE_SCOPE04)",
                          "0xFD340785ADF8CFB7('COMPONENT_RIFLE_SCOPE02')",
                          "0x74C9090FDD1BB48E(0x10, #COMPONENT_RIFLE_SCOPE02, 0xA8F1E2C3, 0x1)",
                          "0x74C9090FDD1BB48E(0x40, #COMPONENT_RIFLE_SCOPE02, 0xFFFFFFFF, 0x0)",
                          "0xFD340785ADF8CFB7('Interaction_DrawRifleFromUnderSaddle_BothHands')",
                          "0xCD181A959CFDD7F4(0x10, 0xFFFFFFFFFFFFFFFD, "
                          "#Interaction_DrawRifleFromUnderSaddle_BothHands, 0x0, 0x1)",
                      });
}

TEST_F(ScopeToggleTest, EachWeaponKeepsItsOwnScopeAcrossRepeatedToggles) {
  const std::uint32_t a = world.weapon;
  const std::uint32_t b = 0x1B2C3D4E;
  const auto key = [](std::uint32_t weapon) { return static_cast<std::int32_t>(weapon); };
  const std::uint32_t scope03 = fake::HashOf("COMPONENT_RIFLE_SCOPE03");
  const std::uint32_t scope04 = fake::HashOf("COMPONENT_RIFLE_SCOPE04");
  world.Fit(a, "COMPONENT_RIFLE_SCOPE04");

  FrameCompleted(1);  // off A, remembered
  EXPECT_FALSE(world.IsFitted(a, "COMPONENT_RIFLE_SCOPE04"));
  EXPECT_EQ(ScopeMemory, (std::map<std::int32_t, std::uint32_t>{{key(a), scope04}}));

  FrameCompleted(0);
  world.weapon = b;
  FrameCompleted(1);  // B never had one taken off: the default, not A's
  EXPECT_TRUE(world.IsFitted(b, "COMPONENT_RIFLE_SCOPE02"));
  EXPECT_FALSE(world.IsFitted(b, "COMPONENT_RIFLE_SCOPE04"));
  EXPECT_EQ(ScopeMemory, (std::map<std::int32_t, std::uint32_t>{{key(a), scope04}}));

  FrameCompleted(0);
  world.weapon = a;
  FrameCompleted(1);  // A gets its own back
  EXPECT_TRUE(world.IsFitted(a, "COMPONENT_RIFLE_SCOPE04"));

  FrameCompleted(0);
  world.fitted[a] = {scope03};  // the player changed scopes in between
  FrameCompleted(1);
  EXPECT_TRUE(world.fitted[a].empty());
  EXPECT_EQ(ScopeMemory, (std::map<std::int32_t, std::uint32_t>{{key(a), scope03}})) << "the removal overwrites";

  FrameCompleted(0);
  world.weapon = b;
  FrameCompleted(1);  // B's default scope comes off and is remembered for B
  EXPECT_EQ(ScopeMemory, (std::map<std::int32_t, std::uint32_t>{{key(a), scope03},
                                                                {key(b), fake::HashOf("COMPONENT_RIFLE_SCOPE02")}}));
  EXPECT_EQ(fake::CountNative(hashes::StartInteraction), 5u);
}

TEST_F(ScopeToggleTest, AHeldCompletionTogglesOnceUntilTheHostAnswersZero) {
  world.Fit(world.weapon, "COMPONENT_RIFLE_SCOPE02");
  std::vector<std::size_t> interactions;
  for (const std::uint32_t completed : {1u, 1u, 1u, 0u, 1u}) {
    const std::size_t mark = fake::EventCount();
    FrameCompleted(completed);
    interactions.push_back(fake::CountNative(hashes::StartInteraction, mark));
  }
  EXPECT_EQ(interactions, (std::vector<std::size_t>{1, 0, 0, 0, 1}));
  EXPECT_TRUE(world.IsFitted(world.weapon, "COMPONENT_RIFLE_SCOPE02")) << "taken off, then put back";
}

using ScopeToggleInFrameTest = ScriptTest;

TEST_F(ScopeToggleInFrameTest, TheLatchHoldsOverFramesOfTheRealLoop) {
  world.Fit(world.weapon, "COMPONENT_RIFLE_SCOPE03");
  fake::Queue(hashes::PromptHoldDone, {1, 1, 1, 0, 1});
  Start("DisableReticleInScope=0\n");
  std::vector<std::size_t> interactions;
  for (int frame = 0; frame < 6; ++frame) {
    const std::size_t mark = fake::EventCount();
    fake::ResumeScript();
    interactions.push_back(fake::CountNative(hashes::StartInteraction, mark));
  }
  EXPECT_EQ(interactions, (std::vector<std::size_t>{1, 0, 0, 0, 1, 0}));
  EXPECT_TRUE(world.IsFitted(world.weapon, "COMPONENT_RIFLE_SCOPE03")) << "remembered and put back";
}

TEST_F(ScopeToggleInFrameTest, SwitchedOffThePromptStaysHiddenAndNothingIsRemembered) {
  world.Fit(world.weapon, "COMPONENT_RIFLE_SCOPE03");
  world.completed = 1;
  Start("EnableScopeToggle=0\nDisableReticleInScope=0\n");
  for (int frame = 0; frame < 3; ++frame) fake::ResumeScript();
  ASSERT_NE(ScopeTogglePrompt, nullptr);
  EXPECT_FALSE(ScopeTogglePrompt->visible);
  EXPECT_TRUE(ScopeMemory.empty());
  EXPECT_EQ(fake::CountNative(hashes::PlayerMount), 0u);
  EXPECT_EQ(fake::CountNative(hashes::PromptVisible), 1u) << "only the Hide at initialisation";
}

}  // namespace
