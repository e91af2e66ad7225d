#pragma once
// Tests that run the plug-in's features and its real ScriptMain on the fake bridge, frame by frame,
// against the kit's game set up as the unit tests' world: the player (ped 0x10) beside the calm horse
// (0x30), holding an admitted rifle (0xA8F1E2C3, entity 0x40) that the scope toggle asks for with
// selector 1, while the reticle's selector 0 answers another weapon (0x5EC0A001), so that mixing the two
// shows. The weapon query writes garbage above the hash, which the plug-in must not read.
#include <string>
#include <vector>

#include "fake/PluginTest.h"
#include "host/Script.h"
#include "testkit/ScriptRunner.h"

inline constexpr std::uint32_t kRifle = 0xA8F1E2C3, kReticleWeapon = 0x5EC0A001;
inline constexpr std::uint32_t kToggleControl = NameHash("INPUT_FRONTEND_RS");

class GameTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    GiveWeapon(kRifle).tests[0] = 1;
    GiveWeapon(kReticleWeapon);
    TheGame.inHand[0] = 1;
    TheGame.inHand[1] = 0;
    TheGame.cellHighBits = 0xBAD0000000000000;
  }

  static Weapon& Rifle() { return *FindWeapon(kRifle); }
  static Weapon& ReticleWeapon() { return *FindWeapon(kReticleWeapon); }
  // The weapon the scope toggle finds in hand from now on.
  static Weapon& Draw(std::uint32_t hash) {
    Weapon& weapon = GiveWeapon(hash);
    TheGame.inHand[1] = static_cast<int>(&weapon - TheGame.weapons);
    return weapon;
  }
  static void Fit(Weapon& weapon, const char* component) { SetComponent(weapon, NameHash(component), true); }
  static bool IsFitted(const Weapon& weapon, const char* component) {
    return HasComponent(&weapon, NameHash(component));
  }
  // The player holds the prompt's control down, or lets go of it.
  static void HoldToggle(bool held) { HoldControl(kToggleControl, held); }
  // Both in-scope tests answer yes.
  static void Aim() {
    TheGame.aiming = 1;
    ReticleWeapon().tests[kInScopeTest] = 1;
  }
};

// Tests of one feature's frame, called directly: PlayerPed is the game's ped, as the script's start-up
// would leave it.
class FeatureTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    PlayerPed = TheGame.playerPed;
  }
};

class ScriptTest : public GameTest {
 protected:
  // Starts ScriptMain, which runs up to its first wait; writes the settings file first when given one.
  static void Start(const std::string& settingsFile = std::string()) {
    if (!settingsFile.empty()) WriteBytes("Varnholt.ini", settingsFile);
    StartScript(ScriptMain);
  }

  // Starts ScriptMain and lets it run its initialisation and first frame, to the wait after them.
  static void StartPastInit(const std::string& settingsFile = std::string()) {
    Start(settingsFile);
    ResumeScript();
  }

  // Lets the script run to its next wait and gives what it sent on the way, the wait included.
  static std::vector<std::string> Step() { return LinesSentBy(ResumeScript); }
};

// What making a prompt sends, with its mode's set-up natives: with the host's handle, the game's first
// (0x50) unless given, and the label's host text value, the game's first text unless given.
inline std::vector<std::string> PromptCreationLines(const std::string& label, const std::string& control,
                                                    const std::vector<std::string>& setup,
                                                    const std::string& handle = "0x50",
                                                    const std::string& text = "0x7E57000000000001") {
  return Concat({{"PromptCreate()", "PromptSetControl(" + handle + ", " + control + ")",
                  "CreateLiteralText(0xA, 'LITERAL_STRING', '" + label + "')",
                  "PromptSetText(" + handle + ", " + text + ")", "PromptSetGroup(" + handle + ", 0, 0)"},
                 setup,
                 {"PromptSetFixedOption(" + handle + ", 0x12, 1)", "PromptRegisterEnd(" + handle + ")"}});
}

// What a first frame sends up to and including the prompt's Hide: the ped refresh, then InitScript
// making the prompt with this label.
inline std::vector<std::string> InitLines(const std::string& label, const std::string& handle = "0x50",
                                          const std::string& text = "0x7E57000000000001") {
  return Concat({{"GetPlayerPedHandle()", "GetHashKey('INPUT_FRONTEND_RS')"},
                 PromptCreationLines(label, "#INPUT_FRONTEND_RS", {"PromptSetupHold(" + handle + ", 1)"}, handle, text),
                 {"PromptSetEnabled(" + handle + ", 0)", "PromptSetVisible(" + handle + ", 0)"}});
}
