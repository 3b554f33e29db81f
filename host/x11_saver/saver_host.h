// The saver host: draws into a window another program made (a screen-saver daemon's window, its
// settings dialog's preview, or the root window) through Xlib and GLX, with no GLUT at all.
//
// Implements:
//   [x] open: the window from --window-id, XSCREENSAVER_WINDOW or the root window; a context for
//       that window's own visual (host/glx/visual_features.h), refused when input-only or
//       without GLX, RGBA or double buffering; SIGTERM and SIGINT read as events, SIGUSR1
//       (XSecureLock's reset) read and let pass
//   [x] run: its own loop, paced frames, none while unmapped or too large; ends on the window's
//       destruction or an end signal, in one line on a lost server (host/glx/x_failures.h)
//   [x] release: the root window cleared when it was drawn into by hand, not for a daemon
//   [x] swap, and the swap interval through GLX (host/glx/swap_control.h)
//   [x] the window's size, as its latest ConfigureNotify had it; the text factor from the
//       display's Xft.dpi (host/glx/display_scale.h); a first seed of its own for each run
//   [ ] full screen, resize, the pointer, keys and the mouse: the other program's business
// Leaves to the core: the frame step, the hidden state, pacing, the clock, reshape and the end of
// the process.
#pragma once

#include "host/window_system.h"

extern const WindowSystem kSaverWindowSystem;

// Handles the window's events that have come, and the end signals, without waiting: a new size
// reshapes, unmapping and mapping set the hidden state. True once the program is to end: the
// window was destroyed, or SIGTERM or SIGINT came.
bool HandleSaverEvents();

// Lets go of all the window system holds, the connection and the signal mask included, so that a
// test can open another window in the same process. The program itself never needs it.
void CloseSaverWindow();
