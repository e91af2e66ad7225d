#pragma once
// The host's hold on the bridge's controls (testkit/BridgeCore.h): on Windows extra exports of
// ScriptBridge.dll with plain C names, found with GetProcAddress; natively the host links the bridge in
// and takes their addresses.
#include "testkit/BridgeCore.h"

struct BridgeControl {
  decltype(&BridgeSetHooks) setHooks = nullptr;
  decltype(&BridgeRunFrame) runFrame = nullptr;
  decltype(&BridgeDeliverKey) deliverKey = nullptr;
  decltype(&BridgeShutdown) shutdown = nullptr;
};
