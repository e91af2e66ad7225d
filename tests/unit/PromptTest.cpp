#include <string>

#include "ScriptFixture.h"
#include "features/Prompt.h"

namespace {

constexpr std::uint32_t kControl = 0x9A3B5C7D;

// The game answers the first prompt with handle 0x50 and the first text with the host text value
// 0x7E57000000000001, whose high bits the plug-in must keep.
class PromptTest : public PluginTest {
 protected:
  // A prompt made and then shown, with the events and answers of both forgotten.
  static Prompt Shown(PromptMode mode) {
    fake::Reset();
    Prompt prompt("Toggle Scope", kControl, mode);
    prompt.Show();
    fake::Reset();
    return prompt;
  }
};

struct ModeCase {
  PromptMode mode;
  std::vector<std::string> setup;  // the mode's set-up natives at creation
  std::string query;               // its completion query ("" for none)
};

const ModeCase kModes[] = {
    {PromptMode::Standard, {"PromptSetupStandard(0x50, 1)"}, "PromptStandardCompleted(0x50, 0)"},
    {PromptMode::Hold, {"PromptSetupHold(0x50, 1)"}, "PromptHoldCompleted(0x50)"},
    {PromptMode::HoldOnce, {"PromptSetupHold(0x50, 1)"}, "PromptHoldCompleted(0x50)"},
    {PromptMode::Mash, {"PromptSetupMash(0x50, 1, 0, 0, 0)"}, "PromptMashCompleted(0x50)"},
    {static_cast<PromptMode>(4), {}, ""},
    {static_cast<PromptMode>(-1), {}, ""},
};

TEST_F(PromptTest, ConstructionSendsTheNineStepsForEachMode) {
  for (const ModeCase& c : kModes) {
    SCOPED_TRACE("mode " + std::to_string(static_cast<int>(c.mode)));
    fake::Reset();
    const char* label = "Toggle Scope";
    const Prompt prompt(label, kControl, c.mode);

    EXPECT_LINES(fake::Lines(), PromptCreationLines(label, "0x9A3B5C7D", c.setup));

    EXPECT_EQ(prompt.handle, 0x50);
    EXPECT_TRUE(prompt.enabled);
    EXPECT_FALSE(prompt.visible);
    EXPECT_EQ(prompt.label, label);
    EXPECT_EQ(prompt.control, kControl);
    EXPECT_EQ(prompt.groupEntity, 0);
    EXPECT_EQ(prompt.mode, c.mode);
    EXPECT_FALSE(prompt.completionLatch);
  }
}

TEST_F(PromptTest, AHandleWithTheHighBitSetIsPushedZeroExtended) {
  fake::Answer(natives::PromptCreate, 0xFFFFFFFFFFFFFFFA);  // only the low 32 bits are the handle
  Prompt prompt("x", 1, PromptMode::Standard);
  EXPECT_EQ(prompt.handle, -6);
  EXPECT_LINES(LinesSentBy([&] { prompt.Show(); }),
               {"PromptSetEnabled(0xFFFFFFFA, 1)", "PromptSetVisible(0xFFFFFFFA, 1)"});
}

TEST_F(PromptTest, ALabelOfAnyLengthIsSentWhole) {
  const std::string label(70000, 'L');
  const Prompt prompt(label.c_str(), kControl, PromptMode::HoldOnce);
  const std::vector<std::string> lines = fake::Lines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[2], "CreateLiteralText(0xA, 'LITERAL_STRING', '" + label + "')");
}

TEST_F(PromptTest, ShowAndHideSendBothVisibilityNativesEveryTime) {
  Prompt prompt("Toggle Scope", kControl, PromptMode::HoldOnce);
  const std::size_t mark = fake::LineCount();
  prompt.Show();
  EXPECT_TRUE(prompt.visible);
  prompt.Show();
  prompt.Hide();
  EXPECT_FALSE(prompt.visible);
  prompt.Hide();
  const std::vector<std::string> shown = {"PromptSetEnabled(0x50, 1)", "PromptSetVisible(0x50, 1)"};
  const std::vector<std::string> hidden = {"PromptSetEnabled(0x50, 0)", "PromptSetVisible(0x50, 0)"};
  EXPECT_LINES(fake::Lines(mark), Concat({shown, shown, hidden, hidden}));
}

TEST_F(PromptTest, TheEnabledNativeGetsTheEffectiveState) {
  Prompt prompt("Toggle Scope", kControl, PromptMode::HoldOnce);
  prompt.enabled = false;  // nothing in the plug-in does this, but the rule is enabled-and-visible
  const std::size_t mark = fake::LineCount();
  prompt.Show();
  EXPECT_LINES(fake::Lines(mark), {"PromptSetEnabled(0x50, 0)", "PromptSetVisible(0x50, 1)"});
  EXPECT_FALSE(prompt.IsCompleted());
  EXPECT_EQ(fake::LineCount(), mark + 2) << "a disabled prompt asks the host nothing";
}

