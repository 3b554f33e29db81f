// The host both window systems share: the command line, the start-up order, the frame clock's
// step and the orderly end. It reaches the window system only through the WindowSystem in use.
#include "host/host.h"

#include <GL/gl.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/app.h"
#include "host/clock.h"
#include "host/data_files.h"
#include "host/glut_host.h"
#include "host/heap.h"
#include "host/host_state.h"
#include "host/options.h"
#include "host/saver_host.h"
#include "host/swap_control.h"
#include "host/window_limit.h"

namespace {
// Writes `text` on standard output: 0, or kFailureStatus with one line on standard error when it
// cannot be written (a full disk, a closed pipe), so that a lost answer is not taken for success.
int PrintAnswer(const char* text) {
    if (std::fputs(text, stdout) >= 0 && std::fflush(stdout) == 0) return 0;
    std::fprintf(stderr, "wispra: cannot write to standard output: %s\n", std::strerror(errno));
    return kFailureStatus;
}
}  // namespace

void QuitProgram() {
    Shutdown();
    windowSystem->release();
    std::exit(0);
}

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
}

void DrawFrame() {
    SetUptimeMs(TicksToUptimeMs(ReadCounter() - CounterStart, CounterFrequency));
    if (!Frame()) QuitProgram();
    TrimHeapWhenSettled(UptimeMs);
}

int RunHost(int argc, char** argv) {
    // Help, version and mistakes are answered before anything else happens.
    const ParsedOptions parsed = ParseOptions(argc, argv);
    switch (parsed.verdict) {
        case OptionsVerdict::kHelp:
            return PrintAnswer(UsageText());
        case OptionsVerdict::kVersion:
            return PrintAnswer(VersionLine());
        case OptionsVerdict::kBad:
            std::fprintf(stderr, "%s\n", parsed.complaint);
            return kUsageStatus;
        case OptionsVerdict::kRun:
            break;
    }
    hostOptions = parsed.options;
    // Before GL starts: the renderer's own threads then allocate under the same settings.
    ConfigureHeap();
    windowSystem = hostOptions.saver ? &kSaverWindowSystem : &kGlutWindowSystem;

    dataFolders = InstalledDataFolders(ExecutableFolder());

    if (!PreInit()) {
        std::fputs("App returned false on PreInit(), we shouldn't really continue.\n", stderr);
        std::exit(kFailureStatus);
    }
    if (const int status = windowSystem->open(parsed.glutArgc, argv)) return status;
    windowSystem->listen();
    // Swaps then wait for the vertical blank where the driver can; --max-fps=0 leaves the driver's
    // own choice, for drawing as fast as it allows.
    if (hostOptions.maxFps > 0) RequestSwapInterval(1);

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
