#pragma once
// What the bridge tells the host as it happens (BridgeNote), into the timeline, with a problem for
// whatever the plug-in should not have done.
#include <cstdint>

#include "host/Bridge.h"

void OnBridgeNote(int note, UINT64 detail, const char* problem);
// Once the plug-in has loaded at module: the handle its script registered with, on attach, must be that
// one, and so must the one it unregisters with later.
void ExpectPluginModule(std::uintptr_t module);
