// The one path of input from every host to the handlers in use.
#include "host/input.h"

#include "host/host.h"
#include "host/host_options.h"
#include "host/host_state.h"
#include "host/window_system.h"

namespace {
void IgnoreSpecial(int, int, int) {}
void IgnoreMouse(MouseButton, ButtonAction, int, int) {}
void IgnoreMotion(int, int) {}
}  // namespace

void InputKey(unsigned char key, int x, int y) {
    inputHandlers.keyboard(key, x, y);
}

void InputSpecialKey(int key, int x, int y) {
    inputHandlers.special(key, x, y);
}

void InputButton(MouseButton button, ButtonAction action, int x, int y) {
    inputHandlers.mouse(button, action, x, y);
}

void InputMotion(int x, int y) {
    inputHandlers.motion(x, y);
}

void TakeInput(const InputHandlers& handlers) {
    inputHandlers = handlers;
}

void HostKeyboard(unsigned char key, int, int) {
    if (key == kEscape) QuitProgram();
    if (key == 'F' || key == 'f') {
        HostFullScreen = !HostFullScreen;
        if (HostFullScreen) {
            RequestFullScreen();
        } else {
            RequestWindowSize(kStartWindowWidth, kStartWindowHeight);
        }
    }
}

InputHandlers HostInputHandlers() {
    return {HostKeyboard, IgnoreSpecial, IgnoreMouse, IgnoreMotion};
}
