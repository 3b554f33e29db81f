// The hosts the program can run on, in one table, and the one place that chooses among them.
#pragma once

#include "host/host_options.h"
#include "host/window_system.h"

// One host: its name, how to tell that it applies to a run, and its window system.
struct HostChoice {
    const char* name;
    bool (*applies)(const HostOptions& options);
    const WindowSystem* system;
};

// The first host in the table that applies to `options`. The last one always applies.
const HostChoice& ChooseHost(const HostOptions& options);
