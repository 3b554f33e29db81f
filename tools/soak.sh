#!/bin/bash
# Runs the program for a while under random keys, left-button drags and resizes, and watches it:
# its resident memory every 10 s, the GL error lines it writes and whether it is still alive.
# At the end it prints the memory at the start, after the first minute (where it has levelled
# after the first resizes) and at the end, the least-squares slope in MB per hour and every GL
# error line, then ends the program with Escape and reports its exit status.
# The choices come from bash's generator, seeded with the seed printed at the start; SEED=N
# repeats them (the program's own timing still differs from run to run).
# Usage (on an X display, e.g. a private one from with_xvfb.sh):
#   soak.sh <path to wispra> [minutes] [seed]
# Exit status 0 when the program lived to the end, wrote no GL error and ended with status 0.
set -u
# The program measured as it starts for anyone: no one's own settings file.
export XDG_CONFIG_HOME=/nonexistent
program=$1
minutes=${2:-10}
seed=${3:-}
[ -n "$seed" ] || seed=$(((RANDOM << 15 | RANDOM) ^ $$))
case "$minutes$seed" in
*[!0-9]*)
    echo "soak: minutes and seed are whole numbers: $minutes, $seed" >&2
    exit 2
    ;;
esac

sample_every=10 # seconds between memory samples
settle=5         # seconds of drawing at the screen's size before the first and the last sample
work=$(mktemp -d)
pid=

# shellcheck disable=SC2317  # run by the trap below
finish() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill "$pid" && wait "$pid"; fi
    rm -rf "$work"
}
trap finish EXIT

# Every key the program answers, except Escape, as xdotool names them.
keys=(question slash Left Right Up Down bracketleft bracketright less greater comma period
    minus equal underscore plus parenleft parenright braceleft braceright space
    c C f F l L p P r R s S t T u U w W o O)

resident_kb() {
    awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status" 2>/dev/null
}

window_size() { # sets width and height from the window's geometry
    eval "$(xdotool getwindowgeometry --shell "$window" 2>/dev/null | grep -E '^(WIDTH|HEIGHT)=')"
    width=${WIDTH:-1}
    height=${HEIGHT:-1}
}

