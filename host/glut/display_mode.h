// The framebuffer the program asks GLUT for: RGBA, double-buffered, with depth, multisampled.
// The reference pictures and the benchmark's figures depend on it, so every window the program,
// its tests and its benchmark open takes it from here. --samples=N changes only the multisampling.
#pragma once

#include <GL/freeglut.h>

#include "host/host_options.h"

constexpr unsigned int kDisplayMode = GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_MULTISAMPLE;

// The display mode for `samples` per pixel: kDisplayMode without multisampling for 0, and
// kDisplayMode itself otherwise (kSamplesUnset included).
constexpr unsigned int DisplayModeFor(int samples) {
    return samples == 0 ? kDisplayMode & ~static_cast<unsigned int>(GLUT_MULTISAMPLE)
                        : kDisplayMode;
}

// The sample count to ask for when `requested` per pixel is wanted and the display offers the
// multisampled visuals of `offered` (`count` counts, each above 1): `requested` itself when
// offered, or else the nearest offered count, the larger of two equally near. A visual without
// multisampling (0) counts as 1 sample per pixel and is always offered, so 1 gives 0.
// kSamplesUnset stays as it is.
int NearestSampleCount(int requested, const int* offered, int count);

// After glutInit: sets GLUT's display mode for `requested` samples per pixel (kSamplesUnset:
// exactly kDisplayMode, GLUT's sample count untouched). A count the display does not offer is
// replaced by the nearest one that it does, with one line on standard error. Returns the count
// asked for.
int SetDisplayMode(int requested);
