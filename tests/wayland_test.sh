#!/bin/bash
# The program on a headless sway with two 640 x 480 outputs (run under tools/with_sway.sh): the
# native window full screen with smoke and stars, its app id; keys through wtype change the
# picture; f leaves full screen and comes back; on another workspace it draws nothing; Escape ends
# it with status 0. Then --wallpaper: a picture on every output, behind a window, one process per
# output, following an output that comes, all ending with the first. (sway without input devices
# gives no pointer to drag with, and its headless outputs cannot be taken away, so neither the
# drag nor an output that goes is tried here.)
# Usage (under with_sway.sh, from the build folder): wayland_test.sh <path to wispra>
# The conditions handed to poll are evaluated later, on purpose, so they are single-quoted, and
# the variables they read look unused.
# shellcheck disable=SC2016,SC2034
set -u
program=$1
out=$PWD/test-output/wayland
rm -rf "$out" && mkdir -p "$out" && chmod a+rwx "$out" || exit 1
pid=
watcher=

fail() {
    echo "wayland FAILED: $*" >&2
    echo "screenshots and program output are kept in $out: $(cd "$out" && echo *)" >&2
    for p in $pid $watcher; do kill "$p" 2>/dev/null; done
    exit 1
}
# shellcheck source=tests/program_probe.sh
. "$(dirname "$0")/program_probe.sh"
for tool in grim wtype swaymsg; do
    command -v "$tool" >/dev/null || fail "$tool is missing (Debian packages grim, wtype, sway)"
done

# measure NAME OUTPUT: a screenshot of the output, with the stars in its four corners, the smoke
# in its upper middle and the status line's pixels. sway's own grey where nothing is drawn counts
# as no stars and no smoke: stars are dots on black, and the plume fills part of its region only.
measure() {
    shot=$out/$1.png
    grim -o "$2" "$shot" 2>/dev/null || fail "screenshot $1 could not be taken"
    corners=""
    for corner in 160x120+0+0 160x120+480+0 160x120+0+360 160x120+480+360; do
        lit=$(count "$shot" "$corner" 5)
        [ "$lit" -lt 2000 ] || lit=0
        corners="$corners $lit"
    done
    stars=$(echo "$corners" | awk '{m = $1; for (i = 2; i <= NF; i++) if ($i < m) m = $i; print m}')
    smoke=$(count "$shot" 214x200+213+20 20)
    [ "$smoke" -lt 30000 ] || smoke=0
    status=$(convert "$shot" -crop 240x20+10+5 +repage -threshold 50% -format '%#' info:)
    values="fewest stars in a corner: $stars; smoke: $smoke"
}
# poll NAME OUTPUT WHAT CONDITION: screenshots until CONDITION holds, for at most 60 s.
poll() {
    deadline=$((SECONDS + 60))
    until measure "$1" "$2" && eval "$4"; do
        [ "$SECONDS" -lt "$deadline" ] || fail "$3 (last screenshot $1.png: $values)"
        sleep 0.3
    done
}
window_state() { swaymsg -t get_tree | tr -d ' \n' | grep -o '"fullscreen_mode":[01],[^{}]*"app_id":"wispra"' | head -n 1; }
# press KEY: one key from a virtual keyboard of its own, given time to reach the window.
press() { wtype -s 200 -k "$1" -s 200; }
busy_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

$WISPRA_AS_USER "$program" --no-config >"$out/stdout.txt" 2>"$out/stderr.txt" &
pid=$!
poll start HEADLESS-1 "no smoke and stars full screen" '[ "$stars" -ge 8 ] && [ "$smoke" -ge 500 ]'
window_state | grep -q '"fullscreen_mode":1' || fail "not a full-screen window of app id wispra: $(window_state)"

before=$status
press u
poll universe_off HEADLESS-1 "u left the stars" '[ "$stars" -le 2 ] && [ "$status" != "$before" ]'
for key in w Right Up; do
    before=$status
    press "$key"
    poll "key_$key" HEADLESS-1 "no new status line after $key" '[ "$status" != "$before" ]'
done

press f
deadline=$((SECONDS + 30))
until window_state | grep -q '"fullscreen_mode":0'; do
    [ "$SECONDS" -lt "$deadline" ] || fail "f did not leave full screen: $(window_state)"
    sleep 0.2
done
press f
until window_state | grep -q '"fullscreen_mode":1'; do
    [ "$SECONDS" -lt "$deadline" ] || fail "a second f did not go full screen: $(window_state)"
    sleep 0.2
done

# On another workspace the compositor asks for no frames: nothing is drawn, nothing spent.
swaymsg "focus output HEADLESS-1, workspace 3" >/dev/null
sleep 1
ticks=$(busy_ticks "$pid")
sleep 3
spent=$(($(busy_ticks "$pid") - ticks))
[ "$spent" -le 3 ] || fail "$spent clock ticks spent in 3 s on another workspace"
swaymsg workspace 1 >/dev/null
sleep 1
ticks=$(busy_ticks "$pid")
sleep 2
[ $(($(busy_ticks "$pid") - ticks)) -ge 10 ] || fail "nothing drawn once back on its workspace"

press Escape
ended_with_zero "Escape"
[ ! -s "$out/stderr.txt" ] || fail "the window complained: $(cat "$out/stderr.txt")"

# The wallpaper: a picture with stars on every output, each its own process.
$WISPRA_AS_USER "$program" --no-config --wallpaper >"$out/stdout.txt" 2>"$out/stderr.txt" &
watcher=$!
poll wallpaper1 HEADLESS-1 "no wallpaper on HEADLESS-1" '[ "$stars" -ge 8 ] && [ "$smoke" -ge 500 ]'
poll wallpaper2 HEADLESS-2 "no wallpaper on HEADLESS-2" '[ "$stars" -ge 8 ] && [ "$smoke" -ge 500 ]'
# Behind a window: one without stars covers the first output, and the second still shows its own.
$WISPRA_AS_USER "$program" --no-config --no-stars >/dev/null 2>&1 &
pid=$!
poll covered HEADLESS-1 "the wallpaper is not behind the window" '[ "$stars" -le 2 ] && [ "$smoke" -ge 500 ]'
poll uncovered HEADLESS-2 "the second output lost its wallpaper" '[ "$stars" -ge 8 ]'
kill "$pid" && wait "$pid"
pid=

swaymsg create_output >/dev/null
poll added HEADLESS-3 "no wallpaper on an output that came" '[ "$stars" -ge 8 ] && [ "$smoke" -ge 500 ]'
kill "$watcher"
pid=$watcher watcher=
wait_end 15 || fail "the wallpaper still runs 15 s after SIGTERM"
[ "$status" -eq 0 ] || fail "exit status $status after SIGTERM, expected 0"
pgrep -f -- "--wallpaper --output=" >/dev/null && fail "an output's wallpaper outlived the first"
[ ! -s "$out/stderr.txt" ] || fail "the wallpaper complained: $(cat "$out/stderr.txt")"
rm -rf "$out"
echo "wayland passed"
