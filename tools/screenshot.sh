#!/usr/bin/env bash
# Makes docs/screenshot.png (the Qt program) and docs/screenshot-windows.png (the
# Windows program under wine): each started under a virtual X server with a
# window manager, both identifiers typed in with xdotool as a person would, and
# the window captured.
#   tools/screenshot.sh
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/common.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${DESKTOP_PACKAGES[@]}"

if [ -z "${VELBRIN_IN_XVFB:-}" ]; then
    configure_and_build release velbrin
    configure_and_build mingw-release velbrin
    VELBRIN_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0"
fi

home=$(mktemp -d)
private_home "$home"
openbox >/dev/null 2>&1 &
wm=$!
export WINEPREFIX="$PWD/build/mingw-release/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
cleanup() { kill $wm 2>/dev/null || true; wineserver -k >/dev/null 2>&1 || true; rm -rf "$home"; }
trap cleanup EXIT

# shoot PROGRAM... -> OUTPUT: types the identifiers into the program's window.
shoot() {
    local out=$1
    shift
    "$@" >/dev/null 2>&1 &
    local app=$! window=""
    for _ in $(seq 100); do
        window=$(xdotool search --name "^Corvanel" 2>/dev/null | head -1 || true) &&
            [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || { echo "error: no window came up for $*" >&2; return 1; }
    xdotool windowactivate --sync "$window"
    sleep 0.5
    xdotool type --delay 40 "a3ztzb1234"
    xdotool key Tab
    xdotool type --delay 40 "350904401234565"
    sleep 0.5
    import -window "$window" -frame "$out"
    xdotool key Escape
    wait $app || true
    echo "wrote $out"
}

shoot docs/screenshot.png build/release/app/velbrin
[ -f "$WINEPREFIX/system.reg" ] || { wineboot -i >/dev/null 2>&1; wineserver -w; }
shoot docs/screenshot-windows.png wine build/mingw-release/app/velbrin.exe
