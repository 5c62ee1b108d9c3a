#!/usr/bin/env bash
# A capture saved as JPEG through the Save dialog: the converter the program loads
# from its private folder writes the file.
source "$(dirname "$0")/lib.sh"

make_png "$E2E_TMP/capture.png" 320 200 '#3070b0'
start_pictavo
put_png "$E2E_TMP/capture.png"
wait_for 10 clipboard_empty || fail "the capture was not taken"

client_origin
entry_centre 0
xdotool mousemove "$ENTRY_X" "$ENTRY_Y" click 1
wait_for 10 bash -c 'xdotool search --onlyvisible --name "^Image 1$" | grep -q .' ||
    fail "the click did not select the capture"
xdotool windowactivate --sync "$WINDOW" key ctrl+s
dialog_open() { xdotool search --onlyvisible --name '^Save Image$' | grep -q .; }
wait_for 10 dialog_open || fail "Ctrl+S opened no Save dialog"
xdotool windowactivate --sync "$(xdotool search --onlyvisible --name '^Save Image$' | head -1)"
xdotool key ctrl+a type "$E2E_TMP/saved.jpg"
xdotool key Return
# The dialog asks before it creates a file.
prompted() { [ "$(xdotool search --onlyvisible --name '^Save Image$' | wc -l)" -eq 2 ]; }
wait_for 10 prompted || fail "no question before creating the file"
xdotool key alt+y

saved_is_jpeg() { file -b "$E2E_TMP/saved.jpg" | grep -q '^JPEG image data'; }
wait_for 10 saved_is_jpeg || fail "no JPEG was written: $(ls "$E2E_TMP")"
[ "$(identify -format '%wx%h' "$E2E_TMP/saved.jpg")" = 320x200 ] || fail "the JPEG has the wrong size"
[ -z "$(find "$E2E_TMP" -maxdepth 1 -name '*.bmp')" ] || fail "the intermediate bitmap stayed"
echo "save as JPEG: ok"
