// The hosts the program can run on, in one table, and the one place that chooses among them.
#pragma once

#include "host/host_options.h"
#include "host/window_system.h"

// What the environment says of the session the program starts in.
struct Session {
    const char* waylandDisplay;  // WAYLAND_DISPLAY, or null
    const char* sessionType;     // XDG_SESSION_TYPE, or null
};

// One host: its name, how to tell that it applies to a run, and its window system.
struct HostChoice {
    const char* name;
    bool (*applies)(const HostOptions& options, const Session& session);
    const WindowSystem* system;
};

// The first host in the table that applies to `options` in `session`; the last one always
// applies. Pure.
const HostChoice& ChooseHost(const HostOptions& options, const Session& session);

// The session of this process's environment.
Session CurrentSession();
