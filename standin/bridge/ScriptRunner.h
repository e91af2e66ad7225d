#pragma once
// How the bridge runs the script apart from the host: a fiber on Windows, a thread with a hand-off
// elsewhere. Either way exactly one of host and script runs at a time.

// Starts the script and runs it until it first suspends or returns. Called by the host.
void StartScript(void (*entry)());
// Runs the script from where it suspended until it suspends again. Called by the host.
void ResumeScript();
// Gives control back to the host until the next ResumeScript. Called by the script.
void SuspendToHost();
// Whether the caller is the script (fiber or thread).
bool OnScript();
// Whether the script function has returned.
bool ScriptEnded();
// Drops the script without running it further: it is never resumed again. From the script itself the
// drop happens once it has handed control back.
void DiscardScript();
// Undoes the runner's own set-up (the host thread's fiber).
void ShutdownRunner();
