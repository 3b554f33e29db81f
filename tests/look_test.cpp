// The look as options and as settings-file lines: both forms and the ranges, the lists that
// document them, the screen-saver dialog's fragment, the file's warnings and its rewrite on save;
// the display's text factor and the seed of a run beside others.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "host/glx/display_scale.h"
#include "parsed_words.h"
#include "program/options.h"
#include "program/program.h"
#include "program/settings_file.h"
#include "scene/scene_state.h"

namespace {
// The look and the host options of `words` given after argv[0]; kRun expected.
float StartOfField(const LookOptions& look, float SceneSettings::*field) {
    return StartOf(look.starts, SettingOf(field));
}
int StartOfField(const LookOptions& look, int SceneSettings::*field) {
    return StartOf(look.starts, SettingOf(field));
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The first line of `text` that holds `key`, or "".
std::string LineWith(const std::string& text, const std::string& key) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.find(key) != std::string::npos) return line;
    }
    return "";
}
}  // namespace

TEST(Look, EachOptionTakesBothFormsWithinItsRangeAndBecomesTheStart) {
    const ParsedOptions a = Parsed({"--speed=2", "--trail", "0.5", "--camera", "-1", "--fov", "178",
                                    "--draw", "wireframe", "--no-stars", "--fps", "--seed",
                                    "4294967295", "--max-fps", "30", "--text-scale=3"});
    ASSERT_EQ(a.verdict, OptionsVerdict::kRun) << a.complaint;
    EXPECT_EQ(StartOfField(a.look, &SceneSettings::MainSpeed), 2.0f);
    EXPECT_EQ(StartOfField(a.look, &SceneSettings::ArrowY), 0.5f);
    EXPECT_EQ(StartOfField(a.look, &SceneSettings::CameraZ), -1.0f);
    EXPECT_EQ(std::vector<int>({StartOfField(a.look, &SceneSettings::Fov),
                                StartOfField(a.look, &SceneSettings::PolyMode),
                                StartOfField(a.look, &SceneSettings::UniverseOn),
                                StartOfField(a.look, &SceneSettings::FpsClockOn),
                                StartOfField(a.look, &SceneSettings::Blanking)}),
              std::vector<int>({178, 1, 0, 1, 1}));
    EXPECT_EQ(a.look.seed, 4294967295);
    EXPECT_EQ(a.options.maxFps, 30);
    EXPECT_EQ(a.options.textScale, 3);
    EXPECT_EQ(a.options.passedArgc, 1) << "a value was left for GLUT";

    const std::pair<const char*, const char*> bad[] = {
        {"--speed=0", "'--speed=0': expected a number from 0.001 to 1000"},
        {"--speed=1e400", "from 0.001 to 1000"},
        {"--star-spin=nan", "from 0.001 to 1000"},
        {"--camera=-1.5", "a number from -1 to 100"},
        {"--fov=11.5", "a whole number from 10 to 178"},
        {"--draw=lines", "one of fill, wireframe, points"},
        {"--fps=1", "'--fps=1' takes no value"},
        {"--seed=4294967296", "a whole number from 0 to 4294967295"},
        {"--text-scale=9", "a whole number from 1 to 8"},
        {"--tessellation", "'--tessellation' needs a value: a whole number from 5 to 40"},
    };
    for (const auto& [argument, expected] : bad) {
        const ParsedOptions parsed = Parsed({argument});
        EXPECT_EQ(parsed.verdict, OptionsVerdict::kBad) << argument;
        EXPECT_NE(std::string(parsed.complaint).find(expected), std::string::npos)
            << parsed.complaint;
    }
    EXPECT_EQ(Parsed({"--save", "--no-config"}).verdict, OptionsVerdict::kBad);
}

