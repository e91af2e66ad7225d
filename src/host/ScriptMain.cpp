#include <cstdint>
#include <exception>
#include <string>

#include "core/Log.h"
#include "core/Settings.h"
#include "features/Prompt.h"
#include "features/ReticleSuppression.h"
#include "features/ScopeToggle.h"
#include "host/Bridge.h"
#include "host/Natives.h"
#include "host/Script.h"

std::int32_t PlayerPed;  // zero, none, until InitScript asks the host

namespace {
void RefreshPlayerPed() { PlayerPed = GetPlayerPedHandle(); }

// Runs one step of the script and keeps whatever it throws from reaching the bridge, which is a closed
// component: an exception escaping into it would take the game down.
template <class Step>
bool Guarded(Step step) noexcept {
  try {
    step();
    return true;
  } catch (...) {
    ReportFailure();
    return false;
  }
}
}  // namespace

void ShowFatalText(const char* text) {
  SetScreenText(CreateLiteralText(text));
  PlaceScreenText();
  DrawScreenText();
}

void ReportFailure() noexcept {
  Log("Something wrong happened");
  const std::exception_ptr caught = std::current_exception();
  // Every caller in the plug-in is a catch block; a call from anywhere else logs this rather than crash.
  if (!caught) {
    Log("No exception captured.");
    return;
  }
  try {
    std::rethrow_exception(caught);
  } catch (const std::exception& e) {
    try {
      const std::string message = std::string("Fatal: ") + e.what() + ", check the logs for more info.";
      Log(message);
      ShowFatalText(message.c_str());
    } catch (...) {
      // Out of memory while reporting: the first line is in the log, nothing more can be done.
    }
  } catch (...) {
    // Not of the standard family, so there is no description to show; say so and carry on.
    Log("Unknown exception caught, the script goes on.");
  }
}

void InitScript() {
  RefreshPlayerPed();
  InitSettings();
  {
    const std::string label = GetSetting("ScopeTogglePromptLabel");
    const std::uint32_t control = GetHashKey("INPUT_FRONTEND_RS");
    // A prompt left by a try that failed after making it is freed (the host prompt itself is not).
    Prompt* const replaced = ScopeTogglePrompt;
    // Coverage: when the constructor throws, new's cleanup tests a flag that is always set; the other side
    // never runs.
    ScopeTogglePrompt = new Prompt(label.c_str(), control, PromptMode::HoldOnce);  // GCOVR_EXCL_BR_LINE
    delete replaced;
  }
  ScopeTogglePrompt->Hide();
}

void RunFrame() {
  RefreshPlayerPed();
  try {
    if (GetSettingBool("DisableReticleInScope")) ReticleSuppression();
    if (GetSettingBool("EnableScopeToggle")) ScopeToggle();
  } catch (...) {
    ReportFailure();
  }
}

void ScriptMain() {
  Guarded([] { scriptWait(500); });
  // A failed initialisation is reported and tried again next frame: the feature work needs the store
  // and the prompt, and a passing fault (memory) should not leave the plug-in dead for the session.
  while (!Guarded(InitScript)) Guarded([] { scriptWait(0); });
  for (;;) {
    Guarded(RunFrame);
    Guarded([] { scriptWait(0); });
  }
}
