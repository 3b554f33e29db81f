// The GLUT host: the window GLUT makes for the program, its handlers and GLUT's main loop. The
// default host.
#pragma once

#include "host/window_system.h"

extern const WindowSystem kGlutWindowSystem;

// GLUT handlers the host installs.
void Display();
void Idle();
void HostKeyboard(unsigned char key, int x, int y);
// GLUT's window status handler: while the window is hidden the idle redisplays stop, so that the
// main loop sleeps until an event comes; when it shows again they start once more.
void WindowStatus(int state);
