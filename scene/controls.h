// The scene's keyboard, arrow-key and mouse handlers, which replace the host's at start-up.
#pragma once

// GLUT keyboard function: the standard controls, then the scene's own keys.
void SceneKeyboard(unsigned char key, int x, int y);
// The scene's own keys: tessellation and smoke option.
void SimulationKeys(unsigned char key);
// GLUT special-key function: the four arrow keys.
void SceneSpecial(int key, int x, int y);
// GLUT mouse function: the left button starts and ends a drag.
void SceneMouse(int button, int state, int x, int y);
// GLUT motion function: the pointer's offset from the window centre while a button is held.
void SceneMotion(int x, int y);
