#!/bin/sh
# Installs a build folder into the prefix it was configured with (and under DESTDIR, if set),
# through sudo when that place cannot be written by the present user.
# Usage: install.sh <build folder>
set -eu
build=${1:-build}
prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")
if [ -z "$prefix" ]; then
    echo "install: $build is not a configured build folder" >&2
    exit 1
fi
target=${DESTDIR:-}$prefix
# Where the tree exists already, its folders decide; elsewhere the nearest folder above it.
writable=yes
for dir in "$target" "$target/bin" "$target/share"; do
    while [ ! -d "$dir" ]; do dir=$(dirname "$dir"); done
    [ -w "$dir" ] || writable=no
done
sudo=""
if [ "$writable" = no ] && [ "$(id -u)" -ne 0 ]; then
    echo "install: $target is not writable, installing through sudo"
    sudo="sudo"
fi
$sudo cmake --install "$build"
