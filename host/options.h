// The command line: the program's own options, told apart from GLUT's and checked before GLUT is
// touched, so that help, version and mistakes are answered without opening a window.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kStartWindowWidth = 640;   // pixels: the window GLUT creates, and --window's size
constexpr int kStartWindowHeight = 480;  // when none is given
constexpr int kMaxWindowSide = 16384;    // pixels, the largest --window or -geometry side
constexpr int kMaxWindowOffset = 32767;  // pixels, the largest -geometry offset (X's coordinates
                                         // are 16-bit)
constexpr int kDefaultMaxFps = 60;
constexpr int kMaxFpsLimit = 1000;  // beyond this a frame would last less than the clock's 1 ms
constexpr int kSamplesUnset = -1;   // --samples not given: GLUT's own sample count (4)
constexpr int kMaxSamples = 32;     // the most samples per pixel --samples asks for
constexpr int kComplaintBytes = 160;
constexpr int kFailureStatus = 1;  // exit status for a failed start or unwritable output
constexpr int kUsageStatus = 2;    // exit status for a command line or a window the program refuses
// What a window id may be, as the refusals of a bad one end.
constexpr char kWindowIdExpected[] = ": expected decimal digits, or 0x and hexadecimal digits";

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
                                            // kSamplesUnset: not given, GLUT's own count
    int saver = 0;                          // 0/1: --root or --window-id: draw into a window
                                            // another program made, as a screen saver does
    uint32_t windowId = 0;                  // --window-id's window; 0: XSCREENSAVER_WINDOW's,
                                            // else the root window
    const char* displayName = nullptr;      // GLUT's -display value (in argv), null: $DISPLAY
};

enum class OptionsVerdict { kRun, kHelp, kVersion, kBad };

struct ParsedOptions {
    OptionsVerdict verdict = OptionsVerdict::kRun;
    HostOptions options;
    int glutArgc = 0;                      // arguments left at the front of argv for glutInit
    char complaint[kComplaintBytes] = "";  // kBad: one line naming the argument, no newline
};

// Reads argv[1] to argv[argc - 1] in order; the first help, version or mistake decides. Leaves
// argv[0] and GLUT's own options, with their values and in their order, at the front of argv
// (null-terminated) for glutInit, and says how many there are. Touches nothing else.
ParsedOptions ParseOptions(int argc, char** argv);

// A window id as X programs print them and screen-saver daemons pass them: decimal digits, or 0x
// (or 0X) and hexadecimal digits; no sign or space, from 1 to 2^32 - 1. False for anything else.
bool ParseWindowId(const char* text, uint32_t& id);

// Copies `text` into `out` (`size` bytes, terminator included) so that a terminal shows it as one
// line of plain characters: printable ASCII stays, except that the backslash and the single quote
// become \\ and \'; a newline, a tab and a carriage return become \n, \t and \r; every other byte
// (controls, escape sequences, anything beyond ASCII) becomes \xHH. A text that does not fit is cut
// after a whole character or escape and ends in "...".
void QuoteArgument(const char* text, char* out, size_t size);

// The text --help prints, and the line --version prints, both ending in a newline.
const char* UsageText();
const char* VersionLine();
