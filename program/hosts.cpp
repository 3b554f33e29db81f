// The table of hosts, tried in order.
#include "program/hosts.h"

#include <cstdlib>
#include <cstring>

#include "host/glut/glut_host.h"
#include "host/wayland/wayland_host.h"
#include "host/x11_saver/saver_host.h"

namespace {
bool IntoAnotherProgramsWindow(const HostOptions& options, const Session&) {
    return options.saver != 0;
}

bool AsWallpaper(const HostOptions& options, const Session&) {
    return options.wallpaper != 0;
}

// --wayland, or a Wayland session unless --x11.
bool OnWayland(const HostOptions& options, const Session& session) {
    if (options.windowSystem != WindowSystemChoice::kSession)
        return options.windowSystem == WindowSystemChoice::kWayland;
    return (session.waylandDisplay != nullptr && *session.waylandDisplay != '\0') ||
           (session.sessionType != nullptr && std::strcmp(session.sessionType, "wayland") == 0);
}

bool Always(const HostOptions&, const Session&) {
    return true;
}

const HostChoice kHosts[] = {
    {"x11-saver", IntoAnotherProgramsWindow, &kSaverWindowSystem},  // --root, --window-id
    {"wayland-wallpaper", AsWallpaper, &kWallpaperWindowSystem},    // --wallpaper
    {"wayland", OnWayland, &kWaylandWindowSystem},                  // the own window, on Wayland
    {"glut", Always, &kGlutWindowSystem},                           // the own window, on X
};
}  // namespace

const HostChoice& ChooseHost(const HostOptions& options, const Session& session) {
    for (const HostChoice& host : kHosts) {
        if (host.applies(options, session)) return host;
    }
    return kHosts[sizeof kHosts / sizeof kHosts[0] - 1];
}

Session CurrentSession() {
    return {std::getenv("WAYLAND_DISPLAY"), std::getenv("XDG_SESSION_TYPE")};
}
