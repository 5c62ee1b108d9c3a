#!/usr/bin/env bash
# Klipper keeping pictures puts the newest picture of its history back when the program empties
# the clipboard, which need not be the one just taken: each picture copied is taken once, and
# none of the history comes back. Pictures only, one after another, so that the newest item of
# its history is always a picture.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/managers_lib.sh"

start_session_bus
make_pictures 20
start_manager klipper keep-images
start_pictavo
start_copiers gtk3 qt5
COPY_TEXTS=no copy_pictures 20 xclip gtk3 qt5
expect_gallery "$(seq -s ' ' 20)"
kill -0 "$MANAGER_PID" || fail "Klipper ended"
echo "klipper keeping images: ok"
