#!/usr/bin/env bash
# A German session: the program's own texts and Qt's dialogs speak German. The locale
# need not be generated: Qt takes the language from the environment.
source "$(dirname "$0")/lib.sh"

make_png "$E2E_TMP/capture.png" 320 200 '#3070b0'
LANG=de_DE.UTF-8 LANGUAGE=de start_pictavo
caption=$(xdotool getwindowname "$WINDOW")
[ "$caption" = "Pictavo - [Bildschirmfotos mit der Druck-Taste aufnehmen]" ] ||
    fail "the caption is not German: $caption"
put_png "$E2E_TMP/capture.png"
wait_for 10 clipboard_empty || fail "the capture was not taken"

# xdotool may match names byte by byte: ".*" stands for a letter such as "ö".
named() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | wc -l; }
has_named() { [ "$(named "$1")" -ge "${2:-1}" ]; }
has_none() { [ "$(named "$1")" -eq 0 ]; }
windows() { xdotool search --onlyvisible --pid "$PICTAVO_PID" 2>/dev/null | wc -l; }
more_windows() { [ "$(windows)" -gt "$1" ]; }

# The menu: "Ö&ffnen..." answers to F, which no English entry has.
client_origin
before=$(windows)
xdotool windowactivate --sync "$WINDOW" mousemove $((ORIGIN_X + 500)) $((ORIGIN_Y + 400)) click 3
wait_for 10 more_windows "$before" || fail "the right click showed no menu"
# The menu takes the keyboard a moment after it shows.
open_by_f() { has_named "Bild .*ffnen" || { xdotool key f && sleep 0.2 && false; }; }
wait_for 10 open_by_f || fail "F in the menu opened no German Open dialog"
xdotool key Escape
wait_for 10 has_none "Bild .*ffnen" || fail "the Open dialog stayed"

entry_centre 0
xdotool mousemove "$ENTRY_X" "$ENTRY_Y" click 1
wait_for 10 has_named "Image 1" || fail "the click did not select the capture"
xdotool windowactivate --sync "$WINDOW" key ctrl+s
wait_for 10 has_named "Bild speichern" || fail "Ctrl+S opened no German Save dialog"
# The dialog has the keyboard a moment after it shows; the question comes before the file.
ask() {
    has_named "Bild speichern" 2 && return
    xdotool key ctrl+a type "$E2E_TMP/neu.jpg"
    xdotool key Return
    sleep 1
    false
}
wait_for 20 ask || fail "no question before creating the file"
# Alt+J is Qt's German "&Ja" (English has "&Yes"): the save goes ahead.
answer() { saving || { xdotool key alt+j && sleep 0.5 && false; }; }
saving() { compgen -G "$E2E_TMP/neu.*" >/dev/null; }
wait_for 20 answer || fail "Alt+J did not answer the question: $(ls "$E2E_TMP")"
echo "German session: ok"
