#include <stdexcept>

#include "ScriptFixture.h"
#include "common/FatalText.h"
#include "core/Settings.h"
#include "features/Prompt.h"

namespace {

std::vector<std::string> ShowsFatal(const std::string& what) { return ShownOnScreen(Fatal(what)); }

const std::vector<std::string> kLoaded = {"loading settings file: Varnholt.ini", "settings file loaded"};
const std::vector<std::string> kRefresh = {"GetPlayerPedHandle()"};
const std::vector<std::string> kWait = {"scriptWait(0)"};
// The reticle suppression when its player test answers no.
const std::vector<std::string> kReticleNo = {"GetPlayerId()", "PlayerInScopeTest(2)"};

class ScriptFailureTest : public ScriptTest {
 protected:
  // After a first frame that failed reading a switch, each of that many frames fails there too: it
  // sends what came before the read and shows the message, and each frame logs the report.
  static void ExpectFramesFailAtASwitch(const std::vector<std::string>& before, const std::string& what, int frames) {
    std::vector<std::string> log = Concat({kLoaded, {"Something wrong happened", Fatal(what)}});
    for (int frame = 0; frame < frames; ++frame) {
      EXPECT_LINES(Step(), Concat({kRefresh, before, ShowsFatal(what), kWait}));
      log.insert(log.end(), {"Something wrong happened", Fatal(what)});
    }
    EXPECT_LINES(LogMessages(), log);
  }
};

fake::Handler Throws(const char* what) {
  return [what](const NativeCall&) -> fake::Slots { throw std::runtime_error(what); };
}

TEST_F(ScriptFailureTest, ASwitchThatIsNoNumberFailsEveryFrameBeforeAnyFeature) {
  StartPastInit("DisableReticleInScope=abc\n");
  ExpectFramesFailAtASwitch({}, "invalid stoi argument", 2);
  EXPECT_EQ(fake::CountNative(natives::GetPlayerMount), 0u) << "neither feature ran";
  EXPECT_EQ(fake::CountNative(natives::PlayerInScopeTest), 0u);
}

TEST_F(ScriptFailureTest, ABadScopeToggleSwitchLetsTheReticleRunFirst) {
  StartPastInit("EnableScopeToggle=on\n");
  ExpectFramesFailAtASwitch(kReticleNo, "invalid stoi argument", 1);
}

TEST_F(ScriptFailureTest, ASwitchOutOfRange) {
  StartPastInit("DisableReticleInScope=0\nEnableScopeToggle=-2147483649\n");
  ExpectFramesFailAtASwitch({}, "stoi argument out of range", 1);
}

TEST_F(ScriptFailureTest, AStandardExceptionInAFeatureIsLoggedShownAndTheNextFrameIsNormal) {
  StartPastInit("DisableReticleInScope=0\n");
  const std::vector<std::string> normal = Step();
  ASSERT_EQ(normal.size(), 20u) << "refresh, the scope toggle showing its prompt, wait";
  fake::Once(natives::GetPlayerMount, Throws("no horse today"));
  EXPECT_LINES(Step(), Concat({kRefresh, {"GetPlayerId()", "GetPlayerMount(2)"}, ShowsFatal("no horse today"), kWait}));
  EXPECT_LINES(Step(), normal);
  EXPECT_LINES(LogMessages(), Concat({kLoaded, {"Something wrong happened", Fatal("no horse today")}}));
}

TEST_F(ScriptFailureTest, AnExceptionOfAnotherKindIsLoggedButNotShown) {
  StartPastInit("DisableReticleInScope=0\n");
  const std::vector<std::string> normal = Step();
  fake::Once(natives::GetPlayerMount, [](const NativeCall&) -> fake::Slots { throw 42; });
  EXPECT_LINES(Step(), Concat({kRefresh, {"GetPlayerId()", "GetPlayerMount(2)"}, kWait}));
  EXPECT_LINES(Step(), normal);
  EXPECT_LINES(LogMessages(),
               Concat({kLoaded, {"Something wrong happened", "Unknown exception caught, the script goes on."}}));
}

TEST_F(ScriptFailureTest, AFailingPedRefreshTakesTheFailurePathAndSkipsTheFeatures) {
  Aim();
  StartPastInit("EnableScopeToggle=0\n");
  const std::vector<std::string> normal = Step();
  ASSERT_EQ(normal.size(), 7u);
  fake::Once(natives::GetPlayerPedHandle, Throws("ped lookup failed"));
  EXPECT_LINES(Step(), Concat({kRefresh, ShowsFatal("ped lookup failed"), kWait}));
  EXPECT_LINES(Step(), normal);
  EXPECT_LINES(LogMessages(), Concat({kLoaded, {"Something wrong happened", Fatal("ped lookup failed")}}));
}

TEST_F(ScriptFailureTest, AFailureWhileShowingTheFatalTextIsSwallowed) {
  StartPastInit("DisableReticleInScope=0\n");
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
