// The command line: the program's own options, their bad values, and GLUT's options passed on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/options.h"

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
        for (int i = 0; i < parsed.glutArgc; ++i) left.emplace_back(argv[static_cast<size_t>(i)]);
        EXPECT_EQ(argv[static_cast<size_t>(parsed.glutArgc)], nullptr);
        return left;
    }
};
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
