#!/usr/bin/env bash
# Builds the program (Release) and starts it.
set -euo pipefail
cd "$(dirname "$0")"
. tools/common.sh

# Without a display the program cannot start: said before building anything,
# with the command that gives it one (-a: a free display number, not a fixed one).
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    ensure_packages xvfb xauth
    echo "error: no display to open the window on (DISPLAY is not set); on a machine without one, run: xvfb-run -a ./run.sh" >&2
    exit 1
fi

ensure_packages "${BUILD_PACKAGES[@]}"
configure_and_build release velbrin
# Without a session bus, the toolkit's D-Bus library would start one of its own
# and leave its address in the home folder (~/.dbus): the program gets a bus of
# its own instead, gone when it ends.
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
    ensure_packages dbus-daemon
    exec dbus-run-session -- build/release/app/velbrin
fi
exec build/release/app/velbrin
