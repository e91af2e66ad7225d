#include "program/BridgeNotes.h"

#include <string>

#include "bridge/BridgeControl.h"
#include "program/HostPlatform.h"
#include "program/LongRun.h"
#include "report/Timeline.h"
#include "world/World.h"

namespace {
std::uintptr_t pluginModule = 0, registeredModule = 0;
}  // namespace

void ExpectPluginModule(std::uintptr_t module) {
  pluginModule = module;
  if (registeredModule != 0 && registeredModule != pluginModule)
    ReportProblem("scriptRegister with a module handle that is not the plug-in's");
}

void OnBridgeNote(int note, UINT64 detail, const char* problem) {
  const HostWork host;
  LongRunNote(note);
  switch (note) {
    case kNoteScriptRegistered:
      registeredModule = static_cast<std::uintptr_t>(detail);
      TimelineAdd("script registered");
      break;
    case kNoteScriptUnregistered:
      if (static_cast<std::uintptr_t>(detail) != pluginModule)
        ReportProblem("scriptUnregister with a module handle that is not the plug-in's");
      TimelineAdd("script unregistered");
      break;
    case kNoteKeyboardRegistered: TimelineAdd("keyboard handler registered"); break;
    case kNoteKeyboardUnregistered: TimelineAdd("keyboard handler unregistered"); break;
    case kNoteScriptStarted: TimelineAdd("script started"); break;
    // A wait of 0 ms is every frame's: only the longer ones are worth a line.
    case kNoteScriptWaits:
      if (detail > 0) TimelineAdd("script waits " + std::to_string(detail) + " ms");
      break;
    case kNoteScriptResumed:
      if (detail > 0) TimelineAdd("script resumes after its wait of " + std::to_string(detail) + " ms");
      break;
    case kNoteScriptReturned: ReportProblem("the script function returned"); break;
    case kNoteNativeOffScript: ReportProblem("native " + NativeName(detail) + " called from outside the script"); break;
    case kNoteWaitOffScript: ReportProblem("scriptWait called from outside the script"); break;
    case kNoteProblem: ReportProblem(problem != nullptr ? problem : "a problem without a text"); break;
    default: ReportProblem("an unknown note from the bridge"); break;
  }
}
