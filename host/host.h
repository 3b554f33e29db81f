// The GLUT shell: process entry, the one window, its handlers and the orderly end of the process.
// Its state is in host_state.h, its clock in clock.h.
#pragma once

// Calls Shutdown, then ends the process with status 0 through the normal exit path.
[[noreturn]] void QuitProgram();

// GLUT handlers the host installs.
void Reshape(int width, int height);
void Display();
void Idle();
void HostKeyboard(unsigned char key, int x, int y);

// The whole program: the command line, start-up, then the GLUT main loop. Returns the exit status
// after --help, --version or a bad command line; otherwise ends only through exit.
int RunHost(int argc, char** argv);
