#pragma once
// The plug-in's one script: entry registration, the one-time initialisation and the frame loop.
#include <cstdint>

#include "host/Bridge.h"

// The player's ped, fetched anew at the top of every frame; the features read it within the frame.
extern std::int32_t PlayerPed;

void ScriptMain();
void InitScript();
// One pass of the frame loop without its wait: refresh PlayerPed, then the protected feature work.
void RunFrame();
// Reports the exception being handled (call only inside a catch block). Never raises.
void ReportFailure() noexcept;
void ShowFatalText(const char* text);

extern "C" BOOL DllMain(HINSTANCE module, DWORD reason, void* reserved);
