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

# The program's layers, bottom first: common/ and motion/; then particles/, text/ and host/; then
# scene/. Tests, tools, the benchmark and the fuzzer sit above all of them.
layer_of() {
    case $1 in
        common/* | motion/*) echo 0 ;;
        particles/* | text/* | host/*) echo 1 ;;
        scene/*) echo 2 ;;
        *) echo 3 ;;
    esac
}
layering=$(mktemp)
git ls-files '*.cpp' '*.h' | while IFS= read -r file; do
    own=$(layer_of "$file")
    [ "$own" -lt 3 ] || continue
    grep -n '^#include "' "$file" | while IFS= read -r line; do
        included=${line#*#include \"}
        included=${included%%\"*}
        if [ "$(layer_of "$included")" -gt "$own" ]; then
            echo "$file:${line%%:*}: includes $included from a layer above its own"
        fi
    done
done >"$layering"
if [ -s "$layering" ]; then
    cat "$layering" >&2
    echo "lint: the layers are common/ and motion/, then particles/, text/ and host/, then scene/;" \
        "a file may include only from its own layer or below" >&2
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