press_keys() { # one key, pressed 1 to 20 times in a row: enough to reach the settings' limits
    local key=${keys[RANDOM % ${#keys[@]}]} times=$((RANDOM % 20 + 1))
    window_size
    # Keys go to the window under the pointer: there is no window manager to give it the focus.
    xdotool mousemove --window "$window" $((width / 2)) $((height / 2)) \
        key --repeat "$times" --delay 20 "$key"
}

drag() { # a left-button drag through a few random points of the window
    window_size
    local steps=$((RANDOM % 8 + 2)) args=()
    args+=(mousemove --window "$window" $((RANDOM % width)) $((RANDOM % height)) mousedown 1)
    for ((i = 0; i < steps; i++)); do
        args+=(mousemove --window "$window" $((RANDOM % width)) $((RANDOM % height)) sleep 0.05)
    done
    xdotool "${args[@]}" mouseup 1
}

resize() { # a random size, now and then a tiny one, up to the whole screen
    if [ $((RANDOM % 10)) -eq 0 ]; then
        xdotool windowsize "$window" $((RANDOM % 32 + 1)) $((RANDOM % 32 + 1))
    else
        xdotool windowsize "$window" $((RANDOM % (screen_width - 63) + 64)) \
            $((RANDOM % (screen_height - 63) + 64))
    fi
}

RANDOM=$seed
echo "soak: seed $seed (SEED=$seed repeats these choices); $program for $minutes min"
read -r screen_width screen_height < <(xdotool getdisplaygeometry)
# A window as large as the screen: the size the program is left at for the last memory sample.
"$program" --window="${screen_width}x$screen_height" >"$work/stdout.txt" 2>"$work/stderr.txt" &
pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Vell$' | head -n 1)
if [ -z "$window" ]; then
    echo "soak: no window titled Vell within 30 s" >&2
    cat "$work/stderr.txt" >&2
    exit 1
fi
sleep "$settle" # past start-up: the first sample is of the drawing program

: >"$work/rss.txt"
started=$SECONDS
next_sample=$started
deadline=$((started + minutes * 60))
actions=0
while kill -0 "$pid" 2>/dev/null && [ "$SECONDS" -lt "$deadline" ]; do
    if [ "$SECONDS" -ge "$next_sample" ]; then
        kb=$(resident_kb)
        [ -n "$kb" ] && echo "$((SECONDS - started)) $kb" >>"$work/rss.txt"
        next_sample=$((next_sample + sample_every))
    fi
    choice=$((RANDOM % 10))
    if [ "$choice" -lt 8 ]; then
        press_keys
    elif [ "$choice" -lt 9 ]; then
        drag
    else
        resize
    fi
    actions=$((actions + 1))
    sleep "0.$((RANDOM % 5))"
done
elapsed=$((SECONDS - started))
alive=no
kill -0 "$pid" 2>/dev/null && alive=yes
if [ "$alive" = yes ]; then
    # The resident memory follows the window's size: the last sample is taken at the first one's.
    xdotool windowsize "$window" "$screen_width" "$screen_height"
    sleep "$settle"
    kb=$(resident_kb)
    [ -n "$kb" ] && echo "$((SECONDS - started)) $kb" >>"$work/rss.txt"
fi

echo "soak: $actions actions in $elapsed s"
# Memory: the first and last samples, and the least-squares slope of all of them and of the second
# half alone, which leaves out the growth of the first minutes (caches, buffers of new sizes).
awk 'function slope(from, to,    i, k, st, sm, stt, stm, d) {
         for (i = from; i <= to; i++) {
             k++; st += t[i]; sm += m[i]; stt += t[i] * t[i]; stm += t[i] * m[i]
         }
         d = k * stt - st * st
         return d > 0 ? sprintf("%+.2f MB per hour", (k * stm - st * sm) / d) : "unknown"
     }
     { n++; t[n] = $1 / 3600; m[n] = $2 / 1024
       if (n == 1 || m[n] < low) low = m[n]
       if (n == 1 || m[n] > high) high = m[n] }
     END {
       if (n == 0) { print "soak: no memory samples"; exit }
       printf "soak: resident memory %.1f MB at the start, %.1f MB at the end (%d samples, " \
              "%.1f to %.1f MB)\n", m[1], m[n], n, low, high
       printf "soak: slope %s; over the second half %s\n", slope(1, n), slope(int(n / 2) + 1, n)
       for (i = 1; i < n && t[i] * 3600 < first_minute; i++) {}
       printf "soak: %.1f MB after the first minute; the end is %+.1f MB from there\n", m[i],
              m[n] - m[i]
     }' first_minute=60 "$work/rss.txt"

errors=$(grep -c 'OpenGL Error' "$work/stderr.txt")
if [ "$errors" -eq 0 ]; then
    echo "soak: no GL error lines"
else
    echo "soak: $errors GL error lines:"
    grep 'OpenGL Error' "$work/stderr.txt"
fi
others=$(grep -vc 'OpenGL Error' "$work/stderr.txt")
if [ "$others" -gt 0 ]; then
    echo "soak: other lines on standard error:"
    grep -v 'OpenGL Error' "$work/stderr.txt"
fi

status=0
if [ "$alive" = yes ]; then
    echo "soak: the program is still running; ending it with Escape"
    window_size
    xdotool mousemove --window "$window" $((width / 2)) $((height / 2)) key Escape
    waited=$SECONDS
    while kill -0 "$pid" 2>/dev/null && [ $((SECONDS - waited)) -lt 15 ]; do sleep 0.1; done
    if kill -0 "$pid" 2>/dev/null; then
        echo "soak: still running 15 s after Escape"
        status=1
    else
        wait "$pid"
        code=$?
        pid=
        echo "soak: exit status $code after Escape"
        [ "$code" -eq 0 ] || status=1
    fi
else
    wait "$pid"
    code=$?
    pid=
    echo "soak: the program DIED after about $elapsed s, exit status $code"
    status=1
fi
[ "$errors" -eq 0 ] || status=1
exit "$status"
