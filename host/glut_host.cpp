// The GLUT host: GLUT makes the window and its context, calls the host's handlers from its main
// loop, and does what the application asks of the window.
#include "host/glut_host.h"

#include <GL/freeglut.h>

#include "common/keys.h"
#include "host/app.h"
#include "host/display_mode.h"
#include "host/host.h"
#include "host/host_state.h"
#include "host/options.h"
#include "host/pacing.h"
#include "host/window_identity.h"

namespace {
void IgnoreMotion(int, int) {}
void IgnoreMouse(int, int, int, int) {}
void IgnoreSpecial(int, int, int) {}

int OpenGlutWindow(int argc, char** argv) {
    glutInit(&argc, argv);
    SetDisplayMode(hostOptions.samples);
    // GLUT's -geometry sets the size unless --window names one.
    if (hostOptions.sizeGiven || !hostOptions.geometryGiven) {
        WindowWidth = hostOptions.windowWidth;
        WindowHeight = hostOptions.windowHeight;
        glutInitWindowSize(WindowWidth, WindowHeight);
    }
    glutCreateWindow(WindowTitle());
    IdentifyWindow(WindowTitle());  // the new window is current
    return 0;
}

void InstallHandlers() {
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
}

// GLUT keeps its window until the process ends.
void KeepWindow() {}

WindowSize GlutWindowSize() {
    return {glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT)};
}

void HideGlutPointer() {
    glutSetCursor(GLUT_CURSOR_NONE);
}

void InstallInput(const InputHandlers& handlers) {
    glutKeyboardFunc(handlers.keyboard);
    glutSpecialFunc(handlers.special);
    glutMouseFunc(handlers.mouse);
    glutMotionFunc(handlers.motion);
}
}  // namespace

const WindowSystem kGlutWindowSystem = {
    OpenGlutWindow,     // open
    InstallHandlers,    // listen
    glutMainLoop,       // run
    KeepWindow,         // release
    GlutWindowSize,     // size
    glutFullScreen,     // fullScreen
    glutReshapeWindow,  // resize
    HideGlutPointer,    // hidePointer
    InstallInput,       // takeInput
};

void Display() {
    // A redisplay already on its way when the window went; or a window too large to swap.
    if (WindowHidden || WindowOversize) return;
    DrawFrame();
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

void WindowStatus(int state) {
    const int hidden = state == GLUT_HIDDEN ? 1 : 0;
    if (hidden == WindowHidden) return;
    WindowHidden = hidden;
    if (hidden) {
        if (QuitWhenHidden) QuitProgram();  // no frame would carry the fade-out to its end
        glutIdleFunc(nullptr);
    } else {
        glutIdleFunc(Idle);
        glutPostRedisplay();
    }
}
