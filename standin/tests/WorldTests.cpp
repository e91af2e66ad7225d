// The world model's answers, called the way the bridge calls them.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "report/Timeline.h"
#include "world/Answer.h"
#include "world/NameHash.h"
#include "world/Natives.h"
#include "world/World.h"

namespace {
struct WorldTest : ::testing::Test {
  void SetUp() override {
    TheWorld = World{};
    TheWorld.pluginLoaded = true;
    TimelineClear();
    WorldTellTo([](const std::string& text, Notice) { TimelineAdd(text); }, TimelineHold);
  }
  void TearDown() override {
    WorldTellTo(nullptr, nullptr);
    TimelineClear();
  }
  void SetFrame(int frame) {
    TheWorld.frame = frame;
    TimelineSetFrame(frame);
  }

  // Sends one native and returns result slot 0.
  UINT64 Send(UINT64 hash, std::vector<UINT64> args) {
    for (UINT64& slot : slots) slot = 0;
    AnswerNative(hash, args.data(), args.size(), slots);
    return slots[0];
  }
  static UINT64 Ptr(const void* p) { return reinterpret_cast<std::uintptr_t>(p); }

  UINT64 slots[8] = {};
};

constexpr UINT64 kPromptCreate = 0x04F97DE45A519419, kSetControl = 0xB5352B7494A08258,
                 kRegisterEnd = 0xF7AA2696A22AD8B9, kSetEnabled = 0x8A0FB4D03A630D21, kSetVisible = 0x71215ACCFDE075EE,
                 kHoldCompleted = 0xE0F65F0640EF0617, kCurrentWeapon = 0x3A87E44BB9A01D54,
                 kPlayerPed = 0x096275889B8E0EE0;

TEST_F(WorldTest, ReportsArgumentSlotsFilledTheWrongWayOnce) {
  const UINT64 prompt = Send(kPromptCreate, {});
  Send(kSetControl, {prompt, 0x1'0000'0001});
  Send(kSetControl, {prompt, 0x1'0000'0001});
  Send(kSetVisible, {prompt});
  Send(0x2F11D3A254169EA4, {prompt, 0xFFFFFFFF, 0});  // a group of -1 sent zero-extended, not sign-widened
  EXPECT_EQ(TimelineText(),
            "  0        ! PromptSetControl argument 2 (0x0000000100000001) has bits in its high half\n"
            "  0        ! PromptSetVisible sent with 1 arguments instead of 2\n"
            "  0        ! PromptSetGroup argument 2 (0x00000000FFFFFFFF) is not a sign-widened 32-bit value\n");
}

TEST_F(WorldTest, UnknownNativesAnswerZerosAndAreReported) {
  slots[0] = 99;
  EXPECT_EQ(Send(0x1234, {1, 2}), 0u);
  EXPECT_EQ(TimelineText(), "  0        ! unknown native 0x0000000000001234 with 2 arguments, answered with zeros\n");
}

TEST_F(WorldTest, TheWeaponQueryWritesTheWholeCellForThePlayerOnly) {
  const std::uint32_t rifle = RememberName("WEAPON_RIFLE_HUNTING");
  TheWorld.weapons.push_back(Weapon{rifle, kTest1, 100, {}});
  TheWorld.held = 0;
  UINT64 cell = 0xFFFF'FFFF'FFFF'FFFF;
  EXPECT_EQ(Send(kCurrentWeapon, {10, Ptr(&cell), 0, 1, 0}), 1u);
  EXPECT_EQ(cell, rifle);
  cell = 7;
  EXPECT_EQ(Send(kCurrentWeapon, {11, Ptr(&cell), 0, 0, 0}), 0u);  // someone else's ped
  EXPECT_EQ(cell, 0u);
  EXPECT_EQ(Send(kPlayerPed, {}), 10u);
}

TEST_F(WorldTest, APromptCompletesOnlyShownEnabledAndHeldAndSaysSoOncePerHold) {
  const std::uint32_t control = RememberName("INPUT_FRONTEND_RS");
  const UINT64 prompt = Send(kPromptCreate, {});
  Send(kSetControl, {prompt, control});
  TheWorld.heldControls.insert(control);
  EXPECT_EQ(Send(kHoldCompleted, {prompt}), 0u);  // not registered yet
  Send(kRegisterEnd, {prompt});
  Send(kSetEnabled, {prompt, 1});
  EXPECT_EQ(Send(kHoldCompleted, {prompt}), 0u);  // not visible
  Send(kSetVisible, {prompt, 1});
  EXPECT_EQ(Send(kHoldCompleted, {prompt}), 1u);
  EXPECT_EQ(Send(kHoldCompleted, {prompt}), 1u);  // on every poll while held
  WorldEndFrame();
  TheWorld.heldControls.clear();
  EXPECT_EQ(Send(kHoldCompleted, {prompt}), 0u);
  Send(kSetEnabled, {prompt, 0});
  TheWorld.heldControls.insert(control);
  EXPECT_EQ(Send(kHoldCompleted, {prompt}), 0u);  // disabled
  EXPECT_EQ(TimelineText(),
            "  0        prompt \"\" created on INPUT_FRONTEND_RS, no completion mode\n"
            "  0        prompt \"\" completed\n"
            "  0        prompt \"\" shown, in no prompt group\n");
}

TEST_F(WorldTest, EachPromptModeIsToldAndEachCompletionQueryAnswersWhileHeld) {
  const std::uint32_t control = RememberName("INPUT_JUMP");
  TheWorld.heldControls.insert(control);
  // Sets a prompt up in a mode (the arguments after the prompt's) and asks the completion query.
  const auto completes = [&](UINT64 setup, std::vector<UINT64> setupArgs, UINT64 completed, bool withPad) {
    const UINT64 prompt = Send(kPromptCreate, {});
    Send(kSetControl, {prompt, control});
    setupArgs.insert(setupArgs.begin(), prompt);
    Send(setup, setupArgs);
    Send(kRegisterEnd, {prompt});
    Send(kSetEnabled, {prompt, 1});
    Send(kSetVisible, {prompt, 1});
    return Send(completed, withPad ? std::vector<UINT64>{prompt, 0} : std::vector<UINT64>{prompt});
  };
  EXPECT_EQ(completes(0xCC6656799977741B, {0}, 0xC92AC953F0A982AE, true), 1u);            // standard
  EXPECT_EQ(completes(0x32DF729D8BD3C1C6, {0, 0, 0, 0}, 0x845CE958416DC473, false), 1u);  // mash
  EXPECT_EQ(TimelineText(),
            "  0        prompt \"\" created on INPUT_JUMP, standard mode\n"
            "  0        prompt \"\" completed\n"
            "  0        prompt \"\" created on INPUT_JUMP, mash mode\n"
            "  0        prompt \"\" completed\n");
}

// Adding a native is one entry in its group's table: it must be the only one of its hash and name.
TEST(NativeTables, FindEveryNativeByItsHashAndByItsNameAndNoneTwice) {
  std::set<UINT64> hashes;
  std::set<std::string> names;
  for (const NativeTable* table : {&kPlayerNatives, &kHorseNatives, &kPromptNatives, &kScreenNatives}) {
    ASSERT_GT(table->count, 0u);
    for (std::size_t i = 0; i < table->count; ++i) {
      const NativeInfo& n = table->natives[i];
      EXPECT_TRUE(hashes.insert(n.hash).second) << n.name;
      EXPECT_TRUE(names.insert(n.name).second) << n.name;
      EXPECT_EQ(FindNative(n.hash), &n) << n.name;
      EXPECT_EQ(FindNativeByName(n.name), &n) << n.name;
      EXPECT_EQ(std::string(n.args).find_first_not_of("iwhfscv"), std::string::npos) << n.name;
    }
  }
  EXPECT_EQ(FindNative(0x1234), nullptr);
  EXPECT_EQ(FindNativeByName("playerped"), nullptr);  // names are matched exactly
}

TEST_F(WorldTest, APlannedFailureThrowsOnItsFrameOnlyAndAMissedOneIsReported) {
  TheWorld.failures.push_back(PlannedFailure{kPlayerPed, "boom", true, 3, false});
  TheWorld.failures.push_back(PlannedFailure{kPromptCreate, "", false, 3, false});
  SetFrame(2);
  EXPECT_EQ(Send(kPlayerPed, {}), 10u);
  SetFrame(3);
  try {
    Send(kPlayerPed, {});
    FAIL() << "no exception";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "boom");
  }
  EXPECT_EQ(Send(kPlayerPed, {}), 10u);  // once only
  WorldEndFrame();
  EXPECT_EQ(TimelineText(),
            "  3        the host throws std::runtime_error(\"boom\") from PlayerPed\n"
            "  3        ! the failure planned for PromptCreate on frame 3 never happened: the native was not called\n");
}
}  // namespace
