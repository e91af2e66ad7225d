#pragma once
// Tests that run the real ScriptMain on the fake bridge, frame by frame, against the scripted World.
#include <string>
#include <vector>

#include "World.h"
#include "fake/PluginTest.h"
#include "host/Script.h"

class ScriptTest : public PluginTest {
 protected:
  World world;

  void SetUp() override {
    PluginTest::SetUp();
    world.Install();
  }

  // Starts ScriptMain, which runs up to its first wait; writes the settings file first when given one.
  void Start(const std::string& settingsFile = std::string(), bool writeFile = false) {
    if (writeFile || !settingsFile.empty()) fake::WriteFile("Varnholt.ini", settingsFile);
    fake::StartScript(ScriptMain);
  }

  // Lets the script run to its next wait and gives what it sent on the way, the wait included.
  static std::vector<std::string> Step() {
    const std::size_t mark = fake::EventCount();
    fake::ResumeScript();
    return fake::Lines(mark);
  }
};

// What a first frame sends up to and including the prompt's Hide: the ped refresh, then InitScript
// making the prompt with this label.
inline std::vector<std::string> InitLines(const std::string& label) {
  return {
      "0x096275889B8E0EE0()",
      "0xFD340785ADF8CFB7('INPUT_FRONTEND_RS')",
      "0x04F97DE45A519419()",
      "0xB5352B7494A08258(0x50, #INPUT_FRONTEND_RS)",
      "0xFA925AC00EB830B9(0xA, 'LITERAL_STRING', '" + label + "')",
      "0x5DD02A8318420DD7(0x50, 0x7E57000000000001)",
      "0x2F11D3A254169EA4(0x50, 0x0, 0x0)",
      "0x94073D5CA3F16B7B(0x50, 0x1)",
      "0x560E76D5E2E1803F(0x50, 0x12, 0x1)",
      "0xF7AA2696A22AD8B9(0x50)",
      "0x8A0FB4D03A630D21(0x50, 0x0)",
      "0x71215ACCFDE075EE(0x50, 0x0)",
  };
}
