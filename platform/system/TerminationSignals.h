// SIGINT, SIGTERM and SIGHUP end a program at once wherever it is: the handlers only note the signal,
// and the program's main thread ends the run at its next checkpoint. A second signal that comes before
// the ending has begun ends the process at once, by the signal's default action.
#pragma once

#include <functional>
#include <string_view>

// Installs the handlers and makes the wake-up pipe; a program calls it first thing in main.
void InstallTerminationSignals();
// Puts the handlers back when another library has taken the signals over (the database client does
// when its engine starts); does nothing when InstallTerminationSignals was never called.
void RetakeTerminationSignals();

// The read end of a pipe that receives a byte for the signal, so that an event loop waiting on it wakes
// up; -1 before InstallTerminationSignals.
int TerminationSignalPipe();

// A step run when a signal ends the program (rolling back, closing); steps run in the reverse order of
// their adding, and an exception from one does not stop the others.
void AddTerminationEndStep(std::function<void()> step);

// On the main thread: when a signal has arrived, runs the end steps once and ends the process with
// 128 + the signal; otherwise does nothing. Signals arriving while the end steps run are ignored.
// Cheap enough for any loop (one relaxed atomic load when no signal came): long work takes one per
// piece of a few megabytes, per row or per file.
void TerminationCheckpoint();
// Writes text whole to standard error. Where nobody reads it (a pipe that is full), the write waits,
// and a signal that arrives meanwhile is acted on there, as at a checkpoint, rather than waiting for
// the write that may never finish.
void WriteStandardError(std::string_view text);

// The checkpoint at the end of main, once nothing is left to roll back: the signals get their default
// action back, so that one arriving while the process exits ends it at once, and a signal that came
// before is acted on as at any checkpoint.
void LastTerminationCheckpoint();
