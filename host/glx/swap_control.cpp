// The swap interval through whichever GLX extension the driver offers, looked up at run time so
// that the program links against nothing beyond what GL and GLUT bring.
#include "host/glx/swap_control.h"

#include <GL/glx.h>

#include <cstring>

namespace {
struct SwapExtension {
    SwapControl control;
    const char* name;
};
constexpr SwapExtension kSwapExtensions[] = {
    {SwapControl::kExt, "GLX_EXT_swap_control"},
    {SwapControl::kMesa, "GLX_MESA_swap_control"},
    {SwapControl::kSgi, "GLX_SGI_swap_control"},
};

// `name` as a whole word of the space-separated list: GLX_EXT_swap_control must not be taken for
// GLX_EXT_swap_control_tear.
bool NamesWord(const char* list, const char* name) {
    const size_t length = std::strlen(name);
    for (const char* p = list; (p = std::strstr(p, name)) != nullptr; p += length) {
        const bool starts = p == list || p[-1] == ' ';
        const bool ends = p[length] == ' ' || p[length] == '\0';
        if (starts && ends) return true;
    }
    return false;
}

using SwapIntervalExt = void (*)(Display*, GLXDrawable, int);
using SwapIntervalMesa = int (*)(unsigned int);
using SwapIntervalSgi = int (*)(int);

// GLX hands out every entry point as one function type; each is cast back to its real one.
template <typename Function>
Function Lookup(const char* name) {
    return reinterpret_cast<Function>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}
}  // namespace

SwapControl ChooseSwapControl(const char* extensions) {
    if (extensions == nullptr) return SwapControl::kNone;
    for (const SwapExtension& extension : kSwapExtensions) {
        if (NamesWord(extensions, extension.name)) return extension.control;
    }
    return SwapControl::kNone;
}

bool RequestSwapInterval(int interval) {
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable drawable = glXGetCurrentDrawable();
    if (display == nullptr || drawable == 0 || interval < 0) return false;
    switch (ChooseSwapControl(glXQueryExtensionsString(display, DefaultScreen(display)))) {
        case SwapControl::kExt:
            if (auto set = Lookup<SwapIntervalExt>("glXSwapIntervalEXT")) {
                set(display, drawable, interval);
                return true;
            }
            return false;
        case SwapControl::kMesa:
            if (auto set = Lookup<SwapIntervalMesa>("glXSwapIntervalMESA"))
                return set(static_cast<unsigned int>(interval)) == 0;
            return false;
        case SwapControl::kSgi:
            if (auto set = Lookup<SwapIntervalSgi>("glXSwapIntervalSGI")) return set(interval) == 0;
            return false;
        case SwapControl::kNone:
            break;
    }
    return false;
}
