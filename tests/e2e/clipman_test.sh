#!/usr/bin/env bash
# Beside Xfce's Clipman in its default settings, pictures copied by GTK 3, GTK 4, Qt 5,
# Java and xclip are each taken once.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/managers_lib.sh"

start_session_bus
make_pictures 20
start_manager xfce4-clipman
start_pictavo
start_copiers gtk3 gtk4 qt5 awt
copy_pictures 20 xclip gtk3 gtk4 qt5 awt
expect_gallery "$(seq -s ' ' 20)"
kill -0 "$MANAGER_PID" || fail "Xfce's Clipman ended"
echo "xfce4-clipman: ok"
