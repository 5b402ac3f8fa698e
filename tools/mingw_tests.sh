#!/usr/bin/env bash
# Cross-compiles the toolkit-free targets for Windows and runs their tests under
# wine, against wine's own registry and file system.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/common.sh

configure_and_build mingw
export WINEPREFIX="$PWD/build/mingw/wineprefix"
export WINEDEBUG=-all
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
ctest --preset mingw --progress
