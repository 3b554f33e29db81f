// The live wallpaper: a layer surface on one output per process. Without --output, the first
// process only watches the outputs and runs the program again for each, with --output naming it,
// so that each output has its own GL surface and its own start; an output that goes ends its
// process.
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "host/host.h"
#include "host/host_state.h"
#include "host/wayland/layer_shell.h"
#include "host/wayland/wayland_display.h"
#include "host/wayland/wayland_host.h"

namespace {
constexpr char kNamespace[] = "wispra";
constexpr uint32_t kAllEdges =
    ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
    ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT;

zwlr_layer_surface_v1* layerSurface = nullptr;  // the surface on its output; OpenWallpaper

// One process drawing on one output, started by the watching process.
struct OutputProcess {
    std::string output;
    pid_t pid;
};
std::vector<OutputProcess> processes;  // written by the watching process only

void LayerConfigure(void*, zwlr_layer_surface_v1* surface, uint32_t serial, uint32_t width,
                    uint32_t height) {
    zwlr_layer_surface_v1_ack_configure(surface, serial);
    SizeDrawnSurface(static_cast<int>(width), static_cast<int>(height));
}

// The output went, or the compositor no longer wants the surface: the run ends.
void LayerClosed(void*, zwlr_layer_surface_v1*) {
    QuitProgram();
}
const zwlr_layer_surface_v1_listener kLayerListener = {LayerConfigure, LayerClosed};

// Runs the program again for `output`, with the same command line and --output naming it.
void StartOutputProcess(const std::string& output) {
    std::vector<std::string> words(hostOptions.commandArgv,
                                   hostOptions.commandArgv + hostOptions.commandArgc);
    words.push_back("--output=" + output);
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        execv("/proc/self/exe", argv.data());
        std::fprintf(stderr, "wispra: cannot start the wallpaper of %s: %s\n", output.c_str(),
                     std::strerror(errno));
        std::_Exit(kFailureStatus);
    }
    if (pid > 0) processes.push_back({output, pid});
}

// Each named output has its process, and no process outlives its output.
void FollowOutputs() {
    for (auto it = processes.begin(); it != processes.end();) {
        if (OutputNamed(it->output.c_str()) == nullptr) {
            kill(it->pid, SIGTERM);
            it = processes.erase(it);
        } else {
            ++it;
        }
    }
    for (const WaylandOutput& o : wayland.outputs) {
        if (o.name.empty()) continue;
        bool running = false;
        for (const OutputProcess& p : processes) running = running || p.output == o.name;
        if (!running) StartOutputProcess(o.name);
    }
}

[[noreturn]] void EndWatching() {
    for (const OutputProcess& p : processes) kill(p.pid, SIGTERM);
    while (wait(nullptr) > 0) {
    }
    std::exit(0);
}

// The watching process: no GL, only the outputs, the end signals and the ends of its processes.
[[noreturn]] void WatchOutputs() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGCHLD);
    sigprocmask(SIG_BLOCK, &signals, nullptr);
    const int events = signalfd(-1, &signals, SFD_NONBLOCK | SFD_CLOEXEC);
    wayland.outputsChanged = FollowOutputs;
    FollowOutputs();
    for (;;) {
        wl_display_flush(wayland.display);
        pollfd sources[] = {{wl_display_get_fd(wayland.display), POLLIN, 0}, {events, POLLIN, 0}};
        poll(sources, 2, -1);
        if ((sources[0].revents & POLLIN) != 0 && wl_display_dispatch(wayland.display) < 0)
            EndWatching();  // the compositor ended
        if ((sources[0].revents & (POLLHUP | POLLERR)) != 0) EndWatching();
        signalfd_siginfo received{};
        while (read(events, &received, sizeof received) == static_cast<ssize_t>(sizeof received)) {
            if (received.ssi_signo != SIGCHLD) EndWatching();
        }
        // A process that ended is not started again while its output stays: it ended for a
        // reason of its own, which it has said.
        for (pid_t pid; (pid = waitpid(-1, nullptr, WNOHANG)) > 0;) {
        }
    }
}

int OpenWallpaper() {
    if (!ConnectWayland()) return kFailureStatus;
    if (wayland.layerShell == nullptr) {
        std::fprintf(stderr,
                     "wispra: the Wayland compositor offers no wlr-layer-shell protocol "
                     "(zwlr_layer_shell_v1), which --wallpaper needs\n");
        return kUsageStatus;
    }
    if (hostOptions.outputName == nullptr) WatchOutputs();
    WaylandOutput* output = OutputNamed(hostOptions.outputName);
    if (output == nullptr) {
        std::string names;
        for (const WaylandOutput& o : wayland.outputs)
            names += (names.empty() ? "" : ", ") + o.name;
        std::fprintf(stderr, "wispra: no output named '%s' (the outputs: %s)\n",
                     hostOptions.outputName, names.empty() ? "none" : names.c_str());
        return kUsageStatus;
    }
    drawn.followsOutputs = 0;
    drawn.scale = output->scale;
    if (!MakeDrawnSurface()) return kFailureStatus;
    layerSurface =
        zwlr_layer_shell_v1_get_layer_surface(wayland.layerShell, drawn.surface, output->output,
                                              hostOptions.wallpaperLayer == WallpaperLayer::kBottom
                                                  ? ZWLR_LAYER_SHELL_V1_LAYER_BOTTOM
                                                  : ZWLR_LAYER_SHELL_V1_LAYER_BACKGROUND,
                                              kNamespace);
    zwlr_layer_surface_v1_add_listener(layerSurface, &kLayerListener, nullptr);
    zwlr_layer_surface_v1_set_anchor(layerSurface, kAllEdges);
    zwlr_layer_surface_v1_set_size(layerSurface, 0, 0);  // the whole output
    zwlr_layer_surface_v1_set_exclusive_zone(layerSurface, -1);
    zwlr_layer_surface_v1_set_keyboard_interactivity(layerSurface, 0);
    wl_region* none = wl_compositor_create_region(wayland.compositor);
    wl_surface_set_input_region(drawn.surface, none);  // every click goes to what lies below
    wl_region_destroy(none);
    wl_surface_commit(drawn.surface);
    return WaitForFirstSize("the wallpaper") ? 0 : kFailureStatus;
}

void ListenToWallpaper() {}

void RunWallpaper() {
    RunWaylandLoop(true);
}

// The output's size is the compositor's to give; a wallpaper has no pointer to hide.
void LeaveToCompositor() {}
void LeaveSizeToCompositor(int, int) {}

}  // namespace

const WindowSystem kWallpaperWindowSystem = {
    OpenWallpaper,          // open
    ListenToWallpaper,      // listen
    RunWallpaper,           // run
    ReleaseWayland,         // release
    SwapDrawnSurface,       // swap
    PacedByFrameCallbacks,  // setSwapInterval
    DrawnSurfaceSize,       // size
    LeaveToCompositor,      // fullScreen
    LeaveSizeToCompositor,  // resize
    LeaveToCompositor,      // hidePointer
    DrawnSurfaceTextScale,  // textScale
    0,                      // readsInput: it takes no input
    1,                      // distinctStarts: one per output, each its own
};
