#!/usr/bin/env bash
# Beside Klipper in its default settings (it keeps texts, not pictures), a picture copied with
# Ctrl+C in the program stays on the clipboard.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/managers_lib.sh"

start_session_bus
start_manager klipper
copy_sticks
echo "copy sticks beside klipper: ok"
