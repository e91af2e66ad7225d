#include <algorithm>
#include <iterator>

#include "ScriptFixture.h"
#include "features/Prompt.h"
#include "features/ScopeToggle.h"

namespace {

// Everything up to the last weapon test, on a frame where every test is asked.
const std::vector<std::string> kTests = {
    "GetPlayerId()",
    "GetPlayerMount(2)",
    "EntityPromptGroup(0x30)",
    "PromptSetGroup(0x50, 0x60, 0)",
    "GetCurrentWeapon(0x10, &cell, 0, 1, 0)",
    "GetEntityPosition(0x30, 1, 0)",
    "GetEntityPosition(0x10, 1, 0)",
    "GetDistanceBetween(1, 2, 3, 2, 2.5, 3.5, 1)",
    "GetPlayerId()",
    "GetPlayerMount(2)",
    "GetHorseAgitation(0x30, 'Agitation')",
    "HorseInFirstBlockingState(0x30)",
    "HorseInSecondBlockingState(0x30)",
    "WeaponPassesFirstTest(0xA8F1E2C3)",
    "WeaponPassesSecondTest(0xA8F1E2C3)",
    "WeaponPassesThirdTest(0xA8F1E2C3)",
};
// How many lines of kTests a frame sends when it stops after that test.
constexpr std::size_t kDistance = 8, kAgitation = 11, kHorseState1 = 12, kHorseState2 = 13, kWeaponTest1 = 14,
                      kWeaponTest2 = 15, kWeaponTest3 = 16;

using Memory = decltype(ScopeMemory);

const std::vector<std::string> kHide = {"PromptSetEnabled(0x50, 0)", "PromptSetVisible(0x50, 0)"};
const std::vector<std::string> kShowAndPoll = {"GetWeaponEntityInHand(0x10, 1)", "PromptSetEnabled(0x50, 1)",
                                               "PromptSetVisible(0x50, 1)", "PromptHoldCompleted(0x50)"};
const std::vector<std::string> kFindScope = {"GetHashKey('COMPONENT_RIFLE_SCOPE02')",
                                             "GetHashKey('COMPONENT_RIFLE_SCOPE03')",
                                             "GetHashKey('COMPONENT_RIFLE_SCOPE04')"};
const std::vector<std::string> kInteraction = {
    "GetHashKey('Interaction_DrawRifleFromUnderSaddle_BothHands')",
    "StartInteraction(0x10, 0x30, #Interaction_DrawRifleFromUnderSaddle_BothHands, 0, 1)"};

std::vector<std::string> TestsUpTo(std::size_t count) {
  return std::vector<std::string>(kTests.begin(), kTests.begin() + count);
}

// The fitted checks of a weapon that carries none of the three scopes.
const std::vector<std::string> kNoScopeFitted = {"HasWeaponComponent(0x40, #COMPONENT_RIFLE_SCOPE02)",
                                                 "HasWeaponComponent(0x40, #COMPONENT_RIFLE_SCOPE03)",
                                                 "HasWeaponComponent(0x40, #COMPONENT_RIFLE_SCOPE04)"};

// The default scope fitted to the weapon and to its entity.
const std::vector<std::string> kFitDefaultScope = {"GetHashKey('COMPONENT_RIFLE_SCOPE02')",
                                                   "AddWeaponComponent(0x10, #COMPONENT_RIFLE_SCOPE02, 0xA8F1E2C3, 1)",
                                                   "AddWeaponComponent(0x40, #COMPONENT_RIFLE_SCOPE02, 0xFFFFFFFF, 0)"};

// A frame that completes the prompt: every test passes, the prompt shows, the scopes are looked up,
// `toggle` checks and changes them, the interaction starts.
std::vector<std::string> CompletedFrame(std::initializer_list<std::vector<std::string>> toggle) {
  return Concat({TestsUpTo(kWeaponTest1), kShowAndPoll, kFindScope, Concat(toggle), kInteraction});
}

class ScopeToggleTest : public FeatureTest {
 protected:
  void SetUp() override {
    FeatureTest::SetUp();
    ScopeTogglePrompt = new Prompt("Toggle Scope", kToggleControl, PromptMode::HoldOnce);
    ScopeTogglePrompt->Hide();
  }

  static std::vector<std::string> Frame() { return LinesSentBy(ScopeToggle); }

