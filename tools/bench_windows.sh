#!/usr/bin/env bash
# Start-up of the shipping velbrin.exe under wine, beside the floor for its window
# (the same twenty controls made plainly in one pass, the same manifest) and a
# bare window of the same size: prints the medians and both ratios.
#   tools/bench_windows.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/common.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
configure_and_build mingw-release bench_startup_win32
home=$(mktemp -d)
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$home"' EXIT
private_home "$home"
export WINEPREFIX="$PWD/build/mingw-release/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
wineserver -k >/dev/null 2>&1 || true # its desktop must be the virtual X server's
xvfb-run -a -s "-screen 0 1024x768x24" wine build/mingw-release/app/bench_startup_win32.exe "${1:-11}"
