#!/usr/bin/env bash
# Memory runs short: a capture too large to be held stays on the clipboard, the
# pictures already taken stay in the gallery, and the program goes on.
source "$(dirname "$0")/lib.sh"

make_png "$E2E_TMP/red.png" 640 400 red
make_png "$E2E_TMP/blue.png" 300 200 blue
make_png "$E2E_TMP/huge.png" 9000 9000 green
start_pictavo
put_png "$E2E_TMP/red.png"
wait_for 10 clipboard_empty || fail "the first picture was not taken"

# Room for about 200 MiB more: the huge picture decodes to 309 MiB.
mapped_kb=$(awk '/^VmSize:/ {print $2}' "/proc/$PICTAVO_PID/status")
prlimit --pid "$PICTAVO_PID" --as=$(((mapped_kb + 200 * 1024) * 1024)) ||
    fail "could not limit the program's memory"
xclip -quiet -selection clipboard -t image/png -i "$E2E_TMP/huge.png" >/dev/null 2>&1 &
HUGE_XCLIP=$!
E2E_PIDS+=("$HUGE_XCLIP")
# The program read it and left it: the clipboard still holds it after the
# program's answer to a later, smaller change would have come.
wait_for 10 clipboard_has_image || fail "xclip did not take the clipboard"
wait_for 30 grep -qi "memory" "$E2E_TMP/pictavo.err" || fail "the program did not try the large picture"
kill -0 "$PICTAVO_PID" || fail "the program ended when memory ran short"
kill -0 "$HUGE_XCLIP" 2>/dev/null || fail "the picture that could not be held was taken from the clipboard"

put_png "$E2E_TMP/blue.png"
wait_for 10 clipboard_empty || fail "a small picture was not taken after the large one failed"
client_origin
entry_centre 0
wait_for 5 pixel_is "$ENTRY_X" "$ENTRY_Y" "255,0,0" || fail "entry 0 shows $(pixel "$ENTRY_X" "$ENTRY_Y")"
entry_centre 1
wait_for 5 pixel_is "$ENTRY_X" "$ENTRY_Y" "0,0,255" || fail "entry 1 shows $(pixel "$ENTRY_X" "$ENTRY_Y")"
kill -0 "$PICTAVO_PID" || fail "the program ended"
echo "memory short: ok"
