#!/usr/bin/env bash
# Cross-compiles the Windows program and its tests and runs them under wine in a
# virtual X server, against wine's own registry, file system and windows.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/common.sh

configure_and_build mingw
home=$(mktemp -d)
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$home"' EXIT
private_home "$home"
# A wine prefix made in the run, which sees only the fonts the tests pin: what the
# windows look like does not depend on an earlier run or on the machine's fonts.
export WINEPREFIX="$home/wine" FONTCONFIG_FILE="$PWD/build/mingw/tests/fonts.conf"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" # no .NET or browser engine offered
# One server for the whole run, each test a wine process of its own, every window
# in wine's own desktop.
xvfb-run -a -s "-screen 0 1024x768x24" \
    bash -c '. tools/common.sh && wine_desktop && exec ctest --preset mingw --progress'
