#!/usr/bin/env bash
# Under a headless mutter (GNOME) with XWayland, which has no data-control: mutter hands
# every Wayland copy to the X clipboard, where Pictavo takes it. X and Wayland copies are
# each taken once, neither side offers the picture afterwards, and the copier quitting
# (when mutter's clipboard manager puts back what it held) brings nothing back.
set -euo pipefail
: "${PICTAVO_BIN:?PICTAVO_BIN must name the installed program}"
: "${WL_COPIER:?WL_COPIER must name the wl_copier test tool}"
[ "$(id -u)" -eq 0 ] || { echo "needs root, to run the session as another user"; exit 77; }
command -v mutter >/dev/null || { echo "mutter is not installed"; exit 77; }
source "$(dirname "$0")/session.sh"
source "$(dirname "$0")/desktop_cases.sh"
session_work
make_pictures 40

start_mutter || fail "no compositor"
start_pictavo
wait_for 30 pictavo_window || fail "the main window did not appear"
# start_copier TITLE: a Wayland window that takes the focus and copies on a key press.
start_copier() {
    rm -f "$WORK/copier.in" "$WORK/copier.out"
    mkfifo "$WORK/copier.in" && chmod 666 "$WORK/copier.in"
    user_argv
    "${USER_ARGV[@]}" "$WORK/bin/wl_copier" "$1" <"$WORK/copier.in" >"$WORK/copier.out" 2>&1 &
    COPIER=$!
    PIDS+=("$COPIER")
    exec 7>"$WORK/copier.in"
    wait_for 20 grep -q '^remote' "$WORK/copier.out" || fail "no remote keyboard: $(cat "$WORK/copier.out")"
    # The first key press makes the seat's keyboard.
    wait_for 20 pressed || fail "the copier never saw a key press"
    wait_for 10 grep -q '^active' "$WORK/copier.out" || fail "the copier is not focused"
    ! pictavo_focused || fail "Pictavo still focused"
}
pressed() { echo key >&7; wait_for 2 grep -q '^pressed' "$WORK/copier.out"; }
stop_copier() {
    echo quit >&7
    exec 7>&-
    wait "$COPIER" || true
}
count() { grep -c "^$1" "$WORK/copier.out" || true; }
more_than() { [ "$(count "$1")" -gt "$2" ]; }
# The Wayland side as the focused copier sees it.
wayland_types() {
    local before
    before=$(count types:)
    echo types >&7
    wait_for 5 more_than types: "$before" || return 1
    grep '^types:' "$WORK/copier.out" | tail -1
}
wayland_has_no_image() { wayland_types | grep -vq 'image/'; }
wl_copy() {
    local before
    before=$(count copied)
    echo "copy $WORK/c$COPIES.png" >&7
    echo key >&7
    wait_for 10 more_than copied "$before" || fail "the copier did not copy $COPIES"
    COPIES=$((COPIES + 1))
    wait_for 15 gallery_holds_copies || fail "Wayland copy $((COPIES - 1)) was not taken: $GALLERY_ERROR"
    wait_for 5 x_has_no_image || fail "Wayland copy $((COPIES - 1)) stayed on the X side"
    wait_for 5 wayland_has_no_image || fail "Wayland copy $((COPIES - 1)) stayed: $(wayland_types)"
}

start_copier copier
for i in $(seq 10); do wl_copy; done
check_gallery "Wayland copies"
# The copier quits right after its copy was taken: mutter's clipboard manager puts back
# what the copier held, if it held the selection still.
stop_copier
! wait_for 5 x_offers_image || fail "a picture came back when the copier quit"
check_gallery "the copier quitting"

# Pictavo focused again once the copier is gone.
wait_for 10 pictavo_focused || fail "Pictavo is not focused"
for i in $(seq 10); do x_copy Pictavo; done
check_gallery "X copies with Pictavo focused"

start_copier native-window
for i in $(seq 10); do
    x_copy "a Wayland window"
    wait_for 5 wayland_has_no_image || fail "X copy $((COPIES - 1)) stayed on the Wayland side"
done
check_gallery "X copies with a Wayland window focused"
stop_copier

# Nothing focused.
as_user xdotool windowminimize "$PICTAVO_WINDOW"
no_focus() { ! pictavo_focused; }
wait_for 10 no_focus || fail "Pictavo still focused"
for i in $(seq 10); do x_copy nothing; done
# A minimized window shows nothing: back to the screen for a look at it.
as_user xdotool windowmap "$PICTAVO_WINDOW"
check_gallery "X copies with nothing focused"
kill -0 "$PICTAVO_PID" || fail "the program ended"
echo "mutter capture: ok ($COPIES copies, each taken once)"
