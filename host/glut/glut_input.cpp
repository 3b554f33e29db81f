// GLUT's input codes, in one place: the arrow keys, the buttons and their states.
#include "host/glut/glut_input.h"

#include <GL/freeglut.h>

#include "common/keys.h"
#include "host/input.h"

namespace {
struct KeyCode {
    int glut;
    int application;
};
constexpr KeyCode kSpecialKeys[] = {
    {GLUT_KEY_LEFT, kKeyLeft},
    {GLUT_KEY_UP, kKeyUp},
    {GLUT_KEY_RIGHT, kKeyRight},
    {GLUT_KEY_DOWN, kKeyDown},
};

MouseButton ButtonFromGlut(int button) {
    switch (button) {
        case GLUT_LEFT_BUTTON:
            return MouseButton::kLeft;
        case GLUT_MIDDLE_BUTTON:
            return MouseButton::kMiddle;
        case GLUT_RIGHT_BUTTON:
            return MouseButton::kRight;
        default:
            return MouseButton::kOther;  // a wheel step, or a button beyond the third
    }
}

void GlutSpecial(int key, int x, int y) {
    const int code = SpecialKeyFromGlut(key);
    if (code >= 0) InputSpecialKey(code, x, y);
}

void GlutMouse(int button, int state, int x, int y) {
    InputButton(ButtonFromGlut(button),
                state == GLUT_DOWN ? ButtonAction::kPress : ButtonAction::kRelease, x, y);
}
}  // namespace

void InstallGlutInput() {
    glutMotionFunc(InputMotion);
    glutMouseFunc(GlutMouse);
    glutKeyboardFunc(InputKey);
    glutSpecialFunc(GlutSpecial);
}

int SpecialKeyFromGlut(int glutKey) {
    for (const KeyCode& key : kSpecialKeys) {
        if (key.glut == glutKey) return key.application;
    }
    return -1;
}
