#!/bin/bash
# Starts the program again and again on a private X server that is killed 5 to 30 ms into each
# start, and counts how the starts ended: exit status or signal, or a hang (still running 10 s
# later), with the number of lines on standard error; one example of each kind's output follows.
# Not a test: the moment of the kill is random on purpose.
# Usage: lost_display_probe.sh [-n STARTS] PROGRAM [ARGS...]
set -u
starts=40
if [ "${1:-}" = "-n" ]; then
    starts=$2
    shift 2
fi
work=$(mktemp -d)
declare -A seen
for ((i = 0; i < starts; i++)); do
    rm -f "$work/display"
    mkfifo "$work/display"
    Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
    server=$!
    read -r number <"$work/display"
    DISPLAY=":$number" LIBGL_ALWAYS_SOFTWARE=1 "$@" 2>"$work/err" &
    pid=$!
    sleep "0.0$((RANDOM % 26 + 5))"
    kill -KILL "$server"
    wait "$server" 2>/dev/null
    end=hang
    for ((tenth = 0; tenth < 100; tenth++)); do
        if ! kill -0 "$pid" 2>/dev/null; then
            end=
            break
        fi
        sleep 0.1
    done
    if [ -n "$end" ]; then
        kill -KILL "$pid"
        wait "$pid" 2>/dev/null
    else
        wait "$pid" 2>/dev/null
        status=$?
        if [ "$status" -gt 128 ]; then end="signal $((status - 128))"; else end="status $status"; fi
    fi
    kind="$end, $(wc -l <"$work/err") lines"
    seen[$kind]=$((${seen[$kind]:-0} + 1))
    cp "$work/err" "$work/example.$kind"
done
for kind in "${!seen[@]}"; do echo "${seen[$kind]} of $starts: $kind"; done | sort -rn
for example in "$work"/example.*; do
    [ -s "$example" ] && echo "== ${example##*/example.}" && head -n 3 "$example"
done
rm -rf "$work"
