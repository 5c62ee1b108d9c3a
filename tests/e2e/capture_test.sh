#!/usr/bin/env bash
# Pictures put on the clipboard by another program land in the gallery, in order.
source "$(dirname "$0")/lib.sh"

make_png "$E2E_TMP/red.png" 640 400 red
make_png "$E2E_TMP/blue.png" 300 200 blue
start_pictavo
[ "$(xdotool getwindowname "$WINDOW")" = "Pictavo - [Use PrintScreen key to capture screen]" ] ||
    fail "caption is '$(xdotool getwindowname "$WINDOW")'"
wait_for 5 frame_centred || fail "the window's frame is not centred: $(xwininfo -id "$WINDOW" | grep -E 'Absolute|Width|Height' | tr -s ' \n' ' ')"

put_png "$E2E_TMP/red.png"
wait_for 10 clipboard_empty || fail "the first picture was not taken"
put_png "$E2E_TMP/blue.png"
wait_for 10 clipboard_empty || fail "the second picture was not taken"

client_origin
entry_centre 0
wait_for 5 pixel_is "$ENTRY_X" "$ENTRY_Y" "255,0,0" || fail "entry 0 shows $(pixel "$ENTRY_X" "$ENTRY_Y")"
entry_centre 1
wait_for 5 pixel_is "$ENTRY_X" "$ENTRY_Y" "0,0,255" || fail "entry 1 shows $(pixel "$ENTRY_X" "$ENTRY_Y")"
entry_centre 2
[ "$(pixel "$ENTRY_X" "$ENTRY_Y")" != "0,0,255" ] || fail "a third thumbnail appeared"

kill -0 "$PICTAVO_PID" || fail "the program ended"
echo "capture: ok"
