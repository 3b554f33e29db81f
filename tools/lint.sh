#!/bin/sh
# Checks the repository's habits without building: every tracked C++ file against .clang-format,
# the program's layers (no file includes from a layer above its own), and every tracked shell
# script (*.sh and any file with a shell shebang) with shellcheck.
set -u
cd "$(dirname "$0")/.." || exit 1

missing=""
for tool in clang-format shellcheck; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "lint: $tool is not installed (Debian package $tool; make deps installs it)" >&2
        missing="$missing $tool"
    fi
done
[ -z "$missing" ] || exit 1
if ! git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    echo "lint: not a git checkout; the files to check are the ones git tracks" >&2
    exit 1
fi

status=0
if ! git ls-files -z '*.cpp' '*.h' | xargs -0 -r clang-format --dry-run -Werror; then
    echo "lint: C++ files above differ from .clang-format; run clang-format -i on them" >&2
    status=1
fi

# The program's layers, bottom first: common/ and motion/; then particles/, text/, host/ (its core
# and one folder per window system) and the data-file search of program/; then scene/; then the
# rest of program/ (the entry and the command line, which tie the host to the scene). Tests, tools,
# the benchmark and the fuzzer sit above all of them.
layer_of() {
    case $1 in
        common/* | motion/*) echo 0 ;;
        particles/* | text/* | host/* | program/data_files.*) echo 1 ;;
        scene/*) echo 2 ;;
        program/*) echo 3 ;;
        *) echo 4 ;;
    esac
}
# Where no window system's header may be included: the host's core (host/ itself, not its
# folders) and every layer that is not a host. Each window system stays in its own folder.
names_no_window_system() {
    case $1 in
        host/*/*) return 1 ;;
        host/* | scene/* | text/* | particles/* | motion/* | common/*) return 0 ;;
        *) return 1 ;;
    esac
}
window_system_headers='^#include <(GL/(free)?glut|GL/glx|GL/glut|X11/|EGL/|wayland-|xkbcommon/|libdecor)'
layering=$(mktemp)
git ls-files '*.cpp' '*.h' | while IFS= read -r file; do
    own=$(layer_of "$file")
    [ "$own" -lt 4 ] || continue
    grep -n '^#include "' "$file" | while IFS= read -r line; do
        included=${line#*#include \"}
        included=${included%%\"*}
        if [ "$(layer_of "$included")" -gt "$own" ]; then
            echo "$file:${line%%:*}: includes $included from a layer above its own"
        fi
        case $file:$included in
            host/*/*:*) ;;
            host/*:host/*/*)
                echo "$file:${line%%:*}: the host's core includes $included from a window system's folder" ;;
        esac
    done
    if names_no_window_system "$file"; then
        grep -nE "$window_system_headers" "$file" | while IFS= read -r line; do
            echo "$file:${line%%:*}: includes a window system's header (${line#*#include }) outside host/'s window-system folders"
        done
    fi
done >"$layering"
if [ -s "$layering" ]; then
    cat "$layering" >&2
    echo "lint: the layers are common/ and motion/, then particles/, text/, host/ and" \
        "program/data_files, then scene/, then program/; a file may include only from its own" \
        "layer or below, the host's core from no window system's folder, and only a window" \
        "system's folder in host/ may include that window system's headers" >&2
    status=1
fi
rm -f "$layering"

scripts=$(mktemp)
git ls-files | while IFS= read -r file; do
    case $file in
        *.sh) echo "$file" ;;
        *) [ -f "$file" ] && head -n 1 "$file" | grep -qE '^#! *(/usr)?/bin/(env +)?(ba|da|k)?sh( |$)' &&
            echo "$file" ;;
    esac
done >"$scripts"
if ! tr '\n' '\0' <"$scripts" | xargs -0 -r shellcheck; then
    echo "lint: shellcheck found problems in the scripts above" >&2
    status=1
fi

if [ "$status" -eq 0 ]; then
    sources=$(git ls-files '*.cpp' '*.h' | wc -l)
    echo "lint: $sources C++ files and $(wc -l <"$scripts") shell scripts are clean"
fi
rm -f "$scripts"
exit "$status"
