// Frame-time benchmark: the real Init and Frame in a real window (1280 x 720 unless a width and
// height are given) with the program's display mode, stepped at a simulated 1/60 s. For the
// steady plume and for a full particle pool it measures, interleaved in one run:
//   - the floor: the same window's bare clear and swap;
//   - the scene without the smoke pass: a frame at the same clock reading with the pool's scan
//     length at 0, so nothing is emitted, moved or drawn and nothing else changes;
//   - the whole scene.
// It prints their medians (wall clock, and processor time of all the process's threads), their
// ratios to the floor, the frame rate and the smoke pass's time; the processor time of a whole
// scene at a paced 60 frames a second, frame and wait together, as the program spends it at its
// default pace; and then the pass's shaded
// fragments (pipeline statistics) against its visible ones (samples that passed, per pixel),
// counted on a re-draw of the pass outside the timed frames because active queries change the
// fragment work being timed.
#define GL_GLEXT_PROTOTYPES
#include <GL/freeglut.h>
#include <GL/glext.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <thread>
#include <vector>

#include "host/app.h"
#include "host/clock.h"
#include "host/glut/display_mode.h"
#include "host/glut/glut_host.h"
#include "host/heap.h"
#include "host/host.h"
#include "host/host_state.h"
#include "particles/particle_system.h"
#include "program/options.h"
#include "scene/frame.h"
#include "scene/scene_state.h"
#include "scene/settings.h"
#include "scene/smoke.h"

namespace {
constexpr int kDefaultWidth = 1280;
constexpr int kDefaultHeight = 720;
constexpr int kStepsPerSecond = 60;
constexpr uint32_t kSteadyFromMs = 8000;  // past the title, the plume at its steady size
constexpr int kDefaultRounds = 600;
constexpr int kWarmFrames = 30;         // drawn in full before measuring, shaders compiled
constexpr int kCountEvery = 10;         // rounds between two counted re-draws of the pass
constexpr float kFullPoolSpeed = 0.2f;  // lifetime 25 s at 30 emissions a second: > 640
constexpr uint32_t kFullPoolFromMs = 40000;
constexpr double kMsPerSecond = 1000.0;
constexpr int kResizeRounds = 200;
constexpr int kPacedFps = 60;  // the program's default pace
constexpr int kPacedRounds = 120;
constexpr auto kPacedPeriod = std::chrono::nanoseconds(std::chrono::seconds(1)) / kPacedFps;

uint64_t frameIndex = 0;  // simulated frames so far; frame n runs at n * 1000 / 60 ms
int rounds = kDefaultRounds;
bool countable = false;     // the pipeline statistics query is available
GLint samplesPerPixel = 1;  // of the window's visual
GLuint shadedQuery = 0;     // fragment shader invocations, created once
GLuint passedQuery = 0;     // samples passed, created once
// Per-round times of one kind of frame: wall clock and the process's processor time, which
// counts the renderer's threads and, unlike the wall clock, little of what other programs on
// the machine do meanwhile.
struct Series {
    std::vector<double> wall;  // ms, reserved once
    std::vector<double> cpu;   // ms
};
Series sceneMs, withoutMs, floorMs;
Series pacedMs;  // whole scene plus the wait to the next 1/60 s, per frame
std::chrono::steady_clock::time_point pacedDue;  // when the next paced frame is due
Series passMs;                                   // scene minus without, per round
uint64_t shadedSum = 0;                          // over the counted re-draws of one measurement
uint64_t visibleSamplesSum = 0;                  // likewise
int countedPasses = 0;

void NoDisplay() {}

void PumpEvents() {
    for (int i = 0; i < 20; ++i) glutMainLoopEvent();
}

uint32_t StepMs() {
    return static_cast<uint32_t>(frameIndex * 1000 / kStepsPerSecond);
}

void SceneFrame() {
    ++frameIndex;
    SetUptimeMs(StepMs());
    Frame();
    glutSwapBuffers();
    glFinish();
}

// The frame just drawn again at the same clock reading (a frame delta of 0) with no particle
// scanned: everything but the smoke's emission, motion and pass.
void FrameWithoutSmoke() {
    const int capacity = particleSystem.capacity;
    particleSystem.capacity = 0;
    Frame();
    particleSystem.capacity = capacity;
    glutSwapBuffers();
    glFinish();
}

void FloorFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutSwapBuffers();
    glFinish();
}

