// The GLUT shell: start-up order, the host's handlers and the orderly end of the process.
#include "host/host.h"

#include <GL/freeglut.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/keys.h"
#include "host/app.h"
#include "host/clock.h"
#include "host/data_files.h"
#include "host/display_mode.h"
#include "host/host_state.h"
#include "host/options.h"
#include "host/pacing.h"
#include "host/swap_control.h"
#include "host/window_identity.h"

namespace {
constexpr int kFailureStatus = 1;  // exit status for a failed start or unwritable output
constexpr int kUsageStatus = 2;    // exit status for a bad command line

// Writes `text` on standard output: 0, or kFailureStatus with one line on standard error when it
// cannot be written (a full disk, a closed pipe), so that a lost answer is not taken for success.
int PrintAnswer(const char* text) {
    if (std::fputs(text, stdout) >= 0 && std::fflush(stdout) == 0) return 0;
    std::fprintf(stderr, "wispra: cannot write to standard output: %s\n", std::strerror(errno));
    return kFailureStatus;
}

void IgnoreMotion(int, int) {}
void IgnoreMouse(int, int, int, int) {}
void IgnoreSpecial(int, int, int) {}
}  // namespace

void QuitProgram() {
    Shutdown();
    std::exit(0);
}

void Reshape(int width, int height) {
    WindowWidth = width;
    WindowHeight = height;
    glViewport(0, 0, width, height);
}

void Display() {
    if (WindowHidden) return;  // a redisplay already on its way when the window went
    SetUptimeMs(TicksToUptimeMs(ReadCounter() - CounterStart, CounterFrequency));
    if (!Frame()) QuitProgram();  // the unfinished picture is not swapped
    glutSwapBuffers();
}

void Idle() {
    WaitForNextFrame();
    glutPostRedisplay();
}

void HostKeyboard(unsigned char key, int, int) {
    if (key == kEscape) QuitProgram();
    if (key == 'F' || key == 'f') {
        HostFullScreen = !HostFullScreen;
        if (HostFullScreen) {
            glutFullScreen();
        } else {
            glutReshapeWindow(kStartWindowWidth, kStartWindowHeight);
        }
    }
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
    argc = parsed.glutArgc;

    dataFolders = InstalledDataFolders(ExecutableFolder());

    if (!PreInit()) {
        std::fputs("App returned false on PreInit(), we shouldn't really continue.\n", stderr);
        std::exit(kFailureStatus);
    }
    glutInit(&argc, argv);
    glutInitDisplayMode(kDisplayMode);
    // GLUT's -geometry sets the size unless --window names one.
    if (hostOptions.sizeGiven || !hostOptions.geometryGiven) {
        WindowWidth = hostOptions.windowWidth;
        WindowHeight = hostOptions.windowHeight;
        glutInitWindowSize(WindowWidth, WindowHeight);
    }
    glutCreateWindow(WindowTitle());
    IdentifyWindow(WindowTitle());  // the new window is current

    glutReshapeFunc(Reshape);
    glutDisplayFunc(Display);
    glutIdleFunc(Idle);
    glutMotionFunc(IgnoreMotion);
    glutMouseFunc(IgnoreMouse);
    glutKeyboardFunc(HostKeyboard);
    glutSpecialFunc(IgnoreSpecial);
    glutWindowStatusFunc(WindowStatus);
    // An iconic start stays idle until the window is first shown.
    if (hostOptions.startIconic) WindowStatus(GLUT_HIDDEN);
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
    glutMainLoop();
    QuitProgram();
}
