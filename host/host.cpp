// The host every window system shares: the start-up order, the frame step, the hidden window and
// the orderly end. It reaches the window system only through the WindowSystem in use.
#include "host/host.h"

#include <GL/gl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/app.h"
#include "host/clock.h"
#include "host/heap.h"
#include "host/host_state.h"
#include "host/window_limit.h"
#include "host/window_system.h"

void QuitProgram() {
    Shutdown();
    windowSystem->release();
    std::exit(endOfRun != nullptr ? endOfRun() : 0);
}

namespace {
// Frames are neither drawn nor swapped: the window is hidden or too large to draw.
bool WindowUndrawn() {
    return WindowHidden || WindowOversize;
}

void QuitWhenUndrawnNow() {
    if (QuitWhenUndrawn && WindowUndrawn()) QuitProgram();
}
}  // namespace

void Reshape(int width, int height) {
    WindowWidth = width;
    WindowHeight = height;
    glViewport(0, 0, width, height);
    GLint samples = 0;  // of the window's visual, which --samples chose
    glGetIntegerv(GL_SAMPLES, &samples);
    const int oversize = WindowDrawable(width, height, samples) ? 0 : 1;
    if (oversize && !WindowOversize) WarnWindowTooLarge(width, height, samples);
    WindowOversize = oversize;
    ScheduleHeapTrim(UptimeMs);
    QuitWhenUndrawnNow();
}

void DrawFrame() {
    SetUptimeMs(TicksToUptimeMs(ReadCounter() - CounterStart, CounterFrequency));
    if (!Frame()) QuitProgram();
    TrimHeapWhenSettled(UptimeMs);
}

void StepFrame() {
    // A frame already on its way when the window went; or a window too large to swap.
    if (WindowUndrawn()) return;
    DrawFrame();
    windowSystem->swap();
}

void SetWindowHidden(int hidden) {
    WindowHidden = hidden;
    QuitWhenUndrawnNow();
}

void SetQuitWhenUndrawn(int quit) {
    QuitWhenUndrawn = quit;
    QuitWhenUndrawnNow();
}

void SayFailure(const char* line) {
    if (write(STDERR_FILENO, line, std::strlen(line)) < 0 || write(STDERR_FILENO, "\n", 1) < 0) {
    }
}

void EndWithFailedWindowSystem(const char* line) {
    if (line != nullptr) SayFailure(line);
    const int saved = endOfRun != nullptr ? endOfRun() : 0;
    std::_Exit(line != nullptr ? kFailureStatus : saved);
}

int RunHost(const WindowSystem& system) {
    // Before GL starts: the renderer's own threads then allocate under the same settings.
    ConfigureHeap();
    windowSystem = &system;

    if (!PreInit()) {
        std::fputs("App returned false on PreInit(), we shouldn't really continue.\n", stderr);
        std::exit(kFailureStatus);
    }
    if (const int status = windowSystem->open()) return status;
    windowSystem->listen();
    // Swaps then wait for the vertical blank where the window system can; --max-fps=0 leaves the
    // driver's own choice, for drawing as fast as it allows.
    if (hostOptions.maxFps > 0) windowSystem->setSwapInterval(1);

    CounterFrequency = ReadCounterFrequency();
    CounterStart = ReadCounter();
    NextFrameDue = CounterStart;

    if (!Init()) {
        std::fputs("App failed to initialize.\n", stderr);
        std::exit(kFailureStatus);
    }
    windowSystem->run();
    QuitProgram();
}
