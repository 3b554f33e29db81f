// Draws the frames the saver host's test draws (the opening title and the start-up hint at 0.5 s,
// the steady scene at 7 s, the frames between them unseen), at the same clock, in a real host's
// full-screen window, and writes the two back buffers to a file: run once through GLUT on a
// 640 x 480 X server and once on a 640 x 480 Wayland output, the files must be the same bytes.
// Usage: host_frames glut|wayland FILE
#include <GL/freeglut.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "host/app.h"
#include "host/clock.h"
#include "host/glut/glut_host.h"
#include "host/host_state.h"
#include "host/wayland/wayland_display.h"
#include "host/wayland/wayland_host.h"

namespace {
constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kRounds = 400;
constexpr uint64_t kRate = 30;  // frames a second

bool glut = false;

void NoDisplay() {}

void Pump() {
    if (glut) {
        glutMainLoopEvent();
    } else {
        wl_display_roundtrip(wayland.display);
    }
}

// Frames at kRate a second after `fromMs` up to `toMs`, drawn into one pixel but the last.
void RunFrames(uint64_t fromMs, uint64_t toMs) {
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 1, 1);
    for (uint64_t n = fromMs * kRate / 1000 + 1; n * 1000 / kRate <= toMs; ++n) {
        if (n * 1000 / kRate == toMs) glDisable(GL_SCISSOR_TEST);
        SetUptimeMs(n * 1000 / kRate);
        Frame();
        glFinish();
    }
}

void Append(std::vector<unsigned char>& bytes) {
    const size_t at = bytes.size();
    bytes.resize(at + static_cast<size_t>(kWidth) * kHeight * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, bytes.data() + at);
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: host_frames glut|wayland FILE\n");
        return 2;
    }
    glut = std::strcmp(argv[1], "glut") == 0;
    hostOptions.passedArgc = 1;
    hostOptions.passedArgv = argv;
    windowSystem = glut ? &kGlutWindowSystem : &kWaylandWindowSystem;
    if (windowSystem->open() != 0) return 1;
    windowSystem->listen();
    if (glut) {  // the frames are this program's to draw, at its own clock
        glutDisplayFunc(NoDisplay);
        glutIdleFunc(nullptr);
    }
    Init();
    for (int i = 0; i < kRounds && (WindowWidth != kWidth || WindowHeight != kHeight); ++i) Pump();
    if (WindowWidth != kWidth || WindowHeight != kHeight) {
        std::fprintf(stderr, "host_frames: the window is %d x %d, not %d x %d\n", WindowWidth,
                     WindowHeight, kWidth, kHeight);
        return 1;
    }
    std::vector<unsigned char> bytes;
    RunFrames(0, 500);
    Append(bytes);
    RunFrames(500, 7000);
    Append(bytes);
    std::FILE* out = std::fopen(argv[2], "wb");
    if (out == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size() ||
        std::fclose(out) != 0) {
        std::perror(argv[2]);
        return 1;
    }
    return 0;
}
