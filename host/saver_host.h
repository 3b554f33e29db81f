// The saver host: draws into a window another program made (a screen-saver daemon's window, its
// settings dialog's preview, or the root window) through Xlib and GLX, with no GLUT at all.
#pragma once

#include "host/window_system.h"

extern const WindowSystem kSaverWindowSystem;

// What a visual lacks that the program needs, as said in its refusal ("OpenGL", "RGBA", "double
// buffering" or "RGBA and double buffering"); null when it has it all. Each argument is the 0/1
// answer to GLX's question of the same name.
const char* MissingVisualFeatures(int usesGl, int rgba, int doubleBuffered);

// Handles the window's events that have come, and the end signals, without waiting: a new size
// reshapes, unmapping and mapping set WindowHidden. True once the program is to end: the window
// was destroyed, or SIGTERM or SIGINT came.
bool HandleSaverEvents();

// Lets go of all the window system holds, the connection and the signal mask included, so that a
// test can open another window in the same process. The program itself never needs it.
void CloseSaverWindow();
