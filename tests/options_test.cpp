// The command line: the program's own options, their bad values, and GLUT's options passed on;
// the screen-saver options and the refusals of their windows; refusals that quote safely; the
// largest window that is drawn.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "host/glut/display_mode.h"
#include "host/glx/visual_features.h"
#include "host/window_limit.h"
#include "host/x11_saver/window_id.h"
#include "program/options.h"

namespace {
// An argument vector as main receives it: argv[0], the arguments, a null pointer.
struct CommandLine {
    std::vector<std::string> words;
    std::vector<char*> argv;
    explicit CommandLine(std::vector<std::string> arguments) : words(std::move(arguments)) {
        words.insert(words.begin(), "wispra");
        for (std::string& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
    }
    ParsedOptions Parse() { return ParseOptions(static_cast<int>(words.size()), argv.data()); }
    // What glutInit would be handed.
    std::vector<std::string> ForGlut(const ParsedOptions& parsed) const {
        std::vector<std::string> left;
        for (int i = 0; i < parsed.options.passedArgc; ++i)
            left.emplace_back(argv[static_cast<size_t>(i)]);
        EXPECT_EQ(argv[static_cast<size_t>(parsed.options.passedArgc)], nullptr);
        return left;
    }
};

// The command line is refused in one line that begins "wispra: ", holds `expected` and points
// at --help.
void ExpectRefused(const std::vector<std::string>& arguments, const std::string& expected) {
    CommandLine line(arguments);
    const ParsedOptions parsed = line.Parse();
    EXPECT_EQ(parsed.verdict, OptionsVerdict::kBad) << arguments[0];
    const std::string said = parsed.complaint;
    EXPECT_NE(said.find(expected), std::string::npos) << said;
    EXPECT_EQ(said.rfind("wispra: ", 0), 0u) << said;
    EXPECT_NE(said.find("wispra --help"), std::string::npos) << said;
}
}  // namespace

TEST(Options, NoneMeansFullScreenAtSixtyFramesAndEverythingForGlut) {
    CommandLine line({});
    const ParsedOptions parsed = line.Parse();
    EXPECT_EQ(parsed.verdict, OptionsVerdict::kRun);
    const HostOptions& o = parsed.options;
    EXPECT_EQ(std::vector<int>({o.windowed, o.windowWidth, o.windowHeight, o.sizeGiven,
                                o.geometryGiven, o.startIconic, o.maxFps}),
              std::vector<int>({0, 640, 480, 0, 0, 0, 60}));
    EXPECT_EQ(line.ForGlut(parsed), std::vector<std::string>({"wispra"}));
}

TEST(Options, WindowAndFrameCapTakeTheirValues) {
    struct Case {
        std::vector<std::string> arguments;
        std::vector<int> expected;  // windowed, width, height, sizeGiven, maxFps
    };
    const Case cases[] = {
        {{"--window"}, {1, 640, 480, 0, 60}},
        {{"--window=512x512"}, {1, 512, 512, 1, 60}},
        {{"--window=1x16384"}, {1, 1, 16384, 1, 60}},
        {{"--window=0800x0600"}, {1, 800, 600, 1, 60}},
        {{"--window=64X48"}, {1, 64, 48, 1, 60}},
        {{"--max-fps=0"}, {0, 640, 480, 0, 0}},
        {{"--max-fps=1000", "--window=320x200"}, {1, 320, 200, 1, 1000}},
        {{"--max-fps=30", "--max-fps=24"}, {0, 640, 480, 0, 24}},  // the last one counts
    };
    for (const Case& c : cases) {
        CommandLine line(c.arguments);
        const ParsedOptions parsed = line.Parse();
        ASSERT_EQ(parsed.verdict, OptionsVerdict::kRun) << c.arguments[0] << parsed.complaint;
        const HostOptions& o = parsed.options;
        EXPECT_EQ(
            std::vector<int>({o.windowed, o.windowWidth, o.windowHeight, o.sizeGiven, o.maxFps}),
            c.expected)
            << c.arguments[0];
        EXPECT_EQ(line.ForGlut(parsed), std::vector<std::string>({"wispra"}));
    }
}

TEST(Options, HelpAndVersionWinWhereTheyStand) {
    const std::pair<std::vector<std::string>, OptionsVerdict> cases[] = {
        {{"--help"}, OptionsVerdict::kHelp},
        {{"-h"}, OptionsVerdict::kHelp},
        {{"--window", "--version", "--bogus"}, OptionsVerdict::kVersion},
        {{"--bogus", "--help"}, OptionsVerdict::kBad},  // the first word that decides, decides
    };
    for (const auto& [arguments, verdict] : cases) {
        CommandLine line(arguments);
        EXPECT_EQ(line.Parse().verdict, verdict) << arguments[0];
    }
    EXPECT_STREQ(VersionLine(), "wispra " WISPRA_VERSION "\n");
    const std::string usage = UsageText();
    for (const char* word : {"--window[=WxH]", "--max-fps=N", "--help", "--version", "-geometry"})
        EXPECT_NE(usage.find(word), std::string::npos) << word;
}

TEST(Options, EveryBadValueOrUnknownWordIsNamedWithAPointerToHelp) {
    const char* bad[] = {
        "--window=0x-5",
        "--window=abc",
        "--window=",
        "--window=640",
        "--window=640x",
        "--window=x480",
        "--window=0x480",
        "--window=640x0",
        "--window=16385x10",
        "--window=10x16385",
        "--window=+64x64",
        "--window=64x64x2",
        "--window= 64x64",
        "--window=64x 64",
        "--window=99999999999999999999x1",
        "--max-fps=-1",
        "--max-fps=",
        "--max-fps=1001",
        "--max-fps=2.5",
        "--max-fps=99999999999999999999",
        "--max-fps",
        "--bogus",
        "-x",
        "--",
        "-",
        "--windowed",
        "--help=1",
        "--version=2",
        "-display=:0",
        "-Geometry",
        "stray",
    };
    for (const char* argument : bad) {
        CommandLine line({"--window", argument});
        const ParsedOptions parsed = line.Parse();
        EXPECT_EQ(parsed.verdict, OptionsVerdict::kBad) << argument;
        const std::string said = parsed.complaint;
        EXPECT_EQ(said.rfind("wispra: ", 0), 0u) << said;
        EXPECT_NE(said.find(std::string("'") + argument + "'"), std::string::npos) << said;
        EXPECT_NE(said.find("wispra --help"), std::string::npos) << said;
        EXPECT_EQ(said.find('\n'), std::string::npos) << said;
    }
}

TEST(Options, GlutOptionsAndTheirValuesPassOnInOrder) {
    CommandLine line({"-display", ":7", "--window=800x600", "-geometry", "300x200+10+20", "-iconic",
                      "-sync", "--max-fps=30", "-direct", "-indirect", "-gldebug"});
    const ParsedOptions parsed = line.Parse();
    ASSERT_EQ(parsed.verdict, OptionsVerdict::kRun) << parsed.complaint;
    EXPECT_EQ(line.ForGlut(parsed),
              std::vector<std::string>({"wispra", "-display", ":7", "-geometry", "300x200+10+20",
                                        "-iconic", "-sync", "-direct", "-indirect", "-gldebug"}));
    const HostOptions& o = parsed.options;
    EXPECT_EQ(std::vector<int>({o.windowed, o.windowWidth, o.windowHeight, o.sizeGiven,
                                o.geometryGiven, o.startIconic, o.maxFps}),
              std::vector<int>({1, 800, 600, 1, 1, 1, 30}));

    // A value that looks like an option is still the value; a missing one is a mistake.
    CommandLine odd({"-display", "--window"});
    EXPECT_EQ(odd.Parse().options.windowed, 0);
    for (const char* last : {"-display", "-geometry"}) {
        CommandLine missing({last});
        const ParsedOptions refused = missing.Parse();
        EXPECT_EQ(refused.verdict, OptionsVerdict::kBad) << last;
        EXPECT_NE(std::string(refused.complaint).find(last), std::string::npos);
    }
}

TEST(Options, RootAndWindowIdDrawIntoAWindowAnotherProgramMade) {
    struct Case {
        std::vector<std::string> arguments;
        uint32_t windowId;  // 0: XSCREENSAVER_WINDOW's, else the root window
    };
    const Case cases[] = {
        {{"--root"}, 0},
        {{"-root"}, 0},  // as screen-saver daemons write it
        {{"--window-id=0x400001"}, 0x400001},
        {{"--window-id", "0X1f"}, 0x1f},
        {{"-window-id", "4194305"}, 4194305},
        {{"--window-id=007"}, 7},  // decimal, not octal
        {{"--window-id=4294967295"}, 0xFFFFFFFF},
        {{"--window-id=0xffffffff"}, 0xFFFFFFFF},
        // A named window beats --root wherever it stands; of two, the last counts.
        {{"--root", "--window-id=12"}, 12},
        {{"--window-id=12", "-root"}, 12},
        {{"--window-id=12", "--window-id", "13"}, 13},
        {{"--max-fps=15", "-window-id", "0x5"}, 5},
    };
    for (const Case& c : cases) {
        CommandLine line(c.arguments);
        const ParsedOptions parsed = line.Parse();
        ASSERT_EQ(parsed.verdict, OptionsVerdict::kRun) << c.arguments[0] << parsed.complaint;
        EXPECT_EQ(parsed.options.saver, 1) << c.arguments[0];
        EXPECT_EQ(parsed.options.windowId, c.windowId) << c.arguments[0];
        EXPECT_EQ(line.ForGlut(parsed), std::vector<std::string>({"wispra"}));
    }

    // GLUT's -display names the display the saver host connects to.
    CommandLine displayed({"-display", ":3", "--root"});
    const ParsedOptions parsed = displayed.Parse();
    ASSERT_EQ(parsed.verdict, OptionsVerdict::kRun) << parsed.complaint;
    EXPECT_STREQ(parsed.options.displayName, ":3");
    CommandLine plain({});
    EXPECT_EQ(plain.Parse().options.displayName, nullptr);
    EXPECT_EQ(plain.Parse().options.saver, 0);
}

TEST(Options, WindowIdsThatAreNotNumbersAndOwnWindowOptionsAreRefused) {
    // Each bad id is quoted in the complaint as it stands.
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--window-id="}, "''"},
        {{"--window-id=0"}, "'0'"},  // None, never a window
        {{"--window-id=0x"}, "'0x'"},
        {{"--window-id=0x0"}, "'0x0'"},
        {{"--window-id=-1"}, "'-1'"},
        {{"--window-id=+5"}, "'+5'"},
        {{"--window-id= 5"}, "' 5'"},
        {{"--window-id=12ab"}, "'12ab'"},
        {{"--window-id=0x1g"}, "'0x1g'"},
        {{"--window-id=x10"}, "'x10'"},
        {{"--window-id=4294967296"}, "'4294967296'"},
        {{"--window-id=0x100000000"}, "'0x100000000'"},
        {{"--window-id=99999999999999999999999"}, "'99999999999999999999999'"},
        {{"-window-id", "root"}, "'root'"},
        {{"-window-id"}, "'-window-id' needs a value"},
        {{"--root", "--window-id"}, "'--window-id' needs a value"},
        {{"--root=1"}, "unknown option '--root=1'"},
        {{"-window-id=5"}, "unknown option '-window-id=5'"},
        // Options about the window the program makes itself.
        {{"--root", "--window"}, "'--window' is for the program's own window"},
        {{"--window=320x200", "--window-id=5"}, "'--window=320x200' is for"},
        {{"-geometry", "10x10+0+0", "-root"}, "'-geometry' is for"},
        {{"--window-id=5", "-iconic"}, "'-iconic' is for"},
    };
    for (const auto& [arguments, expected] : cases) ExpectRefused(arguments, expected);
}

