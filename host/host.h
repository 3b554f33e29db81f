// What both hosts share: process entry with the command line and the start-up order, the frame
// clock's step, the reshape handler and the orderly end of the process. How a window, a GL
// context and events are had is each host's own (glut_host.h, saver_host.h, behind
// window_system.h). The state is in host_state.h, the clock in clock.h, pacing in pacing.h.
#pragma once

// Calls Shutdown, lets the window system go, then ends the process with status 0 through the
// normal exit path.
[[noreturn]] void QuitProgram();

// Stores the window's new size and sets the viewport to all of it; both hosts call it when the
// size changes.
void Reshape(int width, int height);

// One frame on the host's clock: the uptime from the counter, then Frame; a Frame that returns
// false ends the program (the unfinished picture is not swapped). The host swaps after it.
void DrawFrame();

// The whole program: the command line, start-up, then the window system's event loop. Returns the
// exit status after --help, --version, a bad command line or a refused window; otherwise ends
// only through exit.
int RunHost(int argc, char** argv);
