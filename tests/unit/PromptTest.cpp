#include <string>

#include "Hashes.h"
#include "fake/PluginTest.h"
#include "features/Prompt.h"

namespace {

constexpr std::uint32_t kControl = 0x9A3B5C7D;

class PromptTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    AnswerCreation();
  }

  static void AnswerCreation() {
    fake::Answer(hashes::PromptCreate, 0x50);
    fake::Answer(hashes::CreateText, 0x7E57000000000001);  // a host text value: all 64 bits matter
  }

  // A prompt made and then shown, with the events and answers of both forgotten.
  static Prompt Shown(PromptMode mode) {
    fake::Reset();
    AnswerCreation();
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
    {PromptMode::Standard, {"0xCC6656799977741B(0x50, 0x1)"}, "0xC92AC953F0A982AE(0x50, 0x0)"},
    {PromptMode::Hold, {"0x94073D5CA3F16B7B(0x50, 0x1)"}, "0xE0F65F0640EF0617(0x50)"},
    {PromptMode::HoldOnce, {"0x94073D5CA3F16B7B(0x50, 0x1)"}, "0xE0F65F0640EF0617(0x50)"},
    {PromptMode::Mash, {"0x32DF729D8BD3C1C6(0x50, 0x1, 0x0, 0x0, 0x0)"}, "0x845CE958416DC473(0x50)"},
    {static_cast<PromptMode>(4), {}, ""},
    {static_cast<PromptMode>(-1), {}, ""},
};

