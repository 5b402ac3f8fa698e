#!/usr/bin/env bash
# Cross-compiles the Windows program and its tests and runs them under wine in a
# virtual X server, against wine's own registry, file system and windows; then
# builds the shipping velbrin.exe and checks it is one file of at most 1 MiB.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/common.sh

configure_and_build mingw
export WINEPREFIX="$PWD/build/mingw/wineprefix"
export WINEDEBUG=-all
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
# One server for the whole run; each test starts a wine process of its own. With
# no window manager wine waits about two seconds for every window it shows.
xvfb-run -a -s "-screen 0 1024x768x24" \
    sh -c 'openbox >/dev/null 2>&1 & exec ctest --preset mingw --progress'

configure_and_build mingw-release velbrin
dist=build/mingw-release/dist
rm -rf "$dist"
quietly build/mingw-release/install.log cmake --install build/mingw-release --prefix "$dist" --strip
tools/check_imports.sh "$dist/bin/velbrin.exe" | tr '\n' ' '
size=$(stat -c %s "$dist/bin/velbrin.exe")
awk -v s="$size" 'BEGIN { printf "\nvelbrin.exe: %d bytes stripped (%.0f KiB; the limit is 1024 KiB)\n", s, s / 1024 }'
[ "$size" -le 1048576 ] || { echo "error: velbrin.exe is larger than 1 MiB" >&2; exit 1; }
