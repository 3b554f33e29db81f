// The host's window: --window keeps the scene out of full screen until f is pressed; hidden and
// shown, where the real test window is unmapped and mapped again, GLUT reports it through the
// host's window status handler, and the host draws nothing in between; the first frame after a
// long hidden spell counts as a stall and the plume is still there; Escape ends the program even
// while the window is hidden; a window too large to draw is left alone; --samples chooses the
// visual; the heap is trimmed once after a new size has held.
#include <GL/freeglut.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/keys.h"
#include "gl_harness.h"
#include "host/app.h"
#include "host/clock.h"
#include "host/glut/display_mode.h"
#include "host/glut/glut_host.h"
#include "host/heap.h"
#include "host/host.h"
#include "host/host_state.h"
#include "host/pacing.h"
#include "program/options.h"
#include "scene/controls.h"
#include "scene/scene_state.h"

namespace {
constexpr int kPumpRounds = 200;

// Handles window-system events until the host sees the window as `hidden`. Asking for the window's
// place is a round trip, after which the server's answer to the unmap or map has arrived.
bool PumpUntilHidden(int hidden) {
    for (int i = 0; i < kPumpRounds && WindowHidden != hidden; ++i) {
        PumpEvents();
        glutGet(GLUT_WINDOW_X);
    }
    return WindowHidden == hidden;
}

int LiveParticles() {
    int live = 0;
    for (const Particle& p : particleSystem.particles) live += p.alive;
    return live;
}
}  // namespace

TEST(WindowStatus, NothingIsDrawnWhileHiddenAndAfterAnHourThePlumeIsAsItWas) {
    StartScene();
    glutWindowStatusFunc(WindowStatus);
    // Display reads the host's counter: the test moves the counter's start back instead of
    // waiting for time to pass. A plume first, on the injectable clock.
    RunFramesUnseen(0, 20000, 60);
    const int live = LiveParticles();
    CounterFrequency = ReadCounterFrequency();
    auto setUptime = [](int64_t ms) {
        CounterStart = ReadCounter() - ms * CounterFrequency / 1000;
    };
    const double shownAt = CurrentTime;
    const int framesBefore = FramesThisSecond;

    glutHideWindow();
    ASSERT_TRUE(PumpUntilHidden(1)) << "GLUT never reported the unmapped window";
    setUptime(20000 + 3600000);  // an hour hidden
    Display();
    Display();
    EXPECT_EQ(FramesThisSecond, framesBefore) << "frames were drawn while hidden";
    EXPECT_EQ(CurrentTime, shownAt);

    glutShowWindow();
    ASSERT_TRUE(PumpUntilHidden(0)) << "GLUT never reported the window shown again";
    Display();
    EXPECT_EQ(FrameDelta, 0.05f) << "the first frame after the hidden spell is not a stall";
    EXPECT_NEAR(CurrentTime, shownAt + 0.05, 1e-9) << "the scene's time jumped with the uptime";
    EXPECT_NEAR(LiveParticles(), live, 3) << "the plume did not survive the hidden hour";

    glutWindowStatusFunc(nullptr);
    glutIdleFunc(nullptr);  // the handler restarted the host's idle redisplays
    ResizeWindow(kStartWindowWidth, kStartWindowHeight);
}

TEST(WindowStatus, OnlyHiddenStopsTheRedisplays) {
    ResetProgramState();
    WindowHidden = 0;
    for (int covered : {GLUT_FULLY_RETAINED, GLUT_PARTIALLY_RETAINED, GLUT_FULLY_COVERED}) {
        WindowStatus(covered);
        EXPECT_EQ(WindowHidden, 0) << covered;
    }
    WindowStatus(GLUT_HIDDEN);
    EXPECT_EQ(WindowHidden, 1);
    WindowStatus(GLUT_FULLY_COVERED);
    EXPECT_EQ(WindowHidden, 0);
    glutIdleFunc(nullptr);
}

