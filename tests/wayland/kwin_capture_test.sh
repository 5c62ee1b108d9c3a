#!/usr/bin/env bash
# Under a headless KWin (KDE Plasma) with XWayland, which offers data-control and hands
# copies between X and Wayland as the focus decides: X and Wayland copies, with Pictavo, a
# Wayland window or nothing focused, are each taken once, and neither side still offers
# the picture afterwards.
set -euo pipefail
: "${PICTAVO_BIN:?PICTAVO_BIN must name the installed program}"
: "${WL_COPIER:?WL_COPIER must name the wl_copier test tool}"
[ "$(id -u)" -eq 0 ] || { echo "needs root, to run the session as another user"; exit 77; }
command -v kwin_wayland >/dev/null || { echo "kwin_wayland is not installed"; exit 77; }
source "$(dirname "$0")/session.sh"
source "$(dirname "$0")/desktop_cases.sh"
session_work
make_pictures 60

start_kwin || fail "no compositor"
start_pictavo
wait_for 30 pictavo_window || fail "the main window did not appear"

wayland_has_no_image() { ! wayland_offers_image; }
# wl_copy: the next picture copied by a Wayland program; neither side offers it afterwards.
wl_copy() {
    as_user wl-copy --type image/png <"$WORK/c$COPIES.png"
    wait_for 15 wayland_has_no_image || fail "Wayland copy $COPIES ($1) was not taken"
    wait_for 5 x_has_no_image || fail "Wayland copy $COPIES ($1) stayed on the X side"
    COPIES=$((COPIES + 1))
}
x_copy_both() {
    x_copy "$1"
    wait_for 5 wayland_has_no_image || fail "X copy $((COPIES - 1)) ($1) stayed on the Wayland side"
}
copies() {
    local kind=$1 focus=$2 i
    for i in $(seq 10); do "$kind" "$focus"; done
    # A minimized window shows nothing: back to the screen for a look at it.
    [ "$focus" != nothing ] || as_user xdotool windowmap "$PICTAVO_WINDOW"
    check_gallery "$kind copies with $focus focused"
    if [ "$focus" = nothing ]; then
        as_user xdotool windowminimize "$PICTAVO_WINDOW"
        wait_for 10 no_focus || fail "Pictavo still focused"
    fi
}
no_focus() { ! pictavo_focused; }

wait_for 10 pictavo_focused || as_user xdotool windowactivate "$PICTAVO_WINDOW" || true
wait_for 10 pictavo_focused || fail "Pictavo is not focused"
copies x_copy_both Pictavo
copies wl_copy Pictavo

# A native Wayland window takes the focus as it appears.
mkfifo "$WORK/copier.in" && chmod 666 "$WORK/copier.in"
user_argv
"${USER_ARGV[@]}" "$WORK/bin/wl_copier" native-window <"$WORK/copier.in" >"$WORK/copier.out" 2>&1 &
PIDS+=($!)
exec 7>"$WORK/copier.in"
wait_for 20 grep -q '^active' "$WORK/copier.out" || fail "the Wayland window did not take the focus"
! pictavo_focused || fail "Pictavo still focused"
copies x_copy_both "a Wayland window"
copies wl_copy "a Wayland window"

# Nothing focused: the Wayland window gone, Pictavo minimized.
echo quit >&7
exec 7>&-
as_user xdotool windowminimize "$PICTAVO_WINDOW"
wait_for 10 no_focus || fail "Pictavo still focused"
copies x_copy_both nothing
copies wl_copy nothing
kill -0 "$PICTAVO_PID" || fail "the program ended"
echo "kwin capture: ok ($COPIES copies, each taken once)"
