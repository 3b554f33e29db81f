// Command-line parsing: pure functions over the argument strings.
#include "program/options.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "host/x11_saver/window_id.h"

#ifndef WISPRA_VERSION
#error "WISPRA_VERSION must be defined by the build"
#endif

namespace {
constexpr char kVersionLine[] = "wispra " WISPRA_VERSION "\n";

constexpr char kUsage[] =
    "Usage: wispra [OPTION]... [GLUT OPTION]...\n"
    "Smoke rising from a swaying cigarette in front of a turning universe of stars.\n"
    "\n"
    "  --window[=WxH]  start in a window of W x H pixels (640x480 when no size is\n"
    "                  given) instead of full screen; the f key still toggles\n"
    "  --max-fps=N     draw at most N frames a second (default 60; 0 for no limit)\n"
    "  --samples=N     smooth edges with N samples per pixel (default 4; 0 for none,\n"
    "                  which is much faster without a graphics card)\n"
    "  --root          as a screen saver: draw into the window XSCREENSAVER_WINDOW\n"
    "                  names, or else into the root window (also -root)\n"
    "  --window-id=ID  as a screen saver's preview: draw into the window ID, in\n"
    "                  decimal or 0x hexadecimal (also --window-id ID, -window-id ID)\n"
    "  -h, --help      print this help and exit\n"
    "      --version   print the version and exit\n"
    "\n"
    "GLUT's own options are passed on to it: -display DISPLAY, -geometry WxH+X+Y,\n"
    "-iconic, -sync, -direct, -indirect, -gldebug. With --root or --window-id no\n"
    "GLUT is used: -display still names the display, the others have no effect, and\n"
    "--window, --samples, -geometry and -iconic are refused.\n"
    "\n"
    "Press ? in the window for the keys; Escape fades out and quits.\n"
    "See wispra(6) for where the program looks for its images.\n";

constexpr char kWindowOption[] = "--window";
constexpr char kMaxFpsOption[] = "--max-fps";
constexpr char kSamplesOption[] = "--samples";
constexpr char kWindowIdOption[] = "--window-id";
constexpr char kDaemonWindowIdOption[] = "-window-id";  // the form screen-saver daemons pass
constexpr char kGeometryOption[] = "-geometry";
constexpr char kSeeHelp[] = " (see wispra --help)";
constexpr char kHexDigits[] = "0123456789abcdef";
constexpr char kCut[] = "...";  // ends a quoted argument that was cut short
// The argument's share of a refusal line: room for the longest explanation beside it.
constexpr size_t kQuotedBytes = 48;

// How one byte of an argument is shown on a terminal: as itself, or as an escape.
struct Shown {
    char text[4];
    size_t length;
};

Shown ShownAs(unsigned char byte) {
    switch (byte) {
        case '\\':
        case '\'':
            return {{'\\', static_cast<char>(byte)}, 2};
        case '\n':
            return {{'\\', 'n'}, 2};
        case '\t':
            return {{'\\', 't'}, 2};
        case '\r':
            return {{'\\', 'r'}, 2};
        default:
            if (byte >= ' ' && byte <= '~') return {{static_cast<char>(byte)}, 1};
            return {{'\\', 'x', kHexDigits[byte >> 4], kHexDigits[byte & 0xf]}, 4};
    }
}

// GLUT's options, as glutInit takes them; two of them take the next argument as their value.
struct GlutOption {
    const char* name;
    bool takesValue;
};
constexpr GlutOption kGlutOptions[] = {
    {"-display", true}, {"-geometry", true},  {"-iconic", false},  {"-sync", false},
    {"-direct", false}, {"-indirect", false}, {"-gldebug", false},
};

const GlutOption* FindGlutOption(const char* argument) {
    for (const GlutOption& option : kGlutOptions) {
        if (std::strcmp(argument, option.name) == 0) return &option;
    }
    return nullptr;
}

// A whole number of decimal digits only, no sign or space, from `low` to `high`.
bool ParseWhole(const char* text, const char* end, int low, int high, int& value) {
    if (text == end) return false;
    long long sum = 0;
    for (const char* p = text; p != end; ++p) {
        if (*p < '0' || *p > '9') return false;
        sum = sum * 10 + (*p - '0');
        if (sum > high) return false;  // checked at every digit, so it cannot overflow
    }
    if (sum < low) return false;
    value = static_cast<int>(sum);
    return true;
}

// "WxH" (or "WXH", as X geometry strings allow) from text to end, each side 1..16384.
bool ParseSize(const char* text, const char* end, int& width, int& height) {
    const char* cross = std::find_if(text, end, [](char c) { return c == 'x' || c == 'X'; });
    if (cross == end) return false;
    return ParseWhole(text, cross, 1, kMaxWindowSide, width) &&
           ParseWhole(cross + 1, end, 1, kMaxWindowSide, height);
}

const char* EndOf(const char* text) {
    return text + std::strlen(text);
}

bool IsSign(char c) {
    return c == '+' || c == '-';
}

// An X geometry as GLUT reads it: "WxH", "WxH" followed by an x and a y offset, or the offsets
// alone; each offset a sign ('+' from the left or top edge, '-' from the right or bottom) and
// 0..32767. Says whether it gives a size.
bool ParseGeometry(const char* text, bool& hasSize) {
    const char* end = EndOf(text);
    const char* offsets = std::find_if(text, end, IsSign);
    hasSize = offsets != text;
    int width = 0;
    int height = 0;
    if (hasSize && !ParseSize(text, offsets, width, height)) return false;
    if (offsets == end) return hasSize;
    const char* second = std::find_if(offsets + 1, end, IsSign);
    int x = 0;
    int y = 0;
    return second != end && ParseWhole(offsets + 1, second, 0, kMaxWindowOffset, x) &&
           ParseWhole(second + 1, end, 0, kMaxWindowOffset, y);
}

// The value after "name=", or null when the argument is not that option with a value.
const char* ValueOf(const char* argument, const char* name) {
    const size_t length = std::strlen(name);
    if (std::strncmp(argument, name, length) != 0 || argument[length] != '=') return nullptr;
    return argument + length + 1;
}

// One line: what is wrong, the argument quoted, what was expected, and where to read more.
ParsedOptions Refuse(ParsedOptions parsed, const char* what, const char* argument,
                     const char* detail) {
    parsed.verdict = OptionsVerdict::kBad;
    char quoted[kQuotedBytes];
    QuoteArgument(argument, quoted, sizeof quoted);
    std::snprintf(parsed.complaint, sizeof parsed.complaint, "wispra: %s '%s'%s%s", what, quoted,
                  detail, kSeeHelp);
    return parsed;
}
}  // namespace