TEST(WindowedStart, InitLeavesTheWindowAloneAndFStillGoesFullScreen) {
    ResetProgramState();
    // Earlier tests may have left the window full screen, which a resize would not undo for good.
    glutLeaveFullScreen();
    for (int i = 0; i < kPumpRounds && glutGet(GLUT_FULL_SCREEN); ++i) PumpEvents();
    ResizeWindow(320, 240);
    ASSERT_EQ(glutGet(GLUT_WINDOW_WIDTH), 320);
    hostOptions.windowed = 1;
    Init();
    hostOptions = HostOptions();
    PumpEvents();
    EXPECT_EQ(FullScreen, 0);
    EXPECT_EQ(glutGet(GLUT_WINDOW_WIDTH), 320) << "Init went full screen";
    SceneKeyboard('f', 0, 0);
    for (int i = 0; i < kPumpRounds && glutGet(GLUT_WINDOW_WIDTH) != kStartWindowWidth; ++i)
        PumpEvents();
    EXPECT_EQ(FullScreen, 1);
    EXPECT_EQ(glutGet(GLUT_WINDOW_WIDTH), kStartWindowWidth) << "f did not go full screen";
    // Leaving full screen restores the 320 x 240 from before it; wait for that, so that it does
    // not undo the resize for the next test later on.
    glutLeaveFullScreen();
    for (int i = 0; i < kPumpRounds && glutGet(GLUT_WINDOW_WIDTH) != 320; ++i) PumpEvents();
    ResizeWindow(kStartWindowWidth, kStartWindowHeight);
}

namespace {
// Registered as an exit handler: ends the process with status 3 instead if the scene's GL objects
// were not released, i.e. the program ended without Shutdown.
void StatusThreeUnlessShutDown() {
    if (universe.listId != -1 || textureCount != 0) std::_Exit(3);
}

void PressEscape() {
    SceneKeyboard(kEscape, 0, 0);
}
}  // namespace

// Nothing is drawn while the window is hidden or too large to draw, so no frame would carry a
// fade-out to its end: Escape then, or the window hidden or grown during the fade, ends the
// program at once, after Shutdown.
TEST(EscapeAlwaysEnds, WhileUndrawnOrWhenUndrawnDuringTheFade) {
    for (const bool grown : {false, true}) {
        for (const bool fadingFirst : {false, true}) {
            EXPECT_EXIT(
                {
                    StartScene();
                    glutWindowStatusFunc(WindowStatus);
                    RunFrameAt(1000);
                    std::atexit(StatusThreeUnlessShutDown);
                    if (fadingFirst) {
                        PressEscape();
                        RunFrameAt(1100);
                    }
                    // During the fade the program ends here.
                    if (grown) {
                        ResizeWindow(32767, 32767);
                    } else {
                        glutHideWindow();
                        PumpUntilHidden(1);
                    }
                    PressEscape();  // Escape in the undrawn window, here
                    std::_Exit(7);
                },
                ::testing::ExitedWithCode(0), "")
                << (grown ? "too large" : "hidden") << (fadingFirst ? " during the fade" : "");
        }
    }
}

// A held key repeats about 30 times a second: the fade must still run its course and end.
TEST(EscapeAlwaysEnds, HeldDownItEndsAfterOneFade) {
    EXPECT_EXIT(
        {
            StartScene();
            RunFrameAt(1000);
            std::atexit(StatusThreeUnlessShutDown);
            for (uint32_t frame = 1; frame < 600; ++frame) {
                if (frame % 2 == 0) PressEscape();
                RunFrameAt(1000 + frame * 16);
            }
            std::_Exit(7);  // still running after nearly 10 s
        },
        ::testing::ExitedWithCode(0), "");
}

// A window manager may make the window 32767 x 32767, whose buffer swap would abort inside libxcb
// on the software renderer: beyond the size it can draw, nothing is drawn or swapped, and one
// line says so for as long as the window stays too large.
TEST(WindowOversize, NeitherDrawnNorSwappedAndSaidOnce) {
    StartScene();
    CounterFrequency = ReadCounterFrequency();
    CounterStart = ReadCounter() - 5 * CounterFrequency;
    ::testing::internal::CaptureStderr();
    ResizeWindow(32767, 32767);
    Display();
    ResizeWindow(16384, 8193);  // still too large
    Display();
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(UptimeMs, 0u) << "a frame was drawn";
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("32767 x 32767"), std::string::npos) << said;

    ResizeWindow(kStartWindowWidth, kStartWindowHeight);
    EXPECT_EQ(WindowOversize, 0);
    Display();
    EXPECT_GE(UptimeMs, 5000u) << "no frame once the window was small again";
}

