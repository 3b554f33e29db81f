# shellcheck shell=bash
# What the shell tests that drive the real program share; sourced, not run. The sourcing script
# defines fail MESSAGE (says what went wrong and exits) and keeps the running program's process id
# in pid.

# count FILE WxH+X+Y PERCENT: pixels of the region brighter than PERCENT of white.
count() {
    convert "$1" -crop "$2" +repage -colorspace gray -threshold "$3%" \
        -format '%[fx:floor(mean*w*h+0.5)]' info:
}

# mapped_window SECONDS: sets window to the program's window once it is mapped (a key sent earlier
# goes to the screen's root and is lost); empty when none is within SECONDS.
mapped_window() {
    # shellcheck disable=SC2034  # read by the sourcing script
    window=$(timeout "$1" xdotool search --sync --onlyvisible --name '^Vell$' | head -n 1)
}

# wait_end SECONDS: waits up to SECONDS for the program to end; returns 1 while it still runs,
# else sets status to its exit status, clears pid and returns 0.
wait_end() {
    local deadline=$((SECONDS + $1))
    while kill -0 "$pid" 2>/dev/null && [ "$SECONDS" -lt "$deadline" ]; do sleep 0.1; done
    kill -0 "$pid" 2>/dev/null && return 1
    wait "$pid"
    status=$?
    pid=
    return 0
}

# ended_with_zero WHAT: the program ends within 15 s of WHAT, with exit status 0.
ended_with_zero() {
    wait_end 15 || fail "still running 15 s after $1"
    [ "$status" -eq 0 ] || fail "exit status $status after $1, expected 0"
}
