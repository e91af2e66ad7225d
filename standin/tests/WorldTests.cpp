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
#include "world/NativeCatalogue.h"
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
  UINT64 Send(const NativeEntry& native, std::vector<UINT64> args) {
    for (UINT64& slot : slots) slot = 0;
    AnswerNative(native.hash, args.data(), args.size(), slots);
    return slots[0];
  }
  static UINT64 Ptr(const void* p) { return reinterpret_cast<std::uintptr_t>(p); }

  UINT64 slots[8] = {};
};

using namespace natives;

TEST_F(WorldTest, ReportsArgumentSlotsFilledTheWrongWayOnce) {
  const UINT64 prompt = Send(PromptCreate, {});
  Send(PromptSetControl, {prompt, 0x1'0000'0001});
  Send(PromptSetControl, {prompt, 0x1'0000'0001});
  Send(PromptSetVisible, {prompt});
  Send(PromptSetGroup, {prompt, 0xFFFFFFFF, 0});  // a group of -1 sent zero-extended, not sign-widened
  EXPECT_EQ(TimelineText(),
            "  0        ! PromptSetControl argument 2 (0x0000000100000001) has bits in its high half\n"
            "  0        ! PromptSetVisible sent with 1 arguments instead of 2\n"
            "  0        ! PromptSetGroup argument 2 (0x00000000FFFFFFFF) is not a sign-widened 32-bit value\n");
}

TEST_F(WorldTest, UnknownNativesAnswerZerosAndAreReported) {
  slots[0] = 99;
  EXPECT_EQ(Send({0x1234, "", ""}, {1, 2}), 0u);
  EXPECT_EQ(TimelineText(), "  0        ! unknown native 0x0000000000001234 with 2 arguments, answered with zeros\n");
}

TEST_F(WorldTest, TheWeaponQueryWritesTheWholeCellForThePlayerOnly) {
  const std::uint32_t rifle = RememberName("WEAPON_RIFLE_HUNTING");
  TheWorld.weapons.push_back(Weapon{rifle, kTest1, 100, {}});
  TheWorld.held = 0;
  UINT64 cell = 0xFFFF'FFFF'FFFF'FFFF;
  EXPECT_EQ(Send(GetCurrentWeapon, {10, Ptr(&cell), 0, 1, 0}), 1u);
  EXPECT_EQ(cell, rifle);
  cell = 7;
  EXPECT_EQ(Send(GetCurrentWeapon, {11, Ptr(&cell), 0, 0, 0}), 0u);  // someone else's ped
  EXPECT_EQ(cell, 0u);
  EXPECT_EQ(Send(GetPlayerPedHandle, {}), 10u);
}

TEST_F(WorldTest, APromptCompletesOnlyShownEnabledAndHeldAndSaysSoOncePerHold) {
  const std::uint32_t control = RememberName("INPUT_FRONTEND_RS");
  const UINT64 prompt = Send(PromptCreate, {});
  Send(PromptSetControl, {prompt, control});
  TheWorld.heldControls.insert(control);
  EXPECT_EQ(Send(PromptHoldCompleted, {prompt}), 0u);  // not registered yet
  Send(PromptRegisterEnd, {prompt});
  Send(PromptSetEnabled, {prompt, 1});
  EXPECT_EQ(Send(PromptHoldCompleted, {prompt}), 0u);  // not visible
  Send(PromptSetVisible, {prompt, 1});
  EXPECT_EQ(Send(PromptHoldCompleted, {prompt}), 1u);
  EXPECT_EQ(Send(PromptHoldCompleted, {prompt}), 1u);  // on every poll while held
  WorldEndFrame();
  TheWorld.heldControls.clear();
  EXPECT_EQ(Send(PromptHoldCompleted, {prompt}), 0u);
  Send(PromptSetEnabled, {prompt, 0});
  TheWorld.heldControls.insert(control);
  EXPECT_EQ(Send(PromptHoldCompleted, {prompt}), 0u);  // disabled
  EXPECT_EQ(TimelineText(),
            "  0        prompt \"\" created on INPUT_FRONTEND_RS, no completion mode\n"
            "  0        prompt \"\" completed\n"
            "  0        prompt \"\" shown, in no prompt group\n");
}

TEST_F(WorldTest, EachPromptModeIsToldAndEachCompletionQueryAnswersWhileHeld) {
  const std::uint32_t control = RememberName("INPUT_JUMP");
  TheWorld.heldControls.insert(control);
  // Sets a prompt up in a mode (the arguments after the prompt's) and asks the completion query.
  const auto completes = [&](const NativeEntry& setup, std::vector<UINT64> setupArgs, const NativeEntry& completed,
                             bool withPad) {
    const UINT64 prompt = Send(PromptCreate, {});
    Send(PromptSetControl, {prompt, control});
    setupArgs.insert(setupArgs.begin(), prompt);
    Send(setup, setupArgs);
    Send(PromptRegisterEnd, {prompt});
    Send(PromptSetEnabled, {prompt, 1});
    Send(PromptSetVisible, {prompt, 1});
    return Send(completed, withPad ? std::vector<UINT64>{prompt, 0} : std::vector<UINT64>{prompt});
  };
  EXPECT_EQ(completes(PromptSetupStandard, {0}, PromptStandardCompleted, true), 1u);
  EXPECT_EQ(completes(PromptSetupMash, {0, 0, 0, 0}, PromptMashCompleted, false), 1u);
  EXPECT_EQ(TimelineText(),
            "  0        prompt \"\" created on INPUT_JUMP, standard mode\n"
            "  0        prompt \"\" completed\n"
            "  0        prompt \"\" created on INPUT_JUMP, mash mode\n"
            "  0        prompt \"\" completed\n");
}

// Adding a native is one entry in its group's table: it must be the only one of its hash and name, and
// every native of the catalogue has one.
TEST(NativeTables, FindEveryNativeByItsHashAndByItsNameAndNoneTwice) {
  for (const NativeEntry* n : kAll) {
    const NativeInfo* info = FindNative(n->hash);
    EXPECT_TRUE(info != nullptr && FindNativeByName(n->name) == info) << n->name << " is not answered";
  }
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
  EXPECT_EQ(FindNativeByName("getplayerpedhandle"), nullptr);  // names are matched exactly
}

TEST_F(WorldTest, APlannedFailureThrowsOnItsFrameOnlyAndAMissedOneIsReported) {
  TheWorld.failures.push_back(PlannedFailure{GetPlayerPedHandle.hash, "boom", true, 3, false});
  TheWorld.failures.push_back(PlannedFailure{PromptCreate.hash, "", false, 3, false});
  SetFrame(2);
  EXPECT_EQ(Send(GetPlayerPedHandle, {}), 10u);
  SetFrame(3);
  try {
    Send(GetPlayerPedHandle, {});
    FAIL() << "no exception";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "boom");
  }
  EXPECT_EQ(Send(GetPlayerPedHandle, {}), 10u);  // once only
  WorldEndFrame();
  EXPECT_EQ(TimelineText(),
            "  3        the host throws std::runtime_error(\"boom\") from GetPlayerPedHandle\n"
            "  3        ! the failure planned for PromptCreate on frame 3 never happened: the native was not called\n");
}
}  // namespace
