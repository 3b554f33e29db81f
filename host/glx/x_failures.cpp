// The lost X server: Xlib's I/O-error hook, and the crash of the GL library after the loss.
#include "host/glx/x_failures.h"

#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>

#include "host/host.h"

namespace {
constexpr int kErrorTextBytes = 160;  // room for Xlib's description of an error
// How long a crash waits for the server's hang-up: the server's connections close one by one as
// it dies, so the one the GL library read its end from may close before the watched one.
constexpr int kHangUpWaitMs = 500;

int watchedConnection = -1;        // descriptor of a connection to the server in use, -1 before
                                   // WatchXServer; written by it
char lostLine[kFailureLineBytes];  // what a lost connection says; written by WatchXServer
struct sigaction crashBefore;      // what a crash did before WatchXServer; written by it
Display* ownConnection;  // the connection WatchXServerOf opened, null before; it closes with
                         // the process, as the window system's own does

// The server closed its end, or does within kHangUpWaitMs: every connection to it reads the
// hang-up, unread data or not. Safe in a signal handler.
bool ServerGone() {
    pollfd watched = {watchedConnection, POLLRDHUP, 0};
    return poll(&watched, 1, kHangUpWaitMs) == 1 &&
           (watched.revents & (POLLRDHUP | POLLHUP | POLLERR)) != 0;
}

void TakeCrash(int signal) {
    if (watchedConnection >= 0 && ServerGone()) {
        SayFailure(lostLine);
        _exit(kFailureStatus);
    }
    // Not the server's doing: the fault comes again and ends the process as it would have.
    sigaction(signal, &crashBefore, nullptr);
}

// Xlib calls it once a connection fails; it must not return.
int LoseXServer(Display*) {
    EndWithFailedWindowSystem(lostLine);
}

int EndOnXError(Display* display, XErrorEvent* error) {
    char line[kFailureLineBytes];
    DescribeXError(display, error->error_code, error->request_code, "", line, sizeof line);
    EndWithFailedWindowSystem(line);
}
}  // namespace

void WatchXServer(Display* watched) {
    XSetIOErrorHandler(LoseXServer);
    watchedConnection = ConnectionNumber(watched);
    std::snprintf(lostLine, sizeof lostLine, "wispra: the connection to the X server '%s' was lost",
                  DisplayString(watched));
    struct sigaction crash {};
    crash.sa_handler = TakeCrash;
    sigemptyset(&crash.sa_mask);
    sigaction(SIGSEGV, &crash, &crashBefore);
}

bool WatchXServerOf(const char* displayName) {
    ownConnection = XOpenDisplay(displayName);
    if (ownConnection == nullptr) {
        std::fprintf(stderr, "wispra: cannot open display '%s'\n", XDisplayName(displayName));
        return false;
    }
    WatchXServer(ownConnection);
    return true;
}

void EndOnXErrors() {
    XSetErrorHandler(EndOnXError);
}

void DescribeXError(Display* display, int errorCode, int requestCode, const char* ending,
                    char* line, int bytes) {
    char text[kErrorTextBytes];
    XGetErrorText(display, errorCode, text, sizeof text);
    std::snprintf(line, static_cast<size_t>(bytes), "wispra: X error: %s (request %d)%s", text,
                  requestCode, ending);
}
