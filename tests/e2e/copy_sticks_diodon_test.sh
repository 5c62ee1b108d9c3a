#!/usr/bin/env bash
# Beside Diodon in its default settings (it keeps texts, not pictures), a picture copied with
# Ctrl+C in the program stays on the clipboard.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/managers_lib.sh"

start_session_bus
start_manager diodon
copy_sticks
echo "copy sticks beside diodon: ok"
