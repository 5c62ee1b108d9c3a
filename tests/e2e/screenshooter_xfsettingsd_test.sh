#!/usr/bin/env bash
# Xfce's screenshot tool copies each screenshot and quits, handing it to Xfce's clipboard
# manager, which puts it back after the program empties the clipboard: each screenshot is
# taken once.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/managers_lib.sh"
source "$(dirname "$0")/screenshots_lib.sh"

start_session_bus
start_manager xfsettingsd
take_three_screenshots
kill -0 "$MANAGER_PID" || fail "xfsettingsd ended"
echo "screenshooter beside xfsettingsd: ok"