// --help is made from the settings table; the README and the manual page are checked against it.
TEST(Look, HelpReadmeAndManualGiveEverySettingItsRangeAndDefault) {
    const std::string help = UsageText();
    const std::string readme = Slurp(WISPRA_SOURCE_DIR "/README.md");
    const std::string manual = Slurp(WISPRA_SOURCE_DIR "/data/wispra.6.in");
    auto roff = [](std::string text) {  // a minus sign as the manual's source writes it
        for (size_t at = 0; (at = text.find('-', at)) != std::string::npos; at += 2)
            text.replace(at, 1, "\\-");
        return text;
    };
    auto check = [&](const char* name, const std::string& detail) {
        const std::string option = std::string("--") + name;
        EXPECT_NE(help.find("  " + option), std::string::npos) << name;
        EXPECT_NE(LineWith(readme, "| `" + option).find(detail), std::string::npos) << name;
        size_t entry = std::string::npos;  // the option's own entry: ".TP", then its name
        for (const char* macro : {".B ", ".BI ", ".BR "})
            entry = std::min(entry, manual.find(".TP\n" + std::string(macro) + roff(option)));
        ASSERT_NE(entry, std::string::npos) << name;
        EXPECT_NE(manual.substr(entry, 200).find(roff(detail)), std::string::npos) << name;
    };
    char detail[64];
    for (const FloatSetting& row : FloatSettings()) {
        std::snprintf(detail, sizeof detail, "(%g to %g, default %g)", row.lowest, row.highest,
                      static_cast<double>(row.start));
        check(row.option.name, detail);
    }
    for (const IntSetting& row : IntSettings()) {
        if (row.option.form == OptionForm::kNone) continue;
        std::snprintf(detail, sizeof detail, "(%d to %d, default %d)", row.lowest, row.highest,
                      row.start);
        if (row.option.form == OptionForm::kWord)
            std::snprintf(detail, sizeof detail, "(default %s)", row.words[row.start]);
        check(row.option.name, row.option.form == OptionForm::kFlag ? "" : detail);
    }
}

// Every value the daemon's dialog can write is one the program takes, in the "--name value" form
// the dialog reads back; each control's default is the setting's start.
TEST(Look, TheDialogsControlsWriteOnlyWhatTheProgramTakes) {
    const std::string fragment = Slurp(WISPRA_SOURCE_DIR "/data/wispra.xml");
    const std::regex element("<(number|boolean|option)\\b([^>]*)>");
    const std::regex attribute("([a-z-]+)=\"([^\"]*)\"");
    const ParsedOptions plain = Parsed({"--root"});
    auto words = [](const std::string& text) {
        std::istringstream in(text);
        std::vector<std::string> split{"--root"};
        for (std::string word; in >> word;) split.push_back(word);
        return split;
    };
    int controls = 0;
    for (auto e = std::sregex_iterator(fragment.begin(), fragment.end(), element);
         e != std::sregex_iterator(); ++e, ++controls) {
        std::map<std::string, std::string> a;
        const std::string body = (*e)[2];
        for (auto m = std::sregex_iterator(body.begin(), body.end(), attribute);
             m != std::sregex_iterator(); ++m)
            a[(*m)[1]] = (*m)[2];
        if ((*e)[1] == "number") {
            ASSERT_NE(a["arg"].find(" %"), std::string::npos) << a["arg"];
            for (const char* end : {"low", "high", "default"}) {
                std::string line = a["arg"];
                line.replace(line.find('%'), 1, a[end]);
                const ParsedOptions parsed = Parsed(words(line));
                ASSERT_EQ(parsed.verdict, OptionsVerdict::kRun) << line << parsed.complaint;
                if (std::strcmp(end, "default") != 0) continue;
                EXPECT_EQ(
                    std::memcmp(&parsed.look.starts, &plain.look.starts, sizeof plain.look.starts),
                    0)
                    << line << " is not the start";
                EXPECT_EQ(parsed.options.maxFps, plain.options.maxFps) << line;
            }
        }
        // A checkbox or choice that is not the default changes the look.
        for (const char* set : {"arg-set", "arg-unset"}) {
            if (a.count(set) == 0) continue;
            const ParsedOptions parsed = Parsed(words(a[set]));
            ASSERT_EQ(parsed.verdict, OptionsVerdict::kRun) << a[set] << parsed.complaint;
            EXPECT_NE(
                std::memcmp(&parsed.look.starts, &plain.look.starts, sizeof plain.look.starts), 0)
                << a[set];
        }
    }
    EXPECT_GE(controls, 15);
}

TEST(SettingsFile, EachUsableLineAppliesAndEachOtherIsNamedByItsLine) {
    HostOptions host;
    LookOptions look;
    std::vector<std::string> warnings;
    ApplySettingsText(
        "# mine\n\nspeed = 2  # faster\r\nno-stars\nmax-fps=30\nroot\nfov = 300\n"
        "bogus\nno-stars = 1\ntrail\n--smoke-size 3",
        "f.conf", host, look, warnings);
    EXPECT_EQ(StartOfField(look, &SceneSettings::MainSpeed), 2.0f);
    EXPECT_EQ(StartOfField(look, &SceneSettings::ObjectSize), 3.0f);
    EXPECT_EQ(StartOfField(look, &SceneSettings::UniverseOn), 0);
    EXPECT_EQ(host.maxFps, 30);
    const std::string skipped = "; line skipped";
    EXPECT_EQ(warnings, std::vector<std::string>({
                            "wispra: f.conf:6: 'root' is an option of the command line, not of "
                            "the settings file" +
                                skipped,
                            "wispra: f.conf:7: bad value '300' for 'fov': expected a whole "
                            "number from 10 to 178" +
                                skipped,
                            "wispra: f.conf:8: unknown setting 'bogus'" + skipped,
                            "wispra: f.conf:9: 'no-stars' takes no value" + skipped,
                            "wispra: f.conf:10: 'trail' needs a value: a number from 0.001 to "
                            "1000" +
                                skipped,
                        }));
    EXPECT_EQ(UserSettingsPath("/x", "/h"), "/x/wispra/wispra.conf");
    EXPECT_EQ(UserSettingsPath("relative", "/h"), "/h/.config/wispra/wispra.conf");
    EXPECT_EQ(UserSettingsPath(nullptr, nullptr), "");
}

