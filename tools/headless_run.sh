#!/bin/sh
# The headless half of the run command, on the display it is given: starts the program, takes
# screenshots of the running picture, shows the help screen, ends the program with Escape.
set -u
build=$1
cd "$build" || exit 1
./wispra &
program=$!
if ! xdotool search --sync --name '^Vell$' >/dev/null; then
    echo "The program's window did not appear." >&2
    exit 1
fi
shoot() {
    sleep "$1"
    import -window root "$build/$2"
    echo "  $build/$2"
}
echo "Screenshots of the running program:"
shoot 1 screenshot-opening.png
shoot 5 screenshot-smoke.png
xdotool key question
shoot 1 screenshot-help.png
xdotool key question key Escape
status=0
wait "$program" || status=$?
echo "The program ended with exit status $status after Escape."
