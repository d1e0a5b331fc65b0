#!/usr/bin/env bash
# Runs a test program on an X server of its own (Xvfb, QUORVANTA_SCREEN or 1366x768) with a window
# manager (openbox), as a laptop at the counter shows it. The server picks a free display itself.
set -euo pipefail
size=${QUORVANTA_SCREEN:-1366x768}
dir=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$dir/display" 2>/dev/null &
xvfb=$!
wm=
trap 'kill $wm $xvfb 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$dir"' EXIT
for _ in $(seq 100); do [[ -s "$dir/display" ]] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$dir/display")"
# The test starts once the window manager manages windows: a window shown before would never get the
# keyboard on a slow machine.
openbox --startup "touch $dir/wm-ready" >/dev/null 2>&1 &
wm=$!
for _ in $(seq 300); do [[ -e "$dir/wm-ready" ]] && break; sleep 0.1; done
QUORVANTA_TEST_DISPLAY=1 QT_QPA_PLATFORM=xcb "$@"
