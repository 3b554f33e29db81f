// The Wayland hosts: the program's own window (an xdg-shell toplevel, decorated through libdecor
// where the compositor draws no decorations), and the live wallpaper (--wallpaper: a
// wlr-layer-shell surface behind the windows of each output), both drawn through EGL.
//
// The window implements:
//   [x] open: the connection, an EGL context (host/egl/egl_context.h), the toplevel titled once
//       from WindowTitle, app id "wispra", its first size (--window's, or 640 x 480)
//   [x] run: frames when the compositor's frame callbacks ask for them, paced by --max-fps;
//       none while it sends none; SIGTERM and SIGINT end the run
//   [x] full screen and back, the hidden pointer, keys with their repeats and the mouse
//       (wayland_input.h), the compositor's close
//   [x] the buffer scale of the outputs it is on, and the text factor with it
// The wallpaper implements:
//   [x] open: one process per output (or the one --output names), each a layer surface that
//       covers its output, takes no input and has exclusive zone -1; outputs that come get a
//       process, outputs that go end theirs; refused where no layer shell is offered
//   [x] run, swap and scale as the window; a first seed of its own for each output
//   [ ] keys, the mouse, full screen and resizing: a wallpaper has none
// Both leave to the core: the frame step, pacing by --max-fps, the clock, reshape, input
// dispatch and the end of the process.
#pragma once

#include "host/window_system.h"

extern const WindowSystem kWaylandWindowSystem;
extern const WindowSystem kWallpaperWindowSystem;
