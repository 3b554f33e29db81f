#!/bin/sh
# Measures the program's CPU use in a 512 x 512 window on Mesa's software renderer: with the
# default frame cap, with --max-fps=15 and --max-fps=0, and while its window is unmapped, as a
# window manager does on iconify (a bare virtual X server has no window manager to ask). Then as a
# screen saver, in a 512 x 512 window another program made (--window-id, with the test helper
# foreign_window from the same build folder), at the default cap, with the program's own
# multisampled visual and with a plain one, and unmapped. The frame rate
# comes from Mesa's (invisible) heads-up display. Run it on a display of its own:
#   tools/with_xvfb.sh -s 640x640 tools/cpu_usage.sh build/wispra [seconds]
set -eu
# The program measured as it starts for anyone: no one's own settings file.
export XDG_CONFIG_HOME=/nonexistent
program=$1
seconds=${2:-20}
ticks=$(getconf CLK_TCK)
hud=$(mktemp -d)
trap 'rm -rf "$hud"' EXIT

# Busy time of process $1 in clock ticks, user and system.
busy() { awk '{print $14 + $15}' "/proc/$1/stat"; }
now() { date +%s.%N; }
frames() { wc -l <"$hud/fps" 2>/dev/null || echo 0; }

# measure LABEL: CPU % and mean frames a second of the program over the next $seconds seconds.
measure() {
    b0=$(busy "$pid")
    t0=$(now)
    n0=$(frames)
    sleep "$seconds"
    b1=$(busy "$pid")
    t1=$(now)
    fps=$(tail -n +"$((n0 + 1))" "$hud/fps" 2>/dev/null | awk '{s += $1; n++} END {printf "%.0f", n ? s / n : 0}')
    echo "$b0 $b1 $t0 $t1 $ticks" |
        awk -v label="$1" -v fps="$fps" \
            '{printf "| %s | %.0f %% | %s |\n", label, ($2 - $1) / $5 / ($4 - $3) * 100, fps}'
}

start() {
    rm -f "$hud/fps"
    GALLIUM_HUD=fps GALLIUM_HUD_VISIBLE=false GALLIUM_HUD_PERIOD=1 GALLIUM_HUD_DUMP_DIR=$hud \
        "$program" --window=512x512 "$@" &
    pid=$!
    window=$(xdotool search --sync --name '^Vell$' | head -n 1)
    sleep 10  # past the opening title, into the steady plume
}

stop() {
    kill "$pid"
    wait "$pid" 2>/dev/null || true
}

echo "| Run | CPU | Frames a second |"
echo "|---|---|---|"
start
measure "default (--max-fps=60)"
xdotool windowunmap "$window"
sleep 1
measure "window unmapped (iconified)"
stop
start --max-fps=15
measure "--max-fps=15"
stop
start --max-fps=0
measure "--max-fps=0"
stop

# As a screen saver, in a window from foreign_window (held while its standard input is open):
# first one with the visual the program asks GLUT for (multisampled), then one with a plain
# visual, as the daemon's default visual is.
saver() {
    rm -f "$hud/hold" "$hud/window" "$hud/fps"
    mkfifo "$hud/hold"
    "$(dirname "$program")/foreign_window" 512x512 "$1" <"$hud/hold" >"$hud/window" &
    holder=$!
    exec 7>"$hud/hold"
    until [ -s "$hud/window" ]; do sleep 0.1; done
    window=$(cat "$hud/window")
    GALLIUM_HUD=fps GALLIUM_HUD_VISIBLE=false GALLIUM_HUD_PERIOD=1 GALLIUM_HUD_DUMP_DIR=$hud \
        "$program" --window-id "$window" 7>&- &
    pid=$!
    sleep 10
}

saver multisample
measure "screen saver (--window-id), multisampled visual, default (--max-fps=60)"
xdotool windowunmap "$window"
sleep 1
measure "screen saver, its window unmapped"
stop
exec 7>&-
wait "$holder"
saver plain
measure "screen saver (--window-id), plain visual, default (--max-fps=60)"
stop
exec 7>&-
wait "$holder"
