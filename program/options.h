// The command line: the program's own options, told apart from GLUT's and checked before GLUT is
// touched, so that help, version and mistakes are answered without opening a window.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/host_options.h"

constexpr int kMaxWindowOffset = 32767;  // pixels, the largest -geometry offset (X's coordinates
                                         // are 16-bit)
constexpr int kComplaintBytes = 160;

enum class OptionsVerdict { kRun, kHelp, kVersion, kBad };

struct ParsedOptions {
    OptionsVerdict verdict = OptionsVerdict::kRun;
    HostOptions options;
    char complaint[kComplaintBytes] = "";  // kBad: one line naming the argument, no newline
};

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

// The text --help prints, and the line --version prints, both ending in a newline.
const char* UsageText();
const char* VersionLine();