TEST_F(PromptTest, ConstructionSendsTheNineStepsForEachMode) {
  for (const ModeCase& c : kModes) {
    SCOPED_TRACE("mode " + std::to_string(static_cast<int>(c.mode)));
    fake::Reset();
    AnswerCreation();
    const char* label = "Toggle Scope";
    const Prompt prompt(label, kControl, c.mode);

    std::vector<std::string> expected = {
        "0x04F97DE45A519419()",
        "0xB5352B7494A08258(0x50, 0x9A3B5C7D)",
        "0xFA925AC00EB830B9(0xA, 'LITERAL_STRING', 'Toggle Scope')",
        "0x5DD02A8318420DD7(0x50, 0x7E57000000000001)",
        "0x2F11D3A254169EA4(0x50, 0x0, 0x0)",
    };
    expected.insert(expected.end(), c.setup.begin(), c.setup.end());
    expected.push_back("0x560E76D5E2E1803F(0x50, 0x12, 0x1)");
    expected.push_back("0xF7AA2696A22AD8B9(0x50)");
    EXPECT_LINES(fake::Lines(), expected);

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
  fake::Answer(hashes::PromptCreate, 0xFFFFFFFFFFFFFFFA);  // only the low 32 bits are the handle
  Prompt prompt("x", 1, PromptMode::Standard);
  EXPECT_EQ(prompt.handle, -6);
  const std::size_t mark = fake::EventCount();
  prompt.Show();
  EXPECT_LINES(fake::Lines(mark), {"0x8A0FB4D03A630D21(0xFFFFFFFA, 0x1)", "0x71215ACCFDE075EE(0xFFFFFFFA, 0x1)"});
}

TEST_F(PromptTest, ALabelOfAnyLengthIsSentWhole) {
  const std::string label(70000, 'L');
  const Prompt prompt(label.c_str(), kControl, PromptMode::HoldOnce);
  const std::vector<fake::Event> events = fake::Events();
  ASSERT_GE(events.size(), 3u);
  ASSERT_TRUE(events[2].texts.at(2).has_value());
  EXPECT_EQ(*events[2].texts[2], label);
}

TEST_F(PromptTest, ShowAndHideSendBothVisibilityNativesEveryTime) {
  Prompt prompt("Toggle Scope", kControl, PromptMode::HoldOnce);
  const std::size_t mark = fake::EventCount();
  prompt.Show();
  EXPECT_TRUE(prompt.visible);
  prompt.Show();
  prompt.Hide();
  EXPECT_FALSE(prompt.visible);
  prompt.Hide();
  EXPECT_LINES(fake::Lines(mark), {
                                      "0x8A0FB4D03A630D21(0x50, 0x1)",
                                      "0x71215ACCFDE075EE(0x50, 0x1)",
                                      "0x8A0FB4D03A630D21(0x50, 0x1)",
                                      "0x71215ACCFDE075EE(0x50, 0x1)",
                                      "0x8A0FB4D03A630D21(0x50, 0x0)",
                                      "0x71215ACCFDE075EE(0x50, 0x0)",
                                      "0x8A0FB4D03A630D21(0x50, 0x0)",
                                      "0x71215ACCFDE075EE(0x50, 0x0)",
                                  });
}

TEST_F(PromptTest, TheEnabledNativeGetsTheEffectiveState) {
  Prompt prompt("Toggle Scope", kControl, PromptMode::HoldOnce);
  prompt.enabled = false;  // nothing in the plug-in does this, but the rule is enabled-and-visible
  const std::size_t mark = fake::EventCount();
  prompt.Show();
  EXPECT_LINES(fake::Lines(mark), {"0x8A0FB4D03A630D21(0x50, 0x0)", "0x71215ACCFDE075EE(0x50, 0x1)"});
  EXPECT_FALSE(prompt.IsCompleted());
  EXPECT_EQ(fake::EventCount(), mark + 2) << "a disabled prompt asks the host nothing";
}

TEST_F(PromptTest, AHiddenPromptAnswersFalseWithoutAskingTheHost) {
  for (const ModeCase& c : kModes) {
    SCOPED_TRACE("mode " + std::to_string(static_cast<int>(c.mode)));
    Prompt prompt("Toggle Scope", kControl, c.mode);
    fake::Answer(hashes::PromptStandardDone, 1);
    fake::Answer(hashes::PromptHoldDone, 1);
    fake::Answer(hashes::PromptMashDone, 1);
    const std::size_t mark = fake::EventCount();
    EXPECT_FALSE(prompt.IsCompleted());
    prompt.Show();
    prompt.Hide();
    EXPECT_FALSE(prompt.IsCompleted());
    EXPECT_EQ(fake::EventCount(), mark + 4) << "only the Show and Hide natives";
  }
}

TEST_F(PromptTest, EachModeAsksItsOwnQueryAndReadsOnlyTheLow32Bits) {
  for (const ModeCase& c : kModes) {
    SCOPED_TRACE("mode " + std::to_string(static_cast<int>(c.mode)));
    Prompt prompt = Shown(c.mode);
    for (const std::uint64_t hash : {hashes::PromptStandardDone, hashes::PromptHoldDone, hashes::PromptMashDone})
      fake::Queue(hash, {0x100000000, 0, 0xFFFFFFFF});
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
  fake::Answer(hashes::PromptHoldDone, 1);
  EXPECT_TRUE(prompt.IsCompleted());
  EXPECT_TRUE(prompt.IsCompleted());
  EXPECT_TRUE(prompt.IsCompleted());
}

TEST_F(PromptTest, HoldOnceReportsOncePerRunOfCompletedAnswers) {
  Prompt prompt = Shown(PromptMode::HoldOnce);
  fake::Queue(hashes::PromptHoldDone, {1, 1, 1, 0, 1, 7});
  std::vector<bool> polls;
  for (int i = 0; i < 6; ++i) polls.push_back(prompt.IsCompleted());
  EXPECT_EQ(polls, (std::vector<bool>{true, false, false, false, true, false}));
  EXPECT_EQ(fake::CountNative(hashes::PromptHoldDone), 6u);
}

TEST_F(PromptTest, HoldOnceKeepsItsLatchWhileHidden) {
  Prompt prompt = Shown(PromptMode::HoldOnce);
  fake::Queue(hashes::PromptHoldDone, {1, 1, 0, 1});
  EXPECT_TRUE(prompt.IsCompleted());
  prompt.Hide();
  EXPECT_FALSE(prompt.IsCompleted());
  EXPECT_TRUE(prompt.completionLatch);
  prompt.Show();
  EXPECT_FALSE(prompt.IsCompleted()) << "the host still answers 1: no new completion";
  EXPECT_FALSE(prompt.IsCompleted()) << "a zero answer re-arms";
  EXPECT_FALSE(prompt.completionLatch);
  EXPECT_TRUE(prompt.IsCompleted());
  EXPECT_EQ(fake::CountNative(hashes::PromptHoldDone), 4u);
}

TEST_F(PromptTest, SetGroupEntity) {
  Prompt prompt("Toggle Scope", kControl, PromptMode::HoldOnce);
  struct Case {
    std::int32_t entity;
    std::int32_t group;  // what the host answers for the entity's prompt group
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {0x30, 0x60, {"0xB796970BD125FCE8(0x30)", "0x2F11D3A254169EA4(0x50, 0x60, 0x0)"}},
      {0, 0x60, {"0x2F11D3A254169EA4(0x50, 0x0, 0x0)"}},
      {0x31, 0, {"0xB796970BD125FCE8(0x31)"}},
      {0x32, -5, {"0xB796970BD125FCE8(0x32)", "0x2F11D3A254169EA4(0x50, 0xFFFFFFFFFFFFFFFB, 0x0)"}},
      {-2, 0x7FFFFFFF, {"0xB796970BD125FCE8(0xFFFFFFFE)", "0x2F11D3A254169EA4(0x50, 0x7FFFFFFF, 0x0)"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("entity " + std::to_string(c.entity));
    fake::Answer(hashes::EntityPromptGroup, 0xFFFFFFFF00000000 | static_cast<std::uint32_t>(c.group));
    const std::size_t mark = fake::EventCount();
    prompt.SetGroupEntity(c.entity);
    EXPECT_EQ(prompt.groupEntity, c.entity);
    EXPECT_LINES(fake::Lines(mark), c.lines);
  }
}

}  // namespace
