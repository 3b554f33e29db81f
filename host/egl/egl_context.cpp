// The EGL display, framebuffer configuration, context and window surface.
#include "host/egl/egl_context.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstdio>

#include "host/host_options.h"

namespace {
constexpr int kDefaultSamples = 4;  // what the X hosts' display mode gives without --samples

EGLDisplay eglDisplay = EGL_NO_DISPLAY;  // null before OpenEglContext; written by it
EGLConfig eglConfig = nullptr;           // the framebuffer chosen; written by OpenEglContext
EGLContext eglContext = EGL_NO_CONTEXT;  // written by OpenEglContext and ReleaseEglContext
EGLSurface eglSurface = EGL_NO_SURFACE;  // the window drawn into; MakeEglWindowSurface, Release

bool Refuse(const char* what) {
    std::fprintf(stderr, "wispra: %s (EGL error 0x%04x)\n", what,
                 static_cast<unsigned int>(eglGetError()));
    return false;
}

// The first configuration for a window with 8 bits a colour, no alpha, depth and `samples`
// samples per pixel (0: none), or null.
EGLConfig ChooseConfig(int samples) {
    const EGLint attributes[] = {
        EGL_SURFACE_TYPE,
        EGL_WINDOW_BIT,
        EGL_RENDERABLE_TYPE,
        EGL_OPENGL_BIT,
        EGL_RED_SIZE,
        8,
        EGL_GREEN_SIZE,
        8,
        EGL_BLUE_SIZE,
        8,
        EGL_ALPHA_SIZE,
        0,
        EGL_DEPTH_SIZE,
        24,
        EGL_SAMPLE_BUFFERS,
        samples > 1 ? 1 : 0,
        EGL_SAMPLES,
        samples > 1 ? samples : 0,
        EGL_NONE,
    };
    EGLConfig configs[64];
    EGLint count = 0;
    if (!eglChooseConfig(eglDisplay, attributes, configs, 64, &count)) return nullptr;
    // The sizes are minimums, and larger ones come first. The picture is that of the X hosts'
    // 8-bit visuals only with 8 bits a colour exactly, and an opaque window wants no alpha at all,
    // so that the compositor never shows what lies behind through the smoke's alpha.
    auto exactly = [](EGLConfig config, EGLint attribute, EGLint bits) {
        EGLint value = -1;
        eglGetConfigAttrib(eglDisplay, config, attribute, &value);
        return value == bits;
    };
    for (EGLint i = 0; i < count; ++i) {
        if (exactly(configs[i], EGL_RED_SIZE, 8) && exactly(configs[i], EGL_GREEN_SIZE, 8) &&
            exactly(configs[i], EGL_BLUE_SIZE, 8) && exactly(configs[i], EGL_ALPHA_SIZE, 0))
            return configs[i];
    }
    return count > 0 ? configs[0] : nullptr;
}
}  // namespace

bool OpenEglContext(unsigned int platform, void* nativeDisplay, int samples) {
    eglDisplay = eglGetPlatformDisplay(platform, nativeDisplay, nullptr);
    EGLint major = 0;
    EGLint minor = 0;
    if (eglDisplay == EGL_NO_DISPLAY || !eglInitialize(eglDisplay, &major, &minor))
        return Refuse("cannot open EGL on the display");
    if (!eglBindAPI(EGL_OPENGL_API)) return Refuse("EGL offers no desktop OpenGL here");
    const int wanted = samples == kSamplesUnset ? kDefaultSamples : samples;
    eglConfig = ChooseConfig(wanted);
    if (eglConfig == nullptr && wanted > 1) {
        std::fprintf(stderr,
                     "wispra: the display has no framebuffer with %d samples per pixel; "
                     "using none\n",
                     wanted);
        eglConfig = ChooseConfig(0);
    }
    if (eglConfig == nullptr) return Refuse("EGL offers no framebuffer for the scene");
    const EGLint compatibility[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                    EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    eglContext = eglCreateContext(eglDisplay, eglConfig, EGL_NO_CONTEXT, compatibility);
    if (eglContext == EGL_NO_CONTEXT)  // an EGL before 1.5 without the profile attribute
        eglContext = eglCreateContext(eglDisplay, eglConfig, EGL_NO_CONTEXT, nullptr);
    if (eglContext == EGL_NO_CONTEXT) return Refuse("cannot make an OpenGL context");
    return true;
}

bool MakeEglWindowSurface(void* nativeWindow) {
    EGLSurface surface =
        eglCreatePlatformWindowSurface(eglDisplay, eglConfig, nativeWindow, nullptr);
    if (surface == EGL_NO_SURFACE) return Refuse("cannot make a window surface");
    if (!eglMakeCurrent(eglDisplay, surface, surface, eglContext)) {
        eglDestroySurface(eglDisplay, surface);
        return Refuse("cannot make the OpenGL context current");
    }
    if (eglSurface != EGL_NO_SURFACE) eglDestroySurface(eglDisplay, eglSurface);
    eglSurface = surface;
    return true;
}

void SwapEglBuffers() {
    eglSwapBuffers(eglDisplay, eglSurface);
}

bool SetEglSwapInterval(int interval) {
    return eglSwapInterval(eglDisplay, interval) == EGL_TRUE;
}

void ReleaseEglContext() {
    if (eglDisplay == EGL_NO_DISPLAY) return;
    eglMakeCurrent(eglDisplay, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (eglSurface != EGL_NO_SURFACE) eglDestroySurface(eglDisplay, eglSurface);
    if (eglContext != EGL_NO_CONTEXT) eglDestroyContext(eglDisplay, eglContext);
    eglSurface = EGL_NO_SURFACE;
    eglContext = EGL_NO_CONTEXT;
}
