// The call lines that every failing native test prints: each argument read by its kind, and a slot that
// does not fit its kind shown raw, so that a slot marshalled the wrong way shows in the line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testkit/Catalogue.h"
#include "testkit/Names.h"
#include "testkit/NativeLine.h"

namespace {
// The line of a call; with answer slots, the answer too.
std::string Line(std::uint64_t hash, std::vector<std::uint64_t> args, std::vector<std::uint64_t> answer = {}) {
  const bool withAnswer = !answer.empty();
  answer.resize(kResultSlots);
  char out[128];
  const NativeCall call{hash, args.data(), args.size(), answer.data()};
  EXPECT_LT(FormatNativeLine(call, withAnswer, out, sizeof out), sizeof out);
  return out;
}
std::uint64_t Pointer(const void* p) { return reinterpret_cast<std::uintptr_t>(p); }

TEST(NativeLine, ReadsEachArgumentByItsKindAndShowsMisfitsRaw) {
  using namespace natives;
  EXPECT_EQ(Line(StartInteraction.hash, {0x10, 0xFFFFFFFFFFFFFFFD, 0xFFFFFFFF, 9, 10}),
            "StartInteraction(0x10, -3, 0xFFFFFFFF, 9, 0xA)");
  EXPECT_EQ(Line(StartInteraction.hash, {1ull << 32, 0xFFFFFFFD, 1ull << 40, 0, 1}),
            "StartInteraction(0x0000000100000000, 0x00000000FFFFFFFD, 0x0000010000000000, 0, 1)");
  EXPECT_EQ(Line(GetDistanceBetween.hash, {0x3FC00000, 0xBF800000, 0, 0x3F800000ull << 32, 0, 0, 1}),
            "GetDistanceBetween(1.5, -1, 0, 0x3F80000000000000, 0, 0, 1)");
  std::uint64_t cell = 0;
  EXPECT_EQ(Line(GetCurrentWeapon.hash, {0x10, Pointer(&cell), 0, 1, 0}), "GetCurrentWeapon(0x10, &cell, 0, 1, 0)");
  EXPECT_EQ(Line(GetCurrentWeapon.hash, {0x10, 0, 0, 1, 0}), "GetCurrentWeapon(0x10, 0x0000000000000000, 0, 1, 0)");
  EXPECT_EQ(Line(GetHorseAgitation.hash, {0x30, Pointer("it's\n")}), "GetHorseAgitation(0x30, 'it\\'s\\x0A')");
  EXPECT_EQ(Line(GetHashKey.hash, {0}), "GetHashKey(0x0000000000000000)");
  EXPECT_EQ(Line(PromptSetText.hash, {0x50, 0x7E57000000000001, 7}),
            "PromptSetText(0x50, 0x7E57000000000001, 0x0000000000000007)");
  EXPECT_EQ(Line(0x1234, {5}), "0x0000000000001234(0x5)");
}

TEST(NativeLine, ShowsKnownNamesAndCutsShortWhatDoesNotFit) {
  ForgetNames();
  RememberName(0xC0FFEE, "SCOPE");
  const std::uint64_t args[] = {0x40, 0xC0FFEE};
  const NativeCall call{natives::HasWeaponComponent.hash, args, 2, nullptr};
  char out[12];
  EXPECT_EQ(FormatNativeLine(call, false, out, sizeof out), std::string("HasWeaponComponent(0x40, #SCOPE)").size());
  EXPECT_STREQ(out, "HasWeaponCo");
  EXPECT_EQ(Line(natives::GetHashKey.hash, {Pointer("scope")}, {0xA5A5A5A500C0FFEE}), "GetHashKey('scope') -> #SCOPE");
  ForgetNames();
}

// The trace's answers, read as the plug-in reads them: a low half, all 64 bits, or a position.
TEST(NativeLine, ShowsTheAnswerByItsKind) {
  using namespace natives;
  EXPECT_EQ(Line(GetPlayerMount.hash, {2}, {0xFFFFFFFF00000030}), "GetPlayerMount(2) -> 0x30");
  EXPECT_EQ(Line(PlayerInScopeTest.hash, {2}, {0x100000000}), "PlayerInScopeTest(2) -> 0x100000000");
  EXPECT_EQ(Line(GetEntityPosition.hash, {0x30, 1, 0}, {0x3FC00000, 0x40000000, 0}),
            "GetEntityPosition(0x30, 1, 0) -> (1.5, 2, 0)");
  EXPECT_EQ(Line(PromptSetVisible.hash, {0x50, 1}, {0}), "PromptSetVisible(0x50, 1)");
}
}  // namespace
