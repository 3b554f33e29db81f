#!/bin/bash
# The program as the only display mode of Debian's xscreensaver daemon: installed into a
# temporary prefix, listed as "GL: wispra -root" in a settings file of its own, activated with
# xscreensaver-command. The smoke and the stars must fill the screen; deactivated, the program
# must end with status 0 and without a word. Then under XSecureLock, which passes no options: the
# settings file gives the look.
# Usage (on a private 800 x 600 X server): screensaver_daemon_test.sh <cmake> <build folder>
set -u
cmake=$1
build=$2
out=$PWD/test-output/screensaver_daemon
rm -rf "$out" && mkdir -p "$out" || exit 1
work=$(mktemp -d)
daemon=

fail() {
    echo "screensaver_daemon_test FAILED: $*" >&2
    echo "screenshots, the daemon's log and the program's output are kept in $out:" \
        "$(cd "$out" && echo *)" >&2
    [ -s "$out/stderr.txt" ] && echo "--- program stderr:" >&2 && cat "$out/stderr.txt" >&2
    [ -n "$daemon" ] && kill "$daemon" 2>/dev/null && wait "$daemon"
    rm -rf "$work"
    exit 1
}

for tool in xscreensaver xscreensaver-command; do
    command -v "$tool" >/dev/null || fail "$tool is missing (Debian package xscreensaver)"
done

"$cmake" --install "$build" --prefix "$work/prefix" >"$out/install.log" 2>&1 ||
    fail "cmake --install: $(cat "$out/install.log")"
fragment=$work/prefix/share/xscreensaver/config/wispra.xml
[ -s "$fragment" ] || fail "the daemon's configuration fragment was not installed"
command -v xmllint >/dev/null || fail "xmllint (libxml2-utils) is missing"
xmllint --noout "$fragment" 2>"$out/xmllint.txt" ||
    fail "the configuration fragment is not well-formed XML: $(cat "$out/xmllint.txt")"

