#!/usr/bin/env bash
# Xfce's screenshot tool copies each screenshot and quits at once, offering it to a clipboard
# manager; with none running, the program must still have each screenshot, once.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/managers_lib.sh"
source "$(dirname "$0")/screenshots_lib.sh"

start_session_bus
"$SELECTION_PROBE" owner CLIPBOARD_MANAGER >/dev/null && fail "a clipboard manager is running on $DISPLAY"
take_three_screenshots
echo "screenshooter alone: ok"
