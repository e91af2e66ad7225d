#include <stdexcept>

#include "ScriptFixture.h"
#include "common/FatalText.h"
#include "core/Settings.h"
#include "features/Prompt.h"

namespace {

using ScriptFailureTest = ScriptTest;

std::vector<std::string> ShowsFatal(const std::string& what) { return ShownOnScreen(Fatal(what)); }

const std::vector<std::string> kLoaded = {"loading settings file: Varnholt.ini", "settings file loaded"};
const std::vector<std::string> kRefresh = {"GetPlayerPedHandle()"};
const std::vector<std::string> kWait = {"scriptWait(0)"};
// The reticle suppression when its player test answers no.
const std::vector<std::string> kReticleNo = {"GetPlayerId()", "PlayerInScopeTest(2)"};

fake::Handler Throws(const char* what) {
  return [what](const NativeCall&) -> fake::Slots { throw std::runtime_error(what); };
}

TEST_F(ScriptFailureTest, ASwitchThatIsNoNumberFailsEveryFrameBeforeAnyFeature) {
  Start("DisableReticleInScope=abc\n");
  Step();
  for (int frame = 0; frame < 2; ++frame)
    EXPECT_LINES(Step(), Concat({kRefresh, ShowsFatal("invalid stoi argument"), kWait}));
  std::vector<std::string> log = kLoaded;
  for (int frame = 0; frame < 3; ++frame) {
    log.push_back("Something wrong happened");
    log.push_back(Fatal("invalid stoi argument"));
  }
  EXPECT_LINES(LogMessages(), log);
  EXPECT_EQ(fake::CountNative(natives::GetPlayerMount), 0u) << "neither feature ran";
  EXPECT_EQ(fake::CountNative(natives::PlayerInScopeTest), 0u);
}

TEST_F(ScriptFailureTest, ABadScopeToggleSwitchLetsTheReticleRunFirst) {
  Start("EnableScopeToggle=on\n");
  Step();
  EXPECT_LINES(Step(), Concat({kRefresh, kReticleNo, ShowsFatal("invalid stoi argument"), kWait}));
  EXPECT_LINES(LogMessages(), Concat({kLoaded,
                                      {"Something wrong happened", Fatal("invalid stoi argument"),
                                       "Something wrong happened", Fatal("invalid stoi argument")}}));
}

TEST_F(ScriptFailureTest, ASwitchOutOfRange) {
  Start("DisableReticleInScope=0\nEnableScopeToggle=-2147483649\n");
  Step();
  EXPECT_LINES(Step(), Concat({kRefresh, ShowsFatal("stoi argument out of range"), kWait}));
  EXPECT_LINES(LogMessages(), Concat({kLoaded,
                                      {"Something wrong happened", Fatal("stoi argument out of range"),
                                       "Something wrong happened", Fatal("stoi argument out of range")}}));
}

TEST_F(ScriptFailureTest, AStandardExceptionInAFeatureIsLoggedShownAndTheNextFrameIsNormal) {
  Start("DisableReticleInScope=0\n");
  Step();
  const std::vector<std::string> normal = Step();
  ASSERT_EQ(normal.size(), 20u) << "refresh, the scope toggle showing its prompt, wait";
  fake::Once(natives::GetPlayerMount, Throws("no horse today"));
  EXPECT_LINES(Step(), Concat({kRefresh, {"GetPlayerId()", "GetPlayerMount(2)"}, ShowsFatal("no horse today"), kWait}));
  EXPECT_LINES(Step(), normal);
  EXPECT_LINES(LogMessages(), Concat({kLoaded, {"Something wrong happened", Fatal("no horse today")}}));
}

TEST_F(ScriptFailureTest, AnExceptionOfAnotherKindIsLoggedButNotShown) {
  Start("DisableReticleInScope=0\n");
  Step();
  const std::vector<std::string> normal = Step();
  fake::Once(natives::GetPlayerMount, [](const NativeCall&) -> fake::Slots { throw 42; });
  EXPECT_LINES(Step(), Concat({kRefresh, {"GetPlayerId()", "GetPlayerMount(2)"}, kWait}));
  EXPECT_LINES(Step(), normal);
  EXPECT_LINES(LogMessages(),
               Concat({kLoaded, {"Something wrong happened", "Unknown exception caught, the script goes on."}}));
}

TEST_F(ScriptFailureTest, AFailingPedRefreshTakesTheFailurePathAndSkipsTheFeatures) {
  Aim();
  Start("EnableScopeToggle=0\n");
  Step();
  const std::vector<std::string> normal = Step();
  ASSERT_EQ(normal.size(), 7u);
  fake::Once(natives::GetPlayerPedHandle, Throws("ped lookup failed"));
  EXPECT_LINES(Step(), Concat({kRefresh, ShowsFatal("ped lookup failed"), kWait}));
  EXPECT_LINES(Step(), normal);
  EXPECT_LINES(LogMessages(), Concat({kLoaded, {"Something wrong happened", Fatal("ped lookup failed")}}));
}

TEST_F(ScriptFailureTest, AFailureWhileShowingTheFatalTextIsSwallowed) {
  Start("DisableReticleInScope=0\n");
  Step();
  fake::Once(natives::GetPlayerMount, Throws("first"));
  fake::Once(natives::CreateLiteralText, Throws("second"));
  const std::vector<std::string> frame = Step();
  ASSERT_FALSE(frame.empty());
  EXPECT_EQ(frame.back(), "scriptWait(0)");
  EXPECT_EQ(fake::CountNative(natives::SetScreenText), 0u);
  EXPECT_LINES(LogMessages(), Concat({kLoaded, {"Something wrong happened", Fatal("first")}}));
  EXPECT_EQ(Step().back(), "scriptWait(0)");
}

TEST_F(ScriptFailureTest, AReportWithNoExceptionBeingHandledSaysSoAndShowsNothing) {
  ReportFailure();
  EXPECT_LINES(fake::Lines(), {});
  EXPECT_LINES(LogMessages(), {"Something wrong happened", "No exception captured."});
}

// InitScript with the default settings file absent, up to and including the prompt's Hide; after a
// failure whose message the game made a text of first, the label is its second text.
const std::vector<std::string> kInit = InitLines("Toggle Scope");
const std::vector<std::string> kInitAfterAMessage = InitLines("Toggle Scope", "0x50", "0x7E57000000000002");
const std::vector<std::string> kNoFile = {"Unable to load from data file, please make sure it exists."};

using InitFailureTest = ScriptFailureTest;

TEST_F(InitFailureTest, AFailingFirstRefreshIsReportedAndInitialisationIsTriedAgain) {
  fake::Once(natives::GetPlayerPedHandle, Throws("not ready"));
  Start();
  EXPECT_LINES(Step(), Concat({kRefresh, ShowsFatal("not ready"), kWait}));
  EXPECT_EQ(Settings, nullptr);
  EXPECT_EQ(ScopeTogglePrompt, nullptr);
  const std::vector<std::string> lines = Step();
  ASSERT_GT(lines.size(), kInit.size());
  EXPECT_LINES(std::vector<std::string>(lines.begin(), lines.begin() + static_cast<long>(kInit.size())),
               kInitAfterAMessage);
  EXPECT_EQ(lines.back(), "scriptWait(0)");
  EXPECT_LINES(LogMessages(), Concat({{"Something wrong happened", Fatal("not ready")}, kNoFile}));
  EXPECT_EQ(fake::CountNative(natives::PromptCreate), 1u);
}

TEST_F(InitFailureTest, AFailureInThePromptsCreationReloadsTheSettingsOnTheRetry) {
  fake::Once(natives::PromptCreate, Throws("no prompt"));
  Start("EnableScopeToggle=0\nDisableReticleInScope=0\n");
  EXPECT_LINES(Step(), Concat({{"GetPlayerPedHandle()", "GetHashKey('INPUT_FRONTEND_RS')", "PromptCreate()"},
                               ShowsFatal("no prompt"),
                               kWait}));
  EXPECT_EQ(ScopeTogglePrompt, nullptr);
  EXPECT_LINES(Step(), Concat({kInitAfterAMessage, kRefresh, kWait}));
  EXPECT_LINES(Step(), Concat({kRefresh, kWait}));
  EXPECT_LINES(LogMessages(), Concat({kLoaded, {"Something wrong happened", Fatal("no prompt")}, kLoaded}));
  ASSERT_NE(ScopeTogglePrompt, nullptr);
  EXPECT_FALSE(ScopeTogglePrompt->visible);
}

TEST_F(InitFailureTest, AFailureWhileHidingTheNewPromptMakesAFreshOneOnTheRetry) {
  fake::Once(natives::PromptSetEnabled, Throws("hide refused"));
  Start("EnableScopeToggle=0\nDisableReticleInScope=0\n");
  const std::vector<std::string> failed = Step();  // before ShowsFatal looks the message's text up
  EXPECT_LINES(failed,
               Concat({std::vector<std::string>(kInit.begin(), kInit.end() - 1), ShowsFatal("hide refused"), kWait}));
  // The host makes a new prompt; the label is the text it made before.
  EXPECT_LINES(Step(), Concat({InitLines("Toggle Scope", "0x51"), kRefresh, kWait}));
  EXPECT_EQ(fake::CountNative(natives::PromptCreate), 2u);
  ASSERT_NE(ScopeTogglePrompt, nullptr);
  EXPECT_FALSE(ScopeTogglePrompt->visible);
}

TEST_F(InitFailureTest, APersistentFailureKeepsTheScriptYieldingEveryFrame) {
  fake::OnNative(natives::GetHashKey, Throws("hashing is down"));
  Start();
  for (int frame = 0; frame < 5; ++frame) {
    EXPECT_LINES(
        Step(),
        Concat({{"GetPlayerPedHandle()", "GetHashKey('INPUT_FRONTEND_RS')"}, ShowsFatal("hashing is down"), kWait}));
  }
  EXPECT_EQ(LogMessages().size(), 15u) << "each try: the settings line, then the two failure lines";
  EXPECT_EQ(fake::CountNative(natives::GetPlayerMount), 0u) << "no frame work before initialisation succeeded";
}

TEST_F(InitFailureTest, AnExceptionOfAnotherKindInInitialisationIsLoggedAndTriedAgain) {
  fake::Once(natives::GetPlayerPedHandle, [](const NativeCall&) -> fake::Slots { throw std::string("odd"); });
  Start("EnableScopeToggle=0\nDisableReticleInScope=0\n");
  EXPECT_LINES(Step(), Concat({kRefresh, kWait}));
  EXPECT_LINES(Step(), Concat({kInit, kRefresh, kWait}));
  EXPECT_LINES(LogMessages(),
               Concat({{"Something wrong happened", "Unknown exception caught, the script goes on."}, kLoaded}));
}

}  // namespace
