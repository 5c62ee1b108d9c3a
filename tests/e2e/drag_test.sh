#!/usr/bin/env bash
# Dragging a picture out into another program, as a user does with the mouse: the
# drag starts only when the pointer leaves the window; inside it, clicks keep their
# meaning. The target is the tests' drop target; a file is written only when it asks.
source "$(dirname "$0")/lib.sh"
: "${DROPTARGET:?DROPTARGET must name the drop target of the tests}"
work=$E2E_TMP
wait_until() { wait_for 10 "$@"; }
window_named() { xdotool search --onlyvisible --name "$1" | head -1; }
has_window() { [ -n "$(window_named "$1")" ]; }
same_pixels() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = "0" ]; }

# start_target MODE OUT: the drop target, placed right of the main window.
start_target() {
    [ -z "$2" ] || rm -f "$2" "$2.entered" "$2.formats" "$2.url"
    "$DROPTARGET" "$1" "$2" >"$work/target.log" 2>&1 &
    TARGET_PID=$!
    E2E_PIDS+=("$TARGET_PID")
    local name="Drop target"
    [ "$1" = silent ] && name="Silent target"
    wait_until has_window "^$name\$" || fail "the drop target ($1) did not appear"
    TARGET=$(window_named "^$name\$")
    xdotool windowmove --sync "$TARGET" 820 200
    TARGET_X=1000 TARGET_Y=350
}

# drag_to X Y TX TY [ENTERED]: presses at X Y, moves out in steps to TX TY and,
# when the target signals that the source knows it takes the drop, releases.
drag_to() {
    xdotool mousemove --sync "$1" "$2" mousedown 1
    local i
    for i in 1 2 3 4 5 6 7 8; do
        xdotool mousemove --sync $(($1 + ($3 - $1) * i / 8)) $(($2 + ($4 - $2) * i / 8 + i))
    done
    if [ -n "${5:-}" ]; then
        local deadline=$(($(date +%s) + 10)) step=0
        until [ -e "$5" ]; do
            [ "$(date +%s)" -lt "$deadline" ] || { xdotool mouseup 1; fail "the target never took the drag in"; }
            step=$((step + 1))
            xdotool mousemove --sync "$3" $(($4 + step % 2 * 3 + 1))
        done
    fi
    xdotool mouseup 1
}

convert -size 240x160 gradient:'#ff0000'-'#0000ff' -fill '#00ff00' -draw 'rectangle 10,10 60,40' "PNG24:$work/one.png"
convert -size 200x300 gradient:'#ffff00'-'#000000' "PNG24:$work/two.png"

start_pictavo
main=$WINDOW
xdotool windowmove --sync "$main" 20 520
client_origin
entry_centre 0
E0X=$ENTRY_X E0Y=$ENTRY_Y

# An empty entry has nothing to drag: the target gets no drop, and the release
# outside the window opens nothing.
start_target png "$work/got"
drag_to "$E0X" "$E0Y" "$TARGET_X" "$TARGET_Y"
put_png "$work/one.png"
wait_until clipboard_empty || fail "the capture was not taken"

# The picture as PNG: the exact pixels, and no file written for a target that takes data.
drag_to "$E0X" "$E0Y" "$TARGET_X" "$TARGET_Y" "$work/got.entered"
wait_until test -s "$work/got" || fail "the target received no picture"
same_pixels "$work/got" "$work/one.png" || fail "the target received other pixels"
grep -qx image/bmp "$work/got.formats" || fail "no BMP offered: $(cat "$work/got.formats")"
grep -qx text/uri-list "$work/got.formats" || fail "no file offered: $(cat "$work/got.formats")"
[ ! -e "$XDG_RUNTIME_DIR/pictavo-drag" ] || fail "a file was written that no target asked for"
! has_window '^Image 1$' || fail "the release at the end of a drag opened a zoom window"
clipboard_empty || fail "a drag put something on the clipboard"
wait_until bash -c "! kill -0 $TARGET_PID" || fail "the drop target did not end"