TEST(SaverRefusal, SaysWhatTheWindowsVisualLacks) {
    // Xvfb offers no visual without RGBA, so the wording of that refusal is checked here.
    EXPECT_EQ(MissingVisualFeatures(1, 1, 1), nullptr);
    EXPECT_STREQ(MissingVisualFeatures(1, 0, 1), "RGBA");
    EXPECT_STREQ(MissingVisualFeatures(1, 1, 0), "double buffering");
    EXPECT_STREQ(MissingVisualFeatures(1, 0, 0), "RGBA and double buffering");
    EXPECT_STREQ(MissingVisualFeatures(0, 1, 1), "OpenGL");
}

TEST(Options, GeometryIsCheckedLikeWindowAndPassedOn) {
    // {value, gives a size}
    const std::pair<const char*, int> good[] = {
        {"300x200", 1},     {"300x200+10+20", 1}, {"300X200-10-20", 1}, {"1x1+0-0", 1},
        {"16384x16384", 1}, {"+10+20", 0},        {"-0+32767", 0},
    };
    for (const auto& [value, sized] : good) {
        CommandLine line({"-geometry", value});
        const ParsedOptions parsed = line.Parse();
        ASSERT_EQ(parsed.verdict, OptionsVerdict::kRun) << value << parsed.complaint;
        EXPECT_EQ(parsed.options.geometryGiven, sized) << value;
        EXPECT_EQ(line.ForGlut(parsed), std::vector<std::string>({"wispra", "-geometry", value}));
    }
    const char* bad[] = {"0x0",      "-1x-1",         "garbage",      "",         "16385x10",
                         "10x16385", "300x200+10",    "300x200+10+",  "+10",      "300x200+-5+5",
                         "+32768+0", "300x200+1+2+3", "300x200 +1+2", "x200+1+2", "300x+1+2"};
    for (const char* value : bad) {
        CommandLine line({"-geometry", value});
        const ParsedOptions parsed = line.Parse();
        EXPECT_EQ(parsed.verdict, OptionsVerdict::kBad) << value;
        EXPECT_EQ(std::string(parsed.complaint),
                  std::string("wispra: bad -geometry value '") + value +
                      "': expected WIDTHxHEIGHT, each from 1 to 16384, and/or +X+Y (see wispra "
                      "--help)");
    }
}

