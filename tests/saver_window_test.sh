#!/bin/bash
# The program drawing into a window it did not create, as a screen saver's preview does with
# --window-id: it fills the window the test made and nothing beyond it, follows a resize, draws
# nothing while the window is unmapped, and ends with status 0, silently and leaving no window
# behind, when the window is destroyed, on SIGTERM and on SIGINT. With --root it takes the window
# XSCREENSAVER_WINDOW names, or else the root window. A window id that is not a number, a window
# that does not exist and a visual without double buffering are refused with one line and
# status 2; so is an input-only window. XSecureLock's SIGUSR1 does not end it, and the root
# window shows its background again after the end.
# Usage (from the build folder, on a private 640 x 480 X server):
#   saver_window_test.sh <path to wispra> <path to foreign_window>
# The conditions handed to poll are evaluated later, on purpose, so they are single-quoted.
# shellcheck disable=SC2016
set -u
program=$1
make_window=$2
out=test-output/saver_window
rm -rf "$out" && mkdir -p "$out" || exit 1
pid=
holder=
unset XSCREENSAVER_WINDOW

fail() {
    echo "saver_window_test FAILED: $*" >&2
    echo "screenshots and program output are kept in $PWD/$out: $(cd "$out" && echo *)" >&2
    echo "--- program stderr:" >&2 && cat "$out/stderr.txt" >&2 2>/dev/null
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill -9 "$pid" && wait "$pid"; fi
    if [ -n "$holder" ]; then kill "$holder" 2>/dev/null && wait "$holder"; fi
    exit 1
}
# shellcheck source=tests/program_probe.sh
. "$(dirname "$0")/program_probe.sh"

# Stars are dim dots all over the window and the smoke a bright plume in its middle; both are
# counted in the regions given as WxH+X+Y: "window" where the window is, "beyond" where the
# screen shows around it.
measure() {
    shot=$out/$1.png
    import -window root "$shot" || fail "screenshot $shot could not be taken"
    lit=$(count "$shot" "$2" 5)
    beyond=$(count "$shot" "$3" 5)
    values="lit=$lit beyond=$beyond"
}

# poll NAME WHAT CONDITION WINDOW BEYOND: screenshots until CONDITION holds, for at most 30 s.
poll() {
    deadline=$((SECONDS + 30))
    while :; do
        measure "$1" "$4" "$5"
        eval "$3" && return 0
        [ "$SECONDS" -lt "$deadline" ] || fail "$2 (last screenshot $1.png: $values)"
        sleep 0.2
    done
}

# Busy time of process $1 in clock ticks, user and system.
busy() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# The root window's children, one id a line.
windows() { xwininfo -root -children | awk '$1 ~ /^0x/ {print $1}' | sort; }

# open_window WxH [single]: a window from another process, its id in $window; it lives as long as
# that process, whose standard input is a pipe the test holds open.
open_window() {
    rm -f "$out/window" "$out/hold"
    mkfifo "$out/hold"
    "$make_window" "$@" <"$out/hold" >"$out/window" &
    holder=$!
    exec 7>"$out/hold"
    window=
    for _ in $(seq 150); do
        window=$(cat "$out/window")
        [ -n "$window" ] && return 0
        kill -0 "$holder" 2>/dev/null || fail "foreign_window $* ended without a window"
        sleep 0.1
    done
    fail "foreign_window $* made no window within 15 s"
}

# close_window: the holding process ends, and its window with it.
close_window() {
    exec 7>&-
    wait "$holder"
    holder=
}

# start ARGS...: the program in the background, its output kept; it must not hold the pipe that
# keeps the window.
start() {
    "$program" "$@" >"$out/stdout.txt" 2>"$out/stderr.txt" 7>&- &
    pid=$!
}

# ended_cleanly WHAT: the program ends within 15 s with status 0 and without a word.
ended_cleanly() {
    ended_with_zero "$1"
    [ ! -s "$out/stderr.txt" ] || fail "the program complained after $1: $(cat "$out/stderr.txt")"
    [ ! -s "$out/stdout.txt" ] || fail "standard output not empty: $(cat "$out/stdout.txt")"
}

