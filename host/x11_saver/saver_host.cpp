// The saver host: takes a window another program made, makes a GL context for that window's own
// visual, and draws paced frames into it until the window goes or an end signal comes. It reads
// neither keys nor the mouse and leaves the pointer alone; the window's size and mapping are all
// it follows.
#include "host/x11_saver/saver_host.h"

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "host/glx/display_scale.h"
#include "host/glx/swap_control.h"
#include "host/glx/visual_features.h"
#include "host/glx/x_failures.h"
#include "host/host.h"
#include "host/host_state.h"
#include "host/pacing.h"
#include "host/signals.h"
#include "host/x11_saver/window_id.h"

namespace {
// Where a screen-saver daemon puts the id of the window a --root program is to draw into.
constexpr char kDaemonWindowVariable[] = "XSCREENSAVER_WINDOW";

// The connection and what it holds are this file's own, as GLUT keeps its own for the GLUT host.
Display* saverDisplay;        // the connection, null before OpenSaverWindow; written by it and by
                              // CloseSaverWindow
Window saverWindow;           // the window drawn into, 0 before; written by OpenSaverWindow
GLXContext saverContext;      // the context for the window's visual, null when none; written by
                              // OpenSaverWindow, ReleaseSaverWindow
int endSignals = -1;          // descriptor that reads SIGTERM, SIGINT and SIGUSR1, -1 when none;
                              // written by OpenSaverWindow and CloseSaverWindow
sigset_t signalsBefore;       // the signal mask before OpenSaverWindow blocked the end signals
XErrorHandler handlerBefore;  // Xlib's error handler before OpenSaverWindow set NoteXError
int displayScale = 1;         // the text factor the display asks for, 1..8; OpenSaverWindow
int clearAtEnd;               // 0/1: the window is the root window and no daemon named it, so
                              // the desktop's background is put back at the end; OpenSaverWindow
int ending;                   // 0/1: the window was destroyed or an end signal came; written by
                              // HandleSaverEvents and NoteXError
int errorReported;            // 0/1: an X error not about the window went to standard error;
                              // written by HandleSaverEvents
char pendingError[kFailureLineBytes];  // the first X error not about the window, "" when none:
                                       // said once the events before it show the window still
                                       // stands; written by NoteXError, HandleSaverEvents

bool IsWindowGone(unsigned char code) {
    return code == BadWindow || code == BadDrawable;
}

// Xlib's own handler would end the process on any error. Errors about the window come when it is
// destroyed while a frame is drawn into it: the window's end then follows as an event, or is
// taken from the error where the window went before its events were selected. Other errors (on
// the renderer's graphics context for the window, say) may come of the same end, whose event is
// queued before them but not yet read: they are said only once the queue shows no end.
int NoteXError(Display* display, XErrorEvent* error) {
    if (error->resourceid == saverWindow) {
        if (IsWindowGone(error->error_code)) ending = 1;
        return 0;
    }
    if (!errorReported && pendingError[0] == '\0')
        DescribeXError(display, error->error_code, error->request_code, "; carrying on",
                       pendingError, sizeof pendingError);
    return 0;
}

// The window a screen-saver daemon named, null when none did.
const char* DaemonWindow() {
    const char* named = std::getenv(kDaemonWindowVariable);
    return named != nullptr && *named != '\0' ? named : nullptr;
}

// The window the options, or else the daemon's variable, name; 0 for the root window. False after
// a refusal.
bool ChooseWindow(uint32_t& id) {
    const char* named = DaemonWindow();
    id = hostOptions.windowId;
    if (id != 0 || named == nullptr) return true;
    if (ParseWindowId(named, id)) return true;
    std::fprintf(stderr, "wispra: %s is not a window id%s\n", kDaemonWindowVariable,
                 kWindowIdExpected);
    return false;
}

// The window's visual as GLX describes it; null when the display has no such visual.
XVisualInfo* DescribeVisual(const XWindowAttributes& attributes) {
    XVisualInfo pattern{};
    pattern.visualid = XVisualIDFromVisual(attributes.visual);
    pattern.screen = XScreenNumberOfScreen(attributes.screen);
    int count = 0;
    return XGetVisualInfo(saverDisplay, VisualIDMask | VisualScreenMask, &pattern, &count);
}

int OpenSaverWindow() {
    // SIGUSR1 is XSecureLock's reset of its saver, when its password prompt closes: the saver
    // goes on.
    endSignals = ReadSignalsAsData({SIGTERM, SIGINT, SIGUSR1}, &signalsBefore);
    uint32_t id = 0;
    if (!ChooseWindow(id)) return kUsageStatus;
    saverDisplay = XOpenDisplay(hostOptions.displayName);
    if (saverDisplay == nullptr) {
        std::fprintf(stderr, "wispra: cannot open display '%s'\n",
                     XDisplayName(hostOptions.displayName));
        return kFailureStatus;
    }
    WatchXServer(saverDisplay);
    handlerBefore = XSetErrorHandler(NoteXError);
    const Window root = RootWindow(saverDisplay, DefaultScreen(saverDisplay));
    saverWindow = id != 0 ? id : root;
    clearAtEnd = saverWindow == root && DaemonWindow() == nullptr ? 1 : 0;
    // Selected before the window is looked at: if it is destroyed after the look, the event says
    // so; if before, the look fails.
    XSelectInput(saverDisplay, saverWindow, StructureNotifyMask);
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(saverDisplay, saverWindow, &attributes)) {
        std::fprintf(stderr, "wispra: no window 0x%lx on display '%s'\n", saverWindow,
                     DisplayString(saverDisplay));
        return kUsageStatus;
    }
    // Input-only windows have neither a visual nor pixels to draw into.
    if (attributes.c_class == InputOnly) {
        std::fprintf(stderr, "wispra: window 0x%lx is input-only: it has no visual to draw with\n",
                     saverWindow);
        return kUsageStatus;
    }
    // Asked of the server itself before the GL library asks it about visuals.
    int errorBase = 0;
    int eventBase = 0;
    if (!glXQueryExtension(saverDisplay, &errorBase, &eventBase)) {
        std::fprintf(stderr, "wispra: display '%s' has no OpenGL (GLX)\n",
                     DisplayString(saverDisplay));
        return kFailureStatus;
    }
    XVisualInfo* visual = DescribeVisual(attributes);
    const char* missing = visual == nullptr ? "OpenGL" : MissingGlxFeatures(saverDisplay, visual);
    if (missing != nullptr) {
        std::fprintf(stderr, "wispra: window 0x%lx has a visual (0x%lx) without %s\n", saverWindow,
                     XVisualIDFromVisual(attributes.visual), missing);
        if (visual != nullptr) XFree(visual);
        return kUsageStatus;
    }
    // The visual's own framebuffer, multisampled where it is: GL enables multisampling by default.
    saverContext = glXCreateContext(saverDisplay, visual, nullptr, True);
    XFree(visual);
    if (saverContext == nullptr || !glXMakeCurrent(saverDisplay, saverWindow, saverContext)) {
        std::fprintf(stderr, "wispra: cannot make an OpenGL context for window 0x%lx\n",
                     saverWindow);
        return kFailureStatus;
    }
    SetWindowHidden(attributes.map_state == IsUnmapped ? 1 : 0);
    displayScale = CurrentDisplayTextScale();  // of the context just made current
    Reshape(attributes.width, attributes.height);
    return 0;
}

