#!/bin/bash
# Compares the processor time per frame of several builds or start-up environments of the program,
# run in turn on the same display: for each window size and frame cap, every variant once per
# round, so that whatever else the machine does falls on all of them alike. For each it prints the
# medians over the rounds of the share of a core used, the frame rate (from Mesa's invisible
# heads-up display), the processor time per frame and the minor page faults per frame, and the
# ratio of its processor time per frame to the first variant's. Run it on a display of its own:
#   tools/with_xvfb.sh -s 1400x900 tools/cpu_compare.sh [-r ROUNDS] [-t SECONDS] [-w SECONDS] \
#       [-z "WxH ..."] [-f "FPS ..."] LABEL=COMMAND...
# COMMAND is the program with anything before it, e.g. main=build/wispra or
# trim-off="env MALLOC_TRIM_THRESHOLD_=2000000000 /tmp/old/wispra"; --window=WxH and --max-fps=N
# are added. -f 0 is uncapped. Defaults: 3 rounds of 10 s after 6 s of warming up (past the
# opening title), sizes 320x200 640x480, caps 30 60 0.
set -eu
# The program measured as it starts for anyone: no one's own settings file.
export XDG_CONFIG_HOME=/nonexistent
rounds=3
seconds=10
warm=6
sizes="320x200 640x480"
caps="30 60 0"
while getopts r:t:w:z:f: option; do
    case $option in
    r) rounds=$OPTARG ;;
    t) seconds=$OPTARG ;;
    w) warm=$OPTARG ;;
    z) sizes=$OPTARG ;;
    f) caps=$OPTARG ;;
    *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))
if [ $# -eq 0 ]; then
    echo "cpu_compare: name at least one LABEL=COMMAND" >&2
    exit 2
fi
ticks=$(getconf CLK_TCK)
work=$(mktemp -d)
chmod a+rwx "$work"  # the frame-rate file of a variant run as another user (tools/with_sway.sh)
pid=
# shellcheck disable=SC2317  # run by the trap below
finish() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill "$pid"
        wait "$pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap finish EXIT

# Busy clock ticks (user and system, all threads) and minor faults of process $1.
counters() { awk '{print $14 + $15, $10}' "/proc/$1/stat"; }
frames() { wc -l <"$work/fps" 2>/dev/null || echo 0; }

# run_one COMMAND SIZE CAP: appends "cpu% fps ms-per-frame faults-per-frame" to $work/result.
run_one() {
    rm -f "$work/fps"
    # shellcheck disable=SC2086  # the command's words are meant to split
    GALLIUM_HUD=fps GALLIUM_HUD_VISIBLE=false GALLIUM_HUD_PERIOD=1 GALLIUM_HUD_DUMP_DIR=$work \
        $1 --window="$2" --max-fps="$3" >/dev/null 2>&1 &
    pid=$!
    sleep "$warm"
    read -r busy0 faults0 < <(counters "$pid")
    t0=$(date +%s.%N)
    n0=$(frames)
    sleep "$seconds"
    read -r busy1 faults1 < <(counters "$pid")
    t1=$(date +%s.%N)
    fps=$(tail -n +"$((n0 + 1))" "$work/fps" | awk '{s += $1; n++} END {printf "%.2f", n ? s / n : 0}')
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    pid=
    awk -v b="$((busy1 - busy0))" -v f="$((faults1 - faults0))" -v hz="$ticks" -v fps="$fps" \
        -v t0="$t0" -v t1="$t1" 'BEGIN {
            s = t1 - t0; frames = fps * s
            printf "%.1f %.1f %.2f %.0f\n", b / hz / s * 100, fps,
                (frames > 0 ? b / hz * 1000 / frames : 0), (frames > 0 ? f / frames : 0) }' \
        >>"$work/$label.result"
}

median() { sort -g | awk '{v[NR] = $1} END {print NR ? v[int((NR + 1) / 2)] : 0}'; }

echo "$rounds rounds of $seconds s after $warm s; medians over the rounds"
for size in $sizes; do
    for cap in $caps; do
        for variant in "$@"; do rm -f "$work/${variant%%=*}.result"; done
        for ((round = 0; round < rounds; round++)); do
            for variant in "$@"; do
                label=${variant%%=*}
                run_one "${variant#*=}" "$size" "$cap"
            done
        done
        echo
        echo "$size, --max-fps=$cap"
        echo "| variant | % of a core | fps | processor ms per frame | ratio | minor faults per frame |"
        echo "|---|---|---|---|---|---|"
        first=
        for variant in "$@"; do
            label=${variant%%=*}
            file=$work/$label.result
            cpu=$(cut -d' ' -f1 "$file" | median)
            fps=$(cut -d' ' -f2 "$file" | median)
            ms=$(cut -d' ' -f3 "$file" | median)
            faults=$(cut -d' ' -f4 "$file" | median)
            [ -n "$first" ] || first=$ms
            ratio=$(awk -v a="$ms" -v b="$first" 'BEGIN {printf "%.2f", (b > 0 ? a / b : 0)}')
            echo "| $label | $cpu | $fps | $ms | $ratio | $faults |"
        done
    done
done
