// Frame pacing on a simulated counter: never above the cap, no drift from late wake-ups, no burst
// after a long frame; and which GLX extension sets the swap interval.
#include <gtest/gtest.h>

#include <cstdint>

#include "host/glx/swap_control.h"
#include "host/pacing.h"

namespace {
constexpr int64_t kMs = 1000;        // a millisecond counter
constexpr int64_t kNs = 1000000000;  // the host's nanosecond counter
constexpr int64_t kMillisecond = kNs / kMs;

// Runs `frames` frames that each take `work` ticks and wake `late` ticks after they were due;
// returns the counter when the last one starts.
int64_t RunPaced(int frames, int64_t work, int64_t late, int maxFps) {
    int64_t now = 0, due = 0;
    for (int i = 0; i < frames; ++i) {
        now += work;  // the frame is drawn and swapped
        const FramePace pace = PaceFrame(due, now, kNs, maxFps);
        EXPECT_GE(pace.wait, 0);
        now += pace.wait + (pace.wait > 0 ? late : 0);
        due = pace.nextDue;
    }
    return now;
}
}  // namespace

TEST(Pacing, SleepsOutTheRestOfThePeriodRoundedUp) {
    // 1000 / 60 = 16.67 ms: 17 ticks of a millisecond counter, so never 62.5 frames a second.
    FramePace pace = PaceFrame(0, 5, kMs, 60);
    EXPECT_EQ(pace.wait, 12);
    EXPECT_EQ(pace.nextDue, 17);
    pace = PaceFrame(1000, 1000, kMs, 1);
    EXPECT_EQ(pace.wait, 1000);
    pace = PaceFrame(0, 3 * kMillisecond, kNs, 60);
    EXPECT_EQ(pace.nextDue, 16666667);
    EXPECT_EQ(pace.wait, 16666667 - 3 * kMillisecond);
}

TEST(Pacing, LateWakeUpsDoNotAddUpAndTheCapHolds) {
    // 600 frames at 60 a second take 10 s, although each wake-up comes 0.3 ms late.
    const int64_t end = RunPaced(600, 4 * kMillisecond, 3 * kMillisecond / 10, 60);
    EXPECT_GE(end, 10 * kNs - 17 * kMillisecond);
    EXPECT_LE(end, 10 * kNs + kMillisecond);
    // Without a cap nothing waits: 600 frames of 4 ms take 2.4 s.
    EXPECT_EQ(RunPaced(600, 4 * kMillisecond, kMillisecond, 0), 600 * 4 * kMillisecond);
}

TEST(Pacing, AFrameThatOverranItsPeriodStartsTheCountAfresh) {
    FramePace pace = PaceFrame(0, 40, kMs, 60);  // 40 ms for a 17 ms frame
    EXPECT_EQ(pace.wait, 0);
    EXPECT_EQ(pace.nextDue, 40);
    // The next one gets its full period rather than being hurried to catch up.
    pace = PaceFrame(pace.nextDue, 45, kMs, 60);
    EXPECT_EQ(pace.wait, 12);
    EXPECT_EQ(pace.nextDue, 57);
    // The first frame after a long hidden spell: due long ago, so no wait.
    EXPECT_EQ(PaceFrame(17, 60017, kMs, 60).wait, 0);
    // A due time far ahead (a clock that stepped back) never waits more than one period.
    pace = PaceFrame(500000, 10, kMs, 60);
    EXPECT_EQ(pace.wait, 17);
    EXPECT_EQ(pace.nextDue, 27);
}

TEST(SwapControl, TheFirstOfferedExtensionByWholeName) {
    EXPECT_EQ(ChooseSwapControl("GLX_ARB_multisample GLX_EXT_swap_control GLX_SGI_swap_control"),
              SwapControl::kExt);
    EXPECT_EQ(ChooseSwapControl("GLX_SGI_swap_control GLX_MESA_swap_control"), SwapControl::kMesa);
    EXPECT_EQ(ChooseSwapControl("GLX_SGI_swap_control"), SwapControl::kSgi);
    // Only whole words count: a longer name that starts or ends the same is another extension.
    EXPECT_EQ(ChooseSwapControl("GLX_EXT_swap_control_tear GLX_SGI_swap_control"),
              SwapControl::kSgi);
    EXPECT_EQ(ChooseSwapControl("XGLX_EXT_swap_control GLX_EXT_swap_control_tear"),
              SwapControl::kNone);
    EXPECT_EQ(ChooseSwapControl("GLX_OML_swap_method "), SwapControl::kNone);
    EXPECT_EQ(ChooseSwapControl(""), SwapControl::kNone);
    EXPECT_EQ(ChooseSwapControl(nullptr), SwapControl::kNone);
}
