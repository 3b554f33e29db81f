#!/bin/bash
# The Wayland window's processor time per frame against the GLUT window's, at the same size, on a
# 640 x 480 virtual X server and a 640 x 480 headless sway started together, run in turn by
# cpu_compare.sh; then the Wayland window's processor use while it is on another workspace.
# Usage: tools/wayland_cpu.sh <path to wispra> [cpu_compare.sh options, e.g. -r 5 -f "60 0"]
set -eu
tools=$(cd "$(dirname "$0")" && pwd)
program=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
shift
# shellcheck disable=SC2016  # expanded by the inner shell, where with_sway.sh has set them
exec "$tools/with_xvfb.sh" -s 640x480 "$tools/with_sway.sh" -s 640x480 bash -c '
    set -eu
    tools=$1 program=$2
    shift 2
    cd "$(dirname "$program")"
    "$tools/cpu_compare.sh" -z 640x480 "$@" glut="$program --x11" \
        wayland="$WISPRA_AS_USER $program --wayland"
    XDG_CONFIG_HOME=/nonexistent $WISPRA_AS_USER "$program" --wayland --window >/dev/null 2>&1 &
    pid=$!
    sleep 6
    swaymsg workspace 2 >/dev/null
    sleep 2
    ticks() { awk "{print \$14 + \$15}" "/proc/$pid/stat"; }
    before=$(ticks)
    sleep 10
    echo
    echo "on another workspace: $(( $(ticks) - before )) clock ticks in 10 s ($(getconf CLK_TCK) a second)"
    kill "$pid"
' wayland_cpu "$tools" "$program" "$@"
