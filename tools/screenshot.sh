#!/usr/bin/env bash
# Makes docs/screenshot.png: the program under a virtual X server, both
# identifiers typed in with xdotool as a person would, the window captured.
#   tools/screenshot.sh [OUTPUT.png]
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/common.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${DESKTOP_PACKAGES[@]}"
configure_and_build release velbrin
out=$(realpath -m "${1:-docs/screenshot.png}")
mkdir -p "$(dirname "$out")"

if [ -z "${VELBRIN_IN_XVFB:-}" ]; then
    VELBRIN_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$out"
fi

build/release/app/velbrin &
app=$!
trap 'kill $app 2>/dev/null || true' EXIT
for _ in $(seq 50); do
    window=$(xdotool search --name '^Corvanel' 2>/dev/null | head -1) && [ -n "$window" ] && break
    sleep 0.1
done
xdotool windowfocus --sync "$window"
xdotool type --delay 40 "a3ztzb1234"
xdotool key Tab
xdotool type --delay 40 "350904401234565"
sleep 0.5
import -window "$window" "$out"
echo "wrote $out"
