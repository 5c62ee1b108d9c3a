#!/usr/bin/env bash
# Beside Klipper in its default settings (it keeps texts, not pictures), a picture copied with
# Ctrl+C in the program stays on the clipboard: a paste a second later and five seconds later
# gives that picture, not the manager's last text, and the program does not take it back.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/managers_lib.sh"

start_session_bus
make_pictures 1
# As large as a screenshot, the usual thing to copy back.
make_screen_sized 1
start_manager klipper
start_pictavo
start_copiers gtk3
copy_with xclip "text the manager's last text"
wait_for 10 clipboard_text_is "the manager's last text" || fail "the text was not copied"
copy_with gtk3 "$E2E_TMP/picture1.png"
wait_for 10 gallery_has 1 || fail "the picture was not taken: [$GALLERY]; the clipboard holds $(clipboard_says)"
copy_in_pictavo
wait_for 10 clipboard_has_image || fail "Ctrl+C put no picture on the clipboard: it holds $(clipboard_says)"
holds_for 1 clipboard_has_image || fail "the copy left the clipboard within a second: it holds $(clipboard_says)"
pasted_is "$E2E_TMP/pasted1.png" "${PALETTE[0]}" || fail "a paste after a second gives no copy of the picture"
holds_for 4 clipboard_has_image || fail "the copy left the clipboard within five seconds: it holds $(clipboard_says)"
pasted_is "$E2E_TMP/pasted5.png" "${PALETTE[0]}" || fail "a paste after five seconds gives no copy of the picture"
expect_gallery "1"
kill -0 "$MANAGER_PID" || fail "Klipper ended"
echo "copy sticks beside klipper: ok"
