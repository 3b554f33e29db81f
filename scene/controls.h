// The scene's keyboard, arrow-key and mouse handlers, which replace the host's at start-up.
#pragma once

#include "common/keys.h"

// Keyboard function: the standard controls, then the scene's own keys.
void SceneKeyboard(unsigned char key, int x, int y);
// The scene's own keys: tessellation and smoke option.
void SimulationKeys(unsigned char key);
// Special-key function: the four arrow keys (SpecialKey).
void SceneSpecial(int key, int x, int y);
// Mouse function: the left button starts and ends a drag.
void SceneMouse(MouseButton button, ButtonAction action, int x, int y);
// Motion function: the pointer's offset from the window centre while a button is held.
void SceneMotion(int x, int y);
