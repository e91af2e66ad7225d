#pragma once
// A script function (ScriptMain) on a thread of its own, stepped by the test from one scriptWait to the
// next, for the bridge doubles whose scriptWait hands control back to the test: the recording fake and
// the fault tests. One script at a time; one left behind stays blocked for ever in its wait, on state
// that is never freed, and never runs again.

// Starts entry on a new thread, leaving behind any script started before, and returns once it waits for
// the first time (or has ended).
void StartScriptThread(void (*entry)());
// Lets the script run from the wait it is in to the next one. Aborts the process when it does not get
// there within the step deadline, 300 s or VARNHOLT_STEP_TIMEOUT_S: its thread would then be loose
// among later tests.
void ResumeScriptThread();
// For scriptWait: on the script's thread, hands control to the test until the next resume. False on any
// other thread (a test calling scriptWait itself), where there is nothing to yield to.
bool YieldToTest();
// Leaves the current script where it is, for good.
void AbandonScriptThread();
// Whether the current script's function has ended, and how.
enum class ScriptEnd { kNotYet, kReturned, kThrew };
ScriptEnd EndOfScript();
