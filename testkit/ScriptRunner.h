#pragma once
// How the script runs apart from whoever drives it: on a thread of its own that hands control back and forth
// (testkit/ScriptRunnerThread.cpp), or, in the stand-in's Windows bridge, on a fiber; either way exactly one
// of the two runs at a time. One script at a time; one left behind stays where it stopped, for good.

// Starts entry, leaving behind any script started before, and runs it until it first suspends or ends.
void StartScript(void (*entry)());
// Runs the script from where it suspended until it suspends again or ends; nothing once it has ended.
// The thread runner aborts the process when the script does not get there within the step deadline,
// 300 s or VARNHOLT_STEP_TIMEOUT_S: its thread would then be loose among later work.
void ResumeScript();
// On the script: hands control back until the next ResumeScript.
void SuspendToHost();
// Whether the caller is the current script.
bool OnScript();
// Whether the current script's function has ended, and how.
enum class ScriptEnd { kNotYet, kReturned, kThrew };
ScriptEnd EndOfScript();
// Leaves the current script where it is, never to run again. From the script itself, it is left once it
// has handed control back.
void DiscardScript();
// Undoes the runner's own set-up (the host thread's fiber).
void ShutdownRunner();
