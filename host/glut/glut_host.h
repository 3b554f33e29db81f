// The GLUT host: the window GLUT makes for the program, with its own handlers and GLUT's main
// loop. The host for the program's own window under X.
//
// Implements:
//   [x] open: glutInit with the arguments left for it, the display mode (display_mode.h), the
//       start size or -geometry's, the window titled once from WindowTitle, its X identity
//       (window_identity.h); GLUT's fatal errors, X errors and a lost server in one line
//       (host/glx/x_failures.h)
//   [x] listen: reshape, display, idle and window-status handlers; GLUT's input (glut_input.h)
//   [x] run: glutMainLoop, frames paced from the idle handler, none while hidden
//   [x] swap, and the swap interval through GLX (host/glx/swap_control.h)
//   [x] full screen, resize, hidden pointer, the window's size from GLUT, the text factor from the
//       display's Xft.dpi (host/glx/display_scale.h)
// Leaves to the core: the frame step, the hidden state and its quit rule, input dispatch and
// HostKeyboard, pacing, the clock, reshape and the end of the process.
#pragma once

#include "host/window_system.h"

extern const WindowSystem kGlutWindowSystem;

// GLUT handlers the host installs.
void Display();
void Idle();
// GLUT's window status handler: while the window is hidden the idle redisplays stop, so that the
// main loop sleeps until an event comes; when it shows again they start once more.
void WindowStatus(int state);
