#!/bin/sh
# Runs a command beside a private, headless sway (Debian's, with the software renderer pixman and
# no input devices), so that Wayland tests neither depend on nor disturb a desktop. sway refuses to
# run as root: as root it runs as nobody, in a runtime folder of its own, and the command gets
# WISPRA_AS_USER, the prefix that runs a program as that user too ("" when not root).
# Usage: with_sway.sh [-s WIDTHxHEIGHT] [-o OUTPUTS] command [args...]
set -u
mode=1280x720
outputs=1
while [ $# -gt 0 ]; do
    case $1 in
        -s) mode=$2; shift 2 ;;
        -o) outputs=$2; shift 2 ;;
        *) break ;;
    esac
done
for tool in sway swaymsg; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "with_sway: $tool is not installed (Debian package sway)" >&2
        exit 1
    fi
done
as_user=""
if [ "$(id -u)" -eq 0 ]; then
    command -v setpriv >/dev/null 2>&1 || { echo "with_sway: setpriv is missing" >&2; exit 1; }
    as_user="setpriv --reuid=nobody --regid=nogroup --clear-groups"
fi
work=$(mktemp -d)
runtime=$work/runtime
mkdir -m 700 "$runtime"
[ -z "$as_user" ] || chown nobody:nogroup "$runtime"
chmod a+rx "$work"
# Every output at the size asked for; windows without borders or title bars, so that a window's
# picture is the whole output; no wallpaper program of sway's own.
cat >"$work/config" <<CONFIG
output * mode $mode
default_border none
default_floating_border none
CONFIG
chmod a+r "$work/config"
# shellcheck disable=SC2086  # the prefix's words are meant to split
$as_user env -i HOME="$runtime" XDG_RUNTIME_DIR="$runtime" PATH="$PATH" WLR_BACKENDS=headless \
    WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 sway -c "$work/config" >"$work/sway.log" 2>&1 &
server=$!
deadline=$(($(date +%s) + 30))
socket=""
while [ -z "$socket" ]; do
    socket=$(find "$runtime" -maxdepth 1 -name 'sway-ipc.*.sock' 2>/dev/null | head -n 1)
    if [ -z "$socket" ] && { ! kill -0 "$server" 2>/dev/null || [ "$(date +%s)" -ge "$deadline" ]; }; then
        echo "with_sway: sway did not start:" >&2
        cat "$work/sway.log" >&2
        kill "$server" 2>/dev/null
        rm -rf "$work"
        exit 1
    fi
    sleep 0.1
done
display=$(find "$runtime" -maxdepth 1 -name 'wayland-*' ! -name '*.lock' | head -n 1)
export XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="${display##*/}" SWAYSOCK="$socket"
export WISPRA_AS_USER="$as_user" LIBGL_ALWAYS_SOFTWARE=1
count=1
while [ "$count" -lt "$outputs" ]; do
    swaymsg create_output >/dev/null
    count=$((count + 1))
done
swaymsg "output * mode $mode" >/dev/null
"$@"
status=$?
swaymsg exit >/dev/null 2>&1 || kill "$server" 2>/dev/null
wait "$server" 2>/dev/null
rm -rf "$work"
exit "$status"
