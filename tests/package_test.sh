#!/bin/bash
# Builds the Debian package from the build folder with cpack and checks it as a distribution would:
# its control fields; its contents, all under /usr, the binary stripped; each dependency one that
# this system has installed; dpkg installing it into a temporary root, from where the program
# starts and ends with Escape without a word; lintian (where installed) and the AppStream
# metadata (tools/check_package.sh).
# Usage (on a private X server): package_test.sh <cpack> <build folder> <source folder>
set -u
cpack=$1
build=$2
source=$3
work=$(mktemp -d)
pid=

fail() {
    echo "package_test FAILED: $*" >&2
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill "$pid" && wait "$pid"; fi
    rm -rf "$work"
    exit 1
}
# shellcheck source=tests/program_probe.sh
. "$(dirname "$0")/program_probe.sh"

(cd "$build" && "$cpack" -G DEB -B "$work/out") >"$work/cpack.log" 2>&1 ||
    fail "cpack -G DEB: $(cat "$work/cpack.log")"
set -- "$work"/out/*.deb
if [ "$#" -ne 1 ] || [ ! -f "$1" ]; then fail "cpack made no single .deb: $*"; fi
deb=$1

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = wispra ] || fail "Package: $(field Package)"
if [ -z "$(field Section)" ] || [ -z "$(field Priority)" ]; then fail "no Section or Priority"; fi
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] || fail "Maintainer: $(field Maintainer)"
[ -n "$(field Description)" ] || fail "no Description"
# Dependencies come from dpkg-shlibdeps: every library the program links, by its package.
depends=$(field Depends)
for library in libglut libx11 libc6 libstdc; do
    [[ "$depends" == *"$library"* ]] || fail "Depends lacks $library: $depends"
done
# Each dependency is a package this system has (the program runs here): one of its alternatives
# is installed.
IFS=, read -ra groups <<<"$depends"
for group in "${groups[@]}"; do
    found=no
    IFS='|' read -ra alternatives <<<"$group"
    for alternative in "${alternatives[@]}"; do
        name=$(echo "$alternative" | sed 's/(.*//; s/[[:space:]]//g')
        dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q "install ok installed" &&
            found=yes
    done
    [ "$found" = yes ] || fail "no installed package satisfies '$group'"
done

dpkg-deb -c "$deb" >"$work/contents" || fail "dpkg-deb -c failed"
awk '{ print $6 }' "$work/contents" | grep -v '^\./usr/' | grep -v '^\./$' &&
    fail "files outside /usr (above)"
for file in bin/wispra share/wispra/font.bmp share/wispra/smoke128.bmp \
    share/applications/wispra.desktop share/man/man6/wispra.6.gz share/doc/wispra/copyright \
    share/doc/wispra/changelog.gz share/icons/hicolor/48x48/apps/wispra.png \
    share/icons/hicolor/256x256/apps/wispra.png share/xscreensaver/config/wispra.xml; do
    grep -q " \./usr/$file\$" "$work/contents" || fail "the package lacks /usr/$file"
done
grep -q ' \./usr/share/metainfo/.*\.metainfo\.xml$' "$work/contents" ||
    fail "the package lacks its AppStream metadata"

# dpkg itself installs it, into a root of its own with an empty package database (the libraries
# it depends on are this system's, outside that root).
root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
dpkg --root="$root" --log=/dev/null --force-depends --force-not-root --force-script-chrootless \
    -i "$deb" >"$work/dpkg.log" 2>&1 || fail "dpkg -i: $(cat "$work/dpkg.log")"
dpkg --root="$root" -s wispra 2>/dev/null | grep -q '^Status: install ok installed$' ||
    fail "dpkg does not list the package as installed"
program=$root/usr/bin/wispra
readelf -S "$program" | grep -q '\.symtab' && fail "the packaged program is not stripped"
cmp -s "$root/usr/share/doc/wispra/copyright" "$source/packaging/copyright" ||
    fail "the copyright file is not packaging/copyright"

mkdir "$work/elsewhere" || fail "cannot make a working folder"
cd "$work/elsewhere" || fail "cannot enter $work/elsewhere"
"$program" --window=320x240 >stdout.txt 2>stderr.txt &
pid=$!
mapped_window 15
[ -n "$window" ] || fail "the packaged program opened no window titled Vell within 15 s"
xdotool mousemove --window "$window" 10 10 key Escape
ended_with_zero Escape
[ ! -s stderr.txt ] || fail "the packaged program complained: $(cat stderr.txt)"
[ ! -s stdout.txt ] || fail "standard output not empty: $(cat stdout.txt)"
cd / || fail "cannot leave the working folder"

"$source/tools/check_package.sh" --lintian-if-installed "$deb" >"$work/check.log" 2>&1 ||
    fail "$(cat "$work/check.log")"
grep '^check_package: lintian' "$work/check.log"
rm -rf "$work"
echo "package_test passed"
