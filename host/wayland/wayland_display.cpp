// The Wayland connection, its globals and outputs, the drawn surface and the event loop.
#include "host/wayland/wayland_display.h"

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>
#include <wayland-egl.h>

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/egl/egl_context.h"
#include "host/host.h"
#include "host/host_state.h"
#include "host/pacing.h"
#include "host/wayland/frame_callbacks.h"
#include "host/wayland/layer_shell.h"
#include "host/wayland/wayland_input.h"
#include "xdg-output-unstable-v1.h"

WaylandConnection wayland;
DrawnSurface drawn;

namespace {
constexpr uint32_t kCompositorVersion = 4;
constexpr uint32_t kOutputVersion = 4;         // with its name
constexpr uint32_t kSeatVersion = 5;           // with the keyboard's repeat rate
constexpr uint32_t kLayerShellVersion = 4;     // the copy in protocols/
constexpr uint32_t kOutputManagerVersion = 2;  // with the output's name

int endSignals = -1;  // descriptor that reads SIGTERM and SIGINT, -1 when none; ConnectWayland

WaylandOutput* OutputOf(wl_output* output) {
    for (WaylandOutput& o : wayland.outputs) {
        if (o.output == output) return &o;
    }
    return nullptr;
}

void Changed() {
    if (wayland.outputsChanged != nullptr) wayland.outputsChanged();
}

// The scale of the outputs the surface is on: the largest, so that it is sharp on each.
void Rescale() {
    if (!drawn.followsOutputs) return;
    int scale = 1;
    for (const WaylandOutput& o : wayland.outputs) {
        if (o.entered) scale = std::max(scale, o.scale);
    }
    if (scale == drawn.scale) return;
    drawn.scale = scale;
    if (drawn.eglWindow != nullptr) SizeDrawnSurface(drawn.width, drawn.height);
}

void OutputGeometry(void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*,
                    const char*, int32_t) {}
void OutputMode(void*, wl_output*, uint32_t, int32_t, int32_t, int32_t) {}
void OutputDone(void*, wl_output*) {
    Changed();
}
void OutputScale(void*, wl_output* output, int32_t factor) {
    if (WaylandOutput* o = OutputOf(output)) o->scale = std::max(1, factor);
    Rescale();
}
void OutputName(void*, wl_output* output, const char* name) {
    if (WaylandOutput* o = OutputOf(output)) o->name = name;
}
void OutputDescription(void*, wl_output*, const char*) {}
const wl_output_listener kOutputListener = {OutputGeometry, OutputMode, OutputDone,
                                            OutputScale,    OutputName, OutputDescription};

// Compositors whose wl_output has no name (before version 4) name it through xdg-output.
void XdgPosition(void*, zxdg_output_v1*, int32_t, int32_t) {}
void XdgSize(void*, zxdg_output_v1*, int32_t, int32_t) {}
void XdgDone(void*, zxdg_output_v1*) {}
void XdgName(void* data, zxdg_output_v1*, const char* name) {
    auto global = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(data));
    for (WaylandOutput& o : wayland.outputs) {
        if (o.global == global && o.name.empty()) o.name = name;
    }
    Changed();
}
void XdgDescription(void*, zxdg_output_v1*, const char*) {}
const zxdg_output_v1_listener kXdgOutputListener = {XdgPosition, XdgSize, XdgDone, XdgName,
                                                    XdgDescription};

void NameByXdgOutput(WaylandOutput& o) {
    if (wayland.outputManager == nullptr || o.xdgOutput != nullptr) return;
    o.xdgOutput = zxdg_output_manager_v1_get_xdg_output(wayland.outputManager, o.output);
    zxdg_output_v1_add_listener(o.xdgOutput, &kXdgOutputListener,
                                reinterpret_cast<void*>(static_cast<uintptr_t>(o.global)));
}

template <typename Proxy>
Proxy* Bind(uint32_t name, const wl_interface* interface, uint32_t offered, uint32_t wanted) {
    return static_cast<Proxy*>(
        wl_registry_bind(wayland.registry, name, interface, std::min(offered, wanted)));
}

