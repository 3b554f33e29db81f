#!/bin/sh
# The Wayland host draws the GLUT host's picture: the same frames at the same clock, full screen
# at 640 x 480 on a virtual X server and on a headless sway output, read back from the back
# buffer, must be the same bytes.
# Usage: same_picture_test.sh <path to host_frames> <path to tools/>
set -u
frames=$1
tools=$2
work=$(mktemp -d)
chmod a+rwx "$work"
status=0
"$tools/with_xvfb.sh" -s 640x480 "$frames" glut "$work/glut.rgb" || status=1
# shellcheck disable=SC2016  # expanded by the inner shell, where with_sway.sh sets it
"$tools/with_sway.sh" -s 640x480 sh -c '$WISPRA_AS_USER "$0" wayland "$1"' "$frames" \
    "$work/wayland.rgb" || status=1
if [ "$status" -ne 0 ]; then
    echo "same_picture FAILED: a host did not draw its frames" >&2
elif ! cmp -s "$work/glut.rgb" "$work/wayland.rgb"; then
    echo "same_picture FAILED: the Wayland host's frames differ from the GLUT host's" \
        "($(cmp -l "$work/glut.rgb" "$work/wayland.rgb" | wc -l) bytes)" >&2
    status=1
else
    echo "same_picture passed: $(wc -c <"$work/glut.rgb") bytes alike"
fi
rm -rf "$work"
exit "$status"
