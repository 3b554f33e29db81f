#!/bin/bash
# The program on Debian's weston, headless, which offers no wlr-layer-shell and draws no window
# decorations: --wallpaper is refused with one line and status 2, and the window draws its own
# decorations (libdecor's), as subsurfaces with pictures of their own beside the scene's.
# Usage: weston_test.sh <path to wispra>
set -u
program=$1
command -v weston >/dev/null || { echo "weston_test FAILED: weston is missing" >&2; exit 1; }
work=$(mktemp -d)
mkdir -m 700 "$work/runtime"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    chown nobody:nogroup "$work/runtime"
fi
chmod a+rwx "$work"
run() { "${as_user[@]}" env XDG_RUNTIME_DIR="$work/runtime" WAYLAND_DISPLAY=wayland-test "$@"; }
"${as_user[@]}" env -i HOME="$work" XDG_RUNTIME_DIR="$work/runtime" PATH="$PATH" weston \
    --backend=headless-backend.so --use-pixman --socket=wayland-test --width=800 --height=600 \
    >"$work/weston.log" 2>&1 &
server=$!
fail() {
    echo "weston_test FAILED: $*" >&2
    kill "$server" 2>/dev/null
    rm -rf "$work"
    exit 1
}
for _ in $(seq 300); do [ -S "$work/runtime/wayland-test" ] && break; sleep 0.1; done
[ -S "$work/runtime/wayland-test" ] || fail "weston did not start: $(cat "$work/weston.log")"

run "$program" --no-config --wallpaper >"$work/out" 2>"$work/err"
status=$?
[ "$status" -eq 2 ] || fail "--wallpaper ended with status $status, expected 2"
if [ "$(wc -l <"$work/err")" -ne 1 ] || ! grep -q "zwlr_layer_shell_v1" "$work/err"; then
    fail "--wallpaper did not name the missing protocol in one line: $(cat "$work/err")"
fi

run env WAYLAND_DEBUG=client "$program" --no-config --window >/dev/null 2>"$work/protocol" &
pid=$!
decorations=0
for _ in $(seq 300); do
    # A subsurface of the window's, with a picture of its own: a decoration.
    decorations=$(grep -o 'get_subsurface(new id wl_subsurface@[0-9]*, wl_surface@[0-9]*' \
        "$work/protocol" | sed 's/.*, //' | while read -r surface; do
        grep -c "$surface\.attach(wl_buffer" "$work/protocol"
    done | awk '$1 > 0' | wc -l)
    [ "$decorations" -gt 0 ] && grep -q "xdg_toplevel@[0-9]*.set_title(\"Vell\")" "$work/protocol" &&
        break
    sleep 0.1
done
kill "$pid" 2>/dev/null
wait "$pid"
[ "$decorations" -gt 0 ] || fail "the window drew no decorations of its own"
kill "$server" && wait "$server"
rm -rf "$work"
echo "weston_test passed: $decorations decoration surfaces"