void Global(void*, wl_registry*, uint32_t name, const char* interface, uint32_t version) {
    if (std::strcmp(interface, wl_compositor_interface.name) == 0) {
        wayland.compositor =
            Bind<wl_compositor>(name, &wl_compositor_interface, version, kCompositorVersion);
    } else if (std::strcmp(interface, wl_seat_interface.name) == 0 && wayland.seat == nullptr) {
        wayland.seat = Bind<wl_seat>(name, &wl_seat_interface, version, kSeatVersion);
        ListenToSeat(wayland.seat);
    } else if (std::strcmp(interface, zwlr_layer_shell_v1_interface.name) == 0) {
        wayland.layerShell = Bind<zwlr_layer_shell_v1>(name, &zwlr_layer_shell_v1_interface,
                                                       version, kLayerShellVersion);
    } else if (std::strcmp(interface, zxdg_output_manager_v1_interface.name) == 0) {
        wayland.outputManager = Bind<zxdg_output_manager_v1>(
            name, &zxdg_output_manager_v1_interface, version, kOutputManagerVersion);
        for (WaylandOutput& o : wayland.outputs) NameByXdgOutput(o);
    } else if (std::strcmp(interface, wl_output_interface.name) == 0) {
        WaylandOutput o;
        o.global = name;
        o.output = Bind<wl_output>(name, &wl_output_interface, version, kOutputVersion);
        wl_output_add_listener(o.output, &kOutputListener, nullptr);
        wayland.outputs.push_back(o);
        if (version < kOutputVersion) NameByXdgOutput(wayland.outputs.back());
    }
}

void GlobalRemove(void*, wl_registry*, uint32_t name) {
    auto gone = std::find_if(wayland.outputs.begin(), wayland.outputs.end(),
                             [&](const WaylandOutput& o) { return o.global == name; });
    if (gone == wayland.outputs.end()) return;
    if (gone->xdgOutput != nullptr) zxdg_output_v1_destroy(gone->xdgOutput);
    wl_output_destroy(gone->output);
    wayland.outputs.erase(gone);
    Rescale();
    Changed();
}
const wl_registry_listener kRegistryListener = {Global, GlobalRemove};

void SurfaceEnter(void*, wl_surface*, wl_output* output) {
    if (WaylandOutput* o = OutputOf(output)) o->entered = 1;
    Rescale();
}
void SurfaceLeave(void*, wl_surface*, wl_output* output) {
    if (WaylandOutput* o = OutputOf(output)) o->entered = 0;
    Rescale();
}
const wl_surface_listener kSurfaceListener = {SurfaceEnter, SurfaceLeave};

void FrameDone(void*, wl_callback* callback, uint32_t) {
    wl_callback_destroy(callback);
    drawn.frameAsked = 1;
}
const wl_callback_listener kFrameListener = {FrameDone};

// SIGTERM and SIGINT are read as events, so that they end the run between frames, through
// QuitProgram (a --save included).
void TakeEndSignals() {
    sigset_t ends;
    sigemptyset(&ends);
    sigaddset(&ends, SIGTERM);
    sigaddset(&ends, SIGINT);
    sigprocmask(SIG_BLOCK, &ends, nullptr);
    endSignals = signalfd(-1, &ends, SFD_NONBLOCK | SFD_CLOEXEC);
}

// The compositor ended, and with it the surface and its GL: no Shutdown, but a --save all the
// same.
[[noreturn]] void LostConnection(bool quietEnd) {
    const int saved = endOfRun != nullptr ? endOfRun() : 0;
    if (quietEnd) std::_Exit(saved);
    std::fprintf(stderr, "wispra: the connection to the Wayland compositor was lost: %s\n",
                 std::strerror(wl_display_get_error(wayland.display)));
    std::_Exit(kFailureStatus);
}