// The events were selected and the signals taken when the window was: nothing is left to install.
void ListenToSaverWindow() {}

// Waits for an event from the server or an end signal.
void WaitForSaverEvent() {
    pollfd sources[] = {{ConnectionNumber(saverDisplay), POLLIN, 0}, {endSignals, POLLIN, 0}};
    poll(sources, 2, -1);
}

[[noreturn]] void RunSaverLoop() {
    for (;;) {
        if (!WindowHidden) WaitForNextFrame();
        bool end = HandleSaverEvents();
        // Unmapped, or too large to swap, nothing is drawn: the loop sleeps until the window
        // shows again, is made smaller or goes.
        while (!end && (WindowHidden || WindowOversize)) {
            WaitForSaverEvent();
            end = HandleSaverEvents();
        }
        if (end) QuitProgram();
        StepFrame();
    }
}

void SwapSaverWindow() {
    glXSwapBuffers(saverDisplay, saverWindow);
}

void ReleaseSaverWindow() {
    if (saverContext != nullptr) {
        glXMakeCurrent(saverDisplay, None, nullptr);
        glXDestroyContext(saverDisplay, saverContext);
        saverContext = nullptr;
    }
    // Run by hand on the desktop, the last frame would stay painted over its background.
    if (clearAtEnd && saverDisplay != nullptr) XClearWindow(saverDisplay, saverWindow);
    // The server has let go of everything before the process ends. The connection itself closes
    // with the process: closed here, it would unload the GL driver before the sanitized build's
    // leak check (see tools/leak_check_at_exit.cpp).
    if (saverDisplay != nullptr) XSync(saverDisplay, False);
}

