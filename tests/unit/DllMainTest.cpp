#include "fake/PluginTest.h"
#include "host/Keyboard.h"
#include "host/Script.h"

namespace {

using DllMainTest = PluginTest;

const HMODULE kModule = reinterpret_cast<HMODULE>(static_cast<std::uintptr_t>(0x7FF612340000));

TEST_F(DllMainTest, ProcessAttachRegistersTheScriptThenTheKeyboardHandler) {
  EXPECT_EQ(DllMain(kModule, 1, nullptr), 1);
  EXPECT_LINES(fake::Lines(), {"scriptRegister", "keyboardHandlerRegister"});
  EXPECT_EQ(RegisteredModule(), kModule);
  EXPECT_EQ(RegisteredScript(), &ScriptMain);
  EXPECT_EQ(RegisteredKeyboardHandler(), &OnKeyboardMessage);
}

// The bridge takes back only what was registered: another kModule or handler is a protocol error. On
// FreeLibrary (no reserved argument) the runtime's memory goes last; when the process ends (a reserved
// argument), nothing more is done.
TEST_F(DllMainTest, ProcessDetachUnregistersTheScriptThenTheKeyboardHandler) {
  const struct {
    void* reserved;
    std::vector<std::string> detach;
  } kinds[] = {
      {nullptr, {"scriptUnregister", "keyboardHandlerUnregister", "ReleaseRuntimeMemory"}},
      {reinterpret_cast<void*>(static_cast<std::uintptr_t>(1)), {"scriptUnregister", "keyboardHandlerUnregister"}},
  };
  for (const auto& kind : kinds) {
    SCOPED_TRACE(kind.reserved == nullptr ? "FreeLibrary" : "process termination");
    EXPECT_EQ(DllMain(kModule, 1, nullptr), 1);
    EXPECT_LINES(LinesSentBy([&] { EXPECT_EQ(DllMain(kModule, 0, kind.reserved), 1); }), kind.detach);
    EXPECT_EQ(RegisteredScript(), nullptr);
    EXPECT_EQ(RegisteredKeyboardHandler(), nullptr);
  }
}

TEST_F(DllMainTest, ThreadAttachAndDetachTouchNothing) {
  for (const DWORD reason : {2u, 3u}) EXPECT_EQ(DllMain(kModule, reason, nullptr), 1) << "reason " << reason;
  EXPECT_LINES(fake::Lines(), {});
}

TEST_F(DllMainTest, AFullLoadAndUnloadSendsNoNative) {
  void* reserved = reinterpret_cast<void*>(static_cast<std::uintptr_t>(1));  // a static load
  EXPECT_EQ(DllMain(kModule, 1, reserved), 1);
  EXPECT_EQ(DllMain(kModule, 2, nullptr), 1);
  EXPECT_EQ(DllMain(kModule, 3, nullptr), 1);
  EXPECT_EQ(DllMain(kModule, 0, reserved), 1);
  EXPECT_LINES(fake::Lines(),
               {"scriptRegister", "keyboardHandlerRegister", "scriptUnregister", "keyboardHandlerUnregister"});
}

}  // namespace