TEST(Options, RefusalsQuoteTheirArgumentAsOneLineOfPlainCharacters) {
    const std::pair<std::string, std::string> cases[] = {
        {"--bogus", "--bogus"},
        {"two\nlines", "two\\nlines"},
        {"\x1b[2J\x1b]0;title\a", "\\x1b[2J\\x1b]0;title\\x07"},
        {"tab\there\r", "tab\\there\\r"},
        {"it's a \\", "it\\'s a \\\\"},
        {"caf\xc3\xa9 \x7f\x9b", "caf\\xc3\\xa9 \\x7f\\x9b"},
    };
    char out[48];
    for (const auto& [argument, shown] : cases) {
        QuoteArgument(argument.c_str(), out, sizeof out);
        EXPECT_EQ(std::string(out), shown);
        CommandLine line({argument});
        EXPECT_NE(std::string(line.Parse().complaint).find("'" + shown + "'"), std::string::npos)
            << shown;
    }
    // Too long: cut after a whole character or escape, and marked.
    const std::pair<const char*, const char*> cut[] = {
        {"abcdefghij", "abcd..."},    // room for 7 characters
        {"abcdefg", "abcdefg"},       // exactly fits
        {"abcde\n\nxyz", "abcd..."},  // an escape that would straddle the end is left off
        {"a\x1b\x1b", "a..."},
    };
    for (const auto& [argument, shown] : cut) {
        QuoteArgument(argument, out, 8);
        EXPECT_STREQ(out, shown) << argument;
    }
    QuoteArgument("abc", out, 3);
    EXPECT_STREQ(out, "..");
    QuoteArgument("abc", out, 1);
    EXPECT_STREQ(out, "");
    // However long and strange the argument, the refusal is one line of printable characters.
    std::string hostile;
    for (int i = 0; i < 300; ++i) hostile += static_cast<char>(i % 255 + 1);
    CommandLine line({"--window=" + hostile});
    const std::string said = line.Parse().complaint;
    EXPECT_TRUE(std::all_of(said.begin(), said.end(), [](char c) { return c >= ' ' && c <= '~'; }))
        << said;
    EXPECT_NE(said.find("...': expected"), std::string::npos) << said;
}