// --samples chooses the visual of the window GLUT makes: none asked for is the program's own
// multisampled one, 0 drops multisampling, a count the display lacks gets the nearest one and a
// line that says so.
TEST(DisplayMode, SamplesChooseTheWindowsVisual) {
    const int glutDefault = glutGet(GLUT_MULTISAMPLE);
    const int harnessWindow = glutGetWindow();
    int offeredCount = 0;
    int* offered = glutGetModeValues(GLUT_MULTISAMPLE, &offeredCount);
    const int largest = offeredCount > 0 ? offered[offeredCount - 1] : 0;
    std::free(offered);
    auto samplesOfNewWindow = [](int asked, std::string& said) {
        ::testing::internal::CaptureStderr();
        SetDisplayMode(asked);
        said = ::testing::internal::GetCapturedStderr();
        const int window = glutCreateWindow("samples");
        GLint samples = -1;
        glGetIntegerv(GL_SAMPLES, &samples);
        glutDestroyWindow(window);
        return samples;
    };
    std::string said;
    GLint harnessSamples = 0;
    glGetIntegerv(GL_SAMPLES, &harnessSamples);
    EXPECT_EQ(samplesOfNewWindow(kSamplesUnset, said), harnessSamples) << "not the program's own";
    EXPECT_EQ(said, "");
    EXPECT_GT(harnessSamples, 1);
    EXPECT_EQ(samplesOfNewWindow(0, said), 0);
    EXPECT_EQ(said, "");
    EXPECT_EQ(samplesOfNewWindow(1, said), 0);
    EXPECT_EQ(said, "");
    EXPECT_EQ(samplesOfNewWindow(harnessSamples, said), harnessSamples);
    EXPECT_EQ(said, "");
    if (largest < kMaxSamples) {
        EXPECT_EQ(samplesOfNewWindow(kMaxSamples, said), largest);
        EXPECT_EQ(said, "wispra: the display has no visual with 32 samples per pixel; using " +
                            std::to_string(largest) + "\n");
    }
    glutInitDisplayMode(kDisplayMode);
    glutSetOption(GLUT_MULTISAMPLE, glutDefault);
    glutSetWindow(harnessWindow);
}

// After a change of size has held for a while, the first frame hands the heap's freed memory
// back, once: the renderer's buffers of the old size do not stay resident.
TEST(HeapTrim, AFrameAfterTheNewSizeHasHeldHandsFreedMemoryBack) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer has its own allocator, which takes no glibc settings";
#else
    StartScene();
    ASSERT_TRUE(ConfigureHeap());
    CounterFrequency = ReadCounterFrequency();
    auto setUptime = [](int64_t ms) {
        CounterStart = ReadCounter() - ms * CounterFrequency / 1000;
    };
    setUptime(5000);
    Display();
    ResizeWindow(320, 240);
    // Memory freed now stays with the process until the trim.
    std::vector<void*> blocks(64);
    for (void*& block : blocks) static_cast<char*>(block = std::malloc(64 << 10))[0] = 1;
    const uintptr_t grown = reinterpret_cast<uintptr_t>(sbrk(0));
    for (auto it = blocks.rbegin(); it != blocks.rend(); ++it) std::free(*it);
    Display();  // at once: the size has not held yet
    EXPECT_EQ(HeapTrimPending, 1);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(sbrk(0)), grown);
    setUptime(5000 + static_cast<int64_t>(kHeapSettleMs) * 2);
    Display();
    EXPECT_EQ(HeapTrimPending, 0);
    EXPECT_LT(reinterpret_cast<uintptr_t>(sbrk(0)) + (2 << 20), grown) << "nothing handed back";
    ResizeWindow(kStartWindowWidth, kStartWindowHeight);
#endif
}

namespace {
int fakeSwaps = 0;  // swaps the fake window system was asked for
void CountSwap() {
    ++fakeSwaps;
}
}  // namespace

// Every host takes the same frame step through the seam: nothing while the window is hidden or
// too large to draw, otherwise one frame and then one swap.
TEST(FrameStep, DrawsAndSwapsOnceOnlyWhenTheWindowCanShowIt) {
    StartScene();
    WindowSystem fake = kGlutWindowSystem;
    fake.swap = CountSwap;
    windowSystem = &fake;
    CounterFrequency = ReadCounterFrequency();
    CounterStart = ReadCounter() - 5 * CounterFrequency;
    fakeSwaps = 0;
    for (const auto& [hidden, oversize] : {std::pair{1, 0}, {0, 1}, {1, 1}}) {
        WindowHidden = hidden;
        WindowOversize = oversize;
        StepFrame();
    }
    EXPECT_EQ(fakeSwaps, 0);
    EXPECT_EQ(UptimeMs, 0u) << "a frame was drawn that no one could see";
    WindowHidden = WindowOversize = 0;
    StepFrame();
    EXPECT_EQ(fakeSwaps, 1);
    EXPECT_GE(UptimeMs, 5000u);
    windowSystem = &kGlutWindowSystem;
}
