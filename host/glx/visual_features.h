// Whether an X visual can hold the program's GL drawing: OpenGL, RGBA and double buffering, as
// GLX describes it. For a window another program made, whose visual the program cannot choose.
#pragma once

#include <GL/glx.h>

// What a visual lacks that the program needs, as said in its refusal ("OpenGL", "RGBA", "double
// buffering" or "RGBA and double buffering"); null when it has it all. Each argument is the 0/1
// answer to GLX's question of the same name.
const char* MissingVisualFeatures(int usesGl, int rgba, int doubleBuffered);

// MissingVisualFeatures for `visual` on `display`, asked of GLX.
const char* MissingGlxFeatures(Display* display, XVisualInfo* visual);
