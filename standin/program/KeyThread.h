#pragma once
// Keyboard messages from a thread of their own while the frames run, as a game window would send them
// (the host's --key-thread).
#include "bridge/BridgeControl.h"

// Starts the thread, which sends through deliver until it is stopped.
void StartKeyThread(decltype(&BridgeDeliverKey) deliver);
// Before the script's turn on each frame: blocks until the thread has sent its share for the frame, so
// that the messages overlap the frames. The wait gives up after VARNHOLT_KEY_THREAD_DEADLINE seconds (60
// when unset) and reports the thread stalled; after that the frames no longer wait for it.
void PaceKeyThread();
// Stops the thread and tells whether every message found a handler. Nothing when it is not running.
void StopKeyThread();
