// Choosing the display mode, and the sample count a display can give.
#include "host/glut/display_mode.h"

#include <GL/freeglut_ext.h>

#include <cstdio>
#include <cstdlib>

namespace {
// Samples per pixel of a visual: one for a visual without multisampling.
int PerPixel(int samples) {
    return samples == 0 ? 1 : samples;
}
}  // namespace

int NearestSampleCount(int requested, const int* offered, int count) {
    if (requested == kSamplesUnset) return kSamplesUnset;
    int nearest = 0;  // no multisampling is always there
    for (int i = 0; i < count; ++i) {
        const int distance = std::abs(offered[i] - PerPixel(requested));
        const int best = std::abs(PerPixel(nearest) - PerPixel(requested));
        if (distance < best || (distance == best && offered[i] > nearest)) nearest = offered[i];
    }
    return nearest;
}

int SetDisplayMode(int requested) {
    int chosen = requested;
    if (requested > 0) {
        int count = 0;
        int* offered = glutGetModeValues(GLUT_MULTISAMPLE, &count);
        chosen = NearestSampleCount(requested, offered, offered != nullptr ? count : 0);
        std::free(offered);
        if (PerPixel(chosen) != PerPixel(requested)) {
            std::fprintf(stderr,
                         "wispra: the display has no visual with %d samples per pixel; using %d\n",
                         requested, chosen);
        }
    }
    glutInitDisplayMode(DisplayModeFor(chosen));
    if (chosen > 0) glutSetOption(GLUT_MULTISAMPLE, chosen);
    return chosen;
}
