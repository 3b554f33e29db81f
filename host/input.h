// Keys and the mouse, in the application's own terms (common/keys.h). Every host that reads input
// reports it through the Input calls below, translated from its window system's events; they go to
// the handlers in use: the host's defaults (HostKeyboard) until the application takes the input.
#pragma once

#include "common/keys.h"

// The application's input handlers. x and y are window pixels from the top left.
struct InputHandlers {
    void (*keyboard)(unsigned char key, int x, int y);  // a key that types a character
    void (*special)(int key, int x, int y);             // a SpecialKey
    void (*mouse)(MouseButton button, ButtonAction action, int x, int y);
    void (*motion)(int x, int y);  // the pointer moved while a button is held
};

// What the hosts report.
void InputKey(unsigned char key, int x, int y);
void InputSpecialKey(int key, int x, int y);
void InputButton(MouseButton button, ButtonAction action, int x, int y);
void InputMotion(int x, int y);

// Hands keys and the mouse to `handlers` in place of the host's defaults. A host that reads no
// input (a window another program made) simply never reports any.
void TakeInput(const InputHandlers& handlers);

// The host's default keys: Escape quits at once; f toggles between full screen and the start
// window's size.
void HostKeyboard(unsigned char key, int x, int y);

// The host's default handlers: HostKeyboard, and nothing for the rest.
InputHandlers HostInputHandlers();