# A target that takes files: a PNG file named after the entry, in a folder of the program's own.
start_target uri "$work/file"
drag_to "$E0X" "$E0Y" "$TARGET_X" "$TARGET_Y" "$work/file.entered"
wait_until test -s "$work/file" || fail "the target received no file"
same_pixels "$work/file" "$work/one.png" || fail "the file holds other pixels"
url=$(cat "$work/file.url")
[[ $url == "file://$XDG_RUNTIME_DIR/pictavo-drag/"*"/Image%201.png" ]] || fail "the file is $url"
[ "$(stat -c %a "$XDG_RUNTIME_DIR/pictavo-drag")" = 700 ] || fail "the folder is open to others"

# Inside the window a press and a release act on the thumbnail under the release:
# the same one opens the zoom window; another, after a second capture, shows that one.
xdotool mousemove --sync "$E0X" "$E0Y" mousedown 1 mousemove --sync $((E0X + 20)) $((E0Y + 10)) mouseup 1
wait_until has_window '^Image 1$' || fail "a press and a release on a thumbnail did not open the zoom window"
put_png "$work/two.png"
wait_until clipboard_empty || fail "the second capture was not taken"
entry_centre 1
xdotool mousemove --sync "$E0X" "$E0Y" mousedown 1 mousemove --sync "$ENTRY_X" "$ENTRY_Y" mouseup 1
wait_until has_window '^Image 2$' || fail "a release on another thumbnail did not act on it"
# Out of the window and back before the release: as if it had never left.
xdotool mousemove --sync "$E0X" "$E0Y" mousedown 1 mousemove --sync "$E0X" 100 mousemove --sync "$E0X" 120
xdotool mousemove --sync "$E0X" $((E0Y + 5)) mouseup 1
wait_until has_window '^Image 1$' || fail "a drag brought back into the window did not act on the thumbnail"

# From the zoom window: the picture it shows, dragged out of its edge.
zoom=$(window_named '^Image 1$')
xdotool windowmove --sync "$zoom" 820 560
eval "$(xdotool getwindowgeometry --shell "$zoom")"
start_target png "$work/zoomed"
drag_to $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) "$TARGET_X" "$TARGET_Y" "$work/zoomed.entered"
wait_until test -s "$work/zoomed" || fail "the target received nothing from the zoom window"
same_pixels "$work/zoomed" "$work/one.png" || fail "the zoom window's drag gave other pixels"

# A target that never answers: the release ends the drag, and the program goes on.
start_target silent ""
drag_to "$E0X" "$E0Y" "$TARGET_X" "$TARGET_Y"
kill "$TARGET_PID"
xdotool mousemove --sync "$ENTRY_X" "$ENTRY_Y" click 1
wait_until has_window '^Image 2$' || fail "the program does not respond after a drag to a silent target"

# The files go with the program.
xdotool windowactivate --sync "$main" key alt+F4
wait_until bash -c "! kill -0 $PICTAVO_PID" || fail "closing the main window did not end the program"
[ ! -e "$XDG_RUNTIME_DIR/pictavo-drag" ] || fail "the dragged files outlived the program"

# No folder of its own can be made (something else has its name): the picture is
# still offered as data, no file is, and the program works on.
printf 'not a folder' >"$XDG_RUNTIME_DIR/pictavo-drag"
start_pictavo
xdotool windowmove --sync "$WINDOW" 20 520
put_png "$work/two.png"
wait_until clipboard_empty || fail "no capture taken"
start_target uri "$work/nofile"
drag_to "$E0X" "$E0Y" "$TARGET_X" "$TARGET_Y" "$work/nofile.entered"
wait_until test -s "$work/nofile" || fail "no picture offered when no file can be"
same_pixels "$work/nofile" "$work/two.png" || fail "other pixels when no file can be offered"
! grep -qx text/uri-list "$work/nofile.formats" || fail "a file offered that cannot be written"
[ "$(cat "$XDG_RUNTIME_DIR/pictavo-drag")" = "not a folder" ] || fail "the file in the way was changed"
xdotool mousemove --sync "$E0X" "$E0Y" click 1
wait_until has_window '^Image 1$' || fail "no zoom window after a drag that could offer no file"
echo "drag: ok"
