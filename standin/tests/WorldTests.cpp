// The world's answers and what it tells, called the way the bridge calls them.
#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "report/Timeline.h"
#include "testkit/Catalogue.h"
#include "testkit/NameHash.h"
#include "testkit/Names.h"
#include "world/World.h"

namespace {
struct WorldTest : ::testing::Test {
  void SetUp() override {
    NewWorld();
    TheWorld.pluginLoaded = true;
    TimelineClear();
    WorldTellTo([](const std::string& text, Notice) { TimelineAdd(text); }, TimelineHold);
  }
  void TearDown() override {
    WorldTellTo(nullptr, nullptr);
    TimelineClear();
  }

  // Sends one native as the bridge would and returns result slot 0.
  UINT64 Send(const NativeEntry& native, std::vector<UINT64> args) {
    for (UINT64& slot : slots) slot = 0;
    AnswerNative({native.hash, args.data(), args.size(), slots});
    return slots[0];
  }
  static UINT64 Ptr(const void* p) { return reinterpret_cast<std::uintptr_t>(p); }

  UINT64 slots[kResultSlots] = {};
};

using namespace natives;

TEST_F(WorldTest, TheWeaponQueryWritesTheWholeCellForThePlayerOnly) {
  TheGame.inHand[0] = TheGame.inHand[1] =
      static_cast<int>(&GiveWeapon(HashName("WEAPON_RIFLE_HUNTING")) - TheGame.weapons);
  UINT64 cell = 0xFFFF'FFFF'FFFF'FFFF;
  EXPECT_EQ(Send(GetCurrentWeapon, {10, Ptr(&cell), 0, 1, 0}), 1u);
  EXPECT_EQ(cell, NameHash("WEAPON_RIFLE_HUNTING"));
  cell = 7;
  EXPECT_EQ(Send(GetCurrentWeapon, {11, Ptr(&cell), 0, 0, 0}), 0u);  // someone else's ped
  EXPECT_EQ(cell, 0u);
  EXPECT_EQ(Send(GetPlayerPedHandle, {}), 10u);
}

TEST_F(WorldTest, APromptCompletesOnlyShownEnabledAndHeldAndSaysSoOncePerHold) {
  const std::uint32_t control = HashName("INPUT_FRONTEND_RS");
  const UINT64 prompt = Send(PromptCreate, {});
  Send(PromptSetControl, {prompt, control});
  HoldControl(control, true);
  EXPECT_EQ(Send(PromptHoldCompleted, {prompt}), 0u);  // not registered yet
  Send(PromptRegisterEnd, {prompt});
  Send(PromptSetEnabled, {prompt, 1});
  EXPECT_EQ(Send(PromptHoldCompleted, {prompt}), 0u);  // not visible
  Send(PromptSetVisible, {prompt, 1});
  EXPECT_EQ(Send(PromptHoldCompleted, {prompt}), 1u);
  EXPECT_EQ(Send(PromptHoldCompleted, {prompt}), 1u);  // on every poll while held
  WorldEndFrame();
  HoldControl(control, false);
  EXPECT_EQ(Send(PromptHoldCompleted, {prompt}), 0u);
  Send(PromptSetEnabled, {prompt, 0});
  HoldControl(control, true);
  EXPECT_EQ(Send(PromptHoldCompleted, {prompt}), 0u);  // disabled
  EXPECT_EQ(TimelineText(),
            "  0        prompt \"\" created on INPUT_FRONTEND_RS, no completion mode\n"
            "  0        prompt \"\" completed\n"
            "  0        prompt \"\" shown, in no prompt group\n");
}

TEST_F(WorldTest, EachPromptModeIsToldAndEachCompletionQueryAnswersWhileHeld) {
  const std::uint32_t control = HashName("INPUT_JUMP");
  HoldControl(control, true);
  char label[] = "Jump";
  const UINT64 text = Send(CreateLiteralText, {10, Ptr("LITERAL_STRING"), Ptr(label)});
  // Sets a prompt up in a mode (the arguments after the prompt's) and asks the completion query.
  const auto completes = [&](const NativeEntry& setup, std::vector<UINT64> setupArgs, const NativeEntry& completed,
                             bool withPad) {
    const UINT64 prompt = Send(PromptCreate, {});
    Send(PromptSetControl, {prompt, control});
    Send(PromptSetText, {prompt, text});
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
            "  0        prompt \"Jump\" created on INPUT_JUMP, standard mode\n"
            "  0        prompt \"Jump\" completed\n"
            "  0        prompt \"Jump\" created on INPUT_JUMP, mash mode\n"
            "  0        prompt \"Jump\" completed\n");
}

TEST_F(WorldTest, APlannedFailureThrowsOnItsFrameOnlyAndAMissedOneIsReported) {
  TheWorld.failures.push_back(PlannedFailure{GetPlayerPedHandle.hash, "boom", true, 3, false});
  TheWorld.failures.push_back(PlannedFailure{PromptCreate.hash, "", false, 3, false});
  TheWorld.frame = 2;
  EXPECT_EQ(Send(GetPlayerPedHandle, {}), 10u);
  TheWorld.frame = 3;
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

TEST_F(WorldTest, TellsAProblemOnce) {
  ReportProblem("PromptSetControl argument 2 (0x0000000100000001) has bits in its high half");
  ReportProblem("PromptSetControl argument 2 (0x0000000100000001) has bits in its high half");
  EXPECT_EQ(TimelineText(),
            "  0        ! PromptSetControl argument 2 (0x0000000100000001) has bits in its high half\n");
}

TEST_F(WorldTest, ComponentsAndInteractionsAreToldAsThePlayerSeesThem) {
  Weapon& rifle = GiveWeapon(HashName("WEAPON_RIFLE_LEVER"));
  const std::uint32_t scope = HashName("COMPONENT_RIFLE_SCOPE03");
  Send(AddWeaponComponent, {10, scope, rifle.hash, 1});
  Send(AddWeaponComponent, {static_cast<UINT64>(rifle.entity), scope, 0xFFFFFFFF, 0});  // already fitted
  Send(RemoveWeaponComponent, {10, scope, rifle.hash});
  Send(RemoveWeaponComponent, {10, scope, 0x1234});
  Send(StartInteraction, {10, 20, HashName("Interaction_X"), 0, 1});
  EXPECT_EQ(TimelineText(),
            "  0        COMPONENT_RIFLE_SCOPE03 fitted to WEAPON_RIFLE_LEVER\n"
            "  0        COMPONENT_RIFLE_SCOPE03 removed from WEAPON_RIFLE_LEVER\n"
            "  0        ! RemoveWeaponComponent for the player and 0x00001234, which is no weapon of the player's\n"
            "  0        interaction Interaction_X started: the player with the horse\n");
}
}  // namespace
