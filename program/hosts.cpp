// The table of hosts, tried in order.
#include "program/hosts.h"

#include "host/glut/glut_host.h"
#include "host/x11_saver/saver_host.h"

namespace {
bool IntoAnotherProgramsWindow(const HostOptions& options) {
    return options.saver != 0;
}

bool Always(const HostOptions&) {
    return true;
}

const HostChoice kHosts[] = {
    {"x11-saver", IntoAnotherProgramsWindow, &kSaverWindowSystem},  // --root, --window-id
    {"glut", Always, &kGlutWindowSystem},                           // the program's own window
};
}  // namespace

const HostChoice& ChooseHost(const HostOptions& options) {
    for (const HostChoice& host : kHosts) {
        if (host.applies(options)) return host;
    }
    return kHosts[sizeof kHosts / sizeof kHosts[0] - 1];
}
