// An EGL context for the scene: desktop OpenGL in the compatibility profile, since the scene is
// OpenGL 1.1, on a window surface of a native display. For the hosts whose window system has no
// GL binding of its own (Wayland).
//
// Implements: the display, a framebuffer without alpha (an opaque window) with depth and the
// samples --samples asks for (4 without it, as the X hosts' visual), the context, one window
// surface at a time, the swap and its interval.
#pragma once

// Opens EGL on the native display `nativeDisplay` of the EGL platform `platform` (an
// EGL_PLATFORM_*_KHR value) and makes the context, with `samples` per pixel (kSamplesUnset: 4).
// False, with one line on standard error, when it cannot.
bool OpenEglContext(unsigned int platform, void* nativeDisplay, int samples);

// Makes a window surface for the native window `nativeWindow` and makes the context current on
// it, in place of the one before. False, with one line on standard error, when it cannot.
bool MakeEglWindowSurface(void* nativeWindow);

// Shows the frame drawn on the current surface.
void SwapEglBuffers();

// Makes swaps wait for `interval` vertical blanks (0: none). False where the driver refuses.
bool SetEglSwapInterval(int interval);

// Lets go of the surface and the context. The display closes with the process: terminated here,
// it would unload the GL driver before the sanitized build's leak check, which would then take
// the driver's memory for leaks (see tools/leak_check_at_exit.cpp).
void ReleaseEglContext();
