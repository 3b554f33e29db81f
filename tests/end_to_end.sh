#!/bin/bash
# Drives the real program with real X events on a 640 x 480 screen: the window's class, name and
# icon, read back with xprop; then, through screenshots, the start-up hint and title, the help
# screen, a status line with the clock, a click that must not quit, an arrow key's status line, and
# Escape, which must end the process with status 0.
# Usage (from the build folder, on a private X server): end_to_end.sh <path to wispra>
# The conditions handed to poll are evaluated later, on purpose, so they are single-quoted.
# shellcheck disable=SC2016
set -u
program=$1
out=test-output/end_to_end
rm -rf "$out" && mkdir -p "$out" || exit 1
pid=

fail() {
    echo "end_to_end FAILED: $*" >&2
    echo "screenshots and program output are kept in $PWD/$out: $(cd "$out" && echo *)" >&2
    echo "--- program stderr:" >&2 && cat "$out/stderr.txt" >&2
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill "$pid" && wait "$pid"; fi
    exit 1
}
# shellcheck source=tests/program_probe.sh
. "$(dirname "$0")/program_probe.sh"

# Regions and the measures taken in them. Text is white; stars are tiny dots and the smoke plume rises
# from the middle, so each measure counts pixels and compares with a margin of hundreds of pixels.
measure() {
    shot=$out/$1.png
    import -window root "$shot" || fail "screenshot $shot could not be taken"
    status=$(count "$shot" 240x20+10+5 50)  # status line at the top left
    clock=$(count "$shot" 120x20+520+5 50)  # frames-per-second clock at the top right
    title=$(count "$shot" 260x130+0+30 12)  # opening title "Wispra", fading
    help=$(count "$shot" 470x430+30+50 50)  # help screen lines
    values="status=$status clock=$clock title=$title help=$help"
}

# poll NAME WHAT CONDITION: screenshots until CONDITION (a shell test on the measures) holds,
# for at most 60 s, so that a slow software renderer or a busy machine only makes the test slower.
poll() {
    deadline=$((SECONDS + 60))
    while :; do
        measure "$1"
        eval "$3" && return 0
        [ "$SECONDS" -lt "$deadline" ] || fail "$2 (last screenshot $1.png: $values)"
        sleep 0.2
    done
}

# The brightest status line and title seen so far, over every screenshot of the start: on a busy
# machine the first frames come late and the two need not show in the same screenshot.
brightest_status=0
brightest_title=0
keep_brightest() {
    [ "$status" -gt "$brightest_status" ] && brightest_status=$status
    [ "$title" -gt "$brightest_title" ] && brightest_title=$title
    values="$values brightest: status=$brightest_status title=$brightest_title"
}

"$program" >"$out/stdout.txt" 2>"$out/stderr.txt" &
pid=$!
window=$(timeout 60 xdotool search --sync --name '^Vell$' | head -n 1)
[ -n "$window" ] || fail "no window titled Vell within 60 s"

# The window names itself to the desktop once it is made: the class that the desktop entry's
# StartupWMClass names, its title in UTF-8, and the 64 x 64 icon the build drew, pixel for pixel
# (as 0xAARRGGBB cardinals).
deadline=$((SECONDS + 60))
until xprop -id "$window" WM_CLASS | grep -q '= "wispra", "Wispra"$'; do
    [ "$SECONDS" -lt "$deadline" ] || fail "WM_CLASS not set: $(xprop -id "$window" WM_CLASS)"
    sleep 0.1
done
name=$(xprop -id "$window" _NET_WM_NAME)
[ "$name" = '_NET_WM_NAME(UTF8_STRING) = "Vell"' ] || fail "unexpected $name"
icon=$(xprop -id "$window" -f _NET_WM_ICON 32c _NET_WM_ICON | sed 's/^[^=]*= //')
drawn=$(convert icons/64x64/wispra.png -depth 8 rgba:- | od -An -v -tu1 | awk '
    { for (i = 1; i <= NF; i++) byte[n++] = $i }
    END {
        printf "64, 64"
        for (i = 0; i < n; i += 4)
            printf ", %.0f", byte[i + 3] * 16777216 + byte[i] * 65536 + byte[i + 1] * 256 + byte[i + 2]
        print ""
    }')
[ "$icon" = "$drawn" ] || fail "_NET_WM_ICON is not the 64 x 64 icon of the build: ${icon%%,*,*,*,*}..."

# Judged by what the program has drawn, not by the time since it started: the first frames may
# come a while after the window appears on a busy machine.
poll start "start-up hint or title missing" \
    'keep_brightest; [ "$brightest_status" -ge 150 ] && [ "$brightest_title" -ge 500 ]'
[ "$clock" -lt 30 ] || fail "clock shown at start-up although it is off ($values)"

# The hint expires after 3 s and the title fades out before 6 s.
poll opened "start-up hint and title did not go" '[ "$status" -lt 30 ] && [ "$title" -lt 300 ]'

xdotool key question
poll help_on "help screen did not appear after ?" '[ "$help" -ge 7500 ]'
xdotool key question
poll help_off "help screen did not go after a second ?" '[ "$help" -lt 7500 ]'

xdotool key c
poll clock_on "status line or clock missing after c" '[ "$status" -ge 150 ] && [ "$clock" -ge 60 ]'

# A click must not start the fade-out (about 2 s): wait until the 3 s status line from "c" has
# expired, with the clock still drawn, and the program must still be running.
xdotool mousemove 320 240 click 1
poll clicked "status line of c did not expire after a click" \
    '[ "$status" -lt 30 ] && [ "$clock" -ge 60 ]'
kill -0 "$pid" 2>/dev/null || fail "the program ended after a mouse click ($values)"

# An arrow key reaches the scene as the host translates it: its status line shows.
xdotool key Right
poll arrow "no status line after the Right arrow" '[ "$status" -ge 150 ]'

xdotool key Escape
started=$SECONDS
while kill -0 "$pid" 2>/dev/null && [ $((SECONDS - started)) -lt 60 ]; do sleep 0.1; done
kill -0 "$pid" 2>/dev/null && measure escape && fail "still running 60 s after Escape ($values)"
wait "$pid"
code=$?
pid=
[ "$code" -eq 0 ] || fail "exit status $code after Escape, expected 0"
[ ! -s "$out/stdout.txt" ] || fail "standard output not empty: $(cat "$out/stdout.txt")"
echo "end_to_end passed: Escape ended the program after about $((SECONDS - started)) s"
rm -rf "$out"
