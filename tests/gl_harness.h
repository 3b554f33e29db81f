// A real freeglut window on the test's X display, and helpers that drive the scene
// deterministically: the clock is set, never waited for.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "program/options.h"

// The test window is the program's start window (kStartWindowWidth x kStartWindowHeight), on a
// screen of the same size.

// Handles the window-system events that are waiting (reshapes, map notifications).
void PumpEvents();
// Resizes the real window and waits until GLUT and the host both see the new size.
void ResizeWindow(int width, int height);

// Releases the scene's GL objects and puts every layer's state back as it is at process start.
void ResetProgramState();
// A fresh start: ResetProgramState, then the scene's Init, in the test window.
void StartScene();
// Checks every setting, the pause and the brightness against the defaults a reset restores.
void ExpectSceneDefaults();
// One frame with the host's uptime at `ms`.
void RunFrameAt(uint64_t ms);
// Frames at a steady rate from `fromMs` (exclusive) up to `toMs` (inclusive): frame n at
// n * 1000 / fps milliseconds.
void RunFramesAtRate(uint32_t fromMs, uint32_t toMs, int fps);
// The same frames drawn into a one-pixel scissor box, for long runs whose pictures nobody looks
// at. With blanking on, what a frame draws never feeds back into the scene, so the frame after
// them draws the same picture as after a full run, in a fraction of the time.
void RunFramesUnseen(uint32_t fromMs, uint32_t toMs, int fps);

// The back buffer as RGB bytes, bottom row first, at the size the host in use gives the window.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
    size_t Offset(int x, int y) const {
        return (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3;
    }
    const unsigned char* At(int x, int y) const { return &rgb[Offset(x, y)]; }
    unsigned char* At(int x, int y) { return &rgb[Offset(x, y)]; }
};
Picture ReadPicture();

// One primitive as GL's feedback mode reports it, in window coordinates.
struct FeedbackVertex {
    float x, y, z;
    float r, g, b, a;
    float s, t, p, q;
};
struct FeedbackPrimitive {
    GLenum token;  // GL_POLYGON_TOKEN, GL_LINE_TOKEN, GL_POINT_TOKEN, ...
    std::vector<FeedbackVertex> vertices;
};
// Runs `draw` in feedback mode (GL_3D_COLOR_TEXTURE) and returns what it emitted.
std::vector<FeedbackPrimitive> CaptureFeedback(const std::function<void()>& draw);

// Writes a picture as a PNG file; false on failure.
bool WritePng(const std::string& path, const Picture& picture);
// Reads a PNG file written by WritePng; false on failure.
bool ReadPng(const std::string& path, Picture& picture);

// Folder for pictures written by failing tests (created on demand).
std::string TestOutputDir();

// Compares `actual` with the committed reference picture `name`.png: it matches when at most
// `maxShare` of the pixels differ by more than `tolerance` (of 255) in some channel. On a
// mismatch the actual picture and a map of the differences go to test-output/ as
// `name`.actual.png and `name`.diff.png. With WISPRA_UPDATE_REFERENCE set, the reference is
// rewritten from `actual` instead and the result says so.
struct ReferenceResult {
    bool matches = false;
    bool rewritten = false;
    std::string message;  // what went wrong, or where the rewritten reference is
};
ReferenceResult CompareWithReference(const std::string& name, const Picture& actual, int tolerance,
                                     double maxShare);
