#include "program/BridgeNotes.h"

#include <string>

#include "bridge/BridgeControl.h"
#include "program/LongRun.h"
#include "program/Memory.h"
#include "report/Timeline.h"
#include "world/Format.h"
#include "world/Natives.h"
#include "world/World.h"

namespace {
std::uintptr_t pluginModule = 0;
std::uintptr_t registeredModule = 0;
}  // namespace

void ExpectPluginModule(std::uintptr_t module) {
  pluginModule = module;
  if (registeredModule != 0 && registeredModule != pluginModule)
    ReportProblem("scriptRegister with a module handle that is not the plug-in's");
}

void OnBridgeNote(int note, UINT64 detail) {
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
    case kNoteUnregisterUnknown: ReportProblem("scriptUnregister with a module that has no script registered"); break;
    case kNoteKeyboardRegistered: TimelineAdd("keyboard handler registered"); break;
    case kNoteKeyboardUnregistered: TimelineAdd("keyboard handler unregistered"); break;
    case kNoteKeyboardUnknown:
      ReportProblem("keyboardHandlerUnregister with a handler that is not the registered one");
      break;
    case kNoteScriptStarted: TimelineAdd("script started"); break;
    case kNoteScriptWaits: TimelineAdd("script waits " + std::to_string(detail) + " ms"); break;
    case kNoteScriptResumed: TimelineAdd("script resumes after its wait of " + std::to_string(detail) + " ms"); break;
    case kNoteScriptReturned: ReportProblem("the script function returned"); break;
    case kNoteNativeOffScript: {
      const NativeInfo* info = FindNative(detail);
      ReportProblem("native " + (info != nullptr ? std::string(info->name) : HexHash(detail)) +
                    " called from outside the script");
      break;
    }
    case kNoteWaitOffScript: ReportProblem("scriptWait called from outside the script"); break;
    case kNoteCallWithoutInit: ReportProblem("nativePush64 or nativeCall without nativeInit"); break;
    default: ReportProblem("an unknown note from the bridge"); break;
  }
}
