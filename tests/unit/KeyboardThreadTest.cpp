// Keyboard messages arrive on the bridge's own thread while the script runs its frames: the handler and
// the frame work must share nothing. Meant to be run under ThreadSanitizer too.
#include <atomic>
#include <thread>

#include "ScriptFixture.h"
#include "core/Platform.h"
#include "host/Keyboard.h"

namespace {

using KeyboardThreadTest = ScriptTest;

TEST_F(KeyboardThreadTest, MessagesFromAnotherThreadWhileFramesRun) {
  Aim();
  HoldToggle(true);
  Fit(Rifle(), "COMPONENT_RIFLE_SCOPE02");
  Start();
  ResumeScript();

  constexpr int kMessages = 20000;
  std::atomic<bool> started{false};
  const std::uint32_t before = TickCount();
  // The last message sent for each key: the key code's own values from the last round.
  std::thread keyboard([&started] {
    started = true;
    for (int i = 0; i < kMessages; ++i) {
      const auto key = static_cast<DWORD>(i % 300);  // 255 and above must be ignored
      OnKeyboardMessage(key, static_cast<WORD>(i), static_cast<BYTE>(i), i & 1, i, -i, i % 7);
    }
  });
  while (!started) std::this_thread::yield();
  for (int frame = 0; frame < 300; ++frame) ResumeScript();
  keyboard.join();
  const std::uint32_t after = TickCount();

  EXPECT_EQ(fake::CountNative(natives::HideReticleThisFrame), 301u) << "every frame ran its reticle work";
  const int lastRound = (kMessages - 1) / 300 * 300;
  for (int key = 0; key < kKeyStateCount; ++key) {
    int i = lastRound + key;
    if (i >= kMessages) i -= 300;
    SCOPED_TRACE("key " + std::to_string(key));
    EXPECT_EQ(KeyStates[key].withAlt, i);
    EXPECT_EQ(KeyStates[key].wasDownBefore, -i);
    EXPECT_EQ(KeyStates[key].isUpNow, i % 7);
    // Unsigned differences: the window holds even where the 32-bit tick count wraps inside it.
    EXPECT_LE(KeyStates[key].time - before, after - before) << "read " << before << " and " << after;
  }
}

}  // namespace
