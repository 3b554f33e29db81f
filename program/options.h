// The command line: the program's own options, told apart from GLUT's and checked before GLUT is
// touched, so that help, version and mistakes are answered without opening a window. The options
// of the look (the settings, the frame rate, the samples, the text's size, the seed) may stand in
// the settings file too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host/host_options.h"
#include "scene/settings.h"

constexpr int kMaxWindowOffset = 32767;  // pixels, the largest -geometry offset (X's coordinates
                                         // are 16-bit)
constexpr int kComplaintBytes = 160;

// What the command line and the settings file give of the scene's start.
struct LookOptions {
    SettingStarts starts = DefaultSettingStarts();  // each setting's start
    int64_t seed = kSeedFromClock;                  // --seed: 0..2^32-1, or kSeedFromClock
};

// What the program itself is asked about its settings file.
struct FileOptions {
    const char* configPath = nullptr;  // --config's file (in argv); null: the user's own
    int noConfig = 0;                  // 0/1: --no-config: no file is read
    int save = 0;                      // 0/1: --save: the settings at the end go into the file
};

// An option of the look as the command line gave it, to be given again over the settings file's.
struct GivenLook {
    std::string name;   // without the dashes
    const char* value;  // in argv; null for a flag
};

enum class OptionsVerdict { kRun, kHelp, kVersion, kBad };

struct ParsedOptions {
    OptionsVerdict verdict = OptionsVerdict::kRun;
    HostOptions options;
    LookOptions look;
    FileOptions file;
    std::vector<GivenLook> given;          // the look options of the command line, in order
    char complaint[kComplaintBytes] = "";  // kBad: one line naming the argument, no newline
};

// What giving an option of the look did.
enum class LookGiven { kNotLook, kSet, kNeedsValue, kTakesNoValue, kBadValue };

// Gives the option of the look `name` (without dashes) the text `value` (null when none came), in
// `host` or `look`. Pure. On kNeedsValue and kBadValue, `expected` says what it takes.
LookGiven GiveLook(const char* name, const char* value, HostOptions& host, LookOptions& look,
                   std::string& expected);

// Whether `name` is an option of the look that takes a value.
bool LookTakesValue(const char* name);

// Whether `name` (without dashes) is an option of the command line only: the host's, GLUT's,
// the settings file's own, help and version.
bool IsCommandLineOnly(const char* name);

// Reads argv[1] to argv[argc - 1] in order; the first help, version or mistake decides. Leaves
// argv[0] and GLUT's own options, with their values and in their order, at the front of argv
// (null-terminated) for glutInit, and passes them on in the options' passedArgc and passedArgv.
// Touches nothing else.
ParsedOptions ParseOptions(int argc, char** argv);

// Copies `text` into `out` (`size` bytes, terminator included) so that a terminal shows it as one
// line of plain characters: printable ASCII stays, except that the backslash and the single quote
// become \\ and \'; a newline, a tab and a carriage return become \n, \t and \r; every other byte
// (controls, escape sequences, anything beyond ASCII) becomes \xHH. A text that does not fit is cut
// after a whole character or escape and ends in "...".
void QuoteArgument(const char* text, char* out, size_t size);

// The text --help prints, with a line for each setting from the settings table, and the line
// --version prints, both ending in a newline.
std::string UsageText();
const char* VersionLine();