// Frames nobody looks at draw into a one-pixel scissor box: the simulation is the same, the
// fill is saved. The last few are drawn in full so the measured ones start warm.
void RunUntil(uint32_t ms) {
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 1, 1);
    while (StepMs() + kWarmFrames * kMsPerSecond / kStepsPerSecond < ms) SceneFrame();
    glDisable(GL_SCISSOR_TEST);
    while (StepMs() < ms) SceneFrame();
}

// The smoke pass once more, as the smoke step draws it, with both counts running.
void CountPass() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SetProjection();
    PlaceCamera();
    glBeginQuery(GL_FRAGMENT_SHADER_INVOCATIONS_ARB, shadedQuery);
    glBeginQuery(GL_SAMPLES_PASSED, passedQuery);
    DrawSmokePass();
    glEndQuery(GL_SAMPLES_PASSED);
    glEndQuery(GL_FRAGMENT_SHADER_INVOCATIONS_ARB);
    GLuint64 shaded = 0, passed = 0;
    glGetQueryObjectui64v(shadedQuery, GL_QUERY_RESULT, &shaded);
    glGetQueryObjectui64v(passedQuery, GL_QUERY_RESULT, &passed);
    shadedSum += shaded;
    visibleSamplesSum += passed;
    ++countedPasses;
}

struct Times {
    double wall, cpu;  // ms
};

double CpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * kMsPerSecond + static_cast<double>(now.tv_nsec) * 1e-6;
}

Times Measured(void (*frame)()) {
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = CpuMilliseconds();
    frame();
    const double cpu = CpuMilliseconds() - cpuStart;
    return {
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count(),
        cpu};
}

void Add(Series& series, Times t) {
    series.wall.push_back(t.wall);
    series.cpu.push_back(t.cpu);
}

double Quantile(std::vector<double>& samples, double q) {
    const auto at = samples.begin() +
                    static_cast<std::ptrdiff_t>(static_cast<double>(samples.size() - 1) * q + 0.5);
    std::nth_element(samples.begin(), at, samples.end());
    return *at;
}

int LiveParticles() {
    int live = 0;
    for (const Particle& p : particleSystem.particles) live += p.alive;
    return live;
}

void PrintTime(const char* what, Series& series, double floor) {
    const double median = Quantile(series.wall, 0.5);
    const double low = Quantile(series.wall, 0.25), high = Quantile(series.wall, 0.75);
    std::printf("  %-20s median %8.3f ms (quartiles %8.3f .. %8.3f)", what, median, low, high);
    if (floor > 0.0) std::printf(" ratio to floor %5.2f", median / floor);
    std::printf("   processor %8.3f ms\n", Quantile(series.cpu, 0.5));
}

// A whole scene, then the wait for the next 1/60 s of real time, as the program draws at its
// default pace; a frame that overran its period starts the next one from now.
void PacedFrame() {
    SceneFrame();
    pacedDue += kPacedPeriod;
    std::this_thread::sleep_until(pacedDue);
    pacedDue = std::max(pacedDue, std::chrono::steady_clock::now());
}

// Paced frames, timed from one frame's start to the next: the processor time of the renderer's
// threads and of the allocator after the frame counts too.
void MeasurePaced() {
    pacedMs.wall.clear();
    pacedMs.cpu.clear();
    pacedDue = std::chrono::steady_clock::now();
    for (int i = 0; i < kPacedRounds; ++i) Add(pacedMs, Measured(PacedFrame));
}

void Measure(const char* label) {
    for (Series* series : {&sceneMs, &withoutMs, &floorMs, &passMs}) {
        series->wall.clear();
        series->cpu.clear();
    }
    shadedSum = visibleSamplesSum = 0;
    countedPasses = 0;
    int liveMin = kParticlePool, liveMax = 0;
    for (int i = 0; i < rounds; ++i) {
        const Times scene = Measured(SceneFrame);
        const Times without = Measured(FrameWithoutSmoke);
        Add(sceneMs, scene);
        Add(withoutMs, without);
        Add(passMs, {scene.wall - without.wall, scene.cpu - without.cpu});
        Add(floorMs, Measured(FloorFrame));
        liveMin = std::min(liveMin, LiveParticles());
        liveMax = std::max(liveMax, LiveParticles());
        if (countable && i % kCountEvery == 0) CountPass();
    }
    const double floor = Quantile(floorMs.wall, 0.5);
    const double scene = Quantile(sceneMs.wall, 0.5);
    std::printf("%s: %d to %d live particles, %d rounds\n", label, liveMin, liveMax, rounds);
    PrintTime("floor (clear, swap)", floorMs, 0.0);
    PrintTime("scene without smoke", withoutMs, floor);
    PrintTime("whole scene", sceneMs, floor);
    std::printf("  %-20s %8.1f\n", "frames per second", kMsPerSecond / scene);
    PrintTime("smoke pass (paired)", passMs, 0.0);
    MeasurePaced();
    std::printf("  %-20s processor %8.3f ms per frame (uncapped: %8.3f ms; %d frames)\n",
                "paced at 60 fps", Quantile(pacedMs.cpu, 0.5), Quantile(sceneMs.cpu, 0.5),
                kPacedRounds);
    if (countedPasses == 0) {
        std::printf("  smoke pass fragments: not counted (no GL_ARB_pipeline_statistics_query)\n");
        return;
    }
    const double shaded = static_cast<double>(shadedSum) / countedPasses;
    const double visible = static_cast<double>(visibleSamplesSum) / samplesPerPixel / countedPasses;
    std::printf(
        "  smoke pass fragments per frame (%d counted): shaded %9.0f   visible %9.0f   "
        "shaded/visible %.2f\n",
        countedPasses, shaded, visible, visible > 0.0 ? shaded / visible : 0.0);
}

