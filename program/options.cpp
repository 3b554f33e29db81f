// Command-line parsing: pure functions over the argument strings.
#include "program/options.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "host/x11_saver/window_id.h"
#include "scene/settings.h"

#ifndef WISPRA_VERSION
#error "WISPRA_VERSION must be defined by the build"
#endif

namespace {
constexpr char kVersionLine[] = "wispra " WISPRA_VERSION "\n";

constexpr char kUsageHead[] =
    "Usage: wispra [OPTION]... [GLUT OPTION]...\n"
    "Smoke rising from a swaying cigarette in front of a turning universe of stars.\n"
    "\n"
    "  --window[=WxH]      start in a window of W x H pixels (640x480 when no size is\n"
    "                      given) instead of full screen; the f key still toggles\n"
    "  --max-fps=N         draw at most N frames a second (default 60; 0 for no limit)\n"
    "  --samples=N         smooth edges with N samples per pixel (default 4; 0 for\n"
    "                      none, which is much faster without a graphics card)\n"
    "  --text-scale=N      draw text N pixels per font pixel (1 to 8; default: the\n"
    "                      display's Xft.dpi in whole multiples of 96, or 1)\n"
    "  --root              as a screen saver: draw into the window XSCREENSAVER_WINDOW\n"
    "                      names, or else into the root window (also -root)\n"
    "  --window-id=ID      as a screen saver's preview: draw into the window ID, in\n"
    "                      decimal or 0x hexadecimal (also -window-id ID)\n"
    "  --x11               the window through X and GLUT, also in a Wayland session\n"
    "  --wayland           the window on Wayland (the default in a Wayland session)\n"
    "  --wallpaper         on Wayland, a live wallpaper behind the windows of every\n"
    "                      output, where the compositor offers wlr-layer-shell\n"
    "  --output=NAME       the wallpaper on the output NAME alone\n"
    "  --layer=LAYER       the wallpaper's layer: background (default) or bottom\n"
    "  -h, --help          print this help and exit\n"
    "      --version       print the version and exit\n"
    "\n"
    "The look, where it starts and where the r key returns it:\n";

constexpr char kUsageTail[] =
    "  --seed=N            the motion's first seed, to replay it (0 to 4294967295;\n"
    "                      default: the clock, or in a screen saver the time of day)\n"
    "\n"
    "These, and --max-fps, --samples and --text-scale, may also stand in the settings\n"
    "file, one a line without the dashes (speed = 2, no-stars); the command line wins.\n"
    "  --config=FILE       read FILE instead of $XDG_CONFIG_HOME/wispra/wispra.conf\n"
    "                      (~/.config/wispra/wispra.conf without the variable)\n"
    "  --no-config         read no settings file\n"
    "  --save              at the end, write the settings as they are into the file\n"
    "Each option with a value also takes it as the next argument: --speed 2.\n"
    "\n"
    "GLUT's own options are passed on to it: -display DISPLAY, -geometry WxH+X+Y,\n"
    "-iconic, -sync, -direct, -indirect, -gldebug. With --root or --window-id no\n"
    "GLUT is used: -display still names the display, the others have no effect, and\n"
    "--window, --samples, -geometry and -iconic are refused.\n"
    "\n"
    "Press ? in the window for the keys; Escape fades out and quits.\n"
    "See wispra(6) for where the program looks for its images.\n";

constexpr size_t kHelpColumn = 22;  // where an option's description starts
constexpr size_t kHelpWidth = 80;

// The whole-number options of the look that are not settings. --seed's value is the scene's.
struct WholeOption {
    const char* name;  // without dashes
    long long lowest, highest;
    int HostOptions::*field;  // null: --seed
};
constexpr WholeOption kWholeOptions[] = {
    {"max-fps", 0, kMaxFpsLimit, &HostOptions::maxFps},
    {"samples", 0, kMaxSamples, &HostOptions::samples},
    {"text-scale", 1, kMaxTextScale, &HostOptions::textScale},
    {"seed", 0, 0xFFFFFFFF, nullptr},
};

// Options that belong to the command line alone, without their dashes.
constexpr const char* kCommandLineOnly[] = {
    "window",  "window-id", "root",     "config", "no-config", "save",   "help",     "h",
    "version", "display",   "geometry", "iconic", "sync",      "direct", "indirect", "gldebug",
};

const WholeOption* FindWholeOption(const char* name) {
    for (const WholeOption& option : kWholeOptions) {
        if (std::strcmp(option.name, name) == 0) return &option;
    }
    return nullptr;
}

// One entry of the options' list: the option, then its description from the help column,
// wrapped between words; `detail` (the range and default) is never split.
void AddHelpEntry(std::string& text, const std::string& option, const std::string& description,
                  const std::string& detail) {
    std::vector<std::string> words;
    for (size_t start = 0; start < description.size();) {
        size_t end = description.find(' ', start);
        if (end == std::string::npos) end = description.size();
        words.push_back(description.substr(start, end - start));
        start = end + 1;
    }
    if (!detail.empty()) words.push_back(detail);
    const std::string indent(kHelpColumn, ' ');
    std::string line = "  " + option;
    if (line.size() + 1 > kHelpColumn) {
        text += line + "\n";
        line = indent;
    } else {
        line.resize(kHelpColumn, ' ');
    }
    bool first = true;
    for (const std::string& word : words) {
        if (!first && line.size() + 1 + word.size() > kHelpWidth) {
            text += line + "\n";
            line = indent;
            first = true;
        }
        line += (first ? "" : " ") + word;
        first = false;
    }
    text += line + "\n";
}

template <typename Row>
std::string RangeAndStart(const Row& row) {
    char range[64];
    std::snprintf(range, sizeof range, "(%g to %g, default ", static_cast<double>(row.lowest),
                  static_cast<double>(row.highest));
    return range + SettingValueText(row, row.start) + ")";
}

constexpr char kWindowOption[] = "--window";
constexpr char kWindowIdOption[] = "--window-id";
constexpr char kDaemonWindowIdOption[] = "-window-id";  // the form screen-saver daemons pass
constexpr char kGeometryOption[] = "-geometry";
constexpr char kConfigOption[] = "--config";
constexpr char kOutputOption[] = "--output";
constexpr char kLayerOption[] = "--layer";
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
bool ParseWholeWide(const char* text, const char* end, long long low, long long high,
                    long long& value) {
    if (text == end) return false;
    long long sum = 0;
    for (const char* p = text; p != end; ++p) {
        if (*p < '0' || *p > '9') return false;
        sum = sum * 10 + (*p - '0');
        if (sum > high) return false;  // checked at every digit, so it cannot overflow
    }
    if (sum < low) return false;
    value = sum;
    return true;
}

bool ParseWhole(const char* text, const char* end, int low, int high, int& value) {
    long long wide = 0;
    if (!ParseWholeWide(text, end, low, high, wide)) return false;
    value = static_cast<int>(wide);
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

// The value of the option `name` in argv[i]: after "name=", or, where argv[i] is `name` alone,
// the next argument (`i` moves on to it). Null when argv[i] is not that option, or when it came
// without a value, which `missing` then says.
const char* OptionValue(const char* name, int argc, char** argv, int& i, bool& missing) {
    missing = false;
    if (const char* value = ValueOf(argv[i], name)) {
        missing = *value == '\0';
        return missing ? nullptr : value;
    }
    if (std::strcmp(argv[i], name) != 0) return nullptr;
    missing = i + 1 >= argc;
    return missing ? nullptr : argv[++i];
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
    const char* windowSize = nullptr;     // the first of them about its size or its place
    const char* wallpaperOnly = nullptr;  // the first argument that only a wallpaper takes
    const char* forced = nullptr;         // the first of --x11 and --wayland
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
            if ((geometry || iconic) && windowSize == nullptr) windowSize = argument;
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
            if (windowSize == nullptr) windowSize = argument;
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
            if (windowSize == nullptr) windowSize = argument;
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
        if (std::strcmp(argument, "--x11") == 0 || std::strcmp(argument, "--wayland") == 0) {
            const WindowSystemChoice choice =
                argument[2] == 'x' ? WindowSystemChoice::kX11 : WindowSystemChoice::kWayland;
            if (forced != nullptr && parsed.options.windowSystem != choice)
                return Refuse(parsed, "option", argument,
                              (std::string(" does not go with ") + forced).c_str());
            parsed.options.windowSystem = choice;
            forced = argument;
            continue;
        }
        if (std::strcmp(argument, "--wallpaper") == 0) {
            parsed.options.wallpaper = 1;
            continue;
        }
        bool missing = false;
        if (const char* output = OptionValue(kOutputOption, argc, argv, i, missing)) {
            parsed.options.outputName = output;
            if (wallpaperOnly == nullptr) wallpaperOnly = argument;
            continue;
        }
        if (missing) return Refuse(parsed, "option", argument, " needs an output's name");
        const char* layer = OptionValue(kLayerOption, argc, argv, i, missing);
        if (layer != nullptr || missing) {
            if (layer != nullptr && std::strcmp(layer, "background") == 0) {
                parsed.options.wallpaperLayer = WallpaperLayer::kBackground;
            } else if (layer != nullptr && std::strcmp(layer, "bottom") == 0) {
                parsed.options.wallpaperLayer = WallpaperLayer::kBottom;
            } else {
                return Refuse(parsed, "bad value in", argument, ": expected background or bottom");
            }
            if (wallpaperOnly == nullptr) wallpaperOnly = argument;
            continue;
        }
        if (std::strcmp(argument, "--no-config") == 0) {
            parsed.file.noConfig = 1;
            continue;
        }
        if (std::strcmp(argument, "--save") == 0) {
            parsed.file.save = 1;
            continue;
        }
        if (const char* config = OptionValue(kConfigOption, argc, argv, i, missing)) {
            parsed.file.configPath = config;
            continue;
        }
        if (missing) return Refuse(parsed, "option", argument, " needs a file");
        if (argument[0] == '-' && argument[1] == '-' && argument[2] != '\0') {
            // --name=VALUE, or --name VALUE for an option that takes one.
            const char* equals = std::strchr(argument, '=');
            const std::string name =
                equals != nullptr ? std::string(argument + 2, equals) : std::string(argument + 2);
            const char* value = equals != nullptr ? equals + 1 : nullptr;
            std::string shown = argument;
            if (value == nullptr && LookTakesValue(name.c_str()) && i + 1 < argc) {
                value = argv[++i];
                shown = shown + " " + value;
            }
            std::string expected;
            switch (GiveLook(name.c_str(), value, parsed.options, parsed.look, expected)) {
                case LookGiven::kSet:
                    parsed.given.push_back({name, value});
                    // The visual of a window another program made is that program's choice.
                    if (name == "samples" && ownWindow == nullptr) ownWindow = argument;
                    continue;
                case LookGiven::kNeedsValue:
                    return Refuse(parsed, "option", argument,
                                  (" needs a value: " + expected).c_str());
                case LookGiven::kTakesNoValue:
                    return Refuse(parsed, "option", argument, " takes no value");
                case LookGiven::kBadValue:
                    return Refuse(parsed, "bad value in", shown.c_str(),
                                  (": expected " + expected).c_str());
                case LookGiven::kNotLook:
                    break;
            }
        }
        if (argument[0] == '-') return Refuse(parsed, "unknown option", argument, "");
        return Refuse(parsed, "unexpected argument", argument, "");
    }
    if (parsed.file.save && parsed.file.noConfig)
        return Refuse(parsed, "option", "--save",
                      " needs a settings file, which --no-config drops");
    const HostOptions& o = parsed.options;
    if (wallpaperOnly != nullptr && !o.wallpaper)
        return Refuse(parsed, "option", wallpaperOnly, " is for --wallpaper");
    if (o.wallpaper &&
        (o.saver || windowSize != nullptr || o.windowSystem == WindowSystemChoice::kX11)) {
        const char* other = o.saver ? "--root" : windowSize != nullptr ? windowSize : forced;
        return Refuse(parsed, "option", other, " does not go with --wallpaper");
    }
    if (o.saver && o.windowSystem == WindowSystemChoice::kWayland)
        return Refuse(parsed, "option", forced, " does not go with --root or --window-id");
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

LookGiven GiveLook(const char* name, const char* value, HostOptions& host, LookOptions& look,
                   std::string& expected) {
    switch (GiveSetting(name, value, look.starts, expected)) {
        case SettingGiven::kSet:
            return LookGiven::kSet;
        case SettingGiven::kNeedsValue:
            return LookGiven::kNeedsValue;
        case SettingGiven::kTakesNoValue:
            return LookGiven::kTakesNoValue;
        case SettingGiven::kBadValue:
            return LookGiven::kBadValue;
        case SettingGiven::kNotASetting:
            break;
    }
    const WholeOption* option = FindWholeOption(name);
    if (option == nullptr) return LookGiven::kNotLook;
    expected = "a whole number from " + std::to_string(option->lowest) + " to " +
               std::to_string(option->highest);
    if (value == nullptr) return LookGiven::kNeedsValue;
    long long number = 0;
    if (!ParseWholeWide(value, EndOf(value), option->lowest, option->highest, number))
        return LookGiven::kBadValue;
    if (option->field != nullptr) {
        host.*option->field = static_cast<int>(number);
    } else {
        look.seed = number;
    }
    return LookGiven::kSet;
}

bool LookTakesValue(const char* name) {
    return SettingTakesValue(name) || FindWholeOption(name) != nullptr;
}

bool IsCommandLineOnly(const char* name) {
    for (const char* option : kCommandLineOnly) {
        if (std::strcmp(option, name) == 0) return true;
    }
    return false;
}

std::string UsageText() {
    std::string text = kUsageHead;
    for (const FloatSetting& row : FloatSettings())
        AddHelpEntry(text, std::string("--") + row.option.name + "=F", row.option.help,
                     RangeAndStart(row));
    for (const IntSetting& row : IntSettings()) {
        const SettingOption& option = row.option;
        switch (option.form) {
            case OptionForm::kValue:
                AddHelpEntry(text, std::string("--") + option.name + "=N", option.help,
                             RangeAndStart(row));
                break;
            case OptionForm::kWord: {
                std::string words;
                for (int i = 0; i <= row.highest - row.lowest; ++i)
                    words += std::string(i == 0 ? "" : "|") + row.words[i];
                AddHelpEntry(text, std::string("--") + option.name + "=" + words, option.help,
                             "(default " + SettingValueText(row, row.start) + ")");
                break;
            }
            case OptionForm::kFlag:
                AddHelpEntry(text, std::string("--") + option.name, option.help, "");
                break;
            case OptionForm::kNone:
                break;
        }
    }
    return text + kUsageTail;
}

const char* VersionLine() {
    return kVersionLine;
}
