// The scene's frame: clock and frame rate, letterboxed projection, blanking, pause, fade-out,
// opening title, the settings reset, the seeded start and the closest camera.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <tuple>
#include <utility>
#include <vector>

#include "gl_harness.h"
#include "host/app.h"
#include "host/host.h"
#include "host/host_state.h"
#include "motion/oscillators.h"
#include "motion/random.h"
#include "particles/particle_system.h"
#include "scene/cigarette.h"
#include "scene/controls.h"
#include "scene/frame.h"
#include "scene/scene_state.h"
#include "scene/settings.h"
#include "scene/star_field.h"

namespace {
std::vector<double> Phases() {
    return {OscillatorBank::phase, OscillatorBank::phase + kOscillatorSlots};
}

// Glyph triangles of the size-60 title in one frame, drawn almost transparent near its end. The
// cigarette is left out: Mesa 22.3 crashes feeding back its display list.
int FaintTriangles(uint32_t ms) {
    const int32_t cigarette = std::exchange(cigaretteList, -1);
    const std::vector<FeedbackPrimitive> frame = CaptureFeedback([ms] { RunFrameAt(ms); });
    cigaretteList = cigarette;
    return static_cast<int>(std::count_if(frame.begin(), frame.end(), [](const auto& p) {
        if (p.token != GL_POLYGON_TOKEN) return false;
        const auto [low, high] = std::minmax({p.vertices[0].y, p.vertices[1].y, p.vertices[2].y});
        return p.vertices[0].a < 0.001f && std::fabs(high - low - 60) < 0.01f;
    }));
}
}  // namespace

TEST(FrameClock, CapsTheDeltaAndCountsFramesPerSecond) {
    StartScene();
    // {frame ms, FrameDelta, FramesPerSecond}: the first frame counts from the start; a delta
    // over 0.1 s, even by the float rounding of 0.1 (2000 to 2100), counts 0.05; the 50th frame
    // is the first at 1 s and counts itself; after a stall each catching-up frame reports 1.
    const std::tuple<uint32_t, float, int> frames[] = {
        {20, 0.02f, 30},  {1000, 0.02f, 50}, {1099, 0.099f, 50}, {2000, 0.05f, 2}, {2100, 0.05f, 2},
        {6000, 0.05f, 2}, {6020, 0.02f, 1},  {6040, 0.02f, 1},   {6060, 0.02f, 1}};
    for (const auto& [ms, delta, fps] : frames) {
        if (ms == 1000) RunFramesAtRate(20, 980, 50);
        RunFrameAt(ms);
        EXPECT_NEAR(FrameDelta, delta, 1e-6) << ms;
        EXPECT_EQ(FramesPerSecond, fps) << ms;
    }
    EXPECT_EQ(NextSecond, 7.0);
}

TEST(FrameProjection, LetterboxViewportAndAspect) {
    StartScene();
    const std::tuple<int, int, int> cases[] = {{0, 0, 480}, {3, 72, 336}, {6, 144, 192}};
    GLint v[4];
    GLdouble p[16];
    for (const auto& [letterbox, bottom, height] : cases) {
        settings.Letterbox = letterbox;
        SetProjection();
        glGetIntegerv(GL_VIEWPORT, v);
        glGetDoublev(GL_PROJECTION_MATRIX, p);
        EXPECT_EQ(std::vector<GLint>(v, v + 4), std::vector<GLint>({0, bottom, 640, height}));
        EXPECT_NEAR(p[5] / p[0], 640.0 / height, 1e-4) << letterbox;  // aspect
    }
    WindowHeight = 0;  // no height left: the projection stays finite and keeps its width
    SetProjection();
    WindowHeight = kStartWindowHeight;
    glGetDoublev(GL_PROJECTION_MATRIX, p);
    for (int i = 0; i < 16; ++i) EXPECT_TRUE(std::isfinite(p[i])) << i << ": " << p[i];
    EXPECT_GT(p[0], 0);
}

TEST(FrameBlanking, HyperspaceClearsNothing) {
    for (int blanking : {1, 0}) {
        StartScene();
        settings.UniverseOn = 0;  // no star may land on the mark
        settings.Blanking = blanking;
        glEnable(GL_SCISSOR_TEST);  // a mark in the bottom-right corner, where nothing is drawn
        glScissor(600, 0, 40, 20);
        glClearColor(0.2f, 0.6f, 0.4f, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_SCISSOR_TEST);
        glClearColor(0, 0, 0, 1);
        RunFrameAt(100);
        EXPECT_NEAR(ReadPicture().At(620, 10)[1], blanking ? 0 : 153, 3) << blanking;
    }
}

TEST(FrameFadeOut, FadesEvenWhilePausedAndEndsBelowATenth) {
    StartScene();
    RunFrameAt(1000);
    EXPECT_EQ(Brightness, 1.0f);
    const std::vector<double> phases = Phases();
    PauseMotion = 1;
    Brightness = 0.999f;
    RunFrameAt(1040);  // loses half the frame's 0.04 s; the oscillators stand still
    EXPECT_NEAR(Brightness, 0.979f, 1e-6);
    EXPECT_EQ(Phases(), phases);
    PauseMotion = 0;
    RunFrameAt(1500);
    EXPECT_NE(Phases(), phases);
    // A stalled frame counts 0.05 s, so a step takes 0.025: from 0.125 it lands on 0.1f and the
    // program goes on (7 below); from the float below 0.125 it lands under 0.1 and ends with 0.
    for (float from : {0.125f, std::nextafter(0.125f, 0.0f)}) {
        Brightness = from;
        EXPECT_EXIT(
            {
                RunFrameAt(3000);
                std::exit(Brightness == 0.1f ? 7 : 8);
            },
            ::testing::ExitedWithCode(from == 0.125f ? 7 : 0), "");
    }
}

