// Months of running on the injectable clock, and every key held down: the smoke keeps flowing,
// scene time keeps pace, the title and the messages behave, and nothing becomes non-finite. Long
// pauses and slow frames: the scene goes on where it was.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "gl_harness.h"
#include "host/host.h"
#include "host/host_state.h"
#include "motion/oscillators.h"
#include "particles/particle_system.h"
#include "scene/controls.h"
#include "scene/scene_state.h"
#include "scene/settings.h"
#include "text/text_overlay.h"

namespace {
constexpr uint64_t kDayMs = 86400000;
constexpr uint64_t kWrapMs = uint64_t{1} << 32;  // ElapsedMs wraps here, after 49.7 days
constexpr uint64_t kFps = 30;  // every frame more than 0.025 s after the last: one emission each

// Frames at `fps` (30 unless given) per second over uptime (from, to]. Returns the emissions
// counted.
int RunUptime(uint64_t from, uint64_t to, uint64_t fps = kFps) {
    int emissions = 0;
    for (uint64_t n = from * fps / 1000 + 1;; ++n) {
        const uint64_t ms = n * 1000 / fps;
        if (ms > to) break;
        if (ms <= from) continue;
        const double before = particleSystem.lastEmitTime;
        RunFrameAt(ms);
        emissions += particleSystem.lastEmitTime != before;
    }
    return emissions;
}

// One frame at `ms` of uptime, however far from the last: the frame clock takes it as a stall.
void JumpTo(uint64_t ms) {
    RunFrameAt(ms);
}

// A small window: these tests are about time, not pictures, and the smoke's fill dominates.
void StartSmallScene() {
    StartScene();
    ResizeWindow(160, 120);
    EXPECT_EQ(WindowWidth, 160);
}

void EndSmallScene() {
    ResizeWindow(kStartWindowWidth, kStartWindowHeight);
}

// Emissions per second at the start of a run, past the title.
double OpeningRate() {
    RunUptime(0, 2000);
    return RunUptime(2000, 10000) / 8.0;
}

bool AllFinite() {
    const SceneSettings& s = settings;
    const float fields[] = {s.RotateSpeed, s.MovementSpeed, s.CameraZ,  s.ObjectSize,
                            s.MainSpeed,   s.ArrowY,        Brightness, FrameDelta};
    bool finite =
        std::all_of(std::begin(fields), std::end(fields), [](float f) { return std::isfinite(f); });
    for (int k = 0; k < kOscillatorSlots; ++k) {
        finite = finite && std::isfinite(OscillatorBank::phase[k]) &&
                 std::isfinite(OscillatorBank::velocity[k]);
    }
    for (const Particle& p : particleSystem.particles) {
        if (p.alive != 1) continue;
        const double values[] = {p.x, p.y, p.z, p.vx, p.vy, p.size, p.life, p.deathTime};
        finite = finite && std::all_of(std::begin(values), std::end(values),
                                       [](double v) { return std::isfinite(v); });
    }
    return finite && std::isfinite(CurrentTime);
}

// Glyph quads of the 60-pixel opening title in one frame at `ms`. The cigarette is left out:
// Mesa 22.3 crashes feeding back its display list.
int TitleGlyphQuads(uint32_t ms) {
    const int32_t cigarette = std::exchange(cigaretteList, -1);
    const std::vector<FeedbackPrimitive> frame = CaptureFeedback([ms] { RunFrameAt(ms); });
    cigaretteList = cigarette;
    return static_cast<int>(std::count_if(frame.begin(), frame.end(), [](const auto& p) {
        if (p.token != GL_POLYGON_TOKEN || p.vertices.size() < 3) return false;
        const auto [low, high] = std::minmax({p.vertices[0].y, p.vertices[1].y, p.vertices[2].y});
        return std::fabs(high - low - 60) < 0.01f;
    }));
}
}  // namespace

