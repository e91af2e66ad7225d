#include "fake/PluginTest.h"
#include "host/Keyboard.h"
#include "host/Script.h"

namespace {

class DllMainTest : public PluginTest {
 protected:
  HMODULE module = reinterpret_cast<HMODULE>(static_cast<std::uintptr_t>(0x7FF612340000));
};

TEST_F(DllMainTest, ProcessAttachRegistersTheScriptThenTheKeyboardHandler) {
  EXPECT_EQ(DllMain(module, 1, nullptr), 1);
  const std::vector<fake::Event> events = fake::Events();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].kind, fake::EventKind::ScriptRegister);
  EXPECT_EQ(events[0].module, module);
  EXPECT_EQ(events[0].script, &ScriptMain);
  EXPECT_EQ(events[1].kind, fake::EventKind::KeyboardRegister);
  EXPECT_EQ(events[1].keyboard, &OnKeyboardMessage);
}

TEST_F(DllMainTest, ProcessDetachUnregistersTheScriptThenTheKeyboardHandler) {
  EXPECT_EQ(DllMain(module, 0, nullptr), 1);
  const std::vector<fake::Event> events = fake::Events();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].kind, fake::EventKind::ScriptUnregister);
  EXPECT_EQ(events[0].module, module);
  EXPECT_EQ(events[1].kind, fake::EventKind::KeyboardUnregister);
  EXPECT_EQ(events[1].keyboard, &OnKeyboardMessage);
}

TEST_F(DllMainTest, ThreadAttachAndDetachTouchNothing) {
  for (const DWORD reason : {2u, 3u}) {
    EXPECT_EQ(DllMain(module, reason, nullptr), 1) << "reason " << reason;
  }
  EXPECT_LINES(fake::Lines(), {});
}

TEST_F(DllMainTest, AFullLoadAndUnloadSendsNoNative) {
  void* reserved = reinterpret_cast<void*>(static_cast<std::uintptr_t>(1));  // a static load
  EXPECT_EQ(DllMain(module, 1, reserved), 1);
  EXPECT_EQ(DllMain(module, 2, nullptr), 1);
  EXPECT_EQ(DllMain(module, 3, nullptr), 1);
  EXPECT_EQ(DllMain(module, 0, reserved), 1);
  EXPECT_LINES(fake::Lines(),
               {"scriptRegister", "keyboardHandlerRegister", "scriptUnregister", "keyboardHandlerUnregister"});
}

}  // namespace
