#!/bin/sh
# Installs the Debian packages that building, running, testing and checking need, if any is
# missing. Where there is no apt-get it lists what is needed, for the system's own package manager,
# and goes on.
set -eu
build_packages="cmake g++ make libgl-dev libglu1-mesa-dev libglut-dev libgl1-mesa-dri"
build_packages="$build_packages libfreetype-dev fontconfig fonts-dejavu-core"
test_packages="libgtest-dev libpng-dev xvfb xauth xdotool imagemagick x11-utils desktop-file-utils"
check_packages="clang-format shellcheck clang libclang-rt-dev"
if ! command -v apt-get >/dev/null 2>&1 || ! command -v dpkg-query >/dev/null 2>&1; then
    echo "install_deps: no apt-get here, so nothing is installed. Install the equivalents of"
    echo "these Debian packages with your system's package manager:"
    echo "  to build and run: $build_packages"
    echo "  to test as well: $test_packages"
    echo "  to lint, fuzz and sanitize: $check_packages"
    echo "(or build without the tests: cmake -DBUILD_TESTING=OFF)"
    exit 0
fi
missing=""
for p in $build_packages $test_packages $check_packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
        missing="$missing $p"
done
[ -z "$missing" ] && exit 0
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
$sudo apt-get update -qq
# Releases before Debian 12 and Ubuntu 22.10 know freeglut only by its old name.
if ! apt-cache show libglut-dev >/dev/null 2>&1; then
    missing=$(echo "$missing" | sed 's/libglut-dev/freeglut3-dev/')
fi
echo "Installing:$missing"
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