  static std::vector<std::string> FrameCompleted(bool completed) {
    HoldToggle(completed);
    return Frame();
  }
};

TEST_F(ScopeToggleTest, BeforeThePromptIsMadeAFrameSendsNothing) {
  delete ScopeTogglePrompt;
  ScopeTogglePrompt = nullptr;
  Fit(Rifle(), "COMPONENT_RIFLE_SCOPE03");
  HoldToggle(true);
  EXPECT_LINES(Frame(), {});
  EXPECT_TRUE(IsFitted(Rifle(), "COMPONENT_RIFLE_SCOPE03"));
  EXPECT_TRUE(ScopeMemory.empty());
}

struct EndCase {
  const char* name;
  void (*setup)(Game&);
  std::size_t tests;  // lines of kTests sent
  bool shown;         // the frame ends with the prompt shown and polled, else hidden
};

TEST_F(ScopeToggleTest, EachWayAFrameEnds) {
  const EndCase cases[] = {
      {"distance exactly 3.0 hides", [](Game&) { fake::Answer(natives::GetDistanceBetween, fake::Float(3.0f)[0]); },
       kDistance, false},
      {"distance beyond 3.0 hides", [](Game&) { fake::Answer(natives::GetDistanceBetween, fake::Float(250.0f)[0]); },
       kDistance, false},
      {"distance 2.99 goes on", [](Game&) { fake::Answer(natives::GetDistanceBetween, fake::Float(2.99f)[0]); },
       kWeaponTest1, true},
      {"agitation 0.3f hides, being above 0.3", [](Game& g) { g.agitation = 0.3f; }, kAgitation, false},
      {"agitation 1.0 hides", [](Game& g) { g.agitation = 1.0f; }, kAgitation, false},
      {"agitation 0.29 goes on", [](Game& g) { g.agitation = 0.29f; }, kWeaponTest1, true},
      {"first horse state hides", [](Game& g) { g.horseStates[0] = 1; }, kHorseState1, false},
      {"second horse state hides", [](Game& g) { g.horseStates[1] = 0x80000000; }, kHorseState2, false},
      {"horse states read the low 32 bits",
       [](Game&) {
         fake::Answer(natives::HorseInFirstBlockingState, 0xFFFFFFFF00000000);
         fake::Answer(natives::HorseInSecondBlockingState, 0x100000000);
       },
       kWeaponTest1, true},
      {"all three weapon tests 0 hide", [](Game&) { Rifle().tests[0] = 0; }, kWeaponTest3, false},
      {"weapon tests read the low 32 bits",
       [](Game&) {
         fake::Answer(natives::WeaponPassesFirstTest, 0x100000000);
         fake::Answer(natives::WeaponPassesSecondTest, 0x200000000);
         fake::Answer(natives::WeaponPassesThirdTest, 0x400000000);
       },
       kWeaponTest3, false},
      {"the first weapon test admits", [](Game&) {}, kWeaponTest1, true},
      {"the second weapon test admits",
       [](Game&) {
         Rifle().tests[0] = 0;
         Rifle().tests[1] = 1;
         Rifle().tests[2] = 1;
       },
       kWeaponTest2, true},
      {"only the third weapon test admits",
       [](Game&) {
         Rifle().tests[0] = 0;
         Rifle().tests[2] = 0xFFFFFFFF;
       },
       kWeaponTest3, true},
  };
  const Game start = TheGame;
  for (const EndCase& c : cases) {
    SCOPED_TRACE(c.name);
    fake::Reset();
    TheGame = start;
    c.setup(TheGame);
    EXPECT_LINES(Frame(), Concat({TestsUpTo(c.tests), c.shown ? kShowAndPoll : kHide}));
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
  fake::AnswerWithoutSlots(natives::GetEntityPosition);
  const std::vector<std::string> frame = Frame();
  ASSERT_GT(frame.size(), 7u);
  EXPECT_EQ(frame[7], "GetDistanceBetween(0, 0, 0, 0, 0, 0, 1)");
}

TEST_F(ScopeToggleTest, TheSecondHorseAnswerServesTheAgitationTestOnly) {
  fake::Queue(natives::GetPlayerMount, {0x30, 0x31});
  const std::vector<std::string> frame = Frame();
  ASSERT_EQ(frame.size(), kWeaponTest1 + kShowAndPoll.size());
  EXPECT_EQ(frame[10], "GetHorseAgitation(0x31, 'Agitation')");
  EXPECT_EQ(frame[11], "HorseInFirstBlockingState(0x30)");
  EXPECT_EQ(frame[12], "HorseInSecondBlockingState(0x30)");
}

TEST_F(ScopeToggleTest, NoHorseIsPassedOnLikeAnyOther) {
  TheGame.hasHorse = false;
  const std::vector<std::string> frame = Frame();
  ASSERT_GE(frame.size(), 4u);
  EXPECT_EQ(frame[2], "PromptSetGroup(0x50, 0, 0)") << "horse 0 detaches the prompt, asking no group";
  EXPECT_EQ(frame[4], "GetEntityPosition(0, 1, 0)");
}

TEST_F(ScopeToggleTest, ACompletionRemovesEveryScopeAndRemembersTheFittedOne) {
  Fit(Rifle(), "COMPONENT_RIFLE_SCOPE03");
  Fit(Rifle(), "COMPONENT_RIFLE_SCOPE04");
  EXPECT_LINES(FrameCompleted(true), CompletedFrame({{
                                         "HasWeaponComponent(0x40, #COMPONENT_RIFLE_SCOPE02)",
                                         "HasWeaponComponent(0x40, #COMPONENT_RIFLE_SCOPE03)",
                                         "GetHashKey('COMPONENT_RIFLE_SCOPE02')",
                                         "RemoveWeaponComponent(0x10, #COMPONENT_RIFLE_SCOPE02, 0xA8F1E2C3)",
                                         "GetHashKey('COMPONENT_RIFLE_SCOPE03')",
                                         "RemoveWeaponComponent(0x10, #COMPONENT_RIFLE_SCOPE03, 0xA8F1E2C3)",
                                         "GetHashKey('COMPONENT_RIFLE_SCOPE04')",
                                         "RemoveWeaponComponent(0x10, #COMPONENT_RIFLE_SCOPE04, 0xA8F1E2C3)",
                                     }}));
  EXPECT_EQ(ScopeMemory, (Memory{{static_cast<std::int32_t>(0xA8F1E2C3), NameHash("COMPONENT_RIFLE_SCOPE03")}}));
}

TEST_F(ScopeToggleTest, ACompletionWithoutAScopeFitsTheDefaultScope) {
  EXPECT_LINES(FrameCompleted(true), CompletedFrame({kNoScopeFitted, kFitDefaultScope}));
  EXPECT_TRUE(ScopeMemory.empty());
}

TEST_F(ScopeToggleTest, ACompletionWithoutAScopeFitsTheRememberedScopeAndKeepsTheEntry) {
  const std::int32_t key = static_cast<std::int32_t>(kRifle);
  ScopeMemory[key] = NameHash("COMPONENT_RIFLE_SCOPE04");
  EXPECT_LINES(FrameCompleted(true),
               CompletedFrame({kNoScopeFitted,
                               {
                                   "AddWeaponComponent(0x10, #COMPONENT_RIFLE_SCOPE04, 0xA8F1E2C3, 1)",
                                   "AddWeaponComponent(0x40, #COMPONENT_RIFLE_SCOPE04, 0xFFFFFFFF, 0)",
                               }}));
  EXPECT_EQ(ScopeMemory.size(), 1u);
  EXPECT_EQ(ScopeMemory[key], NameHash("COMPONENT_RIFLE_SCOPE04"));
}

TEST_F(ScopeToggleTest, ANegativeHorseGoesSignWidenedToAgitationAndTheInteractionOnly) {
  TheGame.horse = -3;
  // Everywhere else the handle goes zero-extended.
  std::vector<std::string> expected = CompletedFrame({kNoScopeFitted, kFitDefaultScope});
  for (std::string& line : expected) {
    const bool widened = line.starts_with("GetHorseAgitation(") || line.starts_with("StartInteraction(");
    if (const std::size_t at = line.find("0x30"); at != std::string::npos)
      line.replace(at, 4, widened ? "-3" : "0xFFFFFFFD");
  }
  EXPECT_LINES(FrameCompleted(true), expected);
}

TEST_F(ScopeToggleTest, EachWeaponKeepsItsOwnScopeAcrossRepeatedToggles) {
  const std::uint32_t a = kRifle, b = 0x1B2C3D4E;
  const auto key = [](std::uint32_t weapon) { return static_cast<std::int32_t>(weapon); };
  const std::uint32_t scope03 = NameHash("COMPONENT_RIFLE_SCOPE03"), scope04 = NameHash("COMPONENT_RIFLE_SCOPE04");
  Fit(Rifle(), "COMPONENT_RIFLE_SCOPE04");

  FrameCompleted(true);  // off A, remembered
  EXPECT_FALSE(IsFitted(Rifle(), "COMPONENT_RIFLE_SCOPE04"));
  EXPECT_EQ(ScopeMemory, (Memory{{key(a), scope04}}));

  FrameCompleted(false);
  Draw(b).tests[0] = 1;
  FrameCompleted(true);  // B never had one taken off: the default, not A's
  EXPECT_TRUE(IsFitted(*FindWeapon(b), "COMPONENT_RIFLE_SCOPE02"));
  EXPECT_FALSE(IsFitted(*FindWeapon(b), "COMPONENT_RIFLE_SCOPE04"));
  EXPECT_EQ(ScopeMemory, (Memory{{key(a), scope04}}));

  FrameCompleted(false);
  Draw(a);
  FrameCompleted(true);  // A gets its own back
  EXPECT_TRUE(IsFitted(Rifle(), "COMPONENT_RIFLE_SCOPE04"));

  FrameCompleted(false);
  SetComponent(Rifle(), scope04, false);  // the player changed scopes in between
  SetComponent(Rifle(), scope03, true);
  FrameCompleted(true);
  EXPECT_EQ(std::count(std::begin(Rifle().components), std::end(Rifle().components), 0u), kMaxComponents);
  EXPECT_EQ(ScopeMemory, (Memory{{key(a), scope03}})) << "the removal overwrites";

  FrameCompleted(false);
  Draw(b);
  FrameCompleted(true);  // B's default scope comes off and is remembered for B
  EXPECT_EQ(ScopeMemory, (Memory{{key(a), scope03}, {key(b), NameHash("COMPONENT_RIFLE_SCOPE02")}}));
  EXPECT_EQ(fake::CountNative(natives::StartInteraction), 5u);
}

TEST_F(ScopeToggleTest, AHeldCompletionTogglesOnceUntilTheHostAnswersZero) {
  Fit(Rifle(), "COMPONENT_RIFLE_SCOPE02");
  std::vector<std::size_t> interactions;
  for (const bool completed : {true, true, true, false, true}) {
    const std::size_t mark = fake::LineCount();
    FrameCompleted(completed);
    interactions.push_back(fake::CountNative(natives::StartInteraction, mark));
  }
  EXPECT_EQ(interactions, (std::vector<std::size_t>{1, 0, 0, 0, 1}));
  EXPECT_TRUE(IsFitted(Rifle(), "COMPONENT_RIFLE_SCOPE02")) << "taken off, then put back";
}

using ScopeToggleInFrameTest = ScriptTest;

TEST_F(ScopeToggleInFrameTest, TheLatchHoldsOverFramesOfTheRealLoop) {
  Fit(Rifle(), "COMPONENT_RIFLE_SCOPE03");
  fake::Queue(natives::PromptHoldCompleted, {1, 1, 1, 0, 1});
  Start("DisableReticleInScope=0\n");
  std::vector<std::size_t> interactions;
  for (int frame = 0; frame < 6; ++frame) {
    const std::size_t mark = fake::LineCount();
    ResumeScript();
    interactions.push_back(fake::CountNative(natives::StartInteraction, mark));
  }
  EXPECT_EQ(interactions, (std::vector<std::size_t>{1, 0, 0, 0, 1, 0}));
  EXPECT_TRUE(IsFitted(Rifle(), "COMPONENT_RIFLE_SCOPE03")) << "remembered and put back";
}

TEST_F(ScopeToggleInFrameTest, SwitchedOffThePromptStaysHiddenAndNothingIsRemembered) {
  Fit(Rifle(), "COMPONENT_RIFLE_SCOPE03");
  HoldToggle(true);
  Start("EnableScopeToggle=0\nDisableReticleInScope=0\n");
  for (int frame = 0; frame < 3; ++frame) ResumeScript();
  ASSERT_NE(ScopeTogglePrompt, nullptr);
  EXPECT_FALSE(ScopeTogglePrompt->visible);
  EXPECT_TRUE(ScopeMemory.empty());
  EXPECT_EQ(fake::CountNative(natives::GetPlayerMount), 0u);
  EXPECT_EQ(fake::CountNative(natives::PromptSetVisible), 1u) << "only the Hide at initialisation";
}

}  // namespace
