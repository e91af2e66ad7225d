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
