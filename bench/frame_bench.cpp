// Frame-time benchmark: the real Init and Frame in a real window at 1280 x 720 with the program's
// display mode, stepped at a simulated 1/60 s, against the floor of the same window's bare clear
// and swap, measured interleaved in one run. Prints the medians and their ratio for the steady
// plume and for a full particle pool.
#include <GL/freeglut.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <vector>

#include "host/app.h"
#include "host/host.h"
#include "particles/particle_system.h"
#include "scene/scene_state.h"
#include "scene/settings.h"

namespace {
constexpr int kWidth = 1280;
constexpr int kHeight = 720;
constexpr unsigned int kDisplayMode = GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_MULTISAMPLE;
constexpr int kStepsPerSecond = 60;
constexpr uint32_t kSteadyFromMs = 8000;  // past the title, the plume at its steady size
constexpr int kMeasuredFrames = 600;
constexpr float kFullPoolSpeed = 0.2f;  // lifetime 25 s at 30 emissions a second: > 640
constexpr uint32_t kFullPoolFromMs = 40000;

uint64_t frameIndex = 0;  // simulated frames so far; frame n runs at n * 1000 / 60 ms

void NoDisplay() {}

void PumpEvents() {
    for (int i = 0; i < 20; ++i) glutMainLoopEvent();
}

uint32_t StepMs() {
    return static_cast<uint32_t>(frameIndex * 1000 / kStepsPerSecond);
}

void SceneFrame() {
    ++frameIndex;
    ElapsedMs = StepMs();
    Frame();
    glutSwapBuffers();
    glFinish();
}

void FloorFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutSwapBuffers();
    glFinish();
}

void RunUntil(uint32_t ms) {
    while (StepMs() < ms) SceneFrame();
}

double Milliseconds(void (*frame)()) {
    const auto start = std::chrono::steady_clock::now();
    frame();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double Median(std::vector<double>& samples) {
    const auto middle = samples.begin() + static_cast<std::ptrdiff_t>(samples.size() / 2);
    std::nth_element(samples.begin(), middle, samples.end());
    return *middle;
}

int LiveParticles() {
    int live = 0;
    for (const Particle& p : particleSystem.particles) live += p.alive;
    return live;
}

void Measure(const char* label) {
    std::vector<double> scene;
    std::vector<double> floor;
    scene.reserve(kMeasuredFrames);
    floor.reserve(kMeasuredFrames);
    int liveMin = kParticlePool;
    for (int i = 0; i < kMeasuredFrames; ++i) {
        scene.push_back(Milliseconds(SceneFrame));
        floor.push_back(Milliseconds(FloorFrame));
        liveMin = std::min(liveMin, LiveParticles());
    }
    const double sceneMs = Median(scene);
    const double floorMs = Median(floor);
    std::printf("%-28s live >= %3d   scene %7.3f ms   floor %7.3f ms   ratio %5.2f\n", label,
                liveMin, sceneMs, floorMs, sceneMs / floorMs);
}
}  // namespace

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(kDisplayMode);
    glutInitWindowSize(kWidth, kHeight);
    glutCreateWindow(WindowTitle());
    glutReshapeFunc(Reshape);
    glutDisplayFunc(NoDisplay);
    PumpEvents();
    Init();
    PumpEvents();
    glutReshapeWindow(kWidth, kHeight);
    PumpEvents();
    std::printf("window %d x %d, %d frames each, medians per frame including swap and glFinish\n",
                glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT), kMeasuredFrames);

    RunUntil(kSteadyFromMs);
    Measure("steady plume (speed 1.0)");

    settings.MainSpeed = kFullPoolSpeed;
    RunUntil(kFullPoolFromMs);
    Measure("full pool (speed 0.2)");
    return 0;
}
