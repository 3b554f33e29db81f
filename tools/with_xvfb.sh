#!/bin/sh
# Runs a command on a private virtual X server with Mesa's software renderer, so that GL tests
# neither depend on nor disturb the desktop, and see the same screen everywhere.
# Usage: with_xvfb.sh [-s WIDTHxHEIGHT] command [args...]
set -u
screen=1280x1024
if [ "${1:-}" = "-s" ]; then screen=$2; shift 2; fi
if ! command -v Xvfb >/dev/null 2>&1; then
    echo "with_xvfb: Xvfb is not installed (Debian package xvfb)" >&2
    exit 1
fi
work=$(mktemp -d)
mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp -noreset 3>"$work/display" \
    2>"$work/xvfb.log" &
server=$!
read -r number <"$work/display" || number=""
if [ -z "$number" ]; then
    echo "with_xvfb: Xvfb did not start:" >&2
    cat "$work/xvfb.log" >&2
    rm -rf "$work"
    exit 1
fi
# An X session: the program chooses X here, even when started from a Wayland desktop.
env -u WAYLAND_DISPLAY DISPLAY=":$number" XDG_SESSION_TYPE=x11 LIBGL_ALWAYS_SOFTWARE=1 "$@"
status=$?
kill "$server" 2>/dev/null
wait "$server" 2>/dev/null
rm -rf "$work"
exit "$status"
