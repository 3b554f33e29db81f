// The whole program, from its command line to its end; the entry (main.cpp) only calls it, and so
// may an application of the tests that stands in for the scene.
#pragma once

// Reads the command line, answers --help, --version and mistakes, chooses the host and runs it.
// Returns the exit status when the run does not start; otherwise ends only through exit.
int RunProgram(int argc, char** argv);
