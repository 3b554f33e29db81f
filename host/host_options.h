// What the host is asked to do in this run, and the limits of what it may be asked. The command
// line (program/options.h) fills a HostOptions; every host reads it, none writes it.
#pragma once

#include <cstdint>

constexpr int kStartWindowWidth = 640;   // pixels: the window the program creates, and --window's
constexpr int kStartWindowHeight = 480;  // size when none is given
constexpr int kMaxWindowSide = 16384;    // pixels, the largest window side asked for or drawn
constexpr int kDefaultMaxFps = 60;
constexpr int kMaxFpsLimit = 1000;  // beyond this a frame would last less than the clock's 1 ms
constexpr int kSamplesUnset = -1;   // --samples not given: the window system's own count (4)
constexpr int kMaxSamples = 32;     // the most samples per pixel --samples asks for
constexpr int kMaxTextScale = 8;    // the largest text factor, whole pixels per font pixel

// Which window system the program's own window is asked for: the session's, or one forced.
enum class WindowSystemChoice { kSession, kX11, kWayland };
// The layer-shell layer a wallpaper goes on.
enum class WallpaperLayer { kBackground, kBottom };

// What one run was asked for on its command line.
struct HostOptions {
    int windowed = 0;                       // 0/1: start in a window, not full screen
    int windowWidth = kStartWindowWidth;    // that window's width, pixels, 1..16384
    int windowHeight = kStartWindowHeight;  // that window's height, pixels, 1..16384
    int sizeGiven = 0;                      // 0/1: --window came with a size
    int geometryGiven = 0;                  // 0/1: GLUT's -geometry gives the window's size
    int startIconic = 0;                    // 0/1: GLUT's -iconic is on the command line
    int maxFps = kDefaultMaxFps;            // frame-rate cap, frames a second, 0 = none
    int samples = kSamplesUnset;            // --samples: per pixel, 0..32 (0: no multisampling);
                                            // kSamplesUnset: not given, the window system's own
    int saver = 0;                          // 0/1: --root or --window-id: draw into a window
                                            // another program made, as a screen saver does
    uint32_t windowId = 0;                  // --window-id's window; 0: XSCREENSAVER_WINDOW's,
                                            // else the root window
    int textScale = 0;                      // --text-scale: pixels per font pixel, 1..8; 0: the
                                            // display's
    const char* displayName = nullptr;      // -display's value (in argv), null: $DISPLAY
    WindowSystemChoice windowSystem = WindowSystemChoice::kSession;  // --x11, --wayland
    int wallpaper = 0;                 // 0/1: --wallpaper: behind the windows of each output
    const char* outputName = nullptr;  // --output's output (in argv); null: every output
    WallpaperLayer wallpaperLayer = WallpaperLayer::kBackground;  // --layer
    int commandArgc = 0;           // the whole command line as the program got it, for a
    char** commandArgv = nullptr;  // wallpaper that runs itself again for each output
    int passedArgc = 0;            // arguments left for the window system (GLUT's own options),
    char** passedArgv = nullptr;   // argv[0] first, null-terminated; null: none
};
