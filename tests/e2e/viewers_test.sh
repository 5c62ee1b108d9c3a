#!/usr/bin/env bash
# End to end, as a user clicks and types: a thumbnail opens a zoom window owned by
# the main window, a double click the full-screen viewer in front with the focus,
# keys close them; closing the main window with viewers open ends the program.
source "$(dirname "$0")/lib.sh"
work=$E2E_TMP
wait_until() { wait_for 10 "$@"; }
window_named() { xdotool search --onlyvisible --name "$1" | head -1; }
is_active() { [[ $(xdotool getactivewindow) == "$1" ]]; }
is_topmost() { [[ $(printf '%d' "$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*, //; s/.*# //')") == "$1" ]]; }
is_unmapped() { ! xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }
transient_for() { printf '%d' "$(xprop -id "$1" WM_TRANSIENT_FOR | sed 's/.*# //')"; }
active_is_full_screen() {
    local w
    w=$(xdotool getactivewindow) || return 1
    [[ $(xdotool getwindowgeometry "$w" | awk '/Geometry/ {print $2}') == "$(xdotool getdisplaygeometry | tr ' ' x)" ]]
}
file_pixel() { convert "$1" -format "%[pixel:p{$2}]" info:; }
count_named() { xdotool search --onlyvisible --name "$1" | wc -l; }

# A capture: a solid picture put on the clipboard, as PrintScreen does.
convert -size 800x450 xc:'#2060a0' "$work/capture.png"
start_pictavo
pid=$PICTAVO_PID
main=$WINDOW
# Away from the top left corner, where the window manager puts the zoom windows.
xdotool windowmove --sync "$main" 600 500
put_png "$work/capture.png"
wait_until clipboard_empty || fail "the capture was not taken"

# The client area's place on the screen, inside the window manager's frame.
client_origin
X=$ORIGIN_X
Y=$ORIGIN_Y
# Points on the first thumbnail (74 x 58 pixels at 2, 3), far enough apart that
# two clicks in a row on different points never make a double click.
at() { xdotool mousemove $((X + $1)) $((Y + $2)) "${@:3}"; }

# A click: the zoom window, captioned after the entry, owned by the main window.
at 12 12 click 1
wait_until window_named '^Image 1$' || fail "no zoom window after a click"
zoom=$(window_named '^Image 1$')
[[ $(transient_for "$zoom") == "$main" ]] || fail "the zoom window is not owned by the main window"

# A double click: the full-screen viewer ends in front, with the focus, although
# the releases of the double click also reach the zoom window.
at 40 30 click --repeat 2 --delay 60 1
wait_until active_is_full_screen || fail "the full-screen viewer is not active after a double click"
full=$(xdotool getactivewindow)
wait_until is_topmost "$full" || fail "the full-screen viewer is not in front"
import -window root "$work/screen.png"
[[ $(file_pixel "$work/screen.png" 640,512) == "srgb(32,96,160)" ]] || fail "the picture is not in the middle of the screen"
[[ $(file_pixel "$work/screen.png" 640,20) != "srgb(32,96,160)" ]] || fail "no bar above a wide picture"

# A modifier key alone closes it.
xdotool key shift
wait_until is_unmapped "$full" || fail "Shift did not close the full-screen viewer"

# Enter in the zoom window opens the viewer with the focus; Enter again closes it.
xdotool windowactivate --sync "$zoom"
xdotool key Return
wait_until active_is_full_screen || fail "Enter in the zoom window did not open the viewer"
full=$(xdotool getactivewindow)
[[ $(transient_for "$full") == "$zoom" ]] || fail "the viewer is not owned by the zoom window"
xdotool key Return
wait_until is_unmapped "$full" || fail "Enter did not close the viewer"

# Esc closes the zoom window.
wait_until is_active "$zoom" || fail "the zoom window did not get the focus back"
xdotool key Escape
wait_until is_unmapped "$zoom" || fail "Esc did not close the zoom window"

# Shift held: a further zoom window each time; then the viewer, and the main window closed.
at 12 12 keydown shift click 1 keyup shift
at 66 50 keydown shift click 1 keyup shift
at_least_two_zooms() { [ "$(count_named '^Image 1$')" -ge 2 ]; }
wait_until at_least_two_zooms || fail "Shift+click did not open further zoom windows"
at 30 15 click --repeat 2 --delay 60 1
wait_until active_is_full_screen || fail "no full-screen viewer"
xdotool windowactivate --sync "$main" key alt+F4
wait_until bash -c "! kill -0 $pid" || fail "closing the main window did not end the program"
wait "$pid" || fail "the program ended with status $?"
echo "viewers e2e: passed"
