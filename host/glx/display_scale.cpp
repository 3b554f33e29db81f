// Xft.dpi, read from a display's resource string.
#include "host/glx/display_scale.h"

#include <GL/glx.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "host/host_options.h"

namespace {
constexpr char kDpiResource[] = "Xft.dpi:";
constexpr double kPlainDpi = 96.0;  // what one font pixel per pixel is drawn for
}  // namespace

int ScaleFromResources(const char* resources) {
    if (resources == nullptr) return 1;
    for (const char* line = resources; *line != '\0';) {
        const char* end = std::strchr(line, '\n');
        if (std::strncmp(line, kDpiResource, sizeof kDpiResource - 1) == 0) {
            char* stop = nullptr;
            const double dpi = std::strtod(line + sizeof kDpiResource - 1, &stop);
            if (stop == line + sizeof kDpiResource - 1 || !(dpi > 0)) return 1;
            return std::clamp(static_cast<int>(std::min(dpi / kPlainDpi, 1000.0)), 1,
                              kMaxTextScale);
        }
        if (end == nullptr) break;
        line = end + 1;
    }
    return 1;
}

int CurrentDisplayTextScale() {
    Display* display = glXGetCurrentDisplay();
    return display != nullptr ? ScaleFromResources(XResourceManagerString(display)) : 1;
}
