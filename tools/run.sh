#!/bin/sh
# Runs the program from the build folder (its images lie there). On a Wayland desktop it opens its
# native window there, and with a reachable X display its window there; without one it runs on a virtual X server for a few seconds, saves
# screenshots of the running picture, ends the program with Escape and says where they are,
# installing the virtual X server and the screenshot tools first unless DEPS=no.
set -eu
tools=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd)
cd "$build"
socket=${WAYLAND_DISPLAY:-}
case $socket in "" | /*) ;; *) socket=${XDG_RUNTIME_DIR:-/run/user/$(id -u)}/$socket ;; esac
if [ -n "$socket" ] && [ -S "$socket" ]; then
    exec ./wispra
fi
# xdpyinfo (x11-utils) tells an unreachable display from a reachable one; without it, DISPLAY is
# taken at its word.
if [ -n "${DISPLAY:-}" ] && { ! command -v xdpyinfo >/dev/null 2>&1 || xdpyinfo >/dev/null 2>&1; }; then
    exec ./wispra
fi
if [ "${DEPS:-yes}" != no ]; then "$tools/install_deps.sh" headless; fi
exec "$tools/with_xvfb.sh" -s 1280x720 "$tools/headless_run.sh" "$build"
