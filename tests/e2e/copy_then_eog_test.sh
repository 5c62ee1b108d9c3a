#!/usr/bin/env bash
# After the program's own Ctrl+C, a picture that another program copies replaces that copy
# and is taken: Eye of GNOME's Ctrl+C, then a Qt 5 program's.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/managers_lib.sh"

start_session_bus
make_pictures 3
start_pictavo
start_copiers qt5
copy_with xclip "$E2E_TMP/picture1.png"
wait_for 10 gallery_has 1 || fail "the first picture was not taken: [$GALLERY]"

copy_in_pictavo
wait_for 10 clipboard_has_image || fail "Ctrl+C put no picture on the clipboard"
background eog eog "$E2E_TMP/picture2.png"
eog_window() { xdotool search --onlyvisible --name 'picture2' 2>/dev/null | head -1; }
eog_has_window() { [ -n "$(eog_window)" ]; }
wait_for 60 eog_has_window || fail "eog showed no window: $(tail -5 "$E2E_TMP/eog.log")"
xdotool windowactivate --sync "$(eog_window)" key ctrl+c
eog_copied() { gallery_shows 2 || pasted_is "$E2E_TMP/pasted.png" "${PALETTE[1]}"; }
wait_for 10 eog_copied || fail "eog's Ctrl+C copied nothing: the clipboard holds $(clipboard_says)"
wait_for 10 gallery_shows 2 ||
    fail "the picture copied in eog was not taken: [$GALLERY]; the clipboard holds $(clipboard_says)"

copy_in_pictavo
wait_for 10 clipboard_has_image || fail "the second Ctrl+C put no picture on the clipboard"
copy_with qt5 "$E2E_TMP/picture3.png"
wait_for 10 gallery_shows 3 || fail "the picture copied by the Qt 5 program was not taken: [$GALLERY]"
expect_gallery "1 2 3"
echo "copy then eog: ok"
