#!/usr/bin/env bash
# End to end, as a user clicks and types: a thumbnail opens a zoom window owned by
# the main window, a double click the full-screen viewer in front with the focus,
# keys close them; closing the main window with viewers open ends the program.
# Needs PICTAVO_BIN (the installed program) and DISPLAY (an X server with openbox).
set -euo pipefail
: "${PICTAVO_BIN:?set PICTAVO_BIN to the installed program}"
: "${DISPLAY:?set DISPLAY to an X server with a window manager}"

work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work/run # a lock of its own: no clash with another instance
mkdir -m 700 "$XDG_RUNTIME_DIR"
pid=""
cleanup() {
    [[ -n $pid ]] && kill "$pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [[ -f $work/stderr ]] && sed 's/^/  program: /' "$work/stderr" >&2
    exit 1
}
# Runs its arguments until they succeed, for at most $TIMEOUT seconds.
wait_until() {
    local deadline=$((SECONDS + ${TIMEOUT:-10}))
    until "$@" >/dev/null 2>&1; do
        ((SECONDS < deadline)) || return 1
        sleep 0.05
    done
}
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
pixel() { convert "$1" -format "%[pixel:p{$2}]" info:; }
count_named() { xdotool search --onlyvisible --name "$1" | wc -l; }

# A capture: a solid picture put on the clipboard, as PrintScreen does.
convert -size 800x450 xc:'#2060a0' "$work/capture.png"
"$PICTAVO_BIN" 2>"$work/stderr" &
pid=$!
wait_until window_named '^Pictavo - \[Use PrintScreen' || fail "no main window"
main=$(window_named '^Pictavo - \[Use PrintScreen')
# Away from the top left corner, where the window manager puts the zoom windows.
xdotool windowmove --sync "$main" 600 500
xclip -selection clipboard -t image/png -i "$work/capture.png" &
clip=$!
# The program empties the clipboard once it took the picture: xclip then exits.
wait_until bash -c "! kill -0 $clip" || fail "the capture was not taken"

# The client area's place on the screen, inside the window manager's frame.
X=$(xwininfo -id "$main" | awk '/Absolute upper-left X/ {print $4}')
Y=$(xwininfo -id "$main" | awk '/Absolute upper-left Y/ {print $4}')
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
[[ $(pixel "$work/screen.png" 640,512) == "srgb(32,96,160)" ]] || fail "the picture is not in the middle of the screen"
[[ $(pixel "$work/screen.png" 640,20) != "srgb(32,96,160)" ]] || fail "no bar above a wide picture"

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
wait_until test "$(count_named '^Image 1$')" -ge 2 || fail "Shift+click did not open further zoom windows"
at 30 15 click --repeat 2 --delay 60 1
wait_until active_is_full_screen || fail "no full-screen viewer"
xdotool windowactivate --sync "$main" key alt+F4
wait_until bash -c "! kill -0 $pid" || fail "closing the main window did not end the program"
wait "$pid" || fail "the program ended with status $?"
pid=""
echo "viewers e2e: passed"
