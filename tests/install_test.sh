#!/bin/bash
# Installs the build into a temporary prefix and checks the installed tree: every file in its
# place, a valid desktop entry naming the window's class, the icons at every size, valid AppStream
# metadata, and the installed program started from another folder finds its images without a word
# (passing over a bad font.bmp there with one) and ends with status 0 on Escape.
# Usage (on a private X server): install_test.sh <cmake> <build folder> <configured data folder>
set -u
cmake=$1
build=$2
configured=$3
prefix=$(mktemp -d)
elsewhere=$(mktemp -d)
pid=

fail() {
    echo "install_test FAILED: $*" >&2
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill "$pid" && wait "$pid"; fi
    rm -rf "$prefix" "$elsewhere"
    exit 1
}
# shellcheck source=tests/program_probe.sh
. "$(dirname "$0")/program_probe.sh"

"$cmake" --install "$build" --prefix "$prefix" >"$elsewhere/install.log" 2>&1 ||
    fail "cmake --install: $(cat "$elsewhere/install.log")"
icons=""
for size in 48 64 128 256; do icons="$icons share/icons/hicolor/${size}x$size/apps/wispra.png"; done
for file in bin/wispra share/wispra/font.bmp share/wispra/smoke128.bmp \
    share/applications/wispra.desktop $icons share/man/man6/wispra.6.gz \
    share/doc/wispra/README.md share/doc/wispra/copyright share/doc/wispra/changelog.gz \
    share/xscreensaver/config/wispra.xml; do
    [ -s "$prefix/$file" ] || fail "$file was not installed"
done
# The licence is in the copyright file, where Debian looks for it, and nowhere else.
[ ! -e "$prefix/share/doc/wispra/LICENSE" ] || fail "a second licence file was installed"
[ -x "$prefix/bin/wispra" ] || fail "bin/wispra is not executable"
command -v desktop-file-validate >/dev/null || fail "desktop-file-validate (desktop-file-utils) is missing"
desktop=$prefix/share/applications/wispra.desktop
desktop-file-validate "$desktop" || fail "the desktop entry is not valid"
grep -qx 'StartupWMClass=Wispra' "$desktop" || fail "the desktop entry does not name the window's class"
for size in 48 64 128 256; do
    icon=$(identify -format '%m %w %h' "$prefix/share/icons/hicolor/${size}x$size/apps/wispra.png" 2>&1)
    [ "$icon" = "PNG $size $size" ] || fail "the ${size}-pixel icon is not a $size x $size PNG: $icon"
done
gzip -t "$prefix/share/man/man6/wispra.6.gz" "$prefix/share/doc/wispra/changelog.gz" ||
    fail "the manual page or the changelog is not gzip-compressed"

# The AppStream metadata, named after its id, launches the installed desktop entry.
set -- "$prefix"/share/metainfo/*.metainfo.xml
if [ "$#" -ne 1 ] || [ ! -s "$1" ]; then fail "no single metainfo file in share/metainfo: $*"; fi
metainfo=$1
command -v appstreamcli >/dev/null || fail "appstreamcli (appstream) is missing"
appstreamcli validate --no-net "$metainfo" >"$elsewhere/validate.log" 2>&1 ||
    fail "the AppStream metadata is not valid: $(cat "$elsewhere/validate.log")"
id=$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "$metainfo")
[ "$(basename "$metainfo")" = "$id.metainfo.xml" ] || fail "$metainfo is not named after its id $id"
grep -q '<launchable type="desktop-id">wispra.desktop</launchable>' "$metainfo" ||
    fail "the metainfo does not launch wispra.desktop"

cd "$elsewhere" || fail "cannot enter $elsewhere"
# run_until_escape: the installed program from here in a small window, ended with Escape;
# its standard output and error land in stdout.txt and stderr.txt.
run_until_escape() {
    "$prefix/bin/wispra" --window=320x240 >stdout.txt 2>stderr.txt &
    pid=$!
    # Only a mapped window takes keys, as a busy machine showed.
    mapped_window 15
    [ -n "$window" ] || fail "no window titled Vell within 15 s"
    # Keys reach the program once its start-up, which loads the images, is over.
    xdotool mousemove --window "$window" 10 10 key Escape
    ended_with_zero Escape
    [ ! -s stdout.txt ] || fail "standard output not empty: $(cat stdout.txt)"
}
run_until_escape
[ ! -s stderr.txt ] || fail "the installed program complained: $(cat stderr.txt)"

# A font.bmp here that is no bitmap is passed over, in one line, for the installed one.
head -c 4096 /dev/zero | tr '\0' 'x' >font.bmp
run_until_escape
[ "$(cat stderr.txt)" = "wispra: font.bmp: not a bitmap file (no BM signature)" ] ||
    fail "a bad font.bmp here did not give way to the installed one: $(cat stderr.txt)"
rm font.bmp

# Without its images the program names the installed data folder among those it tried; where a
# tree at the configured prefix holds them, that one would be found instead, so skip the check.
if [ ! -e "$configured/font.bmp" ]; then
    rm "$prefix/share/wispra/font.bmp"
    "$prefix/bin/wispra" --window=320x240 2>stderr.txt &
    pid=$!
    started=$SECONDS
    until grep -q "font.bmp not found" stderr.txt; do
        [ $((SECONDS - started)) -lt 15 ] || fail "no warning for a missing font.bmp"
        sleep 0.1
    done
    kill "$pid" && wait "$pid"
    pid=
    grep -q "$elsewhere, $prefix/bin, $prefix/share/wispra and $configured\$" stderr.txt ||
        fail "unexpected folders in: $(cat stderr.txt)"
fi
cd / && rm -rf "$prefix" "$elsewhere"
echo "install_test passed"
