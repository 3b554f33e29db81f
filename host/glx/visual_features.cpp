// The visual checks of a window the program did not create.
#include "host/glx/visual_features.h"

namespace {
int AskGlx(Display* display, XVisualInfo* visual, int attribute) {
    int value = 0;
    if (glXGetConfig(display, visual, attribute, &value) != 0) return 0;
    return value != 0 ? 1 : 0;
}
}  // namespace

const char* MissingVisualFeatures(int usesGl, int rgba, int doubleBuffered) {
    if (!usesGl) return "OpenGL";
    if (!rgba && !doubleBuffered) return "RGBA and double buffering";
    if (!rgba) return "RGBA";
    if (!doubleBuffered) return "double buffering";
    return nullptr;
}

const char* MissingGlxFeatures(Display* display, XVisualInfo* visual) {
    return MissingVisualFeatures(AskGlx(display, visual, GLX_USE_GL),
                                 AskGlx(display, visual, GLX_RGBA),
                                 AskGlx(display, visual, GLX_DOUBLEBUFFER));
}
