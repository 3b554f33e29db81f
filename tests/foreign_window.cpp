// A window made by another program, as a screen-saver daemon makes one, for the tests of the
// program's --window-id: a window of the given size at the screen's top left, with an RGBA GLX
// visual that is double-buffered (or, with "single", one that is not; with "multisample", one
// with four samples a pixel; with "inputonly", an input-only window), mapped and black. Prints the
// window's id in hexadecimal once it is mapped, then keeps it until standard input closes or the
// process is ended, when the window goes with the connection. Usage: foreign_window WIDTHxHEIGHT
// [single|multisample|inputonly]
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace {
constexpr int kUsageStatus = 2;

int Fail(const char* what) {
    std::fprintf(stderr, "foreign_window: %s\n", what);
    return 1;
}
}  // namespace

int main(int argc, char** argv) {
    int width = 0;
    int height = 0;
    if (argc < 2 || std::sscanf(argv[1], "%dx%d", &width, &height) != 2 || width <= 0 ||
        height <= 0) {
        std::fprintf(stderr, "usage: foreign_window WIDTHxHEIGHT [single|multisample|inputonly]\n");
        return kUsageStatus;
    }
    const char* kind = argc > 2 ? argv[2] : "";
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return Fail("cannot open the display");
    const int screen = DefaultScreen(display);
    // Without GLX_DOUBLEBUFFER only single-buffered visuals are considered.
    int doubleBuffered[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_DEPTH_SIZE, 16, None};
    int singleBuffered[] = {GLX_RGBA, GLX_DEPTH_SIZE, 16, None};
    int multisampled[] = {
        GLX_RGBA, GLX_DOUBLEBUFFER, GLX_DEPTH_SIZE, 16, GLX_SAMPLE_BUFFERS, 1, GLX_SAMPLES, 4,
        None};
    int* wanted = doubleBuffered;
    if (std::strcmp(kind, "single") == 0) wanted = singleBuffered;
    if (std::strcmp(kind, "multisample") == 0) wanted = multisampled;
    XVisualInfo* visual = glXChooseVisual(display, screen, wanted);
    if (visual == nullptr) return Fail("no such visual on this display");

    const Window root = RootWindow(display, screen);
    XSetWindowAttributes attributes{};
    attributes.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
    attributes.background_pixel = BlackPixel(display, screen);
    attributes.border_pixel = 0;
    attributes.event_mask = StructureNotifyMask;
    const bool inputOnly = std::strcmp(kind, "inputonly") == 0;
    const Window window =
        inputOnly
            ? XCreateWindow(display, root, 0, 0, static_cast<unsigned int>(width),
                            static_cast<unsigned int>(height), 0, 0, InputOnly, CopyFromParent,
                            CWEventMask, &attributes)
            : XCreateWindow(display, root, 0, 0, static_cast<unsigned int>(width),
                            static_cast<unsigned int>(height), 0, visual->depth, InputOutput,
                            visual->visual, CWColormap | CWBackPixel | CWBorderPixel | CWEventMask,
                            &attributes);
    XFree(visual);
    XMapWindow(display, window);
    for (XEvent event; XNextEvent(display, &event) == 0 && event.type != MapNotify;) {
    }
    std::printf("0x%lx\n", window);
    std::fflush(stdout);

    char buffer[64];
    while (read(STDIN_FILENO, buffer, sizeof buffer) > 0) {
    }
    XCloseDisplay(display);
    return 0;
}
