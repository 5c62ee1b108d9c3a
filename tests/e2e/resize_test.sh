#!/usr/bin/env bash
# Resizing to tiny, huge and back keeps the program alive, and captures go on.
source "$(dirname "$0")/lib.sh"

# Different pictures: the same one again at once would count as put back by a
# clipboard manager, and be left alone.
for colour in red yellow blue lime; do make_png "$E2E_TMP/$colour.png" 200 100 "$colour"; done
start_pictavo
for colour in red yellow blue; do
    put_png "$E2E_TMP/$colour.png"
    wait_for 10 clipboard_empty || fail "capture ($colour) not taken"
done
size() { xdotool getwindowgeometry "$WINDOW" | awk '/Geometry/ {print $2}'; }
size_is() { [ "$(size)" = "$1" ]; }
xdotool windowsize "$WINDOW" 10 10
wait_for 5 bash -c "[ \"\$(xdotool getwindowgeometry $WINDOW | awk '/Geometry/ {print \$2}')\" != 632x453 ]" || fail "did not shrink"
xdotool windowsize "$WINDOW" 4000 3000
wait_for 5 bash -c "[ \"\$(xdotool getwindowgeometry $WINDOW | awk '/Geometry/ {print \$2}' | cut -dx -f1)\" -gt 632 ]" || fail "did not grow"
xdotool windowsize "$WINDOW" 632 453
wait_for 5 size_is 632x453 || fail "size is $(size)"
kill -0 "$PICTAVO_PID" || fail "the program ended while resizing"
put_png "$E2E_TMP/lime.png"
wait_for 10 clipboard_empty || fail "capture after resizing not taken"
client_origin
entry_centre 3
wait_for 5 pixel_is "$ENTRY_X" "$ENTRY_Y" "0,255,0" || fail "entry 3 shows $(pixel "$ENTRY_X" "$ENTRY_Y")"
echo "resize: ok"
