// The program's own window on Wayland: a toplevel through libdecor, which uses the compositor's
// decorations where it offers them and draws its own (a title bar, a close button, moving and
// resizing) where it does not.
#include <libdecor.h>

#include <cstdio>

#include "host/app.h"
#include "host/egl/egl_context.h"
#include "host/host.h"
#include "host/host_state.h"
#include "host/wayland/wayland_display.h"
#include "host/wayland/wayland_host.h"
#include "host/wayland/wayland_input.h"

namespace {
constexpr char kAppId[] = "wispra";  // the desktop entry's name, for the icon and the task bar

libdecor* decor = nullptr;        // libdecor's context; written by OpenWaylandWindow
libdecor_frame* frame = nullptr;  // the decorated toplevel; written by OpenWaylandWindow
int floatingWidth = 0;            // logical size out of full screen, as asked; open, resize
int floatingHeight = 0;

void DecorError(libdecor*, libdecor_error, const char* message) {
    std::fprintf(stderr, "wispra: the window's decorations failed: %s\n", message);
}
libdecor_interface decorInterface = {DecorError, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}};

void Configure(libdecor_frame* configuredFrame, libdecor_configuration* configuration, void*) {
    int width = 0;
    int height = 0;
    if (!libdecor_configuration_get_content_size(configuration, configuredFrame, &width, &height)) {
        width = floatingWidth;  // the compositor leaves the size to the window
        height = floatingHeight;
    }
    libdecor_state* state = libdecor_state_new(width, height);
    libdecor_frame_commit(configuredFrame, state, configuration);
    libdecor_state_free(state);
    SizeDrawnSurface(width, height);
}

// The compositor's close ends the program at once, as a window manager's close does.
void Close(libdecor_frame*, void*) {
    QuitProgram();
}

void Commit(libdecor_frame*, void*) {
    wl_surface_commit(drawn.surface);
}

void DismissPopup(libdecor_frame*, const char*, void*) {}
libdecor_frame_interface frameInterface = {Configure, Close, Commit, DismissPopup, {}, {}, {},
                                           {},        {},    {},     {},           {}, {}, {}};

int OpenWaylandWindow() {
    if (!ConnectWayland() || !MakeDrawnSurface()) return kFailureStatus;
    floatingWidth = hostOptions.windowWidth;
    floatingHeight = hostOptions.windowHeight;
    decor = libdecor_new(wayland.display, &decorInterface);
    if (decor == nullptr) {
        std::fprintf(stderr, "wispra: cannot make the window's decorations (libdecor)\n");
        return kFailureStatus;
    }
    frame = libdecor_decorate(decor, drawn.surface, &frameInterface, nullptr);
    libdecor_frame_set_app_id(frame, kAppId);
    libdecor_frame_set_title(frame, WindowTitle());  // asked once
    libdecor_frame_map(frame);
    return WaitForFirstSize("the window") ? 0 : kFailureStatus;
}

// The events come through the connection's queue, which libdecor's listeners share.
void ListenToWaylandWindow() {}

void RunWaylandWindow() {
    RunWaylandLoop(false);
}

void WaylandFullScreen() {
    libdecor_frame_set_fullscreen(frame, nullptr);
}

void WaylandResize(int width, int height) {
    floatingWidth = width;
    floatingHeight = height;
    libdecor_frame_unset_fullscreen(frame);
}

}  // namespace

const WindowSystem kWaylandWindowSystem = {
    OpenWaylandWindow,      // open
    ListenToWaylandWindow,  // listen
    RunWaylandWindow,       // run
    ReleaseWayland,         // release
    SwapDrawnSurface,       // swap
    PacedByFrameCallbacks,  // setSwapInterval
    DrawnSurfaceSize,       // size
    WaylandFullScreen,      // fullScreen
    WaylandResize,          // resize
    HideWaylandPointer,     // hidePointer
    DrawnSurfaceTextScale,  // textScale
    1,                      // readsInput
    0,                      // distinctStarts: a window replays its motion
};
