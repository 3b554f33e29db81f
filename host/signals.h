// Signals read as data: blocked from the moment a host takes them and read from a descriptor in
// its event loop, so that they act between frames, with Shutdown run, however early they come.
#pragma once

#include <signal.h>

#include <initializer_list>

// Blocks `signals` and returns a non-blocking descriptor that reads them (-1 when the system
// gives none); the mask before goes into `before` unless it is null.
int ReadSignalsAsData(std::initializer_list<int> signals, sigset_t* before);

// The number of the next signal waiting on `descriptor`, 0 when none waits.
int NextSignal(int descriptor);
