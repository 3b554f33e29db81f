// What the Wayland window and the Wayland wallpaper share: the connection and the globals they
// bind, the outputs, the one surface drawn into with its EGL window and its frame callbacks, and
// the event loop. Private to host/wayland/.
#pragma once

#include <wayland-client.h>

#include <cstdint>
#include <string>
#include <vector>

#include "host/window_system.h"

struct zwlr_layer_shell_v1;
struct zxdg_output_manager_v1;
struct zxdg_output_v1;
struct wl_egl_window;

// One output the compositor offers.
struct WaylandOutput {
    uint32_t global = 0;  // its name in the registry
    wl_output* output = nullptr;
    zxdg_output_v1* xdgOutput = nullptr;
    int scale = 1;     // its buffer scale, >= 1
    std::string name;  // "HEADLESS-1", "DP-2"; "" until the compositor names it
    int entered = 0;   // 0/1: the drawn surface is on it
};

// The connection, the globals and the outputs; the display is null until ConnectWayland.
struct WaylandConnection {
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_compositor* compositor = nullptr;
    wl_seat* seat = nullptr;
    zwlr_layer_shell_v1* layerShell = nullptr;
    zxdg_output_manager_v1* outputManager = nullptr;
    std::vector<WaylandOutput> outputs;
    void (*outputsChanged)() = nullptr;  // after an output comes, goes or is named; may be null
};
extern WaylandConnection wayland;  // written by the registry's and the outputs' events

// The surface drawn into.
struct DrawnSurface {
    wl_surface* surface = nullptr;
    wl_egl_window* eglWindow = nullptr;  // null until its first size
    int width = 0;                       // logical size, as the compositor configures it
    int height = 0;
    int scale = 1;  // buffer pixels per logical pixel: that of its outputs, or the one given
    int followsOutputs = 1;  // 0/1: the scale follows the outputs it enters (a window does)
    int frameAsked = 1;      // 0/1: the compositor asked for the next frame (or none was drawn)
};
extern DrawnSurface drawn;  // written by the window or the wallpaper and by its events

// Connects to the compositor of WAYLAND_DISPLAY (or wayland-0) and binds the globals, the outputs
// with their names and scales included. False, with one line on standard error, when it cannot.
bool ConnectWayland();

// Makes the surface drawn into and the EGL context for the display. False after one line on
// standard error.
bool MakeDrawnSurface();

// The surface's logical size is `width` x `height` (at least 1 x 1): the EGL window follows at
// the buffer scale, made on the first call, and the host is told the size in pixels.
void SizeDrawnSurface(int width, int height);

// Handles the compositor's events until it has given the surface its first size. False, with
// one line on standard error naming `what` ("the window"), when it never does.
bool WaitForFirstSize(const char* what);

// Asks for the frame callback that paces the next frame, then shows the frame drawn.
void SwapDrawnSurface();

// The event loop every Wayland surface runs: frames when the compositor asks for them, paced by
// --max-fps; keys, repeats and the end signals in between. `quietEnd`: a lost connection (the
// compositor ended) ends the run with status 0 and no word, as a wallpaper's does.
[[noreturn]] void RunWaylandLoop(bool quietEnd);

// Lets go of the surface, the EGL context and the connection.
void ReleaseWayland();

// What both Wayland hosts answer alike through the seam: the size in pixels as the latest
// configure made it, the text factor of the buffer scale, and a swap interval that the frame
// callbacks stand in for (every frame waits for the compositor's callback).
WindowSize DrawnSurfaceSize();
int DrawnSurfaceTextScale();
bool PacedByFrameCallbacks(int interval);

// The output named `name`, or null.
WaylandOutput* OutputNamed(const char* name);