TEST(SettingsFile, SavingRewritesEachSettingsLineInPlaceAndKeepsTheRest) {
    SceneSettings current;
    const SettingStarts starts = DefaultSettingStarts();
    for (const IntSetting& row : IntSettings()) current.*row.field = StartOf(starts, row);
    for (const FloatSetting& row : FloatSettings()) current.*row.field = StartOf(starts, row);
    current.MainSpeed = 1.0f * 1.055555f;
    current.Fov = 90;
    current.FpsClockOn = 1;
    EXPECT_EQ(
        UpdatedSettingsText("# mine\nspeed = 2  # faster\nno-stars\nmax-fps = 30\nbogus", current),
        "# mine\nspeed = 1.055555  # faster\nmax-fps = 30\nbogus\nfov = 90\nfps\n");
    const std::string fresh = UpdatedSettingsText("", current);
    EXPECT_EQ(fresh.rfind("# ", 0), 0u);
    EXPECT_NE(fresh.find("\nspeed = 1.055555\nfov = 90\nfps\n"), std::string::npos) << fresh;
}

TEST(SettingsFile, OnlyASmallRegularFileIsReadAndASaveIsWholeOrNothing) {
    char folder[] = "/tmp/wispra-settings-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string dir = folder;
    std::ofstream(dir + "/big.conf") << "speed = 2\n" << std::string(70 * 1024, '#') << "\n";
    std::ofstream(dir + "/plain") << "a file where a folder should be\n";
    HostOptions host;
    LookOptions look;
    auto warnings = [&](const std::string& path, bool named) {
        ::testing::internal::CaptureStderr();
        ReadSettingsFile(path, named, host, look);
        return ::testing::internal::GetCapturedStderr();
    };
    EXPECT_EQ(warnings(dir, false), "wispra: " + dir + ": not a regular file; settings not read\n");
    EXPECT_EQ(warnings(dir + "/big.conf", false),
              "wispra: " + dir + "/big.conf: larger than 64 KiB; settings not read\n");
    EXPECT_EQ(StartOfField(look, &SceneSettings::MainSpeed), 1.0f);
    EXPECT_EQ(warnings(dir + "/none.conf", false), "");
    EXPECT_NE(warnings(dir + "/none.conf", true), "");

    SceneSettings current = settings;
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(SaveSettingsFile(dir + "/new/wispra.conf", current));
    EXPECT_FALSE(SaveSettingsFile(dir + "/plain/wispra.conf", current));  // no folder to write in
    EXPECT_FALSE(SaveSettingsFile(dir + "/new", current));                // a folder in its place
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 2) << said;
    EXPECT_EQ(said.rfind("wispra: cannot save the settings in " + dir + "/plain/wispra.conf: ", 0),
              0u)
        << said;
    EXPECT_EQ(Slurp(dir + "/new/wispra.conf").rfind("# ", 0), 0u);
    for (const auto& entry : std::filesystem::directory_iterator(dir + "/new"))
        EXPECT_EQ(entry.path().filename(), "wispra.conf") << "a temporary file was left behind";
    std::filesystem::remove_all(dir);
}

TEST(RunStart, TheTextFactorComesFromXftDpiAndEachRunBesideOthersHasItsOwnSeed) {
    EXPECT_EQ(ScaleFromResources(nullptr), 1);
    EXPECT_EQ(ScaleFromResources("Xft.antialias:\t1\nXft.dpi:\t192\n"), 2);
    EXPECT_EQ(ScaleFromResources("Xft.dpi:\t144"), 1);
    EXPECT_EQ(ScaleFromResources("Xft.dpi:\t288.0\n"), 3);
    EXPECT_EQ(ScaleFromResources("Xft.dpi:\t96000\n"), 8);
    EXPECT_EQ(ScaleFromResources("Xft.dpi:\tlarge\n"), 1);
    const uint64_t now = 1796000000000000;  // microseconds since 1970
    EXPECT_NE(SeedOfRun(now, 4000), SeedOfRun(now, 4001)) << "two monitors, one moment";
    EXPECT_NE(SeedOfRun(now, 4000), SeedOfRun(now + 1, 4000));
}