# The daemon runs no display modes for root. As root, the daemon, and so the program, run as
# nobody, who must be able to read the installed tree and write the results.
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    command -v setpriv >/dev/null || fail "setpriv (util-linux) is missing"
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
mkdir -p "$work/home" "$work/results"
chmod -R a+rX "$work"
[ ${#as_user[@]} -eq 0 ] || chown nobody "$work/home" "$work/results"

# The daemon ends a display mode with SIGTERM and does not say how it ended. This stand-in, the
# one program in the daemon's list, runs the installed program with the daemon's arguments and
# environment, passes the signal on and writes down the exit status.
cat >"$work/wispra-recorded" <<EOF
#!/bin/sh
"$work/prefix/bin/wispra" "\$@" >"$work/results/stdout.txt" 2>"$work/results/stderr.txt" &
child=\$!
trap 'kill -TERM \$child' TERM
trap 'kill -INT \$child' INT
while kill -0 \$child 2>/dev/null; do wait \$child; status=\$?; done
echo "\$status" >"$work/results/status"
EOF
chmod a+rx "$work/wispra-recorded"

# Settings: this one display mode, no locking, fading or splash, and no blanking of its own
# accord in the test's time.
cat >"$work/home/.xscreensaver" <<EOF
mode: one
selected: 0
timeout: 0:30:00
cycle: 0:00:00
lock: False
fade: False
unfade: False
splash: False
dpmsEnabled: False
programs: GL: $work/wispra-recorded -root \\n
EOF
chmod a+r "$work/home/.xscreensaver"

run_as() { "${as_user[@]}" env HOME="$work/home" "$@"; }

# From a folder without images, so that the program finds the installed ones.
cd "$work/home" || fail "cannot enter $work/home"
run_as xscreensaver -no-splash -verbose >"$out/daemon.log" 2>&1 &
daemon=$!
deadline=$((SECONDS + 30))
until run_as xscreensaver-command -version >/dev/null 2>&1; do
    kill -0 "$daemon" 2>/dev/null || fail "the daemon ended at start-up"
    [ "$SECONDS" -lt "$deadline" ] || fail "the daemon did not answer within 30 s"
    sleep 0.2
done
run_as xscreensaver-command -activate >>"$out/daemon.log" 2>&1 || fail "activation refused"

# count FILE WxH+X+Y FX: pixels of the region for which the ImageMagick expression FX holds.
count() {
    convert "$1" -crop "$2" +repage -fx "$3" -format '%[fx:floor(mean*w*h+0.5)]' info:
}

# The stars are dots all over the screen, so each corner of the 800 x 600 screen shows some; the
# smoke is a plume, of a tint that differs from run to run, in the upper middle, above the
# cigarette, where stars light far fewer pixels.
# wait_for_picture STARS WHAT: screenshots until the smoke shows and every corner has at least
# (yes) or almost no (no) stars.
lit='(r+g+b)/3 > 0.05'
smoky='(r+g+b)/3 > 0.2'
wait_for_picture() {
    deadline=$((SECONDS + 60))
    shots=0
    while :; do
        shots=$((shots + 1))
        shot=$out/screen$((shots % 2)).png
        import -window root "$shot" || fail "screenshot $shot could not be taken"
        corners=""
        for corner in 200x150+0+0 200x150+600+0 200x150+0+450 200x150+600+450; do
            corners="$corners $(count "$shot" "$corner" "$lit")"
        done
        smoke=$(count "$shot" 266x250+267+50 "$smoky")
        values="stars in the corners:$corners; smoke: $smoke"
        full=yes
        for stars in $corners; do
            if [ "$1" = yes ]; then [ "$stars" -ge 8 ] || full=no; else [ "$stars" -le 2 ] || full=no; fi
        done
        [ "$full" = yes ] && [ "$smoke" -ge 500 ] && return 0
        [ -s "$work/results/status" ] && fail "the program ended: status $(cat "$work/results/status")"
        [ "$SECONDS" -lt "$deadline" ] || fail "$2 within 60 s ($values)"
        sleep 0.5
    done
}
wait_for_picture yes "no smoke and stars full screen"
cp "$shot" "$out/drawn.png"

run_as xscreensaver-command -deactivate >>"$out/daemon.log" 2>&1 || fail "deactivation refused"
deadline=$((SECONDS + 30))
until [ -s "$work/results/status" ]; do
    [ "$SECONDS" -lt "$deadline" ] || fail "the program still ran 30 s after deactivation"
    sleep 0.2
done
cp "$work/results/"* "$out/"
status=$(cat "$work/results/status")
[ "$status" = 0 ] || fail "exit status $status after deactivation, expected 0"
[ ! -s "$work/results/stderr.txt" ] || fail "the program complained"
[ ! -s "$work/results/stdout.txt" ] || fail "standard output not empty"

kill "$daemon" && wait "$daemon"
daemon=

# XSecureLock runs its saver with -root alone, one for each monitor: the look comes from the
# settings file, here a universe without stars.
command -v xsecurelock >/dev/null || fail "xsecurelock is missing (Debian package xsecurelock)"
rm -f "$work/results/"*
mkdir -p "$work/home/.config/wispra"
echo no-stars >"$work/home/.config/wispra/wispra.conf"
chmod -R a+rX "$work/home"
"${as_user[@]}" env HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
    XSECURELOCK_SAVER="$work/wispra-recorded" XSECURELOCK_NO_COMPOSITE=1 \
    xsecurelock >"$out/xsecurelock.log" 2>&1 &
daemon=$!
wait_for_picture no "no smoke without stars under XSecureLock"
cp "$shot" "$out/locked.png"
# The locker ends its savers its own way (the stand-in may not live to write a status): the
# program must simply be gone, without a word.
kill "$daemon" && wait "$daemon"
daemon=
deadline=$((SECONDS + 30))
while pgrep -f "$work/prefix/bin/wispra" >/dev/null; do
    [ "$SECONDS" -lt "$deadline" ] || fail "the program still ran 30 s after the locker ended"
    sleep 0.2
done
[ ! -s "$work/results/stderr.txt" ] || fail "the program complained under XSecureLock"

cd / && rm -rf "$work" "$out"
echo "screensaver_daemon_test passed ($values)"
