// The choice of host from the options and the session, the options of the Wayland hosts, and the
// wait of the event loop that the compositor's frame callbacks pace.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/wayland/frame_callbacks.h"
#include "parsed_words.h"
#include "program/hosts.h"
#include "program/options.h"

namespace {
std::string HostFor(std::vector<std::string> words, Session session) {
    const ParsedOptions parsed = Parsed(std::move(words));
    EXPECT_EQ(parsed.verdict, OptionsVerdict::kRun) << parsed.complaint;
    return ChooseHost(parsed.options, session).name;
}
}  // namespace

TEST(HostChoice, TheSessionChoosesUnlessAnOptionDoes) {
    const Session x11{nullptr, "x11"};
    const Session wayland{"wayland-0", nullptr};
    const Session waylandType{nullptr, "wayland"};
    EXPECT_EQ(HostFor({}, x11), "glut");
    EXPECT_EQ(HostFor({}, {"", nullptr}), "glut");
    EXPECT_EQ(HostFor({}, wayland), "wayland");
    EXPECT_EQ(HostFor({}, waylandType), "wayland");
    EXPECT_EQ(HostFor({"--x11"}, wayland), "glut");
    EXPECT_EQ(HostFor({"--wayland"}, x11), "wayland");
    EXPECT_EQ(HostFor({"--root"}, wayland), "x11-saver");
    EXPECT_EQ(HostFor({"--wallpaper", "--output", "DP-1", "--layer=bottom"}, wayland),
              "wayland-wallpaper");
    for (const std::vector<std::string>& refused : {std::vector<std::string>{"--x11", "--wayland"},
                                                    {"--wallpaper", "--window"},
                                                    {"--wallpaper", "--root"},
                                                    {"--output=DP-1"},
                                                    {"--wallpaper", "--layer=top"},
                                                    {"--root", "--wayland"}}) {
        EXPECT_EQ(Parsed(refused).verdict, OptionsVerdict::kBad) << refused.back();
    }
}

TEST(FrameCallbacks, AFrameOnlyWhenTheCompositorAsksAndNoWaitWithoutAnEvent) {
    EXPECT_EQ(EventWaitMs(true, true, kNoRepeat), 0);
    EXPECT_EQ(EventWaitMs(false, true, kNoRepeat), -1) << "an unseen surface must sleep";
    EXPECT_EQ(EventWaitMs(true, false, kNoRepeat), -1) << "a surface too large to draw sleeps";
    EXPECT_EQ(EventWaitMs(false, true, 40), 40) << "a held key still repeats";
    EXPECT_EQ(EventWaitMs(true, true, 40), 0);
}