TEST(FrameTitle, DrawnForTheFirstSixSeconds) {
    StartScene();
    RunFramesUnseen(0, 5980, 50);         // six seconds of the scene's time, frame by frame
    EXPECT_EQ(FaintTriangles(5999), 12);  // "Wispra": six glyph quads at alpha 0.00008
    EXPECT_EQ(FaintTriangles(6000), 0);
}

TEST(FrameReset, RestoresDefaultsAndClearsTheSmoke) {
    StartScene();
    for (Particle& p : particleSystem.particles) p.alive = 1;
    SceneSettings& s = settings;
    s.Fov = s.Letterbox = s.Tesselation = s.UniverseOn = s.Blanking = s.SpotLightsOn =
        s.TexturesOn = s.PolyMode = s.SmokeOption = s.FpsClockOn = PauseMotion = 7;
    s.RotateSpeed = s.MovementSpeed = s.CameraZ = s.ObjectSize = s.MainSpeed = s.ArrowY =
        s.LightRotateSpeed = Brightness = 0.5f;
    ResetScene();
    ExpectSceneDefaults();
    for (const Particle& p : particleSystem.particles) ASSERT_EQ(p.alive, 0);
    // A start given by the options or the settings file is what a reset returns to.
    std::string expected;
    GiveSetting("speed", "2.5", settingStarts, expected);
    s.MainSpeed = 0.5f;
    ResetScene();
    EXPECT_EQ(s.MainSpeed, 2.5f);
}

TEST(FrameInit, EveryStartGivesTheSameOscillatorPhases) {
    StartScene();
    const std::vector<double> phases = Phases();
    ResetProgramState();
    for (int i = 0; i < 7; ++i) RandomUpTo(1.0);  // whatever came before, Init seeds with 0
    Init();
    ResizeWindow(kStartWindowWidth, kStartWindowHeight);
    EXPECT_EQ(Phases(), phases);
    // A seed given replays its own start, every time.
    std::vector<std::vector<double>> seeded;
    for (int start = 0; start < 2; ++start) {
        ResetProgramState();
        FirstSeed = 12345;
        Init();
        seeded.push_back(Phases());
    }
    ResizeWindow(kStartWindowWidth, kStartWindowHeight);
    EXPECT_EQ(seeded[0], seeded[1]);
    EXPECT_NE(seeded[0], phases);
}

// The frame steps the oscillator bank with the four speed settings, each to its own slot group.
TEST(FrameMotion, TheFourSpeedSettingsReachTheBankAsTheirGroupsSpeeds) {
    // How each group advances is the bank's own test; here only which setting drives which group.
    using namespace OscillatorBank;
    auto fill = [] {
        ResetMotionState();
        for (int k = 0; k < kOscillatorSlots; ++k) {
            phase[k] = 0, velocity[k] = targetVelocity[k] = 1;
            driven[k] = 1;
        }
    };
    SceneSettings speeds = settings;
    speeds.RotateSpeed = 2, speeds.MovementSpeed = 3, speeds.MainSpeed = 5;
    speeds.LightRotateSpeed = 7;
    fill();
    StepOscillators(kOscillatorSlots, 0.01f, speeds);
    const std::vector<double> throughSettings(phase, phase + kOscillatorSlots);
    fill();
    StepOscillatorBank(kOscillatorSlots, 0.01f, OscillatorSpeeds{2, 3, 5, 7});
    EXPECT_EQ(throughSettings, std::vector<double>(phase, phase + kOscillatorSlots));
}

// At the closest camera bound the eye has passed the cigarette, and the stars ahead of it still
// show, at every turn of the universe; nothing else is left to see.
TEST(FrameCamera, AtTheClosestBoundTheStarsAreStillDrawn) {
    StartScene();
    for (int i = 0; i < 1000; ++i) SceneKeyboard('{', 0, 0);
    EXPECT_FLOAT_EQ(settings.CameraZ, -1.0f);
    auto lit = [] {
        const Picture picture = ReadPicture();
        int count = 0;
        for (size_t i = 0; i < picture.rgb.size(); i += 3)
            count += std::max({picture.rgb[i], picture.rgb[i + 1], picture.rgb[i + 2]}) > 40;
        return count;
    };
    uint32_t from = 0;
    for (uint32_t moment : {7000u, 30000u, 60000u}) {
        RunFramesUnseen(from, moment - 100, 20);
        RunFrameAt(moment);
        from = moment;
        EXPECT_GT(lit(), 200) << moment;
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        settings.UniverseOn = 0;
        RunFrameAt(moment + 50);
        EXPECT_EQ(lit(), 0) << moment;
        settings.UniverseOn = 1;
    }
}