TEST(LongRun, SmokeAndSceneTimeKeepTheirPaceForMonthsAndAcrossTheWrap) {
    StartSmallScene();
    const double opening = OpeningRate();
    EXPECT_NEAR(opening, 30.0, 1.5);
    // Each window starts with a jump, which the frame clock takes as one stall, and measures the
    // last 10 s of 13.
    const std::pair<const char*, uint64_t> windows[] = {
        {"1 day", kDayMs},        {"7 days", 7 * kDayMs},
        {"30 days", 30 * kDayMs}, {"across the wrap", kWrapMs - 5000},
        {"60 days", 60 * kDayMs},
    };
    for (const auto& [name, start] : windows) {
        JumpTo(start);
        RunUptime(start, start + 3000);
        const double sceneFrom = CurrentTime;
        const int emissions = RunUptime(start + 3000, start + 13000);
        EXPECT_NEAR(emissions / 10.0, opening, opening * 0.1) << name;
        EXPECT_NEAR(CurrentTime - sceneFrom, 10.0, 0.04) << name;
        EXPECT_GT(FrameDelta, 0.0f) << name;
        EXPECT_LE(FrameDelta, 0.034f) << name;
    }
    EXPECT_TRUE(AllFinite());
    EndSmallScene();
}

TEST(LongRun, AfterTheWrapNoTitleAndMessagesStillExpire) {
    StartSmallScene();
    RunUptime(0, 7000);
    JumpTo(kWrapMs - 2000);
    textOverlay.ShowMessage("Reset");  // shown 2 s before ElapsedMs wraps
    RunUptime(kWrapMs - 2000, kWrapMs + 100);
    EXPECT_NE(textOverlay.expiry, 0.0);  // still up, 2.1 s after it was shown
    EXPECT_EQ(TitleGlyphQuads(static_cast<uint32_t>(kWrapMs + 117)), 0);
    RunUptime(kWrapMs + 117, kWrapMs + 1100);
    EXPECT_EQ(textOverlay.expiry, 0.0);  // 3.1 s after it was shown
    EndSmallScene();
}

TEST(LongRun, SlowThenFastSmokeFlowsAgainWithinSeconds) {
    StartSmallScene();
    const double opening = OpeningRate();
    for (int i = 0; i < 100; ++i) SceneSpecial(kKeyLeft, 0, 0);
    RunUptime(10000, 35000);  // at speed 0.006 every particle lives 14 minutes: the pool fills
    EXPECT_LT(RunUptime(35000, 37000), 10);
    for (int i = 0; i < 100; ++i) SceneSpecial(kKeyRight, 0, 0);
    RunUptime(37000, 42000);
    EXPECT_NEAR(RunUptime(42000, 50000) / 8.0, opening, opening * 0.1);
    EndSmallScene();
}

TEST(LongRun, EveryKeyHeldThenItsOppositeThenResetLeavesARunningScene) {
    StartSmallScene();
    const double opening = OpeningRate();
    const std::pair<int, int> opposites[] = {{'-', '='}, {'_', '+'}, {'(', ')'}, {'{', '}'},
                                             {'[', ']'}, {',', '.'}, {'<', '>'}};
    const std::pair<int, int> arrows[] = {{kKeyLeft, kKeyRight}, {kKeyUp, kKeyDown}};
    uint64_t now = 10000;
    auto hold = [&now](int key, bool arrow) {
        for (int i = 0; i < 3000; ++i) {
            if (arrow) SceneSpecial(key, 0, 0);
            if (!arrow) SceneKeyboard(static_cast<unsigned char>(key), 0, 0);
        }
        RunUptime(now, now + 200);
        now += 200;
        EXPECT_TRUE(AllFinite()) << key;
    };
    for (bool arrow : {false, true}) {
        for (const auto& [one, other] :
             arrow ? std::vector(std::begin(arrows), std::end(arrows))
                   : std::vector(std::begin(opposites), std::end(opposites))) {
            hold(one, arrow);
            hold(other, arrow);
            hold(other, arrow);
            hold(one, arrow);
        }
    }
    // At a limit a step back always changes the value.
    const float lowest = settings.ObjectSize;
    SceneKeyboard(']', 0, 0);
    const float stepUp = settings.ObjectSize;
    EXPECT_GT(stepUp, lowest);
    SceneKeyboard('[', 0, 0);
    EXPECT_LT(settings.ObjectSize, stepUp);
    // The far plane stays beyond the near plane at the nearest camera.
    for (int i = 0; i < 3000; ++i) SceneKeyboard('{', 0, 0);
    EXPECT_GT(settings.CameraZ + 9.0, 0.01);
    SceneKeyboard('r', 0, 0);
    RunUptime(now, now + 2000);
    EXPECT_TRUE(AllFinite());
    EXPECT_NEAR(RunUptime(now + 2000, now + 10000) / 8.0, opening, opening * 0.1);
    EndSmallScene();
}

