#!/bin/sh
# Installs the Debian packages that building, running, testing and linting need, if any is missing.
set -eu
packages="cmake g++ make pkg-config libgl-dev libglu1-mesa-dev freeglut3-dev libgl1-mesa-dri
libgtest-dev libpng-dev libfreetype-dev fonts-dejavu-core xvfb xauth xdotool imagemagick x11-utils
clang-format shellcheck"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
        missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
$sudo apt-get update -qq
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
