#pragma once
// Tests that run the real ScriptMain on the fake bridge, frame by frame, against the scripted FakeGame.
#include <string>
#include <vector>

#include "FakeGame.h"
#include "common/ScriptThread.h"
#include "fake/PluginTest.h"
#include "host/Script.h"

// Tests of one feature's frame, called directly: the FakeGame answers, and PlayerPed is its ped, as the
// script's start-up would leave it.
class FeatureTest : public PluginTest {
 protected:
  FakeGame game;

  void SetUp() override {
    PluginTest::SetUp();
    game.Install();
    PlayerPed = game.playerPed;
  }
};

class ScriptTest : public PluginTest {
 protected:
  FakeGame game;

  void SetUp() override {
    PluginTest::SetUp();
    game.Install();
  }

  // Starts ScriptMain, which runs up to its first wait; writes the settings file first when given one.
  void Start(const std::string& settingsFile = std::string(), bool writeFile = false) {
    if (writeFile || !settingsFile.empty()) fake::WriteFile("Varnholt.ini", settingsFile);
    StartScriptThread(ScriptMain);
  }

  // Lets the script run to its next wait and gives what it sent on the way, the wait included.
  static std::vector<std::string> Step() {
    const std::size_t mark = fake::EventCount();
    ResumeScriptThread();
    return fake::Lines(mark);
  }
};

// What making a prompt with the host's handle 0x50 sends, with its mode's set-up natives.
inline std::vector<std::string> PromptCreationLines(const std::string& label, const std::string& control,
                                                    const std::vector<std::string>& setup) {
  return Concat({{"PromptCreate()", "PromptSetControl(0x50, " + control + ")",
                  "CreateLiteralText(0xA, 'LITERAL_STRING', '" + label + "')",
                  "PromptSetText(0x50, 0x7E57000000000001)", "PromptSetGroup(0x50, 0, 0)"},
                 setup,
                 {"PromptSetFixedOption(0x50, 0x12, 1)", "PromptRegisterEnd(0x50)"}});
}

// What a first frame sends up to and including the prompt's Hide: the ped refresh, then InitScript
// making the prompt with this label.
inline std::vector<std::string> InitLines(const std::string& label) {
  return Concat({{"GetPlayerPedHandle()", "GetHashKey('INPUT_FRONTEND_RS')"},
                 PromptCreationLines(label, "#INPUT_FRONTEND_RS", {"PromptSetupHold(0x50, 1)"}),
                 {"PromptSetEnabled(0x50, 0)", "PromptSetVisible(0x50, 0)"}});
}