TEST(WindowLimit, DrawnUpToWhatTheSoftwareRendererHolds) {
    // Each side at most 16384, and the sides rounded up to 64-pixel tiles at most 2^31 bytes of
    // 4-byte samples: 2^27 pixels at the default 4 samples per pixel.
    const std::pair<int, int> drawn[] = {{1, 1},        {640, 480},     {16384, 8192},
                                         {8192, 16384}, {11584, 11584}, {16384, 1}};
    const std::pair<int, int> notDrawn[] = {
        {16385, 1}, {1, 16385}, {16384, 8193}, {11585, 11585}, {32767, 32767}};
    for (const auto& [width, height] : drawn)
        EXPECT_TRUE(WindowDrawable(width, height, 4)) << width;
    for (const auto& [width, height] : notDrawn)
        EXPECT_FALSE(WindowDrawable(width, height, 4)) << width << " x " << height;
    // More samples leave room for fewer pixels; fewer leave no room for more, as one frame's
    // binning holds no more (a visual without multisampling holds one sample a pixel).
    EXPECT_TRUE(WindowDrawable(16384, 8192, 0));
    EXPECT_FALSE(WindowDrawable(16384, 16384, 0));
    EXPECT_FALSE(WindowDrawable(11585, 11585, 1));
    EXPECT_FALSE(WindowDrawable(16385, 64, 0));
    EXPECT_FALSE(WindowDrawable(11584, 11584, 8));
    EXPECT_TRUE(WindowDrawable(8192, 8192, 8));
    EXPECT_FALSE(WindowDrawable(8192, 8256, 8));
}

