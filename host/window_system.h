// The seam between the shared host and the two ways it gets a window: GLUT's window of its own,
// or a window another program made (a screen saver's). Each host fills one WindowSystem; the
// shared start-up calls through the one in use, and the application asks its window for what it
// needs through the requests below, never through GLUT itself.
#pragma once

// The window's client area, pixels.
struct WindowSize {
    int width;
    int height;
};

// The application's input handlers, in GLUT's forms.
struct InputHandlers {
    void (*keyboard)(unsigned char key, int x, int y);
    void (*special)(int key, int x, int y);
    void (*mouse)(int button, int state, int x, int y);
    void (*motion)(int x, int y);
};

// How one host gets its window, its GL context and its events.
struct WindowSystem {
    // Opens the window system, takes or makes the window and makes a GL context for it current.
    // 0 when all is ready; otherwise the exit status, its one line already on standard error.
    int (*open)(int argc, char** argv);
    // Starts listening for the window's events: its handlers, or the events it selects.
    void (*listen)();
    // The event loop: draws paced frames until the program ends. Returns only where the window
    // system gives up its loop.
    void (*run)();
    // Lets go of the window and the context, after Shutdown, just before the process ends.
    void (*release)();

    // The requests of the application, below.
    WindowSize (*size)();
    void (*fullScreen)();
    void (*resize)(int width, int height);
    void (*hidePointer)();
    void (*takeInput)(const InputHandlers& handlers);
};

// The window's size as the window system has it now.
WindowSize CurrentWindowSize();
// Full screen, where the window is the program's own to resize; otherwise nothing.
void RequestFullScreen();
// Out of full screen at `width` x `height`, where the window is the program's own; otherwise
// nothing.
void RequestWindowSize(int width, int height);
// Hides the mouse pointer over the window, where the window is the program's own.
void HidePointer();
// Hands keys and mouse to `handlers`, where the host reads them; otherwise nothing.
void TakeInput(const InputHandlers& handlers);
