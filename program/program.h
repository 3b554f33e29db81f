// The whole program, from its command line to its end; the entry (main.cpp) only calls it, and so
// may an application of the tests that stands in for the scene.
#pragma once

#include <cstdint>

// Reads the command line, answers --help, --version and mistakes, chooses the host and runs it.
// Returns the exit status when the run does not start; otherwise ends only through exit.
int RunProgram(int argc, char** argv);

// A first seed of its own for a run that may go beside copies of itself (a saver per monitor),
// from the time of day in microseconds and the process id. Pure.
uint32_t SeedOfRun(uint64_t timeOfDayUs, uint32_t processId);
