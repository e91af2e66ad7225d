#include <algorithm>
#include <cstring>

#include "core/Platform.h"
#include "fake/PluginTest.h"
#include "host/Keyboard.h"

namespace {

using KeyboardTest = PluginTest;

TEST_F(KeyboardTest, TheTableHas255RecordsForKeyCodes0To254) { EXPECT_EQ(std::size(KeyStates), 255u); }

TEST_F(KeyboardTest, AMessageStoresTheTickCountAndTheLastThreeArguments) {
  const std::uint32_t before = TickCount();
  OnKeyboardMessage(254, 3, 0x45, 1, -7, 0x7FFFFFFF, -2147483647 - 1);
  const std::uint32_t after = TickCount();
  const KeyState& last = KeyStates[254];
  // Unsigned differences: the window holds even where the 32-bit tick count wraps inside it.
  EXPECT_LE(last.time - before, after - before) << "stored " << last.time << ", read " << before << " and " << after;
  EXPECT_EQ(last.withAlt, -7);
  EXPECT_EQ(last.wasDownBefore, 0x7FFFFFFF);
  EXPECT_EQ(last.isUpNow, -2147483647 - 1);
  for (int key = 0; key < 254; ++key) EXPECT_EQ(KeyStates[key].time, 0u) << "key " << key;
  EXPECT_EQ(fake::LineCount(), 0u) << "the keyboard handler calls nothing in the bridge";
}

TEST_F(KeyboardTest, ALaterMessageForTheSameKeyOverwritesTheRecord) {
  OnKeyboardMessage(0, 1, 0, 0, 1, 1, 1);
  OnKeyboardMessage(0, 9, 9, 1, 0, 1, 0);
  EXPECT_EQ(KeyStates[0].withAlt, 0);
  EXPECT_EQ(KeyStates[0].wasDownBefore, 1);
  EXPECT_EQ(KeyStates[0].isUpNow, 0);
}

TEST_F(KeyboardTest, KeyCodes255AndAboveLeaveTheTableUntouched) {
  OnKeyboardMessage(17, 1, 2, 0, 4, 5, 6);
  KeyState before[kKeyStateCount];
  std::copy(std::begin(KeyStates), std::end(KeyStates), before);
  for (const DWORD key : {255u, 256u, 0x1FFu, 0xFFFFFFFFu}) {
    OnKeyboardMessage(key, 1, 1, 1, 1, 1, 1);
    EXPECT_EQ(std::memcmp(KeyStates, before, sizeof before), 0) << "key " << key;
  }
}

}  // namespace
