// The framebuffer the program asks GLUT for: RGBA, double-buffered, with depth, multisampled.
// The reference pictures and the benchmark's figures depend on it, so every window the program,
// its tests and its benchmark open takes it from here.
#pragma once

#include <GL/freeglut.h>

constexpr unsigned int kDisplayMode = GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_MULTISAMPLE;
