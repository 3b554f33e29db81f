// The seam between the host's core and the window systems it runs on. Each host fills one
// WindowSystem, the program chooses one (program/hosts.h), and the core calls through the one in
// use; the application asks its window for what it needs through the requests below, never
// through a window system itself. What each host implements and what it leaves to the core is
// listed at the top of its header.
#pragma once

// The window's client area, pixels.
struct WindowSize {
    int width;
    int height;
};

// How one host gets its window, its GL context and its events.
struct WindowSystem {
    // Opens the window system, takes or makes the window and makes a GL context for it current.
    // 0 when all is ready; otherwise the exit status, its one line already on standard error.
    int (*open)();
    // Starts listening for the window's events: its handlers, or the events it selects.
    void (*listen)();
    // The event loop: takes the frame step (StepFrame) when a frame is due, until the program
    // ends. Returns only where the window system gives up its loop.
    void (*run)();
    // Lets go of the window and the context, after Shutdown, just before the process ends.
    void (*release)();
    // Shows the frame just drawn.
    void (*swap)();
    // Makes each swap wait for `interval` vertical blanks, where the window system offers it;
    // false where it does not or the driver refuses.
    bool (*setSwapInterval)(int interval);

    // The requests of the application, below.
    WindowSize (*size)();
    void (*fullScreen)();
    void (*resize)(int width, int height);
    void (*hidePointer)();
    // The whole factor the display asks text to be drawn at, 1..8: 1 where it asks for none.
    int (*textScale)();

    // What the host is.
    int readsInput;      // 0/1: keys and the mouse reach the application through it
    int distinctStarts;  // 0/1: it may run beside copies of itself (a saver per monitor), so each
                         // run's motion starts from a seed of its own
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
// Whether keys and the mouse reach the application in this window.
bool WindowReadsInput();
// Whole pixels per font pixel for the text: --text-scale's, or else the display's.
int CurrentTextScale();
