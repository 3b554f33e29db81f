// The GLUT host: GLUT makes the window and its context, calls the host's handlers from its main
// loop, and does what the application asks of the window.
#include "host/glut/glut_host.h"

#include <GL/freeglut.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "host/app.h"
#include "host/glut/display_mode.h"
#include "host/glut/glut_input.h"
#include "host/glut/window_identity.h"
#include "host/glx/display_scale.h"
#include "host/glx/swap_control.h"
#include "host/glx/x_failures.h"
#include "host/host.h"
#include "host/host_state.h"
#include "host/pacing.h"

namespace {
int displayScale = 1;  // the text factor the display asks for, 1..8; written by OpenGlutWindow

// GLUT's fatal errors (no display, no visual, no context) end the program in its one line.
void EndOnGlutError(const char* format, va_list arguments) {
    char line[kFailureLineBytes] = "wispra: ";
    const size_t prefix = std::strlen(line);
    std::vsnprintf(line + prefix, sizeof line - prefix, format, arguments);
    EndWithFailedWindowSystem(line);
}

void WarnOfGlut(const char* format, va_list arguments) {
    std::fputs("wispra: ", stderr);
    std::vfprintf(stderr, format, arguments);
    std::fputc('\n', stderr);
}

int OpenGlutWindow() {
    if (!WatchXServerOf(hostOptions.displayName)) return kFailureStatus;
    glutInitErrorFunc(EndOnGlutError);
    glutInitWarningFunc(WarnOfGlut);
    glutInit(&hostOptions.passedArgc, hostOptions.passedArgv);
    EndOnXErrors();
    // The window manager's close ends the run through QuitProgram, as every other end does, not
    // inside GLUT.
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
    SetDisplayMode(hostOptions.samples);
    // GLUT's -geometry sets the size unless --window names one.
    if (hostOptions.sizeGiven || !hostOptions.geometryGiven) {
        WindowWidth = hostOptions.windowWidth;
        WindowHeight = hostOptions.windowHeight;
        glutInitWindowSize(WindowWidth, WindowHeight);
    }
    const char* title = WindowTitle();  // asked once, for GLUT and for the desktop
    glutCreateWindow(title);
    IdentifyWindow(title);  // the new window is current
    displayScale = CurrentDisplayTextScale();
    return 0;
}

void InstallHandlers() {
    glutReshapeFunc(Reshape);
    glutDisplayFunc(Display);
    glutIdleFunc(Idle);
    InstallGlutInput();
    glutWindowStatusFunc(WindowStatus);
    // Closed by the window manager or destroyed by another client, the window ends the run.
    glutCloseFunc(glutLeaveMainLoop);
    // An iconic start stays idle until the window is first shown.
    if (hostOptions.startIconic) WindowStatus(GLUT_HIDDEN);
}

// GLUT keeps its window until the process ends.
void KeepWindow() {}

WindowSize GlutWindowSize() {
    return {glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT)};
}

void HideGlutPointer() {
    glutSetCursor(GLUT_CURSOR_NONE);
}

int GlutTextScale() {
    return displayScale;
}
}  // namespace

const WindowSystem kGlutWindowSystem = {
    OpenGlutWindow,       // open
    InstallHandlers,      // listen
    glutMainLoop,         // run
    KeepWindow,           // release
    glutSwapBuffers,      // swap
    RequestSwapInterval,  // setSwapInterval
    GlutWindowSize,       // size
    glutFullScreen,       // fullScreen
    glutReshapeWindow,    // resize
    HideGlutPointer,      // hidePointer
    GlutTextScale,        // textScale
    1,                    // readsInput
    0,                    // distinctStarts: a window replays its motion
};

void Display() {
    StepFrame();
}

void Idle() {
    WaitForNextFrame();
    glutPostRedisplay();
}

void WindowStatus(int state) {
    const int hidden = state == GLUT_HIDDEN ? 1 : 0;
    if (hidden == WindowHidden) return;
    SetWindowHidden(hidden);
    if (hidden) {
        glutIdleFunc(nullptr);
    } else {
        glutIdleFunc(Idle);
        glutPostRedisplay();
    }
}
