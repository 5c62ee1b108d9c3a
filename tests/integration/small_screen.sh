#!/usr/bin/env bash
# Runs the small-screen tests of the integration test program on an X server of their own,
# 700 x 433 pixels, with openbox: a screen smaller than the main window.
set -euo pipefail
tests=$1
pids=()
cleanup() {
    for pid in "${pids[@]:-}"; do
        [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    done
}
trap cleanup EXIT
fifo=$(mktemp -u /tmp/pictavo-small-screen.XXXXXX)
mkfifo "$fifo"
Xvfb -displayfd 4 -screen 0 700x433x24 -nolisten tcp 4>"$fifo" >/dev/null 2>&1 &
pids+=($!)
read -r -t 60 number <"$fifo" || { echo "Xvfb did not start" >&2; exit 1; }
rm -f "$fifo"
export DISPLAY=:$number
openbox >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 600); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done
xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' ||
    { echo "openbox did not start" >&2; exit 1; }
"$tests" --gtest_also_run_disabled_tests --gtest_filter='SmallScreen.DISABLED_*'
