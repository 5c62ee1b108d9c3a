#!/usr/bin/env bash
# Memory runs short: a capture too large to be held stays on the clipboard, the
# pictures already taken stay in the gallery, and the program goes on.
source "$(dirname "$0")/lib.sh"

make_png "$E2E_TMP/red.png" 640 400 red
make_png "$E2E_TMP/blue.png" 300 200 blue
make_png "$E2E_TMP/huge.png" 7000 7000 green
start_pictavo
put_png "$E2E_TMP/red.png"
wait_for 10 clipboard_empty || fail "the first picture was not taken"

# Room for about 100 MiB more: the huge picture decodes to 187 MiB.
mapped_kb=$(awk '/^VmSize:/ {print $2}' "/proc/$PICTAVO_PID/status")
prlimit --pid "$PICTAVO_PID" --as=$(((mapped_kb + 100 * 1024) * 1024)) ||
    fail "could not limit the program's memory"
# Qt refuses to read pictures over 128 MiB unless told otherwise.
QT_IMAGEIO_MAXALLOC=1024 "$CLIPTOOL" put "$E2E_TMP/huge.png" >/dev/null 2>"$E2E_TMP/huge.log" &
E2E_PIDS+=($!)
wait_for 30 grep -q "served" "$E2E_TMP/huge.log" || fail "the program did not ask for the picture"
kill -0 "$PICTAVO_PID" || fail "the program ended when memory ran short"

# The next picture goes into entry 1: the one that could not be held took no entry.
put_png "$E2E_TMP/blue.png"
wait_for 10 clipboard_empty || fail "a small picture was not taken after the large one failed"
client_origin
entry_centre 0
wait_for 5 pixel_is "$ENTRY_X" "$ENTRY_Y" "255,0,0" || fail "entry 0 shows $(pixel "$ENTRY_X" "$ENTRY_Y")"
entry_centre 1
wait_for 5 pixel_is "$ENTRY_X" "$ENTRY_Y" "0,0,255" || fail "entry 1 shows $(pixel "$ENTRY_X" "$ENTRY_Y")"
kill -0 "$PICTAVO_PID" || fail "the program ended"
echo "memory short: ok"