TEST_F(PromptTest, AHiddenPromptAnswersFalseWithoutAskingTheHost) {
  for (const ModeCase& c : kModes) {
    SCOPED_TRACE("mode " + std::to_string(static_cast<int>(c.mode)));
    Prompt prompt("Toggle Scope", kControl, c.mode);
    fake::Answer(natives::PromptStandardCompleted, 1);
    fake::Answer(natives::PromptHoldCompleted, 1);
    fake::Answer(natives::PromptMashCompleted, 1);
    const std::size_t mark = fake::LineCount();
    EXPECT_FALSE(prompt.IsCompleted());
    prompt.Show();
    prompt.Hide();
    EXPECT_FALSE(prompt.IsCompleted());
    EXPECT_EQ(fake::LineCount(), mark + 4) << "only the Show and Hide natives";
  }
}

TEST_F(PromptTest, EachModeAsksItsOwnQueryAndReadsOnlyTheLow32Bits) {
  for (const ModeCase& c : kModes) {
    SCOPED_TRACE("mode " + std::to_string(static_cast<int>(c.mode)));
    Prompt prompt = Shown(c.mode);
    for (const NativeEntry* query :
         {&natives::PromptStandardCompleted, &natives::PromptHoldCompleted, &natives::PromptMashCompleted})
      fake::Queue(*query, {0x100000000, 0, 0xFFFFFFFF});
    EXPECT_FALSE(prompt.IsCompleted()) << "only the high half is set";
    EXPECT_FALSE(prompt.IsCompleted());
    EXPECT_EQ(prompt.IsCompleted(), !c.query.empty());
    if (c.query.empty())
      EXPECT_LINES(fake::Lines(), {});
    else
      EXPECT_LINES(fake::Lines(), {c.query, c.query, c.query});
  }
}

TEST_F(PromptTest, HoldReportsACompletionOnEveryPoll) {
  Prompt prompt = Shown(PromptMode::Hold);
  fake::Answer(natives::PromptHoldCompleted, 1);
  EXPECT_TRUE(prompt.IsCompleted());
  EXPECT_TRUE(prompt.IsCompleted());
  EXPECT_TRUE(prompt.IsCompleted());
}

TEST_F(PromptTest, HoldOnceReportsOncePerRunOfCompletedAnswers) {
  Prompt prompt = Shown(PromptMode::HoldOnce);
  fake::Queue(natives::PromptHoldCompleted, {1, 1, 1, 0, 1, 7});
  std::vector<bool> polls;
  for (int i = 0; i < 6; ++i) polls.push_back(prompt.IsCompleted());
  EXPECT_EQ(polls, (std::vector<bool>{true, false, false, false, true, false}));
  EXPECT_EQ(fake::CountNative(natives::PromptHoldCompleted), 6u);
}

TEST_F(PromptTest, HoldOnceKeepsItsLatchWhileHidden) {
  Prompt prompt = Shown(PromptMode::HoldOnce);
  fake::Queue(natives::PromptHoldCompleted, {1, 1, 0, 1});
  EXPECT_TRUE(prompt.IsCompleted());
  prompt.Hide();
  EXPECT_FALSE(prompt.IsCompleted());
  EXPECT_TRUE(prompt.completionLatch);
  prompt.Show();
  EXPECT_FALSE(prompt.IsCompleted()) << "the host still answers 1: no new completion";
  EXPECT_FALSE(prompt.IsCompleted()) << "a zero answer re-arms";
  EXPECT_FALSE(prompt.completionLatch);
  EXPECT_TRUE(prompt.IsCompleted());
  EXPECT_EQ(fake::CountNative(natives::PromptHoldCompleted), 4u);
}

TEST_F(PromptTest, SetGroupEntity) {
  Prompt prompt("Toggle Scope", kControl, PromptMode::HoldOnce);
  struct Case {
    std::int32_t entity;
    std::int32_t group;  // what the host answers for the entity's prompt group
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {0x30, 0x60, {"EntityPromptGroup(0x30)", "PromptSetGroup(0x50, 0x60, 0)"}},
      {0, 0x60, {"PromptSetGroup(0x50, 0, 0)"}},
      {0x31, 0, {"EntityPromptGroup(0x31)"}},
      {0x32, -5, {"EntityPromptGroup(0x32)", "PromptSetGroup(0x50, -5, 0)"}},
      {-2, 0x7FFFFFFF, {"EntityPromptGroup(0xFFFFFFFE)", "PromptSetGroup(0x50, 0x7FFFFFFF, 0)"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("entity " + std::to_string(c.entity));
    fake::Answer(natives::EntityPromptGroup, 0xFFFFFFFF00000000 | static_cast<std::uint32_t>(c.group));
    EXPECT_LINES(LinesSentBy([&] { prompt.SetGroupEntity(c.entity); }), c.lines);
    EXPECT_EQ(prompt.groupEntity, c.entity);
  }
}

}  // namespace
