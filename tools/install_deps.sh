#!/bin/sh
# Installs the Debian packages of the groups named on the command line, if any is missing; with no
# group named, every group. Each make target names only the groups it needs. Where there is no
# apt-get it lists what is needed, for the system's own package manager, and goes on.
# Usage: install_deps.sh [GROUP]...
#   build     build and run the program (make run, make install)
#   headless  run it on a virtual X server and take screenshots (make run without a display)
#   test      build and run the tests and the benchmark (make test, make sanitize, make bench),
#             the screen-saver tests with the xscreensaver daemon and XSecureLock, and the Wayland
#             tests with sway, grim, wtype and weston among them
#   lint      check the sources (make lint)
#   fuzz      fuzz the bitmap reader with clang's libFuzzer (make fuzz)
#   package   build and check the Debian package (make package)
set -eu
all_groups="build headless test lint fuzz package"

packages_of() {
    case $1 in
        build) echo "cmake g++ make pkg-config libgl-dev libglu1-mesa-dev libglut-dev libx11-dev" \
            "libegl-dev libwayland-dev wayland-protocols libxkbcommon-dev libdecor-0-dev" \
            "libdecor-0-plugin-1-cairo libgl1-mesa-dri libegl1-mesa libfreetype-dev fontconfig" \
            "fonts-dejavu-core" ;;
        headless) echo "xvfb xauth xdotool imagemagick" ;;
        test) echo "libgtest-dev libpng-dev xvfb xauth xdotool imagemagick x11-utils" \
            "desktop-file-utils appstream dpkg-dev xscreensaver xsecurelock libxml2-utils" \
            "sway grim wtype weston" ;;
        lint) echo "clang-format shellcheck git" ;;
        fuzz) echo "cmake make clang libclang-rt-dev" ;;
        package) echo "dpkg-dev lintian appstream" ;;
        *) return 1 ;;
    esac
}

groups=${*:-$all_groups}
wanted=""
for group in $groups; do
    if ! list=$(packages_of "$group"); then
        echo "install_deps: unknown group '$group' (groups: $all_groups)" >&2
        exit 2
    fi
    for p in $list; do
        case " $wanted " in *" $p "*) ;; *) wanted="$wanted $p" ;; esac
    done
done

if ! command -v apt-get >/dev/null 2>&1 || ! command -v dpkg-query >/dev/null 2>&1; then
    echo "install_deps: no apt-get here, so nothing is installed. Install the equivalents of"
    echo "these Debian packages with your system's package manager:"
    echo " $wanted"
    echo "(or build the program without the tests: cmake -DBUILD_TESTING=OFF)"
    exit 0
fi
missing=""
for p in $wanted; do
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
