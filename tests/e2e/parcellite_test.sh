#!/usr/bin/env bash
# Beside Parcellite in its default settings, pictures copied by GTK 3, GTK 4, Qt 5,
# Java and xclip are each taken once.
# Debian 13 and later ship no Parcellite.
command -v parcellite >/dev/null || { echo "parcellite is not installed (not in this release): skipped"; exit 77; }
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/managers_lib.sh"

start_session_bus
make_pictures 20
start_manager parcellite
start_pictavo
start_copiers gtk3 gtk4 qt5 awt
copy_pictures 20 xclip gtk3 gtk4 qt5 awt
expect_gallery "$(seq -s ' ' 20)"
kill -0 "$MANAGER_PID" || fail "Parcellite ended"
echo "parcellite: ok"