namespace {
struct Plume {
    int live = 0;
    double height = 0;  // the highest live particle's y, scene units
};

Plume MeasurePlume() {
    Plume plume;
    for (const Particle& p : particleSystem.particles) {
        if (p.alive != 1) continue;
        ++plume.live;
        plume.height = std::max(plume.height, static_cast<double>(p.y));
    }
    return plume;
}

// RunUptime's frames drawn into a one-pixel scissor box: only the scene's state is looked at.
void RunUnseen(uint64_t from, uint64_t to, uint64_t fps) {
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 1, 1);
    RunUptime(from, to, fps);
    glDisable(GL_SCISSOR_TEST);
}
}  // namespace

// A frame after a long pause (a stopped process, a busy machine) counts 0.05 s, and so does
// everything that lives or expires with the scene's time: the plume and the status message go on
// as they were, at an ordinary time and across the wrap of ElapsedMs alike.
TEST(ScenePause, AFiveMinuteStallLeavesThePlumeAndTheMessageAsTheyWere) {
    StartSmallScene();
    constexpr uint64_t kStallMs = 5 * 60 * 1000;
    for (const uint64_t start : {uint64_t{0}, kWrapMs - 30000}) {
        if (start != 0) JumpTo(start);
        const uint64_t stalled = start + 20000;
        RunUnseen(start, stalled, 60);
        textOverlay.ShowMessage("Reset");
        const Plume before = MeasurePlume();
        const double sceneBefore = CurrentTime;
        ASSERT_GT(before.live, 140) << start;

        JumpTo(stalled + kStallMs);
        EXPECT_NEAR(CurrentTime - sceneBefore, 0.05, 1e-9) << start;
        const Plume after = MeasurePlume();
        EXPECT_NEAR(after.live, before.live, 3) << start;
        // Within a tenth: the oldest, highest particles may die in the 0.05 s.
        EXPECT_NEAR(after.height, before.height, before.height * 0.1) << start;
        EXPECT_NE(textOverlay.expiry, 0.0) << "the message was dropped by the stall";

        // It expires 3 s of frames later; the frame-rate clock counts the uptime's seconds again.
        RunUnseen(stalled + kStallMs, stalled + kStallMs + 2900, 60);
        EXPECT_NE(textOverlay.expiry, 0.0) << start;
        EXPECT_NEAR(FramesPerSecond, 60, 1) << start;
        RunUnseen(stalled + kStallMs + 2900, stalled + kStallMs + 3000, 60);
        EXPECT_EQ(textOverlay.expiry, 0.0) << start;
    }
    EndSmallScene();
}

// Started iconic, shown an hour later: the opening (title and start-up hint) is still to come.
TEST(ScenePause, StartedHiddenForAnHourTheOpeningStillShows) {
    StartScene();  // the whole title fits in the window, so its glyphs keep their height
    EXPECT_EQ(TitleGlyphQuads(3600000), 12);  // "Wispra": six glyph quads
    EXPECT_NEAR(CurrentTime, 0.05, 1e-9);
    EXPECT_NE(textOverlay.expiry, 0.0);
}

// Below 10 frames a second every frame counts 0.05 s, so the whole scene runs slower together: a
// minute at 8 frames a second is 24 s of the scene, which it draws as 20 frames a second would
// (until the rare reseed from ElapsedMs, which differs). The plume is as tall as at 60 frames a
// second; at most one particle leaves per frame, so it holds as many as at 20.
TEST(ScenePause, AtEightFramesASecondTheSceneSlowsAndThePlumeKeepsItsShape) {
    struct Run {
        uint64_t fps, ms;
        Plume plume;
        double sceneTime;
    };
    Run runs[] = {{8, 60000, {}, 0}, {20, 24000, {}, 0}, {60, 60000, {}, 0}};
    for (Run& run : runs) {
        StartSmallScene();
        RunUnseen(0, run.ms, run.fps);
        run.plume = MeasurePlume();
        run.sceneTime = CurrentTime;
    }
    const Run& slow = runs[0];
    const Run& twenty = runs[1];
    const Run& sixty = runs[2];
    EXPECT_EQ(slow.sceneTime, 24.0);
    EXPECT_EQ(slow.sceneTime, twenty.sceneTime);
    EXPECT_NEAR(slow.plume.live, twenty.plume.live, twenty.plume.live * 0.1);
    EXPECT_NEAR(slow.plume.height, sixty.plume.height, sixty.plume.height * 0.1);
    EndSmallScene();
}