// Waits up to `timeoutMs` (-1: for ever) for the compositor's events or an end signal, and
// handles what came. True when an end signal came.
bool HandleEvents(int timeoutMs, bool quietEnd) {
    while (wl_display_prepare_read(wayland.display) != 0) {
        if (wl_display_dispatch_pending(wayland.display) < 0) LostConnection(quietEnd);
    }
    wl_display_flush(wayland.display);
    pollfd sources[] = {{wl_display_get_fd(wayland.display), POLLIN, 0}, {endSignals, POLLIN, 0}};
    const int ready = poll(sources, 2, timeoutMs);
    if (ready > 0 && (sources[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
        if (wl_display_read_events(wayland.display) < 0) LostConnection(quietEnd);
    } else {
        wl_display_cancel_read(wayland.display);
    }
    if (wl_display_dispatch_pending(wayland.display) < 0) LostConnection(quietEnd);
    signalfd_siginfo received{};
    return read(endSignals, &received, sizeof received) == static_cast<ssize_t>(sizeof received);
}
}  // namespace

bool ConnectWayland() {
    TakeEndSignals();
    wayland.display = wl_display_connect(nullptr);
    if (wayland.display == nullptr) {
        const char* name = std::getenv("WAYLAND_DISPLAY");
        std::fprintf(stderr, "wispra: cannot connect to the Wayland display '%s': %s\n",
                     name != nullptr ? name : "wayland-0", std::strerror(errno));
        return false;
    }
    wayland.registry = wl_display_get_registry(wayland.display);
    wl_registry_add_listener(wayland.registry, &kRegistryListener, nullptr);
    // The globals, then what they say of themselves (the outputs' names and scales).
    wl_display_roundtrip(wayland.display);
    wl_display_roundtrip(wayland.display);
    if (wayland.compositor == nullptr) {
        std::fprintf(stderr, "wispra: the Wayland compositor offers no wl_compositor\n");
        return false;
    }
    return true;
}

bool MakeDrawnSurface() {
    if (!OpenEglContext(EGL_PLATFORM_WAYLAND_KHR, wayland.display, hostOptions.samples))
        return false;
    drawn.surface = wl_compositor_create_surface(wayland.compositor);
    wl_surface_add_listener(drawn.surface, &kSurfaceListener, nullptr);
    return true;
}

void SizeDrawnSurface(int width, int height) {
    drawn.width = std::max(1, width);
    drawn.height = std::max(1, height);
    const int pixelsWide = drawn.width * drawn.scale;
    const int pixelsHigh = drawn.height * drawn.scale;
    wl_surface_set_buffer_scale(drawn.surface, drawn.scale);
    if (drawn.eglWindow == nullptr) {
        drawn.eglWindow = wl_egl_window_create(drawn.surface, pixelsWide, pixelsHigh);
        if (drawn.eglWindow == nullptr || !MakeEglWindowSurface(drawn.eglWindow)) {
            std::fprintf(stderr, "wispra: cannot make the window's EGL surface\n");
            std::exit(kFailureStatus);
        }
        // The compositor's frame callbacks pace the frames: a swap must never wait for one.
        SetEglSwapInterval(0);
    } else {
        wl_egl_window_resize(drawn.eglWindow, pixelsWide, pixelsHigh, 0, 0);
    }
    drawn.frameAsked = 1;  // a new size is drawn at once
    if (pixelsWide != WindowWidth || pixelsHigh != WindowHeight) Reshape(pixelsWide, pixelsHigh);
}

void SwapDrawnSurface() {
    wl_callback* frame = wl_surface_frame(drawn.surface);
    wl_callback_add_listener(frame, &kFrameListener, nullptr);
    drawn.frameAsked = 0;
    SwapEglBuffers();  // commits the surface, the frame request with it
}

void RunWaylandLoop(bool quietEnd) {
    for (;;) {
        const bool drawable = drawn.eglWindow != nullptr && !WindowOversize;
        if (HandleEvents(EventWaitMs(drawn.frameAsked != 0, drawable, KeyRepeatInMs()), quietEnd))
            QuitProgram();
        RepeatHeldKey();
        if (drawn.frameAsked && drawn.eglWindow != nullptr && !WindowOversize) {
            WaitForNextFrame();
            StepFrame();
        }
    }
}

void ReleaseWayland() {
    ReleaseEglContext();
    if (drawn.eglWindow != nullptr) wl_egl_window_destroy(drawn.eglWindow);
    drawn.eglWindow = nullptr;
    if (wayland.display != nullptr) wl_display_flush(wayland.display);
}

WindowSize DrawnSurfaceSize() {
    return {WindowWidth, WindowHeight};
}

int DrawnSurfaceTextScale() {
    return drawn.scale;
}

bool PacedByFrameCallbacks(int) {
    return true;
}

WaylandOutput* OutputNamed(const char* name) {
    for (WaylandOutput& o : wayland.outputs) {
        if (o.name == name) return &o;
    }
    return nullptr;
}
