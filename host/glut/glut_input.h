// GLUT's keyboard, special-key, mouse and motion callbacks, translated into the application's own
// codes (common/keys.h) and reported through the host's Input calls (host/input.h).
#pragma once

// Installs the four translating callbacks on the current GLUT window.
void InstallGlutInput();

// The application's code for GLUT's special key `glutKey`, or -1 for one the application has no
// code for.
int SpecialKeyFromGlut(int glutKey);
