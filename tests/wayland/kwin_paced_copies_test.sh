#!/usr/bin/env bash
# Under a headless KWin with Pictavo focused, X programs copy one picture a second, as a
# person working through a document does, without waiting for the last to be taken: each
# is taken once, in order, and none is emptied away before it is taken.
set -euo pipefail
: "${PICTAVO_BIN:?PICTAVO_BIN must name the installed program}"
[ "$(id -u)" -eq 0 ] || { echo "needs root, to run the session as another user"; exit 77; }
command -v kwin_wayland >/dev/null || { echo "kwin_wayland is not installed"; exit 77; }
source "$(dirname "$0")/session.sh"
source "$(dirname "$0")/desktop_cases.sh"
session_work
make_pictures 20

start_kwin || fail "no compositor"
start_pictavo
wait_for 30 pictavo_window || fail "the main window did not appear"
wait_for 10 pictavo_focused || as_user xdotool windowactivate "$PICTAVO_WINDOW" || true
wait_for 10 pictavo_focused || fail "Pictavo is not focused"

for n in $(seq 0 19); do
    # Paced by the clock, not by the capture: the next copy comes whether or not this one
    # was taken yet.
    next=$(($(date +%s%N) + 1000000000))
    as_user xclip -selection clipboard -t image/png -i "$WORK/c$n.png"
    while [ "$(date +%s%N)" -lt "$next" ]; do sleep 0.05; done
done
COPIES=20
wait_for 15 x_has_no_image || fail "the last copy stayed on the X side"
check_gallery "20 X copies a second apart"
kill -0 "$PICTAVO_PID" || fail "the program ended"
echo "kwin paced copies: ok (20 copies, each taken once)"