ParsedOptions ParseOptions(int argc, char** argv) {
    ParsedOptions parsed;
    int kept = argc > 0 ? 1 : 0;  // argv[0] stays for GLUT
    // The first argument about the window the program makes itself, which --root and
    // --window-id have no use for.
    const char* ownWindow = nullptr;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (const GlutOption* glut = FindGlutOption(argument)) {
            if (glut->takesValue && i + 1 >= argc) {
                return Refuse(parsed, "option", argument, " needs a value");
            }
            const bool geometry = std::strcmp(glut->name, kGeometryOption) == 0;
            const bool iconic = std::strcmp(glut->name, "-iconic") == 0;
            if (geometry) {
                bool hasSize = false;
                if (!ParseGeometry(argv[i + 1], hasSize)) {
                    return Refuse(parsed, "bad -geometry value", argv[i + 1],
                                  ": expected WIDTHxHEIGHT, each from 1 to 16384, and/or +X+Y");
                }
                if (hasSize) parsed.options.geometryGiven = 1;
            }
            if (iconic) parsed.options.startIconic = 1;
            if ((geometry || iconic) && ownWindow == nullptr) ownWindow = argument;
            if (std::strcmp(glut->name, "-display") == 0) parsed.options.displayName = argv[i + 1];
            argv[kept++] = argv[i];
            if (glut->takesValue) argv[kept++] = argv[++i];
            continue;
        }
        if (std::strcmp(argument, "-h") == 0 || std::strcmp(argument, "--help") == 0) {
            parsed.verdict = OptionsVerdict::kHelp;
            return parsed;
        }
        if (std::strcmp(argument, "--version") == 0) {
            parsed.verdict = OptionsVerdict::kVersion;
            return parsed;
        }
        if (std::strcmp(argument, kWindowOption) == 0) {
            parsed.options.windowed = 1;
            if (ownWindow == nullptr) ownWindow = argument;
            continue;
        }
        if (const char* size = ValueOf(argument, kWindowOption)) {
            HostOptions& o = parsed.options;
            if (!ParseSize(size, EndOf(size), o.windowWidth, o.windowHeight)) {
                return Refuse(parsed, "bad value in", argument,
                              ": expected WIDTHxHEIGHT, each from 1 to 16384");
            }
            o.windowed = 1;
            o.sizeGiven = 1;
            if (ownWindow == nullptr) ownWindow = argument;
            continue;
        }
        if (std::strcmp(argument, "--root") == 0 || std::strcmp(argument, "-root") == 0) {
            parsed.options.saver = 1;
            continue;
        }
        const char* id = ValueOf(argument, kWindowIdOption);
        if (id == nullptr && (std::strcmp(argument, kWindowIdOption) == 0 ||
                              std::strcmp(argument, kDaemonWindowIdOption) == 0)) {
            if (i + 1 >= argc) {
                return Refuse(parsed, "option", argument,
                              " needs a value, as in --window-id=0x400001");
            }
            id = argv[++i];
        }
        if (id != nullptr) {
            // A named window beats --root wherever it stands: a settings dialog adds it to the
            // user's own command line for its preview.
            if (!ParseWindowId(id, parsed.options.windowId)) {
                return Refuse(parsed, "bad window id", id, kWindowIdExpected);
            }
            parsed.options.saver = 1;
            continue;
        }
        if (const char* rate = ValueOf(argument, kMaxFpsOption)) {
            if (!ParseWhole(rate, EndOf(rate), 0, kMaxFpsLimit, parsed.options.maxFps)) {
                return Refuse(parsed, "bad value in", argument,
                              ": expected a whole number from 0 to 1000");
            }
            continue;
        }
        if (std::strcmp(argument, kMaxFpsOption) == 0) {
            return Refuse(parsed, "option", argument, " needs a value, as in --max-fps=30");
        }
        if (const char* samples = ValueOf(argument, kSamplesOption)) {
            if (!ParseWhole(samples, EndOf(samples), 0, kMaxSamples, parsed.options.samples)) {
                return Refuse(parsed, "bad value in", argument,
                              ": expected a whole number from 0 to 32");
            }
            // The visual of a window another program made is that program's choice.
            if (ownWindow == nullptr) ownWindow = argument;
            continue;
        }
        if (std::strcmp(argument, kSamplesOption) == 0) {
            return Refuse(parsed, "option", argument, " needs a value, as in --samples=0");
        }
        if (argument[0] == '-') return Refuse(parsed, "unknown option", argument, "");
        return Refuse(parsed, "unexpected argument", argument, "");
    }
    if (ownWindow != nullptr && parsed.options.saver) {
        return Refuse(parsed, "option", ownWindow,
                      " is for the program's own window, not for --root or --window-id");
    }
    argv[kept] = nullptr;
    parsed.options.passedArgc = kept;
    parsed.options.passedArgv = argv;
    return parsed;
}

void QuoteArgument(const char* text, char* out, size_t size) {
    if (size == 0) return;
    const size_t room = size - 1;
    size_t whole = 0;
    for (const char* p = text; *p != 0; ++p)
        whole += ShownAs(static_cast<unsigned char>(*p)).length;
    const size_t kept = whole <= room ? room : room - std::min(room, sizeof kCut - 1);
    size_t used = 0;
    for (const char* p = text; *p != 0; ++p) {
        const Shown shown = ShownAs(static_cast<unsigned char>(*p));
        if (used + shown.length > kept) break;
        std::memcpy(out + used, shown.text, shown.length);
        used += shown.length;
    }
    if (whole > room) {
        const size_t dots = std::min(room - used, sizeof kCut - 1);
        std::memcpy(out + used, kCut, dots);
        used += dots;
    }
    out[used] = '\0';
}

const char* UsageText() {
    return kUsage;
}

const char* VersionLine() {
    return kVersionLine;
}
