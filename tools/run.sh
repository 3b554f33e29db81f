#!/bin/sh
# Runs the program from the build folder (its images lie there). With a reachable display it
# opens the window there; without one it runs on a virtual X server for a few seconds, saves
# screenshots of the running picture, ends the program with Escape and says where they are.
set -eu
tools=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd)
cd "$build"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec ./wispra
fi
exec "$tools/with_xvfb.sh" -s 1280x720 "$tools/headless_run.sh" "$build"
