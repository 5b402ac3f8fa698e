#!/usr/bin/env bash
# Builds the program (Release) and starts it.
set -euo pipefail
cd "$(dirname "$0")"
. tools/common.sh

ensure_packages "${BUILD_PACKAGES[@]}" xvfb xauth
configure_and_build release velbrin

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "error: no display to open the window on (DISPLAY is not set); on a machine without one, run: xvfb-run ./run.sh" >&2
    exit 1
fi
exec build/release/app/velbrin
