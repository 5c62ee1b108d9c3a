#!/usr/bin/env bash
# Under a compositor without data-control (a headless weston, which has no seat
# either), the program watches the X clipboard,
# as on an X desktop.
set -euo pipefail
: "${PICTAVO_BIN:?PICTAVO_BIN must name the installed program}"
: "${DISPLAY:?DISPLAY must name a running X server}"
[ "$(id -u)" -eq 0 ] || { echo "needs root, to run the session as another user"; exit 77; }
source "$(dirname "$0")/session.sh"
session_work

convert -size 120x90 xc:red "PNG24:$WORK/red.png"
convert -size 120x90 xc:blue "PNG24:$WORK/blue.png"
chmod a+r "$WORK"/*.png
start_weston || fail "no compositor"
start_pictavo
has_window() { main_window_ids | grep -q .; }
wait_for 20 has_window || fail "the main window did not appear"
for c in red blue; do
    as_user xclip -selection clipboard -t image/png -i "$WORK/$c.png"
    wait_for 10 x_clipboard_has_no_image || fail "the $c copy was not taken"
done
kill -0 "$PICTAVO_PID" || fail "the program ended"
# Under a compositor without data-control the X side is held, offering nothing, so that the
# compositor makes that the Wayland selection too.
as_user xclip -o -selection clipboard -t TARGETS >/dev/null || fail "the X clipboard is not held"
# The premise: no clipboard manager can watch this compositor's selection.
! as_user wl-paste --list-types >/dev/null 2>&1 || fail "weston lets a clipboard manager in after all"
echo "no data-control: ok"
