#!/bin/sh
# The exit statuses and what goes where: --help and --version on an unwritable standard output,
# a bad option, no display, no GL context, a lost X server, the host's two start-up failures (through an application whose hooks
# fail on request), and a settings file that --save cannot write. Every failure says so in one line on standard error and exits non-zero;
# standard output stays empty.
# Usage (on a private X server): exit_status_test.sh <path to wispra> <path to failing_app>
# The redirections inside sh -c belong to the program's own shell, so they are single-quoted.
# shellcheck disable=SC2016
set -u
program=$1
failing=$2
work=$(mktemp -d)
failures=0

# expect NAME STATUS STDERR-PATTERN LINES command...: runs the command with standard output in a
# file (unless it is redirected inside), then checks its status, that standard error has LINES
# lines matching the pattern, and that standard output is empty.
expect() {
    name=$1 status=$2 pattern=$3 lines=$4
    shift 4
    "$@" >"$work/out" 2>"$work/err"
    got=$?
    problem=""
    [ "$got" -eq "$status" ] || problem="exit status $got, expected $status"
    [ "$(wc -l <"$work/err")" -eq "$lines" ] || problem="$problem; $(wc -l <"$work/err") lines on stderr, expected $lines"
    if [ "$lines" -gt 0 ] && ! grep -q -- "$pattern" "$work/err"; then
        problem="$problem; stderr does not match '$pattern'"
    fi
    [ ! -s "$work/out" ] || problem="$problem; standard output not empty"
    if [ -n "$problem" ]; then
        echo "exit_status FAILED: $name: $problem" >&2
        sed 's/^/  stderr: /' "$work/err" >&2
        failures=$((failures + 1))
    fi
}

# Standard output that cannot be written: the answer is lost, and the status says so.
expect "--help >/dev/full" 1 "^wispra: cannot write to standard output: " 1 \
    sh -c '"$0" --help >/dev/full' "$program"
expect "--version >/dev/full" 1 "^wispra: cannot write to standard output: " 1 \
    sh -c '"$0" --version >/dev/full' "$program"
expect "-h with standard output closed" 1 "^wispra: cannot write to standard output: " 1 \
    sh -c '"$0" -h >&-' "$program"
# Written, the answer costs nothing on standard error.
if ! "$program" --version >"$work/version" 2>"$work/err" || [ -s "$work/err" ] ||
    ! grep -q '^wispra [0-9]' "$work/version"; then
    echo "exit_status FAILED: --version did not print its line and exit 0" >&2
    failures=$((failures + 1))
fi
expect "a bad option" 2 "--bogus" 1 "$program" --bogus
expect "no display" 1 "^wispra: cannot open display ''$" 1 env -u DISPLAY "$program" --window
# A context the server cannot make (it offers no indirect GLX): one line, not Xlib's dump.
expect "no context" 1 "^wispra: .*context" 1 env LIBGL_ALWAYS_INDIRECT=1 "$program" --window
# A pipe whose reader has gone: the answer is lost, not the program.
mkfifo "$work/gone"
# The shell's own reader lets the writer open, then goes.
# shellcheck disable=SC2094
exec 9<>"$work/gone" 8>"$work/gone" 9<&-
expect "--help into a pipe without a reader" 1 "^wispra: cannot write to standard output: " 1 \
    sh -c '"$0" --help >&8' "$program"
exec 8>&-
expect "PreInit failing" 1 "^App returned false on PreInit(), we shouldn't really continue\.$" 1 \
    env WISPRA_TEST_FAIL_AT=PreInit "$failing" --window
expect "Init failing" 1 "^App failed to initialize\.$" 1 \
    env WISPRA_TEST_FAIL_AT=Init "$failing" --window
# The same application without a failure ends through its refused frame, with status 0.
expect "a refused frame" 0 - 0 "$failing" --window
# --save writes the settings at the end; a file it cannot write fails the run, in one line.
expect "--save" 0 - 0 "$failing" --window --save --config "$work/new/wispra.conf"
[ -s "$work/new/wispra.conf" ] || {
    echo "exit_status FAILED: --save wrote no settings file" >&2
    failures=$((failures + 1))
}
expect "--save where no file can be" 1 "^wispra: cannot save the settings in .*: Not a directory$" 1 \
    "$failing" --window --save --config="$work/new/wispra.conf/wispra.conf"

# The X server killed under a running window and a running saver: one line and status 1 each.
mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 320x240x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
server=$!
read -r number <"$work/display"
DISPLAY=":$number" "$program" --window 2>"$work/lost-window" &
pids="window:$!"
DISPLAY=":$number" "$program" --root 2>"$work/lost-saver" &
pids="$pids saver:$!"
DISPLAY=":$number" timeout 20 xdotool search --sync --onlyvisible --name '^Vell$' >/dev/null
kill -KILL "$server"
for started in $pids; do
    how=${started%:*}
    wait "${started#*:}"
    got=$?
    lost=$work/lost-$how
    if [ "$got" -ne 1 ] || [ "$(wc -l <"$lost")" -ne 1 ] ||
        ! grep -q "^wispra: the connection to the X server.* was lost$" "$lost"; then
        echo "exit_status FAILED: the $how on a lost X server: status $got, $(cat "$lost")" >&2
        failures=$((failures + 1))
    fi
done

rm -rf "$work"
[ "$failures" -eq 0 ] || exit 1
echo "exit_status passed"
