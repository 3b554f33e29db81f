#!/bin/bash
# Starts the real program the ways a careless script or a window manager might, on a private
# 640 x 480 X server, and checks that each gets a clear answer: bad -geometry values and hostile
# arguments are refused in one line with status 2; with standard error, output or input closed
# (and a warning forced) the program still answers Escape and ends with 0; Escape while the window
# is hidden, and hiding the window during the fade, end it at once; a window made far larger than
# the renderer can draw neither aborts nor stops it.
# Usage (from the build folder, on a private X server): hostile_start_test.sh <path to wispra>
set -u
program=$(realpath "$1")
out=$PWD/test-output/hostile_start
rm -rf "$out" && mkdir -p "$out/alone" || exit 1
pid=

fail() {
    echo "hostile_start FAILED: $*" >&2
    echo "program output is kept in $out" >&2
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill -9 "$pid" && wait "$pid"; fi
    exit 1
}
# shellcheck source=tests/program_probe.sh
. "$(dirname "$0")/program_probe.sh"

# window_of WHAT: the program's window, once it is mapped.
window_of() {
    mapped_window 20
    [ -n "$window" ] || fail "$1: no window titled Vell within 20 s"
}

# Refused before any window: one line on standard error, nothing on standard output, status 2,
# and no byte a terminal would act on.
for value in 0x0 -1x-1 garbage 16385x10 32767x32767 '300x200+10' "$(printf '64x64\n+0+0')"; do
    "$program" -geometry "$value" >"$out/stdout.txt" 2>"$out/stderr.txt"
    status=$?
    [ "$status" -eq 2 ] || fail "-geometry '$value': status $status, expected 2"
    [ "$(wc -l <"$out/stderr.txt")" -eq 1 ] || fail "-geometry '$value': not one line: $(cat "$out/stderr.txt")"
    [ ! -s "$out/stdout.txt" ] || fail "-geometry '$value': standard output not empty"
done
for argument in "$(printf '\033]0;owned\a\033[2J')" "$(printf 'two\nlines')"; do
    "$program" "--window=$argument" >"$out/stdout.txt" 2>"$out/stderr.txt"
    status=$?
    [ "$status" -eq 2 ] || fail "a hostile argument: status $status, expected 2"
    [ "$(wc -l <"$out/stderr.txt")" -eq 1 ] || fail "a hostile argument: not one line: $(cat "$out/stderr.txt")"
    LC_ALL=C grep -q '[^[:print:]]' "$out/stderr.txt" && fail "a hostile argument reached the terminal raw"
done
echo "hostile_start: bad -geometry values and hostile arguments refused in one line"

# A closed standard stream, with a warning forced: the program alone in a folder, without its
# images, started from another folder that holds a broken font.bmp.
cp "$program" "$out/alone/wispra"
: >"$out/font.bmp"
for closed in 2 1 0; do
    (
        cd "$out" || exit 1
        case $closed in
        2) exec ./alone/wispra --window 2>&- ;;
        1) exec ./alone/wispra --window 1>&- 2>"closed1.txt" ;;
        0) exec ./alone/wispra --window 0<&- 2>"closed0.txt" ;;
        esac
    ) &
    pid=$!
    window_of "descriptor $closed closed"
    sleep 1
    xdotool key --window "$window" Escape 2>/dev/null
    wait_end 15 || fail "descriptor $closed closed: still running 15 s after Escape"
    [ "$status" -eq 0 ] || fail "descriptor $closed closed: status $status after Escape, expected 0"
done
grep -q 'font.bmp' "$out/closed1.txt" || fail "no warning was forced: $(cat "$out/closed1.txt")"
echo "hostile_start: with standard error, output or input closed Escape still ends with 0"

# Escape, then the window unmapped as a window manager iconifies it: the fade cannot be drawn, so
# the program ends at once. And Escape sent to the window while it is unmapped.
for order in escape-then-hide hide-then-escape; do
    "$program" --window >"$out/stdout.txt" 2>"$out/$order.txt" &
    pid=$!
    window_of "$order"
    sleep 1
    if [ "$order" = escape-then-hide ]; then
        xdotool key --window "$window" Escape windowunmap --sync "$window" 2>/dev/null
    else
        xdotool windowunmap --sync "$window" key --window "$window" Escape 2>/dev/null
    fi
    wait_end 10 || fail "$order: still running 10 s later"
    [ "$status" -eq 0 ] || fail "$order: status $status, expected 0"
done
echo "hostile_start: Escape ends the program while the window is hidden"

# Made 32767 x 32767, as a window manager may: one warning, no abort, and back at a drawable size
# the program goes on and ends with 0 on Escape.
"$program" --window >"$out/stdout.txt" 2>"$out/oversize.txt" &
pid=$!
window_of "oversize"
sleep 1
xdotool windowsize "$window" 32767 32767
deadline=$((SECONDS + 15))
until grep -q 'more than the renderer can draw' "$out/oversize.txt"; do
    kill -0 "$pid" 2>/dev/null || fail "oversize: the program ended: $(cat "$out/oversize.txt")"
    [ "$SECONDS" -lt "$deadline" ] || fail "oversize: no warning within 15 s"
    sleep 0.2
done
sleep 2
kill -0 "$pid" 2>/dev/null || fail "oversize: the program ended: $(cat "$out/oversize.txt")"
xdotool windowsize "$window" 640 480
sleep 1
xdotool key --window "$window" Escape 2>/dev/null
wait_end 15 || fail "oversize: still running 15 s after Escape"
[ "$status" -eq 0 ] || fail "oversize: status $status after Escape, expected 0"
[ "$(grep -c 'more than the renderer can draw' "$out/oversize.txt")" -eq 1 ] ||
    fail "oversize: not one warning: $(cat "$out/oversize.txt")"
echo "hostile_start: a 32767 x 32767 window is left undrawn with one warning, and Escape ends it"
rm -rf "$out"