# refused EXPECTED ARGS...: the program refuses at once with status 2 and one line on standard
# error that contains EXPECTED.
refused() {
    expected=$1
    shift
    timeout 15 "$program" "$@" >"$out/stdout.txt" 2>"$out/stderr.txt"
    code=$?
    [ "$code" -eq 2 ] || fail "exit status $code for $*, expected 2"
    [ "$(wc -l <"$out/stderr.txt")" -eq 1 ] || fail "not one line for $*: $(cat "$out/stderr.txt")"
    grep -q "$expected" "$out/stderr.txt" || fail "no '$expected' for $*: $(cat "$out/stderr.txt")"
    [ ! -s "$out/stdout.txt" ] || fail "standard output not empty for $*"
}

before=$(windows)

refused "bad window id '12ab'" --window-id=12ab
refused "bad window id '-5'" -window-id -5
refused "needs a value" --window-id
refused "no window 0x1fffffff" -window-id 0x1fffffff
XSCREENSAVER_WINDOW=junk refused "XSCREENSAVER_WINDOW is not a window id" --root
open_window 200x100 single
refused "without double buffering" --window-id "$window"
close_window
open_window 200x100 inputonly
refused "is input-only" --window-id "$window"
close_window

# Into a 400 x 300 window at the top left of the 640 x 480 screen, by its id in decimal: the stars
# fill it, the smoke rises in it, and nothing shows beyond it.
open_window 400x300
start --window-id $((window))
poll drawn "nothing drawn in the window" '[ "$lit" -ge 400 ] && [ "$beyond" -eq 0 ]' \
    400x300+0+0 240x480+400+0

# A resize while drawing: the picture follows the window to the whole screen.
xdotool windowsize "$window" 640 480
poll resized "the picture did not follow the resize" '[ "$beyond" -ge 20 ]' \
    400x300+0+0 240x480+400+0

# Unmapped, the program sleeps: no processor time passes for it. Mapped again, it draws again.
xdotool windowunmap "$window"
deadline=$((SECONDS + 30))
while :; do
    ticks=$(busy "$pid")
    sleep 0.5
    [ "$(busy "$pid")" -eq "$ticks" ] && break
    [ "$SECONDS" -lt "$deadline" ] || fail "still busy 30 s after its window was unmapped"
done
xdotool windowmap "$window"
deadline=$((SECONDS + 30))
until [ "$(busy "$pid")" -gt "$ticks" ]; do
    [ "$SECONDS" -lt "$deadline" ] || fail "no work 30 s after its window was mapped again"
    sleep 0.2
done
poll remapped "nothing drawn after the window was mapped again" '[ "$lit" -ge 400 ]' \
    640x480+0+0 1x1+0+0

# The window destroyed while the program draws into it.
close_window
ended_cleanly "its window was destroyed"

# SIGTERM, as a daemon ends its display mode, with the window named as a daemon names it for
# --root; then SIGINT, with the window named in hexadecimal after -window-id. The window stays.
open_window 320x240
XSCREENSAVER_WINDOW=$window start --root
poll sigTERM "nothing drawn into XSCREENSAVER_WINDOW's window" \
    '[ "$lit" -ge 200 ] && [ "$beyond" -eq 0 ]' 320x240+0+0 320x480+320+0
# XSecureLock's SIGUSR1, sent to reset its saver, is not an end.
kill -s USR1 "$pid"
kill -s TERM "$pid"
ended_cleanly "SIGUSR1, then SIGTERM"
xwininfo -id "$window" >/dev/null 2>&1 || fail "the window is gone after SIGTERM"
close_window

open_window 320x240
start -window-id "$window"
poll sigINT "nothing drawn before SIGINT" '[ "$lit" -ge 200 ]' 320x240+0+0 1x1+0+0
kill -s INT "$pid"
ended_cleanly SIGINT
close_window

# With no window named, --root draws on the root window: all over the screen; at its end the
# desktop's background shows again.
import -window root "$out/desktop.png"
start -root
poll root "nothing drawn on the root window" '[ "$lit" -ge 200 ] && [ "$beyond" -ge 200 ]' \
    320x480+0+0 320x480+320+0
kill -s TERM "$pid"
ended_cleanly "SIGTERM on the root window"
import -window root "$out/after.png"
changed=$(compare -metric AE "$out/desktop.png" "$out/after.png" null: 2>&1)
[ "$changed" = 0 ] || fail "the root window kept the last frame: $changed pixels changed"

# The program made no window of its own, so none is left.
[ "$(windows)" = "$before" ] || fail "windows left behind: $(comm -13 <(echo "$before") <(windows))"

echo "saver_window_test passed"
rm -rf "$out"