TEST(Options, SamplesTakeAWholeNumberUpToThirtyTwoForTheProgramsOwnWindow) {
    const std::pair<std::vector<std::string>, int> good[] = {
        {{}, kSamplesUnset},
        {{"--samples=0"}, 0},
        {{"--samples=4", "--window"}, 4},
        {{"--samples=32"}, 32},
        {{"--samples=8", "--samples=02"}, 2},  // the last one counts
        {{"--samples", "4"}, 4},               // as screen-saver dialogs write it
    };
    for (const auto& [arguments, samples] : good) {
        CommandLine line(arguments);
        const ParsedOptions parsed = line.Parse();
        ASSERT_EQ(parsed.verdict, OptionsVerdict::kRun) << parsed.complaint;
        EXPECT_EQ(parsed.options.samples, samples);
        EXPECT_EQ(line.ForGlut(parsed), std::vector<std::string>({"wispra"}));
    }
    const std::pair<std::vector<std::string>, std::string> bad[] = {
        {{"--samples=33"}, "'--samples=33': expected a whole number from 0 to 32"},
        {{"--samples=-1"}, "'--samples=-1': expected"},
        {{"--samples="}, "'--samples=': expected"},
        {{"--samples=4x"}, "'--samples=4x': expected"},
        {{"--samples=99999999999999999999"}, "expected a whole number"},
        {{"--samples"}, "'--samples' needs a value: a whole number from 0 to 32"},
        // A window another program made comes with that program's visual.
        {{"--root", "--samples=0"}, "'--samples=0' is for the program's own window"},
        {{"--samples=2", "--window-id=5"}, "'--samples=2' is for"},
    };
    for (const auto& [arguments, expected] : bad) ExpectRefused(arguments, expected);
    EXPECT_NE(std::string(UsageText()).find("--samples=N"), std::string::npos);
}

TEST(DisplayMode, TheNearestOfferedSampleCountIsAskedFor) {
    const int offered[] = {2, 4, 8};
    // {asked, chosen}
    const std::pair<int, int> cases[] = {
        {kSamplesUnset, kSamplesUnset},  // not asked: GLUT's own choice, untouched
        {0, 0},
        {1, 0},  // 1 sample per pixel is what no multisampling gives
        {2, 2},
        {4, 4},
        {8, 8},
        {3, 4},  // equally near: the larger
        {5, 4},
        {6, 8},
        {32, 8},
    };
    for (const auto& [asked, chosen] : cases)
        EXPECT_EQ(NearestSampleCount(asked, offered, 3), chosen) << asked;
    const int fourOnly[] = {4};
    EXPECT_EQ(NearestSampleCount(2, fourOnly, 1), 0);  // 1 sample per pixel is nearer than 4
    EXPECT_EQ(NearestSampleCount(3, fourOnly, 1), 4);
    EXPECT_EQ(NearestSampleCount(16, fourOnly, 1), 4);
    EXPECT_EQ(NearestSampleCount(4, nullptr, 0), 0);  // a display without multisampled visuals
    EXPECT_EQ(DisplayModeFor(kSamplesUnset), kDisplayMode);
    EXPECT_EQ(DisplayModeFor(4), kDisplayMode);
    EXPECT_EQ(DisplayModeFor(0) | GLUT_MULTISAMPLE, kDisplayMode);
    EXPECT_EQ(DisplayModeFor(0) & GLUT_MULTISAMPLE, 0u);
}
