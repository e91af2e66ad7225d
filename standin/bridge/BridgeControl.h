#pragma once
// The host's hold on the bridge's controls (testkit/BridgeCore.h): on Windows exports of ScriptBridge.dll
// with plain C names, found with GetProcAddress; natively their addresses, the bridge being linked in.
#include "testkit/BridgeCore.h"

struct BridgeControl {
  decltype(&BridgeSetHooks) setHooks = nullptr;
  decltype(&BridgeRunFrame) runFrame = nullptr;
  decltype(&BridgeDeliverKey) deliverKey = nullptr;
  decltype(&BridgeShutdown) shutdown = nullptr;
};