int SaverTextScale() {
    return displayScale;
}

WindowSize SaverWindowSize() {
    return {WindowWidth, WindowHeight};  // as the latest ConfigureNotify had it
}

// The window is another program's: its size, its place on the screen and its pointer are that
// program's business.
void LeaveToOwner() {}
void LeaveSizeToOwner(int, int) {}
}  // namespace

const WindowSystem kSaverWindowSystem = {
    OpenSaverWindow,      // open
    ListenToSaverWindow,  // listen
    RunSaverLoop,         // run
    ReleaseSaverWindow,   // release
    SwapSaverWindow,      // swap
    RequestSwapInterval,  // setSwapInterval
    SaverWindowSize,      // size
    LeaveToOwner,         // fullScreen
    LeaveSizeToOwner,     // resize
    LeaveToOwner,         // hidePointer
    SaverTextScale,       // textScale
    0,                    // readsInput: keys and the mouse are the other program's
    1,                    // distinctStarts: a daemon runs one per monitor
};

bool HandleSaverEvents() {
    while (XPending(saverDisplay) > 0) {
        XEvent event;
        XNextEvent(saverDisplay, &event);
        switch (event.type) {
            case ConfigureNotify:
                if (event.xconfigure.window != saverWindow) break;
                if (event.xconfigure.width != WindowWidth ||
                    event.xconfigure.height != WindowHeight) {
                    Reshape(event.xconfigure.width, event.xconfigure.height);
                }
                break;
            case MapNotify:
                if (event.xmap.window == saverWindow) SetWindowHidden(0);
                break;
            case UnmapNotify:
                if (event.xunmap.window == saverWindow) SetWindowHidden(1);
                break;
            case DestroyNotify:
                if (event.xdestroywindow.window == saverWindow) ending = 1;
                break;
            default:
                break;
        }
    }
    if (pendingError[0] != '\0' && !ending) {
        std::fprintf(stderr, "%s\n", pendingError);
        errorReported = 1;
    }
    pendingError[0] = '\0';
    while (const int signal = NextSignal(endSignals)) {
        if (signal != SIGUSR1) ending = 1;
    }
    return ending != 0;
}

void CloseSaverWindow() {
    ReleaseSaverWindow();
    if (saverDisplay != nullptr) {
        XCloseDisplay(saverDisplay);
        XSetErrorHandler(handlerBefore);
    }
    saverDisplay = nullptr;
    saverWindow = 0;
    if (endSignals >= 0) {
        // A signal already read, or still waiting, must not reach the default action.
        while (NextSignal(endSignals) != 0) {
        }
        close(endSignals);
        sigprocmask(SIG_SETMASK, &signalsBefore, nullptr);
    }
    endSignals = -1;
    ending = 0;
    errorReported = 0;
    pendingError[0] = '\0';
    clearAtEnd = 0;
    displayScale = 1;
}