bool HasExtension(const char* name) {
    const char* all = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (all == nullptr) return false;
    const size_t length = std::strlen(name);
    for (const char* at = std::strstr(all, name); at != nullptr; at = std::strstr(at + 1, name)) {
        if ((at == all || at[-1] == ' ') && (at[length] == ' ' || at[length] == '\0')) return true;
    }
    return false;
}

int ArgumentOr(int argc, char** argv, int index, int fallback) {
    if (argc <= index) return fallback;
    const int value = std::atoi(argv[index]);
    return value > 0 ? value : fallback;
}
}  // namespace

// Usage: frame_bench [width height [rounds [samples]]]; samples as the program's --samples (0 to
// 32), the program's default visual when left out or negative.
int main(int argc, char** argv) {
    ConfigureHeap();  // as the program does before GL starts
    glutInit(&argc, argv);
    const int width = ArgumentOr(argc, argv, 1, kDefaultWidth);
    const int height = ArgumentOr(argc, argv, 2, kDefaultHeight);
    rounds = ArgumentOr(argc, argv, 3, kDefaultRounds);
    const int asked = argc > 4 ? std::atoi(argv[4]) : kSamplesUnset;
    const int samples = SetDisplayMode(asked < 0 ? kSamplesUnset : std::min(asked, kMaxSamples));
    glutInitWindowSize(width, height);
    glutCreateWindow(WindowTitle());
    glutReshapeFunc(Reshape);
    glutDisplayFunc(NoDisplay);
    windowSystem = &kGlutWindowSystem;  // the window the scene asks for its size and full screen
    PumpEvents();
    Init();
    PumpEvents();
    // Init went full screen; back to the measured size, which the host must see too even if
    // GLUT settles on it without reporting a reshape.
    glutReshapeWindow(width, height);
    for (int i = 0; i < kResizeRounds; ++i) {
        PumpEvents();
        if (glutGet(GLUT_WINDOW_WIDTH) == width && glutGet(GLUT_WINDOW_HEIGHT) == height) break;
    }
    Reshape(glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT));

    glGetIntegerv(GL_SAMPLES, &samplesPerPixel);
    samplesPerPixel = std::max(samplesPerPixel, 1);
    countable = HasExtension("GL_ARB_pipeline_statistics_query");
    if (countable) {
        glGenQueries(1, &shadedQuery);
        glGenQueries(1, &passedQuery);
    }
    for (Series* series : {&sceneMs, &withoutMs, &floorMs, &passMs}) {
        series->wall.reserve(static_cast<size_t>(rounds));
        series->cpu.reserve(static_cast<size_t>(rounds));
    }
    pacedMs.wall.reserve(kPacedRounds);
    pacedMs.cpu.reserve(kPacedRounds);

    char samplesAsked[32] = "the default visual";
    if (samples != kSamplesUnset)
        std::snprintf(samplesAsked, sizeof samplesAsked, "--samples=%d", samples);
    std::printf(
        "window %d x %d, %d samples per pixel (%s), %s; medians per frame including swap and "
        "glFinish\n",
        glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT), samplesPerPixel, samplesAsked,
        reinterpret_cast<const char*>(glGetString(GL_RENDERER)));

    RunUntil(kSteadyFromMs);
    Measure("steady plume (speed 1.0)");

    settings.MainSpeed = kFullPoolSpeed;
    RunUntil(kFullPoolFromMs);
    Measure("full pool (speed 0.2)");

    if (countable) {
        glDeleteQueries(1, &shadedQuery);
        glDeleteQueries(1, &passedQuery);
    }
    return 0;
}
